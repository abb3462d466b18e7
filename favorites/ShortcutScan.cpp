#include "ShortcutScan.h"

#include "ShortcutFile.h"

#include <base/Handles.h>
#include <base/Mbcs.h>

#include <windows.h>

namespace shortcut {
namespace {

constexpr char kSection[] = "InternetShortcut";
constexpr char kWideSection[] = "InternetShortcut.W";
constexpr char kAnsiSection[] = "InternetShortcut.A";
constexpr char kKey[] = "URL";

enum class Encoding { kAnsi, kUtf8, kUtf16 };

bool IsBlank(unsigned unit) { return (unit >= 0x09 && unit <= 0x0D) || unit == 0x1A || unit == 0x20; }

unsigned AsciiLower(unsigned unit) { return unit >= 'A' && unit <= 'Z' ? unit + ('a' - 'A') : unit; }

template <typename Char>
bool IsAsciiNamed(std::basic_string_view<Char> name, std::string_view wanted) {
    if (name.size() != wanted.size()) return false;
    for (size_t n = 0; n < name.size(); ++n) {
        const unsigned unit = static_cast<std::make_unsigned_t<Char>>(name[n]);
        if (AsciiLower(unit) != AsciiLower(static_cast<unsigned char>(wanted[n]))) return false;
    }
    return true;
}

// The units of one text and how to step over its characters: in the code page a lead byte takes
// the next byte with it, whatever that is, as the reader's conversion does.
template <typename Char>
struct Units {
    std::basic_string_view<Char> text;
    bool doubleByte;

    size_t Next(size_t at) const {
        if constexpr (sizeof(Char) == 1) {
            if (doubleByte) return mbcs::NextCharOffset(text, at);
        }
        return at + 1;
    }
    unsigned At(size_t at) const { return static_cast<std::make_unsigned_t<Char>>(text[at]); }
    bool IsLineEnd(size_t at) const { return At(at) == '\r' || At(at) == '\n'; }

