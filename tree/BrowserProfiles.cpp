#include "BrowserProfiles.h"

#include "FirefoxProfile.h"

#include <base/FileSystem.h>
#include <base/TextEncoding.h>

#include <shlobj.h>

namespace fav {
namespace {

struct KnownProfile {
    const char* label;
    const wchar_t* file;  // below the user's local application data
};
constexpr KnownProfile kProfiles[] = {
    {"Edge BookMark", L"Microsoft\\Edge\\User Data\\Default\\Bookmarks"},
    {"Chrome BookMark", L"Google\\Chrome\\User Data\\Default\\Bookmarks"},
};

void AddIfNameable(std::vector<ProfileBookmarks>& found, const char* label, const char* code, const std::wstring& file) {
    bool exact = false;
    std::string path = text::WideToAnsi(file, &exact);
    if (exact && path.size() < MAX_PATH) found.push_back({label, code, std::move(path)});
}

}  // namespace

std::vector<ProfileBookmarks> DefaultProfileBookmarks() {
    std::vector<ProfileBookmarks> found;
    wchar_t local[MAX_PATH] = L"";
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local))) {
        for (const KnownProfile& profile : kProfiles) {
            const std::wstring file = fsys::Join(local, profile.file);
            if (!fsys::Exists(file) || fsys::IsDirectory(file)) continue;
            AddIfNameable(found, profile.label, "CRBM", file);
        }
    }
    if (const std::optional<std::wstring> places = DefaultFirefoxPlaces())
        AddIfNameable(found, "Firefox BookMark", "FFBM", *places);
    return found;
}

}  // namespace fav
