// kelvopack under Wine: quizzes built into the real player, read back through
// the platform's resource functions, the player's own loader and picture
// decoder, checksummed by imagehlp, extracted and built again, and the
// command run as a child process.
#include <windows.h>
#include <imagehlp.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <tuple>

#include "core/commands.h"
#include "core/diagnostics.h"
#include "core/executable_image.h"
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
#include "resources/resource_ids.h"
#include "win32/console.h"

namespace kelvo::pack::testing {
namespace {

namespace fs = std::filesystem;

const fs::path PlayerPath = fs::u8path(KELVO_PLAYER_EXE);
const fs::path KelvopackPath = fs::u8path(KELVOPACK_EXE);
const fs::path ExamplesFolder = fs::u8path(KELVO_EXAMPLES_DIR);

using kelvo::testing::fileContent;
using kelvo::testing::writeFile;

// An executable loaded as a data file for its resources; released on scope exit.
class DataFileModule {
public:
    explicit DataFileModule(const fs::path& file) : module(LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~DataFileModule() {
        if (module != nullptr) FreeLibrary(module);
    }
    DataFileModule(const DataFileModule&) = delete;
    DataFileModule& operator=(const DataFileModule&) = delete;
    HMODULE get() const { return module; }

private:
    HMODULE module;
};

ResourceName nameFrom(LPCWSTR name) {
    if (IS_INTRESOURCE(name)) return ResourceName::number(static_cast<std::uint16_t>(reinterpret_cast<ULONG_PTR>(name)));
    ResourceName named;
    for (LPCWSTR c = name; *c != L'\0'; ++c) named.text.push_back(static_cast<char16_t>(*c));
    return named;
}

struct Enumeration {
    ResourceSet resources;
    ResourceName type;
    ResourceName name;
};

BOOL CALLBACK collectLanguage(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR parameter) {
    auto& enumeration = *reinterpret_cast<Enumeration*>(parameter);
    HRSRC found = FindResourceExW(module, type, name, language);
    const auto* bytes = static_cast<const std::uint8_t*>(found != nullptr ? LockResource(LoadResource(module, found)) : nullptr);
    EXPECT_NE(bytes, nullptr);
    const Bytes data = bytes != nullptr ? Bytes(bytes, bytes + SizeofResource(module, found)) : Bytes();
    enumeration.resources.push_back(Resource{enumeration.type, enumeration.name, language, data});
    return TRUE;
}

BOOL CALLBACK collectName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR parameter) {
    reinterpret_cast<Enumeration*>(parameter)->name = nameFrom(name);
    EnumResourceLanguagesW(module, type, name, collectLanguage, parameter);
    return TRUE;
}

BOOL CALLBACK collectType(HMODULE module, LPWSTR type, LONG_PTR parameter) {
    reinterpret_cast<Enumeration*>(parameter)->type = nameFrom(type);
    EnumResourceNamesW(module, type, collectName, parameter);
    return TRUE;
}

// Every resource of an executable as the platform's loader finds it.
ResourceSet platformResources(const fs::path& executable) {
    const DataFileModule module(executable);
    EXPECT_NE(module.get(), nullptr) << executable.u8string();
    Enumeration enumeration;
    if (module.get() != nullptr) EnumResourceTypesW(module.get(), collectType, reinterpret_cast<LONG_PTR>(&enumeration));
    return enumeration.resources;
}

auto key(const Resource& r) { return std::tie(r.type.id, r.type.text, r.name.id, r.name.text, r.language, r.data); }

ResourceSet sorted(ResourceSet resources) {
    std::sort(resources.begin(), resources.end(), [](const Resource& a, const Resource& b) { return key(a) < key(b); });
    return resources;
}

ResourceSet portableResources(const std::string& bytes) {
    ResourceSet resources;
    std::string error;
    EXPECT_TRUE(readExecutableResources(Bytes(bytes.begin(), bytes.end()), resources, error)) << error;
    return resources;
}

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

// A scratch folder per test, kelvopack.exe run in it.
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

