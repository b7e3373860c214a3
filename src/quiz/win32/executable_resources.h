// The quiz loader's platform side: PATCH resources of a module (the running
// executable by default) and message boxes without owner window.
#pragma once

#include <windows.h>

#include "quiz/message_sink.h"
#include "quiz/quiz_loader.h"

namespace kelvo {

class ExecutablePatchResources : public QuizResourceSource {
public:
    explicit ExecutablePatchResources(HMODULE module = nullptr) : module(module) {}
    std::vector<std::uint8_t> patchResource(int id) override;

private:
    HMODULE module;
};

// Bytes of resource (type, id) of a module; empty when absent or unreadable.
std::vector<std::uint8_t> resourceBytes(HMODULE module, const char* type, int id);

class MessageBoxSink : public MessageSink {
public:
    explicit MessageBoxSink(HWND owner = nullptr) : owner(owner) {}
    void showMessage(const char* text, const char* caption) override;

private:
    HWND owner;
};

}  // namespace kelvo
