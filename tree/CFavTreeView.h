// One favorites tree: the "CFavTreeView" window (a superclass of the system tree view) and the
// object that owns it. The tree's items are the nodes (see FavNode.h); the object loads them from
// the tab's root folder, keeps them in step with the file system and applies the user's edits.
//
// Implementation files: CFavTreeView.cpp (object, window, appearance), TreeLoad.cpp (loading),
// TreeNodes.cpp (node queries, paths, insertion), TreeWatch.cpp (shell change notifications),
// TreeEdit.cpp (label edits, new folders, renames, new shortcuts), TreeNotify.cpp (notifications
// from the parent, status text), TreeOpen.cpp (opening entries in the browser), TreeOperations.cpp
// (delete, branches), TreeImport.cpp (the plug-in sink, bookmark sources), TreeContextMenu.cpp and
// TreeContextCommands.cpp (the context menu), TreeDrag.cpp and TreeDrop.cpp (drag and drop),
// TreeHooks.cpp (link checks, properties).
#pragma once

#include "FavNode.h"
#include "LinkCheckHook.h"
#include "TabConfig.h"
#include "TreeEntries.h"
#include <settings/TreeSettings.h>

#include <favorites/FolderListing.h>
#include <base/DragDrop.h>
#include <base/Handles.h>
#include <base/Window.h>

#include <windows.h>
#include <commctrl.h>
#include <exdisp.h>
#include <unknwn.h>

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// COM-style face of a tree, through which dialogs, the browser bar and plug-in hosts reach it.
// {7C41B5C1-3A6F-11D4-8E3F-2A61C0D94B17}
struct IFavTree : public IUnknown {
    // Copies the node's URL into `buffer` (at most `size` bytes) and returns it; null when the node
    // has no URL (a vanished shortcut file is reported and its node removed).
    virtual char* STDMETHODCALLTYPE GetNodeUrl(HTREEITEM node, char* buffer, int size) = 0;
};
extern "C" const IID IID_IFavTree;

class CFavTreeView final : public IFavTree, public ui::Window {
public:
    static constexpr char kClassName[] = "CFavTreeView";
    static constexpr int kFirstControlId = 110;
    static constexpr int kStatusBarId = 100;

    // Private messages of the tree window.
    static constexpr UINT kRenderDragData = 0x8001;
    static constexpr UINT kDropEvent = 0x8002;
    static constexpr UINT kShellChange = 0x8004;
    static constexpr UINT kReopenLabelEdit = 0x8010;
    static constexpr UINT kRemoveNode = 0x8011;

    // Created with one reference; Release at zero destroys the object and its window.
    explicit CFavTreeView(fav::TabConfig config);

    // IUnknown and IFavTree.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    char* STDMETHODCALLTYPE GetNodeUrl(HTREEITEM node, char* buffer, int size) override;

    // The object of a "CFavTreeView" window; null for any other window.
    static CFavTreeView* FromWindow(HWND window);
    // True while any tree of the process has a label edit open (accelerators wait meanwhile).
    static bool IsLabelEditing();
    // Passes a WM_NOTIFY to the tree that sent it; false when the sender is not a tree.
    static bool RouteNotify(const NMHDR* header, LRESULT* result);

    // Window and appearance.
    bool Create(HWND parent);
    void ApplySettings(const settings::TreeSettings& tree, HFONT font);
    HWND parentWindow() const { return parent_; }
    int itemMode() const { return itemMode_; }
    HPEN menuPen() const { return menuPen_.get(); }

    // Hosts without link checking (the browser bar) switch it off: no menu entry, no question
    // before a reload.
    void DisableLinkChecks() { linkChecksAllowed_ = false; }
    bool LinkChecksEnabled() const { return linkChecksAllowed_; }
    // The browser whose bar hosts the tree (none: a window of the program): entries open in it
    // and status texts go to its status bar.
    void AttachBrowser(win::ComPtr<IWebBrowser2> browser) { browser_ = std::move(browser); }
    IWebBrowser2* browser() const { return browser_.get(); }

    // Loading.
    bool LoadRoot();
    enum class FolderStatus { kUnreadable = 1, kLoaded = 2 };
    // Loads the folder's content below `parent`; folders already on the way down from the root
    // (reached again through a junction or link) are shown but not entered.
    FolderStatus LoadFolder(const std::wstring& folder, HTREEITEM parent);
    bool IsLoaded() const { return config_.loaded; }
    const fav::TabConfig& config() const { return config_; }
    const std::string& RootPath() const { return config_.rootPath; }

