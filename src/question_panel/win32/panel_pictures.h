// The question pictures of a picture quiz: each is decoded once, measured
// for its row, and the same bitmap is then shown in its picture box.
#pragma once

#include <windows.h>

#include <map>
#include <optional>

#include "question_panel/panel_layout.h"
#include "platform/win32/scoped_handles.h"

namespace kelvo {

class PanelPictures {
public:
    explicit PanelPictures(bool enabled) : enabled(enabled) {}
    PanelPictures(const PanelPictures&) = delete;
    PanelPictures& operator=(const PanelPictures&) = delete;

    std::optional<PictureSize> measure(int resourceId);
    // Shows the picture in picture box `boxId` of the panel (showPicture).
    void showIn(HWND panel, int boxId, int resourceId);

private:
    // Decodes the picture fitted to its box; empty when there is none.
    ScopedBitmap load(int resourceId) const;
    // The picture decoded once: the cache's, or null.
    HBITMAP cached(int resourceId);

    bool enabled;
    // Empty: no such picture, or already handed to its picture box. The
    // ones never shown (measured for a row past the last question) go here.
    std::map<int, ScopedBitmap> bitmaps;
};

// Shows `bitmap` in picture box `boxId` of the panel, which owns it from
// then on; the bitmap it replaces is deleted once the box no longer shows it.
void showPicture(HWND panel, int boxId, ScopedBitmap bitmap);

// Takes every picture out of its box and deletes it, as the panel goes.
void deleteShownPictures(HWND panel);

}  // namespace kelvo
