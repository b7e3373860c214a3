#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/scoped_handles.h"

namespace kelvo {
namespace {

TEST(ScopedHandles, ComInitialisationNestsAndUnwindsAndASelectionIsUndoneBeforeTheContextGoes) {
    const int before = liveHandles(HandleKind::ComInitialisation);
    {
        ScopedCoInitialize outer;
        ScopedCoInitialize inner;  // S_FALSE: already initialised, still to be undone
        EXPECT_TRUE(outer && inner);
        EXPECT_EQ(liveHandles(HandleKind::ComInitialisation), before + 2);
    }
    EXPECT_EQ(liveHandles(HandleKind::ComInitialisation), before);
    EXPECT_EQ(CoInitialize(nullptr), S_OK) << "every initialisation was undone";
    CoUninitialize();

    ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
    ScopedBitmap bitmap(CreateBitmap(4, 4, 1, 1, nullptr));
    const HGDIOBJ original = GetCurrentObject(dc.get(), OBJ_BITMAP);
    {
        ScopedSelection selected(dc.get(), bitmap.get());
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), bitmap.get());
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), original);
}

}  // namespace
}  // namespace kelvo
