// Time per classifyAnswer call: the worst case the 260-byte texts allow (two
// 259-byte texts with nothing in common, so every measure runs in full) and
// the answers players really type (5 to 20 bytes, right, near or wrong).
#include <benchmark/benchmark.h>

#include <iterator>
#include <string>

#include "checking/verdicts.h"

namespace {

// 259 bytes cycling through letters the other text never uses.
std::string letters(const char* alphabet, std::size_t alphabetSize) {
    std::string text;
    for (std::size_t i = 0; text.size() < 259; ++i) text += alphabet[(i * 7) % alphabetSize];
    return text;
}

void worstCase(benchmark::State& state) {
    const std::string expected = letters("ABCDEFGHIJKLM", 13);
    const std::string typed = letters("NOPQRSTUVWXYZ", 13);
    for (auto _ : state) benchmark::DoNotOptimize(kelvo::classifyAnswer(expected.c_str(), typed.c_str()));
}
BENCHMARK(worstCase);

// Upper-cased expected answers and normalised typed ones, one of each verdict family.
const char* const typicalAnswers[][2] = {
    {"PARIS", "PARIS"},                           // right
    {"PARIS", "PAIRS"},                           // anagram
    {"VERSAILLES", "VERSAILES"},                  // one edit
    {"MONTGOLFIERE", "MONGOLFIER"},               // two edits
    {"JEANNE D'ARC", "JEANNE D'ARC DE DOMREMY"},  // too long
    {"CHARLES DE GAULLE", "CHARLES DE GAU"},      // too short
    {"NAPOLEON BONAPARTE", "MARIE ANTOINETTE"},   // wrong
    {"LOUIS XIV", "LOUIS XVI"},                   // close
};

void typicalAnswer(benchmark::State& state) {
    std::size_t next = 0;
    for (auto _ : state) {
        const auto& answer = typicalAnswers[next];
        benchmark::DoNotOptimize(kelvo::classifyAnswer(answer[0], answer[1]));
        next = (next + 1) % std::size(typicalAnswers);
    }
}
BENCHMARK(typicalAnswer);

}  // namespace

BENCHMARK_MAIN();
