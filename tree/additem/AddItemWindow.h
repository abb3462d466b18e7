// The add-item dialog's object (see AddItemDialog.h). Implementation files: AddItemDialog.cpp
// (fields, "追加", cancel, menu drawing), AddItemFolders.cpp (the folder tree: copy, label edits,
// context menu, new folders), AddItemCapture.cpp (the "情報\n取得" menu: browser windows and
// Netscape's last window).
#pragma once

#include <tree/CFavTreeView.h>

#include <base/Dialog.h>
#include <base/Handles.h>

#include <string>

namespace additem {

// Commands of the dialog's pop-up menus.
inline constexpr UINT kNetscapeCommand = 1999;
inline constexpr UINT kFirstBrowserCommand = 2000;  // plus the window's index in the collection
inline constexpr UINT kCreateFolderCommand = 30004;

class AddItemDialog final : public ui::Dialog {
public:
    AddItemDialog(CFavTreeView& tree, HTREEITEM targetFolder, std::wstring title, std::wstring url);
    INT_PTR Run();

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Fields and buttons (AddItemDialog.cpp).
    void OnInitDialog();
    void EnableUrlCompletion();
    INT_PTR OnCommand(UINT id, UINT code);
    void OnAdd();
    void OnCancel();
    void SetFields(const std::wstring& title, const std::wstring& url);
    void Warn(const char* text);
    // Back to the front after the tab tree showed a message over its own window.
    void BringToFront();
    HFONT TreeFont() const;

    // The folder tree (AddItemFolders.cpp).
    void BuildFolderTree();
    HTREEITEM TabFolderOf(HTREEITEM item) const;
    INT_PTR OnFolderNotify(const NMHDR& header);
    bool OnEndFolderEdit(const NMTVDISPINFOA& info);
    bool RenameFolder(HTREEITEM item, const std::string& name);
    void ShowFolderMenu();
    void CreateFolder(HTREEITEM item);

    // Taking the page from a browser (AddItemCapture.cpp).
    void ShowCaptureMenu();
    void CaptureFromNetscape();

    win::ComPtr<CFavTreeView> tree_;
    HTREEITEM target_;
    std::wstring title_;
    std::wstring url_;
    HWND folders_ = nullptr;
    HTREEITEM folderRoot_ = nullptr;
    bool notEditing_ = true;
    bool endingEdit_ = false;
};

}  // namespace additem
