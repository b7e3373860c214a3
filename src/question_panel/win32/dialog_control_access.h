// Answer checking's view of the real panels: the question panel's controls
// by identifier, and the header panel's score label and code box.
#pragma once

#include <windows.h>

#include "checking/control_access.h"

namespace kelvo {

class DialogControlAccess : public ControlAccess {
public:
    DialogControlAccess(HWND questionPanel, HWND headerPanel) : panel(questionPanel), header(headerPanel) {}

    bool exists(int controlId) override;
    void readText(int controlId, char (&text)[TextSize]) override;
    void setText(int controlId, const char* text) override;
    void setVisible(int controlId, bool visible) override;
    void swapPicture(int pictureBoxId, int pictureId) override;
    void setHeaderText(int controlId, const char* text) override;

private:
    HWND panel;
    HWND header;
};

}  // namespace kelvo
