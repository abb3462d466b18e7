// The settings tool's working copy of the tabs: the sections "Tolvak#1" to "Tolvak#13", in use
// from the first slot on without gaps. A tab carries every line of its section, comments included,
// so keys the tool does not edit ("EditOnDrop", say) stay with their tab when tabs move or go, and
// only the values the user changed are ever written.
#pragma once

#include <settings/Settings.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace prop {

inline constexpr int kMaxTabs = 13;
inline constexpr size_t kTabNameLimit = 39;
// The programs read paths into MAX_PATH bytes; a longer one would silently name another folder.
inline constexpr size_t kPathLimit = MAX_PATH - 1;
// The list's last line while a tab can still be added; no tab name may begin with it.
inline constexpr char kNewTabEntry[] = "<新規タブ>";

struct TabSlot {
    std::string name;
    std::string root;
    std::string bookmark;
    std::string donaBookmark;
    std::string wwwcList;
    int mozilla = 0;
    // A Chromium-based browser's "Bookmarks" file.
    std::string chromiumBookmark;
    // Firefox's places database ("places.sqlite").
    std::string firefoxBookmark;
    // "OfferBrowserProfiles" as written; none is the programs' default, offering the default
    // Edge/Chrome profiles while chromiumBookmark is empty and the default Firefox profile while
    // firefoxBookmark is.
    std::optional<int> offerProfiles;
    // The section's lines as written, in file order: kept so that a moved tab takes its other keys
    // and comments along and an unchanged tab leaves its section as it was.
    std::vector<std::string> lines;
    // The first tab is a tab without a name too: the programs show it whenever the file has it.
    bool nameless = false;

    bool InUse() const { return !name.empty() || nameless; }
    bool OffersProfiles() const { return offerProfiles.value_or(1) != 0; }
    // Switching the offer back on drops the key; an unchanged switch keeps its line as written.
    void SetOffersProfiles(bool on) {
        if (on != OffersProfiles()) offerProfiles = on ? std::nullopt : std::optional<int>(0);
    }
};

class TabSlots {
public:
    void Load(const settings::IniFile& ini);
    // Once the user changed a tab, writes sections 1 to 13 (a section with no tab goes); a section
    // is rewritten only when its lines change, and every other byte of the file stays.
    settings::WriteResult Save(const settings::IniFile& ini);

    int Count() const;
    const TabSlot& operator[](int k) const { return slots_[k]; }
    void Set(int k, TabSlot slot);

    // Removes tab k; the tabs behind it move up one slot.
    void Remove(int k);
    // Exchanges tabs j and j + 1; false when either is not a tab or has no name (a tab without
    // one must stay first: the programs end the list at the first later tab without a name).
    bool Swap(int j);

private:
    // Two spare slots, so shifting up after a deletion always pulls an empty slot in.
    std::array<TabSlot, kMaxTabs + 2> slots_;
    bool changed_ = false;
};

// The section of slot k ("Tolvak#1" for slot 0).
std::string TabSection(int k);

}  // namespace prop
