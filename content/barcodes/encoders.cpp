#include "content/barcodes/encoders.h"

#include <algorithm>

namespace barcodes {

namespace {

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
// Characters only code set A holds.
bool IsControl(unsigned char c) { return c < 32; }
// Characters only code set B holds: the lowercase letters and the other
// codes 96..127 (` { | } ~ DEL).
bool IsSetBOnly(unsigned char c) { return c >= 96 && c <= 127; }

const char kCode39Chars[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";

// Wide elements of the 43 characters and '*', bar first, as written in
// the symbology's table (1 = wide).
const char* const kCode39Patterns[44] = {
    "000110100", "100100001", "001100001", "101100000", "000110001", "100110000", "001110000",
    "000100101", "100100100", "001100100", "100001001", "001001001", "101001000", "000011001",
    "100011000", "001011000", "000001101", "100001100", "001001100", "000011100", "100000011",
    "001000011", "101000010", "000010011", "100010010", "001010010", "000000111", "100000110",
    "001000110", "000010110", "110000001", "011000001", "111000000", "010010001", "110010000",
    "011010000", "010000101", "110000100", "011000100", "010101000", "010100010", "010001010",
    "000101010", "010010100",
};

// 2 of 5 digit patterns, five elements (1 = wide).
const char* const kItfPatterns[10] = {
    "00110", "10001", "01001", "11000", "00101", "10100", "01100", "00011", "10010", "01010",
};

// Code 128 element widths, bar first; the stop character has seven.
const char* const kCode128Patterns[107] = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212",
    "221213", "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221",
    "223211", "221132", "221231", "213212", "223112", "312131", "311222", "321122", "321221",
    "312212", "322112", "322211", "212123", "212321", "232121", "111323", "131123", "131321",
    "112313", "132113", "132311", "211313", "231113", "231311", "112133", "112331", "132131",
    "113123", "113321", "133121", "313121", "211331", "231131", "213113", "213311", "213131",
    "311123", "311321", "331121", "312113", "312311", "332111", "314111", "221411", "431111",
    "111224", "111422", "121124", "121421", "141122", "141221", "112214", "112412", "122114",
    "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111", "111242",
    "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211", "212141",
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311",
    "113141", "114131", "311141", "411131", "211412", "211214", "211232", "2331112",
};

// EAN number set A; set C is its complement, set B set C reversed.
const uint8_t kEanSetA[10] = {0x0D, 0x19, 0x13, 0x3D, 0x23, 0x31, 0x2F, 0x3B, 0x37, 0x0B};

// Parity of digits 2..7 of an EAN 13 symbol by its first digit (1 = set B).
const char* const kEanParity[10] = {
    "000000", "001011", "001101", "001110", "010011", "011001", "011100", "010101", "010110", "011010",
};

} // namespace

std::vector<int64_t> RunLengths(const LinearLayout& layout)
{
    std::vector<BarRun> bars = layout.bars;
    std::stable_sort(bars.begin(), bars.end(), [](const BarRun& a, const BarRun& b) { return a.offset < b.offset; });
    std::vector<int64_t> runs;
    int64_t end = 0;
    for (size_t i = 0; i < bars.size(); ++i) {
        if (i > 0)
            runs.push_back(bars[i].offset - end);
        runs.push_back(bars[i].width);
        end = bars[i].offset + bars[i].width;
    }
    return runs;
}

std::string PixelRow(const LinearLayout& layout)
{
    int64_t end = 0;
    for (const BarRun& b : layout.bars)
        end = std::max(end, b.offset + b.width);
    std::string row(size_t(std::clamp<int64_t>(end, 0, 1 << 24)), '0');
    for (const BarRun& b : layout.bars)
        for (int64_t x = std::max<int64_t>(b.offset, 0); x < b.offset + b.width && x < int64_t(row.size()); ++x)
            row[size_t(x)] = '1';
    return row;
}

// --- Code 39 -------------------------------------------------------------------

int Code39Value(unsigned char c)
{
    if (c == 0)
        return -1;
    const char* p = std::char_traits<char>::find(kCode39Chars, 43, char(c));
    return p ? int(p - kCode39Chars) : -1;
}

char Code39Drawn(unsigned char c)
{
    return Code39Value(c) < 0 ? ' ' : char(c);
}

bool Code39CanEncode(std::string_view text)
{
    if (text.size() > kMaxLinearChars)
        return false;
    for (char c : text)
        if (Code39Value(static_cast<unsigned char>(c)) < 0)
            return false;
    return true;
}

char Code39CheckChar(std::string_view text)
{
    // A character outside the set counts as the space it is drawn as, so
    // the check character matches the symbol a scanner reads.
    int sum = 0;
    for (size_t i = 0; i < text.size() && i < kMaxLinearChars; ++i)
        sum += Code39Value(static_cast<unsigned char>(Code39Drawn(static_cast<unsigned char>(text[i]))));
    return kCode39Chars[sum % 43];
}

std::string Code39Symbols(std::string_view text, bool addCheck)
{
    if (text.size() > kMaxLinearChars)
        text = text.substr(0, kMaxLinearChars);
    std::string s = "*";
    for (char c : text)
        s += Code39Drawn(static_cast<unsigned char>(c));
    if (addCheck)
        s += Code39CheckChar(text);
    s += '*';
    return s;
}

uint16_t Code39Pattern(char c)
{
    const int v = c == '*' ? 43 : Code39Value(static_cast<unsigned char>(c));
    const char* p = kCode39Patterns[v < 0 ? 38 : v];
    uint16_t bits = 0;
    for (int i = 0; i < 9; ++i)
        bits = uint16_t((bits << 1) | (p[i] == '1' ? 1 : 0));
    return bits;
}

LinearLayout LayoutCode39(std::string_view text, bool addCheck, const LayoutMetrics& m)
{
    LinearLayout out;
    if (text.empty())
        return out;
    const std::string symbols = Code39Symbols(text, addCheck);
    const int64_t n = m.n, w = m.w, g = m.g;
    int64_t o = m.quietZones ? 10 * n : 0;
    for (char c : symbols) {
        const uint16_t pattern = Code39Pattern(c);
        for (int i = 0; i < 9; ++i) {
            const int64_t width = (pattern >> (8 - i)) & 1 ? w : n;
            if (i % 2 == 0) {
                out.bars.push_back({o, width, false});
                o += width;
            } else {
                o += width + g;
            }
        }
        o += g + n;
    }
    const int64_t chars = int64_t(symbols.size());
    out.width = chars * (3 * w + 5 * g + 7 * n) - g - n + (m.quietZones ? 20 * n : 0);
    return out;
}

// --- Interleaved 2 of 5 ---------------------------------------------------------

int Mod10CheckDigit(std::string_view digits)
{
    int sum = 0;
    int weight = 3;
    for (size_t i = digits.size(); i-- > 0;) {
        const unsigned char c = static_cast<unsigned char>(digits[i]);
        sum += (IsDigit(c) ? c - '0' : 0) * weight;
        weight = 4 - weight;
    }
    return (10 - sum % 10) % 10;
}

std::string ItfDigits(std::string_view text, bool addCheck)
{
    std::string d;
    for (size_t i = 0; i < text.size() && i < kMaxLinearChars; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        d += IsDigit(c) ? char(c) : '0';
    }
    if (addCheck)
        d += char('0' + Mod10CheckDigit(d));
    if (d.size() % 2)
        d.insert(d.begin(), '0');
    return d;
}

bool ItfCanEncode(std::string_view text)
{
    return text.size() <= kMaxLinearChars &&
           std::all_of(text.begin(), text.end(), [](char c) { return IsDigit(static_cast<unsigned char>(c)); });
}

LinearLayout LayoutItf(std::string_view text, bool addCheck, const LayoutMetrics& m)
{
    LinearLayout out;
    if (text.empty())
        return out;
    const std::string digits = ItfDigits(text, addCheck);
    const int64_t n = m.n, w = m.w, g = m.g;
    int64_t o = m.quietZones ? 10 * n : 0;
    for (int i = 0; i < 2; ++i) {
        out.bars.push_back({o, n, false});
        o += n + n + g;
    }
    for (size_t i = 0; i + 1 < digits.size(); i += 2) {
        const char* bars = kItfPatterns[digits[i] - '0'];
        const char* spaces = kItfPatterns[digits[i + 1] - '0'];
        for (int k = 0; k < 5; ++k) {
            const int64_t bw = bars[k] == '1' ? w : n;
            const int64_t sw = spaces[k] == '1' ? w : n;
            out.bars.push_back({o, bw, false});
            o += bw + sw + g;
        }
    }
    out.bars.push_back({o, w, false});
    o += w + n + g;
    out.bars.push_back({o, n, false});
    const int64_t pairs = int64_t(digits.size() / 2);
    out.width = w + 6 * n + 3 * g + pairs * (5 * g + 4 * w + 6 * n) + (m.quietZones ? 20 * n : 0);
    return out;
}

// --- Code 128 ------------------------------------------------------------------

std::optional<std::vector<int>> Code128Codewords(std::string_view text, bool ean128)
{
    if (text.empty())
        return std::nullopt;
    const size_t len = text.size();
    auto at = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    auto digitsAt = [&](size_t p, size_t k) {
        if (p + k > len)
            return false;
        for (size_t i = p; i < p + k; ++i)
            if (!IsDigit(at(i)))
                return false;
        return true;
    };
    // The first character only set A (true) or only set B holds, from p on.
    auto controlFirst = [&](size_t p) {
        for (size_t i = p; i < len; ++i) {
            if (IsControl(at(i)))
                return true;
            if (IsSetBOnly(at(i)))
                return false;
        }
        return false;
    };

    enum Set { A, B, C };
    Set set;
    std::vector<int> cw;
    if (digitsAt(0, 4)) {
        set = C;
        cw.push_back(kCode128StartC);
    } else if (controlFirst(0)) {
        set = A;
        cw.push_back(kCode128StartA);
    } else {
        set = B;
        cw.push_back(kCode128StartB);
    }
    if (ean128)
        cw.push_back(kCode128FNC1);

    size_t p = 0;
    while (p < len) {
        if (cw.size() + 2 > kMaxCode128Codewords) // room for check and stop
            return std::nullopt;
        const unsigned char c = at(p);
        if (ean128 && c == kEan128FNC1Char) {
            cw.push_back(kCode128FNC1);
            ++p;
            continue;
        }
        if (set != C && digitsAt(p, 4)) {
            size_t run = 0;
            while (p + run < len && IsDigit(at(p + run)))
                ++run;
            if (run % 2 == 0) {
                cw.push_back(kCode128CodeC);
                set = C;
                continue;
            }
        }
        if (set == B && IsControl(c)) {
            // Shift for a single control character among set B ones.
            bool setBFirst = false;
            for (size_t i = p + 1; i < len; ++i) {
                if (IsControl(at(i)))
                    break;
                if (IsSetBOnly(at(i))) {
                    setBFirst = true;
                    break;
                }
            }
            if (setBFirst) {
                cw.push_back(kCode128Shift);
                cw.push_back(c + 64);
                ++p;
            } else {
                cw.push_back(kCode128CodeA);
                set = A;
            }
            continue;
        }
        if (set == A && IsSetBOnly(c)) {
            if (p + 1 < len && IsControl(at(p + 1))) {
                cw.push_back(kCode128Shift);
                cw.push_back(c - 32);
                ++p;
            } else {
                cw.push_back(kCode128CodeB);
                set = B;
            }
            continue;
        }
        if (set == C && !digitsAt(p, 2)) {
            if (controlFirst(p)) {
                cw.push_back(kCode128CodeA);
                set = A;
            } else {
                cw.push_back(kCode128CodeB);
                set = B;
            }
            continue;
        }
        int value = -1;
        if (set == A) {
            if (IsControl(c))
                value = c + 64;
            else if (c >= 32 && c <= 95)
                value = c - 32;
            ++p;
        } else if (set == B) {
            if (c >= 32 && c <= 127)
                value = c - 32;
            ++p;
        } else {
            value = (c - '0') * 10 + (at(p + 1) - '0');
            p += 2;
        }
        if (value < 0) // no code set holds this byte
            return std::nullopt;
        cw.push_back(value);
    }
    if (cw.size() + 2 > kMaxCode128Codewords)
        return std::nullopt;
    int64_t sum = cw[0];
    for (size_t i = 1; i < cw.size(); ++i)
        sum += int64_t(i) * cw[i];
    cw.push_back(int(sum % 103));
    cw.push_back(kCode128Stop);
    return cw;
}

std::vector<uint8_t> Code128Pattern(int codeword)
{
    std::vector<uint8_t> widths;
    if (codeword < 0 || codeword > kCode128Stop)
        return widths;
    for (const char* p = kCode128Patterns[codeword]; *p; ++p)
        widths.push_back(uint8_t(*p - '0'));
    return widths;
}

LinearLayout LayoutCode128(const std::vector<int>& codewords, const LayoutMetrics& m)
{
    LinearLayout out;
    if (codewords.empty())
        return out;
    const int64_t n = m.n, g = m.g;
    int64_t o = m.quietZones ? 10 * n : 0;
    for (int cw : codewords) {
        const std::vector<uint8_t> widths = Code128Pattern(cw);
        for (size_t i = 0; i < widths.size(); ++i) {
            const int64_t width = widths[i] * n;
            if (i % 2 == 0) {
                out.bars.push_back({o, width, false});
                o += width;
            } else {
                o += width + g;
            }
        }
    }
    out.width = (3 * g + 11 * n) * int64_t(codewords.size()) + 2 * n + (m.quietZones ? 20 * n : 0);
    return out;
}

// --- EAN family --------------------------------------------------------------------

std::string EanDigits(std::string_view text, int count)
{
    const size_t body = size_t(std::max(count, 1) - 1);
    std::string d;
    for (size_t i = 0; i < text.size() && i < body; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        d += IsDigit(c) ? char(c) : '0';
    }
    if (d.size() < body)
        d.insert(0, body - d.size(), '0');
    d += char('0' + Mod10CheckDigit(d));
    return d;
}

std::string UpcaDigits(std::string_view text)
{
    std::string digits(1, '0');
    digits += std::string_view(EanDigits(text, 12)).substr(0, 11);
    return EanDigits(digits, 13);
}

bool EanCanEncode(EanKind kind, std::string_view text)
{
    const size_t body = kind == EanKind::EAN13 ? 12 : kind == EanKind::UPCA ? 11 : 7;
    if (!std::all_of(text.begin(), text.end(), [](char c) { return IsDigit(static_cast<unsigned char>(c)); }))
        return false;
    if (text.size() <= body)
        return true;
    return text.size() == body + 1 && text[body] - '0' == Mod10CheckDigit(text.substr(0, body));
}

int EanParity(int position, int firstDigit)
{
    if (position < 1 || position > 6 || firstDigit < 0 || firstDigit > 9)
        return 0;
    return kEanParity[firstDigit][position - 1] - '0';
}

uint8_t EanPattern(int digit, int set)
{
    if (digit < 0 || digit > 9)
        digit = 0;
    const uint8_t a = kEanSetA[digit];
    const uint8_t c = uint8_t(~a & 0x7F);
    if (set == 0)
        return a;
    if (set == 2)
        return c;
    uint8_t b = 0; // set C reversed
    for (int i = 0; i < 7; ++i)
        if (c & (1 << i))
            b = uint8_t(b | (1 << (6 - i)));
    return b;
}

LinearLayout LayoutEan(EanKind kind, std::string_view text, const LayoutMetrics& m)
{
    LinearLayout out;
    const int count = kind == EanKind::EAN8 ? 8 : 13;
    const std::string digits = kind == EanKind::UPCA ? UpcaDigits(text) : EanDigits(text, count);
    const int64_t n = m.n, g = m.g;
    int64_t o = 11 * n;
    auto bar = [&](bool isLong) {
        out.bars.push_back({o, n, isLong});
        o += n;
    };
    auto space = [&]() { o += n + g; };
    auto digit = [&](int d, int set, bool isLong, int index) {
        const uint8_t pattern = EanPattern(d, set);
        const int64_t start = o;
        int barNo = 0;
        for (int i = 0; i < 7;) {
            if (pattern & (1 << (6 - i))) {
                int len = 0;
                while (i + len < 7 && (pattern & (1 << (6 - i - len))))
                    ++len;
                ++barNo;
                out.bars.push_back({start + i * n + barNo * g, len * n, isLong});
                i += len;
            } else {
                ++i;
            }
        }
        if (kind == EanKind::EAN8)
            out.chars.push_back({start + (8 * n + 2 * g + 1) / 2, digits[size_t(index)], true});
        else if (kind == EanKind::EAN13 || (index >= 2 && index <= 11))
            out.chars.push_back({start, digits[size_t(index)], false});
        o = start + 7 * n + 2 * g;
    };

    const int half = kind == EanKind::EAN8 ? 4 : 6;
    const int first = kind == EanKind::EAN8 ? 0 : 1; // index of the first digit drawn as bars
    const int firstDigit = digits[0] - '0';
    if (kind == EanKind::EAN13)
        out.chars.push_back({0, digits[0], false});
    if (kind == EanKind::UPCA)
        out.chars.push_back({0, digits[1], false});
    bar(true);
    space();
    bar(true);
    for (int i = 0; i < half; ++i) {
        const int index = first + i;
        int set = 0;
        if (kind == EanKind::EAN13)
            set = EanParity(i + 1, firstDigit);
        digit(digits[size_t(index)] - '0', set, kind == EanKind::UPCA && index == 1, index);
    }
    space();
    bar(true);
    space();
    bar(true);
    space();
    for (int i = 0; i < half; ++i) {
        const int index = first + half + i;
        digit(digits[size_t(index)] - '0', 2, kind == EanKind::UPCA && index == 12, index);
    }
    bar(true);
    space();
    bar(true);
    if (kind == EanKind::UPCA)
        out.chars.push_back({o + 2 * n, digits[12], false});

    switch (kind) {
    case EanKind::EAN13: out.width = 106 * n + 29 * g + (m.quietZones ? 7 * n : 0); break;
    case EanKind::UPCA: out.width = 117 * n + 29 * g; break;
    // EAN 8 has 21 gap-corrected spaces (16 in its digits, 5 in its
    // guards), not the 29 of EAN 13: its width is the width drawn.
    case EanKind::EAN8: out.width = 89 * n + 21 * g; break;
    }
    return out;
}

} // namespace barcodes
