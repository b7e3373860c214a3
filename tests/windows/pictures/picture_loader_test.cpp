#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "platform/win32/picture_loader.h"
#include "platform/win32/scoped_handles.h"

namespace kelvo {
namespace {

constexpr int Side = 260;

struct Size {
    int width, height;
    bool operator==(const Size& other) const { return width == other.width && height == other.height; }
};

Size sizeOf(HBITMAP bitmap) {
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

COLORREF pixelAt(HBITMAP bitmap, int x, int y) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    const COLORREF color = GetPixel(dc, x, y);
    SelectObject(dc, previous);
    DeleteDC(dc);
    return color;
}

bool isNear(COLORREF actual, COLORREF expected) {
    const auto close = [](int a, int b) { return a - b < 40 && b - a < 40; };
    return close(GetRValue(actual), GetRValue(expected)) && close(GetGValue(actual), GetGValue(expected)) &&
           close(GetBValue(actual), GetBValue(expected));
}

std::array<int, static_cast<int>(HandleKind::Count)> liveCounts() {
    std::array<int, static_cast<int>(HandleKind::Count)> counts{};
    for (int kind = 0; kind < static_cast<int>(HandleKind::Count); ++kind)
        counts[kind] = liveHandles(static_cast<HandleKind>(kind));
    return counts;
}

// A 24-bit BMP file: left half `left`, right half `right`.
std::vector<std::uint8_t> bmpFile(int width, int height, COLORREF left, COLORREF right) {
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + stride * height;
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    std::vector<std::uint8_t> bytes(file.bfSize);
    memcpy(bytes.data(), &file, sizeof file);
    memcpy(bytes.data() + sizeof file, &info, sizeof info);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const COLORREF color = x < width / 2 ? left : right;
            std::uint8_t* pixel = bytes.data() + file.bfOffBits + y * stride + x * 3;
            pixel[0] = GetBValue(color);
            pixel[1] = GetGValue(color);
            pixel[2] = GetRValue(color);
        }
    return bytes;
}

TEST(LoadResourcePicture, EachFormatIsDecodedAndFittedToTheBox) {
    struct Row {
        int id;
        Size fitted;
        const char* why;
    } rows[] = {
        {401, {260, 195}, "640 x 480 JPEG reduced"},
        {402, {173, 260}, "200 x 300 GIF: the height decides"},
        {403, {260, 130}, "100 x 50 BMP enlarged"},
        {10401, {260, 260}, "100 x 100 JPEG enlarged to the box"},
    };
    for (const Row& row : rows) {
        HBITMAP bitmap = loadResourcePicture(nullptr, row.id, "IMG", Side, Side);
        ASSERT_NE(bitmap, nullptr) << row.why;
        EXPECT_EQ(sizeOf(bitmap), row.fitted) << row.why;
        DeleteObject(bitmap);
    }
}

TEST(LoadResourcePicture, ThePictureIsDrawnNotJustSized) {
    HBITMAP bitmap = loadResourcePicture(GetModuleHandleA(nullptr), 401, "IMG", Side, Side);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_TRUE(isNear(pixelAt(bitmap, 20, 100), RGB(255, 0, 0))) << std::hex << pixelAt(bitmap, 20, 100);
    EXPECT_TRUE(isNear(pixelAt(bitmap, 240, 100), RGB(0, 0, 255))) << std::hex << pixelAt(bitmap, 240, 100);
    DeleteObject(bitmap);
}

TEST(LoadResourcePicture, TypeNamesMatchWhateverTheirCase) {
    HBITMAP bitmap = loadResourcePicture(nullptr, 402, "img", Side, Side);
    EXPECT_NE(bitmap, nullptr);
    DeleteObject(bitmap);
}

TEST(LoadResourcePicture, WhatIsNoBitmapGivesNothingAndLeavesNothing) {
    const auto before = liveCounts();
    EXPECT_EQ(loadResourcePicture(nullptr, 900, "IMG", Side, Side), nullptr) << "an icon file";
    EXPECT_EQ(loadResourcePicture(nullptr, 901, "IMG", Side, Side), nullptr) << "bytes that are no picture";
    EXPECT_EQ(liveCounts(), before);
}

TEST(LoadResourcePicture, MissingIdentifierDoesNotTouchTheDecoder) {
    const int decodes = handlesTaken(HandleKind::ComInitialisation);
    EXPECT_EQ(loadResourcePicture(nullptr, 999, "IMG", Side, Side), nullptr);
    EXPECT_EQ(loadResourcePicture(nullptr, 401, "PNG", Side, Side), nullptr) << "another type";
    EXPECT_EQ(handlesTaken(HandleKind::ComInitialisation), decodes);
}

TEST(LoadResourcePicture, RepeatedLoadsReturnEveryHandle) {
    const auto before = liveCounts();
    const int decodes = handlesTaken(HandleKind::ComInitialisation);
    for (int round = 0; round < 40; ++round) {
        HBITMAP bitmap = loadResourcePicture(nullptr, 401 + round % 4, "IMG", Side, Side);
        ASSERT_NE(bitmap, nullptr);
        DeleteObject(bitmap);
    }
    EXPECT_EQ(liveCounts(), before);
    EXPECT_EQ(handlesTaken(HandleKind::ComInitialisation), decodes + 40) << "each decode initialises COM once";
}

TEST(DecodePicture, BitmapMadeInMemoryKeepsItsFullSize) {
    const auto bytes = bmpFile(800, 600, RGB(0, 128, 0), RGB(255, 255, 255));
    HBITMAP decoded = decodePicture(bytes.data(), bytes.size());
    ASSERT_NE(decoded, nullptr);
    EXPECT_EQ(sizeOf(decoded), (Size{800, 600}));
    HBITMAP fitted = scaleToFit(decoded, Side, Side);  // takes `decoded`
    ASSERT_NE(fitted, nullptr);
    EXPECT_EQ(sizeOf(fitted), (Size{260, 195}));
    EXPECT_TRUE(isNear(pixelAt(fitted, 10, 10), RGB(0, 128, 0)));
    EXPECT_TRUE(isNear(pixelAt(fitted, 250, 180), RGB(255, 255, 255)));
    DeleteObject(fitted);
}

TEST(DecodePicture, CopiesTheBytesItIsGiven) {
    auto bytes = bmpFile(20, 10, RGB(255, 0, 0), RGB(255, 0, 0));
    HBITMAP decoded = decodePicture(bytes.data(), bytes.size());
    std::fill(bytes.begin(), bytes.end(), 0);  // the caller's buffer goes
    ASSERT_NE(decoded, nullptr);
    EXPECT_TRUE(isNear(pixelAt(decoded, 5, 5), RGB(255, 0, 0)));
    DeleteObject(decoded);
}

TEST(DecodePicture, NothingToDecodeGivesNothing) {
    const auto before = liveCounts();
    const std::uint8_t text[] = "BM but not really a bitmap";
    EXPECT_EQ(decodePicture(nullptr, 100), nullptr);
    EXPECT_EQ(decodePicture(text, 0), nullptr);
    EXPECT_EQ(decodePicture(text, sizeof text), nullptr);
    EXPECT_EQ(liveCounts(), before);
}

TEST(ScaleToFit, SquareOfTheBoxSizeIsKeptAndTheSourceIsDeleted) {
    const auto bytes = bmpFile(260, 260, RGB(0, 0, 255), RGB(0, 0, 255));
    HBITMAP decoded = decodePicture(bytes.data(), bytes.size());
    ASSERT_NE(decoded, nullptr);
    HBITMAP fitted = scaleToFit(decoded, Side, Side);
    ASSERT_NE(fitted, nullptr);
    EXPECT_EQ(sizeOf(fitted), (Size{260, 260}));
    EXPECT_EQ(GetObjectType(decoded), 0u) << "the full-size bitmap is deleted";
    DeleteObject(fitted);
}

TEST(ScaleToFit, NoBitmapGivesNothing) {
    EXPECT_EQ(scaleToFit(nullptr, Side, Side), nullptr);
}

}  // namespace
}  // namespace kelvo
