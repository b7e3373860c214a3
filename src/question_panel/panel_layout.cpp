#include "question_panel/panel_layout.h"

#include <algorithm>
#include <cstdio>

#include "resources/control_ids.h"

namespace kelvo {
namespace {

constexpr int PictureBoxSide = 260;
constexpr int MediaCellWidth = 240;
constexpr int VideoBand = 210;

std::string numberText(int n) {
    char text[16];
    std::snprintf(text, sizeof text, "%d.", n);
    return text;
}

class LayoutBuilder {
public:
    LayoutBuilder(const Quiz& quiz, const PictureMeasure& measure, const std::function<std::string()>& savedLine)
        : quiz(quiz), measure(measure), savedLine(savedLine) {}

    PanelLayout build() {
        int y = 5;
        for (int n = 1; n <= quiz.questionCount && n <= MaxQuestions; ++n) {
            const Question* question = quiz.questionAt(n);
            if (question == nullptr) break;
            if (quiz.kind == QuizKind::Text)
                y = addTextRow(n, *question, y);
            else if (quiz.kind >= QuizKind::Picture && quiz.kind <= QuizKind::Video)
                y = addGridCell(n, *question, y);
        }
        layout.contentWidth += quiz.answersPerQuestion == 2 ? 80 : 20;
        return std::move(layout);
    }

private:
    void add(PlannedControl planned) { layout.controls.push_back(std::move(planned)); }

    void addAnswerBox(int id, unsigned style, int x, int y, int width, int n) {
        add({ControlRole::AnswerBox, "Edit", id, style, x, y, width, 20, savedLine(), ControlFont::Question, n});
    }

    void addVerdictLabel(int boxId, int x, int y, int width, ControlFont font, int n) {
        add({ControlRole::VerdictLabel, "Static", PanelIds::verdictLabel(boxId), PanelStyles::BorderedCentredLabel,
             x, y, width, 20, "?", font, n});
    }

    int addTextRow(int n, const Question& question, int y) {
        add({ControlRole::NumberLabel, "Static", PanelIds::NumberLabel, PanelStyles::NumberLabel, 26, y + 2, 19, 17,
             numberText(n), ControlFont::Dialog, n});
        add({ControlRole::Prompt, "Static", PanelIds::PromptLabel, PanelStyles::BorderedCentredLabel, 50, y, 550, 20,
             question.prompt, ControlFont::DefaultGui, n});
        const int box = PanelIds::FirstAnswerBox - 1 + n;
        addAnswerBox(box, PanelStyles::TextAnswerBox, 610, y, 170, n);
        addVerdictLabel(box, 790, y, 100, ControlFont::Dialog, n);
        y += 25;
        layout.contentWidth = 880;
        layout.contentHeight = y;
        return y;
    }

    int pictureHeight(int resourceId) {
        auto size = measure(resourceId);
        return size ? size->height : 0;
    }

    int addGridCell(int n, const Question& question, int y) {
        const int column = (n - 1) % 3;
        const bool twoAnswers = quiz.answersPerQuestion == 2;
        const int x0 = (twoAnswers ? 106 : 46) + 290 * column;
        const bool pictures = quiz.kind == QuizKind::Picture;
        const int cellWidth = pictures ? PictureBoxSide : MediaCellWidth;
        const int indent = pictures ? 0 : 20;
        const bool reveals = quiz.revealMode > RevealMode::Picture;

        if (pictures && n % 3 == 1) {
            const int base = PanelIds::PictureResourceBase + n;
            rowPictureHeight = std::max({pictureHeight(base), pictureHeight(base + 1), pictureHeight(base + 2)});
        }
        int top = y;
        if (pictures) top = y + rowPictureHeight + 10;
        if (quiz.kind == QuizKind::Video) top = y + VideoBand;

        if (pictures) addPictureBox(n, x0, y);
        if (twoAnswers && n % 3 == 1) {
            add({ControlRole::ColumnCaption, "Static", PanelIds::ColumnCaption, PanelStyles::ColumnCaption, 4, top + 2,
                 95, 20, quiz.firstAnswerLabel, ControlFont::DefaultGui, n});
            add({ControlRole::ColumnCaption, "Static", PanelIds::ColumnCaption, PanelStyles::ColumnCaption, 3, top + 22,
                 95, 20, quiz.secondAnswerLabel, ControlFont::DefaultGui, n});
        }
        add({ControlRole::NumberLabel, "Static", PanelIds::NumberLabel, PanelStyles::NumberLabel, x0 - 28, top + 2, 27,
             17, numberText(n), ControlFont::Dialog, n});
        if (!pictures) {
            add({ControlRole::PlayButton, "Button", PanelIds::PlayButtonBase + n, PanelStyles::MediaButton, x0, top, 20,
                 20, "", ControlFont::Dialog, n});
            add({ControlRole::StopButton, "Button", PanelIds::StopButtonBase + n, PanelStyles::MediaButton, x0, top + 20,
                 20, 19, "", ControlFont::Dialog, n});
        }
        // The reveal label comes before the boxes: evaluating a pre-filled
        // box may already have to show it.
        if (reveals)
            add({ControlRole::RevealLabel, "Static", PanelIds::revealLabel(n), PanelStyles::RevealLabel, x0, top + 46,
                 260, 65, question.revealText, ControlFont::DefaultGui, n, true});
        addGridBoxes(n, x0 + indent, top, cellWidth);

        const int rowEnd = top + (reveals ? 140 : 60);
        if (n % 3 == 1) {
            layout.contentWidth = 890;
            layout.contentHeight = rowEnd;
        }
        return n % 3 == 0 ? rowEnd : y;
    }

    void addPictureBox(int n, int x0, int y) {
        auto size = measure(PanelIds::PictureResourceBase + n);
        PictureSize box = size ? *size : PictureSize{PictureBoxSide, rowPictureHeight};
        int x = size ? x0 + (PictureBoxSide - box.width) / 2 : x0;
        int top = size ? y + (rowPictureHeight - box.height) / 2 : y;
        add({ControlRole::PictureBox, "STATIC", PanelIds::pictureBox(n), PanelStyles::PictureBox, x, top, box.width,
             box.height, "", ControlFont::Dialog, n});
    }

    void addGridBoxes(int n, int x, int top, int cellWidth) {
        if (quiz.answersPerQuestion == 1) {
            const int box = PanelIds::FirstAnswerBox - 1 + n;
            addAnswerBox(box, PanelStyles::GridAnswerBox, x, top, cellWidth, n);
            addVerdictLabel(box, x, top + 19, cellWidth, ControlFont::Dialog, n);
            return;
        }
        if (quiz.answersPerQuestion != 2) {
            savedLine();  // a slot without box still takes its saved line
            return;
        }
        for (int slot = 1; slot <= 2; ++slot) {
            const int box = PanelIds::FirstAnswerBox - 1 + 2 * (n - 1) + slot;
            const int rowY = top + 19 * (slot - 1);
            addAnswerBox(box, PanelStyles::GridAnswerBox, x, rowY, cellWidth - 59, n);
            addVerdictLabel(box, x + cellWidth - 60, rowY, 60, ControlFont::DefaultGui, n);
        }
    }

    const Quiz& quiz;
    const PictureMeasure& measure;
    const std::function<std::string()>& savedLine;
    PanelLayout layout;
    int rowPictureHeight = 0;
};

}  // namespace

PanelLayout layoutQuestionPanel(const Quiz& quiz, const PictureMeasure& measure,
                                const std::function<std::string()>& savedLine) {
    return LayoutBuilder(quiz, measure, savedLine).build();
}

}  // namespace kelvo
