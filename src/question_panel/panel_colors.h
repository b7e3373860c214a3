// How the question panel colours a static control: by its identifier and,
// for a verdict label, by the verdict it reads.
#pragma once

#include <cstdint>

#include "quiz/quiz.h"

namespace kelvo {

enum class PanelBrush { None, Back, Right, Wrong, Anagram, Close, Prompt };

struct StaticColors {
    PanelBrush brush = PanelBrush::None;  // None: the platform's default colours
    bool transparentText = false;         // labels drawn on the quiz colour
    std::uint32_t textColor = 0;          // only with transparentText
};

// White text on a dark quiz colour, black otherwise.
std::uint32_t labelTextColor(const Quiz& quiz);

StaticColors colorsForStatic(const Quiz& quiz, int controlId, const char* text);

DrawingHandle brushHandle(const Quiz& quiz, PanelBrush brush);

}  // namespace kelvo
