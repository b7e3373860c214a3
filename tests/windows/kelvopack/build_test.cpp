#include <windows.h>

#include "kelvopack_fixture.h"

#include <stb/stb_image_write.h>

#include "core/picture_header.h"
#include "core/quiz_payload.h"
#include "resources/control_ids.h"
#include "quiz/quiz.h"
#include "quiz/quiz_loader.h"
#include "quiz/win32/executable_resources.h"
#include "quiz/win32/gdi_drawing_objects.h"
#include "platform/win32/picture_loader.h"

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

struct ControlSearch {
    DWORD processId;
    int controlId;
    HWND found;
};

// Window enumeration callbacks are stdcall on 32-bit Windows, which a lambda
// cannot be: plain functions serve both builds.
BOOL CALLBACK findControlAmongChildren(HWND child, LPARAM context) {
    auto* search = reinterpret_cast<ControlSearch*>(context);
    if (GetDlgCtrlID(child) == search->controlId) search->found = child;
    return search->found == nullptr ? TRUE : FALSE;
}

BOOL CALLBACK findControlInProcessWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<ControlSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId) return TRUE;
    EnumChildWindows(window, findControlAmongChildren, context);
    return search->found == nullptr ? TRUE : FALSE;
}

// The window of a started program with this control identifier, searched
// among every top-level window of the process and their descendants.
HWND controlOfProcess(DWORD processId, int controlId) {
    ControlSearch search{processId, controlId, nullptr};
    EnumWindows(findControlInProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

TEST_F(Build, AQuizOfALargePhotoOpensWithThePictureAtItsStoredSize) {
    // 4105 x 3000: the player's own fit of it would give 259 x 190.
    const int width = 4105, height = 3000;
    std::vector<std::uint8_t> pixels(3u * width * height);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>((i / 3 % width) / 17 + (i * 2654435761u >> 28));
    std::string photo;
    stbi_write_jpg_to_func([](void* out, void* data, int size) { static_cast<std::string*>(out)->append(static_cast<char*>(data), size); },
                           &photo, width, height, 3, pixels.data(), 85);
    writeFile(scratch / "photo.jpg", photo);
    writeFile(scratch / "photo.toml", "title = \"Photo\"\nkind = \"picture\"\n[[question]]\nanswer = \"chat\"\npicture = \"photo.jpg\"\n");
    const fs::path quiz = scratch / "photo.exe";
    build(scratch / "photo.toml", quiz);
    const Bytes stored = PlayerView(quiz).image(QuizResourceIds::PictureBase + 1);
    EXPECT_LT(stored.size(), photo.size() / 20);
    EXPECT_EQ(readPictureHeader(stored).width, 260);
    EXPECT_EQ(readPictureHeader(stored).height, 190);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(quiz.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, scratch.c_str(), &startup, &process));
    EXPECT_EQ(WaitForInputIdle(process.hProcess, 60000), 0u);
    RECT box{};
    const HWND picture = controlOfProcess(process.dwProcessId, kelvo::PanelIds::pictureBox(1));
    EXPECT_NE(picture, nullptr);
    GetWindowRect(picture, &box);
    EXPECT_EQ(box.right - box.left, 260);
    EXPECT_EQ(box.bottom - box.top, 190);
    PostMessageW(GetAncestor(picture, GA_ROOT), WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

}  // namespace
}  // namespace kelvo::pack::testing
