#include "core/quiz_validation.h"

#include <array>
#include <cctype>
#include <cstdint>
#include <fstream>
#include <iterator>

#include "core/picture_preparation.h"
#include "core/quiz_payload.h"
#include "core/windows1252.h"
#include "quiz/quiz.h"

namespace kelvo::pack {

namespace {

constexpr std::array<const char*, 4> KindNames = {"text", "picture", "audio", "video"};
constexpr std::array<const char*, 5> RevealNames = {"none", "picture", "text", "text-and-picture", "all-at-end"};

const std::string Quote = "\xC2\xAB ";     // « and a blank
const std::string Unquote = " \xC2\xBB";   // a blank and »

std::string quoted(const std::string& text) { return Quote + text + Unquote; }

template <std::size_t N>
std::string listOf(const std::array<const char*, N>& names) {
    std::string list;
    for (const char* name : names) list += (list.empty() ? "" : ", ") + std::string("\"") + name + "\"";
    return list;
}

// What a text may hold besides printable characters.
enum class TextRule {
    General,   // anything but "|" and control characters other than tab and line breaks
    Answer,    // a single line the player can type: no control character at all
    Code,      // a line of resource 105: "|" is allowed, line breaks are not
};

class QuizCompiler {
public:
    QuizCompiler(const QuizSource& source, PackedQuiz& quiz, Diagnostics& diagnostics, const PictureSettings& settings,
                 PictureReport* report)
        : source(source), quiz(quiz), diagnostics(diagnostics), settings(settings), report(report) {}

    void run() {
        compileSettings();
        compileHeader();
        compileQuestions();
        compileCodes();
        preparePictures();
    }

private:
    void compileSettings() {
        if (!source.kind.present) {
            diagnostics.error(0, SourceKeys::Kind, "la clé " + quoted(SourceKeys::Kind) +
                                                       " manque : écrivez par exemple kind = \"text\" (valeurs : " +
                                                       listOf(KindNames) + ").");
        } else if (nameIndex(KindNames, source.kind.text, quiz.kind)) {
            kindKnown = true;
        } else {
            diagnostics.error(source.kind.line, SourceKeys::Kind,
                              "sorte de quiz inconnue " + quoted(source.kind.text) + " ; valeurs possibles : " +
                                  listOf(KindNames) + ".");
        }
        quiz.revealMode = RevealMode::None;
        if (source.reveal.present && !nameIndex(RevealNames, source.reveal.text, quiz.revealMode)) {
            diagnostics.error(source.reveal.line, SourceKeys::Reveal,
                              "mode de révélation inconnu " + quoted(source.reveal.text) + " ; valeurs possibles : " +
                                  listOf(RevealNames) + ".");
        }
        if (source.colour.present) compileColour();
        answersPerQuestion();
        // The rules below depend on the kind: without one they would only
        // add errors that are not the teacher's.
        if (!kindKnown) return;
        if (quiz.kind == QuizKind::Text && quiz.revealMode != RevealMode::None) {
            diagnostics.error(source.reveal.line, SourceKeys::Reveal,
                              "un quiz texte ne révèle rien (le lecteur ne montre les révélations que dans les grilles "
                              "d'images, de sons ou de vidéos) : écrivez reveal = \"none\" ou retirez la ligne.");
        }
        const bool clipQuiz = quiz.kind == QuizKind::Audio || quiz.kind == QuizKind::Video;
        if (clipQuiz && (quiz.revealMode == RevealMode::Picture || quiz.revealMode == RevealMode::TextAndPicture)) {
            diagnostics.error(source.reveal.line, SourceKeys::Reveal,
                              "seul un quiz d'images peut révéler une image ; utilisez \"text\" ou \"all-at-end\".");
        }
    }

    void compileColour() {
        const std::string& text = source.colour.text;
        const auto hex = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
        bool valid = text.size() == 7 && text[0] == '#';
        for (std::size_t i = 1; valid && i < 7; ++i) valid = hex(text[i]);
        if (!valid) {
            diagnostics.error(source.colour.line, SourceKeys::Colour,
                              "couleur " + quoted(text) + " illisible : écrivez \"#rrvvbb\" en hexadécimal, par exemple \"#5a5f96\".");
            return;
        }
        const auto component = [&text](std::size_t at) {
            return static_cast<std::uint8_t>(std::stoi(text.substr(at, 2), nullptr, 16));
        };
        quiz.red = component(1);
        quiz.green = component(3);
        quiz.blue = component(5);
    }

