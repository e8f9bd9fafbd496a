#pragma once
// Number texts of imported cells, written into a caller's buffer. The texts
// are exactly those of "%.<decimals>f" and "%.<precision>g" in the C locale
// (with the decimal separator given in place of the point); the common
// cases are printed directly from the exact binary value, the rest go
// through the standard library's conversions.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace excel {

// Room for any text of FormatNumberTo.
using NumberText = std::array<char, 96>;

// `value` printed like "%.<decimals>f" with the separator given; empty when
// that takes more than 80 characters.
std::string_view FormatFixedTo(NumberText& buf, double value, int decimals, char separator);
// `value` printed like numfmt::FormatGeneral.
std::string_view FormatGeneralTo(NumberText& buf, double value, int precision, char separator);
// Whole numbers below this magnitude print with all their digits.
inline constexpr double kWholeLimit = 1e15;

// A whole number of magnitude below kWholeLimit with all its digits, like
// "%.0f" ("-0" for negative zero); empty for any other number.
std::string_view FormatWholeTo(NumberText& buf, double value);
// The number text of a cell: a format text longer than two characters that
// begins with "0." prints as many decimals as zeros follow that prefix;
// otherwise (or when that prints nothing) a whole number below kWholeLimit
// prints with all its digits and any other number as "%.<precision>g".
// (Article numbers and EANs must keep their digits: "%g" would make
// 3710301 "3.7103e+06".)
std::string_view FormatNumberTo(NumberText& buf, double value, std::string_view format, int precision,
                                char separator);

inline std::string FormatFixed(double value, int decimals, char separator)
{
    NumberText buf;
    return std::string(FormatFixedTo(buf, value, decimals, separator));
}
inline std::string FormatNumber(double value, std::string_view format, int precision, char separator)
{
    NumberText buf;
    return std::string(FormatNumberTo(buf, value, format, precision, separator));
}

} // namespace excel
