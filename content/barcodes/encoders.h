#pragma once
// Pure encoders of the linear symbologies: text -> symbol characters or
// codewords -> bars laid out along the symbol in pixels.
//
// Nothing here touches a device. A layout is computed for given pixel
// sizes (narrow element n, wide element w, gap correction g, bar height)
// and lists every bar by its offset and width along the symbol; drawing
// maps each bar onto the device for the rotation. With n = 1, w = the wide
// element in modules and g = 0 the layout is the plain module pattern.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace barcodes {

// Longest text a Code 39 symbol and a 2 of 5 digit string take; longer
// texts are cut there.
constexpr size_t kMaxLinearChars = 200;
// Most codewords of a Code 128 symbol (start, data, check and stop).
constexpr size_t kMaxCode128Codewords = 201;
// Longest human-readable line drawn under a linear symbol.
constexpr size_t kMaxHumanReadable = 100;

// One bar: offset and width along the symbol, pixels.
struct BarRun {
    int64_t offset = 0;
    int64_t width = 0;
    bool longBar = false; // EAN guard bars (and the UPC-A outer digits)
    friend bool operator==(const BarRun&, const BarRun&) = default;
};

// One human-readable digit of the EAN family.
struct LayoutChar {
    int64_t offset = 0; // along the symbol
    char ch = '0';
    bool centred = false; // offset is the centre of the character, not its left
};

struct LinearLayout {
    std::vector<BarRun> bars;
    std::vector<LayoutChar> chars; // EAN family only
    int64_t width = 0;             // the symbol's width in pixels (as GetWidth counts it)
    // Pixels per inch along and across the symbol the EAN digits are sized
    // for (0 when not known).
    int resAlong = 0;
    int resAcross = 0;
};

// Pixel sizes a layout is made for.
struct LayoutMetrics {
    int32_t n = 1;           // narrow element (one module)
    int32_t w = 2;           // wide element (Code 39, 2 of 5)
    int32_t g = 0;           // gap correction, added to spaces
    bool quietZones = false;
};

// Alternating bar and space widths from the first bar to the last,
// the module pattern when the layout was made with n = 1 and g = 0.
std::vector<int64_t> RunLengths(const LinearLayout& layout);
// The layout as a row of pixels ('1' bar, '0' space) from offset 0 to the
// end of the last bar.
std::string PixelRow(const LinearLayout& layout);

// --- Code 39 ---------------------------------------------------------------
// Value 0..42 of a Code 39 character, -1 outside the set.
int Code39Value(unsigned char c);
// The character drawn for a text character (space for one outside the set).
char Code39Drawn(unsigned char c);
// Whether a Code 39 symbol carries the text as it is: at most
// kMaxLinearChars characters, each of the 43 of the set.
bool Code39CanEncode(std::string_view text);
// The check character: sum of the values of the characters as drawn, mod 43.
char Code39CheckChar(std::string_view text);
// The characters of the symbol: start, text (at most kMaxLinearChars,
// replaced as drawn), check character when asked, stop.
std::string Code39Symbols(std::string_view text, bool addCheck);
// Nine elements, bar first; bit 8 - i set when element i is wide.
uint16_t Code39Pattern(char c);
LinearLayout LayoutCode39(std::string_view text, bool addCheck, const LayoutMetrics& m);

// --- Interleaved 2 of 5 -----------------------------------------------------
// Check digit (weights 3 and 1 from the rightmost digit, mod 10).
int Mod10CheckDigit(std::string_view digits);
// The digits drawn: non-digits as 0, at most kMaxLinearChars, the check
// digit when asked, a leading 0 when the count is odd.
std::string ItfDigits(std::string_view text, bool addCheck);
// Whether the digits drawn are the text: at most kMaxLinearChars
// characters, all digits (the leading 0 of an odd count keeps the number).
bool ItfCanEncode(std::string_view text);
LinearLayout LayoutItf(std::string_view text, bool addCheck, const LayoutMetrics& m);

// --- Code 128 ----------------------------------------------------------------
constexpr int kCode128Shift = 98;
constexpr int kCode128CodeC = 99;
constexpr int kCode128CodeB = 100;
constexpr int kCode128CodeA = 101;
constexpr int kCode128FNC1 = 102;
constexpr int kCode128StartA = 103;
constexpr int kCode128StartB = 104;
constexpr int kCode128StartC = 105;
constexpr int kCode128Stop = 106;
// The byte that stands for FNC1 in an EAN 128 text.
constexpr unsigned char kEan128FNC1Char = 0xB6;

// Codewords of the symbol: start, (FNC1 for EAN 128), data, check, stop.
// Empty when the text is empty, holds a byte no code set can hold, or
// needs more than kMaxCode128Codewords.
std::optional<std::vector<int>> Code128Codewords(std::string_view text, bool ean128);
// Element widths in modules, bar first: six per codeword, seven for stop.
std::vector<uint8_t> Code128Pattern(int codeword);
// Layout of the codewords; empty layout for an empty list.
LinearLayout LayoutCode128(const std::vector<int>& codewords, const LayoutMetrics& m);

// --- EAN 13, UPC-A, EAN 8 -----------------------------------------------------
// `count` digits: the text padded on the left with 0 to count - 1 digits,
// cut to count - 1 (non-digits read as 0), then the check digit.
std::string EanDigits(std::string_view text, int count);
// The 13 digits of a UPC-A symbol: 0, the first 11 digits of the text
// (padded on the left with 0, non-digits read as 0), the check digit. A
// supplied twelfth (check) digit is dropped and computed afresh.
std::string UpcaDigits(std::string_view text);
// 0 = number set A, 1 = set B for digit position 1..6 of the left half
// (digits 2..7) of an EAN 13 symbol with the given first digit.
int EanParity(int position, int firstDigit);
// Seven modules of a digit in set 0 (A), 1 (B) or 2 (C); bit 6 - i is module i.
uint8_t EanPattern(int digit, int set);

enum class EanKind { EAN13, UPCA, EAN8 };
// Whether the symbol carries the text: digits only, no more than the
// symbol's digits before its check digit (12 for EAN 13, 11 for UPC-A, 7
// for EAN 8; fewer are padded with leading 0), or one more when that one
// is the right check digit (it is dropped and computed again).
bool EanCanEncode(EanKind kind, std::string_view text);
// The layout from offset 11n: guards, digits, bar extension flags and the
// human-readable digits (EAN 13: the first digit at offset 0, UPC-A: the
// first and last outside the bars, EAN 8: centred under their digits).
LinearLayout LayoutEan(EanKind kind, std::string_view text, const LayoutMetrics& m);

} // namespace barcodes
