#include "content/tables/datatablefilter.h"

#include "content/tables/datatable.h"
#include "platform/record.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

const std::string& emptyText()
{
    static const std::string empty;
    return empty;
}

constexpr size_t kTextField = 11; // stored width of an include / exclude text

} // namespace

// ---------------------------------------------------------------- filter

CDataTableFilterItem* CDataTableFilter::GetItem(int column)
{
    return column >= 0 && column < kItemCount ? &m_items[size_t(column)] : nullptr;
}

const CDataTableFilterItem* CDataTableFilter::GetItem(int column) const
{
    return column >= 0 && column < kItemCount ? &m_items[size_t(column)] : nullptr;
}

bool CDataTableFilter::IsColumnUsed(int column) const
{
    const CDataTableFilterItem* item = GetItem(column);
    return item && item->m_used != 0;
}

bool CDataTableFilter::RowPasses(const CDataTableBase* table, int row) const
{
    if (!table)
        return false;
    const CDataTableRow* r = table->GetRow(row);
    const int cells = r ? std::min(r->GetCellCount(), int(kItemCount)) : 0;

    for (int i = 0; i < kTexts; ++i) {
        const std::string& text = m_exclude[size_t(i)];
        if (text.empty())
            continue;
        for (int j = 0; j < cells; ++j)
            if (m_items[size_t(j)].m_exclude[i] && r->GetCellText(j).find(text) != std::string::npos)
                return false;
    }

    bool includeSelected = false;
    for (int i = 0; i < kTexts; ++i) {
        const std::string& text = m_include[size_t(i)];
        if (text.empty())
            continue;
        for (int j = 0; j < kItemCount; ++j) {
            if (!m_items[size_t(j)].m_include[i])
                continue;
            includeSelected = true;
            if (j < cells && r->GetCellText(j).find(text) != std::string::npos)
                return true;
        }
    }
    return !includeSelected;
}

void CDataTableFilter::CleanCellText(const CDataTableFilterItem* item, std::string& text) const
{
    if (!item)
        return;
    if (item->m_trim) {
        const size_t first = text.find_first_not_of(' ');
        text.erase(0, first == std::string::npos ? text.size() : first);
    }
    for (int i = 0; i < kTexts; ++i) {
        if (!item->m_strip[i])
            continue;
        if (m_strip[i] != '\0' && !text.empty() && text[0] == m_strip[i])
            text.erase(0, 1);
        break;
    }
}

void CDataTableFilter::CleanCellText(const CDataTableFilterItem* item, char* text, size_t size) const
{
    if (!item || !text || size == 0)
        return;
    const size_t len = strnlen(text, size);
    std::string s(text, len);
    CleanCellText(item, s);
    const size_t removed = len - s.size();
    if (removed == 0)
        return;
    std::memmove(text, text + removed, s.size());
    text[s.size()] = '\0';
}

std::string CDataTableFilter::GetStripChar(int i) const
{
    if (i < 0 || i >= kTexts || m_strip[i] == '\0')
        return {};
    return std::string(1, m_strip[i]);
}

void CDataTableFilter::SetStripChar(std::string_view text, int i)
{
    if (i < 0 || i >= kTexts)
        return;
    m_strip[i] = text.empty() ? '\0' : text[0];
}

const std::string& CDataTableFilter::GetIncludeText(int i) const
{
    return i >= 0 && i < kTexts ? m_include[size_t(i)] : emptyText();
}

const std::string& CDataTableFilter::GetExcludeText(int i) const
{
    return i >= 0 && i < kTexts ? m_exclude[size_t(i)] : emptyText();
}

std::string CDataTableFilter::limitText(std::string_view text)
{
    const size_t nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);
    return std::string(text.substr(0, kMaxText));
}

void CDataTableFilter::SetIncludeText(std::string_view text, int i)
{
    if (i >= 0 && i < kTexts)
        m_include[size_t(i)] = limitText(text);
}

