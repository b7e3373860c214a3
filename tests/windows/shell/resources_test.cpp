// The resources the player carries besides the quiz: the two empty dialog
// shells, the button icons, the link's hand and the file's icon.
#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <vector>

#include "resources/resource_ids.h"

namespace kelvo::testing {
namespace {

const void* resourceData(LPCSTR name, LPCSTR type) {
    HRSRC found = FindResourceA(nullptr, name, type);
    return found ? LockResource(LoadResource(nullptr, found)) : nullptr;
}

TEST(Resources, DialogsAreEmptyShellsWithTheirStyles) {
    const struct {
        int id;
        DWORD style;
    } rows[] = {{ResourceIds::QuestionPanelDialog, 0x40B00040}, {ResourceIds::HeaderPanelDialog, 0x40800040}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.id);
        const auto* dialog = static_cast<const DLGTEMPLATE*>(resourceData(MAKEINTRESOURCEA(row.id), RT_DIALOG));
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->style, row.style);
        EXPECT_EQ(dialog->dwExtendedStyle, 0u);
        EXPECT_EQ(dialog->cdit, 0);
        EXPECT_EQ((std::vector<int>{dialog->x, dialog->y, dialog->cx, dialog->cy}), (std::vector<int>{0, 0, 86, 100}));
        // No menu, the default class, no caption; then the font.
        const auto* words = reinterpret_cast<const WORD*>(dialog + 1);
        EXPECT_EQ((std::vector<WORD>(words, words + 4)), (std::vector<WORD>{0, 0, 0, 8}));
        EXPECT_STREQ(reinterpret_cast<const wchar_t*>(words + 4), L"MS Sans Serif");
    }
}

// The icon drawn onto white, read back row by row, top row first.
std::vector<COLORREF> drawnIcon(int iconId) {
    HICON icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(iconId), IMAGE_ICON, 32, 32, 0));
    EXPECT_NE(icon, nullptr);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 32;
    info.bmiHeader.biHeight = -32;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    RECT all = {0, 0, 32, 32};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawIconEx(dc, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL);
    GdiFlush();
    std::vector<COLORREF> pixels(32 * 32);
    const auto* bgra = static_cast<const BYTE*>(bits);
    for (int i = 0; i < 32 * 32; ++i) pixels[i] = RGB(bgra[4 * i + 2], bgra[4 * i + 1], bgra[4 * i]);
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    DestroyIcon(icon);
    return pixels;
}

TEST(Resources, ButtonIconsAreBlackSymbolsOnGrey) {
    const struct {
        int id;
        COLORREF grey;
        int runLengths[10];  // of black from column 11, rows 11 to 20
    } icons[] = {
        {ResourceIds::PlayIcon, RGB(244, 244, 244), {2, 4, 6, 8, 10, 10, 8, 6, 4, 2}},  // point at column 20
        {ResourceIds::StopIcon, RGB(234, 234, 234), {10, 10, 10, 10, 10, 10, 10, 10, 10, 10}},
    };
    for (const auto& icon : icons) {
        const std::vector<COLORREF> pixels = drawnIcon(icon.id);
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const bool symbol = y >= 11 && y <= 20 && x >= 11 && x < 11 + icon.runLengths[y - 11];
                ASSERT_EQ(pixels[y * 32 + x], symbol ? RGB(0, 0, 0) : icon.grey) << icon.id << ": " << x << "," << y;
            }
        }
    }
}

TEST(Resources, LinkCursorIsAHandPointingAtItsHotSpot) {
    HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(ResourceIds::LinkCursor));
    ASSERT_NE(hand, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(hand, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 6u);
    EXPECT_EQ(info.yHotspot, 0u);
    EXPECT_EQ(info.hbmColor, nullptr) << "monochrome";
    BITMAP mask = {};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, 32);
    EXPECT_EQ(mask.bmHeight, 64);
    DeleteObject(info.hbmMask);
}

#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width, height, colorCount, reserved;
    WORD planes, bitCount;
    DWORD bytesInResource;
    WORD id;
};
struct IconGroup {
    WORD reserved, type, count;
    IconGroupEntry entries[1];
};
#pragma pack(pop)

TEST(Resources, FileIconIsOne32By32IconOf16Colours) {
    const auto* group = static_cast<const IconGroup*>(resourceData(ResourceIds::ApplicationIcon, RT_GROUP_ICON));
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->count, 1);
    EXPECT_EQ(group->entries[0].width, 32);
    EXPECT_EQ(group->entries[0].height, 32);
    EXPECT_EQ(group->entries[0].colorCount, 16);
    EXPECT_EQ(group->entries[0].bitCount, 4);
    EXPECT_NE(LoadImageA(GetModuleHandleA(nullptr), ResourceIds::ApplicationIcon, IMAGE_ICON, 32, 32, LR_SHARED),
              nullptr);
}

}  // namespace
}  // namespace kelvo::testing
