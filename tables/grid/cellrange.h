#pragma once
// A rectangle of grid cells, bounds inclusive; -1 for none.
#include "tables/grid/cellid.h"

#include <cstdint>

class CCellRange {
public:
    int32_t minRow = -1;
    int32_t minCol = -1;
    int32_t maxRow = -1;
    int32_t maxCol = -1;

    CCellRange() = default;
    CCellRange(int32_t r0, int32_t c0, int32_t r1, int32_t c1) : minRow(r0), minCol(c0), maxRow(r1), maxCol(c1) {}

    bool IsValid() const
    {
        return minRow >= 0 && minCol >= 0 && maxRow >= 0 && maxCol >= 0 && minRow <= maxRow && minCol <= maxCol;
    }
    bool InRange(int32_t r, int32_t c) const
    {
        return IsValid() && r >= minRow && r <= maxRow && c >= minCol && c <= maxCol;
    }
    bool InRange(const CCellID& cell) const { return InRange(cell.row, cell.col); }
    CCellID TopLeft() const { return {minRow, minCol}; }
    friend bool operator==(const CCellRange&, const CCellRange&) = default;
};
