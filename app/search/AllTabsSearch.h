// The all-tabs search: matching entries of several tab trees collected into result rows, one row
// per file-system entry with the names of every tab it was found in.
#pragma once

#include <tree/CFavTreeView.h>

#include <string>
#include <unordered_map>
#include <vector>

namespace search {

// One result row, its texts exact (UTF-16). Rows keep no tree item: the entry is found again by
// its exact path when the row is used, as the tree may have changed meanwhile.
struct FindResult {
    CFavTreeView* tree;  // the first tree the entry was found in
    int kind;            // 0 folder, 1 any other entry (also the image shown)
    std::wstring title;
    std::wstring url;    // empty for a folder
    std::wstring file;   // the path (".url" ending for a shortcut)
    std::wstring tabs;   // tab names joined with ","
};

class ResultCollector {
public:
    void Clear();
    // Adds the matches of `wanted` below the tree's root; title and URL are tested each by
    // itself. Imported content is skipped, folders are always entered. Addresses come from the
    // tree (see AddressReading.h).
    void Collect(CFavTreeView& tree, const std::string& tabName, const std::wstring& wanted);
    const std::vector<FindResult>& rows() const { return rows_; }

private:
    void AddRow(FindResult row, const std::wstring& tabName);

    std::vector<FindResult> rows_;
    // Row by the exact (UTF-16) path: as it is for shortcuts, letter case folded for folders.
    std::unordered_map<std::wstring, size_t> entryRows_;
    std::unordered_map<std::wstring, size_t> folderRows_;
};

}  // namespace search
