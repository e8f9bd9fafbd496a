#pragma once
// The record stream of an Excel workbook or worksheet (BIFF), held in
// memory: records of a 16-bit type, a 16-bit length and a body. Nothing in
// the data is trusted: a record that runs past the end of the data marks
// the stream damaged, field reads past the end of a body yield zeros, and
// every seek is checked.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

struct ExcelRecord {
    uint16_t type = 0;
    std::string_view body;
    size_t position = 0; // stream position of the record's header
};

class CExcelStream {
public:
    explicit CExcelStream(std::string data) : m_owned(std::move(data)), m_data(m_owned) {}
    // Reads the caller's data in place; it must outlive the stream.
    struct InPlace {};
    CExcelStream(InPlace, std::string_view data) : m_data(data) {}
    CExcelStream(const CExcelStream&) = delete;
    CExcelStream& operator=(const CExcelStream&) = delete;

    // Reads the next record. False at the end of the data, and also when the
    // record is cut off (which marks the stream damaged). (Inline: it runs
    // for every cell.)
    bool ReadRecord(ExcelRecord& record)
    {
        if (m_data.size() - m_pos < 4) {
            // A few bytes of padding after the last record end the data.
            m_pos = m_data.size();
            return false;
        }
        const uint8_t* h = reinterpret_cast<const uint8_t*>(m_data.data() + m_pos);
        const size_t length = size_t(h[2] | h[3] << 8);
        if (m_data.size() - m_pos - 4 < length) {
            m_damaged = true;
            m_pos = m_data.size();
            return false;
        }
        record.type = uint16_t(h[0] | h[1] << 8);
        record.position = m_pos;
        record.body = m_data.substr(m_pos + 4, length);
        m_pos += 4 + length;
        return true;
    }
    // Reads the next record only when it has the given type; otherwise the
    // stream stays where it was.
    bool ReadRecordOfType(uint16_t type, ExcelRecord& record);

    size_t Position() const { return m_pos; }
    // Moves to a position inside the data; false (and damaged) beyond it.
    bool Seek(size_t position);
    bool AtEnd() const { return m_pos >= m_data.size(); }
    size_t Size() const { return m_data.size(); }
    std::string_view Data() const { return m_data; }

    bool Damaged() const { return m_damaged; }
    void SetDamaged() { m_damaged = true; }

private:
    std::string m_owned;
    std::string_view m_data; // m_owned or the caller's data
    size_t m_pos = 0;
    bool m_damaged = false;
};

// Little-endian fields of a record body; zero past its end.
namespace excel {

inline uint8_t U8(std::string_view b, size_t at) { return at < b.size() ? uint8_t(b[at]) : 0; }
inline uint16_t U16(std::string_view b, size_t at)
{
    return at + 2 <= b.size() ? uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8) : 0;
}
inline uint32_t U32(std::string_view b, size_t at)
{
    return at + 4 <= b.size() ? uint32_t(U16(b, at)) | uint32_t(U16(b, at + 2)) << 16 : 0;
}
double F64(std::string_view b, size_t at);
// Up to `count` bytes from `at`, fewer when the body ends.
std::string_view Bytes(std::string_view b, size_t at, size_t count);

// The value of an RK number.
double RkValue(uint32_t rk);

} // namespace excel
