// The question pictures of a picture quiz: each is decoded once, measured
// for its row, and the same bitmap is then shown in its picture box.
#pragma once

#include <windows.h>

#include <map>
#include <optional>

#include "question_panel/panel_layout.h"
#include "shell/win32/scoped_handles.h"

namespace kelvo {

class PanelPictures {
public:
    explicit PanelPictures(bool enabled) : enabled(enabled) {}
    PanelPictures(const PanelPictures&) = delete;
    PanelPictures& operator=(const PanelPictures&) = delete;

    std::optional<PictureSize> measure(int resourceId);
    // Hands the picture's bitmap to the picture box, which keeps it.
    void showIn(HWND pictureBox, int resourceId);

private:
    HBITMAP load(int resourceId);

    bool enabled;
    // Empty: no such picture, or already handed to its picture box. The
    // ones never shown (measured for a row past the last question) go here.
    std::map<int, ScopedBitmap> bitmaps;
};

// The picture boxes do not delete their bitmaps: the panel does, as it goes.
void deleteShownPictures(HWND panel);

}  // namespace kelvo
