#include "core/picture_preparation.h"

#include <stb/stb_image.h>
#include <stb/stb_image_resize.h>
#include <stb/stb_image_write.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <condition_variable>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "core/palette_bitmap.h"
#include "core/picture_memory.h"
#include "core/shipped_fit.h"

namespace kelvo::pack {

namespace {

constexpr int JpegQuality = 85;
constexpr unsigned MaxPreparationThreads = 4;   // each may hold a full-size photo
// The studio's WebAssembly has no threads (a page opened from a file gets
// none): there the pictures are prepared in turn.
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
constexpr bool ThreadsAvailable = false;
#else
constexpr bool ThreadsAvailable = true;
#endif

// Pixels of a picture, 3 bytes each (red, green, blue), top row first.
struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

// A decoded file: stb's own buffer, 3 bytes a pixel once laid on white.
struct DecodedPicture {
    int width = 0;
    int height = 0;
    std::unique_ptr<stbi_uc, decltype(&stbi_image_free)> pixels{nullptr, stbi_image_free};
};

std::string damaged(PictureFormat format) {
    return std::string("(") + pictureFormatName(format) +
           ") est abîmé ou incomplet : kelvopack n'a pas pu le lire. Ouvrez-le dans un logiciel d'images et "
           "enregistrez-le à nouveau.";
}

// Transparent parts are laid on white, as on the page of a document; the
// 4-byte pixels are packed to 3 bytes in place.
void layOnWhite(std::uint8_t* rgba, std::size_t pixels) {
    for (std::size_t i = 0; i < pixels; ++i) {
        const unsigned alpha = rgba[4 * i + 3];
        for (int channel = 0; channel < 3; ++channel) {
            const unsigned colour = rgba[4 * i + channel];
            rgba[3 * i + channel] = static_cast<std::uint8_t>((colour * alpha + 255 * (255 - alpha) + 127) / 255);
        }
    }
}

// Every format but JPEG may be transparent (PNG, and a palette entry of a
// GIF or of a palette PNG), which the headers do not always tell: those are
// decoded with alpha and laid on white.
std::optional<DecodedPicture> decode(const Bytes& file, PictureFormat format) {
    if (file.size() > static_cast<std::size_t>(INT_MAX)) return std::nullopt;
    const bool alpha = format != PictureFormat::Jpeg;
    DecodedPicture picture;
    int channels = 0;
    picture.pixels.reset(stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &picture.width, &picture.height,
                                               &channels, alpha ? 4 : 3));
    if (!picture.pixels) return std::nullopt;
    if (alpha) layOnWhite(picture.pixels.get(), static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height));
    return picture;
}

// An area filter in linear light, both ways: reduced, every original pixel
// counts by the part of it each new pixel covers; enlarged, pixels grow
// into blocks with one-pixel blends, keeping drawings sharp.
std::optional<RgbPicture> resize(const DecodedPicture& picture, int width, int height) {
    RgbPicture resized{width, height, std::vector<std::uint8_t>(3 * static_cast<std::size_t>(width) * height)};
    if (picture.width == width && picture.height == height) {
        std::copy_n(picture.pixels.get(), resized.pixels.size(), resized.pixels.data());
        return resized;
    }
    if (!stbir_resize_uint8_generic(picture.pixels.get(), picture.width, picture.height, 0, resized.pixels.data(), width,
                                    height, 0, 3, STBIR_ALPHA_CHANNEL_NONE, 0, STBIR_EDGE_CLAMP, STBIR_FILTER_BOX,
                                    STBIR_COLORSPACE_SRGB, nullptr))
        return std::nullopt;
    return resized;
}

