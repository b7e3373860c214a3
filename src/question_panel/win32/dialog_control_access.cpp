#include "question_panel/win32/dialog_control_access.h"

#include <utility>

#include "question_panel/win32/panel_pictures.h"
#include "question_panel/win32/panel_state.h"
#include "platform/win32/picture_loader.h"

namespace kelvo {

bool DialogControlAccess::exists(int controlId) {
    return panelControl(panel, controlId) != nullptr;
}

void DialogControlAccess::readText(int controlId, char (&text)[TextSize]) {
    text[0] = '\0';
    HWND control = panelControl(panel, controlId);
    if (control != nullptr) GetWindowTextA(control, text, TextSize);
}

void DialogControlAccess::setText(int controlId, const char* text) {
    if (HWND control = panelControl(panel, controlId)) SetWindowTextA(control, text);
}

void DialogControlAccess::setVisible(int controlId, bool visible) {
    HWND control = panelControl(panel, controlId);
    if (control != nullptr) ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
}

// The new bitmap goes in before the old one is deleted, so the picture box
// never holds a deleted bitmap.
void DialogControlAccess::swapPicture(int pictureBoxId, int pictureId) {
    if (panelControl(panel, pictureBoxId) == nullptr) return;
    ScopedBitmap picture(loadResourcePicture(nullptr, pictureId, "IMG", 260, 260));
    if (picture) showPicture(panel, pictureBoxId, std::move(picture));
}

void DialogControlAccess::setHeaderText(int controlId, const char* text) {
    if (header != nullptr) SetDlgItemTextA(header, controlId, text);
}

}  // namespace kelvo
