// Start-up time of Windows programs: from CreateProcess until the program's
// window is shown and painted and its thread waits for input
// (WaitForInputIdle), taken as the median of several runs. A program named
// NAME@REFERENCE is also printed as a ratio to the program named REFERENCE:
// the median of the ratios of the two starts of each round, which a slower
// moment of the shared machine moves far less than the times themselves.
// The fastest run is printed too: other work only ever adds time.
//
//   startup_bench RUNS NAME[@REFERENCE]=PROGRAM.exe ...
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_timing.h"

using bench::median;
using bench::now;

namespace {

struct Program {
    std::string name;
    std::string reference;
    std::string path;
    std::vector<double> milliseconds;  // one per round
};

// The program runs in its own folder, where it finds its saved answers, if any.
std::string folderOf(const std::string& path) {
    std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

bool timeOneStart(Program& program) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string commandLine = "\"" + program.path + "\"";
    std::string folder = folderOf(program.path);
    double start = now();
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process))
        return false;
    DWORD waited = WaitForInputIdle(process.hProcess, 60000);
    double elapsed = now() - start;
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (waited != 0) return false;
    program.milliseconds.push_back(elapsed);
    return true;
}

double fastest(const std::vector<double>& values) {
    return values.empty() ? 0.0 : *std::min_element(values.begin(), values.end());
}

const Program* findProgram(const std::vector<Program>& programs, const std::string& name) {
    for (const Program& program : programs)
        if (program.name == name) return &program;
    return nullptr;
}

double medianRatio(const Program& program, const Program& reference) {
    std::vector<double> ratios;
    for (std::size_t round = 0; round < program.milliseconds.size() && round < reference.milliseconds.size(); ++round)
        ratios.push_back(program.milliseconds[round] / reference.milliseconds[round]);
    return median(ratios);
}

Program parseProgram(const std::string& argument) {
    const std::size_t equals = argument.find('=');
    const std::string names = argument.substr(0, equals);
    const std::size_t at = names.find('@');
    Program program;
    program.name = names.substr(0, at);
    if (at != std::string::npos) program.reference = names.substr(at + 1);
    program.path = argument.substr(equals + 1);
    return program;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_bench RUNS NAME[@REFERENCE]=PROGRAM.exe ...\n");
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    std::vector<Program> programs;
    for (int i = 2; i < argc; ++i) programs.push_back(parseProgram(argv[i]));
    // One warm-up start each, then the runs interleaved, so that a slower
    // moment of the machine weighs on every program alike; every other round
    // goes backwards, so that no program always follows the same one.
    for (int run = -1; run < runs; ++run) {
        for (std::size_t i = 0; i < programs.size(); ++i) {
            Program& program = programs[run % 2 == 0 ? i : programs.size() - 1 - i];
            if (!timeOneStart(program)) {
                std::fprintf(stderr, "startup_bench: %s did not start\n", program.path.c_str());
                return 1;
            }
            if (run < 0) program.milliseconds.clear();
        }
    }

    std::printf("%-24s %10s %10s %-24s %6s %5s\n", "program", "median ms", "min ms", "reference", "ratio", "runs");
    for (const Program& program : programs) {
        const Program* reference = findProgram(programs, program.reference);
        std::printf("%-24s %10.1f %10.1f %-24s %6.2f %5d\n", program.name.c_str(), median(program.milliseconds),
                    fastest(program.milliseconds), reference ? reference->name.c_str() : "-",
                    reference ? medianRatio(program, *reference) : 0.0, static_cast<int>(program.milliseconds.size()));
    }
    return 0;
}
