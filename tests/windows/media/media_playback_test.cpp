#include <windows.h>

#include <gmock/gmock.h>

#include "media_fixture.h"
#include "resources/control_ids.h"
#include "platform/win32/scoped_handles.h"

namespace kelvo::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::IsEmpty;

using Call = RecordingMediaPlatform::Call;

HICON buttonIcon(HWND button) {
    return reinterpret_cast<HICON>(SendMessageA(button, BM_GETIMAGE, IMAGE_ICON, 0));
}

TEST_F(MediaQuizTest, AudioQuizHostsTheRealPlayer) {
    open(QuizKind::Audio);
    EXPECT_TRUE(mediaStatus().playerAvailable);
    EXPECT_THAT(platform.messages, IsEmpty());
    EXPECT_NE(GetModuleHandleA("atl.dll"), nullptr);
    HWND host = control(PanelIds::PlayerHost);
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(host, mediaStatus().playerHost);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(host, GWL_STYLE)) & ~WS_CLIPSIBLINGS, 0x50800000u);
    EXPECT_EQ(placeInParent(host), (Rect{0, 0, 0, 0})) << "audio needs no room";
    EXPECT_NE(buttonIcon(control(6001)), nullptr);
    EXPECT_NE(buttonIcon(control(7001)), nullptr);
    EXPECT_NE(buttonIcon(control(6001)), buttonIcon(control(7001)));
}

TEST_F(MediaQuizTest, SecondPlayReplacesTheFirstClip) {
    open(QuizKind::Audio);
    click(6003);
    EXPECT_EQ(fileContent("kelvo3.mp3"), clipBytes(403));
    EXPECT_THAT(mediaStatus().playerUrl, EndsWith("kelvo3.mp3"));
    click(6005);
    EXPECT_FALSE(clipFileExists("kelvo3.mp3"));
    EXPECT_EQ(fileContent("kelvo5.mp3"), clipBytes(405));
    EXPECT_THAT(mediaStatus().playerUrl, EndsWith("kelvo5.mp3"));
    EXPECT_EQ(mediaStatus().currentMedia, 5);
}

TEST_F(MediaQuizTest, StopOfAnyQuestionStopsTheCurrentClip) {
    open(QuizKind::Audio);
    click(6005);
    ASSERT_TRUE(clipFileExists("kelvo5.mp3"));
    click(7002);
    EXPECT_FALSE(clipFileExists("kelvo5.mp3"));
    EXPECT_EQ(mediaStatus().currentMedia, 5);
}

TEST_F(MediaQuizTest, QuestionWithoutClipOnlyEndsThePreviousOne) {
    open(QuizKind::Audio);
    click(6003);
    click(6004);
    EXPECT_FALSE(clipFileExists("kelvo3.mp3"));
    EXPECT_FALSE(clipFileExists("kelvo4.mp3"));
    EXPECT_EQ(mediaStatus().currentMedia, 4);
    EXPECT_THAT(platform.messages, IsEmpty());
}

TEST_F(MediaQuizTest, OnlyClicksOfThePlayAndStopButtonsCount) {
    open(QuizKind::Audio);
    SendMessageA(panel, WM_COMMAND, MAKEWPARAM(6003, BN_SETFOCUS), reinterpret_cast<LPARAM>(control(6003)));
    SendMessageA(panel, WM_COMMAND, 6000, 0);
    SendMessageA(panel, WM_COMMAND, 6097, 0);
    EXPECT_EQ(mediaStatus().currentMedia, 0);
    EXPECT_FALSE(clipFileExists("kelvo3.mp3"));
}

TEST_F(MediaQuizTest, ShutdownDeletesTheClipsOfTheQuizKindOnly) {
    for (const char* name : {"kelvo1.mp3", "kelvo96.mp3", "kelvo97.mp3", "kelvo2.avi"}) writeFile(name, "old");
    open(QuizKind::Audio);
    click(6005);
    HWND window = mainWindow;
    shutDownNow();
    EXPECT_FALSE(IsWindow(window)) << "media shutdown destroys the main window";
    EXPECT_FALSE(clipFileExists("kelvo1.mp3"));
    EXPECT_FALSE(clipFileExists("kelvo5.mp3"));
    EXPECT_FALSE(clipFileExists("kelvo96.mp3"));
    EXPECT_TRUE(clipFileExists("kelvo97.mp3"));
    EXPECT_TRUE(clipFileExists("kelvo2.avi"));
}

