#include "tables/grid/gridselection.h"

#include <algorithm>
#include <bit>

bool CGridSelection::Contains(int row, int col) const
{
    if (row < 0 || col < 0 || row >= m_rows || col >= m_stride * 64)
        return false;
    return (rowWords(row)[col / 64] >> (col % 64)) & 1u;
}

void CGridSelection::ensure(int row, int col)
{
    if (col >= m_stride * 64) {
        const int stride = col / 64 + 1;
        std::vector<uint64_t> bits(size_t(m_rows) * size_t(stride), 0);
        for (int r = 0; r < m_rows; ++r)
            std::copy_n(rowWords(r), m_stride, bits.data() + size_t(r) * size_t(stride));
        m_bits.swap(bits);
        m_stride = stride;
    }
    if (row >= m_rows) {
        m_rows = row + 1;
        m_bits.resize(size_t(m_rows) * size_t(m_stride), 0);
    }
}

void CGridSelection::Set(int row, int col, bool selected)
{
    if (row < 0 || col < 0)
        return;
    if (!selected) {
        if (!Contains(row, col))
            return;
        rowWords(row)[col / 64] &= ~(uint64_t(1) << (col % 64));
        --m_count;
        m_boundsDirty = true;
        return;
    }
    ensure(row, col);
    uint64_t& w = rowWords(row)[col / 64];
    const uint64_t bit = uint64_t(1) << (col % 64);
    if (w & bit)
        return;
    w |= bit;
    ++m_count;
    if (!m_boundsDirty) {
        if (m_count == 1)
            m_bounds = CCellRange(row, col, row, col);
        else
            m_bounds = CCellRange(std::min(m_bounds.minRow, row), std::min(m_bounds.minCol, col),
                                  std::max(m_bounds.maxRow, row), std::max(m_bounds.maxCol, col));
    }
}

void CGridSelection::SetRange(const CCellRange& range, bool selected)
{
    if (!range.IsValid())
        return;
    if (selected)
        ensure(range.maxRow, range.maxCol);
    const int lastRow = std::min(range.maxRow, m_rows - 1);
    for (int r = range.minRow; r <= lastRow; ++r) {
        uint64_t* words = rowWords(r);
        for (int w = range.minCol / 64; w <= range.maxCol / 64 && w < m_stride; ++w) {
            const int lo = std::max(range.minCol, w * 64) - w * 64;
            const int hi = std::min(range.maxCol, w * 64 + 63) - w * 64;
            const uint64_t mask = (hi == 63 ? ~uint64_t(0) : ((uint64_t(1) << (hi + 1)) - 1)) & ~((uint64_t(1) << lo) - 1);
            const uint64_t before = words[w];
            words[w] = selected ? (before | mask) : (before & ~mask);
            m_count += std::popcount(words[w]) - std::popcount(before);
        }
    }
    if (selected && !m_boundsDirty && m_count > 0) {
        const CCellRange b = m_bounds.IsValid() ? m_bounds : range;
        m_bounds = CCellRange(std::min(b.minRow, range.minRow), std::min(b.minCol, range.minCol),
                              std::max(b.maxRow, range.maxRow), std::max(b.maxCol, range.maxCol));
    } else {
        m_boundsDirty = true;
    }
}

void CGridSelection::Clear()
{
    m_bits.clear();
    m_bits.shrink_to_fit();
    m_rows = 0;
    m_stride = 1;
    m_count = 0;
    m_bounds = CCellRange();
    m_boundsDirty = false;
}

void CGridSelection::Truncate(int rows, int cols)
{
    rows = std::max(rows, 0);
    cols = std::max(cols, 0);
    if (rows < m_rows) {
        for (int r = rows; r < m_rows; ++r)
            for (int w = 0; w < m_stride; ++w)
                m_count -= std::popcount(rowWords(r)[w]);
        m_rows = rows;
        m_bits.resize(size_t(m_rows) * size_t(m_stride));
        m_boundsDirty = true;
    }
    if (cols < m_stride * 64) {
        for (int r = 0; r < m_rows; ++r)
            for (int c = cols; c < m_stride * 64; ++c)
                if (Contains(r, c))
                    Set(r, c, false);
    }
}

CCellRange CGridSelection::Bounds() const
{
    if (m_count == 0)
        return CCellRange();
    if (m_boundsDirty) {
        CCellRange b(m_rows, m_stride * 64, -1, -1);
        for (int r = 0; r < m_rows; ++r) {
            const uint64_t* words = rowWords(r);
            for (int w = 0; w < m_stride; ++w) {
                if (!words[w])
                    continue;
                b.minRow = std::min(b.minRow, r);
                b.maxRow = r;
                b.minCol = std::min(b.minCol, w * 64 + std::countr_zero(words[w]));
                b.maxCol = std::max(b.maxCol, w * 64 + 63 - std::countl_zero(words[w]));
            }
        }
        m_bounds = b;
        m_boundsDirty = false;
    }
    return m_bounds;
}

void CGridSelection::ForEach(const std::function<void(int, int)>& f) const
{
    if (m_count == 0)
        return;
    const CCellRange b = Bounds();
    for (int r = b.minRow; r <= b.maxRow; ++r) {
        const uint64_t* words = rowWords(r);
        for (int w = 0; w < m_stride; ++w) {
            uint64_t bits = words[w];
            while (bits) {
                const int c = std::countr_zero(bits);
                bits &= bits - 1;
                f(r, w * 64 + c);
            }
        }
    }
}
