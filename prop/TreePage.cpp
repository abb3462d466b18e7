#include "TreePage.h"

#include "ColorButton.h"

#include <base/Format.h>
#include <base/Mbcs.h>
#include <resources/PropIds.h>
#include <settings/TreeSettings.h>

#include <commctrl.h>
#include <commdlg.h>
#include <shlwapi.h>

namespace prop {
namespace {

constexpr char kSection[] = "Tree";
constexpr int kMinIndent = 20;
constexpr int kMaxSpinIndent = 50;
constexpr int kShownModeBits = settings::kItemModeExpandMask | settings::kItemModeHotTrack |
                               settings::kItemModeNoDragOut | settings::kItemModeNoLabelEdit;
constexpr int kModeButtons[] = {IDC_TREE_MODE_NORMAL, IDC_TREE_MODE_SINGLE, IDC_TREE_MODE_CLICK};
// A stored mode of 3 ticks no radio button and is written back as 3.
constexpr int kModeNoneShown = 3;

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

LOGFONTA TreeFont(int points, const std::string& face) {
    LOGFONTA font{};
    font.lfHeight = -MulDiv(points, ScreenDpi(), 72);
    font.lfWeight = FW_DONTCARE;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DRAFT_QUALITY;
    font.lfPitchAndFamily = FIXED_PITCH;
    mbcs::CopyFitting(face, font.lfFaceName, sizeof font.lfFaceName);
    return font;
}

// A present, non-empty value as an integer ("0x" for hexadecimal), else `fallback`.
COLORREF ReadColor(const settings::IniFile& ini, const char* key, COLORREF fallback) {
    const std::string text = ini.ReadString(kSection, key, "", 11);
    int value = 0;
    if (text.empty() || !StrToIntExA(text.c_str(), STIF_SUPPORT_HEX, &value)) return fallback;
    return static_cast<COLORREF>(value);
}

HTREEITEM AddSampleItem(HWND tree, HTREEITEM parent, const char* text) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char*>(text);
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

}  // namespace

void TreePage::FillSample() {
    HWND tree = Item(IDC_TREE_SAMPLE);
    AddSampleItem(tree, TVI_ROOT, "Folder 1");
    HTREEITEM second = AddSampleItem(tree, TVI_ROOT, "Folder 2");
    AddSampleItem(tree, second, "Item 1");
    AddSampleItem(tree, second, "日本語");
    TreeView_Expand(tree, second, TVE_EXPAND);
}

void TreePage::Load() {
    const int points = ini_.ReadInt(kSection, "font-size", settings::kDefaultFontSize);
    std::string face = ini_.ReadString(kSection, "font-face", "", settings::kFontFaceCapacity);
    font_ = TreeFont(points, face.empty() ? settings::kDefaultFontFace : face);
    FillSample();

    HWND spin = Item(IDC_TREE_INDENT_SPIN);
    SendMessageA(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Item(IDC_TREE_INDENT)), 0);
    UDACCEL step{1, 1};
    SendMessageA(spin, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&step));
    SendMessageA(spin, UDM_SETRANGE32, kMinIndent, kMaxSpinIndent);

    indent_ = ini_.ReadInt(kSection, "iIndent", settings::kDefaultIndent);
    noIcons_ = ini_.ReadInt(kSection, "NoIcons", 0) != 0;
    editOnDrop_ = ini_.ReadInt(kSection, "EditOnDrop", 0) != 0;
    itemMode_ = ini_.ReadInt(kSection, "itemMode", 0);
    SetDlgItemInt(hwnd(), IDC_TREE_INDENT, static_cast<UINT>(indent_), TRUE);
    Check(IDC_TREE_NO_ICONS, noIcons_);
    Check(IDC_TREE_EDIT_ON_DROP, editOnDrop_);
    const int mode = itemMode_ & settings::kItemModeExpandMask;
    for (int i = 0; i < 3; ++i) Check(kModeButtons[i], i == mode);
    Check(IDC_TREE_HOT_TRACK, itemMode_ & settings::kItemModeHotTrack);
    Check(IDC_TREE_NO_DRAG_OUT, itemMode_ & settings::kItemModeNoDragOut);
    Check(IDC_TREE_NO_RENAME, itemMode_ & settings::kItemModeNoLabelEdit);

    background_ = ReadColor(ini_, "TvBkColor", GetSysColor(COLOR_WINDOW));
    text_ = ReadColor(ini_, "TvTxColor", GetSysColor(COLOR_WINDOWTEXT));
    lines_ = ReadColor(ini_, "TvLineColor", text_);
    ShowLook();
}

