#pragma once
// Expected object records, written from the field lists of the object
// records with the shared byte builder and sharing no code with the readers
// and writers under test.
#include "support/bytes.h"

#include <cstdint>
#include <string>

namespace recbytes {

using testsupport::Bytes;

// Rectangle fields shared by keys 151, 131, 132, 155 and 156.
inline Bytes rectFields(int x, int y, int w, int h, int pen, uint32_t border, uint32_t fill, int transparent)
{
    return Bytes().i32(x).i32(y).i32(w).i32(h).i32(pen).i32(border).i32(fill).u8(unsigned(transparent));
}

inline Bytes lineFields(int x1, int y1, int x2, int y2, int pen, uint32_t colour)
{
    return Bytes().i32(x1).i32(y1).i32(x2).i32(y2).i32(pen).i32(colour);
}

inline Bytes collectionHeader(int count, int reservedA = 10, int reservedB = 5)
{
    return Bytes().i16(count).i16(reservedA).i16(reservedB);
}

} // namespace recbytes
