#include "core/source_writer.h"

#include <cstdio>

#include "core/media_types.h"
#include "core/picture_preparation.h"
#include "core/quiz_source.h"
#include "core/quiz_validation.h"
#include "core/windows1252.h"
#include "quiz/quiz.h"

namespace kelvo::pack {

namespace {

std::string numbered(const char* stem, std::size_t number, const std::string& extension) {
    char name[64];
    std::snprintf(name, sizeof name, "%s-%02u.%s", stem, static_cast<unsigned>(number), extension.c_str());
    return name;
}

// Media files by content: a picture used by several questions (the same
// reveal picture everywhere, say) is written once.
class MediaNames {
public:
    explicit MediaNames(std::vector<std::pair<std::string, Bytes>>& files) : files(files) {}

    std::string nameFor(const Bytes& bytes, const std::string& freshName) {
        for (const auto& [name, content] : files) {
            if (content == bytes) return name;
        }
        files.emplace_back(freshName, bytes);
        return freshName;
    }

private:
    std::vector<std::pair<std::string, Bytes>>& files;
};

class SourceBuilder {
public:
    void comment(const std::string& text) { out += "# " + text + "\n"; }
    void blank() { out += "\n"; }
    void key(const char* name, const std::string& ansi) { out += std::string(name) + " = " + tomlString(fromWindows1252(ansi)) + "\n"; }
    void keyUtf8(const char* name, const std::string& utf8) { out += std::string(name) + " = " + tomlString(utf8) + "\n"; }
    void list(const char* name, const std::vector<std::string>& ansiTexts) {
        out += std::string(name) + " = [\n";
        for (const std::string& text : ansiTexts) out += "    " + tomlString(fromWindows1252(text)) + ",\n";
        out += "]\n";
    }
    std::string out;
};

// A quiz built with its pictures kept as they were (or by an older
// kelvopack) holds pictures that a build would now fit: the extracted
// source asks to keep them, so that building it again changes nothing.
bool keepsOriginalPictures(const PackedQuiz& quiz) {
    for (const PackedQuestion& question : quiz.questions) {
        for (const Bytes* picture : {&question.picture, &question.revealPicture}) {
            if (!picture->empty() && !storedUnchanged(readPictureHeader(*picture))) return true;
        }
    }
    return false;
}

}  // namespace

std::string tomlString(const std::string& utf8) {
    std::string out = "\"";
    for (char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (byte < 0x20 || byte == 0x7F) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04X", byte);
                    out += escape;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

ExtractedQuiz extractQuizSource(const PackedQuiz& quiz, const std::string& origin) {
    ExtractedQuiz extracted;
    SourceBuilder source;
    source.comment("Quiz extrait de " + origin + " par kelvopack.");
    source.comment("Modifiez-le, puis reconstruisez-le avec : kelvopack build <ce fichier>");
    source.blank();
    source.key(SourceKeys::Title, quiz.title);
    const bool authorBlank = !quiz.author.empty() && quiz.author.front() == ' ';
    source.key(SourceKeys::Author, authorBlank ? quiz.author.substr(1) : quiz.author);
    source.key(SourceKeys::Explanation, quiz.explanation);
    source.keyUtf8(SourceKeys::Kind, kindName(quiz.kind));
    source.keyUtf8(SourceKeys::Reveal, revealModeName(quiz.revealMode));
    char colour[8];
    std::snprintf(colour, sizeof colour, "#%02x%02x%02x", quiz.red, quiz.green, quiz.blue);
    source.keyUtf8(SourceKeys::Colour, colour);
    if (quiz.answersPerQuestion == 2 || !quiz.firstCaption.empty() || !quiz.secondCaption.empty()) {
        source.list(SourceKeys::Captions, {quiz.firstCaption, quiz.secondCaption});
    }
    if (!quiz.codes.empty()) {
        source.comment("Un code par score : le premier pour 1 question juste, le deuxième pour 2, etc.");
        source.list(SourceKeys::Codes, quiz.codes);
    }
    const bool clips = quiz.kind == QuizKind::Audio || quiz.kind == QuizKind::Video;
    if (!clips && keepsOriginalPictures(quiz)) {
        source.comment("Ce quiz garde des images telles quelles, sans les réduire : ainsi reconstruit, il reste identique.");
        source.out += std::string(SourceKeys::KeepPictures) + " = true\n";
    }
    MediaNames media(extracted.files);
    for (std::size_t i = 0; i < quiz.questions.size(); ++i) {
        const PackedQuestion& question = quiz.questions[i];
        source.blank();
        source.out += "[[question]]\n";
        source.key(SourceKeys::Answer, question.answer);
        if (quiz.answersPerQuestion == 2) source.key(SourceKeys::SecondAnswer, question.secondAnswer);
        if (!question.prompt.empty() || quiz.kind == QuizKind::Text) source.key(SourceKeys::Prompt, question.prompt);
        if (!question.revealText.empty()) source.key(SourceKeys::RevealText, question.revealText);
        if (!question.picture.empty()) {
            const std::string name =
                media.nameFor(question.picture, clips ? numbered("extrait", i + 1, clipExtension(question.picture, quiz.kind))
                                                      : numbered("image", i + 1, pictureExtension(question.picture)));
            source.keyUtf8(clips ? SourceKeys::Clip : SourceKeys::Picture, name);
        }
        if (!question.revealPicture.empty()) {
            const std::string name =
                media.nameFor(question.revealPicture, numbered("image-revelee", i + 1, pictureExtension(question.revealPicture)));
            source.keyUtf8(SourceKeys::RevealPicture, name);
        }
    }
    extracted.source = std::move(source.out);
    return extracted;
}

}  // namespace kelvo::pack
