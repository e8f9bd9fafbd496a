#include "tables/import/excelstream.h"

#include <bit>
#include <cstring>

bool CExcelStream::ReadRecordOfType(uint16_t type, ExcelRecord& record)
{
    if (m_data.size() - m_pos < 4 || excel::U16(m_data, m_pos) != type)
        return false;
    return ReadRecord(record);
}

bool CExcelStream::Seek(size_t position)
{
    if (position > m_data.size()) {
        m_damaged = true;
        return false;
    }
    m_pos = position;
    return true;
}

namespace excel {

double F64(std::string_view b, size_t at)
{
    const uint64_t bits = uint64_t(U32(b, at)) | uint64_t(U32(b, at + 4)) << 32;
    return std::bit_cast<double>(bits);
}

std::string_view Bytes(std::string_view b, size_t at, size_t count)
{
    if (at >= b.size())
        return {};
    return b.substr(at, count);
}

double RkValue(uint32_t rk)
{
    double v;
    if (rk & 2)
        v = double(int32_t(rk) >> 2);
    else
        v = std::bit_cast<double>(uint64_t(rk & 0xFFFFFFFCu) << 32);
    if (rk & 1)
        v /= 100;
    return v;
}

} // namespace excel
