// Test helpers for the import plug-in: the library loaded from bin\ as the hosts load it, and a
// host sink that records what an import adds as a tree in memory: an older host with the ANSI
// calls only (its QueryInterface says E_NOINTERFACE), or, with `wide` set, one that offers the
// wide calls too.
#pragma once

#include <base/Handles.h>
#include <base/Path.h>
#include <base/TextEncoding.h>
#include <pluginapi/PluginInterface.h>

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace importtest {

using plugin::ItemHandle;

class RecordingSink final : public plugin::WideImportSink {
public:
    struct Node {
        std::string name;
        bool folder = false;
        std::optional<std::string> url;  // none for a message item (NoURL)
        std::vector<const Node*> children;
        std::wstring wideName, wideUrl;  // as given, or the ANSI ones converted
    };

    explicit RecordingSink(bool offersWide = false) : wide(offersWide), nodes_(1), folders_{&nodes_.front()} {}
    ItemHandle source() { return Handle(&nodes_.front()); }

    // What was added below the source, one line per node, two spaces of indent per level:
    // "+folder", "title <url>", "! message" (an item without URL).
    std::string Outline() const {
        std::string out;
        Describe(nodes_.front(), 0, out);
        return out;
    }
    // The same, exactly as added through the wide calls.
    std::wstring WideOutline() const {
        std::wstring out;
        Describe(nodes_.front(), 0, out);
        return out;
    }
    // The node reached from the source through these names; null when there is none.
    const Node* Find(const std::vector<std::string>& names) const {
        const Node* node = &nodes_.front();
        for (const std::string& name : names) {
            const Node* next = nullptr;
            for (const Node* child : node->children)
                if (child->name == name) next = child;
            if (!(node = next)) return nullptr;
        }
        return node;
    }
    std::vector<std::string> Names(const std::vector<std::string>& folder = {}) const {
        std::vector<std::string> names;
        if (const Node* node = Find(folder))
            for (const Node* child : node->children) names.push_back(child->name);
        return names;
    }
    size_t Count(bool folders) const {
        size_t count = 0;
        for (const Node& node : nodes_) count += node.folder == folders;
        return count - (folders ? 0 : 1);  // the source is no item
    }

    bool wide;                              // answers QueryInterface for the wide calls
    bool usedAnsiAdd = false;               // AddNode was called (not counting message items)
    std::set<std::string> refusedFolders;  // AddNode refuses these, as a full tree would
    int releases = 0;
    bool usedForeignHandle = false;  // AddNode under a handle this sink never gave out

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        *object = wide && IsEqualIID(iid, plugin::IID_WideImportSink) ? static_cast<plugin::WideImportSink*>(this) : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return E_NOTIMPL; }
    ULONG STDMETHODCALLTYPE Release() override {
        ++releases;
        return E_NOTIMPL;
    }
    HWND STDMETHODCALLTYPE GetOwnerWindow() override { return nullptr; }
    ItemHandle STDMETHODCALLTYPE GetRoot() override { return source(); }
    ItemHandle STDMETHODCALLTYPE GetChild(ItemHandle) override { return nullptr; }
    ItemHandle STDMETHODCALLTYPE GetNextSibling(ItemHandle) override { return nullptr; }
    BOOL STDMETHODCALLTYPE GetText(ItemHandle, char*, int) override { return FALSE; }
    BOOL STDMETHODCALLTYPE GetURL(ItemHandle, char*, int) override { return FALSE; }
    BOOL STDMETHODCALLTYPE IsFolder(ItemHandle) override { return FALSE; }
    ItemHandle STDMETHODCALLTYPE AddNode(ItemHandle parent, const char* name, const char* url, int kind) override {
        usedAnsiAdd |= url != plugin::NoURL;
        const bool hasUrl = kind == plugin::kAddItem && url != plugin::NoURL;
        const std::optional<std::string> text = hasUrl ? std::optional<std::string>(url ? url : "(null)") : std::nullopt;
        return Add(parent, name, text, name ? text::AnsiToWide(name) : L"", text ? text::AnsiToWide(*text) : L"", kind);
    }
    BOOL STDMETHODCALLTYPE GetTextW(ItemHandle, wchar_t*, int) override { return FALSE; }
    BOOL STDMETHODCALLTYPE GetURLW(ItemHandle, wchar_t*, int) override { return FALSE; }
    ItemHandle STDMETHODCALLTYPE AddNodeW(ItemHandle parent, const wchar_t* name, const wchar_t* url, int kind) override {
        const bool hasUrl = kind == plugin::kAddItem && url != plugin::NoURLW;
        const std::wstring wideUrl = hasUrl && url ? url : L"";
        const std::string ansiName = name ? text::WideToAnsi(name) : "";
        return Add(parent, name ? ansiName.c_str() : nullptr,
                   hasUrl ? std::optional<std::string>(text::WideToAnsi(wideUrl)) : std::nullopt, name ? name : L"",
                   wideUrl, kind);
    }

private:
    ItemHandle Add(ItemHandle parent, const char* name, const std::optional<std::string>& url, const std::wstring& wideName,
                   const std::wstring& wideUrl, int kind) {
        const auto known = folders_.find(reinterpret_cast<Node*>(parent));
        Node* folder = known == folders_.end() ? nullptr : *known;
        usedForeignHandle |= !folder;
        if (!folder || !name || (kind != plugin::kAddFolder && kind != plugin::kAddItem)) return nullptr;
        if (kind == plugin::kAddFolder && refusedFolders.count(name)) return nullptr;
        Node& added = nodes_.emplace_back(Node{name, kind == plugin::kAddFolder, url, {}, wideName, wideUrl});
        folder->children.push_back(&added);
        if (added.folder) folders_.insert(&added);
        return kind == plugin::kAddFolder ? Handle(&added) : reinterpret_cast<ItemHandle>(1);
    }
    static ItemHandle Handle(const Node* node) { return reinterpret_cast<ItemHandle>(const_cast<Node*>(node)); }
    template <typename Char>
    static void Describe(const Node& node, size_t depth, std::basic_string<Char>& out) {
        constexpr bool kWide = sizeof(Char) > 1;
        for (const Node* child : node.children) {
            const auto& name = [&]() -> const std::basic_string<Char>& {
                if constexpr (kWide) return child->wideName; else return child->name;
            }();
            const auto& url = [&]() -> const std::basic_string<Char>& {
                if constexpr (kWide) return child->wideUrl; else return *child->url;
            }();
            out += std::basic_string<Char>(depth * 2, Char(' '));
            if (child->folder)
                out += Char('+') + name + Char('\n');
            else if (child->url)
                out += name + Char(' ') + Char('<') + url + Char('>') + Char('\n');
            else
                out += Char('!') + (Char(' ') + name) + Char('\n');
            Describe(*child, depth + 1, out);
        }
    }

    std::deque<Node> nodes_;  // stable addresses; the first is the source
    std::set<Node*> folders_;  // the handles AddNode takes as parents
};

