// Encode and decode throughput of the codec on three 65535-byte inputs, side
// by side with the Unix compress program run as a subprocess on the same
// bytes (-f, or compress fails on input it cannot shrink). Random bytes grow
// under LZW: that input is cut to the largest size whose stream encode
// accepts.
//
// Starting a process costs more here than compressing 64 KB, so compress is
// timed twice: once per input as the codec is used (one process per
// resource), and over the same input continued to 32 times its size, minus
// the cost of starting /bin/true, which gives its throughput once running.
// All times are processor time (user + system, the child's own for
// subprocesses), as the machine may be busy with other work.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "quiz/lzw_codec.h"
#include "sample_inputs.h"

extern char** environ;

namespace {

using kelvo::lzw::Result;

const std::uint8_t* bytesOf(const std::string& text) { return reinterpret_cast<const std::uint8_t*>(text.data()); }

struct Sample {
    std::string name;
    std::string bytes;
    std::string stream;          // our codec's stream
    std::string path;            // the input as a file, for the subprocesses
    std::string compressedPath;  // compress -c of it
    std::size_t compressedSize = 0;
    std::size_t compressed12Size = 0;  // compress -b12, the codec's own largest width
    std::string longPath;              // the input continued to LongFactor times its size
    std::string longCompressedPath;
};

constexpr std::size_t LongFactor = 32;

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Runs a program with stdin from one file and stdout to another and returns
// the processor time it used (user and system), or a negative value when it
// could not run or did not exit with 0. Processor time, not wall time: the
// machine may be busy with other work.
double runProgram(std::vector<const char*> arguments, const std::string& in, const std::string& out) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    arguments.push_back(nullptr);
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, arguments[0], &actions, nullptr,
                                     const_cast<char* const*>(arguments.data()), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    auto seconds = [](const timeval& time) { return static_cast<double>(time.tv_sec) + time.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

std::size_t largestEncodableRandomSize() {
    const std::string bytes = kelvo::bench::randomBytes(kelvo::lzw::MaxInputSize);
    std::size_t fits = 1;
    std::size_t refused = bytes.size() + 1;
    while (refused - fits > 1) {
        const std::size_t middle = (fits + refused) / 2;
        (kelvo::lzw::encode(bytesOf(bytes), middle).status == kelvo::lzw::Success ? fits : refused) = middle;
    }
    return fits;
}

// `make(size)` gives the first `size` bytes of one endless input.
template <typename MakeInput>
Sample makeSample(const std::string& folder, const std::string& name, std::size_t size, MakeInput make) {
    Sample sample;
    sample.name = name;
    sample.bytes = make(size);
    Result stream = kelvo::lzw::encode(bytesOf(sample.bytes), sample.bytes.size());
    if (stream.status != kelvo::lzw::Success) {
        std::fprintf(stderr, "encode refused %s (%d)\n", name.c_str(), stream.status);
        std::exit(1);
    }
    sample.stream.assign(reinterpret_cast<const char*>(stream.output.get()), stream.length);
    sample.path = folder + "/" + name;
    sample.compressedPath = sample.path + ".Z";
    writeFile(sample.path, sample.bytes);
    sample.longPath = sample.path + ".long";
    sample.longCompressedPath = sample.longPath + ".Z";
    writeFile(sample.longPath, make(size * LongFactor));
    if (runProgram({"compress", "-f", "-c"}, sample.path, sample.compressedPath) < 0 ||
        runProgram({"compress", "-f", "-c", "-b", "12"}, sample.path, sample.path + ".b12.Z") < 0 ||
        runProgram({"compress", "-f", "-c"}, sample.longPath, sample.longCompressedPath) < 0) {
        std::fprintf(stderr, "compress failed on %s (is ncompress installed?)\n", name.c_str());
        std::exit(1);
    }
    sample.compressedSize = readFile(sample.compressedPath).size();
    sample.compressed12Size = readFile(sample.path + ".b12.Z").size();
    return sample;
}

void encodeBenchmark(benchmark::State& state, const Sample* sample) {
    for (auto _ : state) {
        Result result = kelvo::lzw::encode(bytesOf(sample->bytes), sample->bytes.size());
        benchmark::DoNotOptimize(result.output.get());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sample->bytes.size()));
}

void decodeBenchmark(benchmark::State& state, const Sample* sample) {
    for (auto _ : state) {
        Result result = kelvo::lzw::decode(bytesOf(sample->stream), sample->stream.size());
        benchmark::DoNotOptimize(result.output.get());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sample->bytes.size()));
}

