#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <vector>

#include "question_panel/control_ids.h"
#include "question_panel/panel_layout.h"
#include "support/fake_drawing_objects.h"

namespace kelvo {
namespace {

using testing::FakeDrawingObjects;

using Rect = std::array<int, 4>;  // x, y, width, height
Rect rectOf(const ControlSpec& planned) { return {planned.x, planned.y, planned.width, planned.height}; }

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

const ControlSpec& find(const PanelLayout& layout, int id, int question = 0) {
    for (const auto& planned : layout.controls)
        if (planned.id == id && (question == 0 || planned.question == question)) return planned;
    throw std::runtime_error("no control " + std::to_string(id));
}

class LayoutTest : public ::testing::Test {
protected:
    void makeQuiz(int kind, int questions, int answers, int revealMode = RevealMode::None) {
        quiz.kind = kind;
        quiz.questionCount = questions;
        quiz.answersPerQuestion = answers;
        quiz.revealMode = revealMode;
        for (int n = 1; n <= questions; ++n) {
            quiz.addQuestion(("A" + std::to_string(n)).c_str(), "B", ("question " + std::to_string(n)).c_str());
            copyText(quiz.lastQuestion()->revealText, ("reveal " + std::to_string(n)).c_str());
        }
    }

    FakeDrawingObjects drawing;
    Quiz quiz{drawing};
};

TEST_F(LayoutTest, TextQuizOfTwelveQuestions) {
    makeQuiz(QuizKind::Text, 12, 1);
    PanelLayout result = layoutOf(quiz, {}, {"paris", "", "42"});
    EXPECT_EQ(result.contentWidth, 900);
    EXPECT_EQ(result.contentHeight, 305);
    ASSERT_EQ(result.controls.size(), 48u);  // number, prompt, box, verdict per row
    std::vector<int> firstRow;
    for (int i = 0; i < 4; ++i) firstRow.push_back(result.controls[i].id);
    EXPECT_EQ(firstRow, (std::vector<int>{153, 3000, 4001, 5001}));

    EXPECT_EQ(rectOf(find(result, 153, 3)), (Rect{26, 57, 19, 17}));
    EXPECT_EQ(find(result, 153, 3).text, "3.");
    EXPECT_EQ(rectOf(find(result, 3000, 3)), (Rect{50, 55, 550, 20}));
    EXPECT_EQ(find(result, 3000, 3).text, "question 3");
    const ControlSpec& box = find(result, 4003);
    EXPECT_EQ(rectOf(box), (Rect{610, 55, 170, 20}));
    EXPECT_EQ(box.style, 0x50810281u);
    EXPECT_EQ(box.text, "42");
    EXPECT_EQ(box.font, ControlFont::Question);
    EXPECT_EQ(rectOf(find(result, 5003)), (Rect{790, 55, 100, 20}));
    EXPECT_EQ(find(result, 5003).text, "?");
    EXPECT_EQ(find(result, 4001).text, "paris");
}

TEST_F(LayoutTest, TextQuizWithTwoAnswersStillHasOneBoxPerQuestion) {
    makeQuiz(QuizKind::Text, 3, 2);
    PanelLayout result = layoutOf(quiz, {}, {"a", "b", "c", "d"});
    EXPECT_EQ(result.contentWidth, 960);
    std::vector<std::string> boxes;
    for (const auto& planned : result.controls)
        if (planned.role == ControlRole::AnswerBox) boxes.push_back(std::to_string(planned.id) + "=" + planned.text);
    EXPECT_EQ(boxes, (std::vector<std::string>{"4001=a", "4002=b", "4003=c"}));
}

TEST_F(LayoutTest, TwoAnswerAudioGridCell) {
    makeQuiz(QuizKind::Audio, 2, 2, RevealMode::Text);
    copyText(quiz.firstAnswerLabel, "Artiste");
    PanelLayout result = layoutOf(quiz, {}, {"q1a", "q1b", "q2a", "q2b"});

    std::vector<int> order;
    for (const auto& planned : result.controls)
        if (planned.question == 2) order.push_back(planned.id);
    // The reveal label comes before the boxes it belongs to.
    EXPECT_EQ(order, (std::vector<int>{153, 6002, 7002, 8002, 4003, 5003, 4004, 5004}));

    const int x0 = 396;  // column 1 with room for the captions
    EXPECT_EQ(rectOf(find(result, 156, 1)), (Rect{4, 7, 95, 20}));
    EXPECT_EQ(find(result, 156, 1).text, "Artiste");
    EXPECT_EQ(rectOf(find(result, 6002)), (Rect{x0, 5, 20, 20}));
    EXPECT_EQ(rectOf(find(result, 4003)), (Rect{x0 + 20, 5, 181, 20}));
    EXPECT_EQ(rectOf(find(result, 4004)), (Rect{x0 + 20, 24, 181, 20}));
    EXPECT_EQ(rectOf(find(result, 5004)), (Rect{x0 + 20 + 180, 24, 60, 20}));
    EXPECT_EQ(find(result, 4004).text, "q2b");
    const ControlSpec& reveal = find(result, 8002);
    EXPECT_EQ(rectOf(reveal), (Rect{x0, 51, 260, 65}));
    EXPECT_TRUE(reveal.hidden);
    EXPECT_EQ(reveal.text, "reveal 2");
    EXPECT_EQ(result.contentWidth, 970);
    EXPECT_EQ(result.contentHeight, 145);
}

TEST(Layout, RowSpacingByKind) {
    struct Case {
        int kind, revealMode, secondRowTop;
    } cases[] = {
        {QuizKind::Audio, RevealMode::None, 65},
        {QuizKind::Video, RevealMode::None, 5 + 270 + 210},
        {QuizKind::Audio, RevealMode::AllAtEnd, 145},
        {QuizKind::Picture, RevealMode::None, 5 + 70 + 100 + 100 + 10},  // H = 100 on both rows
    };
    std::map<int, PictureSize> pictures;
    for (int id = 401; id <= 406; ++id) pictures[id] = {260, 100};
    for (const auto& test : cases) {
        FakeDrawingObjects drawing;
        Quiz grid(drawing);
        grid.kind = test.kind;
        grid.revealMode = test.revealMode;
        grid.questionCount = 4;
        for (int n = 0; n < 4; ++n) grid.addQuestion("a", "", "");
        PanelLayout result = layoutOf(grid, pictures);
        SCOPED_TRACE(test.kind * 10 + test.revealMode);
        EXPECT_EQ(find(result, 4004).y, test.secondRowTop);
        EXPECT_EQ(find(result, 4004).x, 46 + (test.kind == QuizKind::Picture ? 0 : 20));
    }
}

TEST_F(LayoutTest, PictureRowsAreSizedByTheirTallestPicture) {
    makeQuiz(QuizKind::Picture, 3, 1, RevealMode::Picture);
    PanelLayout result = layoutOf(quiz, {{401, {260, 195}}, {402, {173, 260}}});  // 403 is missing
    EXPECT_EQ(rectOf(find(result, 9901)), (Rect{46, 5 + (260 - 195) / 2, 260, 195}));
    EXPECT_EQ(rectOf(find(result, 9902)), (Rect{336 + (260 - 173) / 2, 5, 173, 260}));
    EXPECT_EQ(rectOf(find(result, 9903)), (Rect{626, 5, 260, 260}));  // empty box of 260 x H
    EXPECT_EQ(find(result, 4001).y, 5 + 260 + 10);
    EXPECT_EQ(rectOf(find(result, 5002)), (Rect{336, 5 + 270 + 19, 260, 20}));
}

TEST_F(LayoutTest, NothingIsBuiltWithoutQuestionsOrForUnknownKinds) {
    makeQuiz(QuizKind::Text, 0, 1);
    PanelLayout none = layoutOf(quiz);
    EXPECT_TRUE(none.controls.empty());
    EXPECT_EQ(none.contentWidth, 20);
    EXPECT_EQ(none.contentHeight, 0);
    quiz.answersPerQuestion = 2;
    EXPECT_EQ(layoutOf(quiz).contentWidth, 80);

    quiz.kind = 7;
    quiz.questionCount = 1;
    quiz.addQuestion("a", "", "");
    EXPECT_TRUE(layoutOf(quiz).controls.empty());
}

TEST_F(LayoutTest, AShortQuestionListRepeatsItsLastQuestion) {
    makeQuiz(QuizKind::Text, 2, 1);
    quiz.questionCount = 4;
    PanelLayout result = layoutOf(quiz);
    EXPECT_EQ(find(result, 3000, 4).text, "question 2");
    EXPECT_EQ(result.contentHeight, 105);
}

}  // namespace
}  // namespace kelvo
