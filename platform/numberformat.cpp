#include "platform/numberformat.h"

#include <QLocale>
#include <QString>

#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

std::atomic<char> g_decimalSeparator{'.'};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

NumberLocale CurrentNumberLocale()
{
    return NumberLocale{g_decimalSeparator.load(std::memory_order_relaxed)};
}

void SetCurrentNumberLocale(const NumberLocale& locale)
{
    g_decimalSeparator.store(numfmt::EffectiveSeparator(locale.decimalSeparator),
                             std::memory_order_relaxed);
}

NumberLocale NumberLocaleFrom(const QLocale& locale)
{
    const QString point = locale.decimalPoint();
    NumberLocale result;
    if (point.size() == 1 && point.at(0).unicode() < 0x100)
        result.decimalSeparator = numfmt::EffectiveSeparator(char(point.at(0).unicode()));
    return result;
}

namespace numfmt {

std::optional<double> ParseLeadingNumber(std::string_view text, char decimalSeparator,
                                         size_t* consumed)
{
    const char sep = EffectiveSeparator(decimalSeparator);
    const size_t n = text.size();
    size_t pos = 0;
    while (pos < n && isBlank(text[pos]))
        ++pos;
    bool negative = false;
    if (pos < n && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const size_t intBegin = pos;
    while (pos < n && isDigit(text[pos]))
        ++pos;
    const std::string_view intDigits = text.substr(intBegin, pos - intBegin);
    std::string_view fracDigits;
    if (pos < n && text[pos] == sep) {
        size_t fracBegin = pos + 1;
        size_t end = fracBegin;
        while (end < n && isDigit(text[end]))
            ++end;
        if (intDigits.empty() && end == fracBegin)
            return std::nullopt; // a separator alone is no number
        fracDigits = text.substr(fracBegin, end - fracBegin);
        pos = end;
    }
    if (intDigits.empty() && fracDigits.empty())
        return std::nullopt;

    // Exponent, only when at least one digit follows the e and its sign.
    int64_t exponent = 0;
    if (pos < n && (text[pos] == 'e' || text[pos] == 'E')) {
        size_t p = pos + 1;
        bool expNegative = false;
        if (p < n && (text[p] == '+' || text[p] == '-')) {
            expNegative = text[p] == '-';
            ++p;
        }
        if (p < n && isDigit(text[p])) {
            constexpr int64_t kCap = 999999999; // far beyond any double
            while (p < n && isDigit(text[p])) {
                if (exponent < kCap)
                    exponent = exponent * 10 + (text[p] - '0');
                ++p;
            }
            if (exponent > kCap)
                exponent = kCap;
            if (expNegative)
                exponent = -exponent;
            pos = p;
        }
    }
    if (consumed)
        *consumed = pos;

    // Convert the digits in a locale-free form.
    std::string plain;
    plain.reserve(intDigits.size() + fracDigits.size() + 16);
    plain.append(intDigits.empty() ? std::string_view("0") : intDigits);
    if (!fracDigits.empty()) {
        plain.push_back('.');
        plain.append(fracDigits);
    }
    plain.push_back('e');
    plain.append(std::to_string(exponent));

    double value = 0;
    const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value,
                                           std::chars_format::general);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        // Order of magnitude of the digits: overflow when positive.
        int64_t magnitude = 0;
        const size_t firstInt = intDigits.find_first_not_of('0');
        if (firstInt != std::string_view::npos) {
            magnitude = int64_t(intDigits.size() - firstInt);
        } else {
            const size_t firstFrac = fracDigits.find_first_not_of('0');
            magnitude = firstFrac == std::string_view::npos ? INT64_MIN / 2 : -int64_t(firstFrac);
        }
        value = magnitude + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (ec != std::errc()) {
        value = 0.0; // cannot happen for the digits built above
    }
    return negative ? -value : value;
}

std::string FormatGeneral(double value, int precision, char decimalSeparator)
{
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    if (precision < 1)
        precision = 1;
    if (precision > 40)
        precision = 40;
    char buf[128];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general,
                                         precision);
    if (ec != std::errc())
        return "0";
    std::string out(buf, end);
    const char sep = EffectiveSeparator(decimalSeparator);
    for (char& c : out)
        if (c == '.')
            c = sep;
    return out;
}

std::optional<int32_t> ScanInt(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const size_t first = i;
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > int64_t(INT32_MAX) + 1)
            return std::nullopt;
    }
    if (i == first)
        return std::nullopt;
    value = negative ? -value : value;
    if (value > INT32_MAX || value < INT32_MIN)
        return std::nullopt;
    return int32_t(value);
}

} // namespace numfmt
