#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quiz/quiz_loader.h"
#include "quiz/win32/executable_resources.h"
#include "quiz/win32/gdi_drawing_objects.h"
#include "resources/resource_ids.h"
#include "shell/win32/scoped_handles.h"

namespace kelvo {
namespace {

class Recorder : public MessageSink {
public:
    void showMessage(const char* text, const char* caption) override {
        messages.push_back(std::string(text) + "|" + caption);
    }
    std::vector<std::string> messages;
};

// The program's real resources, with some identifiers read in place of others.
class RenumberedResources : public QuizResourceSource {
public:
    RenumberedResources(int quizId, int codesId) : quizId(quizId), codesId(codesId) {}
    std::vector<std::uint8_t> patchResource(int id) override {
        return executable.patchResource(id == ResourceIds::QuizData ? quizId : codesId);
    }

private:
    ExecutablePatchResources executable;
    int quizId, codesId;
};

TEST(QuizResources, TheLoaderReadsTheExecutablesOwnQuiz) {
    GdiDrawingObjects drawing;
    Recorder messages;
    ExecutablePatchResources resources;
    Quiz quiz(drawing);
    loadQuiz(quiz, resources, messages);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_STREQ(quiz.title, "Quiz de g\xE9ographie");
    EXPECT_STREQ(quiz.author, "Mme Dupr\xE9");
    EXPECT_EQ(quiz.kind, QuizKind::Video);
    EXPECT_EQ(quiz.questionCount, 2);
    EXPECT_EQ(quiz.answersPerQuestion, 2);
    EXPECT_EQ(quiz.revealMode, RevealMode::Text);
    EXPECT_STREQ(quiz.questionAt(2)->secondAnswer, "RH\xD4NE");
    EXPECT_STREQ(quiz.questionAt(2)->prompt, "Ville des Lumi\xE8res");
    EXPECT_STREQ(quiz.questionAt(2)->revealText, "Les Gaules");
    EXPECT_STREQ(quiz.codes[1], "CODE-DEUX");
    LOGBRUSH brush = {};
    ASSERT_NE(GetObjectA(quiz.backBrush, sizeof brush, &brush), 0);
    EXPECT_EQ(brush.lbColor, RGB(16, 32, 48));
}

TEST(QuizResources, DamagedDataIsReportedOnce) {
    struct Case {
        int quizId, codesId;
        const char* message;
    } cases[] = {
        {204, 105, "Erreur dans le d\xE9" "cryptage des reponses|Kelvo"},
        {104, 204, "Erreur dans le d\xE9" "cryptage des codes|Kelvo"},
        {104, 999, "Erreur dans le d\xE9" "cryptage des codes|Kelvo"},  // codes absent
    };
    for (const auto& test : cases) {
        GdiDrawingObjects drawing;
        Recorder messages;
        RenumberedResources resources(test.quizId, test.codesId);
        Quiz quiz(drawing);
        loadQuiz(quiz, resources, messages);
        EXPECT_EQ(messages.messages, std::vector<std::string>{test.message});
    }
}

TEST(QuizResources, NoQuizDataGivesTheDemonstration) {
    for (int quizId : {999, 206}) {  // absent, and present with no bytes
        SCOPED_TRACE(quizId);
        GdiDrawingObjects drawing;
        Recorder messages;
        RenumberedResources resources(quizId, 105);
        Quiz quiz(drawing);
        loadQuiz(quiz, resources, messages);
        EXPECT_TRUE(messages.messages.empty());
        EXPECT_STREQ(quiz.title, "Nom du kelvo");
        EXPECT_EQ(quiz.questionCount, 7);
    }
}

TEST(QuizResources, ReadingResourcesKeepsNoHandle) {
    const int before = liveHandles(HandleKind::Resource);
    const int loadsBefore = handlesTaken(HandleKind::Resource);
    for (int id : {104, 105, 204, 206, 999}) resourceBytes(nullptr, "PATCH", id);
    EXPECT_EQ(liveHandles(HandleKind::Resource), before);
    EXPECT_GE(handlesTaken(HandleKind::Resource), loadsBefore + 3) << "every resource found was loaded";
}

TEST(QuizResources, TheQuizFontsAndBrushesAreCountedAndReleased) {
    const int brushes = liveHandles(HandleKind::Brush);
    const int fonts = liveHandles(HandleKind::Font);
    HGDIOBJ constructorBrush = nullptr;
    {
        GdiDrawingObjects drawing;
        Recorder messages;
        ExecutablePatchResources resources;
        Quiz quiz(drawing);
        constructorBrush = quiz.backBrush;
        loadQuiz(quiz, resources, messages);  // replaces the background brush
        quiz.createQuestionFont();
        EXPECT_EQ(liveHandles(HandleKind::Brush), brushes + 6);
        EXPECT_EQ(liveHandles(HandleKind::Font), fonts + 3);
        EXPECT_EQ(GetObjectType(constructorBrush), 0u) << "the replaced brush is released";
    }
    EXPECT_EQ(liveHandles(HandleKind::Brush), brushes);
    EXPECT_EQ(liveHandles(HandleKind::Font), fonts);
}

}  // namespace
}  // namespace kelvo
