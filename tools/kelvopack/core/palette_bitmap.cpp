#include "core/palette_bitmap.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace kelvo::pack {

namespace {

constexpr std::size_t MaxColours = 256;
constexpr std::size_t FileHeaderSize = 14;
constexpr std::size_t InfoHeaderSize = 40;
constexpr std::uint32_t UncompressedBitmap = 0;   // BI_RGB
constexpr std::uint32_t RunLengthBitmap = 1;      // BI_RLE8
constexpr std::uint32_t PixelsPerMetre = 2835;    // 72 dots per inch

std::uint32_t colourAt(const std::uint8_t* pixel) {
    return (std::uint32_t{pixel[0]} << 16) | (std::uint32_t{pixel[1]} << 8) | pixel[2];
}

struct IndexedPicture {
    std::vector<std::uint32_t> palette;   // 0xRRGGBB, sorted, so equal pictures give equal files
    std::vector<std::uint8_t> indexes;    // top row first
};

std::optional<IndexedPicture> indexColours(const std::uint8_t* rgb, std::size_t pixels) {
    std::unordered_map<std::uint32_t, std::uint8_t> indexOf;
    IndexedPicture picture;
    for (std::size_t i = 0; i < pixels; ++i) {
        const std::uint32_t colour = colourAt(rgb + 3 * i);
        if (indexOf.emplace(colour, 0).second) {
            if (indexOf.size() > MaxColours) return std::nullopt;
            picture.palette.push_back(colour);
        }
    }
    std::sort(picture.palette.begin(), picture.palette.end());
    for (std::size_t i = 0; i < picture.palette.size(); ++i) indexOf[picture.palette[i]] = static_cast<std::uint8_t>(i);
    picture.indexes.resize(pixels);
    for (std::size_t i = 0; i < pixels; ++i) picture.indexes[i] = indexOf[colourAt(rgb + 3 * i)];
    return picture;
}

std::size_t runAt(const std::uint8_t* row, std::size_t at, std::size_t width) {
    std::size_t end = at + 1;
    while (end < width && end - at < 255 && row[end] == row[at]) ++end;
    return end - at;
}

// One row in RLE8: runs of two or more as (count, index); stretches without
// runs in absolute mode (0, count, indexes, padded to a word), which needs
// at least three indexes, so shorter ones go as runs of one.
void encodeRow(const std::uint8_t* row, std::size_t width, Bytes& out) {
    std::size_t at = 0;
    while (at < width) {
        const std::size_t run = runAt(row, at, width);
        if (run >= 2) {
            out.push_back(static_cast<std::uint8_t>(run));
            out.push_back(row[at]);
            at += run;
            continue;
        }
        std::size_t end = at + 1;
        while (end < width && end - at < 255 && runAt(row, end, width) < 3) ++end;
        const std::size_t count = end - at;
        if (count < 3) {
            for (std::size_t i = at; i < end; ++i) out.insert(out.end(), {1, row[i]});
        } else {
            out.insert(out.end(), {0, static_cast<std::uint8_t>(count)});
            out.insert(out.end(), row + at, row + end);
            if (count % 2 != 0) out.push_back(0);
        }
        at = end;
    }
}

// Rows bottom-up, as a BMP with a positive height stores them.
Bytes runLengthPixels(const IndexedPicture& picture, std::size_t width, std::size_t height) {
    Bytes out;
    for (std::size_t y = height; y-- > 0;) {
        encodeRow(picture.indexes.data() + y * width, width, out);
        if (y > 0) out.insert(out.end(), {0, 0});   // end of line
    }
    out.insert(out.end(), {0, 1});                   // end of bitmap
    return out;
}

Bytes uncompressedPixels(const IndexedPicture& picture, std::size_t width, std::size_t height) {
    const std::size_t stride = (width + 3) & ~std::size_t{3};
    Bytes out(stride * height, 0);
    for (std::size_t y = 0; y < height; ++y) {
        std::copy_n(picture.indexes.data() + y * width, width, out.data() + (height - 1 - y) * stride);
    }
    return out;
}

void putLittleEndian(Bytes& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

Bytes bitmapFile(const IndexedPicture& picture, int width, int height, std::uint32_t compression, const Bytes& pixels) {
    const std::size_t paletteSize = 4 * picture.palette.size();
    const std::size_t offset = FileHeaderSize + InfoHeaderSize + paletteSize;
    Bytes file;
    file.reserve(offset + pixels.size());
    file.insert(file.end(), {'B', 'M'});
    putLittleEndian(file, static_cast<std::uint32_t>(offset + pixels.size()), 4);
    putLittleEndian(file, 0, 4);
    putLittleEndian(file, static_cast<std::uint32_t>(offset), 4);
    putLittleEndian(file, InfoHeaderSize, 4);
    putLittleEndian(file, static_cast<std::uint32_t>(width), 4);
    putLittleEndian(file, static_cast<std::uint32_t>(height), 4);
    putLittleEndian(file, 1, 2);   // planes
    putLittleEndian(file, 8, 2);   // bits per pixel
    putLittleEndian(file, compression, 4);
    putLittleEndian(file, static_cast<std::uint32_t>(pixels.size()), 4);
    putLittleEndian(file, PixelsPerMetre, 4);
    putLittleEndian(file, PixelsPerMetre, 4);
    putLittleEndian(file, static_cast<std::uint32_t>(picture.palette.size()), 4);
    putLittleEndian(file, 0, 4);   // every colour is important
    for (std::uint32_t colour : picture.palette) putLittleEndian(file, colour, 4);   // blue, green, red, 0
    file.insert(file.end(), pixels.begin(), pixels.end());
    return file;
}

}  // namespace

std::optional<Bytes> paletteBitmap(const std::uint8_t* rgb, int width, int height) {
    if (width <= 0 || height <= 0) return std::nullopt;
    const auto w = static_cast<std::size_t>(width);
    const auto h = static_cast<std::size_t>(height);
    const std::optional<IndexedPicture> picture = indexColours(rgb, w * h);
    if (!picture) return std::nullopt;
    const Bytes runs = runLengthPixels(*picture, w, h);
    const Bytes plain = uncompressedPixels(*picture, w, h);
    return runs.size() < plain.size() ? bitmapFile(*picture, width, height, RunLengthBitmap, runs)
                                      : bitmapFile(*picture, width, height, UncompressedBitmap, plain);
}

}  // namespace kelvo::pack
