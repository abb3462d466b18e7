// Character references in the titles, folder names and URLs of bookmark files.
#pragma once

#include <string>
#include <string_view>

namespace importer {

// Decodes &amp; &lt; &gt; &quot; &apos; &nbsp; and numeric references ("&#39;", "&#233;",
// "&#x1F600;") in UTF-8 text. A no-break space, named or numeric, becomes a plain blank.
// Anything else, including a reference without its ";" or of a value that is no character,
// stays as written.
std::string DecodeEntities(std::string_view text);

}  // namespace importer
