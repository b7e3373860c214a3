#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quiz/quiz_loader.h"
#include "quiz/win32/executable_resources.h"
#include "quiz/win32/gdi_drawing_objects.h"
#include "resources/resource_ids.h"
#include "platform/win32/scoped_handles.h"
#include "support/recording_message_sink.h"

namespace kelvo {
namespace {

using Recorder = testing::RecordingMessageSink;
using Messages = std::vector<Recorder::Message>;

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

// A quiz with real fonts and brushes, loaded from resources `quizId` and `codesId`.
struct Loaded {
    Loaded(int quizId = ResourceIds::QuizData, int codesId = ResourceIds::CodesData) {
        RenumberedResources resources(quizId, codesId);
        loadQuiz(quiz, resources, messages);
    }
    GdiDrawingObjects drawing;
    Recorder messages;
    Quiz quiz{drawing};
};

TEST(QuizResources, TheLoaderReadsTheExecutablesOwnQuiz) {
    Loaded loaded;
    const Quiz& quiz = loaded.quiz;
    EXPECT_TRUE(loaded.messages.messages.empty());
    EXPECT_STREQ(quiz.title, "Quiz de g\xE9ographie");
    EXPECT_STREQ(quiz.author, " Mme Dupr\xE9");
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

// Reading loads what it finds (five resources here) and keeps none loaded.
TEST(QuizResources, DamagedOrMissingDataIsReportedOnceOrGivesTheDemonstration) {
    const struct { int quizId, codesId; Messages messages; const char* title; } cases[] = {
        {204, 105, {{"Erreur dans le d\xE9" "cryptage des reponses", "Kelvo"}}, "nom du kelvo"},
        {104, 204, {{"Erreur dans le d\xE9" "cryptage des codes", "Kelvo"}}, "Quiz de g\xE9ographie"},
        {104, 999, {{"Erreur dans le d\xE9" "cryptage des codes", "Kelvo"}}, "Quiz de g\xE9ographie"},  // codes absent
        {999, 105, {}, "Nom du kelvo"},  // no quiz data
        {206, 105, {}, "Nom du kelvo"},  // quiz data of size 0
    };
    const int before = liveHandles(HandleKind::Resource);
    const int loadsBefore = handlesTaken(HandleKind::Resource);
    for (const auto& test : cases) {
        Loaded loaded(test.quizId, test.codesId);
        EXPECT_EQ(loaded.messages.messages, test.messages) << test.quizId << ", " << test.codesId;
        EXPECT_STREQ(loaded.quiz.title, test.title) << test.quizId << ", " << test.codesId;
    }
    EXPECT_EQ(liveHandles(HandleKind::Resource), before);
    EXPECT_EQ(handlesTaken(HandleKind::Resource), loadsBefore + 5);
}

}  // namespace
}  // namespace kelvo