    const fs::path scratch = fs::current_path() / ("scratch-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
};

using Build = KelvopackTest;

bool loads(HMODULE module, LPCWSTR name, UINT kind) {
    HANDLE loaded = LoadImageW(module, name, kind, 0, 0, LR_DEFAULTSIZE);
    if (loaded != nullptr) kind == IMAGE_ICON ? DestroyIcon(static_cast<HICON>(loaded)) : DestroyCursor(static_cast<HCURSOR>(loaded));
    return loaded != nullptr;
}

// What only a real build shows: the platform's resource functions find
// exactly the player's own resources and the compiled source's, byte for
// byte; the player's own loader opens them and its picture decoder shows
// every picture at the size kelvopack stored (that the player's fit keeps
// every stored size is tested beside the decoder); the icons and the cursor
// still load; imagehlp computes the checksum the file carries. Each example
// is built over the previous one's output, from a player that already
// carries quiz data in French and US English; extracted and built again
// from the clean player, it gives the same bytes: nothing of an older quiz
// remains.
TEST_F(Build, EveryExampleIsSeenWholeByThePlatformAndThePlayerAndExtractsToTheSameBytes) {
    const std::string playerBytes = fileContent(PlayerPath.string());
    const ResourceSet playerResources = portableResources(playerBytes);
    ResourceSet localised = playerResources;
    localised.push_back({ResourceTypes::patch(), ResourceName::number(104), 0x040C, {'o', 'l', 'd'}});
    localised.push_back({ResourceTypes::image(), ResourceName::number(401), 0x0409, {'o', 'l', 'd'}});
    Bytes localisedPlayer;
    std::string error;
    ASSERT_TRUE(writeExecutableResources(Bytes(playerBytes.begin(), playerBytes.end()), localised, localisedPlayer, error)) << error;
    const fs::path player = scratch / "localised-player.exe";
    writeFile(player.string(), std::string(localisedPlayer.begin(), localisedPlayer.end()));
    std::vector<fs::path> sources;
    for (const auto& entry : fs::recursive_directory_iterator(ExamplesFolder))
        if (entry.path().extension() == ".toml") sources.push_back(entry.path());
    std::sort(sources.begin(), sources.end());
    ASSERT_EQ(sources.size(), 5u);
    const fs::path first = scratch / "quiz.exe";
    for (const fs::path& source : sources) {
        SCOPED_TRACE(source.filename().u8string());
        build(source, first, player);
        PackedQuiz expected;
        Diagnostics diagnostics(source.u8string());
        ASSERT_TRUE(loadAndCompileQuiz(source, expected, diagnostics));
        ResourceSet quizResources;
        ASSERT_TRUE(makeQuizResources(expected, quizResources, error)) << error;
        const ResourceSet seen = sorted(platformResources(first)), meant = sorted(combineWithPlayer(playerResources, quizResources));
        EXPECT_TRUE(std::equal(seen.begin(), seen.end(), meant.begin(), meant.end(),
                               [](const Resource& a, const Resource& b) { return key(a) == key(b); }))
            << seen.size() << " resources seen, " << meant.size() << " meant";
        const DataFileModule module(first);
        ExecutablePatchResources patches(module.get());
        GdiDrawingObjects drawing;
        Quiz quiz{drawing};
        kelvo::testing::RecordingMessageSink messages;
        loadQuiz(quiz, patches, messages);
        EXPECT_TRUE(messages.messages.empty());
        EXPECT_EQ(quiz.questionCount, static_cast<int>(expected.questions.size()));
        for (const Resource& resource : quizResources) {
            if (resource.type != ResourceTypes::image()) continue;   // a clip shows no picture, nor has a picture header
            const ScopedBitmap shown(loadResourcePicture(module.get(), resource.name.id, "IMG", 260, 260));
            const PictureHeader stored = readPictureHeader(resource.data);
            EXPECT_EQ(kelvo::testing::sizeOf(shown.get()), (FittedSize{stored.width, stored.height})) << resource.name.id;
        }
        EXPECT_TRUE(loads(module.get(), MAKEINTRESOURCEW(ResourceIds::PlayIcon), IMAGE_ICON));
        EXPECT_TRUE(loads(module.get(), L"A", IMAGE_ICON));
        EXPECT_TRUE(loads(module.get(), MAKEINTRESOURCEW(ResourceIds::LinkCursor), IMAGE_CURSOR));
        std::string bytes = fileContent(first.string());
        DWORD carried = 0, computed = 0;
        ASSERT_NE(CheckSumMappedFile(bytes.data(), static_cast<DWORD>(bytes.size()), &carried, &computed), nullptr);
        EXPECT_EQ(carried, computed);

        const fs::path folder = scratch / (source.stem().u8string() + "-extracted");
        const ProcessResult extracted = runProcess(KelvopackPath, {"extract", first.u8string(), "-o", folder.u8string()}, scratch);
        ASSERT_EQ(extracted.exitCode, static_cast<DWORD>(ExitCodes::Success)) << extracted.err;
        const fs::path second = scratch / "again.exe";
        build(folder / "quiz.toml", second);
        EXPECT_TRUE(fileContent(second.string()) == bytes);
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