    void answersPerQuestion() {
        quiz.answersPerQuestion = 1;
        if (source.questions.empty()) return;
        const bool twoAnswers = source.questions.front().secondAnswer.present;
        quiz.answersPerQuestion = twoAnswers ? 2 : 1;
        for (std::size_t i = 1; i < source.questions.size(); ++i) {
            const QuestionSource& question = source.questions[i];
            if (question.secondAnswer.present == twoAnswers) continue;
            diagnostics.error(question.line, questionName(i),
                              std::string(twoAnswers ? "cette question n'a pas de seconde réponse alors que la question 1 en a une"
                                                     : "cette question a une seconde réponse alors que la question 1 n'en a pas") +
                                  " : toutes les questions ont une seule réponse, ou toutes en ont deux.");
        }
        if (twoAnswers && kindKnown && quiz.kind == QuizKind::Text) {
            diagnostics.error(source.questions.front().secondAnswer.line, questionName(0) + ", " + SourceKeys::SecondAnswer,
                              "un quiz texte n'a qu'une case de réponse par question : les secondes réponses demandent "
                              "une grille (kind = \"picture\", \"audio\" ou \"video\").");
        }
    }

    void compileHeader() {
        if (!source.title.present) {
            diagnostics.error(0, SourceKeys::Title, "la clé " + quoted(SourceKeys::Title) + " (le titre du quiz) manque.");
        }
        quiz.title = text(source.title, SourceKeys::Title, TextRule::General);
        quiz.author = text(source.author, SourceKeys::Author, TextRule::General);
        // The header shows the author right after "Par :", with no blank of
        // its own (the player's default author is " createur").
        if (!quiz.author.empty() && quiz.author.front() != ' ') quiz.author.insert(0, 1, ' ');
        quiz.explanation = text(source.explanation, SourceKeys::Explanation, TextRule::General);
        if (source.captions.empty()) return;
        if (source.captions.size() != 2) {
            diagnostics.error(source.captionsLine, SourceKeys::Captions,
                              "il faut exactement deux légendes, une par colonne de réponses, par exemple [\"Titre\", \"Artiste\"].");
            return;
        }
        if (quiz.answersPerQuestion != 2) {
            diagnostics.warning(source.captionsLine, SourceKeys::Captions,
                                "les légendes ne sont montrées que dans une grille à deux réponses par question.");
        }
        quiz.firstCaption = text(source.captions[0], "captions n\xC2\xB0 1", TextRule::General);
        quiz.secondCaption = text(source.captions[1], "captions n\xC2\xB0 2", TextRule::General);
    }

    void compileQuestions() {
        const std::size_t count = source.questions.size();
        if (count == 0) {
            diagnostics.error(0, SourceKeys::Question,
                              "le quiz n'a aucune question : ajoutez des blocs [[question]] avec au moins answer = \"...\".");
        }
        if (count > MaxQuestions) {
            diagnostics.error(source.questions[MaxQuestions].line, questionName(MaxQuestions),
                              "le quiz a " + std::to_string(count) + " questions ; le lecteur en montre au plus " +
                                  std::to_string(MaxQuestions) + ".");
        }
        for (std::size_t i = 0; i < count; ++i) quiz.questions.push_back(compileQuestion(i));
    }

