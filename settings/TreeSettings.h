// Appearance of every favorites tree, read once from section "Tree".
#pragma once

#include "Settings.h"

#include <windows.h>

#include <optional>
#include <string>

namespace settings {

// "itemMode" bits.
inline constexpr int kItemModeExpandMask = 3;
inline constexpr int kExpandSingle = 1;       // opening a folder closes its open siblings
inline constexpr int kExpandOnClick = 2;      // one click on a folder toggles it
inline constexpr int kItemModeHotTrack = 4;
inline constexpr int kItemModeNoDragOut = 8;
inline constexpr int kItemModeNoLabelEdit = 16;

inline constexpr int kDefaultIndent = 20;
inline constexpr int kMaxIndent = 100;
inline constexpr int kDefaultFontSize = 10;
inline constexpr size_t kFontFaceCapacity = 99;
inline constexpr char kDefaultFontFace[] = "ＭＳ ゴシック";

struct TreeSettings {
    std::optional<COLORREF> background;  // none: the control keeps its own background
    COLORREF text = 0;
    COLORREF lines = 0;
    int indent = kDefaultIndent;
    bool showIcons = true;
    int fontSize = kDefaultFontSize;
    std::string fontFace;
    int itemMode = 0;
};

TreeSettings ReadTreeSettings(const IniFile& ini);

// The tree font (shared by every tree; the caller keeps it until the process ends).
HFONT CreateTreeFont(const TreeSettings& tree);

}  // namespace settings
