#include "TabSlots.h"

#include <base/Format.h>
#include <base/Mbcs.h>

#include <algorithm>
#include <utility>

namespace prop {
namespace {

constexpr size_t kNameCapacity = 255;
constexpr size_t kPathCapacity = 500;
// "BookMark.NS6" and "OfferBrowserProfiles" can never hold this, so it tells a missing key from a
// written 0.
constexpr int kMissing = -12345;
constexpr char kOfferProfilesKey[] = "OfferBrowserProfiles";

std::string KeyOf(const std::string& line) {
    std::string key = line.substr(0, line.find('='));
    while (!key.empty() && key.back() == ' ') key.pop_back();
    return key;
}

// Sets `key` to `value` in `lines` in place, appends it when absent, removes it for an empty value.
void SetLine(std::vector<std::string>& lines, const std::string& key, const std::string& value) {
    const auto found = std::find_if(lines.begin(), lines.end(),
                                    [&](const std::string& line) { return mbcs::EqualsNoCase(KeyOf(line), key); });
    if (value.empty()) {
        if (found != lines.end()) lines.erase(found);
    } else if (found != lines.end()) {
        *found = key + "=" + value;
    } else {
        lines.push_back(key + "=" + value);
    }
}

std::vector<std::string> SectionLines(const TabSlot& slot) {
    std::vector<std::string> lines = slot.lines;
    SetLine(lines, "tabName", slot.name);
    SetLine(lines, "FavRoot", slot.root);
    SetLine(lines, "BookMark", slot.bookmark);
    SetLine(lines, "DonaBookMark", slot.donaBookmark);
    SetLine(lines, "WWWCList", slot.wwwcList);
    SetLine(lines, "BookMark.NS6", slot.mozilla ? std::to_string(slot.mozilla) : "");
    SetLine(lines, "ChromiumBookMark", slot.chromiumBookmark);
    SetLine(lines, kOfferProfilesKey, slot.offerProfiles ? std::to_string(*slot.offerProfiles) : "");
    return lines;
}

}  // namespace

std::string TabSection(int k) { return text::Format("Tolvak#%d", k + 1); }

void TabSlots::Load(const settings::IniFile& ini) {
    slots_ = {};
    for (int k = 0; k < kMaxTabs; ++k) {
        const std::string section = TabSection(k);
        TabSlot& slot = slots_[k];
        slot.name = ini.ReadString(section.c_str(), "tabName", "", kNameCapacity);
        if (slot.name.empty()) break;
        slot.root = ini.ReadString(section.c_str(), "FavRoot", "", kPathCapacity);
        slot.bookmark = ini.ReadString(section.c_str(), "BookMark", "", kPathCapacity);
        slot.donaBookmark = ini.ReadString(section.c_str(), "DonaBookMark", "", kPathCapacity);
        slot.wwwcList = ini.ReadString(section.c_str(), "WWWCList", "", kPathCapacity);
        const int mozilla = ini.ReadInt(section.c_str(), "BookMark.NS6", kMissing);
        slot.mozilla = mozilla == kMissing ? 0 : mozilla;
        slot.chromiumBookmark = ini.ReadString(section.c_str(), "ChromiumBookMark", "", kPathCapacity);
        const int offer = ini.ReadInt(section.c_str(), kOfferProfilesKey, kMissing);
        if (offer != kMissing) slot.offerProfiles = offer;
        slot.lines = ini.ReadSection(section.c_str());
    }
}

void TabSlots::Save(const settings::IniFile& ini) const {
    for (int k = 0; k < kMaxTabs; ++k) {
        const std::string section = TabSection(k);
        const std::vector<std::string> present = ini.ReadSection(section.c_str());
        if (!slots_[k].InUse()) {
            if (!present.empty()) ini.DeleteSection(section.c_str());
            continue;
        }
        const std::vector<std::string> wanted = SectionLines(slots_[k]);
        if (wanted != present) ini.WriteSection(section.c_str(), wanted);
    }
}

int TabSlots::Count() const {
    int count = 0;
    while (count < kMaxTabs && slots_[count].InUse()) ++count;
    return count;
}

void TabSlots::Remove(int k) {
    if (k < 0 || k >= kMaxTabs) return;
    std::move(slots_.begin() + k + 1, slots_.end(), slots_.begin() + k);
    slots_.back() = {};
}

bool TabSlots::Swap(int j) {
    if (j < 0 || j + 1 >= kMaxTabs || !slots_[j].InUse() || !slots_[j + 1].InUse()) return false;
    std::swap(slots_[j], slots_[j + 1]);
    return true;
}

}  // namespace prop
