// Imported content: the plug-in sink over a tree, and opening a bookmark source through the
// import plug-in found beside the module that holds the tree code.
#include "TreeImportSink.h"

#include "TreeModule.h"

#include <base/Handles.h>
#include <base/Mbcs.h>

namespace {

constexpr char kImportFailed[] = "インポートに失敗しました";
// The item parameter keeps a URL's table position in 16 bits.
constexpr size_t kMaxImportedUrls = 0xFFFF;

}  // namespace

HRESULT STDMETHODCALLTYPE TreeImportSink::QueryInterface(REFIID, void** object) {
    if (object) *object = nullptr;
    return E_NOTIMPL;
}

// The host owns the sink; reference counting does nothing.
ULONG STDMETHODCALLTYPE TreeImportSink::AddRef() { return static_cast<ULONG>(E_NOTIMPL); }
ULONG STDMETHODCALLTYPE TreeImportSink::Release() { return static_cast<ULONG>(E_NOTIMPL); }

HWND STDMETHODCALLTYPE TreeImportSink::GetOwnerWindow() { return tree_.hwnd(); }

plugin::ItemHandle STDMETHODCALLTYPE TreeImportSink::GetRoot() { return tree_.Root(); }

plugin::ItemHandle STDMETHODCALLTYPE TreeImportSink::GetChild(plugin::ItemHandle item) {
    return item ? TreeView_GetChild(tree_.hwnd(), item) : nullptr;
}

plugin::ItemHandle STDMETHODCALLTYPE TreeImportSink::GetNextSibling(plugin::ItemHandle item) {
    return item ? TreeView_GetNextSibling(tree_.hwnd(), item) : nullptr;
}

BOOL STDMETHODCALLTYPE TreeImportSink::GetText(plugin::ItemHandle item, char* buffer, int size) {
    if (!item || size <= 0) return FALSE;
    return mbcs::CopyFitting(tree_.Label(item), buffer, static_cast<size_t>(size));
}

BOOL STDMETHODCALLTYPE TreeImportSink::GetURL(plugin::ItemHandle item, char* buffer, int size) {
    const fav::NodeKind kind = tree_.KindOf(item);
    if (size <= 0 || (kind != fav::kShortcut && kind != fav::kImportedItem)) return FALSE;
    const std::optional<std::string> url = tree_.NodeUrl(item);
    return url && mbcs::CopyFitting(*url, buffer, static_cast<size_t>(size));
}

BOOL STDMETHODCALLTYPE TreeImportSink::IsFolder(plugin::ItemHandle item) { return tree_.IsFolder(item); }

plugin::ItemHandle STDMETHODCALLTYPE TreeImportSink::AddNode(plugin::ItemHandle parent, const char* name,
                                                             const char* url, int kind) {
    if (!parent || !name) return nullptr;
    if (kind == plugin::kAddFolder) return tree_.AddImportedFolder(parent, name);
    if (kind != plugin::kAddItem) return nullptr;
    const std::optional<std::string> target =
        (url && url != plugin::NoURL) ? std::optional<std::string>(url) : std::nullopt;
    // Success is any non-null value.
    return tree_.AddImportedItem(parent, name, target) ? reinterpret_cast<plugin::ItemHandle>(1) : nullptr;
}

HTREEITEM CFavTreeView::AddImportedFolder(HTREEITEM parent, const std::string& name) {
    return InsertNode(parent, name, fav::kImportedFolder);
}

HTREEITEM CFavTreeView::AddImportedItem(HTREEITEM parent, const std::string& name,
                                        const std::optional<std::string>& url) {
    uint16_t index = fav::kNoUrlIndex;
    if (url) {
        std::vector<std::string>& urls = config_.importedUrls;
        // Position 255 is the "no URL" marker; a real URL never takes it.
        if (urls.size() == fav::kNoUrlIndex) urls.emplace_back();
        if (urls.size() >= kMaxImportedUrls) return nullptr;
        index = static_cast<uint16_t>(urls.size());
        urls.push_back(*url);
    }
    return InsertNode(parent, name, fav::kImportedItem, index);
}

void CFavTreeView::OpenBookmarkSource(HTREEITEM node) {
    // Read once per load: the node stops being an unopened source before anything is imported.
    SetKind(node, fav::kImportedFolder);
    const uint16_t index = IndexOf(node);
    if (index >= config_.sourceCount) return;
    fav::BookmarkSource& source = config_.sources[index];

    win::UniqueModule module(LoadLibraryA(fav::BesideTreeModule(plugin::kImportLibrary).c_str()));
    const auto import = win::ProcAddress<plugin::CreateHandlerFunction>(module.get(), plugin::kImportExport);
    if (!import) return;  // no plug-in: the source simply stays empty

    plugin::FormatHandler* handler = nullptr;
    if (import(source.code, &handler) != 0 || !handler) {
        AddImportedItem(node, kImportFailed, std::nullopt);
        return;
    }
    TreeImportSink sink(*this);
    handler->SetSink(&sink);
    std::string location = source.path;  // the plug-in may write into its copy
    handler->Run(location.data(), node);
    handler->Release();
}
