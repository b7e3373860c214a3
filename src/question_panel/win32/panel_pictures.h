// The question pictures of a picture quiz: each is decoded once, measured
// for its row, and the same bitmap is then shown in its picture box.
#pragma once

#include <windows.h>

#include <map>
#include <optional>

#include "question_panel/panel_layout.h"

namespace kelvo {

class PanelPictures {
public:
    explicit PanelPictures(bool enabled) : enabled(enabled) {}
    PanelPictures(const PanelPictures&) = delete;
    PanelPictures& operator=(const PanelPictures&) = delete;
    ~PanelPictures();

    std::optional<PictureSize> measure(int resourceId);
    // Hands the picture's bitmap to the picture box, which keeps it.
    void showIn(HWND pictureBox, int resourceId);

private:
    HBITMAP load(int resourceId);

    bool enabled;
    std::map<int, HBITMAP> bitmaps;  // null: no such picture
};

}  // namespace kelvo
