#include <windows.h>

#include "kelvopack_fixture.h"

#include "core/quiz_payload.h"
#include "quiz/quiz.h"
#include "quiz/quiz_loader.h"
#include "quiz/win32/executable_resources.h"
#include "quiz/win32/gdi_drawing_objects.h"
#include "shell/win32/picture_loader.h"

namespace kelvo::pack::testing {
namespace {

class RecordingSink : public MessageSink {
public:
    void showMessage(const char* text, const char*) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

// The quiz of a built executable as the player sees it: its own loader on
// the executable's resources.
struct PlayerView {
    explicit PlayerView(const fs::path& executable) : module(executable) {
        EXPECT_TRUE(module) << executable.u8string();
        ExecutablePatchResources resources(module.get());
        loadQuiz(quiz, resources, messages);
        EXPECT_TRUE(messages.messages.empty()) << messages.messages.front();
    }
    Bytes image(int id) const { return resourceBytes(module.get(), "IMG", id); }
    bool pictureDecodes(int id) const {
        HBITMAP bitmap = loadResourcePicture(module.get(), id, "IMG", 260, 260);
        if (bitmap != nullptr) DeleteObject(bitmap);
        return bitmap != nullptr;
    }

    DataFileModule module;
    GdiDrawingObjects drawing;
    RecordingSink messages;
    Quiz quiz{drawing};
};

int countOf(const ResourceSet& resources, const ResourceName& type) {
    return static_cast<int>(std::count_if(resources.begin(), resources.end(),
                                          [&type](const Resource& resource) { return resource.type == type; }));
}

using Build = KelvopackTest;

TEST_F(Build, EveryExampleBuildsAndThePlayerSeesEveryFieldAndMediaFile) {
    const auto sources = exampleSources();
    ASSERT_EQ(sources.size(), 5u);
    for (const fs::path& source : sources) {
        SCOPED_TRACE(source.filename().u8string());
        const fs::path output = scratch / source.filename().replace_extension(".exe");
        build(source, output);
        const PackedQuiz expected = compiled(source);
        PlayerView view(output);
        const Quiz& quiz = view.quiz;
        EXPECT_EQ(quiz.kind, expected.kind);
        ASSERT_EQ(quiz.questionCount, static_cast<int>(expected.questions.size()));
        EXPECT_EQ(quiz.answersPerQuestion, expected.answersPerQuestion);
        EXPECT_EQ(quiz.revealMode, expected.revealMode);
        EXPECT_EQ(quiz.title, expected.title);
        EXPECT_EQ(quiz.author, expected.author);
        EXPECT_EQ(quiz.explanation, expected.explanation);
        EXPECT_EQ(quiz.firstAnswerLabel, expected.firstCaption);
        EXPECT_EQ(quiz.secondAnswerLabel, expected.secondCaption);
        EXPECT_EQ(quiz.color(), colorRef(expected.red, expected.green, expected.blue));
        for (int n = 1; n <= quiz.questionCount; ++n) {
            SCOPED_TRACE("question " + std::to_string(n));
            const PackedQuestion& question = expected.questions[n - 1];
            EXPECT_EQ(quiz.questionAt(n)->answer, question.answer);
            EXPECT_EQ(quiz.questionAt(n)->secondAnswer, question.secondAnswer);
            EXPECT_EQ(quiz.questionAt(n)->prompt, question.prompt);
            EXPECT_EQ(quiz.questionAt(n)->revealText, question.revealText);
            const std::string code = n <= static_cast<int>(expected.codes.size()) ? expected.codes[n - 1] : "";
            EXPECT_EQ(quiz.codes[n - 1], code);
            EXPECT_EQ(view.image(QuizResourceIds::PictureBase + n), question.picture);
            EXPECT_EQ(view.image(QuizResourceIds::RevealPictureBase + n), question.revealPicture);
            if (quiz.kind == QuizKind::Picture) {
                EXPECT_TRUE(view.pictureDecodes(QuizResourceIds::PictureBase + n));
                EXPECT_TRUE(question.revealPicture.empty() || view.pictureDecodes(QuizResourceIds::RevealPictureBase + n));
            }
        }
    }
}

TEST_F(Build, ARebuildKeepsNothingOfAnOlderQuiz) {
    // A player that already carries quiz data in French and US English.
    const fs::path player = scratch / "localised-player.exe";
    fs::copy_file(playerPath(), player);
    ResourceSet resources = resourcesOf(player);
    resources.push_back({ResourceTypes::patch(), ResourceName::number(104), 0x040C, {'o', 'l', 'd'}});
    resources.push_back({ResourceTypes::image(), ResourceName::number(401), 0x0409, {'o', 'l', 'd'}});
    std::string error;
    ASSERT_TRUE(executables.writeResources(player, resources, error)) << error;

    const fs::path flags = scratch / "drapeaux.exe";
    build(examplesFolder() / "drapeaux" / "drapeaux.toml", flags);
    ASSERT_EQ(countOf(resourcesOf(flags), ResourceTypes::image()), 10);
    // Built over the older output file, from the older quiz as player, from
    // the localised player: only the new quiz's resources remain.
    const fs::path capitals = examplesFolder() / "capitales" / "capitales.toml";
    build(capitals, flags);
    const fs::path fromOldQuiz = scratch / "from-old-quiz.exe";
    build(capitals, fromOldQuiz, flags);
    const fs::path fromLocalised = scratch / "from-localised.exe";
    build(capitals, fromLocalised, player);
    for (const fs::path& output : {flags, fromOldQuiz, fromLocalised}) {
        SCOPED_TRACE(output.filename().u8string());
        const ResourceSet written = resourcesOf(output);
        EXPECT_EQ(countOf(written, ResourceTypes::image()), 0);
        EXPECT_EQ(countOf(written, ResourceTypes::patch()), 2);
        for (const Resource& resource : written)
            EXPECT_TRUE(resource.type != ResourceTypes::patch() || resource.language == NeutralLanguage);
        EXPECT_NE(findResource(written, ResourceName::number(ResourceTypes::Dialog), 1001), nullptr);
        EXPECT_STREQ(PlayerView(output).quiz.title, "Capitales d'Europe");
    }
}

TEST_F(Build, ExtractThenBuildGivesTheSameResources) {
    for (const fs::path& source : exampleSources()) {
        SCOPED_TRACE(source.filename().u8string());
        const std::string name = source.stem().u8string();
        const fs::path first = scratch / (name + ".exe");
        build(source, first);
        const fs::path folder = scratch / (name + "-extracted");
        ASSERT_EQ(kelvopack({"extract", first.u8string(), "-o", folder.u8string()}), ExitCodes::Success) << err.str();
        const fs::path second = scratch / (name + "-again.exe");
        build(folder / (name + ".toml"), second);

        const ResourceSet before = resourcesOf(first);
        const ResourceSet after = resourcesOf(second);
        ASSERT_EQ(before.size(), after.size());
        for (std::size_t i = 0; i < before.size(); ++i) {
            EXPECT_TRUE(before[i].type == after[i].type && before[i].name == after[i].name &&
                        before[i].language == after[i].language && before[i].data == after[i].data) << i;
        }
    }
}

}  // namespace
}  // namespace kelvo::pack::testing
