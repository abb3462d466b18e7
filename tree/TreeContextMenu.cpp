#include "TreeContextMenu.h"

#include "CFavTreeView.h"

#include <base/Mbcs.h>

namespace ctxmenu {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kBand = 0xDDDDDD;
constexpr COLORREF kSelected = 0xFFAAAA;
constexpr COLORREF kFrame = 0x0000FF;
constexpr int kBandWidth = 15;
constexpr int kTextLeft = 20;
constexpr int kTextRight = 6;
constexpr int kIconSize = 16;

const Entry* EntryOf(ULONG_PTR data) { return reinterpret_cast<const Entry*>(data); }

SIZE TextExtent(HWND window, HFONT font, const std::string& text) {
    HDC dc = GetDC(window);
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    SIZE extent{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    if (old) SelectObject(dc, old);
    ReleaseDC(window, dc);
    return extent;
}

void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
    win::UniqueBrush brush(CreateSolidBrush(color));
    FillRect(dc, &rect, brush.get());
}

void DrawSelection(HDC dc, const RECT& item) {
    RECT frame{item.left + 2 + kBandWidth, item.top + 1, item.right - 2, item.bottom - 1};
    win::UniquePen dotted(CreatePen(PS_DOT, 1, kFrame));
    HGDIOBJ oldPen = SelectObject(dc, dotted.get());
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, frame.left, frame.top, frame.right, frame.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    InflateRect(&frame, -1, -1);
    FillSolid(dc, frame, kSelected);
}

}  // namespace

ContextMenu::ContextMenu(CFavTreeView& tree, HTREEITEM node)
    : tree_(tree.hwnd()), images_(TreeView_GetImageList(tree.hwnd(), TVSIL_NORMAL)), menu_(CreatePopupMenu()) {
    const fav::NodeKind kind = tree.KindOf(node);
    const bool onDisk = (kind & fav::kFileBacked) != 0;
    if (kind & fav::kOpenable) {
        Add(kOpen, "開く(&O)\tEnter");
        Add(kOpenInNewWindow, "新しいウィンドウで開く(&N)\tShift+Enter");
        AddSeparator();
        Add(kCopyUrl, "URLをコピー(&C)");
        Add(kCopyLink, "リンク形式でURLをコピー(&L)");
        if (onDisk) {
            if (tree.LinkChecksEnabled()) Add(kCheckLinks, "ページ存在チェック(&H)", fav::kImageCheckRunning);
            AddSeparator();
            Add(kAddHere, "この階層に追加(&A)", fav::kImageShortcut);
            Add(kDelete, "削除(&D)\tDel", fav::kImageDelete);
            Add(kRename, "名前の変更(&M)");
            AddSeparator();
            Add(kProperties, "プロパティ(&R)");
        }
        if (menu_) SetMenuDefaultItem(menu_.get(), kOpen, FALSE);
    } else if (kind & fav::kContainer) {
        Add(kExpandBranch, "この階層以下を展開(&E)");
        Add(kCollapseBranch, "この階層以下を閉じる(&C)");
        Add(kOpenAll, "全てのアイテムを開く(&O)");
        if (onDisk) {
            AddSeparator();
            Add(kNewItem, "新規アイテム(&A)", fav::kImageShortcut);
            Add(kNewFolder, "新規フォルダ(&F)", fav::kImageFolder);
            Add(kDelete, "削除(&D)\tDel", fav::kImageDelete);
            Add(kRename, "名前の変更(&M)");
            if (tree.LinkChecksEnabled()) Add(kCheckLinks, "ページ存在チェック(&H)", fav::kImageCheckRunning);
        }
    }
}

ContextMenu::ContextMenu(HWND owner, HIMAGELIST images) : tree_(owner), images_(images), menu_(CreatePopupMenu()) {}

// The menu goes before the entries its items point at.
ContextMenu::~ContextMenu() { menu_.reset(); }

void ContextMenu::Add(UINT id, const char* text, int image) {
    if (!menu_) return;
    auto entry = std::make_unique<Entry>();
    entry->text = text;
    // Without an image list ("NoIcons") the entries have no icons either.
    if (image >= 0 && images_) entry->icon.reset(ImageList_GetIcon(images_, image, ILD_NORMAL));
    AppendMenuA(menu_.get(), MF_OWNERDRAW, id, reinterpret_cast<LPCSTR>(entry.get()));
    entries_.push_back(std::move(entry));
}

