#pragma once
// Lengths and percentages as the user types and sees them (ribbon boxes,
// dialogs, the print options), in the user's decimal separator
// (CurrentNumberLocale).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lengthtext {

// Measurement systems: 0 metric, 1 U.S.; kUnitRequired takes no bare
// number.
inline constexpr int kMetric = 0;
inline constexpr int kUS = 1;
inline constexpr int kUnitRequired = -1;

// A number followed by a unit word "mm", "cm" or "in" (any case, the space
// between them optional): micrometres, rounded to the nearest one. A bare
// number takes millimetres (metric) or inches (U.S.), and is refused with
// kUnitRequired. Nothing for any other
// word, another measurement value, a missing number, or a value that is not
// finite or lies outside the 32-bit range.
std::optional<int32_t> ParseLength(std::string_view text, int measure);
// A number followed by the word "%": the number rounded to the nearest
// integer. Nothing otherwise (also outside the 32-bit range).
std::optional<int32_t> ParsePercent(std::string_view text);
// "%g mm" of um / 1000 (metric) or "%.5g in" of um / 25400 (U.S.).
std::string FormatLength(int32_t um, int measure);

} // namespace lengthtext
