// What answer checking needs from the question panel and the header panel.
// The Win32 layer implements it over the real dialog controls; tests use an
// in-memory panel. A control that does not exist reads as empty and ignores
// writes, so a step aimed at it does nothing while the rest runs.
#pragma once

#include "quiz/text.h"

namespace kelvo {

class ControlAccess {
public:
    virtual ~ControlAccess() = default;

    virtual bool exists(int controlId) = 0;
    // At most 259 bytes; empty when the control does not exist.
    virtual void readText(int controlId, char (&text)[TextSize]) = 0;
    virtual void setText(int controlId, const char* text) = 0;
    virtual void setVisible(int controlId, bool visible) = 0;
    // Loads picture resource `pictureId` fitted to 260 x 260 and puts it into
    // the picture box, deleting the bitmap it showed. No picture: no change.
    virtual void swapPicture(int pictureBoxId, int pictureId) = 0;
    // Score label 32 and code box 30 of the header panel.
    virtual void setHeaderText(int controlId, const char* text) = 0;
};

}  // namespace kelvo
