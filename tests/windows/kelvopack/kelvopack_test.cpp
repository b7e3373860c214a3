// kelvopack under Wine: quizzes built into the real player, read back through
// the player's own loader and picture decoder, extracted and built again, the
// command run as a child process, and a built quiz started for real.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <tuple>

#include "core/commands.h"
#include "core/diagnostics.h"
#include "core/picture_header.h"
#include "core/quiz_payload.h"
#include "core/quiz_validation.h"
#include "platform/win32/picture_loader.h"
#include "platform/win32/scoped_handles.h"
#include "quiz/quiz.h"
#include "quiz/quiz_loader.h"
#include "quiz/win32/executable_resources.h"
#include "quiz/win32/gdi_drawing_objects.h"
#include "support/player_fixture.h"
#include "win32/console.h"
#include "win32/executable_files.h"

namespace kelvo::pack::testing {
namespace {

namespace fs = std::filesystem;

const fs::path PlayerPath = fs::u8path(KELVO_PLAYER_EXE);
const fs::path KelvopackPath = fs::u8path(KELVOPACK_EXE);
const fs::path ExamplesFolder = fs::u8path(KELVO_EXAMPLES_DIR);

using kelvo::testing::fileContent;
using kelvo::testing::writeFile;

struct ProcessResult {
    DWORD exitCode = 0xFFFFFFFF;
    std::string out;
    std::string err;
};

// Runs a program in `folder`, standard input from `input`, output and errors
// through files (a pipe would wait for Wine's helper processes), for at most 60 s.
ProcessResult runProcess(const fs::path& program, const std::vector<std::string>& arguments, const fs::path& folder,
                         const std::string& input = {}) {
    const fs::path in = folder / "process-input.txt", out = folder / "process-output.txt", err = folder / "process-errors.txt";
    writeFile(in.string(), input);
    ProcessResult result;
    {
        SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
        const auto open = [&inherited](const fs::path& file, DWORD access, DWORD disposition) {
            return ScopedFile(CreateFileW(file.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited, disposition,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        };
        const ScopedFile stdinFile = open(in, GENERIC_READ, OPEN_EXISTING), stdoutFile = open(out, GENERIC_WRITE, CREATE_ALWAYS),
                         stderrFile = open(err, GENERIC_WRITE, CREATE_ALWAYS);
        std::wstring commandLine = L"program";
        for (const std::string& argument : arguments) commandLine += L" \"" + fromUtf8(argument) + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = stdinFile.get();
        startup.hStdOutput = stdoutFile.get();
        startup.hStdError = stderrFile.get();
        PROCESS_INFORMATION process{};
        SetEnvironmentVariableW(L"KELVOPACK_NO_PAUSE", L"1");
        if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(),
                            &startup, &process)) {
            return result;
        }
        if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 99);
        GetExitCodeProcess(process.hProcess, &result.exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    result.out = fileContent(out.string());
    result.err = fileContent(err.string());
    return result;
}

// A scratch folder per test, kelvopack.exe run in it, and the real Win32
// resource functions to read what it wrote.
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

    // build SOURCE -o OUTPUT --player PLAYER, expected to succeed.
    void build(const fs::path& source, const fs::path& output, const fs::path& player = PlayerPath) {
        const ProcessResult result =
            runProcess(KelvopackPath, {"build", source.u8string(), "-o", output.u8string(), "--player", player.u8string()}, scratch);
        ASSERT_EQ(result.exitCode, static_cast<DWORD>(ExitCodes::Success)) << result.err;
    }
    ResourceSet resourcesOf(const fs::path& executable) {
        ResourceSet resources;
        std::string error;
        EXPECT_TRUE(executables.readResources(executable, resources, error)) << error;
        return resources;
    }

    const fs::path scratch = fs::current_path() / ("scratch-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    Win32ExecutableFiles executables;
};

using Build = KelvopackTest;

// What only a real build shows: the quiz resources written into the real
// executable are those of the compiled source (the player's loader reading
// those bytes is pinned natively), the player's own loader opens them and
// its picture decoder shows every picture at the size kelvopack stored
// (that the player's fit keeps every stored size is tested beside the
// decoder). Each example is built over the previous one's output, from a
// player that already carries quiz data in French and US English; extracted
// and built again from the clean player, it gives the same resources:
// nothing of an older quiz remains.
TEST_F(Build, EveryExampleIsSeenWholeByThePlayerAndExtractsToTheSameResources) {
    const fs::path player = scratch / "localised-player.exe";
    fs::copy_file(PlayerPath, player);
    ResourceSet localised = resourcesOf(player);
    localised.push_back({ResourceTypes::patch(), ResourceName::number(104), 0x040C, {'o', 'l', 'd'}});
    localised.push_back({ResourceTypes::image(), ResourceName::number(401), 0x0409, {'o', 'l', 'd'}});
    std::string error;
    ASSERT_TRUE(executables.writeResources(player, localised, error)) << error;
    std::vector<fs::path> sources;
    for (const auto& entry : fs::recursive_directory_iterator(ExamplesFolder))
        if (entry.path().extension() == ".toml") sources.push_back(entry.path());
    std::sort(sources.begin(), sources.end());
    ASSERT_EQ(sources.size(), 5u);
    const auto same = [](const Resource& a, const Resource& b) {
        return std::tie(a.type, a.name, a.language, a.data) == std::tie(b.type, b.name, b.language, b.data);
    };
    const fs::path first = scratch / "quiz.exe";
    for (const fs::path& source : sources) {
        SCOPED_TRACE(source.filename().u8string());
        build(source, first, player);
        PackedQuiz expected;
        Diagnostics diagnostics(source.u8string());
        ASSERT_TRUE(loadAndCompileQuiz(source, expected, diagnostics));
        ResourceSet quizResources;
        ASSERT_TRUE(makeQuizResources(expected, quizResources, error)) << error;
        const ResourceSet before = resourcesOf(first);
        EXPECT_NE(findResource(before, ResourceName::number(ResourceTypes::Dialog), 1001), nullptr);
        const DataFileModule module(first);
        ExecutablePatchResources patches(module.get());
        GdiDrawingObjects drawing;
        Quiz quiz{drawing};
        kelvo::testing::RecordingMessageSink messages;
        loadQuiz(quiz, patches, messages);
        EXPECT_TRUE(messages.messages.empty());
        EXPECT_EQ(quiz.questionCount, static_cast<int>(expected.questions.size()));
        for (const Resource& resource : quizResources) {
            const Resource* written = findResource(before, resource.type, resource.name);
            ASSERT_NE(written, nullptr) << resource.name.id;
            EXPECT_TRUE(same(*written, resource)) << resource.name.id;
            if (resource.type == ResourceTypes::image()) {   // the player shows it at the size it was stored
                const ScopedBitmap shown(loadResourcePicture(module.get(), resource.name.id, "IMG", 260, 260));
                const PictureHeader stored = readPictureHeader(resource.data);
                EXPECT_EQ(kelvo::testing::sizeOf(shown.get()), (FittedSize{stored.width, stored.height})) << resource.name.id;
            }
        }

        const fs::path folder = scratch / (source.stem().u8string() + "-extracted");
        const ProcessResult extracted = runProcess(KelvopackPath, {"extract", first.u8string(), "-o", folder.u8string()}, scratch);
        ASSERT_EQ(extracted.exitCode, static_cast<DWORD>(ExitCodes::Success)) << extracted.err;
        const fs::path second = scratch / "again.exe";
        build(folder / "quiz.toml", second);
        const ResourceSet after = resourcesOf(second);
        EXPECT_TRUE(std::equal(before.begin(), before.end(), after.begin(), after.end(), same));
    }
}

using CommandLine = KelvopackTest;

// kelvopack.exe as a child process: its exit status, UTF-8 arguments, input
// and output through real files, and the player of its own build tree.
TEST_F(CommandLine, EachCommandExitsWithItsStatusAndSaysWhatHappened) {
    writeFile((scratch / "bad.toml").string(), "title = \"x\"\nkind = \"text\"\n[[question]]\nanswer = \"Paris \"\nprompt = \"?\"\n");
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
    EXPECT_TRUE(fs::exists(scratch / "formes" / "formes.exe"));
}

}  // namespace
}  // namespace kelvo::pack::testing
