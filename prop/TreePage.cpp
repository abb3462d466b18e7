#include "TreePage.h"

#include "ColorButton.h"

#include <base/Format.h>
#include <base/Mbcs.h>
#include <resources/PropIds.h>
#include <settings/TreeSettings.h>

#include <commctrl.h>
#include <commdlg.h>

#include <optional>
#include <utility>
#include <vector>

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

int Points(const LOGFONTA& font) { return -MulDiv(font.lfHeight, 72, ScreenDpi()); }

std::optional<std::string> Number(int value, bool drop) {
    return drop ? std::nullopt : std::optional<std::string>(std::to_string(value));
}

std::optional<std::string> Color(COLORREF value, bool drop) {
    return drop ? std::nullopt : std::optional<std::string>(text::Format("0x%08lX", static_cast<unsigned long>(value)));
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
    look_.font = TreeFont(points, face.empty() ? settings::kDefaultFontFace : face);
    FillSample();

    HWND spin = Item(IDC_TREE_INDENT_SPIN);
    SendMessageA(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Item(IDC_TREE_INDENT)), 0);
    UDACCEL step{1, 1};
    SendMessageA(spin, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&step));
    SendMessageA(spin, UDM_SETRANGE32, kMinIndent, kMaxSpinIndent);

    look_.indent = ini_.ReadInt(kSection, "iIndent", settings::kDefaultIndent);
    look_.noIcons = ini_.ReadInt(kSection, "NoIcons", 0) != 0;
    look_.editOnDrop = ini_.ReadInt(kSection, "EditOnDrop", 0) != 0;
    look_.itemMode = ini_.ReadInt(kSection, "itemMode", 0);
    SetDlgItemInt(hwnd(), IDC_TREE_INDENT, static_cast<UINT>(look_.indent), TRUE);
    Check(IDC_TREE_NO_ICONS, look_.noIcons);
    Check(IDC_TREE_EDIT_ON_DROP, look_.editOnDrop);
    const int mode = look_.itemMode & settings::kItemModeExpandMask;
    for (int i = 0; i < 3; ++i) Check(kModeButtons[i], i == mode);
    Check(IDC_TREE_HOT_TRACK, look_.itemMode & settings::kItemModeHotTrack);
    Check(IDC_TREE_NO_DRAG_OUT, look_.itemMode & settings::kItemModeNoDragOut);
    Check(IDC_TREE_NO_RENAME, look_.itemMode & settings::kItemModeNoLabelEdit);

    // Colours are read as the programs read them ("FF0000" as well as "0x00FF0000").
    look_.background = ini_.ReadColor(kSection, "TvBkColor").value_or(GetSysColor(COLOR_WINDOW));
    look_.text = ini_.ReadColor(kSection, "TvTxColor").value_or(GetSysColor(COLOR_WINDOWTEXT));
    look_.lines = ini_.ReadColor(kSection, "TvLineColor").value_or(look_.text);
    stored_ = look_;
    ShowLook();
}

void TreePage::ShowLook() {
    HWND tree = Item(IDC_TREE_SAMPLE);
    TreeView_SetBkColor(tree, look_.background);
    TreeView_SetTextColor(tree, look_.text);
    TreeView_SetLineColor(tree, look_.lines);
    sampleFont_.reset(CreateFontIndirectA(&look_.font));
    SendMessageA(tree, WM_SETFONT, reinterpret_cast<WPARAM>(sampleFont_.get()), TRUE);
    for (int id : {IDC_TREE_BACK_COLOR, IDC_TREE_TEXT_COLOR, IDC_TREE_LINE_COLOR}) InvalidateRect(Item(id), nullptr, TRUE);
}

bool TreePage::TakeBack() {
    BOOL number = FALSE;
    const int indent = static_cast<int>(GetDlgItemInt(hwnd(), IDC_TREE_INDENT, &number, TRUE));
    if (!number) return Refuse(IDC_TREE_INDENT);
    look_.indent = indent;
    look_.noIcons = Checked(IDC_TREE_NO_ICONS);
    look_.editOnDrop = Checked(IDC_TREE_EDIT_ON_DROP);
    int mode = kModeNoneShown;
    for (int i = 0; i < 3; ++i)
        if (Checked(kModeButtons[i])) mode = i;
    look_.itemMode = (look_.itemMode & ~kShownModeBits) | mode |
                     (Checked(IDC_TREE_HOT_TRACK) ? settings::kItemModeHotTrack : 0) |
                     (Checked(IDC_TREE_NO_DRAG_OUT) ? settings::kItemModeNoDragOut : 0) |
                     (Checked(IDC_TREE_NO_RENAME) ? settings::kItemModeNoLabelEdit : 0);
    return true;
}

std::vector<std::pair<const char*, std::optional<std::string>>> TreePage::Entries(const Look& look) {
    const int points = Points(look.font);
    return {
        {"iIndent", Number(look.indent, look.indent == settings::kDefaultIndent)},
        {"NoIcons", Number(look.noIcons ? 1 : 0, false)},
        {"EditOnDrop", Number(look.editOnDrop ? 1 : 0, false)},
        {"itemMode", Number(look.itemMode, false)},
        {"TvBkColor", Color(look.background, look.background == GetSysColor(COLOR_WINDOW))},
        {"TvTxColor", Color(look.text, look.text == GetSysColor(COLOR_WINDOWTEXT))},
        {"TvLineColor", Color(look.lines, look.lines == look.text)},
        {"font-face", lstrcmpA(look.font.lfFaceName, settings::kDefaultFontFace) == 0
                          ? std::nullopt
                          : std::optional<std::string>(look.font.lfFaceName)},
        {"font-size", Number(points, points == settings::kDefaultFontSize)},
    };
}

bool TreePage::Save() {
    // A key is written only when what the page would write for it changed: a value the user left
    // alone stays as the file holds it, in whatever form the programs accept.
    const auto wanted = Entries(look_), stored = Entries(stored_);
    for (size_t i = 0; i < wanted.size(); ++i) {
        const auto& [key, value] = wanted[i];
        if (value != stored[i].second && !Store(kSection, key, value ? value->c_str() : nullptr)) return false;
    }
    stored_ = look_;
    return true;
}

COLORREF* TreePage::ColorOf(int buttonId) {
    switch (buttonId) {
    case IDC_TREE_BACK_COLOR: return &look_.background;
    case IDC_TREE_TEXT_COLOR: return &look_.text;
    case IDC_TREE_LINE_COLOR: return &look_.lines;
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
    LOGFONTA chosen = look_.font;
    CHOOSEFONTA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = hwnd();
    dialog.lpLogFont = &chosen;
    dialog.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
    if (ChooseFontA(&dialog)) {
        look_.font = chosen;
        Changed();
    }
    ShowLook();
}

void TreePage::BackToStandard() {
    look_.background = GetSysColor(COLOR_WINDOW);
    look_.text = GetSysColor(COLOR_WINDOWTEXT);
    look_.lines = look_.text;
    look_.font = TreeFont(settings::kDefaultFontSize, settings::kDefaultFontFace);
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
