// The player's real windows, built by the real start-up steps around the
// demonstration quiz (the test program carries no quiz data), and the small
// tools the shell tests read them with.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quiz/message_sink.h"
#include "quiz/win32/executable_resources.h"
#include "quiz/win32/gdi_drawing_objects.h"
#include "platform/geometry.h"
#include "shell/win32/application.h"
#include "support/player_session.h"
#include "support/window_testing.h"

namespace kelvo::testing {

class RecordingSink : public MessageSink {
public:
    void showMessage(const char* text, const char* caption) override {
        messages.push_back(std::string(text) + " | " + caption);
    }
    std::vector<std::string> messages;
};

class PlayerWindows : public ::testing::Test {
protected:
    void SetUp() override {
        beginPlayerStartUp();
        createQuiz(drawing, resources, loaderMessages);
        mainWindow = openPlayerWindows();
        ASSERT_NE(mainWindow, nullptr);
    }
    void TearDown() override { closePlayerWindows(mainWindow); }

    GdiDrawingObjects drawing;
    ExecutablePatchResources resources;
    RecordingSink loaderMessages;
    HWND mainWindow = nullptr;
};

}  // namespace kelvo::testing
