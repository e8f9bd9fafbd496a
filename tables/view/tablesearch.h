#pragma once
// Text search in table cells: case folding in the table's code page,
// whole-cell and substring matches, and replacing the first occurrence.
// Cells are bytes in the table's code page, at most 255 of them.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace tablesearch {

constexpr size_t kMaxCellBytes = 255;

// Upper-cases byte by byte in one code page. Single-byte pages fold every
// letter whose upper case is a byte of the same page; multi-byte pages fold
// only ASCII letters and leave both bytes of a two-byte character alone, so
// a folded text has its characters at the same byte offsets.
class CaseFolder {
public:
    explicit CaseFolder(int codePage);
    int CodePage() const { return m_codePage; }
    std::string Fold(std::string_view text) const;

private:
    int m_codePage;
    bool m_multiByte = false;
    std::array<unsigned char, 256> m_upper{};
};

// The byte offset of the first occurrence of `text` in `cell`, or npos.
size_t FindFirst(std::string_view cell, std::string_view text, bool matchCase, const CaseFolder& folder);

// Whole word: the cell equals the text; else the text occurs in the cell.
bool Matches(std::string_view cell, std::string_view text, bool matchCase, bool wholeWord,
             const CaseFolder& folder);

// The cell with its first occurrence of `text` replaced, cut to 255 bytes
// on a character boundary; the cell unchanged when there is none.
std::string ReplaceFirstOccurrence(std::string_view cell, std::string_view text, std::string_view replacement,
                                   bool matchCase, const CaseFolder& folder);

} // namespace tablesearch