void programBenchmark(benchmark::State& state, std::vector<const char*> arguments, std::string in,
                      std::size_t bytes) {
    for (auto _ : state) {
        const double seconds = runProgram(arguments, in, "/dev/null");
        if (seconds < 0) {
            state.SkipWithError("the program failed");
            break;
        }
        state.SetIterationTime(seconds);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

// Keeps the seconds per iteration of every run for the closing table.
class TableReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            std::string name = run.benchmark_name();
            const std::string suffix = "/manual_time";
            const bool manual = name.size() > suffix.size() &&
                                name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
            if (manual) name.resize(name.size() - suffix.size());
            // A subprocess's own processor time was reported as manual time.
            const double total = manual ? run.real_accumulated_time : run.cpu_accumulated_time;
            if (run.iterations > 0) seconds[name] = total / static_cast<double>(run.iterations);
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> seconds;
};

std::string megabytesPerSecond(double bytes, double seconds) {
    if (seconds <= 0) return "-";  // the subtracted spawn cost exceeded the measure
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", bytes / seconds / 1e6);
    return text;
}

void printTable(const std::vector<Sample>& samples, TableReporter& reporter) {
    const double spawn = reporter.seconds["spawn_true"];
    std::printf("\n%-14s %6s | %6s %8s %6s | %7s %9s %9s | %7s %9s %9s\n", "", "", "stream", "", "",
                "encode", "compress", "", "decode", "compress", "");
    std::printf("%-14s %6s | %6s %8s %6s | %7s %9s %9s | %7s %9s %9s\n", "input", "bytes", "ours", "compress",
                "-b12", "ours", "1 run", "running", "ours", "-d 1 run", "running");
    for (const Sample& sample : samples) {
        auto time = [&](const std::string& what) { return reporter.seconds[what + "/" + sample.name]; };
        const double bytes = static_cast<double>(sample.bytes.size());
        const double longBytes = bytes * LongFactor;
        std::printf("%-14s %6zu | %6zu %8zu %6zu | %7s %9s %9s | %7s %9s %9s\n", sample.name.c_str(),
                    sample.bytes.size(), sample.stream.size(), sample.compressedSize, sample.compressed12Size,
                    megabytesPerSecond(bytes, time("encode")).c_str(),
                    megabytesPerSecond(bytes, time("compress")).c_str(),
                    megabytesPerSecond(longBytes, time("compress_long") - spawn).c_str(),
                    megabytesPerSecond(bytes, time("decode")).c_str(),
                    megabytesPerSecond(bytes, time("compress_d")).c_str(),
                    megabytesPerSecond(longBytes, time("compress_d_long") - spawn).c_str());
    }
    std::printf("Stream sizes in bytes: our codec, compress -c, compress -c -b12 (12-bit codes like ours).\n"
                "Throughput in MB/s of input bytes per processor second. \"1 run\": one compress process per\n"
                "input, start included. \"running\": compress over the input continued to %zu times its size,\n"
                "minus the start of /bin/true (%.2f ms).\n",
                LongFactor, spawn * 1e3);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    char folderTemplate[] = "/tmp/kelvo-bench-XXXXXX";
    const char* folder = mkdtemp(folderTemplate);
    if (folder == nullptr) return 1;

    const std::size_t randomSize = largestEncodableRandomSize();
    std::printf("random bytes: %zu, the largest prefix whose stream fits %zu bytes\n", randomSize,
                kelvo::lzw::EncodeBufferSize);
    std::vector<Sample> samples;
    samples.push_back(makeSample(folder, "french_text", kelvo::lzw::MaxInputSize, kelvo::bench::frenchText));
    samples.push_back(makeSample(folder, "quiz_resource", kelvo::lzw::MaxInputSize, kelvo::bench::quizResource));
    samples.push_back(makeSample(folder, "random_bytes", randomSize, kelvo::bench::randomBytes));

    benchmark::RegisterBenchmark("spawn_true", programBenchmark, std::vector<const char*>{"/bin/true"},
                                 samples[0].path, 0)
        ->UseManualTime();

    for (const Sample& sample : samples) {
        const std::size_t bytes = sample.bytes.size();
        benchmark::RegisterBenchmark(("encode/" + sample.name).c_str(), encodeBenchmark, &sample);
        benchmark::RegisterBenchmark(("decode/" + sample.name).c_str(), decodeBenchmark, &sample);
        benchmark::RegisterBenchmark(("compress/" + sample.name).c_str(), programBenchmark,
                                     std::vector<const char*>{"compress", "-f", "-c"}, sample.path, bytes)
            ->UseManualTime();
        benchmark::RegisterBenchmark(("compress_d/" + sample.name).c_str(), programBenchmark,
                                     std::vector<const char*>{"compress", "-d", "-c"}, sample.compressedPath, bytes)
            ->UseManualTime();
        benchmark::RegisterBenchmark(("compress_long/" + sample.name).c_str(), programBenchmark,
                                     std::vector<const char*>{"compress", "-f", "-c"}, sample.longPath,
                                     bytes * LongFactor)
            ->UseManualTime();
        benchmark::RegisterBenchmark(("compress_d_long/" + sample.name).c_str(), programBenchmark,
                                     std::vector<const char*>{"compress", "-d", "-c"}, sample.longCompressedPath,
                                     bytes * LongFactor)
            ->UseManualTime();
    }
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    printTable(samples, reporter);

    for (const Sample& sample : samples) {
        std::remove(sample.path.c_str());
        std::remove(sample.compressedPath.c_str());
        std::remove((sample.path + ".b12.Z").c_str());
        std::remove(sample.longPath.c_str());
        std::remove(sample.longCompressedPath.c_str());
    }
    rmdir(folder);
    return 0;
}
