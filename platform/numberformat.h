#pragma once
// Decimal numbers as the user types and reads them.
//
// Every number the program parses from or formats into text goes through
// these functions with an explicit decimal separator, never through the C
// library's locale-dependent conversions (printf, strtod, scanf), whose
// separator depends on a process-wide C locale that nobody here controls.
//
// The separator is one byte of the Windows code page the model's texts are
// kept in (',' or '.' in practice). Callers that have no separator at hand
// take the user's from CurrentNumberLocale(), which the application sets at
// start-up from the user's settings and tests set to whatever they need.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class QLocale;

struct NumberLocale {
    char decimalSeparator = '.';
};

// The user's number settings for the whole process ('.' until set).
NumberLocale CurrentNumberLocale();
void SetCurrentNumberLocale(const NumberLocale& locale);
// The settings of a Qt locale; a separator that is not one Latin-1
// character falls back to '.'.
NumberLocale NumberLocaleFrom(const QLocale& locale);

namespace numfmt {

// The separator actually used for `sep`: a byte that would make numbers
// ambiguous (NUL, a digit, a sign, 'e'/'E' or white space) counts as '.'.
// (Inline: number imports call it for every cell.)
inline char EffectiveSeparator(char sep)
{
    if (sep == '\0' || (sep >= '0' && sep <= '9') || sep == '+' || sep == '-' || sep == 'e' || sep == 'E'
        || sep == ' ' || (sep >= '\t' && sep <= '\r'))
        return '.';
    return sep;
}

// Reads the number at the start of `text`, the way the formatted-input
// conversion "%f" does: optional white space (space, tab, CR, LF, VT, FF),
// an optional sign, digits with at most one decimal separator (at least one
// digit on either side of it), and an optional exponent (e or E, optional
// sign, digits; left unread when no digit follows). Whatever follows is
// ignored, so "12abc" reads as 12. Infinity, NaN and hexadecimal forms are
// not numbers here. A value beyond the range of double reads as an
// infinity of its sign, one below it as zero.
//
// Returns nothing when the text does not begin with a number; otherwise the
// value, and in *consumed the number of bytes it took, white space included.
std::optional<double> ParseLeadingNumber(std::string_view text, char decimalSeparator,
                                         size_t* consumed = nullptr);

// `value` as "%.<precision>g" formats it (precision 0 counts as 1, at most
// 40), with `decimalSeparator` in place of the point: 2.5 -> "2,5",
// 1e-07 -> "1e-07", 100000000 -> "1e+08". Infinities and NaN give "inf",
// "-inf" and "nan".
std::string FormatGeneral(double value, int precision, char decimalSeparator);

// "%d" as scanf reads it: white space, an optional sign and decimal
// digits; whatever follows is ignored. Nothing without digits or for a
// value outside the int32 range.
std::optional<int32_t> ScanInt(std::string_view text);

} // namespace numfmt
