// Where the portable core shows a message to the user: MessageBoxA on
// Windows (no owner window, OK button), a recording fake in tests.
#pragma once

namespace kelvo {

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void showMessage(const char* text, const char* caption) = 0;
};

}  // namespace kelvo
