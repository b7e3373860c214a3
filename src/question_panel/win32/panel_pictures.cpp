#include "question_panel/win32/panel_pictures.h"

#include "question_panel/control_ids.h"
#include "quiz/quiz.h"
#include "shell/win32/picture_loader.h"

namespace kelvo {

constexpr int PictureSide = 260;

HBITMAP PanelPictures::load(int resourceId) {
    if (!enabled) return nullptr;
    auto found = bitmaps.find(resourceId);
    if (found != bitmaps.end()) return found->second.get();
    ScopedBitmap& bitmap = bitmaps[resourceId];
    bitmap.reset(loadResourcePicture(nullptr, resourceId, "IMG", PictureSide, PictureSide));
    return bitmap.get();
}

std::optional<PictureSize> PanelPictures::measure(int resourceId) {
    HBITMAP bitmap = load(resourceId);
    if (bitmap == nullptr) return std::nullopt;
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    return PictureSize{info.bmWidth, info.bmHeight};
}

void PanelPictures::showIn(HWND pictureBox, int resourceId) {
    if (load(resourceId) == nullptr) return;
    HBITMAP bitmap = bitmaps[resourceId].release();  // the picture box owns it from now on
    SendMessageA(pictureBox, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
}

void deleteShownPictures(HWND panel) {
    for (int question = 1; question <= MaxQuestions; ++question) {
        HWND box = GetDlgItem(panel, PanelIds::pictureBox(question));
        if (box == nullptr) continue;
        auto shown = reinterpret_cast<HBITMAP>(SendMessageA(box, STM_SETIMAGE, IMAGE_BITMAP, 0));
        if (shown != nullptr) DeleteObject(shown);
    }
}

}  // namespace kelvo
