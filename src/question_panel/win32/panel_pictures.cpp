#include "question_panel/win32/panel_pictures.h"

#include "shell/win32/picture_loader.h"

namespace kelvo {

constexpr int PictureSide = 260;

PanelPictures::~PanelPictures() {
    for (auto& [id, bitmap] : bitmaps)
        if (bitmap != nullptr) DeleteObject(bitmap);
}

HBITMAP PanelPictures::load(int resourceId) {
    if (!enabled) return nullptr;
    auto found = bitmaps.find(resourceId);
    if (found != bitmaps.end()) return found->second;
    HBITMAP bitmap = loadResourcePicture(nullptr, resourceId, "IMG", PictureSide, PictureSide);
    bitmaps[resourceId] = bitmap;
    return bitmap;
}

std::optional<PictureSize> PanelPictures::measure(int resourceId) {
    HBITMAP bitmap = load(resourceId);
    if (bitmap == nullptr) return std::nullopt;
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    return PictureSize{info.bmWidth, info.bmHeight};
}

void PanelPictures::showIn(HWND pictureBox, int resourceId) {
    HBITMAP bitmap = load(resourceId);
    if (bitmap == nullptr) return;
    bitmaps[resourceId] = nullptr;  // the picture box owns it from now on
    SendMessageA(pictureBox, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
}

}  // namespace kelvo
