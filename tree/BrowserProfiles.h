// The bookmark files of today's browsers that a tab offers when it names none: the "Bookmarks"
// file of the default profile of Microsoft Edge and of Google Chrome of the current user, and the
// places database of the user's default Firefox profile.
#pragma once

#include <string>
#include <vector>

namespace fav {

struct ProfileBookmarks {
    const char* label;  // the source node's label
    const char* code;   // the import format
    std::string path;   // the file, in the code page
};

// Those that exist: Edge, Chrome, Firefox. A path the code page cannot name exactly (a user name outside
// it) is left out: the import plug-in takes paths in the code page and could not open it.
std::vector<ProfileBookmarks> DefaultProfileBookmarks();

}  // namespace fav
