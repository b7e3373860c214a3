#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "quiz/lzw_codec.h"
#include "quiz/quiz_loader.h"
#include "resources/resource_ids.h"
#include "support/fake_drawing_objects.h"
#include "support/recording_message_sink.h"

namespace kelvo {
namespace {

using testing::FakeDrawingObjects;
using testing::RecordingMessageSink;
using Bytes = std::vector<std::uint8_t>;

Bytes bytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes encoded(const Bytes& plain) {
    lzw::Result result = lzw::encode(plain.data(), plain.size());
    EXPECT_EQ(result.status, lzw::Success);
    return Bytes(result.output.get(), result.output.get() + result.length);
}

class FakeResources : public QuizResourceSource {
public:
    std::vector<std::uint8_t> patchResource(int id) override {
        auto found = resources.find(id);
        return found == resources.end() ? Bytes{} : found->second;
    }
    std::map<int, Bytes> resources;
};

// Header bytes: unused, kind + 1, Q, A; then the five header fields.
std::string header(int kindByte, int questions, int answers) {
    return std::string{'\x07', char(kindByte), char(questions), char(answers)} + "Titre|Auteur|Expl|Col1|Col2|";
}

struct Loaded {
    FakeDrawingObjects drawing;
    RecordingMessageSink messages;
    Quiz quiz{drawing};
};

void loadResources(Loaded& loaded, const Bytes& quizResource, const std::optional<Bytes>& codesResource) {
    FakeResources resources;
    resources.resources[ResourceIds::QuizData] = quizResource;
    if (codesResource) resources.resources[ResourceIds::CodesData] = *codesResource;
    loadQuiz(loaded.quiz, resources, loaded.messages);
}

void load(Loaded& loaded, const std::string& quizData,
          const std::optional<std::string>& codesData = std::nullopt) {
    std::optional<Bytes> codes;
    if (codesData) codes = encoded(bytes(*codesData));
    loadResources(loaded, encoded(bytes(quizData)), codes);
}

TEST(QuizLoader, OneAnswerQuizWithTextAndPictureRevealsAndCodes) {
    // Mode 3 carries two fields per question; the second is read past, so
    // the colour bytes are still found.
    std::string data = header(2, 2, 1) + "PARIS|Capitale ?|ROME|Italie ?|" + "\x03" +
                       "rev1|x|rev2|y|" + "\x10\x20\x30";
    Loaded loaded;
    load(loaded, data, "C1\r\n\r\n");
    Quiz& quiz = loaded.quiz;
    EXPECT_TRUE(loaded.messages.messages.empty());
    EXPECT_EQ(quiz.kind, QuizKind::Picture);
    EXPECT_EQ(quiz.questionCount, 2);
    EXPECT_STREQ(quiz.title, "Titre");
    EXPECT_STREQ(quiz.secondAnswerLabel, "Col2");
    EXPECT_STREQ(quiz.questionAt(1)->answer, "PARIS");
    EXPECT_STREQ(quiz.questionAt(2)->prompt, "Italie ?");
    EXPECT_STREQ(quiz.questionAt(2)->revealText, "rev2");
    EXPECT_EQ(quiz.revealMode, RevealMode::TextAndPicture);
    EXPECT_EQ(loaded.drawing.made(quiz.backBrush).color, 0x302010u);
    EXPECT_STREQ(quiz.codes[0], "C1");
    EXPECT_STREQ(quiz.codes[1], "");  // an empty code line gives an empty code
}

TEST(QuizLoader, RevealFieldsDependOnTheMode) {
    struct Case {
        int mode;
        std::string revealFields;
        const char* expectedReveal;
    } cases[] = {
        {0, "", ""},               // no reveal fields: colour follows the mode byte
        {2, "texte|", "texte"},    // one field per question
        {4, "fin|", "fin"},
        {3, "t|ignored|", "t"},    // two fields per question
        {7, "", ""},               // unknown modes read nothing
    };
    for (const auto& test : cases) {
        std::string data = header(3, 1, 2) + "A1|A2|Q|" + char(test.mode) + test.revealFields + "\x01\x02\x03";
        Loaded loaded;
        load(loaded, data, "X\r\n");
        SCOPED_TRACE(test.mode);
        EXPECT_TRUE(loaded.messages.messages.empty());
        EXPECT_EQ(loaded.quiz.revealMode, test.mode);
        EXPECT_STREQ(loaded.quiz.questionAt(1)->secondAnswer, "A2");
        EXPECT_STREQ(loaded.quiz.questionAt(1)->revealText, test.expectedReveal);
        EXPECT_EQ(loaded.quiz.color(), 0x030201u);
        EXPECT_STREQ(loaded.quiz.codes[0], "X");
    }
}

TEST(QuizLoader, NoQuizResourceGivesTheDemonstrationQuiz) {
    Loaded loaded;
    loadResources(loaded, Bytes{}, Bytes{1, 2, 3});  // the codes must not be read
    const Quiz& quiz = loaded.quiz;
    EXPECT_TRUE(loaded.messages.messages.empty());
    EXPECT_STREQ(quiz.title, "Nom du kelvo");
    EXPECT_EQ(quiz.questionCount, 7);
    EXPECT_EQ(quiz.revealMode, RevealMode::TextAndPicture);
    EXPECT_EQ(quiz.kind, QuizKind::Text);
    EXPECT_EQ(loaded.drawing.made(quiz.backBrush).color, 0xa3cb35u);
    EXPECT_EQ(quiz.questionAt(7), quiz.questionAt(2));
    EXPECT_NE(quiz.questionAt(1), quiz.questionAt(2));
    EXPECT_STREQ(quiz.questionAt(5)->prompt, "emplacement");
    EXPECT_STREQ(quiz.codes[0], "");
}

TEST(QuizLoader, UndecodableQuizShowsItsMessageAndEmptiesTheQuiz) {
    // Data that decodes but ends early, or holds counts the panel cannot
    // show, is refused like data that does not decode.
    const Bytes refused[] = {
        encoded(bytes(std::string{'\0', '\1', char(97), '\1'} + "T|A|E|1|2|")),  // 97 questions
        encoded(bytes(header(1, 1, 3) + "a|b|c|q|")),                             // three answers
        encoded(bytes(header(1, 2, 1) + "a|q|b|")),                               // questions cut
        encoded(bytes(header(1, 1, 1) + "a|q|" + '\0' + "\1\2")),                 // colour cut
        encoded(bytes(header(1, 1, 1) + "a|q|" + '\x02' + "reveal")),             // reveal cut
        Bytes{0x30},                                                              // ends inside the first code
        Bytes(70000, 0x55),                                                       // more than the codec reads
    };
    for (const Bytes& quizResource : refused) {
        SCOPED_TRACE(&quizResource - refused);
        Loaded loaded;
        loadResources(loaded, quizResource, encoded(bytes("c\r\n")));
        ASSERT_EQ(loaded.messages.messages.size(), 1u);
        EXPECT_EQ(loaded.messages.messages[0].text, "Erreur dans le d\xE9" "cryptage des reponses");
        EXPECT_EQ(loaded.messages.messages[0].caption, "Kelvo");
        EXPECT_EQ(loaded.quiz.questionCount, 0);
        EXPECT_EQ(loaded.quiz.firstQuestion(), nullptr);
        EXPECT_STREQ(loaded.quiz.title, "nom du kelvo");
    }
}

TEST(QuizLoader, CodeProblemsKeepTheQuizLoaded) {
    const Bytes quizResource = encoded(bytes(header(1, 3, 1) + "a|q|b|q|c|q|" + '\0' + "\1\2\3"));
    struct Case {
        const char* why;
        std::optional<Bytes> codes;
        bool refused;
        std::vector<std::string> expected;
    } cases[] = {
        {"missing", std::nullopt, true, {"", "", ""}},
        {"oversized", Bytes(70000, 0x55), true, {"", "", ""}},
        {"short: the third line has no CR", encoded(bytes("un\r\ndeux\r\ntro")), false, {"un", "deux", ""}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.why);
        Loaded loaded;
        loadResources(loaded, quizResource, test.codes);
        EXPECT_EQ(loaded.quiz.questionCount, 3);
        ASSERT_EQ(loaded.messages.messages.size(), test.refused ? 1u : 0u);
        if (test.refused) {
            EXPECT_EQ(loaded.messages.messages[0].text, "Erreur dans le d\xE9" "cryptage des codes");
        }
        for (int k = 0; k < 3; ++k) EXPECT_STREQ(loaded.quiz.codes[k], test.expected[k].c_str()) << k;
    }
}

TEST(QuizLoader, EdgeValuesAreKept) {
    // An empty quiz reads no groups and no codes; a kind byte outside 1 to 4
    // is kept; long fields are cut to 259 bytes; empty fields are empty.
    std::string longTitle(300, 'T');
    std::string data = std::string{'\xff', '\x09', '\0', '\1'} + longTitle + "||||" + "|" + '\0' + "\1\2\3";
    Loaded loaded;
    load(loaded, data);
    EXPECT_EQ(loaded.quiz.kind, 8);
    EXPECT_EQ(loaded.quiz.questionCount, 0);
    EXPECT_EQ(std::string(loaded.quiz.title), std::string(259, 'T'));
    EXPECT_STREQ(loaded.quiz.author, "");
    EXPECT_EQ(loaded.quiz.firstQuestion(), nullptr);
}

// Hostile data: whatever the bytes, the loader either loads a quiz that
// stays inside its limits or reports the one message, and never reads past
// the decoded bytes (the sanitizers watch every run).
void expectLoadedOrRefused(const Loaded& loaded) {
    if (loaded.messages.messages.empty()) {
        EXPECT_LE(loaded.quiz.questionCount, MaxQuestions);
        EXPECT_LE(std::string(loaded.quiz.title).size(), 259u);
        return;
    }
    ASSERT_EQ(loaded.messages.messages.size(), 1u);
    EXPECT_EQ(loaded.quiz.questionCount, 0);
    EXPECT_EQ(loaded.quiz.firstQuestion(), nullptr);
}

TEST(QuizLoader, EveryTruncationOfGoodDataIsRefused) {
    const std::string whole = header(1, 2, 2) + "a|b|q|c|d|r|" + '\3' + "x|y|z|w|" + "\x10\x20\x30";
    const std::string codes = "un\r\ndeux\r\n";
    for (std::size_t length = 1; length < whole.size(); ++length) {
        SCOPED_TRACE(length);
        Loaded loaded;
        load(loaded, whole.substr(0, length), codes);
        ASSERT_EQ(loaded.messages.messages.size(), 1u) << "every field is needed";
        EXPECT_EQ(loaded.quiz.firstQuestion(), nullptr);
    }
    Loaded complete;
    load(complete, whole, codes);
    EXPECT_TRUE(complete.messages.messages.empty());
}

TEST(QuizLoader, DataFullOfBarsAndCarriageReturnsIsLoadedOrRefused) {
    struct Case {
        const char* why;
        std::string quiz;
        std::string codes;
    } cases[] = {
        {"bars only: 124 questions are too many", std::string(500, '|'), std::string(50, '|')},
        {"carriage returns only: no field ends", std::string(500, '\r'), std::string(50, '\r')},
        {"alternating bars and CRs", [] {
             std::string data;
             for (int i = 0; i < 300; ++i) data += i % 2 ? '|' : '\r';
             return data;
         }(), "\r|\r|\r|"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.why);
        Loaded loaded;
        load(loaded, test.quiz, test.codes);
        expectLoadedOrRefused(loaded);
    }

    // Texts keep their CR and LF; codes keep their bars; bare CRs give empty codes.
    Loaded kept;
    load(kept, header(1, 1, 1) + "a\r\nb|\r|" + '\0' + "abc", "|||\r\n");
    ASSERT_TRUE(kept.messages.messages.empty());
    EXPECT_STREQ(kept.quiz.questionAt(1)->answer, "a\r\nb");
    EXPECT_STREQ(kept.quiz.questionAt(1)->prompt, "\r");
    EXPECT_STREQ(kept.quiz.codes[0], "|||");

    Loaded emptyFields;
    load(emptyFields, header(1, 3, 2).substr(0, 4) + std::string(14, '|') + '\2' + "|||" + "abc", std::string(6, '\r'));
    ASSERT_TRUE(emptyFields.messages.messages.empty());
    EXPECT_EQ(emptyFields.quiz.questionCount, 3);
    EXPECT_STREQ(emptyFields.quiz.codes[2], "");
}

}  // namespace
}  // namespace kelvo
