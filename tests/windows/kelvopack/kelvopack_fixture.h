// Shared by the kelvopack tests: a scratch folder per test, the tool's
// commands run in-process with the real Win32 resource functions, resources
// read back from an executable, and child processes with redirected files.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "core/commands.h"
#include "core/packed_quiz.h"
#include "win32/executable_files.h"

namespace kelvo::pack::testing {

namespace fs = std::filesystem;

const fs::path& playerPath();
const fs::path& kelvopackPath();
const fs::path& examplesFolder();
// Every example source, sorted.
std::vector<fs::path> exampleSources();

class KelvopackTest : public ::testing::Test {
protected:
    KelvopackTest();
    ~KelvopackTest() override;

    // Runs `kelvopack` in-process; out and err keep what it printed.
    int kelvopack(const std::vector<std::string>& arguments);
    // build SOURCE -o OUTPUT --player PLAYER, expected to succeed.
    void build(const fs::path& source, const fs::path& output, const fs::path& player = playerPath());
    ResourceSet resourcesOf(const fs::path& executable);
    PackedQuiz compiled(const fs::path& source);

    fs::path scratch;
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

// Runs a program with standard input from `input` (may be empty) and its
// output collected through files, in `folder`; waits at most 60 s.
ProcessResult runProcess(const fs::path& program, const std::vector<std::string>& arguments, const fs::path& folder,
                         const std::string& input = {});

std::string readFile(const fs::path& file);
void writeFile(const fs::path& file, const std::string& content);

}  // namespace kelvo::pack::testing
