// The answer box's own window procedure: evaluation on Enter and on leaving
// the box, Tab keeping the box in view, F1 filling open answers, F2 saving.
#pragma once

#include <windows.h>

namespace kelvo {

// What an answer box asks of the panel it sits in. The panel that installs
// the boxes implements it and must outlive them.
class AnswerBoxHost {
public:
    virtual ~AnswerBoxHost() = default;

    // Judges box `boxId` and updates everything that follows from its verdict.
    virtual void evaluate(int boxId) = 0;
    virtual int answerBoxCount() = 0;
    // Tab: brings the box into view when it is not wholly inside the panel.
    virtual void keepInView(HWND box) = 0;
    virtual void saveAnswers() = 0;
};

LRESULT CALLBACK answerBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam);

// Replaces the edit control's procedure, keeping the replaced one and the
// host with the box.
void installAnswerBoxProc(HWND box, AnswerBoxHost& host);

// F1: copies the box's text into every box whose verdict is not "BRAVO".
void fillOpenAnswers(HWND box);

}  // namespace kelvo
