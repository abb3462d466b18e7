// Test helpers for the export plug-in: a tree in memory, served through the plug-in sink as the
// program's tree serves it, and the plug-in libraries loaded from bin\ as the program loads them.
#pragma once

#include <base/Handles.h>
#include <base/Mbcs.h>
#include <base/Path.h>
#include <base/TextEncoding.h>
#include <pluginapi/PluginInterface.h>

#include <algorithm>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace exporttest {

using plugin::ItemHandle;

// Node kinds as the program's tree has them.
enum Kind { kFolder = 0x0005, kShortcut = 0x0006, kNewFolder = 0x4005, kSource = 0x6001,
            kImportedFolder = 0x2001, kImportedItem = 0x2002 };

// An older host (ANSI calls only) unless `wide` is set: then it offers the wide calls as well.
class FakeTree final : public plugin::WideImportSink {
    struct Node {
        int kind;
        std::wstring label;
        std::optional<std::wstring> url;
        Node* parent;
        std::vector<Node*> children;
        bool removed = false;
    };

public:
    explicit FakeTree(std::string rootLabel = "C:\\Favorites") : FakeTree(text::AnsiToWide(rootLabel)) {}
    explicit FakeTree(std::wstring rootLabel, bool offersWide = false) : wide(offersWide) {
        nodes_.push_back({kFolder, std::move(rootLabel), {}, nullptr, {}});
    }
    ItemHandle root() { return Handle(&nodes_.front()); }
    // A shortcut without URL is one whose file has gone: asking for its URL removes it, as the
    // program's tree does. An imported item without URL is a message item.
    ItemHandle Add(ItemHandle parent, int kind, std::wstring label, std::optional<std::wstring> url = {}) {
        Node* folder = reinterpret_cast<Node*>(parent);
        folder->children.push_back(&nodes_.emplace_back(Node{kind, std::move(label), std::move(url), folder, {}}));
        return Handle(folder->children.back());
    }
    ItemHandle Add(ItemHandle parent, int kind, const std::string& label, std::optional<std::string> url = {}) {
        return Add(parent, kind, text::AnsiToWide(label), url ? std::optional(text::AnsiToWide(*url)) : std::nullopt);
    }
    template <typename Text>
    ItemHandle Folder(ItemHandle parent, const Text& label) { return Add(parent, kFolder, label); }
    template <typename Text>
    ItemHandle Shortcut(ItemHandle parent, const Text& label, const Text& url) { return Add(parent, kShortcut, label, url); }
    ItemHandle Folder(ItemHandle parent, const char* label) { return Folder(parent, std::string(label)); }
    ItemHandle Shortcut(ItemHandle parent, const char* label, const char* url) {
        return Shortcut(parent, std::string(label), std::string(url));
    }
    // What an import added below `item`: "+folder" and "item url" lines, indented by level; in
    // the code page, or exactly.
    std::string Outline(ItemHandle item) const { return text::WideToAnsi(WideOutline(item)); }
    std::wstring WideOutline(ItemHandle item, int depth = 0) const {
        std::wstring out;
        for (const Node* node : reinterpret_cast<const Node*>(item)->children) {
            out += std::wstring(static_cast<size_t>(depth), L' ') + (node->kind == kImportedFolder ? L"+" : L"") + node->label;
            out += node->url ? L" " + *node->url + L"\n" : L"\n";
            if (node->kind == kImportedFolder) out += WideOutline(Handle(const_cast<Node*>(node)), depth + 1);
        }
        return out;
    }

