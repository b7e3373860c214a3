#include "kelvopack_fixture.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "core/diagnostics.h"
#include "core/quiz_validation.h"
#include "platform/win32/scoped_handles.h"
#include "win32/console.h"

namespace kelvo::pack::testing {

const fs::path& playerPath() { static const fs::path path = fs::u8path(KELVO_PLAYER_EXE); return path; }
const fs::path& kelvopackPath() { static const fs::path path = fs::u8path(KELVOPACK_EXE); return path; }
const fs::path& examplesFolder() { static const fs::path path = fs::u8path(KELVO_EXAMPLES_DIR); return path; }

std::vector<fs::path> exampleSources() {
    std::vector<fs::path> sources;
    for (const auto& entry : fs::recursive_directory_iterator(examplesFolder())) {
        if (entry.path().extension() == ".toml") sources.push_back(entry.path());
    }
    std::sort(sources.begin(), sources.end());
    return sources;
}

KelvopackTest::KelvopackTest() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    scratch = fs::current_path() / (std::string("scratch-") + test->test_suite_name() + "-" + test->name());
    fs::remove_all(scratch);
    fs::create_directories(scratch);
}

KelvopackTest::~KelvopackTest() {
    std::error_code ignored;
    fs::remove_all(scratch, ignored);
}

int KelvopackTest::kelvopack(const std::vector<std::string>& arguments) {
    out.str("");
    err.str("");
    CommandContext context{executables, in, out, err, scratch, false};
    return runKelvopack(context, arguments);
}

void KelvopackTest::build(const fs::path& source, const fs::path& output, const fs::path& player) {
    ASSERT_EQ(kelvopack({"build", source.u8string(), "-o", output.u8string(), "--player", player.u8string()}),
              ExitCodes::Success)
        << err.str();
}

ResourceSet KelvopackTest::resourcesOf(const fs::path& executable) {
    ResourceSet resources;
    std::string error;
    EXPECT_TRUE(executables.readResources(executable, resources, error)) << error;
    return resources;
}

PackedQuiz KelvopackTest::compiled(const fs::path& source) {
    PackedQuiz quiz;
    Diagnostics diagnostics(source.u8string());
    EXPECT_TRUE(loadAndCompileQuiz(source, quiz, diagnostics));
    return quiz;
}

std::string readFile(const fs::path& file) {
    std::ifstream stream(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
}

void writeFile(const fs::path& file, const std::string& content) {
    std::ofstream(file, std::ios::binary) << content;
}

namespace {

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

}  // namespace

ProcessResult runProcess(const fs::path& program, const std::vector<std::string>& arguments, const fs::path& folder,
                         const std::string& input) {
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

}  // namespace kelvo::pack::testing
