#include "platform/lengthtext.h"

#include "platform/numberformat.h"

#include <cctype>
#include <cmath>

namespace lengthtext {
namespace {

constexpr size_t kMaxWordLength = 31;

bool isSpace(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// The number at the start of the text and the word after it (empty when
// only white space follows). Nothing when the text does not begin with a
// finite number.
struct NumberAndWord {
    double value = 0;
    std::string word;
};

std::optional<NumberAndWord> readNumberAndWord(std::string_view text)
{
    size_t used = 0;
    const std::optional<double> value =
        numfmt::ParseLeadingNumber(text, CurrentNumberLocale().decimalSeparator, &used);
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    std::string_view rest = text.substr(used);
    while (!rest.empty() && isSpace(rest.front()))
        rest.remove_prefix(1);
    size_t end = 0;
    while (end < rest.size() && end < kMaxWordLength && !isSpace(rest[end]))
        ++end;
    NumberAndWord result{*value, std::string(rest.substr(0, end))};
    for (char& c : result.word)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

std::optional<int32_t> toInt32(double v)
{
    const double r = std::round(v);
    if (!std::isfinite(r) || r < double(INT32_MIN) || r > double(INT32_MAX))
        return std::nullopt;
    return int32_t(r);
}

} // namespace

std::optional<int32_t> ParseLength(std::string_view text, int measure)
{
    const std::optional<NumberAndWord> read = readNumberAndWord(text);
    if (!read)
        return std::nullopt;
    std::string word = read->word;
    if (word.empty()) {
        if (measure == kMetric)
            word = "mm";
        else if (measure == kUS)
            word = "in";
        else
            return std::nullopt;
    }
    double factor = 0;
    if (word == "mm")
        factor = 1000;
    else if (word == "cm")
        factor = 10000;
    else if (word == "in")
        factor = 25400;
    else
        return std::nullopt;
    return toInt32(read->value * factor);
}

std::optional<int32_t> ParsePercent(std::string_view text)
{
    const std::optional<NumberAndWord> read = readNumberAndWord(text);
    if (!read || read->word != "%")
        return std::nullopt;
    return toInt32(read->value);
}

std::string FormatLength(int32_t um, int measure)
{
    const char sep = CurrentNumberLocale().decimalSeparator;
    if (measure == kUS)
        return numfmt::FormatGeneral(um / 25400.0, 5, sep) + " in";
    return numfmt::FormatGeneral(um / 1000.0, 6, sep) + " mm";
}

} // namespace lengthtext
