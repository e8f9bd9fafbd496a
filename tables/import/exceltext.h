#pragma once
// Texts of Excel 97 and later workbooks (BIFF8): a character count, option
// flags and the characters, either compressed (one byte per character, the
// low byte of its UTF-16 code) or UTF-16, optionally followed by rich-text
// runs and East Asian phonetic data, which are skipped. A text may run on
// into the CONTINUE records that follow its record; every continuation of
// the characters starts with a new option byte, so a text can switch
// between compressed and UTF-16 there. The characters come out in the
// table's Windows code page.
#include "tables/import/excelstream.h"

#include <string>
#include <string_view>

class CExcelTextReader {
public:
    // Reads from `body` (the current record, already read from `stream`)
    // starting at `offset`; continuations are read from `stream`.
    CExcelTextReader(CExcelStream& stream, std::string_view body, size_t offset, int codePage);

    // One text with a 16-bit character count (8-bit with `shortCount`).
    // False when the data ends inside it or a continuation is missing (what
    // `out` then holds is of no use).
    bool ReadText(std::string& out, bool shortCount = false);
    // True when the current body is used up.
    bool AtBodyEnd() const { return m_pos >= m_body.size(); }
    // Moves on to the next record when it is CONTINUE; false (and the
    // stream unmoved) otherwise.
    bool NextContinue();

private:
    bool ReadRaw(void* out, size_t n);
    bool Skip(uint64_t n);

    CExcelStream& m_stream;
    std::string_view m_body;
    size_t m_pos;
    int m_codePage;
};

namespace excel {
// Text whose characters are the given UTF-16 codes (or, for `latin1`, the
// bytes as codes 0..255) in the Windows code page `codePage`.
std::string FromLatin1(std::string_view latin1, int codePage);
std::string FromUtf16(std::u16string_view text, int codePage);
} // namespace excel
