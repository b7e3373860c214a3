#include <gmock/gmock.h>

#include "support/player_fixture.h"
#include "resources/control_ids.h"
#include "platform/win32/scoped_handles.h"

namespace kelvo::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::IsEmpty;

using Call = RecordingMediaPlatform::Call;

// Commands as the panel receives them; the clip written last is the one
// the player was given, and no other is left.
TEST_F(PlayerTest, PlayAndStopClicksLeaveOnlyTheCurrentClip) {
    const struct {
        const char* why;
        std::vector<WPARAM> commands;
        int currentMedia;
        const char* written;
    } rows[] = {
        {"a second play replaces the first clip", {6003, 6005}, 5, "kelvo5.mp3"},
        {"stop of any question stops the current clip", {6005, 7002}, 5, nullptr},
        {"a question without clip only ends the previous one", {6003, 6004}, 4, nullptr},
        {"only clicks of the play and stop buttons count", {MAKEWPARAM(6003, BN_SETFOCUS), 6000, 6097}, 0, nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why);
        open({QuizKind::Audio, numbered(6)});
        for (WPARAM command : row.commands)
            SendMessageA(panel, WM_COMMAND, command, reinterpret_cast<LPARAM>(control(LOWORD(command))));
        EXPECT_EQ(mediaStatus().currentMedia, row.currentMedia);
        for (const char* name : {"kelvo3.mp3", "kelvo4.mp3", "kelvo5.mp3"}) {
            const bool current = row.written != nullptr && std::string(name) == row.written;
            EXPECT_EQ(fileExists(name), current) << name;
        }
        if (row.written != nullptr) {
            EXPECT_EQ(fileContent(row.written), imageResource(405));
            EXPECT_THAT(mediaStatus().playerUrl, EndsWith(row.written));
        }
        EXPECT_THAT(platform.messages, IsEmpty());
        close();
    }
}

// Shutdown deletes the clips of the quiz's kind only.
TEST_F(PlayerTest, AudioQuizHostsTheRealPlayerAndShutdownReleasesItAndItsClips) {
    for (const char* name : {"kelvo96.mp3", "kelvo97.mp3", "kelvo2.avi"}) writeFile(name, "old");
    const LiveCounts before = liveCounts();
    open({QuizKind::Audio, numbered(6)});
    EXPECT_TRUE(mediaStatus().playerAvailable);
    EXPECT_NE(GetModuleHandleA("atl.dll"), nullptr);
    HWND host = control(PanelIds::PlayerHost);
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(host, mediaStatus().playerHost);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(host, GWL_STYLE)) & ~WS_CLIPSIBLINGS, 0x50800000u);
    EXPECT_EQ(placeInParent(host), (Rect{0, 0, 0, 0})) << "audio needs no room";
    const auto icon = [&](int button) { return SendMessageA(control(button), BM_GETIMAGE, IMAGE_ICON, 0); };
    EXPECT_TRUE(icon(6001) != 0 && icon(7001) != 0 && icon(6001) != icon(7001)) << "play and stop show their own icons";
    click(6001);  // a real sound
    pumpUntil([] { return false; }, 300);
    ASSERT_TRUE(fileExists("kelvo1.mp3"));
    HWND window = mainWindow;
    close();
    EXPECT_FALSE(IsWindow(window)) << "media shutdown destroys the main window";
    for (const char* name : {"kelvo1.mp3", "kelvo96.mp3"}) EXPECT_FALSE(fileExists(name)) << name;
    for (const char* name : {"kelvo97.mp3", "kelvo2.avi"}) EXPECT_TRUE(fileExists(name)) << name;
    EXPECT_FALSE(mediaStatus().started);
    EXPECT_EQ(liveCounts(), before);
}

// Question 2 sits in row 1, column 2: its film shows in the band above.
TEST_F(PlayerTest, VideoShowsAboveItsRowWhileItPlaysAndLeavesNoOldFrame) {
    const struct { int button; const char* why; } rows[] = {
        {7001, "stopped"},
        {6004, "then a question without clip"},
        {6003, "then a clip the player cannot decode: the request alone does not tell"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why);
        open({QuizKind::Video, numbered(6)});
        HWND host = control(PanelIds::PlayerHost);
        ASSERT_EQ(placeInParent(control(6002)), (Rect{336, 215, 20, 20}));
        click(6002);  // a real film
        EXPECT_EQ(fileContent("kelvo2.avi"), imageResource(402));
        EXPECT_THAT(mediaStatus().playerUrl, EndsWith("kelvo2.avi"));
        ASSERT_TRUE(pumpUntil([&] { return IsWindowVisible(host) != FALSE; }, 10000));
        EXPECT_EQ(placeInParent(host), (Rect{336, 10, 260, 200}));
        // The player's own window follows its host, inside the border.
        HWND playerWindow = GetWindow(host, GW_CHILD);
        ASSERT_NE(playerWindow, nullptr);
        EXPECT_EQ(placeInParent(playerWindow), (Rect{0, 0, 258, 198}));
        click(row.button);
        EXPECT_FALSE(fileExists("kelvo2.avi"));
        EXPECT_FALSE(IsWindowVisible(host));
        pumpUntil([] { return false; }, 1000);
        EXPECT_FALSE(IsWindowVisible(host));
        close();
    }
}

// The control not registered, or the library that hosts it not loadable.
TEST_F(PlayerTest, WithoutThePlayerTheAssociatedProgramOpensTheClip) {
    for (bool libraryMissing : {false, true}) {
        SCOPED_TRACE(libraryMissing ? "atl.dll missing" : "control not registered");
        platform = RecordingMediaPlatform{};
        platform.hostingLibraryMissing = libraryMissing;
        if (!libraryMissing) platform.playerResult = REGDB_E_CLASSNOTREG;
        open({QuizKind::Audio, numbered(6)});
        EXPECT_FALSE(mediaStatus().playerAvailable);
        EXPECT_THAT(platform.messages, ElementsAre(Call{panel, "WindowMediaplayer non d\xE9tect\xE9.", "Information"}));
        click(6003);
        click(6005);
        EXPECT_THAT(platform.opened, ElementsAre(Call{panel, "kelvo3.mp3", "open", SW_SHOWNORMAL},
                                                 Call{panel, "kelvo5.mp3", "open", SW_SHOWNORMAL}));
        EXPECT_FALSE(fileExists("kelvo3.mp3"));
        click(7005);
        EXPECT_TRUE(fileExists("kelvo5.mp3")) << "stop buttons do nothing without the player";
        EXPECT_EQ(platform.messages.size(), 1u);
        close();
        EXPECT_FALSE(fileExists("kelvo5.mp3"));
    }
}

TEST_F(PlayerTest, ClipThatCannotBeWrittenIsReportedAndNotPlayed) {
    const struct { int kind; const char* file; const char* message; } rows[] = {
        {QuizKind::Audio, "kelvo3.mp3", "Impossible de charger le fichier audio."},
        {QuizKind::Video, "kelvo3.avi", "Impossible de charger le fichier vid\xE9o."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        platform.messages.clear();
        ASSERT_TRUE(CreateDirectoryA(row.file, nullptr));  // no file can take its name
        open({row.kind, numbered(6)});
        click(6003);
        EXPECT_THAT(platform.messages, ElementsAre(Call{nullptr, row.message, "Information"}));
        EXPECT_THAT(mediaStatus().playerUrl, ::testing::Not(EndsWith(row.file)));
        close();
        RemoveDirectoryA(row.file);
    }
}

}  // namespace
}  // namespace kelvo::testing
