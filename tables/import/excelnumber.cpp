#include "tables/import/excelnumber.h"

#include "platform/numberformat.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdint>

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

int digitCount(uint64_t q)
{
    int n = 0;
    for (; q; q /= 10)
        ++n;
    return n;
}

// q / 10^decimals with all its decimals; returns the end of the text.
char* writeScaled(char* out, bool negative, uint64_t q, int decimals, char separator)
{
    char digits[kMaxExactDecimals + 24];
    int n = 0;
    do {
        digits[n++] = char('0' + q % 10);
        q /= 10;
    } while (q);
    while (n <= decimals)
        digits[n++] = '0';
    if (negative)
        *out++ = '-';
    for (int i = n - 1; i >= 0; --i) {
        if (i == decimals - 1)
            *out++ = separator;
        *out++ = digits[i];
    }
    return out;
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
        int decimals = p - 1 - ((e2 * 78913) >> 18);
        uint64_t q = 0;
        int n = -1;
        for (int tries = 0; tries < 4 && n != p; ++tries) {
            if (decimals < 0 || decimals > kMaxExactDecimals || !scaledRound(b, decimals, q))
                break;
            n = digitCount(q);
            if (n != p)
                decimals += n < p ? 1 : -1;
        }
        const int exponent = p - 1 - decimals;
        // "%g" prints like "%f" for an exponent of -4 up to p - 1 and drops
        // the trailing zeros of the decimals.
        if (n == p && exponent >= -4 && exponent < p) {
            char* end = writeScaled(buf.data(), b.negative, q, decimals, sep);
            if (decimals > 0) {
                while (end[-1] == '0')
                    --end;
                if (end[-1] == sep)
                    --end;
            }
            return {buf.data(), size_t(end - buf.data())};
        }
    }
    return copyOut(buf, numfmt::FormatGeneral(value, precision, separator), sep);
}

std::string_view FormatNumberTo(NumberText& buf, double value, std::string_view format, int precision,
                                char separator)
{
    if (format.size() > 2 && format.substr(0, 2) == "0.") {
        size_t zeros = 0;
        while (2 + zeros < format.size() && format[2 + zeros] == '0')
            ++zeros;
        const std::string_view out = FormatFixedTo(buf, value, int(zeros), separator);
        if (!out.empty())
            return out;
    }
    return FormatGeneralTo(buf, value, precision, separator);
}

} // namespace excel
