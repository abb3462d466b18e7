// Finding entries in one tree (the active tab): the first match from the top, and the next match
// after the selected entry. Matches are selected in the tree. Titles and addresses are matched
// exactly (UTF-16) as the tree keeps them; only addresses changed on disk meanwhile are read.
#pragma once

#include <tree/CFavTreeView.h>

#include <string>

namespace search {

inline constexpr char kNoSearchText[] = "検索文字列が指定されていません。";
inline constexpr char kNotFound[] = "見つかりませんでした。";
inline constexpr char kNotFoundCaption[] = "Tolvak";

// Makes `text` the tree's search text and selects the first matching entry.
void FindFirst(CFavTreeView& tree, const std::wstring& text);
// Selects the next matching entry after the selected one (from the top when the root is
// selected); the walk does not wrap around.
void FindNext(CFavTreeView& tree);

}  // namespace search
