#pragma once
// Windows metafiles: reading .wmf files and playing metafile bits onto a
// device context.
//
// "Metafile bits" are the standard metafile: the 18-byte header and the
// records, as a metafile handle holds them; a .wmf file may put the 22-byte
// placeable header before them. The player is bounded: every record is
// checked against the bytes that are there, unknown records are skipped,
// and a damaged metafile draws the records before the damage.
#include "platform/windef.h"

#include <cstdint>
#include <string>
#include <string_view>

class CDC;

namespace wmf {

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr size_t kPlaceableHeaderSize = 22;
constexpr size_t kStandardHeaderSize = 18;

struct PlaceableHeader {
    int16_t left = 0;
    int16_t top = 0;
    int16_t right = 0;
    int16_t bottom = 0;
    uint16_t unitsPerInch = 0;
};

// A .wmf file split into its optional placeable header and its bits.
struct WmfFile {
    bool placeable = false;
    PlaceableHeader header;
    std::string bits;
};
// False when the file is too short to hold what its first bytes announce.
bool SplitFile(std::string_view file, WmfFile& out);

// Width and height in micrometres that a placeable header describes
// (always positive; 0 when the units per inch are 0).
void PlaceableSizeUm(const PlaceableHeader& h, int32_t& width, int32_t& height);

// A placeable .wmf file for metafile bits of the given size in micrometres.
std::string MakePlaceableFile(std::string_view bits, int32_t widthUm, int32_t heightUm);

// True when the bits begin with a plausible standard metafile header.
bool HasStandardHeader(std::string_view bits);

// Plays metafile bits with an anisotropic mapping: the window starts at
// 0, 0 with extent `windowExt` and maps onto the viewport at `viewportOrg`
// with `viewportExt` device pixels; the metafile's own window, viewport and
// mapping-mode records change them as they would a device context's. Answers the number of records played; 0 when the bits
// have no valid header. The device context's state is restored afterwards.
int Play(CDC& dc, std::string_view bits, POINT viewportOrg, SIZE viewportExt,
         SIZE windowExt = SIZE{10000, 10000});

} // namespace wmf
