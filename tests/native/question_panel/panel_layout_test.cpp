#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "resources/control_ids.h"
#include "question_panel/panel_layout.h"
#include "support/fake_drawing_objects.h"

namespace kelvo {
namespace {

using Planned = decltype(PanelLayout::controls)::value_type;

// A quiz whose question n expects "An", shows "question n" and reveals "reveal n".
struct TestQuiz {
    TestQuiz(int kind, int questions, int answers, int revealMode = RevealMode::None) {
        quiz.kind = kind;
        quiz.questionCount = questions;
        quiz.answersPerQuestion = answers;
        quiz.revealMode = revealMode;
        for (int n = 1; n <= questions; ++n) {
            quiz.addQuestion(("A" + std::to_string(n)).c_str(), "B", ("question " + std::to_string(n)).c_str());
            copyText(quiz.lastQuestion()->revealText, ("reveal " + std::to_string(n)).c_str());
        }
    }
    testing::FakeDrawingObjects drawing;
    Quiz quiz{drawing};
};

PanelLayout layoutOf(const Quiz& quiz, const std::map<int, PictureSize>& pictures = {},
                     const std::vector<std::string>& saved = {}) {
    size_t line = 0;
    return layoutQuestionPanel(
        quiz,
        [&](int id) -> std::optional<PictureSize> {
            auto found = pictures.find(id);
            if (found == pictures.end()) return std::nullopt;
            return found->second;
        },
        [&] { return line < saved.size() ? saved[line++] : (line++, std::string()); });
}

const Planned& find(const PanelLayout& layout, int id, int question = 0) {
    for (const auto& planned : layout.controls)
        if (planned.id == id && (question == 0 || planned.question == question)) return planned;
    throw std::runtime_error("no control " + std::to_string(id));
}

// One control as a line: identifier, class, place, style word, font, text.
std::string describe(const Planned& planned) {
    static const char* const fonts[] = {"dialog", "gui", "question"};
    char line[400];
    std::snprintf(line, sizeof line, "%d %s %d,%d %dx%d %08x %s %s%s", planned.id, planned.className, planned.x,
                  planned.y, planned.width, planned.height, planned.style, fonts[static_cast<int>(planned.font)],
                  planned.text.c_str(), planned.hidden ? " hidden" : "");
    return line;
}

std::vector<std::string> controlsOf(const PanelLayout& layout, int question) {
    std::vector<std::string> lines;
    for (const auto& planned : layout.controls)
        if (planned.question == question) lines.push_back(describe(planned));
    return lines;
}

TEST(Layout, EveryControlOfAQuestionInCreationOrder) {
    const struct {
        const char* why;
        int kind, questions, answers, revealMode, question;
        std::vector<std::string> saved;
        std::vector<std::string> expected;
        int contentWidth, contentHeight;
    } shapes[] = {
        {"text row 3: saved line 3 in its box", QuizKind::Text, 12, 1, RevealMode::None, 3, {"paris", "", "42"},
         {"153 Static 26,57 19x17 50000002 dialog 3.",
          "3000 Static 50,55 550x20 50800201 gui question 3",
          "4003 Edit 610,55 170x20 50810281 question 42",
          "5003 Static 790,55 100x20 50800201 dialog ?"},
         900, 305},
        {"picture cell 1: pictures 260 x 195 and 173 x 260 make the row 260 high", QuizKind::Picture, 3, 1,
         RevealMode::Text, 1, {"Lyon"},
         {"9901 STATIC 46,37 260x195 5080020e dialog ",
          "153 Static 18,277 27x17 50000002 dialog 1.",
          "8001 Static 46,321 260x65 50000001 gui reveal 1 hidden",
          "4001 Edit 46,275 260x20 50810081 question Lyon",
          "5001 Static 46,294 260x20 50800201 dialog ?"},
         910, 415},
        {"two-answer audio cell 4: captions at a row's first cell, the reveal before the boxes", QuizKind::Audio, 4,
         2, RevealMode::Text, 4, {"", "", "", "", "", "", "q4a", "q4b"},
         {"156 Static 4,147 95x20 50000000 gui Artiste",
          "156 Static 3,167 95x20 50000000 gui Titre",
          "153 Static 78,147 27x17 50000002 dialog 4.",
          "6004 Button 106,145 20x20 50010041 dialog ",
          "7004 Button 106,165 20x19 50010041 dialog ",
          "8004 Static 106,191 260x65 50000001 gui reveal 4 hidden",
          "4007 Edit 126,145 181x20 50810081 question q4a",
          "5007 Static 306,145 60x20 50800201 gui ?",
          "4008 Edit 126,164 181x20 50810081 question q4b",
          "5008 Static 306,164 60x20 50800201 gui ?"},
         970, 285},
    };
    for (const auto& shape : shapes) {
        TestQuiz made(shape.kind, shape.questions, shape.answers, shape.revealMode);
        copyText(made.quiz.firstAnswerLabel, "Artiste");
        copyText(made.quiz.secondAnswerLabel, "Titre");
        const PanelLayout layout = layoutOf(made.quiz, {{401, {260, 195}}, {402, {173, 260}}}, shape.saved);
        EXPECT_EQ(controlsOf(layout, shape.question), shape.expected) << shape.why;
        EXPECT_EQ(layout.contentWidth, shape.contentWidth) << shape.why;
        EXPECT_EQ(layout.contentHeight, shape.contentHeight) << shape.why;
    }
}

TEST(Layout, PictureBoxesAreCentredInTheirCellAndAMissingPictureLeavesAnEmptyBox) {
    TestQuiz made(QuizKind::Picture, 3, 1, RevealMode::Picture);
    const PanelLayout layout = layoutOf(made.quiz, {{401, {260, 195}}, {402, {173, 260}}});  // 403 is missing
    EXPECT_EQ(describe(find(layout, 9902)), "9902 STATIC 379,5 173x260 5080020e dialog ");
    EXPECT_EQ(describe(find(layout, 9903)), "9903 STATIC 626,5 260x260 5080020e dialog ");
    EXPECT_EQ(layout.contentHeight, 335) << "picture reveals need no room for a reveal label";
}

TEST(Layout, RowSpacingByKind) {
    const struct { int kind, revealMode, secondRowTop, left; } cases[] = {
        {QuizKind::Audio, RevealMode::None, 65, 66},
        {QuizKind::Video, RevealMode::None, 485, 66},     // a 210-pixel band above each row
        {QuizKind::Audio, RevealMode::AllAtEnd, 145, 66},
        {QuizKind::Picture, RevealMode::None, 285, 46},   // pictures 100 high on both rows
    };
    std::map<int, PictureSize> pictures;
    for (int id = 401; id <= 406; ++id) pictures[id] = {260, 100};
    for (const auto& test : cases) {
        TestQuiz made(test.kind, 4, 1, test.revealMode);
        const PanelLayout layout = layoutOf(made.quiz, pictures);
        const Planned& box = find(layout, 4004);
        EXPECT_EQ(box.y, test.secondRowTop) << test.kind << ", mode " << test.revealMode;
        EXPECT_EQ(box.x, test.left) << test.kind;
    }
}

// Counts and sizes of whole panels; `loaded` questions behind `questions`.
TEST(Layout, WholePanelsByShape) {
    const struct {
        const char* why;
        int kind, questions, loaded, answers;
        std::size_t controls;
        int width, height;
        const char *lastPrompt, *lastBox;  // the last row's prompt and saved answer
    } rows[] = {
        {"no questions", QuizKind::Text, 0, 0, 1, 0, 20, 0, nullptr, nullptr},
        {"no questions, two answers", QuizKind::Text, 0, 0, 2, 0, 80, 0, nullptr, nullptr},
        {"an unknown kind builds nothing", 7, 1, 1, 1, 0, 20, 0, nullptr, nullptr},
        {"all 96 rows are built", QuizKind::Text, MaxQuestions, MaxQuestions, 1, 384, 900, 2405, "question 96", ""},
        {"a short list repeats its last question", QuizKind::Text, 4, 2, 1, 16, 900, 105, "question 2", "d"},
        {"two answers, still one box per question", QuizKind::Text, 3, 3, 2, 12, 960, 80, "question 3", "c"},
    };
    for (const auto& row : rows) {
        TestQuiz made(row.kind, row.loaded, row.answers);
        made.quiz.questionCount = row.questions;
        const PanelLayout layout = layoutOf(made.quiz, {}, {"a", "b", "c", "d"});
        EXPECT_EQ(layout.controls.size(), row.controls) << row.why;
        EXPECT_EQ(layout.contentWidth, row.width) << row.why;
        EXPECT_EQ(layout.contentHeight, row.height) << row.why;
        if (!row.lastPrompt) continue;
        EXPECT_EQ(find(layout, 3000, row.questions).text, row.lastPrompt) << row.why;
        EXPECT_EQ(find(layout, 4000 + row.questions).text, row.lastBox) << row.why;
    }
}

}  // namespace
}  // namespace kelvo