    PackedQuestion compileQuestion(std::size_t index) {
        const QuestionSource& question = source.questions[index];
        const std::string name = questionName(index);
        PackedQuestion packed;
        packed.answer = answer(question.answer, question, name + ", " + SourceKeys::Answer);
        if (question.secondAnswer.present && quiz.answersPerQuestion == 2) {
            packed.secondAnswer = answer(question.secondAnswer, question, name + ", " + SourceKeys::SecondAnswer);
        }
        packed.prompt = text(question.prompt, name + ", " + SourceKeys::Prompt, TextRule::General);
        packed.revealText = text(question.revealText, name + ", " + SourceKeys::RevealText, TextRule::General);
        if (!kindKnown) return packed;
        if (quiz.kind == QuizKind::Text && packed.prompt.empty()) {
            diagnostics.error(question.prompt.present ? question.prompt.line : question.line, name + ", " + SourceKeys::Prompt,
                              "dans un quiz texte chaque question a un énoncé : ajoutez prompt = \"...\".");
        } else if (quiz.kind != QuizKind::Text && question.prompt.present && index == firstPromptInGrid()) {
            diagnostics.warning(question.prompt.line, name + ", " + SourceKeys::Prompt,
                                "les énoncés ne sont montrés que dans un quiz texte ; ceux de ce quiz restent invisibles.");
        }
        if (question.revealText.present && !showsRevealText()) {
            diagnostics.error(question.revealText.line, name + ", " + SourceKeys::RevealText,
                              quiz.kind == QuizKind::Text
                                  ? "un quiz texte ne montre pas les textes révélés : retirez reveal_text."
                                  : "le mode de révélation " + quoted(revealModeName(quiz.revealMode)) +
                                        " ne montre jamais ce texte : choisissez reveal = \"text\", \"text-and-picture\" ou \"all-at-end\", ou retirez reveal_text.");
        }
        compileMedia(question, index, packed);
        return packed;
    }

    void compileMedia(const QuestionSource& question, std::size_t index, PackedQuestion& packed) {
        const std::string name = questionName(index);
        const bool pictureQuiz = quiz.kind == QuizKind::Picture;
        const bool clipQuiz = quiz.kind == QuizKind::Audio || quiz.kind == QuizKind::Video;
        if (pictureQuiz) {
            if (!question.picture.present) {
                diagnostics.error(question.line, name + ", " + SourceKeys::Picture,
                                  "dans un quiz d'images chaque question a une image : ajoutez picture = \"fichier.jpg\".");
            } else {
                picture(question.picture, name + ", " + SourceKeys::Picture, index, &PackedQuestion::picture);
            }
        } else if (question.picture.present) {
            diagnostics.error(question.picture.line, name + ", " + SourceKeys::Picture,
                              "seul un quiz d'images (kind = \"picture\") montre des images : retirez picture.");
        }
        if (question.revealPicture.present) {
            const bool shown = pictureQuiz && (quiz.revealMode == RevealMode::Picture ||
                                               quiz.revealMode == RevealMode::TextAndPicture);
            if (shown) {
                picture(question.revealPicture, name + ", " + SourceKeys::RevealPicture, index, &PackedQuestion::revealPicture);
            } else {
                diagnostics.error(question.revealPicture.line, name + ", " + SourceKeys::RevealPicture,
                                  "cette image ne serait jamais montrée : seul un quiz d'images avec reveal = \"picture\" "
                                  "ou \"text-and-picture\" révèle des images.");
            }
        }
        if (clipQuiz) {
            if (!question.clip.present) {
                diagnostics.error(question.line, name + ", " + SourceKeys::Clip,
                                  std::string("dans un quiz ") + (quiz.kind == QuizKind::Audio ? "audio" : "vidéo") +
                                      " chaque question a un extrait : ajoutez clip = \"fichier\".");
            } else {
                packed.picture = media(question.clip, name + ", " + SourceKeys::Clip);
            }
        } else if (question.clip.present) {
            diagnostics.error(question.clip.line, name + ", " + SourceKeys::Clip,
                              "seul un quiz audio ou vidéo (kind = \"audio\" ou \"video\") joue des extraits : retirez clip.");
        }
    }

    void compileCodes() {
        if (source.codes.size() > source.questions.size()) {
            diagnostics.error(source.codesLine, SourceKeys::Codes,
                              std::to_string(source.codes.size()) + " codes pour " + std::to_string(source.questions.size()) +
                                  " questions : il y a un code par score, de 1 question juste jusqu'à toutes, donc au plus un code par question.");
        }
        for (std::size_t k = 0; k < source.codes.size(); ++k) {
            quiz.codes.push_back(text(source.codes[k], std::string(SourceKeys::Codes) + " n\xC2\xB0 " + std::to_string(k + 1),
                                      TextRule::Code));
        }
    }

