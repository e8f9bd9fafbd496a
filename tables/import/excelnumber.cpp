#include "tables/import/excelnumber.h"

#include "platform/numberformat.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace excel {

namespace {

// Most decimals printed from the exact value; 5^22 < 2^52 keeps the
// products below within 105 bits.
constexpr int kMaxExactDecimals = 22;

constexpr std::array<uint64_t, kMaxExactDecimals + 1> kPow5 = [] {
    std::array<uint64_t, kMaxExactDecimals + 1> p{};
    p[0] = 1;
    for (size_t i = 1; i < p.size(); ++i)
        p[i] = p[i - 1] * 5;
    return p;
}();

// A finite double as sign * m * 2^e.
struct Binary {
    bool negative = false;
    uint64_t m = 0;
    int e = 0;
    int exponentField = 0;
};

Binary decompose(double value)
{
    const uint64_t bits = std::bit_cast<uint64_t>(value);
    Binary b;
    b.negative = bits >> 63;
    b.exponentField = int(bits >> 52 & 0x7FF);
    const uint64_t fraction = bits & ((uint64_t(1) << 52) - 1);
    if (b.exponentField == 0) {
        b.m = fraction;
        b.e = -1074;
    } else {
        b.m = fraction | uint64_t(1) << 52;
        b.e = b.exponentField - 1075;
    }
    return b;
}

// |value| * 10^decimals rounded to an integer, halves to even, computed from
// the exact binary value (as printf rounds). False when it does not fit in
// 64 bits.
bool scaledRound(const Binary& b, int decimals, uint64_t& q)
{
    const unsigned __int128 p = static_cast<unsigned __int128>(b.m) * kPow5[size_t(decimals)];
    const int t = b.e + decimals;
    if (t >= 0) {
        if (t >= 64 || (p >> (64 - t)) != 0)
            return false;
        q = uint64_t(p << t);
        return true;
    }
    const int s = -t;
    if (s >= 110) { // p < 2^105: less than half
        q = 0;
        return true;
    }
    const unsigned __int128 whole = p >> s;
    if (whole >> 64)
        return false;
    const unsigned __int128 rest = p - (whole << s);
    const unsigned __int128 half = static_cast<unsigned __int128>(1) << (s - 1);
    q = uint64_t(whole);
    if (rest > half || (rest == half && (q & 1))) {
        if (q == UINT64_MAX)
            return false;
        ++q;
    }
    return true;
}

constexpr std::array<uint64_t, 20> kPow10 = [] {
    std::array<uint64_t, 20> p{};
    p[0] = 1;
    for (size_t i = 1; i < p.size(); ++i)
        p[i] = p[i - 1] * 10;
    return p;
}();

// 10^k as the nearest double, for -22 <= k <= 19.
double pow10Double(int k)
{
    static constexpr std::array<double, 42> kTable = [] {
        std::array<double, 42> t{};
        for (int i = 0; i < 42; ++i) {
            // Exact powers of ten up to 10^22 divide to the nearest double.
            double p = 1;
            for (int j = 0; j < (i < 22 ? 22 - i : i - 22); ++j)
                p *= 10;
            t[size_t(i)] = i < 22 ? 1 / p : p;
        }
        return t;
    }();
    return kTable[size_t(k + 22)];
}

// "00" to "99".
constexpr std::array<char, 200> kDigitPairs = [] {
    std::array<char, 200> d{};
    for (size_t i = 0; i < 100; ++i) {
        d[2 * i] = char('0' + i / 10);
        d[2 * i + 1] = char('0' + i % 10);
    }
    return d;
}();

void writePair(char* out, uint32_t pair)
{
    out[0] = kDigitPairs[pair * 2];
    out[1] = kDigitPairs[pair * 2 + 1];
}

// Writes the digits of v so that they end at `end`; returns their start.
char* writeDigitsBackward(char* end, uint32_t v)
{
    while (v >= 100) {
        end -= 2;
        writePair(end, v % 100);
        v /= 100;
    }
    if (v >= 10) {
        end -= 2;
        writePair(end, v);
    } else {
        *--end = char('0' + v);
    }
    return end;
}

char* writeDigitsBackward(char* end, uint64_t q)
{
    // Eight digits at a time in 32-bit arithmetic, four pairs apart.
    while (q >= 100000000) {
        const uint64_t upper = q / 100000000;
        const uint32_t low = uint32_t(q - upper * 100000000);
        const uint32_t high4 = low / 10000, low4 = low % 10000;
        end -= 8;
        writePair(end, high4 / 100);
        writePair(end + 2, high4 % 100);
        writePair(end + 4, low4 / 100);
        writePair(end + 6, low4 % 100);
        q = upper;
    }
    return writeDigitsBackward(end, uint32_t(q));
}

// q / 10^decimals with all its decimals, or without the zeros that end the
// decimals when `dropZeros`; returns the end of the text. The text is put
// together with moves of fixed size (up to 20 digits, a separator and 22
// zeros, within the 96 bytes of a NumberText).
char* writeScaled(char* out, bool negative, uint64_t q, int decimals, char separator, bool dropZeros = false)
{
    constexpr size_t kDigits = 20; // of any 64-bit number
    char text[2 * kDigits] = {};
    char* const textEnd = text + kDigits;
    const char* digits = writeDigitsBackward(textEnd, q);
    int n = int(textEnd - digits);
    if (dropZeros)
        for (; decimals > 0 && n > 1 && digits[n - 1] == '0'; --decimals)
            --n;
    if (negative)
        *out++ = '-';
    if (decimals <= 0) {
        std::memcpy(out, digits, kDigits);
        return out + n;
    }
    if (n <= decimals) {
        // "0", the separator, the zeros the digits leave, the digits.
        out[0] = '0';
        out[1] = separator;
        std::memset(out + 2, '0', kMaxExactDecimals);
        std::memcpy(out + 2 + (decimals - n), digits, kDigits);
        return out + 2 + decimals;
    }
    const int whole = n - decimals;
    std::memcpy(out, digits, kDigits);
    std::memcpy(out + whole + 1, digits + whole, kDigits);
    out[whole] = separator;
    return out + n + 1;
}

std::string_view copyOut(NumberText& buf, std::string_view text, char separator)
{
    const size_t n = std::min(text.size(), buf.size());
    std::copy_n(text.data(), n, buf.data());
    std::replace(buf.data(), buf.data() + n, '.', separator);
    return {buf.data(), n};
}

} // namespace

