#include <algorithm>
#include <cstdlib>

#include "support/player_fixture.h"
#include "platform/win32/picture_loader.h"
#include "quiz/win32/executable_resources.h"

namespace kelvo::testing {
namespace {

constexpr int Side = PictureBoxSide;

// Within 40 of each component of 0xRRGGBB: JPEG is lossy.
bool isNear(std::uint32_t actual, std::uint32_t expected) {
    for (int shift : {0, 8, 16})
        if (std::abs(int((actual >> shift) & 0xFF) - int((expected >> shift) & 0xFF)) >= 40) return false;
    return true;
}

// Loaded five times over, every row leaves every handle as it found it;
// only a resource that exists reaches the decoder, which initialises COM once.
TEST(LoadResourcePicture, EachResourceIsFittedToTheBoxOrGivesNothing) {
    const struct { int id; const char* type; FittedSize fitted; int decodes; const char* why; } rows[] = {
        {401, "IMG", {260, 195}, 1, "640 x 480 JPEG reduced"},
        {402, "img", {173, 260}, 1, "200 x 300 GIF: the height decides; the type matches in any case"},
        {403, "IMG", {260, 130}, 1, "100 x 50 BMP enlarged"},
        {10401, "IMG", {260, 260}, 1, "100 x 100 JPEG enlarged to the box"},
        {900, "IMG", {}, 1, "an icon file"},
        {901, "IMG", {}, 1, "bytes that are no picture"},
        {999, "IMG", {}, 0, "a missing identifier"},
        {401, "PNG", {}, 0, "another type"},
    };
    const auto before = liveCounts();
    for (int round = 0; round < 5; ++round)
        for (const auto& row : rows) {
            const int decodes = handlesTaken(HandleKind::ComInitialisation);
            HBITMAP bitmap = loadResourcePicture(nullptr, row.id, row.type, Side, Side);
            EXPECT_EQ(sizeOf(bitmap), row.fitted) << row.why;
            EXPECT_EQ(handlesTaken(HandleKind::ComInitialisation), decodes + row.decodes) << row.why;
            DeleteObject(bitmap);
        }
    EXPECT_EQ(liveCounts(), before);
}

TEST(DecodePicture, CopiesTheBytesKeepsTheFullSizeAndTheFitDrawsThePicture) {
    std::vector<std::uint8_t> bytes = resourceBytes(nullptr, "IMG", 401);  // red left half, blue right half
    HBITMAP decoded = decodePicture(bytes.data(), bytes.size());
    std::fill(bytes.begin(), bytes.end(), 0);  // the caller's buffer goes
    EXPECT_EQ(sizeOf(decoded), (FittedSize{640, 480}));
    HBITMAP fitted = scaleToFit(decoded, Side, Side);
    EXPECT_EQ(GetObjectType(decoded), 0u) << "the full-size bitmap is deleted";
    EXPECT_EQ(sizeOf(fitted), (FittedSize{260, 195}));
    const std::vector<std::uint32_t> pixels = pixelsOf(fitted, {260, 195});
    EXPECT_TRUE(isNear(pixels[100 * 260 + 20], 0xFF0000)) << std::hex << pixels[100 * 260 + 20];
    EXPECT_TRUE(isNear(pixels[100 * 260 + 240], 0x0000FF)) << std::hex << pixels[100 * 260 + 240];
    DeleteObject(fitted);
}

// The owners the loader and the panel hold their handles in.
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
}  // namespace kelvo::testing
