// The text of a settings file, edited section by section: every byte outside the sections that
// are replaced or removed stays as it was (line ends, blanks, comments, quotes). The private-
// profile writer cannot promise that (it drops comments and quotes of a section it rewrites).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace settings {

// A "key=value" line as the private-profile reader takes it.
struct IniEntry {
    std::string key;
    std::string value;    // without the blanks around it and one pair of enclosing quotes
    bool quoted = false;  // the value was written in quotes
};

// Nothing for a comment (";"), a blank line or a section header.
std::optional<IniEntry> ParseIniLine(std::string_view line);

// The line that the reader gives back as `key` = `value`: in double quotes when `quote` asks for
// them or when the reader would otherwise drop the value's edge blanks or enclosing quotes.
std::string FormatIniLine(const std::string& key, const std::string& value, bool quote);

class IniText {
public:
    explicit IniText(std::string_view bytes);

    std::string Bytes() const;

    // The lines of section `name` (the first of that name, compared as the reader compares), without
    // their line ends and without the blank lines that end it; nothing when there is no such section.
    std::optional<std::vector<std::string>> Section(const std::string& name) const;
    // Replaces those lines, or appends the section to the file when it is missing.
    void SetSection(const std::string& name, const std::vector<std::string>& lines);
    // Removes every section of that name with all its lines.
    void RemoveSection(const std::string& name);

private:
    struct Line {
        std::string text;
        std::string end;  // "\r\n", "\n", or "" for a last line without one
    };
    struct Range {
        size_t header;      // the "[name]" line
        size_t contentEnd;  // after its last line that is not blank
        size_t end;         // the next header, or the end of the file
    };

    std::optional<Range> Find(const std::string& name) const;
    // The line end new lines take: the file's own.
    std::string LineEnd() const;

    std::vector<Line> lines_;
};

}  // namespace settings
