#include "platform/record.h"

#include <cstring>

RecordReader::RecordReader(const void* data, size_t size)
    : m_data(static_cast<const uint8_t*>(data)), m_size(data ? size : 0)
{
}

RecordReader::RecordReader(std::string_view bytes)
    : RecordReader(bytes.data(), bytes.size())
{
}

void RecordReader::setDamaged()
{
    if (m_status == ReadStatus::Ok)
        m_status = ReadStatus::Damaged;
}

void RecordReader::setTruncated()
{
    if (m_status == ReadStatus::Ok)
        m_status = ReadStatus::Truncated;
}

bool RecordReader::require(size_t n)
{
    if (!ok())
        return false;
    if (n > remaining()) {
        setTruncated();
        return false;
    }
    return true;
}

bool RecordReader::requireItems(uint64_t count, size_t itemSize)
{
    if (!ok())
        return false;
    if (itemSize == 0)
        itemSize = 1;
    if (count > remaining() / itemSize) {
        setTruncated();
        return false;
    }
    return true;
}

const uint8_t* RecordReader::take(size_t n)
{
    if (!ok())
        return nullptr;
    if (n > remaining()) {
        m_pos = m_size;
        setTruncated();
        return nullptr;
    }
    const uint8_t* p = m_data + m_pos;
    m_pos += n;
    return p;
}

int8_t RecordReader::i8() { return int8_t(u8()); }

uint8_t RecordReader::u8()
{
    const uint8_t* p = take(1);
    return p ? p[0] : 0;
}

int16_t RecordReader::i16() { return int16_t(u16()); }

uint16_t RecordReader::u16()
{
    const uint8_t* p = take(2);
    return p ? uint16_t(p[0] | (p[1] << 8)) : 0;
}

int32_t RecordReader::i32() { return int32_t(u32()); }

uint32_t RecordReader::u32()
{
    const uint8_t* p = take(4);
    return p ? uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24) : 0;
}

int64_t RecordReader::i64() { return int64_t(u64()); }

uint64_t RecordReader::u64()
{
    const uint8_t* p = take(8);
    if (!p)
        return 0;
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

double RecordReader::f64()
{
    const uint64_t bits = u64();
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

std::string RecordReader::bytes(size_t n)
{
    if (!ok())
        return {};
    const size_t have = n > remaining() ? remaining() : n;
    std::string s(reinterpret_cast<const char*>(m_data + m_pos), have);
    m_pos += have;
    if (have < n)
        setTruncated();
    return s;
}

bool RecordReader::bytes(void* out, size_t n)
{
    const uint8_t* p = take(n);
    if (!p) {
        if (n)
            std::memset(out, 0, n);
        return n == 0 && ok();
    }
    std::memcpy(out, p, n);
    return true;
}

void RecordReader::skip(size_t n)
{
    take(n);
}

std::string RecordReader::fixedString(size_t width)
{
    const uint8_t* p = take(width);
    if (!p)
        return {};
    const void* nul = std::memchr(p, 0, width);
    const size_t len = nul ? size_t(static_cast<const uint8_t*>(nul) - p) : width;
    return std::string(reinterpret_cast<const char*>(p), len);
}

void RecordReader::fixedField(char* out, size_t width)
{
    if (width == 0)
        return;
    const uint8_t* p = take(width);
    if (!p) {
        std::memset(out, 0, width);
        return;
    }
    std::memcpy(out, p, width);
    out[width - 1] = '\0';
}

bool RecordReader::enter()
{
    if (m_depth >= kMaxDepth) {
        setDamaged();
        return false;
    }
    ++m_depth;
    return true;
}

void RecordReader::leave()
{
    if (m_depth > 0)
        --m_depth;
}

void RecordWriter::u16(uint16_t v)
{
    const uint8_t b[2] = {uint8_t(v), uint8_t(v >> 8)};
    put(b, 2);
}

void RecordWriter::u32(uint32_t v)
{
    const uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    put(b, 4);
}

void RecordWriter::u64(uint64_t v)
{
    uint8_t b[8];
    for (int i = 0; i < 8; ++i)
        b[i] = uint8_t(v >> (8 * i));
    put(b, 8);
}

void RecordWriter::f64(double v)
{
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    u64(bits);
}

void RecordWriter::fixedString(std::string_view text, size_t width)
{
    if (width == 0)
        return;
    const size_t n = text.size() < width - 1 ? text.size() : width - 1;
    m_buf.append(text.data(), n);
    m_buf.append(width - n, '\0');
}
