#pragma once
// Paper sizes by DMPAPER code, their names, and the mapping to QPageSize.
#include <QPageSize>
#include <cstdint>
#include <string>

// DMPAPER codes with a meaning of their own.
constexpr int kPaperNone = 0;
constexpr int kPaperA4 = 9;
constexpr int kPaperUser = 256;

struct PaperDimensions {
    int32_t width = 0;  // um
    int32_t length = 0; // um
    friend bool operator==(const PaperDimensions&, const PaperDimensions&) = default;
};

// Width x length of a paper code in um; any code without a size (among them
// 0, 13, 24-26, 48 and 49) answers 90 x 60 mm.
PaperDimensions PaperDimensionsForCode(int code);

// The name of a paper code, empty when it has none (codes 1 to 59 have
// names except 44-46, 48 and 49; code 256 is not in this list).
const char* PaperNameForCode(int code);
constexpr const char* kUserDefinedPaperName = "User defined";

// The page size for a paper code: a standard code through its Windows id,
// else a custom size of widthUm x lengthUm (portrait). A custom size of
// zero falls back to A4.
QPageSize PageSizeForPaperCode(int code, int32_t widthUm, int32_t lengthUm);
// The paper code for a page size: its Windows id, or 256 for a custom size.
int PaperCodeForPageSize(const QPageSize& size);
