// Test helpers for the import plug-in: the library loaded from bin\ as the hosts load it, and a
// host sink that records what an import adds as a tree in memory.
#pragma once

#include <base/Handles.h>
#include <base/Path.h>
#include <pluginapi/PluginInterface.h>

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace importtest {

using plugin::ItemHandle;

class RecordingSink final : public plugin::ImportSink {
public:
    struct Node {
        std::string name;
        bool folder = false;
        std::optional<std::string> url;  // none for a message item (NoURL)
        std::vector<const Node*> children;
    };

    RecordingSink() : nodes_(1), folders_{&nodes_.front()} {}
    ItemHandle source() { return Handle(&nodes_.front()); }

    // What was added below the source, one line per node, two spaces of indent per level:
    // "+folder", "title <url>", "! message" (an item without URL).
    std::string Outline() const {
        std::string out;
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

    std::set<std::string> refusedFolders;  // AddNode refuses these, as a full tree would
    int releases = 0;
    bool usedForeignHandle = false;  // AddNode under a handle this sink never gave out

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOTIMPL; }
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
        const auto known = folders_.find(reinterpret_cast<Node*>(parent));
        Node* folder = known == folders_.end() ? nullptr : *known;
        usedForeignHandle |= !folder;
        if (!folder || !name || (kind != plugin::kAddFolder && kind != plugin::kAddItem)) return nullptr;
        if (kind == plugin::kAddFolder && refusedFolders.count(name)) return nullptr;
        Node& added = nodes_.emplace_back(Node{name, kind == plugin::kAddFolder, std::nullopt, {}});
        if (kind == plugin::kAddItem && url != plugin::NoURL) added.url = url ? url : "(null)";
        folder->children.push_back(&added);
        if (added.folder) folders_.insert(&added);
        return kind == plugin::kAddFolder ? Handle(&added) : reinterpret_cast<ItemHandle>(1);
    }

private:
    static ItemHandle Handle(const Node* node) { return reinterpret_cast<ItemHandle>(const_cast<Node*>(node)); }
    static void Describe(const Node& node, size_t depth, std::string& out) {
        for (const Node* child : node.children) {
            out += std::string(depth * 2, ' ');
            if (child->folder)
                out += "+" + child->name + "\n";
            else
                out += child->url ? child->name + " <" + *child->url + ">\n" : "! " + child->name + "\n";
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
