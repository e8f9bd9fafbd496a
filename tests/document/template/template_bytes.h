#pragma once
// An independent builder of template records for the tests: every field
// spelled out as the file format lays it down.
#include "support/bytes.h"

#include <array>
#include <optional>
#include <cstdint>
#include <string>
#include <vector>

namespace tplbytes {

using testsupport::Bytes;

// An empty collection record after its type key.
inline std::string emptyCollection()
{
    Bytes b;
    b.u8(0);
    b.u8(0); // no objects
    b.i16(10);
    b.i16(5);
    return b.s;
}

// The stream of a new module-marking job.
inline std::string defaultJob()
{
    Bytes b;
    b.u32(1);      // marker borders
    b.u8(1);       // free length
    b.i32(210000); // material
    b.i32(17500);
    b.i32(1);
    b.u32(1); // one row
    b.u32(0);
    b.i32(1);     // preset multiplier
    b.i32(0);     // current
    b.i32(1);     // count
    b.i32(1);     // to add
    b.i32(0);     // left margin
    b.i32(0);     // right margin
    b.i32(17500); // default width
    b.u32(0);
    b.i32(17500);
    b.i32(1);
    b.u8(0);
    b.i32(0);
    return b.s;
}

struct GuideArea {
    std::array<int32_t, 30> ids;
    std::array<std::string, 10> delimiters;
    GuideArea() { ids.fill(-1); }
};

struct Record {
    uint32_t magic = 0x1557779A;
    bool hasFlags = true;
    uint32_t flags = 0x715F;
    uint8_t sortVertical = 0;
    int16_t repeat = 1;
    int32_t sets = 1;
    uint8_t borders = 0;
    int32_t borderColor = 0;
    int32_t borderWidth = 0;
    uint8_t borderOption = 0;
    uint8_t reserved0 = 1;
    uint8_t reserved1 = 1;
    uint8_t contours = 1;
    int32_t leftCompensation = 0;
    int32_t topCompensation = 0;
    std::string device, driver, port;
    std::array<GuideArea, 3> guide;
    std::string label;            // type key and body, as the label code writes it
    int16_t helpKey = 141;
    uint8_t horizontalOn = 0, verticalOn = 0;
    int16_t horizontalStored = 2, verticalStored = 2; // count + 1
    uint8_t contoursAgain = 1;
    std::array<std::string, 3> areas{emptyCollection(), emptyCollection(), emptyCollection()};
    int16_t areaKey = 175;
    uint8_t locked = 0;
    std::string scrambledPassword; // as stored
    std::optional<int16_t> passwordLength; // default: its size
    std::array<int32_t, 3> zoom{-1, -1, -1};
    std::string job = defaultJob();
};

inline std::string encode(const Record& r)
{
    Bytes b;
    b.u32(r.magic);
    const uint32_t f = r.hasFlags ? r.flags : 0;
    if (r.hasFlags)
        b.u32(r.flags);
    if (f & 0x1)
        b.u8(r.sortVertical);
    if (f & 0x2)
        b.i16(r.repeat);
    if (f & 0x400)
        b.i32(r.sets);
    if (f & 0x800) {
        b.u8(r.borders);
        b.i32(r.borderColor);
        b.i32(r.borderWidth);
        b.u8(r.borderOption);
    }
    if (f & 0x4)
        b.u8(r.reserved0);
    if (f & 0x8) {
        b.u8(r.reserved1);
        b.u8(r.contours);
    }
    if (f & 0x20) {
        b.i32(r.leftCompensation);
        b.i32(r.topCompensation);
    }
    if (f & 0x80) {
        b.field(r.device, 81);
        b.field(r.driver, 81);
        b.field(r.port, 81);
    }
    if (f & 0x100) {
        for (const GuideArea& g : r.guide) {
            b.u32(0);
            for (int32_t id : g.ids)
                b.i32(id);
            for (const std::string& d : g.delimiters)
                b.field(d, 11);
        }
    }
    b.raw(r.label);
    b.i16(r.helpKey);
    b.u8(r.horizontalOn);
    b.u8(r.verticalOn);
    b.i16(r.horizontalStored);
    b.i16(r.verticalStored);
    b.u8(r.contoursAgain);
    b.i16(r.areaKey);
    b.raw(r.areas[0]);
    if (f & 0x40) {
        for (int a = 1; a < 3; ++a) {
            b.i16(r.areaKey);
            b.raw(r.areas[size_t(a)]);
        }
    }
    b.u8(r.locked);
    b.i16(r.passwordLength.value_or(int16_t(r.scrambledPassword.size())));
    b.raw(r.scrambledPassword);
    if (f & 0x2000)
        for (int32_t z : r.zoom)
            b.i32(z);
    if (f & 0x4000)
        b.raw(r.job);
    return b.s;
}

} // namespace tplbytes