    // [begin, end) without the blanks at either end; a blank can never be the second half of a
    // character, but the walk stays on character starts all the same.
    void Trim(size_t& begin, size_t& end) const {
        while (begin < end && IsBlank(At(begin))) ++begin;
        size_t kept = begin;
        for (size_t at = begin; at < end; at = Next(at))
            if (!IsBlank(At(at))) kept = Next(at);
        end = kept;
    }
    // The first / last character `c` in [begin, end), or end.
    size_t FindFirst(size_t begin, size_t end, char c) const {
        for (size_t at = begin; at < end; at = Next(at))
            if (At(at) == static_cast<unsigned char>(c)) return at;
        return end;
    }
    size_t FindLast(size_t begin, size_t end, char c) const {
        size_t found = end;
        for (size_t at = begin; at < end; at = Next(at))
            if (At(at) == static_cast<unsigned char>(c)) found = at;
        return found;
    }
};

// The first "URL" of the first section of each name, as [begin, end) of the text; absent when the
// section or its key is missing, empty for a key without "=".
struct Found {
    std::optional<std::pair<size_t, size_t>> value, wideValue, recordedValue;
};

template <typename Char>
Found FindValues(const Units<Char>& units) {
    // Per section of interest: whether its first occurrence was met, and its first "URL".
    enum Section { kMain, kWide, kRecorded, kOther };
    static constexpr const char* kNames[] = {kSection, kWideSection, kAnsiSection};
    Section section = kOther;
    bool seen[3] = {}, done[3] = {};
    Found found;
    const size_t size = units.text.size();
    for (size_t at = 0; at < size;) {
        size_t begin = at;
        while (at < size && !units.IsLineEnd(at)) at = units.Next(at);
        size_t end = at;
        while (at < size && units.IsLineEnd(at)) ++at;
        units.Trim(begin, end);
        if (begin == end) continue;

        if (units.At(begin) == '[') {
            const size_t bracket = units.FindLast(begin, end, ']');
            if (bracket != end) {  // without a "]" the line is a key like any other
                size_t nameBegin = begin + 1, nameEnd = bracket;
                units.Trim(nameBegin, nameEnd);
                const auto name = units.text.substr(nameBegin, nameEnd - nameBegin);
                section = kOther;
                for (const Section which : {kMain, kWide, kRecorded})
                    if (IsAsciiNamed(name, kNames[which]) && !std::exchange(seen[which], true)) section = which;
                continue;
            }
        }
        if (section == kOther || done[section]) continue;
        const size_t equals = units.FindFirst(begin, end, '=');
        size_t nameEnd = equals, valueBegin = equals == end ? end : equals + 1;
        units.Trim(begin, nameEnd);
        units.Trim(valueBegin, end);
        if (!IsAsciiNamed(units.text.substr(begin, nameEnd - begin), kKey)) continue;
        done[section] = true;
        (section == kWide ? found.wideValue : section == kRecorded ? found.recordedValue : found.value) =
            std::pair(valueBegin, end);
    }
    return found;
}

// The value as the reader hands it out: up to a NUL, without one pair of enclosing quotes.
template <typename Char>
std::basic_string_view<Char> Unquoted(std::basic_string_view<Char> value) {
    value = value.substr(0, value.find(Char(0)));
    if (value.size() >= 2 && (value.front() == Char('"') || value.front() == Char('\'')) && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

std::wstring Decode(std::string_view bytes, UINT codePage) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    std::wstring wide(MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

template <typename Char>
std::optional<std::wstring> AddressIn(std::basic_string_view<Char> text, Encoding encoding) {
    const Units<Char> units{text, encoding == Encoding::kAnsi};
    const Found found = FindValues(units);
    const auto valueOf = [&](const std::pair<size_t, size_t>& range) -> std::wstring {
        const auto value = Unquoted(text.substr(range.first, range.second - range.first));
        if constexpr (sizeof(Char) == 1)
            return Decode(std::string_view(value.data(), value.size()), encoding == Encoding::kUtf8 ? CP_UTF8 : CP_ACP);
        else
            return std::wstring(value);
    };
    const std::optional<std::wstring> ansi = found.value ? std::optional(valueOf(*found.value)) : std::nullopt;
    if (found.wideValue) {
        const std::optional<std::wstring> recorded =
            found.recordedValue ? std::optional(valueOf(*found.recordedValue)) : std::nullopt;
        if (auto exact = ExactValue(valueOf(*found.wideValue), ansi, recorded)) return exact;
    }
    if (!ansi) return std::nullopt;
    std::wstring address = *ansi;
    if (address.empty()) return std::nullopt;
    return address;
}

}  // namespace

std::optional<std::wstring> ScanAddress(std::string_view bytes) {
    constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
    if (bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark)
        return AddressIn(bytes.substr(kUtf8Mark.size()), Encoding::kUtf8);
    const bool little = bytes.substr(0, 2) == "\xFF\xFE", big = bytes.substr(0, 2) == "\xFE\xFF";
    if (!little && !big) return AddressIn(bytes, Encoding::kAnsi);
    std::wstring units((bytes.size() - 2) / 2, L'\0');
    for (size_t n = 0; n < units.size(); ++n) {
        const auto low = static_cast<unsigned char>(bytes[2 + 2 * n + (big ? 1 : 0)]);
        const auto high = static_cast<unsigned char>(bytes[2 + 2 * n + (big ? 0 : 1)]);
        units[n] = static_cast<wchar_t>(low | (high << 8));
    }
    return AddressIn(std::wstring_view(units), Encoding::kUtf16);
}

ScannedFile ScanFile(const std::wstring& path, std::string& buffer) {
    constexpr DWORD kChunk = 4096;  // shortcuts are a few hundred bytes: one read as a rule
    // Shared as the profile reader shares it; no further flags, which only cost time here.
    const win::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                           OPEN_EXISTING, 0, nullptr));
    if (!file) return {};
    size_t used = 0;
    for (;;) {
        if (buffer.size() < used + kChunk) buffer.resize(used + kChunk);
        DWORD read = 0;
        if (!ReadFile(file.get(), buffer.data() + used, kChunk, &read, nullptr)) return {};
        used += read;
        if (read < kChunk) break;  // the end: a file gives less only there, which saves a read
    }
    return {true, ScanAddress(std::string_view(buffer.data(), used)).value_or(std::wstring())};
}

}  // namespace shortcut
