#include "FirefoxProfile.h"

#include <base/TextEncoding.h>
#include <base/FileSystem.h>
#include <settings/IniText.h>

#include <shlobj.h>

#include <algorithm>
#include <vector>

namespace fav {
namespace {

struct Section {
    std::string name;
    std::vector<settings::IniEntry> entries;

    std::string Value(std::string_view key) const {
        for (const settings::IniEntry& entry : entries)
            if (entry.key == key) return entry.value;
        return {};
    }
};

std::vector<Section> Sections(std::string_view text) {
    std::vector<Section> sections;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const size_t first = line.find_first_not_of(" \t");
        if (first != std::string_view::npos && line[first] == '[') {
            const size_t close = line.find(']', first);
            sections.push_back({std::string(line.substr(first + 1, close - first - 1)), {}});
        } else if (!sections.empty()) {
            if (std::optional<settings::IniEntry> entry = settings::ParseIniLine(line))
                sections.back().entries.push_back(std::move(*entry));
        }
    }
    return sections;
}

// A path Firefox wrote whole: a drive ("C:") or a network path.
bool IsAbsolute(std::string_view path) {
    return (path.size() > 1 && path[1] == ':') || (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}

}  // namespace

std::optional<ProfileFolder> DefaultFirefoxProfile(std::string_view profilesIni) {
    // A UTF-8 byte order mark, should an editor have added one.
    if (profilesIni.substr(0, 3) == "\xEF\xBB\xBF") profilesIni.remove_prefix(3);
    const std::vector<Section> sections = Sections(profilesIni);
    for (const Section& section : sections) {
        if (section.name.rfind("Install", 0) != 0) continue;
        const std::string folder = section.Value("Default");
        if (!folder.empty()) return ProfileFolder{folder, !IsAbsolute(folder)};
    }
    for (const Section& section : sections) {
        if (section.name.rfind("Profile", 0) != 0 || section.Value("Default") != "1") continue;
        const std::string folder = section.Value("Path");
        if (!folder.empty()) return ProfileFolder{folder, section.Value("IsRelative") == "1"};
    }
    return std::nullopt;
}

std::optional<std::wstring> DefaultFirefoxPlaces() {
    wchar_t roaming[MAX_PATH] = L"";
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, roaming))) return std::nullopt;
    const std::wstring firefox = fsys::Join(roaming, L"Mozilla\\Firefox");
    const std::optional<std::string> ini = fsys::ReadAll(fsys::Join(firefox, L"profiles.ini"));
    const std::optional<ProfileFolder> profile = ini ? DefaultFirefoxProfile(*ini) : std::nullopt;
    if (!profile) return std::nullopt;
    std::wstring folder = text::Utf8ToWide(profile->path);
    for (wchar_t& c : folder)
        if (c == L'/') c = L'\\';
    const std::wstring places = fsys::Join(profile->relative ? fsys::Join(firefox, folder) : folder, L"places.sqlite");
    if (!fsys::Exists(places) || fsys::IsDirectory(places)) return std::nullopt;
    return places;
}

}  // namespace fav
