#include "ShiftJis.h"

namespace exporter {
namespace {

struct CellRange {
    unsigned char row, first, last;  // JIS X 0208 row (ku) and cells (ten), 1 to 94
};

// The assigned cells of JIS X 0208 (1990) in the rows that are not full; rows 1, 16 to 46 and
// 48 to 83 are full, rows 9 to 15 and 85 to 94 are empty.
constexpr CellRange kPartialRows[] = {
    {2, 1, 14}, {2, 26, 33}, {2, 42, 48}, {2, 60, 74}, {2, 82, 89}, {2, 94, 94},
    {3, 16, 25}, {3, 33, 58}, {3, 65, 90},
    {4, 1, 83}, {5, 1, 86}, {6, 1, 24}, {6, 33, 56}, {7, 1, 33}, {7, 49, 81}, {8, 1, 32},
    {47, 1, 51}, {84, 1, 6},
};

bool IsFullRow(int row) { return row == 1 || (row >= 16 && row <= 46) || (row >= 48 && row <= 83); }

}  // namespace

bool IsShiftJisCharacter(std::string_view character) {
    if (character.size() == 1) {
        const unsigned char byte = static_cast<unsigned char>(character[0]);
        return byte < 0x80 || (byte >= 0xA1 && byte <= 0xDF);
    }
    if (character.size() != 2) return false;
    const unsigned char lead = static_cast<unsigned char>(character[0]);
    const unsigned char trail = static_cast<unsigned char>(character[1]);
    // Lead bytes 81-9F and E0-EF carry two rows each: trail bytes 40-9E (without 7F) the odd
    // row, 9F-FC the even one.
    int row = 0;
    if (lead >= 0x81 && lead <= 0x9F)
        row = (lead - 0x81) * 2 + 1;
    else if (lead >= 0xE0 && lead <= 0xEF)
        row = (lead - 0xC1) * 2 + 1;
    if (row == 0 || trail < 0x40 || trail == 0x7F || trail > 0xFC) return false;
    int cell = trail - (trail < 0x7F ? 0x3F : 0x40);
    if (trail >= 0x9F) {
        ++row;
        cell = trail - 0x9E;
    }
    if (IsFullRow(row)) return true;
    for (const CellRange& range : kPartialRows)
        if (range.row == row && cell >= range.first && cell <= range.last) return true;
    return false;
}

}  // namespace exporter