void CDataTableFilter::SetExcludeText(std::string_view text, int i)
{
    if (i >= 0 && i < kTexts)
        m_exclude[size_t(i)] = limitText(text);
}

void CDataTableFilter::InsertItem(int n)
{
    if (n < 0 || n >= kItemCount)
        return;
    std::move_backward(m_items.begin() + n, m_items.end() - 1, m_items.end());
    m_items[size_t(n)] = CDataTableFilterItem();
}

void CDataTableFilter::RemoveItem(int n)
{
    if (n < 0 || n >= kItemCount)
        return;
    std::move(m_items.begin() + n + 1, m_items.end(), m_items.begin() + n);
    m_items[kItemCount - 1] = CDataTableFilterItem();
}

bool CDataTableFilter::Load(RecordReader& reader)
{
    if (!reader.ok())
        return false;
    const int32_t version = reader.i32();
    const int32_t reserved1 = reader.i32();
    const int32_t reserved2 = reader.i32();
    char strip[kTexts];
    reader.bytes(strip, sizeof strip);
    const uint8_t active = reader.u8();
    std::array<std::string, kTexts> include, exclude;
    include[0] = limitText(reader.fixedString(kTextField));
    exclude[0] = limitText(reader.fixedString(kTextField));
    if (version & 1) {
        for (int i = 1; i < kTexts; ++i) {
            include[size_t(i)] = limitText(reader.fixedString(kTextField));
            exclude[size_t(i)] = limitText(reader.fixedString(kTextField));
        }
    }
    const int32_t count = reader.i32();
    if (!reader.ok())
        return false;

    m_reserved1 = reserved1;
    m_reserved2 = reserved2;
    std::memcpy(m_strip, strip, sizeof m_strip);
    m_active = active;
    m_include = include;
    m_exclude = exclude;

    if (count < 0 || count > kItemCount) {
        reader.setDamaged();
        return false;
    }
    for (int32_t k = 0; k < count; ++k) {
        CDataTableFilterItem item;
        const int32_t itemVersion = reader.i32();
        const int selectors = (itemVersion & 1) ? kTexts : 1;
        item.m_used = reader.u8();
        item.m_trim = reader.u8();
        reader.bytes(item.m_strip, kTexts);
        reader.bytes(item.m_include, size_t(selectors));
        reader.bytes(item.m_exclude, size_t(selectors));
        if (!reader.ok())
            return false;
        m_items[size_t(k)] = item;
    }
    return true;
}

void CDataTableFilter::Save(RecordWriter& writer) const
{
    writer.i32(kVersion);
    writer.i32(m_reserved1);
    writer.i32(m_reserved2);
    writer.bytes(m_strip, sizeof m_strip);
    writer.u8(m_active);
    for (int i = 0; i < kTexts; ++i) {
        writer.fixedString(m_include[size_t(i)], kTextField);
        writer.fixedString(m_exclude[size_t(i)], kTextField);
    }
    writer.i32(kStoredItems);
    for (int k = 0; k < kStoredItems; ++k) {
        const CDataTableFilterItem& item = m_items[size_t(k)];
        writer.i32(1);
        writer.u8(item.m_used);
        writer.u8(item.m_trim);
        writer.bytes(item.m_strip, kTexts);
        writer.bytes(item.m_include, kTexts);
        writer.bytes(item.m_exclude, kTexts);
    }
}

// ---------------------------------------------------------------- column map

void CDataTableMap::SetIdentity()
{
    for (int i = 0; i < kSize; ++i)
        m_entries[size_t(i)] = i;
}

int CDataTableMap::IndexOf(int32_t key) const
{
    for (int i = 0; i < kSize; ++i)
        if (m_entries[size_t(i)] == key)
            return i;
    return -1;
}

int CDataTableMap::FindOrAdd(int32_t key)
{
    if (const int found = IndexOf(key); found >= 0)
        return found;
    for (int i = 0; i < kSize; ++i) {
        if (m_entries[size_t(i)] == -1) {
            m_entries[size_t(i)] = key;
            return i;
        }
    }
    return kFull;
}