    // An expected answer the player can match: it compares the typed text,
    // cut of its blanks, with the expected text as it stands.
    std::string answer(const SourceValue& value, const QuestionSource& question, const std::string& field) {
        if (!value.present) {
            diagnostics.error(question.line, field, "la réponse attendue manque : ajoutez " + field.substr(field.rfind(' ') + 1) +
                                                        " = \"...\".");
            return {};
        }
        std::string ansi = text(value, field, TextRule::Answer);
        if (value.text.empty()) {
            diagnostics.error(value.line, field, "la réponse attendue est vide : le joueur ne pourrait jamais la trouver.");
        } else if (value.text.front() == ' ' || value.text.back() == ' ') {
            diagnostics.error(value.line, field,
                              "la réponse " + quoted(value.text) +
                                  " commence ou finit par une espace : le lecteur retire les espaces de ce qui est tapé, "
                                  "le joueur ne pourrait donc jamais la trouver ; retirez l'espace.");
        }
        return ansi;
    }

    std::string text(const SourceValue& value, const std::string& field, TextRule rule) {
        if (!value.present) return {};
        const AnsiConversion converted = toWindows1252(value.text);
        if (converted.invalidUtf8) {
            diagnostics.error(value.line, field, "le texte n'est pas de l'UTF-8 valide.");
            return {};
        }
        if (converted.unmappable) {
            diagnostics.error(value.line, field,
                              "le caractère " + describeCharacter(*converted.unmappable) +
                                  " n'existe pas en Windows-1252, le jeu de caractères du lecteur : remplacez-le.");
            return converted.text;
        }
        if (converted.text.size() > static_cast<std::size_t>(MaxTextLength)) {
            diagnostics.error(value.line, field,
                              "le texte fait " + std::to_string(converted.text.size()) +
                                  " octets en Windows-1252 ; le lecteur en garde au plus " + std::to_string(MaxTextLength) + ".");
        }
        checkCharacters(converted.text, value.line, field, rule);
        return converted.text;
    }

    void checkCharacters(const std::string& ansi, int line, const std::string& field, TextRule rule) {
        for (char c : ansi) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte == payload::FieldEnd && rule != TextRule::Code) {
                diagnostics.error(line, field, "le caractère \"|\" sépare les champs dans les données du lecteur ; il ne peut pas "
                                               "figurer dans un texte.");
                return;
            }
            const bool lineBreak = byte == payload::CodeLineEnd || byte == payload::CodeLineFeed;
            const bool control = byte < 0x20 || byte == 0x7F;
            if (rule == TextRule::Code && lineBreak) {
                diagnostics.error(line, field, "un code tient sur une ligne : il ne peut contenir ni retour chariot ni saut de ligne.");
                return;
            }
            if (!control) continue;
            if (rule == TextRule::General && (lineBreak || c == '\t')) continue;
            diagnostics.error(line, field,
                              rule == TextRule::Answer
                                  ? "une réponse ne peut contenir ni saut de ligne, ni tabulation, ni caractère de contrôle : le joueur ne pourrait pas la taper."
                                  : "le texte contient un caractère de contrôle (" + describeCharacter(byte) + ").");
            return;
        }
    }

    // The file's bytes, or only its first `limit` bytes.
    Bytes media(const SourceValue& value, const std::string& field, std::size_t limit = SIZE_MAX) {
        const std::filesystem::path path = source.folder / std::filesystem::u8path(value.text);
        std::ifstream stream(path, std::ios::binary);
        if (value.text.empty() || !stream) {
            diagnostics.error(value.line, field, "fichier introuvable : " + quoted(value.text) +
                                                     " (les chemins sont relatifs au dossier du fichier TOML).");
            return {};
        }
        Bytes bytes;
        for (std::istreambuf_iterator<char> at(stream), end; at != end && bytes.size() < limit; ++at) bytes.push_back(*at);
        if (bytes.empty()) diagnostics.error(value.line, field, "le fichier " + quoted(value.text) + " est vide.");
        return bytes;
    }