    // Nodes.
    HTREEITEM Root() const;
    HTREEITEM InsertNode(HTREEITEM parent, const std::string& label, fav::NodeKind kind, fav::NodeIndex index = 0);
    // A folder or shortcut node named exactly `name` (its text is kept in UTF-16).
    HTREEITEM InsertEntry(HTREEITEM parent, const std::wstring& name, fav::NodeKind kind);
    void RemoveNode(HTREEITEM node);
    fav::NodeKind KindOf(HTREEITEM node) const;
    fav::NodeIndex IndexOf(HTREEITEM node) const;
    void SetKind(HTREEITEM node, fav::NodeKind kind);
    // The label in the code page ("?" for what it lacks), for showing and for the user's edits.
    std::string Label(HTREEITEM node) const;
    // The label exactly: the file or folder name (without ".url") that file operations use.
    std::wstring FileName(HTREEITEM node) const;
    bool IsFolder(HTREEITEM node) const { return KindOf(node) == fav::kFolder; }
    bool IsShortcut(HTREEITEM node) const { return KindOf(node) == fav::kShortcut; }
    bool IsImportedItem(HTREEITEM node) const { return KindOf(node) == fav::kImportedItem; }
    // File-system path of a node (".url" added for shortcuts), at any depth, as shown; NodeFile
    // gives it exactly, and everything that touches the file uses that.
    std::optional<std::string> NodePath(HTREEITEM node) const;
    std::optional<std::wstring> NodeFile(HTREEITEM node) const;
    // The URL of a shortcut (from its file) or of an imported item; a vanished file is reported
    // and its node removed.
    std::optional<std::string> NodeUrl(HTREEITEM node);
    // The same address exactly, in UTF-16: what opening, searching and the wide formats use.
    std::optional<std::wstring> NodeAddress(HTREEITEM node);
    HTREEITEM FindNodeByPath(const std::string& fullPath) const;
    HTREEITEM FindNodeByFile(const std::wstring& fullPath) const;
    // False (after telling the user and removing the node) when a file-system node's object is gone.
    bool StillExists(HTREEITEM node);
    // Copies the folders below `node` into another tree-view control below `otherParent`; returns
    // the copy of `locate`, or null.
    HTREEITEM FolderOutline(HWND other, HTREEITEM otherParent, HTREEITEM node, HTREEITEM locate) const;

    // Editing.
    enum class ShortcutResult { kCreated, kFailed, kCancelled };
    // Where a new shortcut's name comes from: a name the user typed is refused (kFailed) when it
    // breaks the name rule; a name from outside (a page, a drop, an import) is made safe instead.
    enum class NameOrigin { kTyped, kOutside };
    // Writes "<parent path>\\<name>.url" (asking before overwriting) and selects its node. The
    // file is always written inside the parent folder, whatever the name holds.
    HTREEITEM CreateShortcut(HTREEITEM parent, const std::string& url, const std::string& name, NameOrigin origin,
                             ShortcutResult* result = nullptr);
    // The same with the exact address and name: the file keeps what the code page lacks.
    HTREEITEM CreateShortcut(HTREEITEM parent, const std::wstring& url, const std::wstring& name, NameOrigin origin,
                             ShortcutResult* result = nullptr);
    // Creates a folder; without a name it is "新しいフォルダ" and its label is opened for editing.
    HTREEITEM NewFolder(HTREEITEM parent, const std::optional<std::string>& name);
    // The add-item dialog for a new shortcut in `folder`.
    void NewShortcut(HTREEITEM folder);
    // A placeholder whose label is edited; the folder is created when the edit ends.
    void NewFolderPlaceholder(HTREEITEM parent);
    bool Rename(HTREEITEM node, const std::string& label);
    void StartRename(HTREEITEM node = nullptr);
    // Sends the node's file or folder to the recycle bin after asking; refuses the root and
    // imported nodes.
    void Delete(HTREEITEM node);
    // Expands or collapses the node and everything below it, down to 1000 levels (expanding
    // says so when deeper levels stay closed).
    void ExpandBranch(HTREEITEM node, bool expand);

