#pragma once
// A sheet of number cells in every Excel generation, built record by
// record: whole numbers and fractions in NUMBER, FORMULA, RK and MULRK
// records, general and "0.00" formats. Shared by the import tests and the
// comparison with xlrd.
#include "support/biff_builder.h"

#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

namespace excelnumbers {

using namespace bifftest;

enum class Biff { V2, V3, V4, V5, V8 };

inline uint32_t rkDouble(double d)
{
    uint64_t bits;
    std::memcpy(&bits, &d, 8);
    return uint32_t(bits >> 32);
}
inline uint32_t rkInt(int32_t v, bool hundredths = false) { return uint32_t(v) << 2 | 2 | (hundredths ? 1 : 0); }

// The RK numbers of the sheet: 30-bit integers (one in hundredths) and
// doubles whose low 32 bits are zero (2^21, 3 * 2^38 and 2^40).
struct RkCase {
    uint32_t rk;
    const char* text;
};
inline const RkCase kRk[] = {{rkInt(3710301), "3710301"},
                      {rkInt(371030100, true), "3710301"},
                      {rkDouble(2097152), "2097152"},
                      {rkDouble(824633720832.0), "824633720832"},
                      {rkDouble(1099511627776.0), "1099511627776"},
                      {rkDouble(-1099511627776.0), "-1099511627776"},
                      {rkDouble(0.5), "0.5"},
                      {rkInt(125, true), "1.25"}};

struct DoubleCase {
    double value;
    const char* text;
};
inline const DoubleCase kDoubles[] = {{3710301, "3710301"},
                               {123456789012, "123456789012"},
                               {7391234567890, "7391234567890"},
                               {-7391234567890, "-7391234567890"},
                               {999999999999999, "999999999999999"},
                               {1e15, "1e+15"}, // sixteen digits: the fallback pattern
                               {0.5, "0.5"},
                               {1.25, "1.25"},
                               {1e-7, "1e-07"},
                               {1234567.5, "1234567.5"}};

inline std::string cellHead(Biff v, int row, int col, int xf)
{
    if (v == Biff::V2)
        return fields({{2, uint32_t(row)}, {2, uint32_t(col)}, {1, uint32_t(xf)}, {1, 0}, {1, 0}});
    return fields({{2, uint32_t(row)}, {2, uint32_t(col)}, {2, uint32_t(xf)}});
}

// RK and MULRK records have the same layout in every generation.
inline std::string rkCell(int row, int col, int xf, uint32_t rk)
{
    return fields({{2, uint32_t(row)}, {2, uint32_t(col)}, {2, uint32_t(xf)}, {4, rk}});
}

inline std::string numberCell(Biff v, int row, int col, int xf, double value)
{
    std::string b = cellHead(v, row, col, xf);
    putDouble(b, value);
    return b;
}

inline std::string formulaCell(Biff v, int row, int col, int xf, double value)
{
    std::string b = numberCell(v, row, col, xf, value);
    // Options, (Excel 5.0 and later: four reserved bytes,) the size of the
    // tokens and one token: the integer 7.
    if (v == Biff::V2)
        b += fields({{1, 0}, {1, 3}});
    else if (v == Biff::V3 || v == Biff::V4)
        b += fields({{2, 0}, {2, 3}});
    else
        b += fields({{2, 0}, {4, 0}, {2, 3}});
    return b + fields({{1, 0x1E}, {2, 7}});
}

// Row 0 NUMBER, row 1 FORMULA, row 2 RK, row 3 one MULRK; row 4 the same
// with XF 1, whose format is "0.00".
inline void numberCells(Stream& s, Biff v)
{
    const uint16_t hi = v == Biff::V2 ? 0x0000 : 0x0200;
    for (size_t i = 0; i < std::size(kDoubles); ++i) {
        s.rec(hi | 0x03, numberCell(v, 0, int(i), 0, kDoubles[i].value));
        s.rec(v == Biff::V3 || v == Biff::V4 ? 0x0206 : 0x0006, formulaCell(v, 1, int(i), 0, kDoubles[i].value));
    }
    std::string mulrk = fields({{2, 3}, {2, 0}});
    for (size_t i = 0; i < std::size(kRk); ++i) {
        s.rec(0x027E, rkCell(2, int(i), 0, kRk[i].rk));
        mulrk += fields({{2, 0}, {4, kRk[i].rk}});
    }
    s.rec(0x00BD, mulrk + fields({{2, uint32_t(std::size(kRk) - 1)}}));
    s.rec(hi | 0x03, numberCell(v, 4, 0, 1, 3710301))
        .rec(hi | 0x03, numberCell(v, 4, 1, 1, 7391234567890))
        .rec(hi | 0x03, numberCell(v, 4, 2, 1, 1e-7))
        .rec(0x027E, rkCell(4, 3, 1, kRk[0].rk))
        .rec(0x00BD, fields({{2, 4}, {2, 4}, {2, 1}, {4, kRk[3].rk}, {2, 4}}));
}

inline std::string bof(Biff v, uint16_t kind)
{
    switch (v) {
    case Biff::V2: return fields({{2, 2}, {2, kind}});
    case Biff::V3:
    case Biff::V4: return fields({{2, 0}, {2, kind}});
    case Biff::V5: return fields({{2, 0x500}, {2, kind}});
    case Biff::V8: return fields({{2, 0x600}, {2, kind}, {2, 0x0DBB}, {2, 0x07CC}, {4, 0}, {4, 6}});
    }
    return {};
}

inline uint16_t bofType(Biff v)
{
    switch (v) {
    case Biff::V2: return 0x0009;
    case Biff::V3: return 0x0209;
    case Biff::V4: return 0x0409;
    default: return 0x0809;
    }
}

// The record stream of a file of generation `v`: a worksheet (Excel 2.1 to
// 4.0) or a workbook of the number sheet and a sheet "Tail" with one label
// (Excel 5.0 and 97); formats "General" and "0.00", XF 0 and 1 of each.
inline std::string numbersStream(Biff v)
{
    Stream s;
    if (v == Biff::V2 || v == Biff::V3 || v == Biff::V4) {
        s.rec(bofType(v), bof(v, 0x10));
        const std::string pre = v == Biff::V4 ? fields({{2, 0}}) : std::string();
        const uint16_t format = v == Biff::V4 ? 0x041E : 0x001E;
        s.rec(format, pre + fields({{1, 7}}) + "General").rec(format, pre + fields({{1, 4}}) + "0.00");
        // XF records of their full length (4 and 12 bytes), the format
        // index in the third (Excel 2.1) or second byte.
        if (v == Biff::V2)
            s.rec(0x0043, fields({{1, 0}, {1, 0}, {1, 0}, {1, 0}})).rec(0x0043, fields({{1, 0}, {1, 0}, {1, 1}, {1, 0}}));
        else
            s.rec(v == Biff::V3 ? 0x0243 : 0x0443, fields({{1, 0}, {1, 0}}) + std::string(10, '\0'))
                .rec(v == Biff::V3 ? 0x0243 : 0x0443, fields({{1, 0}, {1, 1}}) + std::string(10, '\0'));
        numberCells(s, v);
        s.rec(0x000A, "");
        return s.data();
    }
    s.rec(0x0809, bof(v, 0x0005));
    if (v == Biff::V8)
        s.rec(0x0042, fields({{2, 1200}})).rec(0x041E, fields({{2, 164}}) + text8("0.00"));
    else
        s.rec(0x041E, fields({{2, 164}, {1, 4}}) + "0.00");
    // Sixteen XFs as readers expect them (fifteen style XFs); cells use
    // XF 15 (general) and 16 ("0.00"), mapped below.
    for (int i = 0; i < 17; ++i) {
        const uint32_t format = i == 16 ? 164 : 0;
        const std::string tail(v == Biff::V8 ? 14 : 10, '\0');
        s.rec(0x00E0, fields({{2, 0}, {2, format}, {2, i < 15 ? 0xFFF5u : 1u}}) + tail);
    }
    std::vector<size_t> positions;
    for (const char* name : {"Numbers", "Tail"}) {
        positions.push_back(s.size() + 4);
        std::string body = fields({{4, 0}, {1, 0}, {1, 0}, {1, uint32_t(std::strlen(name))}});
        if (v == Biff::V8)
            body += fields({{1, 0}});
        s.rec(0x0085, body + name);
    }
    s.rec(0x000A, "");
    s.patch32(positions[0], uint32_t(s.size()));
    s.rec(0x0809, bof(v, 0x10));
    Stream cells;
    numberCells(cells, v);
    // Cell XF n becomes 15 + n.
    const std::string& c = cells.data();
    for (size_t at = 0; at + 4 <= c.size();) {
        const uint16_t type = uint16_t(uint8_t(c[at]) | uint8_t(c[at + 1]) << 8);
        const size_t length = uint8_t(c[at + 2]) | uint8_t(c[at + 3]) << 8;
        std::string body = c.substr(at + 4, length);
        if (type == 0x00BD) {
            for (size_t x = 4; x + 6 <= body.size(); x += 6)
                body[x] = char(body[x] + 15);
        } else {
            body[4] = char(body[4] + 15);
        }
        s.rec(type, body);
        at += 4 + length;
    }
    s.rec(0x000A, "");
    s.patch32(positions[1], uint32_t(s.size()));
    const std::string label = v == Biff::V8 ? text8("tail") : fields({{2, 4}}) + "tail";
    s.rec(0x0809, bof(v, 0x10)).rec(0x0204, fields({{2, 0}, {2, 0}, {2, 15}}) + label).rec(0x000A, "");
    return s.data();
}

// The file of a stream: Excel 5.0 and 97 workbooks in a compound file,
// worksheets as they are.
inline std::string fileOf(Biff v, const std::string& stream)
{
    if (v == Biff::V8)
        return compoundFile({{u"Workbook", stream}});
    if (v == Biff::V5)
        return compoundFile({{u"Book", stream}});
    return stream;
}

inline constexpr Biff kAll[] = {Biff::V2, Biff::V3, Biff::V4, Biff::V5, Biff::V8};

inline const char* nameOf(Biff v)
{
    const char* names[] = {"Excel 2.1", "Excel 3.0", "Excel 4.0", "Excel 5.0", "Excel 97"};
    return names[int(v)];
}

} // namespace excelnumbers
