#include "core/quiz_validation.h"

#include <gtest/gtest.h>

#include "kelvopack/quiz_folder.h"
#include "quiz/quiz.h"

namespace kelvo::pack {
namespace {

using testing::QuizFolder;

const std::string ValidTextQuiz =
    "title = \"Capitales\"\n"        // 1
    "kind = \"text\"\n"              // 2
    "codes = [\"A\", \"B\"]\n"       // 3
    "\n"                             // 4
    "[[question]]\n"                 // 5
    "answer = \"Paris\"\n"           // 6
    "prompt = \"France ?\"\n"        // 7
    "\n"                             // 8
    "[[question]]\n"                 // 9
    "answer = \"Rome\"\n"            // 10
    "prompt = \"Italie ?\"\n";       // 11

std::string gridHead(const std::string& kind, const std::string& reveal) {
    return "title = \"Grille\"\n"                       // 1
           "kind = \"" + kind + "\"\n"                  // 2
           "reveal = \"" + reveal + "\"\n"              // 3
           "[[question]]\n";                            // 4
}

struct Compiled {
    bool valid = false;
    Diagnostics diagnostics{"quiz.toml"};
    PackedQuiz quiz;
};

Compiled compile(const QuizFolder& folder, const std::string& text) {
    Compiled result;
    QuizSource source;
    if (parseQuizSource(text, folder.path, source, result.diagnostics)) {
        result.valid = compileQuiz(source, result.quiz, result.diagnostics);
    }
    return result;
}

std::string listed(const Diagnostics& diagnostics) {
    std::string all;
    for (const Diagnostic& d : diagnostics.all()) all += diagnostics.format(d) + "\n";
    return all;
}

bool hasError(const Diagnostics& diagnostics, int line, const std::string& field, const std::string& message) {
    for (const Diagnostic& d : diagnostics.all()) {
        if (d.isError() && d.line == line && d.field.find(field) != std::string::npos &&
            d.message.find(message) != std::string::npos) {
            return true;
        }
    }
    return false;
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

std::string repeated(const std::string& piece, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += piece;
    return text;
}

// A grid with every option, and texts that reach the player's limits:
// 259 e-acute are 518 bytes of UTF-8 but 259 bytes for the player, the most
// it holds.
TEST(QuizValidation, AGridWithEveryOptionCompilesToWindows1252) {
    QuizFolder folder;
    const Compiled result = compile(folder,
                                    "\xEF\xBB\xBFtitle = \"Animaux d\xE2\x80\x99\xC3\xA9t\xC3\xA9\"\nauthor = \"Mme Leroy\"\n"
                                    "kind = \"picture\"\nreveal = \"text-and-picture\"\n"
                                    "colour = \"#A0b1C2\"\ncaptions = [\"Nom\", \"Cri\"]\ncodes = [\"X\"]\n"
                                    "[[question]]\nanswer = 1914\nsecond_answer = \"miaou\"\npicture = \"q.jpg\"\n"
                                    "reveal_picture = \"q.gif\"\nreveal_text = \"" + repeated("\xC3\xA9", 259) + "\"\n"
                                    "[[question]]\nanswer = \"chien\"\nsecond_answer = \"ouaf\"\npicture = \"q.jpg\"\n");
    ASSERT_TRUE(result.valid) << listed(result.diagnostics);
    EXPECT_EQ(result.quiz.title, "Animaux d\x92\xE9t\xE9");
    EXPECT_EQ(result.quiz.questions[0].revealText, std::string(259, '\xE9'));
    EXPECT_EQ(result.quiz.answersPerQuestion, 2);
    EXPECT_EQ(result.quiz.revealMode, RevealMode::TextAndPicture);
    EXPECT_EQ(colorRef(result.quiz.red, result.quiz.green, result.quiz.blue), colorRef(0xA0, 0xB1, 0xC2));
    EXPECT_EQ(result.quiz.secondCaption, "Cri");
    EXPECT_EQ(result.quiz.author, " Mme Leroy") << "the header writes it right after \"Par :\"";
    EXPECT_EQ(result.quiz.questions[0].answer, "1914") << "whole numbers are taken as their digits";
    EXPECT_EQ(std::string(result.quiz.questions[0].picture.begin(), result.quiz.questions[0].picture.end()), testing::fittedJpeg());
    EXPECT_FALSE(result.quiz.questions[0].revealPicture.empty());
    EXPECT_TRUE(result.quiz.questions[1].revealPicture.empty());

    const Compiled plain = compile(folder, ValidTextQuiz);
    ASSERT_TRUE(plain.valid) << listed(plain.diagnostics);
    EXPECT_EQ(plain.quiz.author, "") << "no author, no blank";
    EXPECT_EQ(plain.quiz.answersPerQuestion, 1);
    EXPECT_EQ(plain.quiz.codes, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(colorRef(plain.quiz.red, plain.quiz.green, plain.quiz.blue), 0x965f5au) << "the player's default";
}

struct RefusedSource {
    const char* why;
    std::string text;
    int line;
    std::string field;
    std::string message;
    bool alone = false;   // the only error reported
};

TEST(QuizValidation, EachProblemIsReportedWithItsLineAndField) {
    QuizFolder folder;
    std::string ninetySeven = "title = \"Long\"\nkind = \"text\"\n";   // questions start on line 3
    for (int i = 0; i < 97; ++i) ninetySeven += "[[question]]\nanswer = \"a\"\nprompt = \"p\"\n";
    const std::string picture = gridHead("picture", "none");
    const RefusedSource cases[] = {
        {"a text longer than 259 Windows-1252 bytes", replaced(ValidTextQuiz, "France ?", repeated("\xC3\xA9", 260)), 7,
         "question 1, prompt", "260 octets"},
        {"more than 96 questions", ninetySeven, 3 + 96 * 3, "question 97", "au plus 96"},
        {"a character Windows-1252 has no byte for", replaced(ValidTextQuiz, "Paris", "Par\xE2\x98\x85is"), 6, "question 1, answer", "U+2605"},
        {"a field separator in a text", replaced(ValidTextQuiz, "Capitales", "Capi|tales"), 1, "title", "\"|\""},
        {"a carriage return in a code", replaced(ValidTextQuiz, "\"B\"", "\"B\\rC\""), 3, "codes n\xC2\xB0 2", "retour chariot"},
        {"more codes than questions", replaced(ValidTextQuiz, "\"B\"", "\"B\", \"C\""), 3, "codes", "3 codes pour 2 questions"},
        {"a trailing blank in an expected answer", replaced(ValidTextQuiz, "\"Rome\"", "\"Rome \""), 10, "question 2, answer", "espace"},
        {"an empty expected answer can never be right", replaced(ValidTextQuiz, "\"Paris\"", "\"\""), 6, "question 1, answer", "vide"},
        {"a tab cannot be typed into an answer box", replaced(ValidTextQuiz, "\"Paris\"", "\"Pa\\tris\""), 6, "question 1, answer", "tabulation"},
        {"a missing answer", replaced(ValidTextQuiz, "answer = \"Rome\"\n", ""), 9, "question 2, answer", "manque"},
        {"a text quiz never shows reveals", replaced(ValidTextQuiz, "kind = \"text\"\n", "kind = \"text\"\nreveal = \"text\"\n"),
         3, "reveal", "quiz texte"},
        {"a text quiz never shows reveal texts", replaced(ValidTextQuiz, "prompt = \"France ?\"\n", "prompt = \"F\"\nreveal_text = \"R\"\n"),
         8, "question 1, reveal_text", "quiz texte"},
        {"a text quiz has one answer box per question",
         replaced(replaced(ValidTextQuiz, "\"Paris\"\n", "\"Paris\"\nsecond_answer = \"x\"\n"), "\"Rome\"\n", "\"Rome\"\nsecond_answer = \"y\"\n"),
         7, "second_answer", "une case"},
        {"answer counts mixed between questions", picture + "answer = \"a\"\nsecond_answer = \"b\"\npicture = \"q.jpg\"\n"
                                                   "[[question]]\nanswer = \"c\"\npicture = \"q.jpg\"\n",
         8, "question 2", "seconde réponse"},
        {"a missing media file", picture + "answer = \"a\"\npicture = \"absent.jpg\"\n", 6, "question 1, picture", "introuvable"},
        {"a picture quiz question without picture", picture + "answer = \"a\"\n", 4, "question 1, picture", "chaque question a une image"},
        {"a reveal picture in a mode that never shows it",
         gridHead("picture", "text") + "answer = \"a\"\npicture = \"q.jpg\"\nreveal_picture = \"q.gif\"\n", 7,
         "question 1, reveal_picture", "jamais"},
        {"a reveal text in a mode that never shows it",
         gridHead("picture", "picture") + "answer = \"a\"\npicture = \"q.jpg\"\nreveal_text = \"t\"\n", 7,
         "question 1, reveal_text", "jamais"},
        {"a clip in a picture quiz", picture + "answer = \"a\"\npicture = \"q.jpg\"\nclip = \"clip.mp3\"\n", 7, "question 1, clip",
         "audio ou vidéo"},
        {"an audio question without clip", gridHead("audio", "none") + "answer = \"a\"\n", 4, "question 1, clip", "extrait"},
        {"a picture in an audio quiz", gridHead("audio", "none") + "answer = \"a\"\nclip = \"clip.mp3\"\npicture = \"q.jpg\"\n", 7,
         "question 1, picture", "images"},
        {"picture reveals in a video quiz", gridHead("video", "picture") + "answer = \"a\"\nclip = \"clip.mp3\"\n", 3, "reveal",
         "révéler une image"},
        {"an unknown kind", replaced(ValidTextQuiz, "\"text\"", "\"texte\""), 2, "kind", "\"picture\""},
        {"an unknown reveal mode", gridHead("picture", "always") + "answer = \"a\"\npicture = \"q.jpg\"\n", 3, "reveal", "all-at-end"},
        {"an unreadable colour", replaced(ValidTextQuiz, "kind", "colour = \"rouge\"\nkind"), 2, "colour", "#rrvvbb"},
        {"a misspelt key", replaced(ValidTextQuiz, "answer = \"Rome\"", "reponse = \"Rome\""), 10, "question 2", "reponse"},
        {"a number where a text belongs", replaced(ValidTextQuiz, "\"Capitales\"", "3.5"), 1, "title", "guillemets"},
        {"a question table written with single brackets", "title = \"x\"\nkind = \"text\"\n[question]\nanswer = \"a\"\n", 3,
         "question", "[[question]]"},
        {"no question at all", "title = \"Vide\"\nkind = \"text\"\n", 0, "question", "aucune question"},
        {"under a misspelt kind, pictures are not out of place",
         gridHead("image", "picture") + "answer = \"a\"\npicture = \"q.jpg\"\nreveal_picture = \"q.gif\"\n", 2, "kind", "\"picture\"", true},
    };
    for (const RefusedSource& row : cases) {
        const Compiled result = compile(folder, row.text);
        SCOPED_TRACE(std::string(row.why) + "\n" + listed(result.diagnostics));
        EXPECT_FALSE(result.valid);
        EXPECT_TRUE(hasError(result.diagnostics, row.line, row.field, row.message));
        if (row.alone) {
            EXPECT_EQ(result.diagnostics.errorCount(), 1);
        }
    }
}

}  // namespace
}  // namespace kelvo::pack
