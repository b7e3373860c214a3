// Turning a teacher's picture file into the picture a quiz stores. The
// player fits every picture into its 260 x 260 box at start, decoding the
// full file each time; a picture prepared here already has the size that
// fit leaves unchanged (long side 260), so the player only decodes a small
// file and draws it 1:1. One call turns one file into the stored bytes, so
// every output of a quiz stores the same pictures.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/packed_quiz.h"
#include "core/picture_header.h"
#include "platform/picture_fit.h"

namespace kelvo::pack {

enum class StoredAs {
    Original,        // the file itself, byte for byte
    Jpeg,            // baseline JPEG, quality 85, no EXIF
    PaletteBitmap,   // exact 8-bit BMP (RLE8 when smaller)
};

// The error of a picture that did not fit in the memory at hand: not the
// file's own fault, so a later try may succeed.
constexpr const char* OutOfMemoryError = "est trop grand pour la mémoire disponible.";

struct PreparedPicture {
    std::string error;              // French, to follow "le fichier « x »"; empty once prepared
    Bytes bytes;                    // what the quiz stores
    StoredAs storedAs = StoredAs::Original;
    PictureHeader source;           // the original's format, size and orientation
    int width = 0;                  // of the stored picture
    int height = 0;
    std::size_t jpegSize = 0;       // the JPEG that was weighed, 0 when none was made
    std::size_t paletteSize = 0;    // the 8-bit BMP that was weighed, 0 when there were too many colours
    std::size_t originalSize = 0;   // of the file, when read by preparePictureFiles

    bool prepared() const { return error.empty(); }
};

// With originals kept, larger pictures are refused: the player would decode
// them in full at every start.
constexpr long long MaxKeptPixels = 20'000'000;
constexpr std::size_t MaxKeptFileSize = 16u << 20;

// The size a picture of width x height (as shown) is stored at: the long
// side the box's side, the short side what the shipped player's fit would
// give the original, whichever build of kelvopack computes it. The player's
// fit leaves it unchanged in any floating-point precision, since its ratio
// is exactly 1.
FittedSize storedPictureSize(int width, int height);

// With `keepOriginals`, BMP, JPEG and GIF files are stored unchanged (within
// the limits above); PNG is always converted, the player cannot read it.
PreparedPicture preparePicture(const Bytes& file, bool keepOriginals);

// Whether preparation without kept originals stores this file unchanged:
// already fitted, in a format the player reads, not to be turned.
bool storedUnchanged(const PictureHeader& header);

// Why a file of this format cannot be a quiz's picture (no picture at all,
// WebP), or nothing: the check run before any picture is read whole.
std::string formatProblem(PictureFormat format);

// Picture files read and prepared on several threads, one result per file
// in order; a file named twice is prepared once. `progress(done, total)`
// runs on the calling thread after each file.
using PreparationProgress = std::function<void(int done, int total)>;
std::vector<PreparedPicture> preparePictureFiles(const std::vector<std::filesystem::path>& files, bool keepOriginals,
                                                 const PreparationProgress& progress);

// "JPEG 4000 x 3000, tournée (orientation 6) → JPEG 195 x 260, 14 Ko", for --verbose.
std::string describePreparation(const PreparedPicture& picture);

// "860 octets", "14 Ko", "1,4 Mo", "412 Mo": sizes as Windows shows them (1 Ko = 1024 octets).
std::string frenchSize(std::size_t bytes);

}  // namespace kelvo::pack
