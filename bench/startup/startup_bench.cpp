// Start-up time of Windows programs: from CreateProcess until the program's
// window is shown and its thread waits for input (WaitForInputIdle), taken
// as the median of several runs. The first program named is the reference;
// every other one is printed as a ratio to it. The fastest run is printed
// too: on a shared machine other work only ever adds time, so the minimum
// shows the program's own cost with less noise than the median.
//
//   startup_bench RUNS NAME=PROGRAM.exe [NAME=PROGRAM.exe ...]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Program {
    std::string name;
    std::string path;
    std::vector<double> milliseconds;
};

double now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER value;
        QueryPerformanceFrequency(&value);
        return value;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The program runs in its own folder, so that it finds no saved answers.
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

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

double fastest(const std::vector<double>& values) {
    return values.empty() ? 0.0 : *std::min_element(values.begin(), values.end());
}

double ratio(double value, double reference) { return reference > 0 ? value / reference : 0.0; }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_bench RUNS NAME=PROGRAM.exe [NAME=PROGRAM.exe ...]\n");
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    std::vector<Program> programs;
    for (int i = 2; i < argc; ++i) {
        std::string argument = argv[i];
        std::size_t equals = argument.find('=');
        programs.push_back({argument.substr(0, equals), argument.substr(equals + 1), {}});
    }
    // One warm-up start each, then the runs interleaved, so that a slower
    // moment of the machine weighs on every program alike.
    for (Program& program : programs)
        if (!timeOneStart(program)) {
            std::fprintf(stderr, "startup_bench: %s did not start\n", program.path.c_str());
            return 1;
        }
    for (Program& program : programs) program.milliseconds.clear();
    for (int run = 0; run < runs; ++run)
        for (Program& program : programs) timeOneStart(program);

    const double referenceMedian = median(programs.front().milliseconds);
    const double referenceFastest = fastest(programs.front().milliseconds);
    std::printf("%-16s %10s %8s %10s %8s %5s\n", "program", "median ms", "ratio", "min ms", "ratio", "runs");
    for (const Program& program : programs) {
        const double middle = median(program.milliseconds);
        const double least = fastest(program.milliseconds);
        std::printf("%-16s %10.1f %8.2f %10.1f %8.2f %5d\n", program.name.c_str(), middle,
                    ratio(middle, referenceMedian), least, ratio(least, referenceFastest),
                    static_cast<int>(program.milliseconds.size()));
    }
    return 0;
}