    bool wide;
    int releases = 0;
    bool usedStaleHandle = false;  // the plug-in used the handle of an item that was removed

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = wide && IsEqualIID(iid, plugin::IID_WideImportSink) ? static_cast<plugin::WideImportSink*>(this) : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(E_NOTIMPL); }
    ULONG STDMETHODCALLTYPE Release() override { return ++releases, static_cast<ULONG>(E_NOTIMPL); }
    HWND STDMETHODCALLTYPE GetOwnerWindow() override { return nullptr; }
    ItemHandle STDMETHODCALLTYPE GetRoot() override { return root(); }
    ItemHandle STDMETHODCALLTYPE GetChild(ItemHandle item) override {
        const Node* node = Live(item);
        return node && !node->children.empty() ? Handle(node->children.front()) : nullptr;
    }
    ItemHandle STDMETHODCALLTYPE GetNextSibling(ItemHandle item) override {
        Node* node = Live(item);
        if (!node || !node->parent) return nullptr;
        const std::vector<Node*>& siblings = node->parent->children;
        const auto at = std::find(siblings.begin(), siblings.end(), node);
        return at + 1 < siblings.end() ? Handle(at[1]) : nullptr;
    }
    // Cut to the buffer on a character boundary, as the program's tree cuts.
    BOOL STDMETHODCALLTYPE GetText(ItemHandle item, char* buffer, int size) override {
        const Node* node = Live(item);
        return node && size > 0 && mbcs::CopyFitting(text::WideToAnsi(node->label), buffer, static_cast<size_t>(size));
    }
    BOOL STDMETHODCALLTYPE GetURL(ItemHandle item, char* buffer, int size) override {
        const std::optional<std::wstring> url = UrlOf(item);
        return url && size > 0 && mbcs::CopyFitting(text::WideToAnsi(*url), buffer, static_cast<size_t>(size));
    }
    BOOL STDMETHODCALLTYPE IsFolder(ItemHandle item) override {
        const Node* node = Live(item);
        return node && node->kind == kFolder;
    }
    ItemHandle STDMETHODCALLTYPE AddNode(ItemHandle parent, const char* name, const char* url, int kind) override {
        const bool hasUrl = url && url != plugin::NoURL;
        return AddImported(parent, name ? std::optional(text::AnsiToWide(name)) : std::nullopt,
                           hasUrl ? std::optional(text::AnsiToWide(url)) : std::nullopt, kind);
    }
    BOOL STDMETHODCALLTYPE GetTextW(ItemHandle item, wchar_t* buffer, int size) override {
        const Node* node = Live(item);
        return node && CopyFitting(node->label, buffer, size);
    }
    BOOL STDMETHODCALLTYPE GetURLW(ItemHandle item, wchar_t* buffer, int size) override {
        const std::optional<std::wstring> url = UrlOf(item);
        return url && CopyFitting(*url, buffer, size);
    }
    ItemHandle STDMETHODCALLTYPE AddNodeW(ItemHandle parent, const wchar_t* name, const wchar_t* url, int kind) override {
        const bool hasUrl = url && url != plugin::NoURLW;
        return AddImported(parent, name ? std::optional<std::wstring>(name) : std::nullopt,
                           hasUrl ? std::optional<std::wstring>(url) : std::nullopt, kind);
    }

private:
    static ItemHandle Handle(Node* node) { return reinterpret_cast<ItemHandle>(node); }
    Node* Live(ItemHandle item) {
        Node* node = reinterpret_cast<Node*>(item);
        if (node && node->removed) usedStaleHandle = true;
        return node && !node->removed ? node : nullptr;
    }
    std::optional<std::wstring> UrlOf(ItemHandle item) {
        Node* node = Live(item);
        if (!node || (node->kind != kShortcut && node->kind != kImportedItem)) return std::nullopt;
        if (!node->url && node->kind == kShortcut) {
            node->removed = true;
            std::erase(node->parent->children, node);
        }
        return node->url;
    }
    // Cut between characters, never between the halves of a surrogate pair.
    static bool CopyFitting(const std::wstring& text, wchar_t* buffer, int size) {
        if (size <= 0) return false;
        size_t length = std::min(text.size(), static_cast<size_t>(size) - 1);
        if (length > 0 && length < text.size() && IS_HIGH_SURROGATE(text[length - 1])) --length;
        text.copy(buffer, length);
        buffer[length] = L'\0';
        return true;
    }
    ItemHandle AddImported(ItemHandle parent, const std::optional<std::wstring>& name, std::optional<std::wstring> url,
                           int kind) {
        if (!Live(parent) || !name) return nullptr;
        if (kind == plugin::kAddFolder) return Add(parent, kImportedFolder, *name);
        if (kind != plugin::kAddItem) return nullptr;
        return Add(parent, kImportedItem, *name, std::move(url));
    }

    std::deque<Node> nodes_;  // stable addresses: a node's address is its handle
};

// The folder of the test program; the program's folder, bin, lies beside it.
inline std::string TestFolder() {
    std::string folder;
    path::SplitLast(path::ModuleFile(nullptr), &folder, nullptr);
    return folder;
}

inline win::UniqueModule LoadPlugin(const char* file) {
    return win::UniqueModule(LoadLibraryA((TestFolder() + "\\..\\bin\\" + file).c_str()));
}

// The host's calling sequence: create the handler for `code`, SetSink, Run, Release. Run's
// result, or -1 when no handler was made.
inline int RunExport(HMODULE library, const char* code, FakeTree& tree, const char* path) {
    const auto create = win::ProcAddress<plugin::CreateHandlerFunction>(library, plugin::kExportExport);
    plugin::FormatHandler* handler = nullptr;
    if (!create || create(code, &handler) != 0 || !handler) return -1;
    handler->SetSink(&tree);
    std::string writable = path ? path : "";
    const int result = handler->Run(path ? writable.data() : nullptr, nullptr);
    handler->Release();
    return result;
}

}  // namespace exporttest
