#pragma once
// A cell of the grid: row and column, -1 for none.
#include <cstdint>

class CCellID {
public:
    int32_t row = -1;
    int32_t col = -1;

    CCellID() = default;
    CCellID(int32_t r, int32_t c) : row(r), col(c) {}

    bool IsValid() const { return row >= 0 && col >= 0; }
    friend bool operator==(const CCellID&, const CCellID&) = default;
};