TEST_F(MediaQuizTest, ShutdownDeletesTheClipThePlayerWasGiven) {
    const int comPointers = liveHandles(HandleKind::ComPointer);
    const int libraries = liveHandles(HandleKind::Library);
    const int initialisations = liveHandles(HandleKind::ComInitialisation);
    open(QuizKind::Audio);
    click(6001);  // a real sound
    pumpUntil([] { return false; }, 300);
    ASSERT_TRUE(clipFileExists("kelvo1.mp3"));
    shutDownNow();
    EXPECT_FALSE(clipFileExists("kelvo1.mp3"));
    EXPECT_FALSE(mediaStatus().started);
    EXPECT_EQ(liveHandles(HandleKind::ComPointer), comPointers);
    EXPECT_EQ(liveHandles(HandleKind::Library), libraries);
    EXPECT_EQ(liveHandles(HandleKind::ComInitialisation), initialisations);
}

TEST_F(MediaQuizTest, VideoIsShownInTheBandAboveItsRowOnceItPlays) {
    open(QuizKind::Video);
    HWND host = control(PanelIds::PlayerHost);
    // Question 2 sits in row 1, column 2: play button at 336, 5 + 210.
    ASSERT_EQ(placeInParent(control(6002)), (Rect{336, 215, 20, 20}));
    click(6002);  // a real film
    EXPECT_EQ(fileContent("kelvo2.avi"), clipBytes(402));
    EXPECT_THAT(mediaStatus().playerUrl, EndsWith("kelvo2.avi"));
    ASSERT_TRUE(pumpUntil([&] { return IsWindowVisible(host) != FALSE; }, 10000));
    EXPECT_EQ(placeInParent(host), (Rect{336, 10, 260, 200}));
    // The player's own window follows its host, inside the border.
    HWND playerWindow = GetWindow(host, GW_CHILD);
    ASSERT_NE(playerWindow, nullptr);
    EXPECT_EQ(placeInParent(playerWindow), (Rect{0, 0, 258, 198}));
    click(7001);
    EXPECT_FALSE(clipFileExists("kelvo2.avi"));
    EXPECT_FALSE(IsWindowVisible(host));
}

TEST_F(MediaQuizTest, VideoThatFailsAfterAGoodOneLeavesNoOldFrame) {
    struct Row {
        int playButton;
        const char* why;
    } rows[] = {
        {6004, "no clip to hand over"},
        {6003, "a clip the player cannot decode: the request alone does not tell"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        open(QuizKind::Video);
        HWND host = control(PanelIds::PlayerHost);
        click(6002);
        ASSERT_TRUE(pumpUntil([&] { return IsWindowVisible(host) != FALSE; }, 10000));
        click(row.playButton);
        EXPECT_FALSE(IsWindowVisible(host));
        pumpUntil([] { return false; }, 1000);
        EXPECT_FALSE(IsWindowVisible(host));
        shutDownNow();
    }
}

// The control not registered, or the library that hosts it not loadable.
TEST_F(MediaQuizTest, WithoutThePlayerTheAssociatedProgramOpensTheClip) {
    for (bool libraryMissing : {false, true}) {
        SCOPED_TRACE(libraryMissing ? "atl.dll missing" : "control not registered");
        platform = RecordingMediaPlatform{};
        platform.hostingLibraryMissing = libraryMissing;
        if (!libraryMissing) platform.playerResult = REGDB_E_CLASSNOTREG;
        open(QuizKind::Audio);
        EXPECT_FALSE(mediaStatus().playerAvailable);
        EXPECT_THAT(platform.messages, ElementsAre(Call{panel, "WindowMediaplayer non d\xE9tect\xE9.", "Information"}));
        click(6003);
        click(6005);
        EXPECT_THAT(platform.opened, ElementsAre(Call{panel, "kelvo3.mp3", "open", SW_SHOWNORMAL},
                                                 Call{panel, "kelvo5.mp3", "open", SW_SHOWNORMAL}));
        EXPECT_FALSE(clipFileExists("kelvo3.mp3"));
        click(7005);
        EXPECT_TRUE(clipFileExists("kelvo5.mp3")) << "stop buttons do nothing without the player";
        EXPECT_EQ(platform.messages.size(), 1u);
        shutDownNow();
        EXPECT_FALSE(clipFileExists("kelvo5.mp3"));
    }
}

TEST_F(MediaQuizTest, ClipThatCannotBeWrittenIsReportedAndNotPlayed) {
    struct Row {
        int kind;
        const char* file;
        const char* message;
    } rows[] = {
        {QuizKind::Audio, "kelvo3.mp3", "Impossible de charger le fichier audio."},
        {QuizKind::Video, "kelvo3.avi", "Impossible de charger le fichier vid\xE9o."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        platform.messages.clear();
        ASSERT_TRUE(CreateDirectoryA(row.file, nullptr));  // no file can take its name
        open(row.kind);
        click(6003);
        EXPECT_THAT(platform.messages, ElementsAre(Call{nullptr, row.message, "Information"}));
        EXPECT_THAT(mediaStatus().playerUrl, ::testing::Not(EndsWith(row.file)));
        shutDownNow();
        RemoveDirectoryA(row.file);
    }
}

}  // namespace
}  // namespace kelvo::testing
