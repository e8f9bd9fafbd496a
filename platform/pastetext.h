#pragma once
// The text of a paste or drop into a grid: lines split at line feeds,
// fields split at tabs, each field trimmed of white space at both ends.
// The text comes from other programs and is read defensively: it ends at
// its first NUL, fields are cut to the cell limit on a character boundary,
// fields and lines beyond the limits are dropped.
#include "platform/codepage.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace pastetext {

struct Limits {
    size_t maxFieldBytes = 255;
    int maxFields = 256; // per line
    int maxLines = 1 << 22;
    int codePage = codepage::kAnsi;
};

struct Extent {
    int lines = 0;     // lines delivered
    int maxFields = 0; // fields of the widest delivered line
};

// Calls `field(line, column, text)` for every field, line by line, left to
// right. A line feed that ends the text opens no further line (text copied
// from a spreadsheet ends with one; that line would empty a cell below).
Extent Visit(std::string_view text, const Limits& limits,
             const std::function<void(int line, int column, const std::string& text)>& field);

} // namespace pastetext
