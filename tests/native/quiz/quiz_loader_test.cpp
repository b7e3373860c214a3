// The loader on hand-made payloads; arbitrary bytes are left to
// fuzz/quiz_data_fuzz.cpp.
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
using Messages = std::vector<RecordingMessageSink::Message>;
using Bytes = std::vector<std::uint8_t>;

Bytes encoded(const std::string& plain) {
    lzw::Result result = lzw::encode(reinterpret_cast<const std::uint8_t*>(plain.data()), plain.size());
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

// A quiz loaded from the given resources; absent ones are not in the executable.
struct Loaded {
    Loaded(const Bytes& quizResource, const std::optional<Bytes>& codesResource) {
        FakeResources resources;
        resources.resources[ResourceIds::QuizData] = quizResource;
        if (codesResource) resources.resources[ResourceIds::CodesData] = *codesResource;
        loadQuiz(quiz, resources, messages);
    }
    Loaded(const std::string& quizData, const std::string& codesData = "\r\n")
        : Loaded(encoded(quizData), encoded(codesData)) {}

    FakeDrawingObjects drawing;
    RecordingMessageSink messages;
    Quiz quiz{drawing};
};

TEST(QuizLoader, FieldsAndRevealTextsFollowTheModeAndTheAnswersPerQuestion) {
    const struct {
        int answers, mode;
        std::string questions, reveals;
        const char *secondAnswer, *reveal, *why;
    } rows[] = {
        {1, 0, "PARIS|Capitale ?|ROME|Italie ?|", "", "", "", "no reveal fields: the colour follows the mode byte"},
        {1, 1, "PARIS|Capitale ?|ROME|Italie ?|", "", "", "", "picture reveals carry no text"},
        {1, 2, "PARIS|Capitale ?|ROME|Italie ?|", "r1|r2|", "", "r2", "one field per question"},
        {2, 4, "PARIS|A1|Capitale ?|ROME|A2|Italie ?|", "r1|r2|", "A2", "r2", "second answers before the text"},
        {2, 3, "PARIS|A1|Capitale ?|ROME|A2|Italie ?|", "r1|x|r2|y|", "A2", "r2", "two fields, the second read past"},
        {1, 7, "PARIS|Capitale ?|ROME|Italie ?|", "", "", "", "unknown modes read nothing"},
    };
    for (const auto& row : rows) {
        Loaded loaded(header(2, 2, row.answers) + row.questions + char(row.mode) + row.reveals + "\x10\x20\x30",
                      "C1\r\n\r\n");
        const Quiz& quiz = loaded.quiz;
        SCOPED_TRACE(row.why);
        EXPECT_TRUE(loaded.messages.messages.empty());
        EXPECT_EQ(quiz.kind, QuizKind::Picture);
        EXPECT_EQ(quiz.questionCount, 2);
        EXPECT_EQ(quiz.answersPerQuestion, row.answers);
        EXPECT_EQ(quiz.revealMode, row.mode);
        EXPECT_STREQ(quiz.title, "Titre");
        EXPECT_STREQ(quiz.secondAnswerLabel, "Col2");
        EXPECT_STREQ(quiz.questionAt(1)->answer, "PARIS");
        EXPECT_STREQ(quiz.questionAt(2)->secondAnswer, row.secondAnswer);
        EXPECT_STREQ(quiz.questionAt(2)->prompt, "Italie ?");
        EXPECT_STREQ(quiz.questionAt(2)->revealText, row.reveal);
        EXPECT_EQ(loaded.drawing.colorOf(quiz.backBrush), 0x302010u);
        EXPECT_STREQ(quiz.codes[0], "C1");
        EXPECT_STREQ(quiz.codes[1], "");  // an empty code line gives an empty code
    }
}

TEST(QuizLoader, NoQuizResourceGivesTheDemonstrationQuiz) {
    Loaded loaded(Bytes{}, Bytes{1, 2, 3});  // the codes must not be read
    const Quiz& quiz = loaded.quiz;
    EXPECT_TRUE(loaded.messages.messages.empty());
    EXPECT_STREQ(quiz.title, "Nom du kelvo");
    EXPECT_EQ(quiz.questionCount, 7);
    EXPECT_EQ(quiz.questionAt(7), quiz.questionAt(2)) << "seven questions on two nodes";
    EXPECT_NE(quiz.questionAt(1), quiz.questionAt(2));
}

TEST(QuizLoader, UndecodableQuizShowsItsMessageAndKeepsTheConstructorValues) {
    // Data that decodes but ends early (the reader is tried at every cut in
    // the payload tests) or holds counts the panel cannot show is refused
    // like data that does not decode.
    const Bytes refused[] = {
        encoded(header(1, 1, 1) + "a|q|" + '\0' + "\1\2"),              // colour cut
        encoded(std::string{'\0', '\1', char(97), '\1'} + "T|A|E|1|2|"),  // 97 questions
        encoded(header(1, 1, 3) + "a|b|c|q|"),                            // three answers
        Bytes{0x30},                                                      // ends inside the first code
        Bytes(70000, 0x55),                                               // more than the codec reads
    };
    for (const Bytes& quizResource : refused) {
        SCOPED_TRACE(&quizResource - refused);
        Loaded loaded(quizResource, encoded("c\r\n"));
        EXPECT_EQ(loaded.messages.messages, (Messages{{"Erreur dans le d\xE9" "cryptage des reponses", "Kelvo"}}));
        EXPECT_EQ(loaded.quiz.questionCount, 0);
        EXPECT_EQ(loaded.quiz.firstQuestion(), nullptr);
        EXPECT_STREQ(loaded.quiz.title, "nom du kelvo");
    }
}

TEST(QuizLoader, CodeProblemsKeepTheQuizLoaded) {
    const Bytes quizResource = encoded(header(1, 3, 1) + "a|q|b|q|c|q|" + '\0' + "\1\2\3");
    struct {
        const char* why;
        std::optional<Bytes> codes;
        bool refused;
        std::vector<std::string> expected;
    } cases[] = {
        {"missing", std::nullopt, true, {"", "", ""}},
        {"oversized", Bytes(70000, 0x55), true, {"", "", ""}},
        {"short: the third line has no CR", encoded("un\r\ndeux\r\ntro"), false, {"un", "deux", ""}},
        {"bars are code text; the byte after a CR is stepped over", encoded("|||\rXb\r\n"), false, {"|||", "b", ""}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.why);
        Loaded loaded(quizResource, test.codes);
        EXPECT_EQ(loaded.quiz.questionCount, 3);
        EXPECT_EQ(loaded.messages.messages,
                  (test.refused ? Messages{{"Erreur dans le d\xE9" "cryptage des codes", "Kelvo"}} : Messages{}));
        for (int k = 0; k < 3; ++k) EXPECT_STREQ(loaded.quiz.codes[k], test.expected[k].c_str()) << k;
    }
}

TEST(QuizLoader, EdgeValuesAreKept) {
    // An empty quiz reads no groups and no codes; a kind byte outside 1 to 4
    // is kept; long fields are cut to 259 bytes; empty fields are empty; the
    // largest quiz has 96 questions.
    Loaded empty(std::string{'\xff', '\x09', '\0', '\1'} + std::string(300, 'T') + "|||||" + '\0' + "\1\2\3");
    EXPECT_TRUE(empty.messages.messages.empty());
    EXPECT_EQ(empty.quiz.kind, 8);
    EXPECT_EQ(empty.quiz.questionCount, 0);
    EXPECT_EQ(std::string(empty.quiz.title), std::string(259, 'T'));
    EXPECT_STREQ(empty.quiz.author, "");
    EXPECT_EQ(empty.quiz.firstQuestion(), nullptr);

    // Only the bar ends a field: carriage returns and line feeds are text.
    Loaded kept(header(1, 1, 1) + "a\r\nb|\r|" + '\0' + "abc", "code\r\n");
    ASSERT_TRUE(kept.messages.messages.empty());
    EXPECT_STREQ(kept.quiz.questionAt(1)->answer, "a\r\nb");
    EXPECT_STREQ(kept.quiz.questionAt(1)->prompt, "\r");

    std::string most = header(1, MaxQuestions, 1);
    for (int n = 0; n < MaxQuestions; ++n) most += "a|q|";
    EXPECT_EQ(Loaded(most + '\0' + "abc").quiz.questionCount, MaxQuestions);
}

}  // namespace
}  // namespace kelvo
