#include "core/media_types.h"

#include <cstring>

#include "quiz/quiz.h"

namespace kelvo::pack {

namespace {

bool startsWith(const Bytes& bytes, const char* prefix, std::size_t offset = 0) {
    const std::size_t length = std::strlen(prefix);
    return bytes.size() >= offset + length && std::memcmp(bytes.data() + offset, prefix, length) == 0;
}

}  // namespace

PictureFormat sniffPicture(const Bytes& bytes) {
    constexpr std::size_t BmpHeadersSize = 14 + 12;   // file header and the smallest info header
    if (startsWith(bytes, "BM") && bytes.size() >= BmpHeadersSize) return PictureFormat::Bmp;
    if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) return PictureFormat::Jpeg;
    if (startsWith(bytes, "GIF87a") || startsWith(bytes, "GIF89a")) return PictureFormat::Gif;
    if (startsWith(bytes, "\x89PNG\r\n\x1A\n")) return PictureFormat::Png;
    if (startsWith(bytes, "RIFF") && startsWith(bytes, "WEBP", 8)) return PictureFormat::WebP;
    return PictureFormat::Unknown;
}

const char* pictureFormatName(PictureFormat format) {
    switch (format) {
        case PictureFormat::Bmp: return "BMP";
        case PictureFormat::Jpeg: return "JPEG";
        case PictureFormat::Gif: return "GIF";
        case PictureFormat::Png: return "PNG";
        case PictureFormat::WebP: return "WebP";
        case PictureFormat::Unknown: break;
    }
    return "?";
}

std::string pictureExtension(const Bytes& bytes) {
    switch (sniffPicture(bytes)) {
        case PictureFormat::Bmp: return "bmp";
        case PictureFormat::Jpeg: return "jpg";
        case PictureFormat::Gif: return "gif";
        case PictureFormat::Png: return "png";
        case PictureFormat::WebP: return "webp";
        case PictureFormat::Unknown: break;
    }
    return "bin";
}

std::string clipExtension(const Bytes& bytes, int kind) {
    if (startsWith(bytes, "RIFF") && startsWith(bytes, "WAVE", 8)) return "wav";
    if (startsWith(bytes, "RIFF") && startsWith(bytes, "AVI ", 8)) return "avi";
    if (startsWith(bytes, "ID3") || (bytes.size() >= 2 && bytes[0] == 0xFF && (bytes[1] & 0xE0) == 0xE0)) return "mp3";
    return kind == QuizKind::Video ? "avi" : "mp3";
}

}  // namespace kelvo::pack
