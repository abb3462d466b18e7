// What the bookmark-file parsers find, in file order; EventFeed.h turns it into the tree.
#pragma once

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace importer {

struct BookmarkEvent {
    enum Kind { kItem, kFolder, kClose };
    Kind kind;
    // UTF-8, exactly as the source has it (references decoded), whatever the source's encoding;
    // the text lies in the store of the list that holds the event.
    std::string_view name;  // items and folders
    std::string_view url;   // items only
};

// The events of one source and the text they refer to. The text is kept in large blocks that
// never move, so a list of tens of thousands of bookmarks costs a few allocations, not two per
// bookmark.
class BookmarkEvents {
public:
    using const_iterator = std::vector<BookmarkEvent>::const_iterator;

    void AddItem(std::string_view name, std::string_view url) { AddKept({BookmarkEvent::kItem, Keep(name), Keep(url)}); }
    void AddFolder(std::string_view name) { AddKept({BookmarkEvent::kFolder, Keep(name), {}}); }
    void AddClose() { AddKept({BookmarkEvent::kClose, {}, {}}); }

    // A copy of `text` that lives as long as this list does.
    std::string_view Keep(std::string_view text) {
        if (text.empty()) return {};
        if (text.size() > room_) {
            const size_t size = std::max(kBlockSize, text.size());
            blocks_.emplace_back(new char[size]);
            next_ = blocks_.back().get();
            room_ = size;
        }
        std::memcpy(next_, text.data(), text.size());
        const std::string_view kept(next_, text.size());
        next_ += text.size();
        room_ -= text.size();
        return kept;
    }
    // An event whose text came from Keep.
    void AddKept(const BookmarkEvent& event) { events_.push_back(event); }

    void reserve(size_t count) { events_.reserve(count); }
    size_t size() const { return events_.size(); }
    bool empty() const { return events_.empty(); }
    // Drops the events from `count` on; their text stays until the list goes.
    void truncate(size_t count) { events_.resize(std::min(count, events_.size())); }
    const_iterator begin() const { return events_.begin(); }
    const_iterator end() const { return events_.end(); }
    const BookmarkEvent& operator[](size_t at) const { return events_[at]; }

private:
    static constexpr size_t kBlockSize = 256 * 1024;
    std::vector<BookmarkEvent> events_;
    std::vector<std::unique_ptr<char[]>> blocks_;
    char* next_ = nullptr;
    size_t room_ = 0;
};

}  // namespace importer
