#include "question_panel/win32/panel_pictures.h"

#include <utility>

#include "question_panel/win32/panel_state.h"
#include "platform/win32/picture_loader.h"

namespace kelvo {

constexpr int PictureSide = 260;

ScopedBitmap PanelPictures::load(int resourceId) const {
    if (!enabled) return {};
    return ScopedBitmap(loadResourcePicture(nullptr, resourceId, "IMG", PictureSide, PictureSide));
}

// A picture that failed to load keeps its empty entry, so it is tried once.
HBITMAP PanelPictures::cached(int resourceId) {
    auto found = bitmaps.find(resourceId);
    if (found == bitmaps.end()) found = bitmaps.emplace(resourceId, load(resourceId)).first;
    return found->second.get();
}

std::optional<PictureSize> PanelPictures::measure(int resourceId) {
    HBITMAP bitmap = cached(resourceId);
    if (bitmap == nullptr) return std::nullopt;
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    return PictureSize{info.bmWidth, info.bmHeight};
}

void PanelPictures::showIn(HWND panel, int boxId, int resourceId) {
    if (cached(resourceId) == nullptr) return;
    showPicture(panel, boxId, std::move(bitmaps[resourceId]));  // its entry stays, empty
}

void showPicture(HWND panel, int boxId, ScopedBitmap bitmap) {
    PanelState* state = panelState(panel);
    HWND box = panelControl(panel, boxId);
    if (state == nullptr || box == nullptr || !bitmap) return;
    SendMessageA(box, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap.get()));
    state->shownPictures[boxId] = std::move(bitmap);
}

void deleteShownPictures(HWND panel) {
    PanelState* state = panelState(panel);
    if (state == nullptr) return;
    for (const auto& [boxId, bitmap] : state->shownPictures)
        SendMessageA(panelControl(panel, boxId), STM_SETIMAGE, IMAGE_BITMAP, 0);
    state->shownPictures.clear();
}

}  // namespace kelvo
