#include <windows.h>

#include <gtest/gtest.h>

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
        EXPECT_EQ(dialog->cdit, 0);
        // No menu, the default class, no caption; then the font.
        const auto* words = reinterpret_cast<const WORD*>(dialog + 1);
        EXPECT_STREQ(reinterpret_cast<const wchar_t*>(words + 4), L"MS Sans Serif");
    }
}

TEST(Resources, LinkCursorIsAMonochromeHandPointingAtItsHotSpot) {
    HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(ResourceIds::LinkCursor));
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(hand, &info));
    BITMAP mask = {};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ((std::vector<long>{info.fIcon, static_cast<long>(info.xHotspot), static_cast<long>(info.yHotspot),
                                 info.hbmColor != nullptr, mask.bmWidth, mask.bmHeight}),
              (std::vector<long>{FALSE, 6, 0, false, 32, 64}));
    DeleteObject(info.hbmMask);
}

TEST(Resources, FileIconIsOne32By32IconOf16Colours) {
    // The icon group: reserved, type, count, then per icon width, height,
    // colour count, reserved, planes and bits per pixel.
    const auto* group = static_cast<const BYTE*>(resourceData(ResourceIds::ApplicationIcon, RT_GROUP_ICON));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ((std::vector<int>{group[4], group[6], group[7], group[8], group[12]}), (std::vector<int>{1, 32, 32, 16, 4}));
    EXPECT_NE(LoadImageA(GetModuleHandleA(nullptr), ResourceIds::ApplicationIcon, IMAGE_ICON, 32, 32, LR_SHARED),
              nullptr);
}

}  // namespace
}  // namespace kelvo::testing
