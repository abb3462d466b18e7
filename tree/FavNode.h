// The node model: tree-view items are the nodes. Each item's parameter packs the node kind
// (low 16 bits) and a table index (the bits above it).
#pragma once

#include <windows.h>

#include <cstdint>

namespace fav {

using NodeKind = uint16_t;
// A source-table or imported-URL table position.
using NodeIndex = uint32_t;

// Kind flag bits.
inline constexpr NodeKind kContainer = 0x0001;
inline constexpr NodeKind kOpenable = 0x0002;
inline constexpr NodeKind kFileBacked = 0x0004;
inline constexpr NodeKind kFirefoxSource = 0x0200;
inline constexpr NodeKind kChromiumSource = 0x0400;
inline constexpr NodeKind kWwwcSource = 0x0800;
inline constexpr NodeKind kDonaSource = 0x1000;
inline constexpr NodeKind kImported = 0x2000;
inline constexpr NodeKind kUnopened = 0x4000;

// Kinds in use.
inline constexpr NodeKind kFolder = 0x0005;
inline constexpr NodeKind kShortcut = 0x0006;
inline constexpr NodeKind kNewFolder = 0x4005;
inline constexpr NodeKind kNetscapeSource = 0x6001;
inline constexpr NodeKind kDonaBrowserSource = 0x7001;
inline constexpr NodeKind kWwwcItemsSource = 0x6801;
inline constexpr NodeKind kChromiumBookmarkSource = 0x6401;
inline constexpr NodeKind kFirefoxBookmarkSource = 0x6201;
inline constexpr NodeKind kImportedFolder = 0x2001;
inline constexpr NodeKind kImportedItem = 0x2002;

// Index value of an imported entry without URL (an error or message entry).
inline constexpr NodeIndex kNoUrlIndex = 255;

// The largest index an item parameter holds above the kind. The parameter is pointer-sized:
// 64-bit builds have room for 32 bits, 32-bit builds only for 16.
inline constexpr NodeIndex kMaxNodeIndex = sizeof(LPARAM) >= 8 ? 0xFFFFFFFFu : 0xFFFFu;

// Image-list positions (bitmap 134).
enum Image : int {
    kImageFolder = 0,
    kImageShortcut = 1,
    kImageOpenFolder = 2,
    kImageSource = 3,
    kImageImportedItem = 4,
    kImageCheckRunning = 5,
    kImageLinkDead = 6,
    kImageLinkAlive = 7,
    kImageDelete = 8,
    kImageLinkUnsure = 9,  // a link check got a status that tells neither (401, 429, 5xx ...)
    kImageCount = 10,
};

struct NodeImages {
    int normal, selected;
};
NodeImages ImagesFor(NodeKind kind);

// `index` must not exceed kMaxNodeIndex.
constexpr LPARAM MakeItemParam(NodeKind kind, NodeIndex index) {
    return static_cast<LPARAM>(static_cast<ULONG_PTR>(kind) | (static_cast<ULONG_PTR>(index) << 16));
}
constexpr NodeKind KindOf(LPARAM param) { return static_cast<NodeKind>(param & 0xFFFF); }
constexpr NodeIndex IndexOf(LPARAM param) {
    return static_cast<NodeIndex>((static_cast<ULONG_PTR>(param) >> 16) & kMaxNodeIndex);
}

// Folder kinds join the leading run of folders when inserted; everything else goes last.
constexpr bool JoinsFolderGroup(NodeKind kind) { return (kind & kContainer) && !(kind & kImported); }

}  // namespace fav