// `text` in `codePage` as a UTF-16 file with its byte order mark, as an editor saves it.
inline std::string Utf16File(const std::string& text, UINT codePage, bool bigEndian) {
    const int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    std::string file;
    for (const wchar_t unit : L"\xFEFF" + wide) {
        const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
        file += bigEndian ? high : low;
        file += bigEndian ? low : high;
    }
    return file;
}

// tlImport.dll from ..\bin, as the program loads it from its own folder.
struct ImportLibrary {
    win::UniqueModule module{
        LoadLibraryA(path::ReplaceFileName(path::ModuleFile(nullptr), "..\\bin\\tlImport.dll").c_str())};
    plugin::CreateHandlerFunction create =
        win::ProcAddress<plugin::CreateHandlerFunction>(module.get(), plugin::kImportExport);
    plugin::EnumerateFunction enumerate =
        win::ProcAddress<plugin::EnumerateFunction>(module.get(), plugin::kEnumerateExport);

    // One import as the host runs it: create, SetSink, Run, Release. The handler may change
    // `path`, the host's copy. -1 when no handler was made.
    int Run(const char* code, std::string& path, RecordingSink& sink) const {
        plugin::FormatHandler* handler = nullptr;
        if (!create || create(code, &handler) != 0 || !handler) return -1;
        handler->SetSink(&sink);
        const int result = handler->Run(path.data(), sink.source());
        handler->Release();
        return result;
    }
    int Run(const char* code, const std::string& path, RecordingSink& sink) const {
        std::string copy = path;
        return Run(code, copy, sink);
    }
};

// Tests that import through the library.
struct ImportTest : testing::Test {
    ImportLibrary library;
    RecordingSink sink;
    void SetUp() override { ASSERT_TRUE(library.create && library.enumerate) << "..\\bin\\tlImport.dll"; }
};

}  // namespace importtest
