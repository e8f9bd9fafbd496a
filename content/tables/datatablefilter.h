#pragma once
// The row filter of a data table and the two index maps that tie a filtered
// copy of a table back to the full table.
//
// A filter holds one item per column position (256) with the choices for
// that column: whether the filtered copy shows it, whether leading blanks
// or a leading character are removed from its cells, and which of the three
// include and three exclude texts are searched in it. The document builds
// the filtered copy from the rows that pass and keeps the maps.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CDataTableBase;
class RecordReader;
class RecordWriter;

class CDataTableFilterItem {
public:
    static constexpr int kTexts = 3;

    uint8_t m_used = 1;               // "Show column"
    uint8_t m_trim = 0;               // "Remove leading blanks"
    uint8_t m_strip[kTexts] = {};     // strip character i applies
    uint8_t m_include[kTexts] = {};   // include text i is searched here
    uint8_t m_exclude[kTexts] = {};   // exclude text i is searched here

    friend bool operator==(const CDataTableFilterItem&, const CDataTableFilterItem&) = default;
};

class CDataTableFilter {
public:
    static constexpr int kItemCount = 256;
    static constexpr int kTexts = CDataTableFilterItem::kTexts;
    // Longest include or exclude text in bytes (stored in 11-byte fields).
    static constexpr int kMaxText = 10;
    // Items Save writes: the columns A..Z.
    static constexpr int kStoredItems = 26;
    static constexpr int32_t kVersion = 1;

    CDataTableFilter() = default;

    bool IsActive() const { return m_active != 0; }
    uint8_t GetActive() const { return m_active; }
    void SetActive(uint8_t active) { m_active = active; }
    int32_t GetReserved1() const { return m_reserved1; }
    int32_t GetReserved2() const { return m_reserved2; }
    // The marking type chosen in the filter dialog (0 none, 1..6), kept in
    // the first reserved field so that it is stored with the filter.
    int32_t GetMarkingType() const { return m_reserved1; }
    void SetMarkingType(int32_t type) { m_reserved1 = type; }

    // The item of a column position 0..255; null outside.
    CDataTableFilterItem* GetItem(int column);
    const CDataTableFilterItem* GetItem(int column) const;
    // The used flag of the column's item; false outside 0..255.
    bool IsColumnUsed(int column) const;

    // True when row `row` of `table` passes: no non-empty exclude text is
    // found in a cell whose column selects it, and, when any non-empty
    // include text is selected for any column, one of them is found in its
    // column. A missing cell counts as empty, so a row that lacks the cell
    // an include text is searched in does not pass on it. Empty texts play
    // no part. Searches are plain, case-sensitive substring searches.
    // False for a null table.
    bool RowPasses(const CDataTableBase* table, int row) const;

    // Cleans a cell text for the filtered copy: leading spaces dropped when
    // the item trims, then, when the first strip selector that is set (in
    // the order 0, 1, 2) names a strip character the text begins with, that
    // one character dropped. Nothing for a null item.
    void CleanCellText(const CDataTableFilterItem* item, std::string& text) const;
    // The same on a NUL-terminated text in a buffer of `size` bytes.
    void CleanCellText(const CDataTableFilterItem* item, char* text, size_t size) const;

    // Strip character i as a one-character text, empty when unset or for i
    // outside 0..2.
    std::string GetStripChar(int i) const;
    // Strip character i becomes the first byte of the text (none for an
    // empty text); nothing for i outside 0..2.
    void SetStripChar(std::string_view text, int i);
    char GetStripCharByte(int i) const { return i >= 0 && i < kTexts ? m_strip[i] : '\0'; }

    // Include / exclude text i (0..2); empty outside.
    const std::string& GetIncludeText(int i) const;
    const std::string& GetExcludeText(int i) const;
    // Replace include / exclude text i (0..2), keeping at most the first 10
    // bytes (and nothing from a NUL on); nothing outside 0..2.
    void SetIncludeText(std::string_view text, int i);
    void SetExcludeText(std::string_view text, int i);

    // Keeps the items aligned with the table's columns: InsertItem puts a
    // fresh item at n and moves n..254 up (item 255 drops out); RemoveItem
    // drops item n, moves n+1..255 down and puts a fresh item at 255.
    // Nothing for n outside 0..255.
    void InsertItem(int n);
    void RemoveItem(int n);

