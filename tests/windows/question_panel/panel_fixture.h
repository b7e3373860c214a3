// Builds the player's real windows around a quiz the test made, with a
// saved-answers file of the test's choosing.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "quiz/quiz.h"
#include "quiz/win32/gdi_drawing_objects.h"
#include "support/window_testing.h"

namespace kelvo::testing {

struct QuizPlan {
    int kind = QuizKind::Text;
    int answersPerQuestion = 1;
    int revealMode = RevealMode::None;
    std::vector<std::string> answers;        // one per question (first answers)
    std::vector<std::string> secondAnswers;  // two-answer quizzes
    std::vector<std::string> codes;
};

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the player on `planned`; `saved` is the saved-answers file to start
    // from (none: no file).
    void open(const QuizPlan& planned, const std::optional<std::string>& saved = std::nullopt);

    HWND box(int id) const { return GetDlgItem(panel, id); }
    std::string verdict(int boxId) const { return controlText(panel, boxId + 1000); }
    std::string score() const;
    std::string code() const;
    void type(int boxId, const std::string& text) { SetWindowTextA(box(boxId), text.c_str()); }
    // The key released in the box, as the keyboard would deliver it.
    void releaseKey(int boxId, WPARAM key);

    GdiDrawingObjects drawing;
    HWND mainWindow = nullptr;
    HWND panel = nullptr;
    std::string savedFile;
    std::string profileFolder;  // LOCALAPPDATA while the test runs
    std::string perUserFile;
};

}  // namespace kelvo::testing