// The picture as the camera's EXIF orientation says it was seen. For each
// shown pixel (x, y), where it lies in the stored picture of width w, height h.
RgbPicture orient(const RgbPicture& stored, int orientation) {
    if (orientation <= 1 || orientation > 8) return stored;
    const int w = stored.width;
    const int h = stored.height;
    const bool sideways = orientation >= 5;
    RgbPicture shown{sideways ? h : w, sideways ? w : h, std::vector<std::uint8_t>(stored.pixels.size())};
    for (int y = 0; y < shown.height; ++y) {
        for (int x = 0; x < shown.width; ++x) {
            int sx = x, sy = y;
            switch (orientation) {
                case 2: sx = w - 1 - x; break;                       // mirrored
                case 3: sx = w - 1 - x; sy = h - 1 - y; break;       // upside down
                case 4: sy = h - 1 - y; break;                       // mirrored upside down
                case 5: sx = y; sy = x; break;                       // mirrored, turned a quarter left
                case 6: sx = y; sy = h - 1 - x; break;               // turned a quarter right
                case 7: sx = w - 1 - y; sy = h - 1 - x; break;       // mirrored, turned a quarter right
                case 8: sx = w - 1 - y; sy = x; break;               // turned a quarter left
            }
            std::copy_n(&stored.pixels[3 * (static_cast<std::size_t>(sy) * w + sx)], 3,
                        &shown.pixels[3 * (static_cast<std::size_t>(y) * shown.width + x)]);
        }
    }
    return shown;
}

Bytes jpegFile(const RgbPicture& picture) {
    Bytes out;
    const auto append = [](void* context, void* data, int size) {
        auto* bytes = static_cast<Bytes*>(context);
        bytes->insert(bytes->end(), static_cast<std::uint8_t*>(data), static_cast<std::uint8_t*>(data) + size);
    };
    if (!stbi_write_jpg_to_func(append, &out, picture.width, picture.height, 3, picture.pixels.data(), JpegQuality)) out.clear();
    return out;
}

bool playerReads(PictureFormat format) {
    return format == PictureFormat::Bmp || format == PictureFormat::Jpeg || format == PictureFormat::Gif;
}

std::string megapixels(long long pixels) {
    return std::to_string((pixels + 500'000) / 1'000'000) + " mégapixels";
}

PreparedPicture keptOriginal(const Bytes& file, PreparedPicture result) {
    const long long pixels = static_cast<long long>(result.source.width) * result.source.height;
    const std::string kept = "est gardé tel quel (keep_pictures ou --keep-pictures) et il est trop grand pour que le lecteur "
                             "l'ouvre sans peine : ";
    const std::string remedy = ". Sans keep_pictures ni --keep-pictures, kelvopack le réduirait à la taille affichée.";
    if (pixels > MaxKeptPixels) {
        result.error = kept + std::to_string(result.source.width) + " x " + std::to_string(result.source.height) + " pixels (" +
                       megapixels(pixels) + ") ; la limite est de " + megapixels(MaxKeptPixels) + remedy;
    } else if (file.size() > MaxKeptFileSize) {
        result.error = kept + frenchSize(file.size()) + " ; la limite est de " + frenchSize(MaxKeptFileSize) + remedy;
    } else {
        result.bytes = file;
        result.width = result.source.width;
        result.height = result.source.height;
    }
    return result;
}

// A picture already at its stored size is still decoded once, so a damaged
// file is refused; the BMP variant stb cannot read (RLE) is trusted.
PreparedPicture alreadyFitted(const Bytes& file, PreparedPicture result) {
    if (!result.source.runLengthBitmap && !decode(file, result.source.format)) {
        result.error = damaged(result.source.format);
        return result;
    }
    result.bytes = file;
    result.width = result.source.width;
    result.height = result.source.height;
    return result;
}

PreparedPicture fitted(const Bytes& file, PreparedPicture result) {
    const PictureHeader& source = result.source;
    const std::optional<DecodedPicture> decoded = decode(file, source.format);
    if (!decoded) {
        result.error = source.runLengthBitmap
                           ? "est un BMP compressé (RLE) que kelvopack ne sait pas réduire : enregistrez-le en BMP non "
                             "compressé, en PNG ou en JPEG, ou gardez-le tel quel avec keep_pictures = true."
                           : damaged(source.format);
        return result;
    }
    const bool sideways = source.turnedOnItsSide();
    const FittedSize shown = storedPictureSize(sideways ? decoded->height : decoded->width,
                                               sideways ? decoded->width : decoded->height);
    // Fitted before it is turned: the turn then moves few pixels.
    const std::optional<RgbPicture> resized =
        resize(*decoded, sideways ? shown.height : shown.width, sideways ? shown.width : shown.height);
    if (!resized) {
        result.error = OutOfMemoryError;
        return result;
    }
    const RgbPicture picture = orient(*resized, source.orientation);
    const Bytes jpeg = jpegFile(picture);
    const std::optional<Bytes> palette = paletteBitmap(picture.pixels.data(), picture.width, picture.height);
    result.jpegSize = jpeg.size();
    result.paletteSize = palette ? palette->size() : 0;
    if (palette && (jpeg.empty() || palette->size() < jpeg.size())) {
        result.bytes = *palette;
        result.storedAs = StoredAs::PaletteBitmap;
    } else {
        result.bytes = jpeg;
        result.storedAs = StoredAs::Jpeg;
    }
    if (result.bytes.empty()) result.error = OutOfMemoryError;   // an encoder that gave nothing is no success
    result.width = picture.width;
    result.height = picture.height;
    return result;
}

// Into `bytes`, whose memory serves again for the next file.
void readWholeFile(const std::filesystem::path& path, Bytes& bytes) {
    std::ifstream stream(path, std::ios::binary | std::ios::ate);
    const std::streamoff size = stream ? static_cast<std::streamoff>(stream.tellg()) : 0;
    bytes.resize(size > 0 ? static_cast<std::size_t>(size) : 0);
    stream.seekg(0);
    if (!stream.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()))) bytes.clear();
}

