#include "core/media_types.h"

#include <cstring>

#include "quiz/quiz.h"

namespace kelvo::pack {

namespace {

bool startsWith(const Bytes& bytes, const char* prefix, std::size_t offset = 0) {
    const std::size_t length = std::strlen(prefix);
    return bytes.size() >= offset + length && std::memcmp(bytes.data() + offset, prefix, length) == 0;
}

struct PictureFormatNames {
    PictureFormat format;
    const char* shown;       // in messages
    const char* extension;   // of extracted files
    const char* mediaType;   // of data: URLs
};

constexpr PictureFormatNames FormatNames[] = {
    {PictureFormat::Bmp, "BMP", "bmp", "image/bmp"},   {PictureFormat::Jpeg, "JPEG", "jpg", "image/jpeg"},
    {PictureFormat::Gif, "GIF", "gif", "image/gif"},   {PictureFormat::Png, "PNG", "png", "image/png"},
    {PictureFormat::WebP, "WebP", "webp", "image/webp"},
};

const PictureFormatNames* namesOf(PictureFormat format) {
    for (const PictureFormatNames& names : FormatNames) {
        if (names.format == format) return &names;
    }
    return nullptr;
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
    const PictureFormatNames* names = namesOf(format);
    return names != nullptr ? names->shown : "?";
}

std::string pictureExtension(const Bytes& bytes) {
    const PictureFormatNames* names = namesOf(sniffPicture(bytes));
    return names != nullptr ? names->extension : "bin";
}

std::string pictureMediaType(const Bytes& bytes) {
    const PictureFormatNames* names = namesOf(sniffPicture(bytes));
    return names != nullptr ? names->mediaType : "application/octet-stream";
}

std::string clipExtension(const Bytes& bytes, int kind) {
    if (startsWith(bytes, "RIFF") && startsWith(bytes, "WAVE", 8)) return "wav";
    if (startsWith(bytes, "RIFF") && startsWith(bytes, "AVI ", 8)) return "avi";
    if (startsWith(bytes, "ID3") || (bytes.size() >= 2 && bytes[0] == 0xFF && (bytes[1] & 0xE0) == 0xE0)) return "mp3";
    return kind == QuizKind::Video ? "avi" : "mp3";
}

}  // namespace kelvo::pack
