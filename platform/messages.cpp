#include "platform/messages.h"

#include <cstdio>

namespace {
MessageSink& sink()
{
    static MessageSink s;
    return s;
}
} // namespace

void ShowUserMessage(const UserMessage& message)
{
    if (sink()) {
        sink()(message);
        return;
    }
    std::fprintf(stderr, "%s%s%s\n", message.caption.c_str(), message.caption.empty() ? "" : ": ",
                 message.text.c_str());
}

void ShowUserMessage(const std::string& text, const std::string& caption, MessageIcon icon)
{
    ShowUserMessage(UserMessage{text, caption, icon});
}

MessageSink SetMessageSink(MessageSink s)
{
    MessageSink old = std::move(sink());
    sink() = std::move(s);
    return old;
}
