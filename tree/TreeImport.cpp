// Imported content: the plug-in sink over a tree, and opening a bookmark source through the
// import plug-in found beside the module that holds the tree code.
#include "TreeImportSink.h"

#include "TreeModule.h"

#include <base/Format.h>
#include <base/Handles.h>
#include <base/Mbcs.h>
#include <base/TextEncoding.h>

#include <algorithm>

#include <new>

namespace {

constexpr char kImportFailed[] = "インポートに失敗しました";
constexpr char kEntriesLeftOut[] = "%lu 件のアイテムを表示できませんでした";
// The tree view removes a branch by recursing once per level. An imported folder at every this
// many levels is removed on its own, deepest first, so no removal goes deeper than that however
// deeply a source nests.
constexpr uint32_t kLevelsPerBranch = 256;

}  // namespace

HRESULT STDMETHODCALLTYPE TreeImportSink::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!IsEqualIID(iid, plugin::IID_WideImportSink)) return E_NOTIMPL;
    *object = static_cast<plugin::WideImportSink*>(this);
    return S_OK;
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

BOOL STDMETHODCALLTYPE TreeImportSink::GetTextW(plugin::ItemHandle item, wchar_t* buffer, int size) {
    if (!item || !buffer || size <= 0) return FALSE;
    TVITEMW text{};
    text.mask = TVIF_TEXT;
    text.hItem = item;
    text.pszText = buffer;
    text.cchTextMax = size;
    buffer[0] = L'\0';
    if (!SendMessageW(tree_.hwnd(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&text))) return FALSE;
    // The control cuts by units; half a surrogate pair is no character.
    const size_t length = wcsnlen(buffer, static_cast<size_t>(size));
    if (length > 0 && IS_HIGH_SURROGATE(buffer[length - 1])) buffer[length - 1] = L'\0';
    return TRUE;
}

BOOL STDMETHODCALLTYPE TreeImportSink::GetURLW(plugin::ItemHandle item, wchar_t* buffer, int size) {
    const fav::NodeKind kind = tree_.KindOf(item);
    if (!buffer || size <= 0 || (kind != fav::kShortcut && kind != fav::kImportedItem)) return FALSE;
    const std::optional<std::wstring> url = tree_.NodeAddress(item);
    if (!url) return FALSE;
    size_t length = std::min(url->size(), static_cast<size_t>(size) - 1);
    if (length > 0 && length < url->size() && IS_HIGH_SURROGATE((*url)[length - 1])) --length;
    url->copy(buffer, length);
    buffer[length] = L'\0';
    return TRUE;
}

plugin::ItemHandle STDMETHODCALLTYPE TreeImportSink::AddNode(plugin::ItemHandle parent, const char* name,
                                                             const char* url, int kind) {
    if (!name) return nullptr;
    const bool hasUrl = url && url != plugin::NoURL;
    std::wstring wideName, wideUrl;
    try {
        wideName = text::AnsiToWide(name);
        if (hasUrl) wideUrl = text::AnsiToWide(url);
    } catch (const std::bad_alloc&) {
        ++leftOut_;
        return nullptr;
    }
    return AddNodeW(parent, wideName.c_str(), hasUrl ? wideUrl.c_str() : plugin::NoURLW, kind);
}

plugin::ItemHandle STDMETHODCALLTYPE TreeImportSink::AddNodeW(plugin::ItemHandle parent, const wchar_t* name,
                                                              const wchar_t* url, int kind) {
    if (!parent || !name || (kind != plugin::kAddFolder && kind != plugin::kAddItem)) return nullptr;
    try {
        if (kind == plugin::kAddFolder) {
            if (HTREEITEM folder = tree_.AddImportedFolder(parent, name)) return folder;
        } else {
            const bool hasUrl = url && url != plugin::NoURLW;
            // Success is any non-null value.
            if (tree_.AddImportedItem(parent, name, hasUrl ? std::optional<std::wstring>(url) : std::nullopt))
                return reinterpret_cast<plugin::ItemHandle>(1);
        }
    } catch (const std::bad_alloc&) {
        // No exception may reach the plug-in; the entry is counted as left out.
    }
    ++leftOut_;
    return nullptr;
}

HTREEITEM CFavTreeView::AddImportedFolder(HTREEITEM parent, const std::wstring& name) {
    HTREEITEM folder = InsertAt(parent, InsertPosition(parent, fav::kImportedFolder), name, fav::kImportedFolder, 0);
    if (!folder) return nullptr;
    const auto above = importedLevels_.find(parent);
    const uint32_t level = (above == importedLevels_.end() ? 0 : above->second) + 1;
    importedLevels_.emplace(folder, level);
    if (level % kLevelsPerBranch == 0) deepBranches_.push_back(folder);
    return folder;
}

void CFavTreeView::RemoveDeepBranches() {
    HWND window = hwnd();
    if (!deepBranches_.empty()) {
        // Nothing is selected meanwhile, or each removal would pass the selection up a level.
        TreeView_SelectItem(window, nullptr);
        // Recorded in the order they were added, so every branch comes after those it lies in.
        for (auto branch = deepBranches_.rbegin(); branch != deepBranches_.rend(); ++branch)
            TreeView_DeleteItem(window, *branch);
    }
    deepBranches_.clear();
    importedLevels_.clear();
}

HTREEITEM CFavTreeView::AddImportedItem(HTREEITEM parent, const std::string& name,
                                        const std::optional<std::string>& url) {
    return AddImportedItem(parent, text::AnsiToWide(name), url ? std::optional(text::AnsiToWide(*url)) : std::nullopt);
}

HTREEITEM CFavTreeView::AddImportedItem(HTREEITEM parent, const std::wstring& name,
                                        const std::optional<std::wstring>& url) {
    fav::NodeIndex index = fav::kNoUrlIndex;
    if (url) {
        std::vector<std::wstring>& urls = config_.importedUrls;
        // Position 255 is the "no URL" marker; a real URL never takes it.
        if (urls.size() == fav::kNoUrlIndex) urls.emplace_back();
        // Only where the item parameter is 32 bits wide can the table outgrow it.
        if (urls.size() > fav::kMaxNodeIndex) return nullptr;
        index = static_cast<fav::NodeIndex>(urls.size());
        urls.push_back(*url);
    }
    return InsertAt(parent, InsertPosition(parent, fav::kImportedItem), name, fav::kImportedItem, index);
}

void CFavTreeView::OpenBookmarkSource(HTREEITEM node) {
    // Read once per load: the node stops being an unopened source before anything is imported.
    SetKind(node, fav::kImportedFolder);
    const fav::NodeIndex index = IndexOf(node);
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
    // Whatever the tree could not take is at least counted where the user looks for it.
    if (const unsigned long leftOut = sink.leftOut())
        AddImportedItem(node, text::Format(kEntriesLeftOut, leftOut), std::nullopt);
}
