#include "question_panel/panel_colors.h"

#include <cstring>

#include "checking/answer_slots.h"
#include "checking/verdicts.h"
#include "resources/control_ids.h"

namespace kelvo {
namespace {

PanelBrush verdictBrush(const char* verdict) {
    if (std::strcmp(verdict, Verdicts::Right) == 0) return PanelBrush::Right;
    if (std::strcmp(verdict, Verdicts::Wrong) == 0) return PanelBrush::Wrong;
    if (std::strcmp(verdict, Verdicts::Anagram) == 0) return PanelBrush::Anagram;
    if (std::strcmp(verdict, Verdicts::Empty) == 0) return PanelBrush::None;
    return PanelBrush::Close;
}

}  // namespace

std::uint32_t labelTextColor(const Quiz& quiz) {
    return quiz.colorRed <= 69 && quiz.colorGreen <= 69 ? 0xffffffu : 0x000000u;
}

StaticColors colorsForStatic(const Quiz& quiz, int controlId, const char* text) {
    const int slots = quiz.answersPerQuestion * quiz.questionCount;
    const bool onQuizColor = controlId == PanelIds::NumberLabel || controlId == PanelIds::ColumnCaption ||
                             (controlId > PanelIds::RevealLabelBase && controlId <= PanelIds::RevealLabelBase + slots);
    if (onQuizColor) return {PanelBrush::Back, true, labelTextColor(quiz)};
    const int firstLabel = PanelIds::verdictLabel(PanelIds::FirstAnswerBox);
    if (controlId >= firstLabel && controlId < firstLabel + slots) return {verdictBrush(text), false, 0};
    if (controlId == PanelIds::PromptLabel) return {PanelBrush::Prompt, false, 0};
    return {};
}

DrawingHandle brushHandle(const Quiz& quiz, PanelBrush brush) {
    switch (brush) {
        case PanelBrush::Back: return quiz.backBrush;
        case PanelBrush::Right: return quiz.rightBrush;
        case PanelBrush::Wrong: return quiz.wrongBrush;
        case PanelBrush::Anagram: return quiz.anagramBrush;
        case PanelBrush::Close: return quiz.closeBrush;
        case PanelBrush::Prompt: return quiz.promptBrush;
        case PanelBrush::None: break;
    }
    return nullptr;
}

}  // namespace kelvo
