#include "TabSlots.h"

#include <base/Format.h>
#include <base/Mbcs.h>

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace prop {
namespace {

constexpr char kOfferProfilesKey[] = "OfferBrowserProfiles";

// The keys read as text, whole: a value is never cut, so one the user leaves alone stays as it is.
struct TextKey {
    const char* key;
    std::string TabSlot::*field;
};
constexpr TextKey kTextKeys[] = {
    {"tabName", &TabSlot::name},
    {"FavRoot", &TabSlot::root},
    {"BookMark", &TabSlot::bookmark},
    {"DonaBookMark", &TabSlot::donaBookmark},
    {"WWWCList", &TabSlot::wwwcList},
    {"ChromiumBookMark", &TabSlot::chromiumBookmark},
    {"FirefoxBookMark", &TabSlot::firefoxBookmark},
};

bool HasKey(const std::string& line, const std::string& key) {
    const std::optional<settings::IniEntry> entry = settings::ParseIniLine(line);
    return entry && mbcs::EqualsNoCase(entry->key, key);
}

// The value the programs read for `key` (the first line that has it); nothing when none does.
std::optional<settings::IniEntry> Entry(const std::vector<std::string>& lines, const std::string& key) {
    for (const std::string& line : lines)
        if (HasKey(line, key)) return settings::ParseIniLine(line);
    return std::nullopt;
}

// An integer as the private-profile reader takes it; nothing for a missing or empty value.
std::optional<int> IntValue(const std::vector<std::string>& lines, const std::string& key) {
    const std::optional<settings::IniEntry> entry = Entry(lines, key);
    if (!entry || entry->value.empty()) return std::nullopt;
    return static_cast<int>(std::strtol(entry->value.c_str(), nullptr, 10));
}

TabSlot SlotFrom(std::vector<std::string> lines) {
    TabSlot slot;
    for (const TextKey& text : kTextKeys) {
        const std::optional<settings::IniEntry> entry = Entry(lines, text.key);
        if (entry) slot.*text.field = entry->value;
    }
    slot.mozilla = IntValue(lines, "BookMark.NS6").value_or(0);
    slot.offerProfiles = IntValue(lines, kOfferProfilesKey);
    slot.lines = std::move(lines);
    return slot;
}

// Gives `key` the value `value` in `lines`: the line the programs read changes in place (its quotes
// kept), a new key goes last, and an empty value removes every line of the key.
void SetLine(std::vector<std::string>& lines, const std::string& key, const std::string& value) {
    if (value.empty()) {
        std::erase_if(lines, [&](const std::string& line) { return HasKey(line, key); });
        return;
    }
    const auto found = std::find_if(lines.begin(), lines.end(), [&](const std::string& line) { return HasKey(line, key); });
    if (found == lines.end()) {
        lines.push_back(settings::FormatIniLine(key, value, false));
        return;
    }
    const settings::IniEntry entry = *settings::ParseIniLine(*found);
    *found = settings::FormatIniLine(entry.key, value, entry.quoted);
}

std::string IntText(std::optional<int> value) { return value ? std::to_string(*value) : std::string(); }

// Every key the tool edits, in the order new keys are written, with the text it writes ("" for none).
struct WrittenKey {
    const char* key;
    std::string (*text)(const TabSlot&);
};
constexpr WrittenKey kWrittenKeys[] = {
    {"tabName", [](const TabSlot& slot) { return slot.name; }},
    {"FavRoot", [](const TabSlot& slot) { return slot.root; }},
    {"BookMark", [](const TabSlot& slot) { return slot.bookmark; }},
    {"DonaBookMark", [](const TabSlot& slot) { return slot.donaBookmark; }},
    {"WWWCList", [](const TabSlot& slot) { return slot.wwwcList; }},
    {"BookMark.NS6", [](const TabSlot& slot) { return slot.mozilla ? std::to_string(slot.mozilla) : std::string(); }},
    {"ChromiumBookMark", [](const TabSlot& slot) { return slot.chromiumBookmark; }},
    {"FirefoxBookMark", [](const TabSlot& slot) { return slot.firefoxBookmark; }},
    {kOfferProfilesKey, [](const TabSlot& slot) { return IntText(slot.offerProfiles); }},
};

// The section's lines with the values the user changed; every other line as it was.
std::vector<std::string> SectionLines(const TabSlot& slot) {
    const TabSlot stored = SlotFrom(slot.lines);
    std::vector<std::string> lines = slot.lines;
    for (const WrittenKey& written : kWrittenKeys) {
        const std::string text = written.text(slot);
        if (text != written.text(stored)) SetLine(lines, written.key, text);
    }
    return lines;
}

}  // namespace

std::string TabSection(int k) { return text::Format("Tolvak#%d", k + 1); }

void TabSlots::Load(const settings::IniFile& ini) {
    slots_ = {};
    changed_ = false;
    const settings::IniText text(ini.ReadText());
    const auto slotAt = [&](int k) { return SlotFrom(text.Section(TabSection(k)).value_or(std::vector<std::string>())); };
    for (int k = 0; k < kMaxTabs; ++k) {
        TabSlot slot = slotAt(k);
        if (slot.name.empty()) {
            // The programs show the first tab whenever the file describes it, and read the second
            // tab even when the first has no section; every later tab needs a name.
            if (k > 0 || (slot.lines.empty() && slotAt(1).name.empty())) break;
            slot.nameless = true;
        }
        slots_[k] = std::move(slot);
    }
}

settings::WriteResult TabSlots::Save(const settings::IniFile& ini) {
    if (!changed_) return {};
    const settings::WriteResult written = ini.EditText([&](settings::IniText& text) {
        for (int k = 0; k < kMaxTabs; ++k) {
            const std::string section = TabSection(k);
            if (!slots_[k].InUse()) {
                text.RemoveSection(section);
                continue;
            }
            const std::vector<std::string> wanted = SectionLines(slots_[k]);
            if (text.Section(section).value_or(std::vector<std::string>()) != wanted) text.SetSection(section, wanted);
        }
    });
    if (written) changed_ = false;
    return written;
}

void TabSlots::Set(int k, TabSlot slot) {
    if (k < 0 || k >= kMaxTabs) return;
    slots_[k] = std::move(slot);
    changed_ = true;
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
    changed_ = true;
}

bool TabSlots::Swap(int j) {
    if (j < 0 || j + 1 >= kMaxTabs || slots_[j].name.empty() || slots_[j + 1].name.empty()) return false;
    std::swap(slots_[j], slots_[j + 1]);
    changed_ = true;
    return true;
}

}  // namespace prop
