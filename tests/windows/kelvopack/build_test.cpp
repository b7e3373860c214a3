#include <windows.h>

#include "kelvopack_fixture.h"

#include <stb/stb_image_write.h>

#include <algorithm>
#include <tuple>

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
using Texts = std::vector<std::string>;

// What only a real build shows: the player's own loader reads every field and
// media file, its picture decoder takes every picture, and the resources read
// back from the executable give the same resources once extracted and built.
TEST_F(Build, EveryExampleIsSeenWholeByThePlayerAndExtractsToTheSameResources) {
    const auto sources = exampleSources();
    ASSERT_EQ(sources.size(), 5u);
    for (const fs::path& source : sources) {
        SCOPED_TRACE(source.filename().u8string());
        const std::string name = source.stem().u8string();
        const fs::path first = scratch / (name + ".exe");
        build(source, first);
        const PackedQuiz expected = compiled(source);
        PlayerView view(first);
        const Quiz& quiz = view.quiz;
        EXPECT_EQ(std::tuple(quiz.kind, quiz.answersPerQuestion, quiz.revealMode, quiz.color()),
                  std::tuple(expected.kind, expected.answersPerQuestion, expected.revealMode,
                             colorRef(expected.red, expected.green, expected.blue)));
        EXPECT_EQ((Texts{quiz.title, quiz.author, quiz.explanation, quiz.firstAnswerLabel, quiz.secondAnswerLabel}),
                  (Texts{expected.title, expected.author, expected.explanation, expected.firstCaption, expected.secondCaption}));
        ASSERT_EQ(quiz.questionCount, static_cast<int>(expected.questions.size()));
        for (int n = 1; n <= quiz.questionCount; ++n) {
            const PackedQuestion& question = expected.questions[n - 1];
            const Question& shown = *quiz.questionAt(n);
            const std::string code = n <= static_cast<int>(expected.codes.size()) ? expected.codes[n - 1] : "";
            EXPECT_EQ((Texts{shown.answer, shown.secondAnswer, shown.prompt, shown.revealText, quiz.codes[n - 1]}),
                      (Texts{question.answer, question.secondAnswer, question.prompt, question.revealText, code})) << n;
            EXPECT_EQ(view.image(QuizResourceIds::PictureBase + n), question.picture) << n;
            EXPECT_EQ(view.image(QuizResourceIds::RevealPictureBase + n), question.revealPicture) << n;
            if (quiz.kind == QuizKind::Picture) {
                EXPECT_TRUE(view.pictureDecodes(QuizResourceIds::PictureBase + n)) << n;
                EXPECT_TRUE(question.revealPicture.empty() || view.pictureDecodes(QuizResourceIds::RevealPictureBase + n)) << n;
            }
        }

        const fs::path folder = scratch / (name + "-extracted");
        ASSERT_EQ(kelvopack({"extract", first.u8string(), "-o", folder.u8string()}), ExitCodes::Success) << err.str();
        const fs::path second = scratch / (name + "-again.exe");
        build(folder / (name + ".toml"), second);
        const auto same = [](const Resource& a, const Resource& b) {
            return std::tie(a.type, a.name, a.language, a.data) == std::tie(b.type, b.name, b.language, b.data);
        };
        const ResourceSet before = resourcesOf(first), after = resourcesOf(second);
        EXPECT_TRUE(std::equal(before.begin(), before.end(), after.begin(), after.end(), same));
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

struct ControlSearch {
    int controlId;
    HWND found;
};

// Window enumeration callbacks are stdcall on 32-bit Windows, which a lambda
// cannot be: plain functions serve both builds.
BOOL CALLBACK findControl(HWND child, LPARAM context) {
    auto* search = reinterpret_cast<ControlSearch*>(context);
    if (GetDlgCtrlID(child) == search->controlId) search->found = child;
    return search->found == nullptr;
}

BOOL CALLBACK findControlInTopWindow(HWND window, LPARAM context) {
    EnumChildWindows(window, findControl, context);
    return reinterpret_cast<ControlSearch*>(context)->found == nullptr;
}

// 4105 x 3000: the player's own fit of it would give 259 x 190; the started
// quiz shows the picture kelvopack stored at 260 x 190.
TEST_F(Build, AQuizOfALargePhotoOpensWithThePictureAtItsStoredSize) {
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

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(quiz.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, scratch.c_str(), &startup, &process));
    EXPECT_EQ(WaitForInputIdle(process.hProcess, 60000), 0u);
    ControlSearch search{kelvo::PanelIds::pictureBox(1), nullptr};
    EnumThreadWindows(process.dwThreadId, findControlInTopWindow, reinterpret_cast<LPARAM>(&search));
    ASSERT_NE(search.found, nullptr);
    RECT box{};
    GetWindowRect(search.found, &box);
    EXPECT_EQ(box.right - box.left, 260);
    EXPECT_EQ(box.bottom - box.top, 190);
    PostMessageW(GetAncestor(search.found, GA_ROOT), WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

}  // namespace
}  // namespace kelvo::pack::testing
