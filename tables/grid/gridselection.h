#pragma once
// The selected cells of a grid: one bit per cell, kept per row in 64-bit
// words, with a cached bounding box. Any row and column count fits (a
// selection of 100,000 rows x 27 columns takes 800 kB).
#include "tables/grid/cellrange.h"

#include <cstdint>
#include <functional>
#include <vector>

class CGridSelection {
public:
    bool Contains(int row, int col) const;
    void Set(int row, int col, bool selected);
    // Selects (or deselects) every cell of the range.
    void SetRange(const CCellRange& range, bool selected);
    void Clear();
    bool IsEmpty() const { return m_count == 0; }
    int64_t Count() const { return m_count; }
    // Drops cells at or beyond these counts.
    void Truncate(int rows, int cols);
    // The bounding box; invalid (all -1) when empty.
    CCellRange Bounds() const;
    // Calls `f(row, col)` for every selected cell, row by row.
    void ForEach(const std::function<void(int, int)>& f) const;
    // Bytes held, for the memory budget.
    size_t MemoryBytes() const { return m_bits.capacity() * sizeof(uint64_t); }

private:
    void ensure(int row, int col);
    uint64_t* rowWords(int row) { return m_bits.data() + size_t(row) * size_t(m_stride); }
    const uint64_t* rowWords(int row) const { return m_bits.data() + size_t(row) * size_t(m_stride); }

    std::vector<uint64_t> m_bits; // m_rows x m_stride words
    int m_rows = 0;
    int m_stride = 1;
    int64_t m_count = 0;
    mutable CCellRange m_bounds;
    mutable bool m_boundsDirty = false;
};
