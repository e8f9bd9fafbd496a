#pragma once
// Small shared steps of the design view's commands: whole numbers as its
// ribbon boxes take them and its Yes/No questions.
#include "platform/uiservices.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace designcmd {

// "%d": white space, an optional sign and decimal digits; whatever
// follows is ignored. Nothing without digits or for a value outside the int range.
inline std::optional<int> ScanInt(std::string_view text)
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
    return int(value);
}

// A question with Yes and No (question icon); true for Yes.
inline bool AskYesNo(const std::string& text, const std::string& caption = {})
{
    return Ui().Ask(UserMessage{text, caption, MessageIcon::Question}, MessageButtons::YesNo, MessageAnswer::No) ==
           MessageAnswer::Yes;
}

} // namespace designcmd
