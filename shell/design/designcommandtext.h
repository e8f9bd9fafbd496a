#pragma once
// Small shared steps of the design view's commands: whole numbers as its
// ribbon boxes take them and its Yes/No questions.
#include "platform/numberformat.h"
#include "platform/uiservices.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace designcmd {

// "%d" as the ribbon boxes read it.
using numfmt::ScanInt;

// A question with Yes and No (question icon); true for Yes.
inline bool AskYesNo(const std::string& text, const std::string& caption = {})
{
    return Ui().Ask(UserMessage{text, caption, MessageIcon::Question}, MessageButtons::YesNo, MessageAnswer::No) ==
           MessageAnswer::Yes;
}

} // namespace designcmd
