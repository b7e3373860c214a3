// What the question panel keeps between messages, stored with the dialog
// (DWLP_USER) and released once the dialog and all its controls are gone.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <unordered_map>

#include "checking/win32/answer_box.h"
#include "platform/win32/scoped_handles.h"
#include "quiz/quiz.h"

namespace kelvo {

struct PanelState {
    // The quiz the panel was created for (its creation parameter); may be null.
    Quiz* quiz = nullptr;
    // What the answer boxes call back; they hold it until they are gone.
    std::unique_ptr<AnswerBoxHost> answerBoxHost;
    int contentWidth = 0;
    int contentHeight = 0;
    int scrollTarget = 0;  // written by Tab just before request 502
    // The bitmaps the picture boxes show, by box identifier: a static
    // control never deletes the bitmap it is given.
    std::map<int, ScopedBitmap> shownPictures;
    // Controls with identifiers of their own, as they were created: every
    // evaluation reads all verdict labels, and looking each one up among
    // hundreds of siblings made a large quiz slow to open.
    std::unordered_map<int, HWND> controls;
};

PanelState* panelState(HWND panel);

// The panel's control with this identifier (the first made, as GetDlgItem
// finds it), or null.
HWND panelControl(HWND panel, int controlId);

}  // namespace kelvo