// ---------------------------------------------------------------- row map

int CDataTableRowMap::maxSize()
{
    return CDataTableBase::kMaxRows;
}

CDataTableRowMap::CDataTableRowMap() : m_entries(kStep)
{
    for (int i = 0; i < kStep; ++i)
        m_entries[size_t(i)] = i;
    m_firstFree = kStep;
    m_maxBound = kStep - 1;
}

int32_t CDataTableRowMap::GetAt(int k) const
{
    return k >= 0 && k < GetSize() ? m_entries[size_t(k)] : -1;
}

void CDataTableRowMap::SetAt(int k, int32_t value)
{
    if (k < 0 || k >= GetSize() || value < -1)
        return;
    m_entries[size_t(k)] = value;
    if (value == -1) {
        if (size_t(k) < m_firstFree)
            m_firstFree = size_t(k);
    } else {
        m_maxBound = std::max(m_maxBound, value);
    }
}

void CDataTableRowMap::Clear()
{
    std::fill(m_entries.begin(), m_entries.end(), -1);
    m_firstFree = 0;
    m_maxBound = -1;
}

void CDataTableRowMap::RemoveAt(int k)
{
    if (k < 0 || k >= GetSize())
        return;
    m_entries.erase(m_entries.begin() + k);
    m_entries.push_back(-1);
    if (size_t(k) < m_firstFree)
        --m_firstFree;
}

void CDataTableRowMap::Grow(int n)
{
    if (n < 0 || n >= maxSize())
        return;
    while (size_t(n) >= m_entries.size())
        m_entries.resize(m_entries.size() + kStep, -1);
}

void CDataTableRowMap::AddRow(int32_t row)
{
    if (row < 0)
        return;
    Grow(row);
    if (row <= m_maxBound && std::find(m_entries.begin(), m_entries.end(), row) != m_entries.end())
        return;
    const auto freeEntry = std::find(m_entries.begin() + std::ptrdiff_t(m_firstFree), m_entries.end(), -1);
    if (freeEntry == m_entries.end()) {
        m_firstFree = m_entries.size();
        return;
    }
    *freeEntry = row;
    m_firstFree = size_t(freeEntry - m_entries.begin()) + 1;
    m_maxBound = std::max(m_maxBound, row);
}

int CDataTableRowMap::MapRowCount(int n) const
{
    if (n <= 0)
        return 0;
    const size_t size = m_entries.size();
    size_t i = 0;
    while (i < size_t(n) && i < size && m_entries[i] != -1)
        ++i;
    const int64_t base = i == 0 ? 0 : int64_t(m_entries[i - 1]) + 1;
    const int64_t result = base + (int64_t(n) - int64_t(i));
    return int(std::clamp<int64_t>(result, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

void CDataTableRowMap::InsertAt(int n)
{
    if (n < 0)
        return;
    Grow(n);
    if (size_t(n) >= m_entries.size())
        return;
    // Keep the last mapping instead of shifting it out of the array.
    if (m_entries.back() != -1)
        Grow(GetSize());
    const bool wasMapped = m_entries[size_t(n)] != -1;
    const int inserted = MapRowCount(n);
    for (size_t i = m_entries.size() - 1; i-- > size_t(n);) {
        if (m_entries[i] != -1)
            m_entries[i + 1] = m_entries[i] < std::numeric_limits<int32_t>::max() ? m_entries[i] + 1 : m_entries[i];
    }
    if (wasMapped)
        m_entries[size_t(n)] = inserted;
    recountHints();
}

void CDataTableRowMap::recountHints()
{
    const auto freeEntry = std::find(m_entries.begin(), m_entries.end(), -1);
    m_firstFree = size_t(freeEntry - m_entries.begin());
    m_maxBound = m_entries.empty() ? -1 : *std::max_element(m_entries.begin(), m_entries.end());
}
