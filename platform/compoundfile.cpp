#include "platform/compoundfile.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kNoStream = 0xFFFFFFFF;
constexpr size_t kHeaderSize = 512;
constexpr size_t kEntrySize = 128;
constexpr uint32_t kMiniSectorSize = 64;
constexpr unsigned char kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

uint16_t u16(std::string_view d, size_t at)
{
    if (at + 2 > d.size())
        return 0;
    return uint16_t(uint8_t(d[at]) | uint8_t(d[at + 1]) << 8);
}

uint32_t u32(std::string_view d, size_t at)
{
    if (at + 4 > d.size())
        return 0;
    return uint32_t(uint8_t(d[at])) | uint32_t(uint8_t(d[at + 1])) << 8
         | uint32_t(uint8_t(d[at + 2])) << 16 | uint32_t(uint8_t(d[at + 3])) << 24;
}

// Appends the 32-bit entries of a table sector; a short last sector is
// padded with free entries.
void appendEntries(std::vector<uint32_t>& table, std::string_view sector, size_t entries)
{
    for (size_t i = 0; i < entries; ++i)
        table.push_back(i * 4 + 4 <= sector.size() ? u32(sector, i * 4) : kNoStream);
}

} // namespace

bool CCompoundFile::IsCompoundFile(std::string_view data)
{
    return data.size() >= sizeof kSignature && std::memcmp(data.data(), kSignature, sizeof kSignature) == 0;
}

std::string_view CCompoundFile::Sector(uint32_t index) const
{
    if (index >= m_sectorCount)
        return {};
    const uint64_t at = (uint64_t(index) + 1) * m_sectorSize;
    return m_data.substr(size_t(at), m_sectorSize);
}

bool CCompoundFile::Open(std::string_view data)
{
    *this = CCompoundFile();
    if (data.size() < kHeaderSize || !IsCompoundFile(data))
        return false;
    const uint16_t byteOrder = u16(data, 0x1C);
    const uint16_t shift = u16(data, 0x1E);
    const uint16_t miniShift = u16(data, 0x20);
    if (byteOrder != 0xFFFE || (shift != 9 && shift != 12) || miniShift != 6)
        return false;
    m_data = data;
    m_sectorSize = 1u << shift;
    m_sectorCount = uint32_t(std::min<uint64_t>(
        data.size() > m_sectorSize ? (data.size() - m_sectorSize + m_sectorSize - 1) / m_sectorSize : 0,
        kEndOfChain - 1));
    m_miniCutoff = u32(data, 0x38);
    const bool version3 = u16(data, 0x1A) == 3;

    if (!ReadFat(u32(data, 0x2C), u32(data, 0x44), u32(data, 0x48)))
        return false;

    std::string dir;
    if (!ReadChain(u32(data, 0x30), UINT64_MAX, dir) || dir.size() < kEntrySize)
        return false;
    const size_t count = dir.size() / kEntrySize;
    m_entries.resize(count);
    for (size_t i = 0; i < count; ++i) {
        const std::string_view e = std::string_view(dir).substr(i * kEntrySize, kEntrySize);
        Entry& entry = m_entries[i];
        const size_t nameBytes = std::min<size_t>(u16(e, 64), 64);
        const size_t chars = nameBytes >= 2 ? nameBytes / 2 - 1 : 0;
        entry.name.resize(qsizetype(chars));
        for (size_t c = 0; c < chars; ++c)
            entry.name[qsizetype(c)] = QChar(u16(e, c * 2));
        entry.type = uint8_t(e[66]);
        entry.left = u32(e, 68);
        entry.right = u32(e, 72);
        entry.child = u32(e, 76);
        entry.start = u32(e, 116);
        entry.size = version3 ? u32(e, 120) : (uint64_t(u32(e, 124)) << 32 | u32(e, 120));
    }
    if (m_entries[0].type != 5)
        return false;

    // The mini stream and its table only matter for small streams; damage
    // there leaves them empty, and reading a small stream then fails.
    std::string miniFat;
    if (ReadChain(u32(data, 0x3C), UINT64_MAX, miniFat)) {
        m_miniFat.reserve(miniFat.size() / 4);
        appendEntries(m_miniFat, miniFat, miniFat.size() / 4);
        if (!ReadChain(m_entries[0].start, m_entries[0].size, m_miniStream))
            m_miniStream.clear();
    }
    return true;
}

