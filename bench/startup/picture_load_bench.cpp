// What the pictures of a picture quiz cost the player at start: each
// question picture ("IMG" 401, 402, ...) of a built quiz found, decoded by
// the platform and fitted into 260 x 260, as the question panel loads it,
// in one process after a warm-up round. Prints, per round's median, the
// whole load and its two steps: the platform's decoding, and the fit.
//
//   picture_load_bench QUIZ.exe [ROUNDS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/win32/locked_resource.h"
#include "platform/win32/picture_loader.h"
#include "platform/win32/scoped_handles.h"
#include "resources/resource_ids.h"
#include "bench_timing.h"

using bench::median;
using bench::now;

namespace {

struct Round {
    int pictures = 0;
    double decoding = 0;   // milliseconds
    double fitting = 0;
};

// One load of every question picture, in the loader's steps.
Round loadEveryPicture(HMODULE quiz) {
    Round round;
    for (int id = kelvo::ResourceIds::QuestionPictureBase + 1;; ++id) {
        const kelvo::LockedResource resource(quiz, "IMG", id);
        if (!resource) break;
        const double start = now();
        HBITMAP decoded = kelvo::decodePicture(resource.data(), resource.size());
        const double decodedAt = now();
        const kelvo::ScopedBitmap picture(decoded != nullptr ? kelvo::scaleToFit(decoded, 260, 260) : nullptr);
        round.fitting += now() - decodedAt;
        round.decoding += decodedAt - start;
        ++round.pictures;
        if (!picture) std::fprintf(stderr, "picture_load_bench: picture %d did not load\n", id);
    }
    return round;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: picture_load_bench QUIZ.exe [ROUNDS]\n");
        return 2;
    }
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    HMODULE quiz = LoadLibraryExA(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (quiz == nullptr) {
        std::fprintf(stderr, "picture_load_bench: cannot open %s\n", argv[1]);
        return 1;
    }
    loadEveryPicture(quiz);   // warm-up: the decoder's first use sets it up
    std::vector<double> decoding, fitting;
    int pictures = 0;
    for (int round = 0; round < rounds; ++round) {
        const Round times = loadEveryPicture(quiz);
        decoding.push_back(times.decoding);
        fitting.push_back(times.fitting);
        pictures = times.pictures;
    }
    const double decoded = median(decoding), fitted = median(fitting);
    std::printf("%d pictures, median of %d rounds: %.1f ms in all, %.1f ms decoding (%.2f each), %.1f ms fitting (%.2f each)\n",
                pictures, rounds, decoded + fitted, decoded, decoded / std::max(pictures, 1), fitted,
                fitted / std::max(pictures, 1));
    FreeLibrary(quiz);
    return 0;
}
