#include "platform/wmf.h"

#include "platform/dc.h"
#include "platform/wmf_player.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace wmf {

namespace {

using detail::rd16;
using detail::rd32;

void wr16(std::string& s, uint16_t v)
{
    s.push_back(char(v & 0xFF));
    s.push_back(char(v >> 8));
}

void wr32(std::string& s, uint32_t v)
{
    wr16(s, uint16_t(v & 0xFFFF));
    wr16(s, uint16_t(v >> 16));
}

} // namespace

bool SplitFile(std::string_view file, WmfFile& out)
{
    out = WmfFile{};
    if (file.size() >= 4 && rd32(file.data()) == kPlaceableKey) {
        if (file.size() < kPlaceableHeaderSize)
            return false;
        out.placeable = true;
        out.header.left = int16_t(rd16(file.data() + 6));
        out.header.top = int16_t(rd16(file.data() + 8));
        out.header.right = int16_t(rd16(file.data() + 10));
        out.header.bottom = int16_t(rd16(file.data() + 12));
        out.header.unitsPerInch = rd16(file.data() + 14);
        out.bits.assign(file.substr(kPlaceableHeaderSize));
        return true;
    }
    out.bits.assign(file);
    return true;
}

void PlaceableSizeUm(const PlaceableHeader& h, int32_t& width, int32_t& height)
{
    width = height = 0;
    if (h.unitsPerInch == 0)
        return;
    width = int32_t(std::llabs(int64_t(h.right) - h.left) * 25400 / h.unitsPerInch);
    height = int32_t(std::llabs(int64_t(h.bottom) - h.top) * 25400 / h.unitsPerInch);
}

std::string MakePlaceableFile(std::string_view bits, int32_t widthUm, int32_t heightUm)
{
    // The coarsest unit that keeps both sizes within 16 bits.
    const int64_t w = std::llabs(int64_t(widthUm));
    const int64_t h = std::llabs(int64_t(heightUm));
    uint16_t inch = 25400; // micrometres
    for (uint16_t candidate : {uint16_t(25400), uint16_t(2540), uint16_t(254), uint16_t(25)}) {
        inch = candidate;
        if (w * candidate / 25400 <= 32767 && h * candidate / 25400 <= 32767)
            break;
    }
    const int16_t right = int16_t(std::min<int64_t>(w * inch / 25400, 32767));
    const int16_t bottom = int16_t(std::min<int64_t>(h * inch / 25400, 32767));
    std::string out;
    wr32(out, kPlaceableKey);
    wr16(out, 0);
    wr16(out, 0);
    wr16(out, 0);
    wr16(out, uint16_t(right));
    wr16(out, uint16_t(bottom));
    wr16(out, inch);
    wr32(out, 0);
    uint16_t sum = 0;
    for (size_t i = 0; i + 1 < out.size(); i += 2)
        sum ^= rd16(out.data() + i);
    wr16(out, sum);
    out.append(bits);
    return out;
}

bool HasStandardHeader(std::string_view bits)
{
    if (bits.size() < kStandardHeaderSize)
        return false;
    const uint16_t type = rd16(bits.data());
    const uint16_t headerWords = rd16(bits.data() + 2);
    return (type == 1 || type == 2) && headerWords == 9;
}

int Play(CDC& dc, std::string_view bits, POINT viewportOrg, SIZE viewportExt, SIZE windowExt)
{
    if (!HasStandardHeader(bits) || windowExt.cx == 0 || windowExt.cy == 0)
        return 0;
    const size_t objectCount = rd16(bits.data() + 10);
    const int level = dc.SaveDC();
    detail::Player player(dc, viewportOrg, viewportExt, windowExt, objectCount);
    int played = 0;
    size_t pos = kStandardHeaderSize;
    while (pos + 6 <= bits.size()) {
        const uint32_t words = rd32(bits.data() + pos);
        const uint16_t fn = rd16(bits.data() + pos + 4);
        if (words < 3 || words > (bits.size() - pos) / 2)
            break; // damaged: what was valid has been drawn
        if (fn == detail::META_EOF)
            break;
        player.record(fn, detail::Params(bits.data() + pos + 6, size_t(words) * 2 - 6));
        ++played;
        pos += size_t(words) * 2;
    }
    dc.RestoreDC(level);
    return played;
}

} // namespace wmf
