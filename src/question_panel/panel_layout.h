// Which controls the question panel builds, where, with what text and font,
// in creation order. Computed without windows; the Win32 panel only creates
// what it is given.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "quiz/quiz.h"

namespace kelvo {

enum class ControlRole {
    PictureBox, ColumnCaption, NumberLabel, PlayButton, StopButton, RevealLabel, Prompt, AnswerBox, VerdictLabel,
};

enum class ControlFont { Dialog, DefaultGui, Question };

struct PlannedControl {
    ControlRole role;
    const char* className;
    int id;
    unsigned style;
    int x, y, width, height;
    std::string text;
    ControlFont font = ControlFont::Dialog;
    int question = 0;   // question number from 1
    bool hidden = false;
};

struct PictureSize {
    int width = 0;
    int height = 0;
};

// The fitted size of picture resource `resourceId`, or nothing when the
// executable has no such picture.
using PictureMeasure = std::function<std::optional<PictureSize>(int resourceId)>;

struct PanelLayout {
    std::vector<PlannedControl> controls;
    int contentWidth = 0;
    int contentHeight = 0;
};

namespace PanelStyles {
constexpr unsigned NumberLabel = 0x50000002;
constexpr unsigned ColumnCaption = 0x50000000;
constexpr unsigned BorderedCentredLabel = 0x50800201;
constexpr unsigned TextAnswerBox = 0x50810281;
constexpr unsigned GridAnswerBox = 0x50810081;
constexpr unsigned MediaButton = 0x50010041;
constexpr unsigned RevealLabel = 0x50000001;
constexpr unsigned PictureBox = 0x5080020E;
constexpr unsigned PlayerHost = 0x50800000;
}  // namespace PanelStyles

// `savedLine` yields the saved answers in file order, one call per answer
// slot (a slot that gets no box still takes its line).
PanelLayout layoutQuestionPanel(const Quiz& quiz, const PictureMeasure& measure,
                                const std::function<std::string()>& savedLine);

}  // namespace kelvo
