#pragma once
// An independent builder of project files for the tests: every field laid
// down as the format gives it, with the archive string encoding spelled out.
#include "document/template/template_bytes.h"

#include <array>
#include <string>
#include <vector>

namespace projbytes {

using tplbytes::Bytes;

inline std::string magic()
{
    return std::string("\xD3\x48\x3F\x8B\xE6\x14\x35\x47\xBA\xEE\xC8\xF6\x5F\x74\xA9\x3A", 16);
}

// One archive string in its shortest length form.
inline std::string archiveString(const std::string& text)
{
    Bytes b;
    if (text.size() < 255) {
        b.u8(uint8_t(text.size()));
    } else if (text.size() < 0xFFFE) {
        b.u8(0xFF);
        b.i16(int16_t(uint16_t(text.size())));
    } else {
        b.u8(0xFF);
        b.i16(-1);
        b.u32(uint32_t(text.size()));
    }
    b.raw(text);
    return b.s;
}

inline std::string stringArray(const std::vector<std::string>& texts)
{
    Bytes b;
    b.i16(int16_t(uint16_t(texts.size())));
    for (const std::string& t : texts)
        b.raw(archiveString(t));
    return b.s;
}

// A table block; rows of cell texts.
inline std::string table(const std::vector<std::vector<std::string>>& rows = {})
{
    Bytes b;
    b.raw("TABL");
    b.i32(1);
    b.i32(0);
    b.i32(256);
    b.raw(std::string(256, '\0'));
    b.i32(int32_t(rows.size()));
    for (const auto& row : rows) {
        b.i32(int32_t(row.size()));
        for (const std::string& cell : row) {
            b.i32(int32_t(cell.size()));
            b.raw(cell);
        }
    }
    return b.s;
}

// An enabled filter block that includes rows holding `include` in column A.
inline std::string filter(const std::string& include)
{
    Bytes b;
    b.i32(1);
    b.i32(0);
    b.i32(0);
    b.raw(std::string(3, '\0')); // strip characters
    b.u8(1);                      // enabled
    for (int i = 0; i < 3; ++i) {
        b.field(i == 0 ? include : "", 11);
        b.field("", 11);
    }
    b.i32(26);
    for (int k = 0; k < 26; ++k) {
        b.i32(1);
        b.u8(k == 1 ? 0 : 1); // column B hidden
        b.u8(0);
        b.raw(std::string(3, '\0'));
        b.u8(k == 0 ? 1 : 0); // include text 0 searched in column A
        b.u8(0);
        b.u8(0);
        b.raw(std::string(3, '\0'));
    }
    return b.s;
}

inline std::string tableRecord(const std::string& tableBlock, const std::string& filterBlock = {},
                               const std::string& filteredBlock = {})
{
    Bytes b;
    b.i32(filterBlock.empty() ? 0 : 1);
    b.raw(tableBlock);
    b.raw(filterBlock);
    b.raw(filteredBlock);
    return b.s;
}

struct Project {
    int32_t version = 11;
    int32_t revision = 2;
    uint32_t flags = 5;
    std::vector<std::string> templateNames = std::vector<std::string>(256);
    std::vector<std::string> templates; // template records
    uint8_t charSet = 1;
    std::vector<std::string> tableNames = std::vector<std::string>(256);
    std::vector<std::string> tables = {tableRecord(table()), tableRecord(table()), tableRecord(table())};
    uint8_t stackedFirst = 0;
    std::array<uint8_t, 256> stacked{};
};

inline std::string encode(const Project& p)
{
    Bytes b;
    b.raw(magic());
    b.i32(p.version);
    b.i32(p.revision);
    b.u32(p.flags);
    b.raw(stringArray(p.templateNames));
    b.i32(int32_t(p.templates.size()));
    for (const std::string& t : p.templates)
        b.raw(t);
    if (p.flags & 1)
        b.u8(p.charSet);
    b.raw(stringArray(p.tableNames));
    b.i32(int32_t(p.tables.size()));
    for (const std::string& t : p.tables)
        b.raw(t);
    if (p.flags & 2)
        b.u8(p.stackedFirst);
    if (p.flags & 4)
        for (uint8_t s : p.stacked)
            b.u8(s);
    return b.s;
}

} // namespace projbytes