    // Reads a filter block (either version) into this filter. The header
    // fields and texts are taken when they were all read; items 0..count-1
    // are replaced by the items read, each when it was read whole, and the
    // other items stay. An item count outside 0..256 is damaged. Answers
    // false when the block is truncated or damaged (see the reader).
    bool Load(RecordReader& reader);
    // Writes the filter block, version 1, with the items of columns A..Z.
    void Save(RecordWriter& writer) const;

    friend bool operator==(const CDataTableFilter&, const CDataTableFilter&) = default;

private:
    static std::string limitText(std::string_view text);

    uint8_t m_active = 0;
    int32_t m_reserved1 = 0;
    int32_t m_reserved2 = 0;
    std::array<CDataTableFilterItem, kItemCount> m_items{};
    char m_strip[kTexts] = {};
    std::array<std::string, kTexts> m_include;
    std::array<std::string, kTexts> m_exclude;
};

// Filtered column -> full-table column: 256 entries, -1 = free. Created as
// the identity.
class CDataTableMap {
public:
    static constexpr int kSize = 256;
    // What FindOrAdd answers when the key is absent and no entry is free.
    // It is no index: check for it before using the answer.
    static constexpr int kFull = kSize;

    CDataTableMap() { SetIdentity(); }

    // Entry k; -1 for k outside 0..255.
    int32_t GetAt(int k) const { return k >= 0 && k < kSize ? m_entries[size_t(k)] : -1; }
    void SetIdentity();
    // Every entry free.
    void Clear() { m_entries.fill(-1); }
    // Index of the first entry equal to key; else key goes into the first
    // free entry and that index is returned; else kFull.
    int FindOrAdd(int32_t key);
    // Index of the first entry equal to key; -1 when none is. With the
    // column map of a table view: the view's column that shows column `key`
    // of the full table.
    int IndexOf(int32_t key) const;

    friend bool operator==(const CDataTableMap&, const CDataTableMap&) = default;

private:
    std::array<int32_t, kSize> m_entries;
};

// Filtered row -> full-table row: a growable array, -1 = free. Created with
// 256 entries as the identity; grows in steps of 256 entries.
class CDataTableRowMap {
public:
    static constexpr int kStep = 256;
    // Highest size the map grows to (the table's row limit).
    static int maxSize();

    CDataTableRowMap();

    int GetSize() const { return int(m_entries.size()); }
    // Entry k; -1 outside the array.
    int32_t GetAt(int k) const;
    // Sets entry k inside the array to a row (or -1 = free); nothing outside
    // the array or for other negative values.
    void SetAt(int k, int32_t value);
    // Every entry free (the size stays).
    void Clear();
    // Removes entry k, moving the later entries down one place; the last
    // entry becomes free. Nothing outside the array.
    void RemoveAt(int k);

    // Grows by 256 free entries at a time while n >= size. Nothing for a
    // negative n or one at or above maxSize().
    void Grow(int n);
    // Grow(row); then, unless some entry already equals row, row goes into
    // the first free entry (nothing when none is free or row is negative).
    void AddRow(int32_t row);
    // The full-table position just after the full row of filtered row n-1:
    // the position at which a row inserted before filtered row n goes.
    // Walks the mapped entries from 0; when entries 0..n-1 are all mapped
    // it is entry[n-1] + 1, when the walk stops after i < n entries it is
    // (entry[i-1] + 1, or 0 for i = 0) + (n - i). 0 for n <= 0.
    int MapRowCount(int n) const;
    // Makes room for a row inserted before filtered row n: Grow(n); the
    // mapped entries from n on move up one place, each one greater (their
    // full rows moved down by the insertion); entry n, when it was mapped,
    // becomes the full row of the inserted row, MapRowCount(n).
    void InsertAt(int n);

    friend bool operator==(const CDataTableRowMap& a, const CDataTableRowMap& b)
    {
        return a.m_entries == b.m_entries;
    }

private:
    void recountHints();

    std::vector<int32_t> m_entries;
    // Hints that keep AddRow fast when rows are added in rising order: all
    // entries below m_firstFree are mapped, and no entry exceeds m_maxBound.
    size_t m_firstFree = 0;
    int32_t m_maxBound = -1;
};
