#pragma once
// Little-endian bytes laid down field by field for expected file images and
// hand-made inputs. Written independently of the readers and writers under
// test, so a test never checks the code against itself.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace testsupport {

inline void put8(std::string& s, unsigned v) { s.push_back(char(v & 0xFF)); }
inline void put16(std::string& s, unsigned v)
{
    put8(s, v);
    put8(s, v >> 8);
}
inline void put32(std::string& s, uint32_t v)
{
    put16(s, v & 0xFFFF);
    put16(s, v >> 16);
}

// Chained builder: Bytes().u8(1).i16(-2).i32(70000).raw("LBLF").s
struct Bytes {
    std::string s;

    Bytes& u8(unsigned v)
    {
        put8(s, v);
        return *this;
    }
    // 16 bits; a negative value is stored in two's complement.
    Bytes& u16(unsigned v)
    {
        put16(s, v);
        return *this;
    }
    Bytes& i16(int v) { return u16(unsigned(v)); }
    Bytes& u32(uint32_t v)
    {
        put32(s, v);
        return *this;
    }
    // The low 32 bits of `v`: takes signed and unsigned values alike.
    Bytes& i32(int64_t v) { return u32(uint32_t(v)); }
    Bytes& f64(double d)
    {
        uint64_t bits;
        std::memcpy(&bits, &d, 8);
        return u32(uint32_t(bits)).u32(uint32_t(bits >> 32));
    }
    Bytes& raw(std::string_view bytes)
    {
        s.append(bytes);
        return *this;
    }
    // `text` cut or NUL-padded to exactly `width` bytes.
    Bytes& field(std::string_view text, size_t width)
    {
        std::string f(text.substr(0, width));
        f.resize(width, '\0');
        s += f;
        return *this;
    }
    Bytes& add(const Bytes& other) { return raw(other.s); }
    size_t size() const { return s.size(); }
};

} // namespace testsupport
