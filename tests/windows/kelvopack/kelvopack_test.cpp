// kelvopack under Wine: quizzes built into the real player, read back through
// the player's own loader and picture decoder, extracted and built again, the
// command run as a child process, and a built quiz started for real.
#include <windows.h>

#include <gtest/gtest.h>
#include <stb/stb_image_write.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <tuple>

#include "core/commands.h"
#include "core/diagnostics.h"
#include "core/quiz_payload.h"
#include "core/quiz_validation.h"
#include "platform/win32/picture_loader.h"
#include "platform/win32/scoped_handles.h"
#include "quiz/quiz.h"
#include "quiz/quiz_loader.h"
#include "quiz/win32/executable_resources.h"
#include "quiz/win32/gdi_drawing_objects.h"
#include "resources/control_ids.h"
#include "win32/console.h"
#include "win32/executable_files.h"

namespace kelvo::pack::testing {
namespace {

namespace fs = std::filesystem;

const fs::path PlayerPath = fs::u8path(KELVO_PLAYER_EXE);
const fs::path KelvopackPath = fs::u8path(KELVOPACK_EXE);
const fs::path ExamplesFolder = fs::u8path(KELVO_EXAMPLES_DIR);

// Every example source, sorted.
std::vector<fs::path> exampleSources() {
    std::vector<fs::path> sources;
    for (const auto& entry : fs::recursive_directory_iterator(ExamplesFolder)) {
        if (entry.path().extension() == ".toml") sources.push_back(entry.path());
    }
    std::sort(sources.begin(), sources.end());
    return sources;
}

std::string readFile(const fs::path& file) {
    std::ifstream stream(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
}

void writeFile(const fs::path& file, const std::string& content) { std::ofstream(file, std::ios::binary) << content; }

fs::path scratchFolder() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return fs::current_path() / (std::string("scratch-") + test->test_suite_name() + "-" + test->name());
}

// A scratch folder per test, and the tool's commands run in-process with the
// real Win32 resource functions.
class KelvopackTest : public ::testing::Test {
protected:
    KelvopackTest() {
        fs::remove_all(scratch);
        fs::create_directories(scratch);
    }
    ~KelvopackTest() override {
        std::error_code ignored;
        fs::remove_all(scratch, ignored);
    }

    // Runs `kelvopack` in-process; out and err keep what it printed.
    int kelvopack(const std::vector<std::string>& arguments) {
        out.str("");
        err.str("");
        CommandContext context{executables, in, out, err, scratch, false};
        return runKelvopack(context, arguments);
    }
    // build SOURCE -o OUTPUT --player PLAYER, expected to succeed.
    void build(const fs::path& source, const fs::path& output, const fs::path& player = PlayerPath) {
        ASSERT_EQ(kelvopack({"build", source.u8string(), "-o", output.u8string(), "--player", player.u8string()}), ExitCodes::Success)
            << err.str();
    }
    ResourceSet resourcesOf(const fs::path& executable) {
        ResourceSet resources;
        std::string error;
        EXPECT_TRUE(executables.readResources(executable, resources, error)) << error;
        return resources;
    }

