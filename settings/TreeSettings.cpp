#include "TreeSettings.h"

namespace settings {

TreeSettings ReadTreeSettings(const IniFile& ini) {
    TreeSettings tree;
    tree.background = ini.ReadColor("Tree", "TvBkColor");
    tree.text = ini.ReadColor("Tree", "TvTxColor").value_or(GetSysColor(COLOR_WINDOWTEXT));
    // Without a line colour the lines take the text colour, as the settings tool shows them.
    tree.lines = ini.ReadColor("Tree", "TvLineColor").value_or(tree.text);
    tree.indent = ini.ReadInt("Tree", "iIndent", kDefaultIndent);
    if (tree.indent <= 0 || tree.indent > kMaxIndent) tree.indent = kDefaultIndent;
    tree.showIcons = ini.ReadInt("Tree", "NoIcons", 0) == 0;
    tree.fontSize = ini.ReadInt("Tree", "font-size", kDefaultFontSize);
    tree.fontFace = ini.ReadString("Tree", "font-face", kDefaultFontFace, kFontFaceCapacity);
    tree.itemMode = ini.ReadInt("Tree", "itemMode", 0);
    return tree;
}

HFONT CreateTreeFont(const TreeSettings& tree) {
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(tree.fontSize, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    return CreateFontA(height, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DRAFT_QUALITY, FIXED_PITCH,
                       tree.fontFace.c_str());
}

}  // namespace settings