bool CCompoundFile::ReadFat(uint32_t fatSectors, uint32_t firstDifat, uint32_t difatSectors)
{
    if (fatSectors > m_sectorCount || difatSectors > m_sectorCount)
        return false;
    std::vector<uint32_t> fatIndexes;
    fatIndexes.reserve(fatSectors);
    for (uint32_t i = 0; i < 109 && fatIndexes.size() < fatSectors; ++i)
        fatIndexes.push_back(u32(m_data, 0x4C + size_t(i) * 4));
    const size_t perDifat = m_sectorSize / 4 - 1;
    uint32_t next = firstDifat;
    for (uint32_t n = 0; fatIndexes.size() < fatSectors; ++n) {
        if (n >= difatSectors)
            return false;
        const std::string_view s = Sector(next);
        if (s.size() < m_sectorSize)
            return false;
        for (size_t i = 0; i < perDifat && fatIndexes.size() < fatSectors; ++i)
            fatIndexes.push_back(u32(s, i * 4));
        next = u32(s, perDifat * 4);
    }
    m_fat.reserve(size_t(fatSectors) * (m_sectorSize / 4));
    for (uint32_t index : fatIndexes) {
        const std::string_view s = Sector(index);
        if (s.empty())
            return false;
        appendEntries(m_fat, s, m_sectorSize / 4);
    }
    return true;
}

bool CCompoundFile::ReadChain(uint32_t start, uint64_t limit, std::string& out) const
{
    out.clear();
    if (limit == 0)
        return true;
    // Room for the whole stream at once (it cannot be larger than the file).
    if (limit != UINT64_MAX)
        out.reserve(size_t(std::min<uint64_t>(limit, m_data.size())));
    // A sector met a second time means the chain loops.
    std::vector<bool> seen(m_fat.size(), false);
    for (uint32_t s = start; s != kEndOfChain && out.size() < limit; s = m_fat[s]) {
        if (s >= m_fat.size() || seen[s])
            return false;
        seen[s] = true;
        const std::string_view bytes = Sector(s);
        if (bytes.empty())
            return false;
        out.append(bytes.substr(0, size_t(std::min<uint64_t>(bytes.size(), limit - out.size()))));
    }
    if (limit != UINT64_MAX && out.size() < limit)
        return false;
    return true;
}

bool CCompoundFile::ReadMiniChain(uint32_t start, uint64_t limit, std::string& out) const
{
    out.clear();
    std::vector<bool> seen(m_miniFat.size(), false);
    for (uint32_t s = start; out.size() < limit; s = m_miniFat[s]) {
        if (s == kEndOfChain || s >= m_miniFat.size() || seen[s])
            return false;
        seen[s] = true;
        const size_t at = size_t(s) * kMiniSectorSize;
        if (at >= m_miniStream.size())
            return false;
        const size_t n = std::min<size_t>({kMiniSectorSize, m_miniStream.size() - at, size_t(limit - out.size())});
        out.append(m_miniStream, at, n);
    }
    return true;
}

const CCompoundFile::Entry* CCompoundFile::FindStream(const QString& name) const
{
    if (m_entries.empty())
        return nullptr;
    // Walk the sibling tree below the root; each entry is visited once.
    std::vector<bool> seen(m_entries.size(), false);
    std::vector<uint32_t> pending{m_entries[0].child};
    while (!pending.empty()) {
        const uint32_t i = pending.back();
        pending.pop_back();
        if (i >= m_entries.size() || seen[i])
            continue;
        seen[i] = true;
        const Entry& e = m_entries[i];
        if (e.type == 2 && e.name.compare(name, Qt::CaseInsensitive) == 0)
            return &e;
        pending.push_back(e.left);
        pending.push_back(e.right);
    }
    return nullptr;
}

bool CCompoundFile::ReadStream(const QString& name, std::string& out) const
{
    out.clear();
    const Entry* e = FindStream(name);
    if (!e)
        return false;
    if (e->size < m_miniCutoff)
        return ReadMiniChain(e->start, e->size, out);
    return ReadChain(e->start, e->size, out);
}

bool CCompoundFile::ReadStreamView(const QString& name, std::string_view& out, std::string& copy) const
{
    out = {};
    copy.clear();
    const Entry* e = FindStream(name);
    if (!e)
        return false;
    if (e->size >= m_miniCutoff) {
        // Sectors start, start + 1, ... as the table chains them.
        const uint64_t sectors = (e->size + m_sectorSize - 1) / m_sectorSize;
        const uint64_t at = (uint64_t(e->start) + 1) * m_sectorSize;
        bool inPlace = e->size <= m_data.size() && at <= m_data.size() - e->size && sectors <= m_sectorCount;
        uint32_t s = e->start;
        for (uint64_t i = 0; inPlace && i + 1 < sectors; ++i, ++s)
            inPlace = s < m_fat.size() && m_fat[s] == s + 1;
        if (inPlace) {
            out = m_data.substr(size_t(at), size_t(e->size));
            return true;
        }
    }
    const bool ok = e->size < m_miniCutoff ? ReadMiniChain(e->start, e->size, copy) : ReadChain(e->start, e->size, copy);
    if (ok)
        out = copy;
    return ok;
}
