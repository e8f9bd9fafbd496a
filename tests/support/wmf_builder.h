#pragma once
// Builds metafile bits record by record for the tests and benchmarks.
#include "support/bytes.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace wmftest {

class Builder {
public:
    // A record: function and parameter words as they are stored.
    Builder& rec(uint16_t fn, std::initializer_list<int> words)
    {
        std::string params;
        for (int w : words)
            put16(params, uint16_t(w));
        return raw(fn, params);
    }
    // A record with raw parameter bytes (padded to whole words).
    Builder& raw(uint16_t fn, std::string params)
    {
        if (params.size() % 2)
            params.push_back('\0');
        put32(m_records, uint32_t(3 + params.size() / 2));
        put16(m_records, fn);
        m_records += params;
        ++m_count;
        return *this;
    }
    // Bits with the standard header and, unless `eof` is false, the end record.
    std::string bits(int objects = 8, bool eof = true) const
    {
        std::string r = m_records;
        if (eof) {
            put32(r, 3);
            put16(r, 0);
        }
        std::string h;
        put16(h, 1);
        put16(h, 9);
        put16(h, 0x300);
        put32(h, uint32_t((18 + r.size()) / 2));
        put16(h, uint16_t(objects));
        put32(h, 0);
        put16(h, 0);
        return h + r;
    }
    int count() const { return m_count; }

    // Common records.
    Builder& windowOrg(int x, int y) { return rec(0x020B, {y, x}); }
    Builder& windowExt(int cx, int cy) { return rec(0x020C, {cy, cx}); }
    Builder& pen(int style, int width, uint32_t color)
    {
        return rec(0x02FA, {style, width, 0, int(color & 0xFFFF), int(color >> 16)});
    }
    Builder& brush(int style, uint32_t color)
    {
        return rec(0x02FC, {style, int(color & 0xFFFF), int(color >> 16), 0});
    }
    Builder& select(int index) { return rec(0x012D, {index}); }
    Builder& remove(int index) { return rec(0x01F0, {index}); }
    Builder& rectangle(int l, int t, int r, int b) { return rec(0x041B, {b, r, t, l}); }
    Builder& ellipse(int l, int t, int r, int b) { return rec(0x0418, {b, r, t, l}); }
    Builder& moveTo(int x, int y) { return rec(0x0214, {y, x}); }
    Builder& lineTo(int x, int y) { return rec(0x0213, {y, x}); }
    Builder& saveDC() { return rec(0x001E, {}); }
    Builder& restoreDC(int n) { return rec(0x0127, {n}); }
    // A part of a packed DIB (source x, y, width, height) stretched onto a
    // destination (x, y, width, height): STRETCHDIB counts the source y
    // from the bottom row of a bottom-up bitmap, DIBSTRETCHBLT from the top.
    struct Area {
        int x, y, w, h;
    };
    Builder& stretchDib(std::string_view dib, Area src, Area dst, uint32_t rop = 0x00CC0020)
    {
        std::string params;
        put32(params, rop);
        for (int w : {0, src.h, src.w, src.y, src.x, dst.h, dst.w, dst.y, dst.x})
            put16(params, uint16_t(w));
        return raw(0x0F43, params.append(dib));
    }
    Builder& dibStretchBlt(std::string_view dib, Area src, Area dst, uint32_t rop = 0x00CC0020)
    {
        std::string params;
        put32(params, rop);
        for (int w : {src.h, src.w, src.y, src.x, dst.h, dst.w, dst.y, dst.x})
            put16(params, uint16_t(w));
        return raw(0x0B41, params.append(dib));
    }

    static void put16(std::string& s, unsigned v) { testsupport::put16(s, v); }
    static void put32(std::string& s, uint32_t v) { testsupport::put32(s, v); }

private:
    std::string m_records;
    int m_count = 0;
};

} // namespace wmftest
