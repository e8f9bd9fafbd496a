#pragma once
// Messages for the user from code that has no window of its own (readers,
// model objects). The shell installs a sink that shows message boxes; by
// default they go to standard error; tests install a recording sink.
#include <functional>
#include <string>

enum class MessageIcon { Information, Warning, Error };

struct UserMessage {
    std::string text;    // cp1252 bytes
    std::string caption; // empty: the application's name
    MessageIcon icon = MessageIcon::Information;
};

using MessageSink = std::function<void(const UserMessage&)>;

// Shows (or records) a message.
void ShowUserMessage(const UserMessage& message);
void ShowUserMessage(const std::string& text, const std::string& caption = {},
                     MessageIcon icon = MessageIcon::Information);

// Installs a sink and answers the one it replaces (an empty one restores
// the default).
MessageSink SetMessageSink(MessageSink sink);