    // Imported content (TreeImport.cpp): an imported folder, and an imported item opening `url`
    // or, without one, showing a message. Label and address are kept exactly; the code-page
    // forms are for the tree's own messages.
    HTREEITEM AddImportedFolder(HTREEITEM parent, const std::wstring& name);
    HTREEITEM AddImportedItem(HTREEITEM parent, const std::wstring& name, const std::optional<std::wstring>& url);
    HTREEITEM AddImportedItem(HTREEITEM parent, const std::string& name, const std::optional<std::string>& url);

    // Opening entries.
    // Opens the node (none: the caret node) in a new window while Shift is down, otherwise in the
    // hosting browser or, without one, with the system's handler for its URL.
    void Open(HTREEITEM node = nullptr);
    void OpenInNewWindow(HTREEITEM node);
    // A new window of the browser that "Browser" in section "General" names (Internet Explorer,
    // driven through automation, by default), handed the address exactly.
    void OpenUrlInNewWindow(const std::wstring& url);
    void OpenUrlInNewWindow(const std::string& url);
    // Each shortcut and imported item directly inside `folder`, in a new window; sub-folders are
    // not entered.
    void OpenAll(HTREEITEM folder);

    // Drag and drop (TreeDrag.cpp, TreeDrop.cpp).
    enum class DragKind { kNone, kNode, kImported, kFiles, kLink };
    // Moves the file or folder at `sourcePath`, shown in `sourceTree`, into the folder `target`
    // of this tree, on disk and in both trees. False when refused or when the move failed.
    bool MoveNode(CFavTreeView& sourceTree, HTREEITEM source, HTREEITEM target);
    // The formats a drag of `node` offers (none: the node cannot be dragged).
    std::vector<UINT> DragFormats(HTREEITEM node) const;

    // The context menu's command `id` (TreeContextMenu.h) for `node`.
    void RunContextCommand(UINT id, HTREEITEM node);
    // The current node: the one the last context menu or drag was for; commands and rendering of
    // dragged data act on it.
    HTREEITEM currentNode() const { return contextNode_; }
    void SetCurrentNode(HTREEITEM node) { contextNode_ = node; }
    // The formats the tree accepts from drops, in order of preference.
    static std::vector<UINT> AcceptedDropFormats();

    // The find commands' state for this tree: the text, the node the last search stopped at (a
    // hint, compared by handle only) and whether the walk has passed that node yet.
    struct FindState {
        std::wstring text;
        HTREEITEM stop = nullptr;
        bool started = false;
    };
    FindState& findState() { return findState_; }
    // The entries the searches walk, with the shortcuts' addresses once read (TreeEntries.h).
    fav::TreeEntries& entries() { return entries_; }

    // Notifications and feedback.
    LRESULT OnNotify(const NMHDR* header);
    void ShowStatusText(HTREEITEM node);
    void SetStatusText(const std::string& text);
    void SetStatusText(const std::wstring& text);
    // A message box for this tree, over its top window.
    int Message(const std::string& text, const std::string& caption, UINT flags);
    // The same with the system's own caption.
    int Message(const std::string& text, UINT flags);
    // What the node's last link check found, while the tree keeps it (TreeHooks.cpp).
    std::optional<std::wstring> LinkCheckOutcome(HTREEITEM node) const;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnWindowGone() override;

private:
    // The box of Message: activates the tree's window first, focuses it afterwards; no caption: the system's.
    int ShowBox(const std::string& text, const std::string* caption, UINT flags);
    ~CFavTreeView() override;
    static LRESULT CALLBACK ClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static void SetLabelEditing(bool editing);

    void ChooseRoot();
    void AddBookmarkSources(HTREEITEM root);
    void AddBookmarkSource(HTREEITEM root, const char* label, const char* code, const std::string& file,
                           fav::NodeKind kind);
    HTREEITEM InsertAt(HTREEITEM parent, HTREEITEM after, const std::string& label, fav::NodeKind kind,
                       fav::NodeIndex index);
    HTREEITEM InsertAt(HTREEITEM parent, HTREEITEM after, const std::wstring& name, fav::NodeKind kind,
                       fav::NodeIndex index);
    HTREEITEM InsertPosition(HTREEITEM parent, fav::NodeKind kind) const;
    void SetFileName(HTREEITEM node, const std::wstring& name);
    bool LoadFolderBelow(const std::wstring& folder, HTREEITEM parent, fav::FolderTrail& trail);
    HTREEITEM HitTestCursor(UINT* flags = nullptr) const;

