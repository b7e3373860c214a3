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
    Loaded(int quizId, int codesId) {
        RenumberedResources resources(quizId, codesId);
        loadQuiz(quiz, resources, messages);
    }
    GdiDrawingObjects drawing;
    Recorder messages;
    Quiz quiz{drawing};
};

// The program's own quiz is fixtures/quiz.toml (its fields' reading is
// pinned natively). Reading loads what it finds and keeps none loaded.
TEST(QuizResources, TheOwnQuizIsReadAndDamagedOrMissingDataIsReportedOnceOrGivesTheDemonstration) {
    const struct { int quizId, codesId; Messages messages; const char* title; const char* secondCode; } cases[] = {
        {104, 105, {}, "Quiz de g\xE9ographie", "CODE-DEUX"},
        {204, 105, {{"Erreur dans le d\xE9" "cryptage des reponses", "Kelvo"}}, "nom du kelvo", ""},
        {104, 204, {{"Erreur dans le d\xE9" "cryptage des codes", "Kelvo"}}, "Quiz de g\xE9ographie", ""},
        {104, 999, {{"Erreur dans le d\xE9" "cryptage des codes", "Kelvo"}}, "Quiz de g\xE9ographie", ""},  // codes absent
        {999, 105, {}, "Nom du kelvo", ""},  // no quiz data
        {206, 105, {}, "Nom du kelvo", ""},  // quiz data of size 0
    };
    const int before = liveHandles(HandleKind::Resource);
    const int loadsBefore = handlesTaken(HandleKind::Resource);
    for (const auto& test : cases) {
        SCOPED_TRACE(std::to_string(test.quizId) + ", " + std::to_string(test.codesId));
        Loaded loaded(test.quizId, test.codesId);
        EXPECT_EQ(loaded.messages.messages, test.messages);
        EXPECT_STREQ(loaded.quiz.title, test.title);
        EXPECT_STREQ(loaded.quiz.codes[1], test.secondCode);
    }
    EXPECT_EQ(liveHandles(HandleKind::Resource), before);
    EXPECT_EQ(handlesTaken(HandleKind::Resource), loadsBefore + 7);
}

}  // namespace
}  // namespace kelvo
