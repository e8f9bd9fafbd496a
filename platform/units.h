#pragma once
// Conversions between micrometres and device pixels. Every product is
// taken in 64 bits and the result clamped to 32 bits, so large positions at
// high zoom or printer resolution cannot overflow.
#include <cstdint>
#include <limits>

namespace units {

inline int32_t clamp32(int64_t v)
{
    if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return int32_t(v);
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

// Micrometres to pixels: (um x ppi + 12700) / 25400, truncating division.
inline int32_t UmToPx(int32_t um, int32_t ppi)
{
    return clamp32((int64_t(um) * ppi + 12700) / 25400);
}

// Pixels to micrometres: (px x 25400 + ppi / 2) / ppi; 0 when ppi is 0.
inline int32_t PxToUm(int32_t px, int32_t ppi)
{
    if (ppi == 0)
        return 0;
    return clamp32((int64_t(px) * 25400 + ppi / 2) / ppi);
}

} // namespace units
