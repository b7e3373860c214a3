// What preparing one picture costs in kelvopack: decoding it with stb_image
// alone, and the whole preparation (decode, fit in linear light, turn,
// encode), on one thread, for each file named. Processor time, so that the
// other work of a shared machine hardly moves it. Prints one row per file,
// with the sizes of the JPEG and of the exact 8-bit BMP that were weighed,
// and the mean.
//
//   picture_bench PICTURE...
#include <stb/stb_image.h>

#include <ctime>
#include <cstring>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "core/picture_memory.h"
#include "core/picture_preparation.h"

namespace {

double millisecondsSince(std::clock_t start) { return 1000.0 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC; }

struct Row {
    double decode = 0;
    double prepare = 0;
    std::size_t original = 0;
    std::size_t stored = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: picture_bench PICTURE...\n");
        return 2;
    }
    std::printf("%-24s %11s %9s %11s %10s %10s %8s %8s\n", "picture", "original", "decode ms", "prepare ms", "stored", "as",
                "JPEG", "BMP 8");
    Row total;
    kelvo::pack::SpareBlocks spares;   // as each thread of a build keeps its large buffers
    for (int i = 1; i < argc; ++i) {
        std::ifstream stream(argv[i], std::ios::binary);
        const kelvo::pack::Bytes file((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
        Row row;
        row.original = file.size();
        std::clock_t start = std::clock();
        int width = 0, height = 0, channels = 0;
        stbi_image_free(stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &width, &height, &channels, 3));
        row.decode = millisecondsSince(start);
        start = std::clock();
        const kelvo::pack::PreparedPicture prepared = kelvo::pack::preparePicture(file, false);
        row.prepare = millisecondsSince(start);
        row.stored = prepared.bytes.size();
        if (!prepared.prepared()) {
            std::fprintf(stderr, "%s: %s\n", argv[i], prepared.error.c_str());
            return 1;
        }
        const char* storedAs = prepared.storedAs == kelvo::pack::StoredAs::Jpeg ? "JPEG"
                               : prepared.storedAs == kelvo::pack::StoredAs::PaletteBitmap ? "BMP 8 bits"
                                                                                            : "unchanged";
        const char* name = std::strrchr(argv[i], '/') ? std::strrchr(argv[i], '/') + 1 : argv[i];
        std::printf("%-24s %11zu %9.1f %11.1f %10zu %10s %8zu %8zu\n", name, row.original, row.decode, row.prepare, row.stored,
                    storedAs, prepared.jpegSize, prepared.paletteSize);
        total.decode += row.decode;
        total.prepare += row.prepare;
        total.original += row.original;
        total.stored += row.stored;
    }
    const int count = argc - 1;
    std::printf("%-24s %11zu %9.1f %11.1f %10zu\n", "mean", total.original / count, total.decode / count,
                total.prepare / count, total.stored / count);
    return 0;
}
