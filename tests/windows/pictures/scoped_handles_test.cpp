#include <windows.h>

#include <gtest/gtest.h>

#include <utility>

#include "platform/win32/scoped_handles.h"

namespace kelvo {
namespace {

// Every owner kind shares ScopedBitmap's template; only files differ, their
// "no handle" being INVALID_HANDLE_VALUE.
TEST(ScopedHandles, AnOwnerReleasesItsHandleOnceAndCountsOnlyWhileItHoldsOne) {
    const int bitmaps = liveHandles(HandleKind::GdiObject);
    const int files = liveHandles(HandleKind::File);
    {
        ScopedBitmap bitmap(CreateBitmap(4, 4, 1, 1, nullptr));
        ScopedBitmap moved(std::move(bitmap));
        EXPECT_FALSE(bitmap);
        EXPECT_EQ(liveHandles(HandleKind::GdiObject), bitmaps + 1) << "a move hands over, it does not copy";
        const HBITMAP first = moved.get();
        moved.reset(CreateBitmap(2, 2, 1, 1, nullptr));
        EXPECT_EQ(GetObjectType(first), 0u) << "reset deletes the handle it held";
        EXPECT_EQ(liveHandles(HandleKind::GdiObject), bitmaps + 1);
        HBITMAP handedOut = moved.release();
        EXPECT_EQ(liveHandles(HandleKind::GdiObject), bitmaps);
        EXPECT_NE(GetObjectType(handedOut), 0u) << "released, not deleted";
        DeleteObject(handedOut);
        ScopedBitmap none(nullptr);
        ScopedFile file(CreateFileA("no\\such\\folder\\file.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        EXPECT_FALSE(file);
        EXPECT_EQ(liveHandles(HandleKind::File), files);
    }
    EXPECT_EQ(liveHandles(HandleKind::GdiObject), bitmaps);
}

TEST(ScopedHandles, ComInitialisationNestsAndUnwinds) {
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
}

TEST(ScopedHandles, SelectionIsUndoneBeforeTheContextGoes) {
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
