#include "core/source_encoding.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "core/quiz_payload.h"
#include "core/quiz_source.h"
#include "core/quiz_validation.h"
#include "core/source_writer.h"
#include "kelvopack/quiz_folder.h"

namespace kelvo::pack {
namespace {

// One source as Notepad saves it in each encoding, written by iconv
// (sources/make-sources), not by our decoder's own tables.
std::string savedSource(const std::string& name) {
    std::ifstream stream(std::filesystem::path(KELVO_SOURCE_DIR) / "tests/native/kelvopack/sources" / name, std::ios::binary);
    EXPECT_TRUE(stream) << name;
    return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

// ASCII text in UTF-16, without a mark.
std::string utf16(std::string_view ascii, bool bigEndian) {
    std::string units;
    for (char c : ascii) units += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    return units;
}

std::string notesOf(const Diagnostics& diagnostics) {
    std::string notes;
    for (const Diagnostic& d : diagnostics.all()) notes += diagnostics.format(d) + "\n";
    return notes;
}

TEST(SourceEncoding, EveryWayNotepadSavesGivesTheSameQuizAndSaysHowItWasRead) {
    const struct {
        const char* encoding;
        std::string bytes;
        std::string note;   // empty: UTF-8 needs none
    } saved[] = {
        {"UTF-8", savedSource("ete.toml"), ""},
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + savedSource("ete.toml"), ""},
        {"UTF-16 LE with its mark", savedSource("ete-utf16le.toml"),
         "quiz.toml : remarque : fichier lu comme de l'UTF-16 (\xC2\xAB Unicode \xC2\xBB"},
        {"UTF-16 BE with its mark", savedSource("ete-utf16be.toml"), "quiz.toml : remarque : fichier lu comme de l'UTF-16 gros-boutiste"},
        {"Windows-1252", savedSource("ete-windows1252.toml"),
         "quiz.toml : remarque : fichier lu comme du Windows-1252 (\xC2\xAB ANSI \xC2\xBB dans le Bloc-notes)"},
    };
    testing::QuizFolder folder;
    PackedQuiz reference;
    Diagnostics unused("quiz.toml");
    ASSERT_TRUE(loadAndCompileQuiz(folder.write("quiz.toml", savedSource("ete.toml")), reference, unused));
    EXPECT_EQ(reference.title, "L\x92\xE9t\xE9 \xAB chaud \xBB");
    EXPECT_EQ(reference.codes, std::vector<std::string>{"5 \x80"});
    EXPECT_EQ(reference.questions.at(0).answer, "\x9C" "uf");
    for (const auto& file : saved) {
        SCOPED_TRACE(file.encoding);
        PackedQuiz quiz;
        Diagnostics diagnostics("quiz.toml");
        ASSERT_TRUE(loadAndCompileQuiz(folder.write("quiz.toml", file.bytes), quiz, diagnostics)) << notesOf(diagnostics);
        EXPECT_EQ(quizPayload(quiz), quizPayload(reference));
        EXPECT_EQ(codesPayload(quiz), codesPayload(reference));
        ASSERT_EQ(diagnostics.all().size(), file.note.empty() ? 0u : 1u) << notesOf(diagnostics);
        if (!file.note.empty()) {
            EXPECT_EQ(notesOf(diagnostics).find(file.note), 0u) << notesOf(diagnostics);
        }

        std::string text;
        Diagnostics extracted("quiz.toml");
        EXPECT_TRUE(decodeQuizSource(extractQuizSource(quiz, "quiz.exe").source, text, extracted));
        EXPECT_TRUE(extracted.all().empty()) << "extract writes UTF-8 whatever the source was";
    }
}

TEST(SourceEncoding, BytesNoEncodingExplainsAreRefusedOnTheirLine) {
    const std::string title = "title = \"x\"\n";
    const struct {
        const char* why;
        std::string bytes;
        std::string said;
        bool parses = false;
    } files[] = {
        {"a byte Windows-1252 leaves undefined", title + "kind = \"t\x81\"\n",
         "quiz.toml, ligne 2 : erreur : l'octet 0x81 ne correspond à aucun caractère : le fichier n'est ni en UTF-8 ni en Windows-1252"},
        {"the UTF-8 mark, then a byte that is not UTF-8", "\xEF\xBB\xBF" + title + "kind = \"\xE9t\xE9\"\n",
         "quiz.toml, ligne 2 : erreur : ces octets ne sont pas de l'UTF-8, alors que le fichier commence par la marque"},
        {"UTF-16 cut after one byte of a character", "\xFF\xFE" + utf16(title, false) + "k",
         "quiz.toml, ligne 2 : erreur : le fichier UTF-16 finit par un demi-caractère"},
        {"UTF-16 with half a surrogate pair", "\xFE\xFF" + utf16(title + "a", true) + "\xD8\x3D",
         "quiz.toml, ligne 2 : erreur : un caractère UTF-16 est coupé en deux"},
        {"UTF-16 without its mark", utf16(title, false), "quiz.toml, ligne 1 : erreur : le fichier contient un caractère nul"},
        {"a syntax error in UTF-16: lines and columns of the text", "\xFF\xFE" + utf16(title + "\n\nanswer = chaton", false),
         "quiz.toml, ligne 4, colonne 10 (answer) : erreur : écrivez le texte entre guillemets"},
        // "été" pasted from a UTF-8 file into a Windows-1252 one.
        {"two encodings in one file", title + "author = \"\xC3\xA9t\xC3\xA9\"\nkind = \"\xE9t\xE9\"\n",
         "quiz.toml, ligne 2 : attention : \xC2\xAB \xC3\x83\xC2\xA9 \xC2\xBB est sans doute \xC2\xAB \xC3\xA9 \xC2\xBB "
         "enregistré en UTF-8, alors que la ligne 3 n'est pas en UTF-8",
         true},
    };
    for (const auto& file : files) {
        QuizSource source;
        Diagnostics diagnostics("quiz.toml");
        EXPECT_EQ(parseQuizSource(file.bytes, ".", source, diagnostics), file.parses) << file.why;
        EXPECT_NE(notesOf(diagnostics).find(file.said), std::string::npos) << file.why << "\n" << notesOf(diagnostics);
    }
}

}  // namespace
}  // namespace kelvo::pack
