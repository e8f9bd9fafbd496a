#pragma once
// Builds Excel record streams and compound files byte by byte for the
// import tests and the benchmark, independently of the code under test.
#include "support/bytes.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace bifftest {

using testsupport::put16;
using testsupport::put32;
using testsupport::put8;

inline void putDouble(std::string& s, double d)
{
    uint64_t bits;
    std::memcpy(&bits, &d, 8);
    put32(s, uint32_t(bits));
    put32(s, uint32_t(bits >> 32));
}
// Fields given as (width, value) pairs: width 1, 2 or 4.
inline std::string fields(std::initializer_list<std::pair<int, uint32_t>> list)
{
    std::string s;
    for (auto [w, v] : list) {
        if (w == 1)
            put8(s, v);
        else if (w == 2)
            put16(s, v);
        else
            put32(s, v);
    }
    return s;
}
// A BIFF8 text: 16-bit count, flags and compressed characters.
inline std::string text8(std::string_view chars)
{
    std::string s;
    put16(s, unsigned(chars.size()));
    put8(s, 0);
    s.append(chars);
    return s;
}
// A BIFF8 text in UTF-16.
inline std::string text16(std::u16string_view chars)
{
    std::string s;
    put16(s, unsigned(chars.size()));
    put8(s, 1);
    for (char16_t c : chars)
        put16(s, c);
    return s;
}

class Stream {
public:
    Stream& rec(uint16_t type, std::string_view body)
    {
        put16(m_data, type);
        put16(m_data, unsigned(body.size()));
        m_data.append(body);
        return *this;
    }
    size_t size() const { return m_data.size(); }
    const std::string& data() const { return m_data; }
    // Patches a 32-bit field (for sheet positions known only later).
    void patch32(size_t at, uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            m_data[at + size_t(i)] = char((v >> (8 * i)) & 0xFF);
    }

private:
    std::string m_data;
};

// A compound file (version 3, 512-byte sectors) holding the given streams
// below the root; streams under 4096 bytes go into the mini stream.
inline std::string compoundFile(const std::vector<std::pair<std::u16string, std::string>>& streams)
{
    constexpr uint32_t kEnd = 0xFFFFFFFE, kFree = 0xFFFFFFFF, kFatSect = 0xFFFFFFFD;
    std::vector<std::string> sectors;
    std::vector<uint32_t> fat;
    auto addChain = [&](const std::string& bytes) -> uint32_t {
        if (bytes.empty())
            return kEnd;
        const uint32_t first = uint32_t(sectors.size());
        for (size_t at = 0; at < bytes.size(); at += 512) {
            std::string s = bytes.substr(at, 512);
            s.resize(512, '\0');
            sectors.push_back(s);
            fat.push_back(at + 512 < bytes.size() ? uint32_t(sectors.size()) : kEnd);
        }
        return first;
    };
    std::string mini;
    std::vector<uint32_t> miniFat;
    std::vector<uint32_t> starts;
    for (const auto& [name, data] : streams) {
        if (data.size() >= 4096) {
            starts.push_back(addChain(data));
        } else if (data.empty()) {
            starts.push_back(kEnd);
        } else {
            starts.push_back(uint32_t(mini.size() / 64));
            for (size_t at = 0; at < data.size(); at += 64) {
                std::string s = data.substr(at, 64);
                s.resize(64, '\0');
                mini += s;
                miniFat.push_back(at + 64 < data.size() ? uint32_t(mini.size() / 64) : kEnd);
            }
        }
    }
    const uint32_t miniStart = addChain(mini);
    std::string miniFatBytes;
    for (uint32_t v : miniFat)
        put32(miniFatBytes, v);
    const uint32_t miniFatStart = addChain(miniFatBytes);
    const uint32_t miniFatSectors = uint32_t((miniFatBytes.size() + 511) / 512);

    auto entry = [](std::u16string_view name, int type, uint32_t right, uint32_t child, uint32_t start,
                    uint32_t size) {
        std::string e;
        for (size_t i = 0; i < 32; ++i)
            put16(e, i < name.size() ? name[i] : 0);
        put16(e, unsigned(name.size() + 1) * 2);
        put8(e, unsigned(type));
        put8(e, 1);
        put32(e, 0xFFFFFFFF);
        put32(e, right);
        put32(e, child);
        e.append(36, '\0');
        put32(e, start);
        put32(e, size);
        put32(e, 0);
        return e;
    };
    std::string dir = entry(u"Root Entry", 5, 0xFFFFFFFF, streams.empty() ? 0xFFFFFFFF : 1, miniStart,
                            uint32_t(mini.size()));
    for (size_t i = 0; i < streams.size(); ++i)
        dir += entry(streams[i].first, 2, i + 1 < streams.size() ? uint32_t(i + 2) : 0xFFFFFFFF, 0xFFFFFFFF,
                     starts[i], uint32_t(streams[i].second.size()));
    const uint32_t dirStart = addChain(dir);

    uint32_t fatSectors = 1;
    while ((sectors.size() + fatSectors) > fatSectors * 128)
        ++fatSectors;
    const uint32_t fatStart = uint32_t(sectors.size());
    for (uint32_t i = 0; i < fatSectors; ++i)
        fat.push_back(kFatSect);
    fat.resize(fatSectors * 128, kFree);

    std::string h("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    h.append(16, '\0');
    put16(h, 0x3E);
    put16(h, 3);
    put16(h, 0xFFFE);
    put16(h, 9);
    put16(h, 6);
    h.append(10, '\0');
    put32(h, fatSectors);
    put32(h, dirStart);
    put32(h, 0);
    put32(h, 4096);
    put32(h, miniFatSectors ? miniFatStart : kEnd);
    put32(h, miniFatSectors);
    put32(h, kEnd);
    put32(h, 0);
    for (uint32_t i = 0; i < 109; ++i)
        put32(h, i < fatSectors ? fatStart + i : kFree);
    std::string out = h;
    for (const std::string& s : sectors)
        out += s;
    for (uint32_t i = 0; i < fatSectors * 128; ++i)
        put32(out, fat[i]);
    return out;
}

} // namespace bifftest
