// A MessageSink that keeps every message shown, for assertions.
#pragma once

#include <string>
#include <vector>

#include "quiz/message_sink.h"

namespace kelvo::testing {

class RecordingMessageSink : public MessageSink {
public:
    struct Message {
        std::string text;
        std::string caption;
        bool operator==(const Message& other) const { return text == other.text && caption == other.caption; }
    };
    void showMessage(const char* text, const char* caption) override { messages.push_back({text, caption}); }
    std::vector<Message> messages;
};

}  // namespace kelvo::testing
