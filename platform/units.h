#pragma once
// Conversions between micrometres and device pixels, and the clamping and
// rounding helpers that go with them. Every product is taken in 64 bits and
// the result clamped to 32 bits, so large positions at high zoom or printer
// resolution cannot overflow.
//
// Names say the unit: `um` for micrometres, `px` for device pixels, `ppi`
// for the pixels per inch a length is drawn at (zoom already applied).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace units {

inline int32_t clamp32(int64_t v)
{
    if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return int32_t(v);
}

inline int16_t clamp16(int64_t v)
{
    return int16_t(std::clamp<int64_t>(v, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()));
}

// a + b clamped to 32 bits.
inline int32_t clampAdd(int64_t a, int64_t b)
{
    return clamp32(a + b);
}

// floor(v + 0.5): the nearest integer, halves up; clamped to +-4e18, NaN 0.
inline int64_t RoundHalfUp(double v)
{
    if (std::isnan(v))
        return 0;
    return int64_t(std::clamp(std::floor(v + 0.5), -4.0e18, 4.0e18));
}

// Working resolution for drawing, hit testing, moving and resizing:
// (zoom x logical pixels per inch + 50) / 100.
inline int32_t ZoomedPpi(int32_t zoomPercent, int32_t logPixels)
{
    return clamp32((int64_t(zoomPercent) * logPixels + 50) / 100);
}

// Working resolution when starting to create an object (truncated).
inline int32_t ZoomedPpiTruncated(int32_t zoomPercent, int32_t logPixels)
{
    return clamp32(int64_t(zoomPercent) * logPixels / 100);
}

// Micrometres to pixels: (um x ppi + 12700) / 25400, truncating division
// (so exact halves round up for positive lengths, towards zero for negative).
inline int32_t UmToPx(int32_t um, int32_t ppi)
{
    return clamp32((int64_t(um) * ppi + 12700) / 25400);
}

// The same for a length computed in 64 bits (a doubled or summed length),
// taken as it is up to +-(2^32 - 1) micrometres.
inline int32_t UmToPxWide(int64_t um, int32_t ppi)
{
    constexpr int64_t kLimit = (int64_t(1) << 32) - 1;
    return clamp32((std::clamp(um, -kLimit, kLimit) * ppi + 12700) / 25400);
}

// Half a length in pixels, as pen insets are taken:
// (um x ppi + 12700) / 50800.
inline int32_t UmToHalfPx(int32_t um, int32_t ppi)
{
    return clamp32((int64_t(um) * ppi + 12700) / 50800);
}

// Pixels to micrometres, rounded: (px x 25400 + ppi / 2) / ppi; 0 when
// ppi is 0. Pixel counts are clamped to +-2^40 first.
inline int32_t PxToUm(int64_t px, int32_t ppi)
{
    if (ppi == 0)
        return 0;
    px = std::clamp<int64_t>(px, -(int64_t(1) << 40), int64_t(1) << 40);
    return clamp32((px * 25400 + ppi / 2) / ppi);
}

// Pixels to micrometres, truncated: px x 25400 / ppi; 0 when ppi is 0.
// (A height in points is pixels at 72 per inch.)
inline int32_t PxToUmTruncated(int64_t px, int32_t ppi)
{
    if (ppi == 0)
        return 0;
    px = std::clamp<int64_t>(px, -(int64_t(1) << 40), int64_t(1) << 40);
    return clamp32(px * 25400 / ppi);
}

// Micrometres as millimetres (the toolkit's page sizes are given in them).
inline double UmToMm(int64_t um)
{
    return double(um) / 1000.0;
}

} // namespace units