    const fs::path scratch = scratchFolder();
    Win32ExecutableFiles executables;
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
};

struct ProcessResult {
    DWORD exitCode = 0xFFFFFFFF;
    std::string out;
    std::string err;
};

// A file handle the child inherits.
ScopedFile inheritedFile(const fs::path& file, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, TRUE};
    return ScopedFile(CreateFileW(file.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &attributes, disposition,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::wstring quotedArgument(const std::wstring& argument) {
    std::wstring quoted = L"\"";
    for (wchar_t c : argument) {
        if (c == L'"') quoted += L'\\';
        quoted += c;
    }
    return quoted + L"\"";
}

// Runs a program with standard input from `input` and its output collected
// through files, in `folder`; waits at most 60 s.
ProcessResult runProcess(const fs::path& program, const std::vector<std::string>& arguments, const fs::path& folder,
                         const std::string& input = {}) {
    const fs::path inputFile = folder / "process-input.txt";
    const fs::path outputFile = folder / "process-output.txt";
    const fs::path errorFile = folder / "process-errors.txt";
    writeFile(inputFile, input);
    ProcessResult result;
    {
        const ScopedFile stdinFile = inheritedFile(inputFile, GENERIC_READ, OPEN_EXISTING);
        const ScopedFile stdoutFile = inheritedFile(outputFile, GENERIC_WRITE, CREATE_ALWAYS);
        const ScopedFile stderrFile = inheritedFile(errorFile, GENERIC_WRITE, CREATE_ALWAYS);
        std::wstring commandLine = quotedArgument(program.wstring());
        for (const std::string& argument : arguments) commandLine += L" " + quotedArgument(fromUtf8(argument));
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = stdinFile.get();
        startup.hStdOutput = stdoutFile.get();
        startup.hStdError = stderrFile.get();
        PROCESS_INFORMATION process{};
        SetEnvironmentVariableW(L"KELVOPACK_NO_PAUSE", L"1");
        if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(), &startup,
                            &process)) {
            return result;
        }
        if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 99);
        GetExitCodeProcess(process.hProcess, &result.exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    result.out = readFile(outputFile);
    result.err = readFile(errorFile);
    return result;
}

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
        PackedQuiz expected;
        Diagnostics diagnostics(source.u8string());
        ASSERT_TRUE(loadAndCompileQuiz(source, expected, diagnostics));
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
    fs::copy_file(PlayerPath, player);
    ResourceSet resources = resourcesOf(player);
    resources.push_back({ResourceTypes::patch(), ResourceName::number(104), 0x040C, {'o', 'l', 'd'}});
    resources.push_back({ResourceTypes::image(), ResourceName::number(401), 0x0409, {'o', 'l', 'd'}});
    std::string error;
    ASSERT_TRUE(executables.writeResources(player, resources, error)) << error;

    const fs::path flags = scratch / "drapeaux.exe";
    build(ExamplesFolder / "drapeaux" / "drapeaux.toml", flags);
    ASSERT_EQ(countOf(resourcesOf(flags), ResourceTypes::image()), 10);
    // Built over the older output file, from the older quiz as player, from
    // the localised player: only the new quiz's resources remain.
    const fs::path capitals = ExamplesFolder / "capitales" / "capitales.toml";
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

using CommandLine = KelvopackTest;

// kelvopack.exe as a child process: its exit status, UTF-8 arguments, input
// and output through real files, and the player of its own build tree.
TEST_F(CommandLine, EachCommandExitsWithItsStatusAndSaysWhatHappened) {
    writeFile(scratch / "bad.toml", "title = \"x\"\nkind = \"text\"\n[[question]]\nanswer = \"Paris \"\nprompt = \"?\"\n");
    fs::copy(ExamplesFolder / "formes", scratch / "formes");
    const std::string pupil = "\xC3\xA9l\xC3\xA8ve", capitals = "\xC3\x89L\xC3\x88VE";   // élève, ÉLÈVE
    const struct {
        std::vector<std::string> arguments;
        std::string input;
        int status;
        std::string said;   // in its output, or in its errors when it fails
    } rows[] = {
        {{"build", "bad.toml", "-o", "bad.exe", "--arch", "64"}, "", ExitCodes::Invalid, "bad.toml, ligne 4 (question 1, answer) : erreur"},
        {{"build", "formes\\formes.toml", "--arch", "64"}, "", ExitCodes::Success, "formes.exe"},
        {{"build", "x.toml", "-o", "x.txt"}, "", ExitCodes::Usage, ""},
        {{"frobnicate"}, "", ExitCodes::Usage, ""},
        {{"--help"}, "", ExitCodes::Success, "extract"},
        {{"check", capitals, pupil}, "", ExitCodes::Success, "Presque\n"},
        {{"check"}, "CHIEN\tchine\r\n" + capitals + "\t" + pupil + "\n", ExitCodes::Success, "Anagramme\nPresque\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments.front() + " " + row.said);
        const ProcessResult result = runProcess(KelvopackPath, row.arguments, scratch, row.input);
        EXPECT_EQ(result.exitCode, static_cast<DWORD>(row.status)) << result.err;
        const std::string& said = row.status == ExitCodes::Success ? result.out : result.err;
        EXPECT_NE(said.find(row.said), std::string::npos) << said;
    }
    EXPECT_FALSE(fs::exists(scratch / "bad.exe"));
    EXPECT_TRUE(fs::exists(scratch / "formes" / "formes.exe"));
}

}  // namespace
}  // namespace kelvo::pack::testing
