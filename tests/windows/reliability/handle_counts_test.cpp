// Wine counts no objects for a process, so these tests read the program's
// own owners.
#include "support/player_fixture.h"

#include "resources/control_ids.h"
#include "resources/header_ids.h"
#include "shell/win32/application.h"

namespace kelvo::testing {
namespace {

const std::vector<std::string> TenAnswers = {"PARIS", "LYON", "NICE", "METZ", "DIJON",
                                             "BREST", "NANTES", "LILLE", "ROUEN", "TOURS"};

TEST_F(PlayerTest, ThousandsOfEvaluationsGiveBackEveryHandle) {
    open({QuizKind::Text, TenAnswers, RevealMode::AllAtEnd, {}, numbered(10, "CODE")});
    ShowWindow(mainWindow, SW_HIDE);  // the same work, without drawing each step on the screen
    const LiveCounts before = liveCounts();
    const int savesBefore = handlesTaken(HandleKind::File);
    // Right, near-miss, wrong, empty and over-long answers: every verdict,
    // reveals shown and hidden, score and code rewritten each time.
    const std::vector<std::string> typed = {"", "PARIS", "pari", "SIRAP", "xyz", std::string(300, 'P'), " paris "};
    constexpr int Rounds = 3000;
    for (int round = 0; round < Rounds; ++round) {
        const int index = round % 10;
        const int boxId = PanelIds::answerBox(index);
        std::string text = typed[round % typed.size()];
        if (text == "PARIS") text = TenAnswers[index];
        answer(boxId, text);
        if (round % 250 == 0) releaseKey(boxId, VK_F1);  // fill the open boxes
        if (round % 500 == 0) releaseKey(boxId, VK_F2);  // save
        if (round % 100 == 0) {
            RedrawWindow(mainWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            pumpMessages();
        }
    }
    pumpMessages();
    EXPECT_EQ(liveCounts(), before);
    EXPECT_EQ(handlesTaken(HandleKind::File), savesBefore + Rounds / 500) << "each save opened and closed its file";
    EXPECT_EQ(GetObjectType(theQuiz->rightBrush), static_cast<DWORD>(OBJ_BRUSH)) << "the quiz's brushes still live";
    EXPECT_EQ(GetObjectType(theQuiz->questionFont), static_cast<DWORD>(OBJ_FONT));
}

TEST_F(PlayerTest, HundredsOfRevealPictureSwapsGiveBackEveryHandle) {
    open({QuizKind::Picture, {"rouge", "vert"}, RevealMode::Picture});
    ShowWindow(mainWindow, SW_HIDE);
    const LiveCounts before = liveCounts();
    const int bitmapsBefore = handlesTaken(HandleKind::GdiObject);
    constexpr int Swaps = 300;
    int deletedOnSwap = 0;
    for (int round = 0; round < Swaps; ++round) {
        const HBITMAP previous = shownBitmap(1 + round % 2);
        answer(PanelIds::answerBox(round % 2), round % 2 == 0 ? "rouge" : "vert");
        if (GetObjectType(previous) == 0) ++deletedOnSwap;
        if (round % 4 == 3) answer(PanelIds::answerBox(round % 2), "faux");  // the picture stays
    }
    EXPECT_EQ(verdict(PanelIds::answerBox(0)), "BRAVO");
    EXPECT_EQ(liveCounts(), before);
    EXPECT_EQ(deletedOnSwap, Swaps) << "every swap deleted the picture it replaced";
    EXPECT_GE(handlesTaken(HandleKind::GdiObject), bitmapsBefore + Swaps);
}

TEST_F(PlayerTest, HundredsOfClipPlaysGiveBackEveryHandle) {
    // Wine's player takes about half a second a clip: a few dozen plays.
    const struct { const char* why; bool playerMissing; int plays; } rows[] = {
        {"the media player control", false, 24},
        {"the associated program", true, 300},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why);
        platform = RecordingMediaPlatform{};
        platform.playerResult = row.playerMissing ? REGDB_E_CLASSNOTREG : S_OK;
        open({QuizKind::Audio, {"a", "b", "c", "d", "e", "f"}, RevealMode::None});
        ShowWindow(mainWindow, SW_HIDE);
        ASSERT_EQ(mediaStatus().playerAvailable, !row.playerMissing);
        const LiveCounts before = liveCounts();
        const int filesBefore = handlesTaken(HandleKind::File);
        for (int round = 0; round < row.plays; ++round) {
            click(PanelIds::PlayButtonBase + 5 + round % 2);
            if (round % 3 == 2) click(PanelIds::StopButtonBase + 1);
        }
        pumpMessages();
        EXPECT_EQ(liveCounts(), before);
        EXPECT_EQ(handlesTaken(HandleKind::File), filesBefore + row.plays) << "each play wrote its clip";
        EXPECT_EQ(platform.messages.size(), row.playerMissing ? 1u : 0u) << "only the missing player is reported";
        EXPECT_EQ(platform.opened.size(), row.playerMissing ? static_cast<std::size_t>(row.plays) : 0u);
        close();
    }
}

// What the program made and says it releases at shutdown.
std::vector<HGDIOBJ> objectsOfTheRun(HWND panel, int questions) {
    const Quiz& quiz = *theQuiz;
    std::vector<HGDIOBJ> objects = {backgroundBrush.get(), quiz.backBrush,   quiz.wrongBrush,   quiz.rightBrush,
                                    quiz.anagramBrush, quiz.closeBrush, quiz.promptBrush, quiz.titleFont,
                                    quiz.questionFont, quiz.scoreFont};
    objects.push_back(reinterpret_cast<HGDIOBJ>(SendMessageA(headerPanelWindow, WM_CTLCOLORDLG, 0, 0)));
    objects.push_back(reinterpret_cast<HGDIOBJ>(
        SendMessageA(GetDlgItem(headerPanelWindow, HeaderIds::Link), WM_GETFONT, 0, 0)));
    for (int question = 1; question <= questions; ++question) {
        HWND box = GetDlgItem(panel, PanelIds::pictureBox(question));
        if (box != nullptr) objects.push_back(reinterpret_cast<HGDIOBJ>(SendMessageA(box, STM_GETIMAGE, IMAGE_BITMAP, 0)));
    }
    return objects;
}

TEST_F(PlayerTest, ShutdownReleasesWhatTheProgramMade) {
    const struct { const char* why; int kind, revealMode, pictures; /* bitmaps shown after start */ } rows[] = {
        {"text quiz", QuizKind::Text, RevealMode::Text, 0},
        {"picture quiz with a swapped-in reveal picture", QuizKind::Picture, RevealMode::Picture, 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why);
        const LiveCounts before = liveCounts();
        open({row.kind, {"rouge", "vert"}, row.revealMode});
        answer(PanelIds::answerBox(0), "rouge");
        const std::vector<HGDIOBJ> made = objectsOfTheRun(panel, 2);
        ASSERT_EQ(made.size(), 12u + row.pictures);
        for (HGDIOBJ object : made) EXPECT_NE(GetObjectType(object), 0u) << object << " lives while the player runs";
        EXPECT_NE(liveCounts(), before);
        close();
        pumpMessages();
        for (HGDIOBJ object : made) EXPECT_EQ(GetObjectType(object), 0u) << object << " released at shutdown";
        EXPECT_EQ(liveCounts(), before);
        EXPECT_EQ(backgroundBrush.get(), nullptr);
        EXPECT_EQ(theQuiz, nullptr);
    }
}

}  // namespace
}  // namespace kelvo::testing