void TreePage::ShowLook() {
    HWND tree = Item(IDC_TREE_SAMPLE);
    TreeView_SetBkColor(tree, background_);
    TreeView_SetTextColor(tree, text_);
    TreeView_SetLineColor(tree, lines_);
    sampleFont_.reset(CreateFontIndirectA(&font_));
    SendMessageA(tree, WM_SETFONT, reinterpret_cast<WPARAM>(sampleFont_.get()), TRUE);
    for (int id : {IDC_TREE_BACK_COLOR, IDC_TREE_TEXT_COLOR, IDC_TREE_LINE_COLOR}) InvalidateRect(Item(id), nullptr, TRUE);
}

bool TreePage::TakeBack() {
    BOOL number = FALSE;
    const int indent = static_cast<int>(GetDlgItemInt(hwnd(), IDC_TREE_INDENT, &number, TRUE));
    if (!number) return Refuse(IDC_TREE_INDENT);
    indent_ = indent;
    noIcons_ = Checked(IDC_TREE_NO_ICONS);
    editOnDrop_ = Checked(IDC_TREE_EDIT_ON_DROP);
    int mode = kModeNoneShown;
    for (int i = 0; i < 3; ++i)
        if (Checked(kModeButtons[i])) mode = i;
    itemMode_ = (itemMode_ & ~kShownModeBits) | mode |
                (Checked(IDC_TREE_HOT_TRACK) ? settings::kItemModeHotTrack : 0) |
                (Checked(IDC_TREE_NO_DRAG_OUT) ? settings::kItemModeNoDragOut : 0) |
                (Checked(IDC_TREE_NO_RENAME) ? settings::kItemModeNoLabelEdit : 0);
    return true;
}

void TreePage::Save() {
    const auto write = [&](const char* key, const std::string& value, bool drop) {
        ini_.Write(kSection, key, drop ? nullptr : value.c_str());
    };
    const auto color = [](COLORREF value) { return text::Format("0x%08lX", static_cast<unsigned long>(value)); };
    const int points = -MulDiv(font_.lfHeight, 72, ScreenDpi());
    write("iIndent", std::to_string(indent_), indent_ == settings::kDefaultIndent);
    write("NoIcons", std::to_string(noIcons_ ? 1 : 0), false);
    write("EditOnDrop", std::to_string(editOnDrop_ ? 1 : 0), false);
    write("itemMode", std::to_string(itemMode_), false);
    write("TvBkColor", color(background_), background_ == GetSysColor(COLOR_WINDOW));
    write("TvTxColor", color(text_), text_ == GetSysColor(COLOR_WINDOWTEXT));
    write("TvLineColor", color(lines_), lines_ == text_);
    write("font-face", font_.lfFaceName, lstrcmpA(font_.lfFaceName, settings::kDefaultFontFace) == 0);
    write("font-size", std::to_string(points), points == settings::kDefaultFontSize);
}

COLORREF* TreePage::ColorOf(int buttonId) {
    switch (buttonId) {
    case IDC_TREE_BACK_COLOR: return &background_;
    case IDC_TREE_TEXT_COLOR: return &text_;
    case IDC_TREE_LINE_COLOR: return &lines_;
    default: return nullptr;
    }
}

void TreePage::PickColor(COLORREF* color) {
    static COLORREF custom[16] = {};
    CHOOSECOLORA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();
    dialog.rgbResult = *color;
    dialog.lpCustColors = custom;
    dialog.Flags = CC_RGBINIT;
    if (!ChooseColorA(&dialog)) return;
    *color = dialog.rgbResult;
    ShowLook();
    Changed();
}

void TreePage::PickFont() {
    LOGFONTA chosen = font_;
    CHOOSEFONTA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = hwnd();
    dialog.lpLogFont = &chosen;
    dialog.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
    if (ChooseFontA(&dialog)) {
        font_ = chosen;
        Changed();
    }
    ShowLook();
}

void TreePage::BackToStandard() {
    background_ = GetSysColor(COLOR_WINDOW);
    text_ = GetSysColor(COLOR_WINDOWTEXT);
    lines_ = text_;
    font_ = TreeFont(settings::kDefaultFontSize, settings::kDefaultFontFace);
    ShowLook();
    Changed();
}

INT_PTR TreePage::OnCommand(int id, int code) {
    if (code != BN_CLICKED) return FALSE;
    if (COLORREF* color = ColorOf(id)) {
        PickColor(color);
    } else if (id == IDC_TREE_FONT) {
        PickFont();
    } else if (id == IDC_TREE_STANDARD) {
        BackToStandard();
    } else {
        return FALSE;
    }
    return TRUE;
}

INT_PTR TreePage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_DRAWITEM) return FALSE;
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    COLORREF* color = ColorOf(static_cast<int>(wParam));
    if (!color) return FALSE;
    DrawColorButton(item, *color);
    return TRUE;
}

}  // namespace prop