    // Shell change notifications (TreeWatch.cpp).
    void Watch();
    void Unwatch();
    void OnShellChange(WPARAM idLists, LPARAM event);
    void AddCreatedEntry(const std::wstring& fullPath, bool isFolder);

    HTREEITEM CreateShortcutFile(HTREEITEM parent, const std::wstring& name, NameOrigin origin, ShortcutResult* result,
                                 const std::function<bool(const std::wstring&)>& write);

    // Label edits (TreeEdit.cpp).
    LRESULT OnBeginLabelEdit(const NMTVDISPINFOA& info);
    LRESULT OnEndLabelEdit(const NMTVDISPINFOA& info);
    LRESULT FinishLabelEdit(const NMTVDISPINFOA& info);
    bool EndPlaceholderEdit(HTREEITEM placeholder, const char* text);
    void ReopenLabelEdit(HTREEITEM node, const std::string& text);
    void OnReopenLabelEdit(HTREEITEM node);

    // Context menu (TreeContextCommands.cpp).
    void ShowContextMenu(HTREEITEM node, POINT screenPoint);
    void CopyUrl(HTREEITEM node, bool asLink);

    // Drag and drop.
    HGLOBAL RenderDragData(UINT format);
    HTREEITEM NodeAtScreenPoint(const POINT* screen) const;
    HTREEITEM DropFolderFor(HTREEITEM node) const;
    LRESULT OnDropEvent(WPARAM event, dnd::DropNotify& notify);
    void OnDragEnter(dnd::DropNotify& notify);
    void OnDragOver(dnd::DropNotify& notify);
    void EndDragFeedback();
    void OnDrop(dnd::DropNotify& notify);
    void ActivateWindow();
    void DropLink(HTREEITEM target, const std::wstring& url, const std::wstring& name);
    void DropFiles(HTREEITEM target, const std::vector<std::wstring>& files);
    void DropBlock(HTREEITEM target, HGLOBAL data);
    // The kept addresses of the shortcuts in `folder` that files of `drop` may have replaced.
    void ForgetDroppedFiles(const std::wstring& folder, HDROP drop);

    // Features that plug in here (TreeHooks.cpp).
    bool PropertiesOpen() const;
    void ShowProperties(HTREEITEM node);
    void CheckLinks(HTREEITEM node);
    void ShowKeptLinkChecks();
    void BeginDrag(const NMTREEVIEWA& info);
    void RegisterDropTarget();
    void RevokeDropTarget();
    // Reads a bookmark source through the import plug-in (TreeImport.cpp).
    void OpenBookmarkSource(HTREEITEM node);
    // Removes the deep imported branches recorded in `deepBranches_`, deepest first (before the
    // tree view removes everything at a reload or when its window goes).
    void RemoveDeepBranches();
    bool StopLinkChecksBeforeReload();
    bool RouteFeatureMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    void ForgetNodeInFeatures(HTREEITEM node);
    void AbandonFeatures();

    LONG references_ = 1;
    fav::TabConfig config_;
    bool linkChecksAllowed_ = true;
    win::ComPtr<IWebBrowser2> browser_;
    HWND parent_ = nullptr;
    int itemMode_ = 0;
    win::UniquePen menuPen_;
    win::UniqueImageList images_;
    ULONG watchId_ = 0;
    std::string reopenText_;
    HTREEITEM editingNode_ = nullptr;  // the item whose label editor is open
    // An open edit being cancelled for another item's: its first end notice is the cancel, and
    // the end its hidden editor's loss of focus adds afterwards must not act on the typed text.
    enum class EditCancel { kNone, kAsked, kDone } editCancel_ = EditCancel::kNone;
    bool endingLabelEdit_ = false;
    HTREEITEM contextNode_ = nullptr;
    // Each imported folder's nesting level, and the folders at every so many levels (TreeImport.cpp).
    std::unordered_map<HTREEITEM, uint32_t> importedLevels_;
    std::vector<HTREEITEM> deepBranches_;
    FindState findState_;
    fav::TreeEntries entries_;
    // Created on the first check when the program installed a checker (TreeHooks.cpp).
    std::unique_ptr<fav::TreeLinkChecks> linkChecks_;
};
