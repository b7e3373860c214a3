#include "core/picture_header.h"

#include <climits>
#include <cstdint>
#include <cstring>

namespace kelvo::pack {

namespace {

// Reads integers of either byte order at checked offsets of one span.
class ByteSpan {
public:
    ByteSpan(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}

    bool has(std::size_t offset, std::size_t count) const { return offset <= size && count <= size - offset; }
    std::uint32_t u8(std::size_t at) const { return data[at]; }
    std::uint32_t u16(std::size_t at, bool bigEndian) const {
        return bigEndian ? (u8(at) << 8) | u8(at + 1) : u8(at) | (u8(at + 1) << 8);
    }
    std::uint32_t u32(std::size_t at, bool bigEndian) const {
        return bigEndian ? (u16(at, true) << 16) | u16(at + 2, true) : u16(at, false) | (u16(at + 2, false) << 16);
    }
    bool startsWith(std::size_t at, const char* text, std::size_t length) const {
        return has(at, length) && std::memcmp(data + at, text, length) == 0;
    }
    ByteSpan part(std::size_t at, std::size_t count) const { return ByteSpan(data + at, count); }

    const std::uint8_t* data;
    std::size_t size;
};

constexpr bool BigEndian = true;
constexpr bool LittleEndian = false;

int sideOrZero(std::uint32_t value) { return value <= INT_MAX ? static_cast<int>(value) : 0; }

// The orientation tag (0x0112) of IFD0 in a TIFF structure, or 1.
int exifOrientation(const ByteSpan& tiff) {
    constexpr std::uint32_t OrientationTag = 0x0112;
    constexpr std::uint32_t ShortType = 3;
    constexpr std::size_t EntrySize = 12;
    if (!tiff.has(0, 8)) return 1;
    bool big = false;
    if (tiff.startsWith(0, "MM", 2)) big = true;
    else if (!tiff.startsWith(0, "II", 2)) return 1;
    if (tiff.u16(2, big) != 42) return 1;
    const std::size_t directory = tiff.u32(4, big);
    if (!tiff.has(directory, 2)) return 1;
    const std::size_t entries = tiff.u16(directory, big);
    for (std::size_t i = 0; i < entries; ++i) {
        const std::size_t entry = directory + 2 + i * EntrySize;
        if (!tiff.has(entry, EntrySize)) return 1;
        if (tiff.u16(entry, big) != OrientationTag) continue;
        const std::uint32_t value = tiff.u16(entry + 8, big);
        return tiff.u16(entry + 2, big) == ShortType && value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
    }
    return 1;
}

bool isFrameMarker(std::uint32_t marker) {
    // SOF0 to SOF15, but DHT (C4), JPG (C8) and DAC (CC) share that range.
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Walks the marker segments up to the frame header; EXIF comes before it.
void readJpeg(const ByteSpan& file, PictureHeader& header) {
    std::size_t at = 2;
    while (file.has(at, 2)) {
        if (file.u8(at) != 0xFF) return;
        const std::uint32_t marker = file.u8(at + 1);
        at += 2;
        if (marker == 0xFF) {   // fill byte before a marker
            --at;
            continue;
        }
        const bool standalone = marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8);
        if (standalone) continue;
        if (marker == 0xD9 || marker == 0xDA || !file.has(at, 2)) return;   // end, or data without a frame
        const std::size_t length = file.u16(at, BigEndian);
        if (length < 2 || !file.has(at, length)) return;
        const ByteSpan segment = file.part(at + 2, length - 2);
        if (marker == 0xE1 && segment.startsWith(0, "Exif\0\0", 6)) {
            header.orientation = exifOrientation(segment.part(6, segment.size - 6));
        } else if (isFrameMarker(marker)) {
            if (!segment.has(0, 5)) return;
            header.height = sideOrZero(segment.u16(1, BigEndian));
            header.width = sideOrZero(segment.u16(3, BigEndian));
            header.baseline = marker == 0xC0;
            return;
        }
        at += length;
    }
}

void readBmp(const ByteSpan& file, PictureHeader& header) {
    constexpr std::size_t InfoHeader = 14;
    constexpr std::uint32_t CoreHeaderSize = 12;
    if (!file.has(InfoHeader, 4)) return;
    if (file.u32(InfoHeader, LittleEndian) == CoreHeaderSize) {
        if (!file.has(InfoHeader + 4, 4)) return;
        header.width = sideOrZero(file.u16(InfoHeader + 4, LittleEndian));
        header.height = sideOrZero(file.u16(InfoHeader + 6, LittleEndian));
        return;
    }
    if (!file.has(InfoHeader + 4, 16)) return;
    const auto width = static_cast<std::int32_t>(file.u32(InfoHeader + 4, LittleEndian));
    const auto height = static_cast<std::int32_t>(file.u32(InfoHeader + 8, LittleEndian));
    // A negative height is a picture stored top row first.
    header.width = width > 0 ? width : 0;
    header.height = height > 0 ? height : (height < 0 && height != INT32_MIN ? -height : 0);
    const std::uint32_t compression = file.u32(InfoHeader + 16, LittleEndian);
    header.runLengthBitmap = compression == 1 || compression == 2;
}

}  // namespace

PictureHeader readPictureHeader(const Bytes& bytes) {
    PictureHeader header;
    header.format = sniffPicture(bytes);
    const ByteSpan file(bytes.data(), bytes.size());
    switch (header.format) {
        case PictureFormat::Jpeg: readJpeg(file, header); break;
        case PictureFormat::Bmp: readBmp(file, header); break;
        case PictureFormat::Gif:
            if (file.has(6, 4)) {
                header.width = sideOrZero(file.u16(6, LittleEndian));
                header.height = sideOrZero(file.u16(8, LittleEndian));
            }
            break;
        case PictureFormat::Png:
            // IHDR is the first chunk, right after the signature.
            if (file.startsWith(12, "IHDR", 4) && file.has(16, 8)) {
                header.width = sideOrZero(file.u32(16, BigEndian));
                header.height = sideOrZero(file.u32(20, BigEndian));
            }
            break;
        case PictureFormat::WebP:
        case PictureFormat::Unknown: break;
    }
    return header;
}

}  // namespace kelvo::pack
