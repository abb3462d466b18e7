// Firefox's bookmarks, read with SQLite from its places database ("places.sqlite" in a profile
// folder). Table moz_bookmarks holds folders (type 2), bookmarks (type 1, their address in
// moz_places through fk) and separators (type 3), each below its parent at its position. The
// roots are known by guid ("menu________", "toolbar_____", "unfiled_____", "mobile______",
// "tags________"); older databases list them in moz_bookmarks_roots instead.
#pragma once

#include "BookmarkEvent.h"
#include "PlacesSnapshot.h"

#include <string>

namespace importer {

// The menu, toolbar, other and mobile roots that hold anything, as folders in that order named as
// Firefox shows them in Japanese, each with its content in Firefox's order. Separators, tags and
// saved queries ("place:" addresses, which no browser opens) are left out; a bookmark without a
// title shows its address. `events` is filled only when the result is kRead: a database that
// cannot be read whole gives nothing, never half a tree. The database is never changed and never
// held (see ReadDatabase).
DatabaseRead ReadFirefoxPlaces(const std::wstring& file, BookmarkEvents& events);

}  // namespace importer