std::string_view FormatFixedTo(NumberText& buf, double value, int decimals, char separator)
{
    const char sep = numfmt::EffectiveSeparator(separator);
    const Binary b = decompose(value);
    uint64_t q = 0;
    if (b.exponentField != 0x7FF && decimals >= 0 && decimals <= kMaxExactDecimals && scaledRound(b, decimals, q))
        return {buf.data(), size_t(writeScaled(buf.data(), b.negative, q, decimals, sep) - buf.data())};

    char big[400];
    const auto [end, ec] = std::to_chars(big, big + sizeof big, value, std::chars_format::fixed, decimals);
    if (ec != std::errc() || end - big > 80)
        return {};
    return copyOut(buf, std::string_view(big, size_t(end - big)), sep);
}

std::string_view FormatGeneralTo(NumberText& buf, double value, int precision, char separator)
{
    const char sep = numfmt::EffectiveSeparator(separator);
    const int p = std::clamp(precision, 1, 40);
    const Binary b = decompose(value);
    if (b.exponentField != 0x7FF && b.m != 0 && p <= 17) {
        // Find the decimals at which the rounded value has p digits; the
        // exponent of "%e" is then p - 1 - decimals. Start from an estimate
        // of the exponent out of the binary one (off by one at most).
        const int e2 = b.exponentField ? b.exponentField - 1023 : 63 - std::countl_zero(b.m) - 1074;
        int e10 = (e2 * 78913) >> 18;
        // The estimate is one too low for numbers from the next power of
        // ten on; the loop below still corrects what this check misses.
        if (e10 >= -kMaxExactDecimals && e10 < int(kPow10.size()) - 1 && std::fabs(value) >= pow10Double(e10 + 1))
            ++e10;
        int decimals = p - 1 - e10;
        uint64_t q = 0;
        bool found = false;
        for (int tries = 0; tries < 4; ++tries) {
            if (decimals < 0 || decimals > kMaxExactDecimals || !scaledRound(b, decimals, q))
                break;
            if (q >= kPow10[size_t(p)]) {
                --decimals;
            } else if (q < kPow10[size_t(p - 1)]) {
                ++decimals;
            } else {
                found = true;
                break;
            }
        }
        const int exponent = p - 1 - decimals;
        // "%g" prints like "%f" for an exponent of -4 up to p - 1 and drops
        // the trailing zeros of the decimals.
        if (found && exponent >= -4 && exponent < p) {
            char* end = writeScaled(buf.data(), b.negative, q, decimals, sep, true);
            return {buf.data(), size_t(end - buf.data())};
        }
    }
    return copyOut(buf, numfmt::FormatGeneral(value, precision, separator), sep);
}

std::string_view FormatWholeTo(NumberText& buf, double value)
{
    if (!(value < kWholeLimit && value > -kWholeLimit))
        return {}; // NaN too
    const int64_t whole = int64_t(value);
    if (double(whole) != value)
        return {};
    char* const end = buf.data() + buf.size();
    char* p = writeDigitsBackward(end, uint64_t(whole < 0 ? -whole : whole));
    if (std::signbit(value))
        *--p = '-';
    return {p, size_t(end - p)};
}

std::string_view FormatNumberTo(NumberText& buf, double value, std::string_view format, int precision,
                                char separator)
{
    if (format.size() > 2 && format[0] == '0' && format[1] == '.') {
        size_t zeros = 0;
        while (2 + zeros < format.size() && format[2 + zeros] == '0')
            ++zeros;
        const std::string_view out = FormatFixedTo(buf, value, int(zeros), separator);
        if (!out.empty())
            return out;
    }
    const std::string_view whole = FormatWholeTo(buf, value);
    if (!whole.empty())
        return whole;
    return FormatGeneralTo(buf, value, precision, separator);
}

} // namespace excel
