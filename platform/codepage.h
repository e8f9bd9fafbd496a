#pragma once
// Windows code pages: the byte strings of the model are in the code page
// that the font's character set names (cp1252 for ANSI and DEFAULT) and are
// converted to Unicode only where they meet Qt (painting, editing, clipboard).
#include <QString>

#include <cstdint>
#include <string>
#include <string_view>

namespace codepage {

constexpr int kSymbol = 42;   // CP_SYMBOL: bytes map to U+F000 + byte
constexpr int kAnsi = 1252;
// The OEM code page of text files marked "OEM" (Western European DOS).
constexpr int kOem = 850;

// The code page of a LOGFONT character set (ANSI and DEFAULT: 1252).
int ForCharset(uint8_t charset);

// Bytes in `codePage` to Unicode. Single-byte pages map every byte (bytes
// the page leaves undefined keep their value as U+0080..U+009F, as Windows
// does); multi-byte pages replace invalid sequences with U+FFFD.
QString ToUnicode(std::string_view bytes, int codePage = kAnsi);

// Equality of two cp1252 byte strings ignoring case (ASCII and the
// accented Latin letters of the page).
bool EqualsNoCase(std::string_view a, std::string_view b);
// Whether `text` begins with `prefix`, ignoring case as EqualsNoCase does.
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

// Unicode to bytes in `codePage`; characters the page lacks become '?'.
std::string FromUnicode(const QString& text, int codePage = kAnsi);

} // namespace codepage
