// The places database of the current user's default Firefox profile. Firefox lists its profiles in
// "%APPDATA%\Mozilla\Firefox\profiles.ini" (UTF-8): an "[Install...]" section per installation
// names the profile that installation starts with ("Default="), and "[Profile<n>]" sections give
// each profile's folder ("Path=", relative to that file when "IsRelative=1"), the one marked
// "Default=1" being the default of older versions.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace fav {

// The default profile's folder as `profilesIni` gives it (UTF-8, "/" or "\\" between names):
// an installation's default first, else the profile marked default. `relative` when it lies below
// the folder of profiles.ini.
struct ProfileFolder {
    std::string path;
    bool relative = false;
};
std::optional<ProfileFolder> DefaultFirefoxProfile(std::string_view profilesIni);

// "places.sqlite" of that profile when it exists; nothing without Firefox.
std::optional<std::wstring> DefaultFirefoxPlaces();

}  // namespace fav
