#include <windows.h>

#include <gtest/gtest.h>

#include <utility>

#include "platform/win32/scoped_handles.h"

namespace kelvo {
namespace {

TEST(ScopedHandles, OwnersCountOnlyWhileTheyHoldAHandle) {
    const int before = liveHandles(HandleKind::GdiObject);
    {
        ScopedBitmap bitmap(CreateBitmap(4, 4, 1, 1, nullptr));
        EXPECT_EQ(liveHandles(HandleKind::GdiObject), before + 1);
        ScopedBitmap moved(std::move(bitmap));
        EXPECT_FALSE(bitmap);
        EXPECT_EQ(liveHandles(HandleKind::GdiObject), before + 1) << "a move hands over, it does not copy";
        HBITMAP handedOut = moved.release();
        EXPECT_EQ(liveHandles(HandleKind::GdiObject), before);
        EXPECT_NE(GetObjectType(handedOut), 0u) << "released, not deleted";
        DeleteObject(handedOut);
        ScopedBitmap none(nullptr);
        EXPECT_EQ(liveHandles(HandleKind::GdiObject), before);
    }
    EXPECT_EQ(liveHandles(HandleKind::GdiObject), before);
}

TEST(ScopedHandles, ResetDeletesTheHandleItHeld) {
    ScopedBitmap bitmap(CreateBitmap(4, 4, 1, 1, nullptr));
    HBITMAP first = bitmap.get();
    bitmap.reset(CreateBitmap(2, 2, 1, 1, nullptr));
    EXPECT_EQ(GetObjectType(first), 0u);
    EXPECT_NE(GetObjectType(bitmap.get()), 0u);
}

TEST(ScopedHandles, FileThatCouldNotBeOpenedIsNoHandle) {
    const int before = liveHandles(HandleKind::File);
    ScopedFile file(CreateFileA("no\\such\\folder\\file.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(file);
    EXPECT_EQ(liveHandles(HandleKind::File), before);
}

TEST(ScopedHandles, ComInitialisationNestsAndUnwinds) {
    const int before = liveHandles(HandleKind::ComInitialisation);
    {
        ScopedCoInitialize outer;
        ScopedCoInitialize inner;  // S_FALSE: already initialised, still to be undone
        EXPECT_TRUE(outer);
        EXPECT_TRUE(inner);
        EXPECT_EQ(liveHandles(HandleKind::ComInitialisation), before + 2);
    }
    EXPECT_EQ(liveHandles(HandleKind::ComInitialisation), before);
    EXPECT_EQ(CoInitialize(nullptr), S_OK) << "every initialisation was undone";
    CoUninitialize();
}

TEST(ScopedHandles, ComPointerTakesOverAnOutParameter) {
    ScopedCoInitialize com;
    const int before = liveHandles(HandleKind::ComPointer);
    {
        ScopedComPtr<IStream> stream;
        const HRESULT result = CreateStreamOnHGlobal(nullptr, TRUE, stream.out());
        ASSERT_EQ(result, S_OK);
        EXPECT_TRUE(stream);
        EXPECT_EQ(liveHandles(HandleKind::ComPointer), before + 1);
        stream.reset();
        EXPECT_EQ(liveHandles(HandleKind::ComPointer), before);
    }
    EXPECT_EQ(liveHandles(HandleKind::ComPointer), before);
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
