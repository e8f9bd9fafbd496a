#include "tables/view/tablefill.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace tablefill {

std::optional<Cell> ParseCell(const std::string& text)
{
    // "%c%d": one character, then an optionally signed decimal number
    // after optional white space.
    if (text.empty())
        return std::nullopt;
    const int letter = std::toupper(static_cast<unsigned char>(text[0]));
    size_t i = 1;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i])))
        return std::nullopt;
    int64_t row = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        row = std::min<int64_t>(row * 10 + (text[i] - '0'), int64_t(1) << 40);
    if (negative)
        row = -row;
    if (letter < 'A' || letter > 'Z' || row < 1)
        return std::nullopt;
    return Cell{letter - 'A', row};
}

int64_t SequenceValueCount(int64_t start, int64_t stop, int64_t step, bool reverse)
{
    if (step < 1)
        return 0;
    if (reverse ? start < stop : start > stop)
        return 0;
    const uint64_t span = reverse ? uint64_t(start) - uint64_t(stop) : uint64_t(stop) - uint64_t(start);
    return int64_t(span / uint64_t(step)) + 1;
}

bool FitsRowLimit(int64_t firstRow, int64_t values, int64_t copies, int64_t sets)
{
    if (firstRow < 0 || values < 0 || copies < 0 || sets < 0 || firstRow >= kMaxFillRows)
        return false;
    const int64_t room = kMaxFillRows - firstRow;
    if (values == 0 || copies == 0 || sets == 0)
        return true;
    if (values > room || copies > room / values)
        return false;
    const int64_t perSet = values * copies;
    return sets <= room / perSet;
}

std::string LimitMessage()
{
    char text[160];
    std::snprintf(text, sizeof text, "The fill would reach beyond row %lld of the table. Nothing has been written.",
                  static_cast<long long>(kMaxFillRows));
    return text;
}

} // namespace tablefill
