// The block that the private clipboard formats "Tolvak CBFmt" and "Tolvak CBFmt RawData" carry
// between trees (also between the program and the browser bar). Its layout is fixed.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fav {

inline constexpr uint32_t kBlockMarker = 2;
inline constexpr uint32_t kBlockFileNode = 1;      // a folder or shortcut on disk
inline constexpr uint32_t kBlockImportedItem = 2;  // an imported item
inline constexpr size_t kBlockTextCapacity = 500;

struct TreeItemBlock {
    uint32_t marker;   // always kBlockMarker
    uint32_t window;   // the source tree's window handle (window handles fit 32 bits)
    uint32_t flags;
    // An item handle does not fit 32 bits on 64-bit systems; it is left 0 and the receiver
    // finds the source node by the path in `text`.
    uint32_t item;
    char text[kBlockTextCapacity];   // file node: its full path; imported item: its URL
    char label[kBlockTextCapacity];  // imported item: its label
};
static_assert(sizeof(TreeItemBlock) == 1016, "other trees read this block by layout");
static_assert(offsetof(TreeItemBlock, text) == 16 && offsetof(TreeItemBlock, label) == 516);

}  // namespace fav