PreparedPicture prepareFile(const std::filesystem::path& path, bool keepOriginals, Bytes& file) {
    PreparedPicture failed;
    try {
        readWholeFile(path, file);
        if (file.empty()) {
            failed.error = "est introuvable, vide ou illisible.";
            return failed;
        }
        PreparedPicture picture = preparePicture(file, keepOriginals);
        picture.originalSize = file.size();
        return picture;
    } catch (const std::exception&) {   // std::bad_alloc, in practice: no exception leaves a thread
        failed.error = OutOfMemoryError;
        return failed;
    }
}

// Files are read by the threads, so that only the pictures in hand are held
// at full size, not every original of the quiz at once.
void prepareOnThreads(const std::vector<std::filesystem::path>& files, bool keepOriginals, const PreparationProgress& progress,
                      std::size_t threadCount, std::vector<PreparedPicture>& prepared) {
    const std::size_t total = files.size();
    std::atomic<std::size_t> next{0};
    std::mutex mutex;
    std::condition_variable finished;
    std::size_t done = 0;
    const auto work = [&] {
        SpareBlocks spares;
        Bytes file;
        for (std::size_t i = next++; i < total; i = next++) {
            PreparedPicture picture = prepareFile(files[i], keepOriginals, file);
            const std::lock_guard<std::mutex> lock(mutex);
            prepared[i] = std::move(picture);
            ++done;
            finished.notify_one();
        }
    };
    std::vector<std::thread> workers;
    for (std::size_t t = 0; t < threadCount; ++t) workers.emplace_back(work);
    {
        std::unique_lock<std::mutex> lock(mutex);
        std::size_t reported = 0;
        while (reported < total) {
            finished.wait(lock, [&] { return done > reported; });
            reported = done;
            lock.unlock();
            if (progress) progress(static_cast<int>(reported), static_cast<int>(total));
            lock.lock();
        }
    }
    for (std::thread& worker : workers) worker.join();
}

std::string sizeInPixels(int width, int height) { return std::to_string(width) + " x " + std::to_string(height); }

}  // namespace

FittedSize storedPictureSize(int width, int height) {
    if (width == height) return {PictureBoxSide, PictureBoxSide};
    const FittedSize fitted = shippedPlayerFit(width, height, PictureBoxSide, PictureBoxSide);
    // At least one pixel: a picture too thin for the player's fit still shows.
    const int shortSide = std::clamp(std::min(fitted.width, fitted.height), 1, PictureBoxSide);
    return width > height ? FittedSize{PictureBoxSide, shortSide} : FittedSize{shortSide, PictureBoxSide};
}

bool storedUnchanged(const PictureHeader& header) {
    const bool readAsIs = playerReads(header.format) &&
                          (header.format != PictureFormat::Jpeg || (header.baseline && header.orientation == 1));
    return readAsIs && header.sizeKnown() &&
           shippedPlayerFit(header.width, header.height, PictureBoxSide, PictureBoxSide) ==
               FittedSize{header.width, header.height};
}

