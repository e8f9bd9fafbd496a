#pragma once
// Reading delimited and fixed-width text files into table cells.
//
// The readers walk the bytes to the end or to the first 0x1A (Ctrl-Z). A
// line ends at CR, LF or CR LF; the first line is row 0 and an empty line
// still counts as a row. Bytes 0x20..0xFF are text, other control bytes
// are ignored, and a cell keeps at most 255 bytes.
//
// Character sets: "ANSI" files are taken as the system writes text, which
// here is UTF-8: a file that is valid UTF-8 (with or without its byte-order
// mark) is converted into the table's code page, characters the page lacks
// becoming '?'; any other file is taken byte for byte. "OEM" files are in
// code page 850; each finished cell is converted into the table's code
// page.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace textimport {

constexpr int kColumns = 26;
// A fixed width that never ends its column: it takes the rest of the line.
constexpr uint32_t kNoWidth = 0xFFFFFFFF;
constexpr int kCharSetAnsi = 0;
constexpr int kCharSetOem = 1;
// Largest text file read.
constexpr int64_t kMaxFileSize = int64_t(1) << 30;

using Widths = std::array<uint32_t, kColumns>;

// The choices of the "Text import" settings section.
struct Options {
    bool fixedWidth = false;  // "Format": 0 delimited, else fixed width
    char delimiter = ';';     // "Delimiter": the character's signed 8-bit code
    Widths widths{};          // "Fixed length A".."Z": -1 (kNoWidth) or 0..255
    int charSet = kCharSetAnsi; // "Character set": 0 ANSI, 1 OEM

    // The stored choices, each missing or unusable one at its default (a
    // width outside -1..255 counts as -1).
    static Options FromSettings();
};

// Receives each finished cell: row counted from the first line, column,
// text (not yet converted from OEM). The readers cut a cell to 255 bytes on
// a character boundary of the code page the bytes are in.
using CellSink = std::function<void(int64_t row, int column, std::string& text)>;

// Delimited text: fields end at `delimiter` outside double quotes; a quote
// opens and closes quoted text, two quotes inside give one; consecutive
// delimiters count as one and a line that begins with one puts its first
// field into column 0. A line end also ends quoted text's line, the quotes
// carrying on into the next one.
void ReadDelimited(std::string_view bytes, char delimiter, int codePage, const CellSink& cell);

// Fixed-width text: column c ends when it holds widths[c] bytes (never for
// kNoWidth), trailing spaces are removed (a field of spaces stays one
// space); text beyond the 26th column is dropped.
void ReadFixedWidth(std::string_view bytes, const Widths& widths, int codePage, const CellSink& cell);

// The bytes the readers work on for an "ANSI" file: a valid UTF-8 file
// without its byte-order mark converted into `codePage`, else the file as
// it is. `storage` holds converted bytes; the answer may point into it or
// into `bytes`.
std::string_view PrepareAnsi(std::string_view bytes, int codePage, std::string& storage);

// A finished cell of an "OEM" file converted into `codePage`.
std::string OemToCodePage(std::string_view cell, int codePage);

} // namespace textimport
