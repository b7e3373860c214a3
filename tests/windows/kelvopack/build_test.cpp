#include <windows.h>

#include "kelvopack_fixture.h"

#include <chrono>
#include <thread>

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

TEST_F(Build, TheTextExampleReadsBackThroughThePlayersLoader) {
    const fs::path output = scratch / "capitales.exe";
    build(examplesFolder() / "capitales" / "capitales.toml", output);
    PlayerView view(output);
    const Quiz& quiz = view.quiz;
    EXPECT_EQ(quiz.kind, QuizKind::Text);
    EXPECT_EQ(quiz.questionCount, 5);
    EXPECT_EQ(quiz.answersPerQuestion, 1);
    EXPECT_EQ(quiz.revealMode, RevealMode::None);
    EXPECT_STREQ(quiz.title, "Capitales d'Europe");
    EXPECT_STREQ(quiz.author, " Mme Lef\xE8vre, CM2");
    EXPECT_STREQ(quiz.explanation, "\xC9" "crivez la capitale de chaque pays, puis appuyez sur Entr\xE9" "e.");
    EXPECT_STREQ(quiz.questionAt(3)->answer, "Ath\xE8nes");
    EXPECT_STREQ(quiz.questionAt(3)->prompt, "Quelle est la capitale de la Gr\xE8" "ce ?");
    EXPECT_STREQ(quiz.questionAt(5)->answer, "Copenhague");
    EXPECT_STREQ(quiz.codes[0], "");
    EXPECT_STREQ(quiz.codes[3], "\xC9TOILE");
    EXPECT_STREQ(quiz.codes[4], "COURONNE D'OR");
    EXPECT_EQ(quiz.color(), colorRef(0x5a, 0x5f, 0x96));
}

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
                if (!question.revealPicture.empty()) EXPECT_TRUE(view.pictureDecodes(QuizResourceIds::RevealPictureBase + n));
            }
        }
    }
}

TEST_F(Build, ARebuildKeepsNothingOfAnOlderQuiz) {
    const fs::path flags = scratch / "drapeaux.exe";
    build(examplesFolder() / "drapeaux" / "drapeaux.toml", flags);
    ASSERT_EQ(countOf(resourcesOf(flags), ResourceTypes::image()), 10);

    // Built over the older output file, and from the older quiz as player:
    // either way only the new quiz's resources remain.
    const fs::path capitals = examplesFolder() / "capitales" / "capitales.toml";
    build(capitals, flags);
    const fs::path fromOldQuiz = scratch / "from-old-quiz.exe";
    build(capitals, fromOldQuiz, flags);
    for (const fs::path& output : {flags, fromOldQuiz}) {
        SCOPED_TRACE(output.filename().u8string());
        const ResourceSet resources = resourcesOf(output);
        EXPECT_EQ(countOf(resources, ResourceTypes::image()), 0);
        EXPECT_EQ(countOf(resources, ResourceTypes::patch()), 2);
        EXPECT_NE(findResource(resources, ResourceName::number(ResourceTypes::Dialog), 1001), nullptr);
        PlayerView view(output);
        EXPECT_STREQ(view.quiz.title, "Capitales d'Europe");
    }
}

TEST_F(Build, QuizResourcesInAnotherLanguageAreNotKept) {
    // A player that already carries quiz data in French and US English.
    const fs::path player = scratch / "localised-player.exe";
    fs::copy_file(playerPath(), player);
    ResourceSet resources = resourcesOf(player);
    const Bytes junk = {'o', 'l', 'd'};
    resources.push_back({ResourceTypes::patch(), ResourceName::number(104), 0x040C, junk});
    resources.push_back({ResourceTypes::image(), ResourceName::number(401), 0x0409, junk});
    std::string error;
    ASSERT_TRUE(executables.writeResources(player, resources, error)) << error;

    const fs::path output = scratch / "capitales.exe";
    build(examplesFolder() / "capitales" / "capitales.toml", output, player);
    const ResourceSet written = resourcesOf(output);
    EXPECT_EQ(countOf(written, ResourceTypes::patch()), 2);
    EXPECT_EQ(countOf(written, ResourceTypes::image()), 0);
    for (const Resource& resource : written) {
        if (resource.type == ResourceTypes::patch()) EXPECT_EQ(resource.language, NeutralLanguage);
    }
    PlayerView view(output);
    EXPECT_EQ(view.quiz.questionCount, 5);
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
            EXPECT_TRUE(before[i].type == after[i].type && before[i].name == after[i].name);
            EXPECT_EQ(before[i].language, after[i].language);
            EXPECT_EQ(before[i].data, after[i].data);
        }
    }
}

// The player started for real on a built quiz opens its window with the
// quiz title, and closes on request.
TEST_F(Build, TheBuiltQuizOpensWithItsTitle) {
    const fs::path output = scratch / "capitales.exe";
    build(examplesFolder() / "capitales" / "capitales.toml", output);
    std::wstring commandLine = L"\"" + output.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(output.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, scratch.c_str(),
                               &startup, &process));
    struct Search {
        DWORD processId;
        HWND window;
    } search{process.dwProcessId, nullptr};
    const auto findWindow = [](HWND window, LPARAM parameter) -> BOOL {
        auto& wanted = *reinterpret_cast<Search*>(parameter);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        char title[260] = {};
        GetWindowTextA(window, title, sizeof title);
        if (owner == wanted.processId && IsWindowVisible(window) && std::string(title) == "Capitales d'Europe") {
            wanted.window = window;
            return FALSE;
        }
        return TRUE;
    };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (search.window == nullptr && std::chrono::steady_clock::now() < deadline) {
        EnumWindows(findWindow, reinterpret_cast<LPARAM>(&search));
        if (search.window == nullptr) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_NE(search.window, nullptr) << "no window titled with the quiz title";
    if (search.window != nullptr) PostMessageA(search.window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "the quiz did not close";
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // Closing saved the answers beside it, under the executable's name.
    EXPECT_TRUE(fs::exists(scratch / "capitales.txt"));
}

}  // namespace
}  // namespace kelvo::pack::testing