    // Only the first bytes are read here, enough to know what the file is;
    // the pictures are read whole, decoded and fitted once the whole source
    // is known to be right (preparePictures).
    void picture(const SourceValue& value, const std::string& field, std::size_t question, Bytes PackedQuestion::*slot) {
        constexpr std::size_t SignatureSize = 32;
        const Bytes start = media(value, field, SignatureSize);
        if (start.empty()) return;
        const std::string problem = formatProblem(sniffPicture(start));
        if (!problem.empty()) {
            diagnostics.error(value.line, field, "le fichier " + quoted(value.text) + " " + problem);
            return;
        }
        pictures.push_back({question, slot, value, field});
    }

    // Decoding and fitting is the slow part of a build (a second or so for a
    // phone's photo): it is skipped while the source has other errors.
    void preparePictures() {
        if (pictures.empty() || diagnostics.hasErrors()) return;
        std::vector<std::filesystem::path> files;
        for (const PictureUse& use : pictures) files.push_back(source.folder / std::filesystem::u8path(use.value.text));
        const bool keepOriginals = settings.keepOriginals || source.keepPictures;
        const std::vector<PreparedPicture> prepared = settings.prepare
                                                           ? settings.prepare(files, keepOriginals, settings.progress)
                                                           : preparePictureFiles(files, keepOriginals, settings.progress);
        for (std::size_t i = 0; i < pictures.size(); ++i) {
            const PictureUse& use = pictures[i];
            const PreparedPicture& picture = prepared[i];
            if (!picture.prepared()) {
                diagnostics.error(use.value.line, use.field, "le fichier " + quoted(use.value.text) + " " + picture.error);
                continue;
            }
            quiz.questions[use.question].*use.slot = picture.bytes;
            if (report == nullptr) continue;
            report->lines.push_back({use.value.line, use.field, use.value.text, describePreparation(picture)});
            report->originalBytes += picture.originalSize;
            report->storedBytes += picture.bytes.size();
        }
    }

    bool showsRevealText() const {
        return quiz.kind != QuizKind::Text &&
               (quiz.revealMode == RevealMode::Text || quiz.revealMode == RevealMode::TextAndPicture ||
                quiz.revealMode == RevealMode::AllAtEnd);
    }

    std::size_t firstPromptInGrid() const {
        for (std::size_t i = 0; i < source.questions.size(); ++i) {
            if (source.questions[i].prompt.present) return i;
        }
        return 0;
    }

    static std::string questionName(std::size_t index) { return "question " + std::to_string(index + 1); }

    template <std::size_t N>
    static bool nameIndex(const std::array<const char*, N>& names, const std::string& name, int& index) {
        for (std::size_t i = 0; i < N; ++i) {
            if (name == names[i]) {
                index = static_cast<int>(i);
                return true;
            }
        }
        return false;
    }

    // A picture named by the source, and where its prepared bytes go.
    struct PictureUse {
        std::size_t question;
        Bytes PackedQuestion::*slot;
        SourceValue value;
        std::string field;
    };

    const QuizSource& source;
    PackedQuiz& quiz;
    Diagnostics& diagnostics;
    const PictureSettings& settings;
    PictureReport* report;
    std::vector<PictureUse> pictures;
    bool kindKnown = false;
};

}  // namespace

const char* kindName(int kind) {
    return kind >= 0 && kind < static_cast<int>(KindNames.size()) ? KindNames[kind] : "?";
}

const char* revealModeName(int mode) {
    return mode >= 0 && mode < static_cast<int>(RevealNames.size()) ? RevealNames[mode] : "?";
}

bool compileQuiz(const QuizSource& source, PackedQuiz& quiz, Diagnostics& diagnostics, const PictureSettings& settings,
                 PictureReport* report) {
    quiz = PackedQuiz{};
    QuizCompiler(source, quiz, diagnostics, settings, report).run();
    return !diagnostics.hasErrors();
}

bool loadAndCompileQuiz(const std::filesystem::path& file, PackedQuiz& quiz, Diagnostics& diagnostics,
                        const PictureSettings& settings, PictureReport* report) {
    QuizSource source;
    if (!readQuizSource(file, source, diagnostics)) return false;
    if (!compileQuiz(source, quiz, diagnostics, settings, report)) return false;
    ResourceSet resources;
    std::string error;
    if (!makeQuizResources(quiz, resources, error)) {
        diagnostics.error(0, "", error);
        return false;
    }
    return true;
}

}  // namespace kelvo::pack