void ContextMenu::AddSeparator() {
    if (menu_) AppendMenuA(menu_.get(), MF_OWNERDRAW | MF_SEPARATOR, 0, nullptr);
}

void ContextMenu::Track(POINT screenPoint) {
    if (!menu_ || GetMenuItemCount(menu_.get()) <= 0) return;
    TrackPopupMenu(menu_.get(), TPM_LEFTALIGN | TPM_TOPALIGN, screenPoint.x, screenPoint.y, 0, tree_, nullptr);
    // Lets the menu's modal loop finish cleanly before the next input.
    PostMessageA(tree_, WM_NULL, 0, 0);
}

UINT ContextMenu::Choose(POINT screenPoint) {
    if (!menu_ || GetMenuItemCount(menu_.get()) <= 0) return 0;
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(menu_.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD,
                                                         screenPoint.x, screenPoint.y, 0, tree_, nullptr));
    PostMessageA(tree_, WM_NULL, 0, 0);
    return chosen;
}

bool Measure(HWND tree, HFONT font, MEASUREITEMSTRUCT& measure) {
    if (measure.CtlType != ODT_MENU) return false;
    const Entry* entry = EntryOf(measure.itemData);
    if (!entry) {
        measure.itemWidth = 10;
        measure.itemHeight = 5;
        return true;
    }
    std::string text = entry->text;
    const size_t tab = mbcs::FindFirstOf(text, "\t");
    if (tab != mbcs::npos) text[tab] = ' ';
    const SIZE extent = TextExtent(tree, font, text);
    measure.itemWidth = extent.cx + (tab != mbcs::npos ? 4 : 29);
    measure.itemHeight = extent.cy + 7;
    return true;
}

bool Draw(HPEN pen, const DRAWITEMSTRUCT& draw) {
    if (draw.CtlType != ODT_MENU) return false;
    HDC dc = draw.hDC;
    const RECT& item = draw.rcItem;
    FillSolid(dc, item, kWhite);
    SetTextColor(dc, kBlack);
    SetBkColor(dc, kWhite);
    FillSolid(dc, RECT{item.left, item.top, item.left + kBandWidth, item.bottom}, kBand);

    const Entry* entry = EntryOf(draw.itemData);
    if (!entry) {
        const int middle = (item.top + item.bottom) / 2;
        HGDIOBJ old = SelectObject(dc, pen ? static_cast<HGDIOBJ>(pen) : GetStockObject(BLACK_PEN));
        MoveToEx(dc, item.left + 3, middle, nullptr);
        LineTo(dc, item.right - 3, middle);
        SelectObject(dc, old);
        return true;
    }
    if (entry->icon)
        DrawIconEx(dc, item.left + 1, (item.top + item.bottom - kIconSize) / 2, entry->icon.get(), kIconSize, kIconSize, 0,
                   nullptr, DI_NORMAL);
    if (draw.itemState & ODS_SELECTED) {
        DrawSelection(dc, item);
        SetTextColor(dc, kWhite);
        SetBkColor(dc, kSelected);
    }
    RECT text{item.left + kTextLeft, item.top, item.right - kTextRight, item.bottom};
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const UINT flags = DT_SINGLELINE | DT_VCENTER;
    const size_t tab = mbcs::FindFirstOf(entry->text, "\t");
    if (tab == mbcs::npos) {
        DrawTextA(dc, entry->text.c_str(), -1, &text, flags | DT_LEFT);
    } else {
        DrawTextA(dc, entry->text.c_str(), static_cast<int>(tab), &text, flags | DT_LEFT);
        const std::string accelerator = entry->text.substr(tab + 1);
        DrawTextA(dc, accelerator.c_str(), -1, &text, flags | DT_RIGHT);
    }
    SetBkMode(dc, oldMode);
    return true;
}

LRESULT MenuChar(HMENU menu, char typed) {
    const auto upper = [](char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; };
    typed = upper(typed);
    for (int position = GetMenuItemCount(menu) - 1; position >= 0; --position) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA;
        if (!GetMenuItemInfoA(menu, position, TRUE, &info) || !(info.fType & MFT_OWNERDRAW) || !info.wID) continue;
        const Entry* entry = EntryOf(info.dwItemData);
        if (!entry) continue;
        const size_t amp = mbcs::FindLastOf(entry->text, "&");
        if (amp != mbcs::npos && amp + 1 < entry->text.size() && upper(entry->text[amp + 1]) == typed)
            return MAKELRESULT(position, MNC_EXECUTE);
    }
    return 0;
}

}  // namespace ctxmenu