std::string formatProblem(PictureFormat format) {
    switch (format) {
        case PictureFormat::Unknown:
            return "n'est ni un BMP, ni un JPEG, ni un GIF, ni un PNG (d'après son contenu) : convertissez-le dans l'un de "
                   "ces formats.";
        case PictureFormat::WebP:
            return "est une image WebP, que kelvopack ne sait pas lire : enregistrez-la en PNG ou en JPEG.";
        default: return {};
    }
}

PreparedPicture preparePicture(const Bytes& file, bool keepOriginals) {
    PreparedPicture result;
    result.source = readPictureHeader(file);
    result.error = formatProblem(result.source.format);
    if (result.error.empty() && !result.source.sizeKnown()) result.error = damaged(result.source.format);
    if (!result.error.empty()) return result;
    if (keepOriginals && playerReads(result.source.format)) return keptOriginal(file, std::move(result));
    if (storedUnchanged(result.source)) return alreadyFitted(file, std::move(result));
    return fitted(file, std::move(result));
}

std::vector<PreparedPicture> preparePictureFiles(const std::vector<std::filesystem::path>& files, bool keepOriginals,
                                                 const PreparationProgress& progress) {
    // A file named by several questions (one reveal picture for all, say) is
    // prepared once.
    std::vector<std::size_t> distinctOf(files.size());
    std::vector<std::filesystem::path> distinct;
    std::map<std::filesystem::path, std::size_t> seen;
    for (std::size_t i = 0; i < files.size(); ++i) {
        std::error_code ignored;
        const auto [found, added] = seen.emplace(std::filesystem::weakly_canonical(files[i], ignored), distinct.size());
        if (added) distinct.push_back(files[i]);
        distinctOf[i] = found->second;
    }

    const std::size_t total = distinct.size();
    std::vector<PreparedPicture> prepared(total);
    const unsigned processors = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t threadCount = std::min<std::size_t>({processors, MaxPreparationThreads, total});
    if (!ThreadsAvailable || threadCount <= 1) {
        SpareBlocks spares;
        Bytes file;
        for (std::size_t i = 0; i < total; ++i) {
            prepared[i] = prepareFile(distinct[i], keepOriginals, file);
            if (progress) progress(static_cast<int>(i + 1), static_cast<int>(total));
        }
    } else {
        prepareOnThreads(distinct, keepOriginals, progress, threadCount, prepared);
    }

    std::vector<PreparedPicture> results;
    results.reserve(files.size());
    for (std::size_t i = 0; i < files.size(); ++i) results.push_back(prepared[distinctOf[i]]);
    return results;
}

std::string describePreparation(const PreparedPicture& picture) {
    const PictureHeader& source = picture.source;
    std::string text = std::string(pictureFormatName(source.format)) + " " + sizeInPixels(source.width, source.height);
    if (picture.storedAs == StoredAs::Original) return text + ", " + frenchSize(picture.bytes.size()) + " : gardée telle quelle";
    if (source.orientation > 1) text += ", tournée (orientation " + std::to_string(source.orientation) + ")";
    const bool palette = picture.storedAs == StoredAs::PaletteBitmap;
    text += " \xE2\x86\x92 " + std::string(palette ? "BMP 8 bits " : "JPEG ") + sizeInPixels(picture.width, picture.height) +
            ", " + frenchSize(picture.bytes.size());
    if (palette) return text + " (en JPEG : " + frenchSize(picture.jpegSize) + ")";
    return text + (picture.paletteSize == 0 ? " (plus de 256 couleurs)"
                                            : " (en BMP 8 bits : " + frenchSize(picture.paletteSize) + ")");
}

std::string frenchSize(std::size_t bytes) {
    if (bytes < 1024) return std::to_string(bytes) + " octets";
    const char* unit = " Ko";
    double value = bytes / 1024.0;
    if (value >= 1024) {
        unit = " Mo";
        value /= 1024;
    }
    if (value >= 1024) {
        unit = " Go";
        value /= 1024;
    }
    // One decimal below 10, written with a comma.
    const long tenths = std::lround(value * 10);
    if (tenths >= 100) return std::to_string((tenths + 5) / 10) + unit;
    return std::to_string(tenths / 10) + "," + std::to_string(tenths % 10) + unit;
}

}  // namespace kelvo::pack
