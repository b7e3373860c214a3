#include "core/quiz_page.h"

#include <cstring>
#include <fstream>
#include <system_error>

#include "core/media_types.h"
#include "core/quiz_payload.h"
#include "core/windows1252.h"
#include "quiz/quiz.h"
#include "quiz/quiz_identity.h"

namespace kelvo::pack {

namespace fs = std::filesystem;

namespace {

bool startsWith(const Bytes& bytes, const char* prefix, std::size_t offset = 0) {
    const std::size_t length = std::strlen(prefix);
    return bytes.size() >= offset + length && std::memcmp(bytes.data() + offset, prefix, length) == 0;
}

std::string base64(const Bytes& bytes) {
    static constexpr char Digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t left = bytes.size() - i;
        const unsigned group = bytes[i] << 16 | (left > 1 ? bytes[i + 1] << 8 : 0) | (left > 2 ? bytes[i + 2] : 0);
        out += Digits[group >> 18 & 63];
        out += Digits[group >> 12 & 63];
        out += left > 1 ? Digits[group >> 6 & 63] : '=';
        out += left > 2 ? Digits[group & 63] : '=';
    }
    return out;
}

// A JSON string that is also safe inside <script>: "<" never appears raw.
std::string jsonString(std::string_view utf8) {
    std::string out = "\"";
    for (char c : utf8) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '<') {
            out += "\\u003c";
        } else if (static_cast<unsigned char>(c) < 0x20) {
            out += ' ';
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string htmlText(std::string_view utf8) {
    std::string out;
    for (char c : utf8) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

// Inline script text must never close its <script> element early.
std::string scriptText(std::string_view script) {
    std::string out(script);
    for (std::size_t at = out.find("</"); at != std::string::npos; at = out.find("</", at + 3)) out.insert(at + 1, "\\");
    return out;
}

std::string clipFormatName(const Bytes& clip) {
    if (startsWith(clip, "RIFF") && startsWith(clip, "AVI ", 8)) return "AVI";
    if (startsWith(clip, "\x30\x26\xB2\x75\x8E\x66\xCF\x11")) return "WMV/WMA";
    if (startsWith(clip, "MThd")) return "MIDI";
    return "inconnu";
}

std::string clipNotice(const Bytes& clip, int kind) {
    return std::string("Cet extrait (format ") + clipFormatName(clip) + ") ne peut pas " +
           (kind == QuizKind::Video ? "être vu" : "être écouté") +
           " dans un navigateur : demandez à votre enseignant le quiz pour Windows.";
}

std::string mediaEntry(int id, const std::string& key, const std::string& value) {
    return jsonString(std::to_string(id)) + ":{" + jsonString(key) + ":" + jsonString(value) + "}";
}

Bytes resourceBytes(const ResourceSet& resources, const ResourceName& type, int id) {
    const Resource* resource = findResource(resources, type, static_cast<std::uint16_t>(id));
    return resource != nullptr ? resource->data : Bytes{};
}

std::string fillTemplate(std::string_view page, const std::vector<std::pair<std::string, std::string>>& values) {
    std::string out;
    std::size_t position = 0;
    while (position < page.size()) {
        const std::size_t open = page.find("{{", position);
        const std::size_t close = open == std::string_view::npos ? open : page.find("}}", open);
        if (close == std::string_view::npos) break;
        out.append(page.substr(position, open - position));
        const std::string_view name = page.substr(open + 2, close - open - 2);
        for (const auto& [key, value] : values)
            if (key == name) out += value;
        position = close + 2;
    }
    out.append(page.substr(std::min(position, page.size())));
    return out;
}

}  // namespace

std::optional<std::string> browserClipType(const Bytes& clip) {
    if (startsWith(clip, "RIFF") && startsWith(clip, "WAVE", 8)) return "audio/wav";
    if (startsWith(clip, "ID3") || (clip.size() >= 2 && clip[0] == 0xFF && (clip[1] & 0xE0) == 0xE0)) return "audio/mpeg";
    if (startsWith(clip, "OggS")) return "audio/ogg";
    if (startsWith(clip, "ftyp", 4)) return "video/mp4";
    if (startsWith(clip, "\x1A\x45\xDF\xA3")) return "video/webm";
    return std::nullopt;
}

QuizPage makeQuizPage(const PackedQuiz& quiz, const ResourceSet& resources, const std::string& pageName,
                      const PageAssets& assets) {
    QuizPage page;
    const Bytes quizStream = resourceBytes(resources, ResourceTypes::patch(), QuizResourceIds::Quiz);
    const Bytes codeStream = resourceBytes(resources, ResourceTypes::patch(), QuizResourceIds::Codes);
    const bool clips = quiz.kind == QuizKind::Audio || quiz.kind == QuizKind::Video;

    std::string media;
    const auto add = [&media](const std::string& entry) { media += (media.empty() ? "" : ",") + entry; };
    for (std::size_t i = 0; i < quiz.questions.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        const Bytes picture = resourceBytes(resources, ResourceTypes::image(), QuizResourceIds::PictureBase + number);
        const Bytes reveal = resourceBytes(resources, ResourceTypes::image(), QuizResourceIds::RevealPictureBase + number);
        if (!picture.empty() && !clips) {
            add(mediaEntry(QuizResourceIds::PictureBase + number, "url", "data:" + pictureMediaType(picture) + ";base64," + base64(picture)));
        } else if (!picture.empty()) {
            const std::optional<std::string> type = browserClipType(picture);
            if (type) {
                add(mediaEntry(QuizResourceIds::PictureBase + number, "url", "data:" + *type + ";base64," + base64(picture)));
            } else {
                add(mediaEntry(QuizResourceIds::PictureBase + number, "notice", clipNotice(picture, quiz.kind)));
                page.warnings.push_back("question " + std::to_string(number) + " : l'extrait (format " + clipFormatName(picture) +
                                        ") ne se lit pas dans un navigateur ; la page le signale dans sa case. Pour la page, "
                                        "convertissez-le en MP3, WAV ou OGG (son), MP4 ou WebM (vidéo).");
            }
        }
        if (!reveal.empty())
            add(mediaEntry(QuizResourceIds::RevealPictureBase + number, "url", "data:" + pictureMediaType(reveal) + ";base64," + base64(reveal)));
    }

    page.identity = quizIdentityText(quizIdentity(quizStream, codeStream, pageName));
    const std::string data = "{\"name\":" + jsonString(pageName) + ",\"identity\":" + jsonString(page.identity) +
                             ",\"quiz\":" + jsonString(base64(quizStream)) + ",\"codes\":" + jsonString(base64(codeStream)) +
                             ",\"media\":{" + media + "}}";
    page.html = fillTemplate(assets.page, {{"title", htmlText(fromWindows1252(quiz.title))},
                                           {"style", std::string(assets.style)},
                                           {"data", data},
                                           {"engine", scriptText(assets.engine)},
                                           {"script", scriptText(assets.script)}});
    return page;
}

std::optional<QuizPage> makeBuiltQuizPage(CommandContext& context, const PackedQuiz& quiz, const std::string& pageName) {
    ResourceSet resources;
    std::string error;
    if (!makeQuizResources(quiz, resources, error)) {
        context.err << error << '\n';
        return std::nullopt;
    }
    QuizPage page = makeQuizPage(quiz, resources, pageName, builtInPageAssets());
    for (const std::string& warning : page.warnings) context.err << "attention, " << warning << '\n';
    return page;
}

bool replaceWholeFile(CommandContext& context, const fs::path& output, const std::string& shownOutput, std::string_view bytes) {
    fs::path temporary = output;
    temporary += ".kelvopack-tmp";
    std::error_code fileError;
    {
        std::ofstream stream(temporary, std::ios::binary | std::ios::trunc);
        stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!stream) fileError = std::make_error_code(std::errc::io_error);
    }
    if (!fileError) fs::remove(output, fileError);
    if (!fileError) fs::rename(temporary, output, fileError);
    if (fileError) {
        fs::remove(temporary, fileError);
        context.err << "écriture de " << shownOutput << " impossible (le fichier est-il ouvert ailleurs ?).\n";
        return false;
    }
    return true;
}

int buildQuizPage(CommandContext& context, const PackedQuiz& quiz, const fs::path& output, const std::string& shownOutput,
                  const std::string& summary) {
    const std::optional<QuizPage> page = makeBuiltQuizPage(context, quiz, output.filename().u8string());
    if (!page) return ExitCodes::Invalid;
    if (!replaceWholeFile(context, output, shownOutput, page->html)) return ExitCodes::Failure;
    context.out << shownOutput << " écrit (" << summary << ", page web de " << page->html.size() / 1024 << " Ko).\n";
    return ExitCodes::Success;
}

}  // namespace kelvo::pack
