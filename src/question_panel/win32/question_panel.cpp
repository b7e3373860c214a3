#include "question_panel/win32/question_panel.h"

#include <memory>

#include "checking/answer_slots.h"
#include "checking/evaluation.h"
#include "checking/win32/answer_box.h"
#include "platform/win32/guarded.h"
#include "resources/control_ids.h"
#include "question_panel/panel_colors.h"
#include "question_panel/panel_layout.h"
#include "question_panel/win32/dialog_control_access.h"
#include "question_panel/win32/media_playback.h"
#include "question_panel/win32/panel_pictures.h"
#include "question_panel/win32/panel_scrolling.h"
#include "question_panel/win32/panel_state.h"
#include "question_panel/win32/saved_answers_file.h"

namespace kelvo {
namespace {

bool isMediaQuiz(const Quiz& quiz) {
    return quiz.kind == QuizKind::Audio || quiz.kind == QuizKind::Video;
}

Quiz* quizOf(HWND panel) {
    PanelState* state = panelState(panel);
    return state != nullptr ? state->quiz : nullptr;
}

// The answer boxes' view of the panel they sit in.
class PanelAnswerBoxes : public AnswerBoxHost {
public:
    PanelAnswerBoxes(HWND panel, Quiz& quiz) : panel(panel), quiz(quiz) {}

    void evaluate(int boxId) override {
        DialogControlAccess access(panel, static_cast<HWND>(quiz.headerPanel));
        evaluateAnswer(quiz, access, boxId);
    }
    int answerBoxCount() override { return kelvo::answerBoxCount(quiz); }
    void keepInView(HWND box) override { keepBoxInView(panel, box); }
    void saveAnswers() override { kelvo::saveAnswers(panel); }

private:
    HWND panel;
    Quiz& quiz;
};

void applyFont(HWND control, ControlFont font, const Quiz& quiz) {
    switch (font) {
        case ControlFont::DefaultGui:
            SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
            break;
        case ControlFont::Question:
            SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(quiz.questionFont), FALSE);
            break;
        case ControlFont::Dialog: break;
    }
}

// The per-box steps once the box and its verdict label exist: the key
// handler, the box's own part of its first evaluation, and the selection
// the keyboard focus would give it (a long answer then shows its end).
// The focus itself is given once, to the last box, when the panel is
// complete: handed from box to box it only made each box evaluate itself
// again, unchanged, and nothing of the panel is seen before it is complete.
void finishAnswerBox(HWND panel, Quiz& quiz, ControlAccess& access, AnswerBoxHost& host, int boxId) {
    HWND box = panelControl(panel, boxId);
    installAnswerBoxProc(box, host);
    judgeAnswer(quiz, access, boxId);
    SendMessageA(box, EM_SETSEL, 0, TextSize);
}

void createControl(HWND panel, Quiz& quiz, const PlannedControl& planned, PanelPictures& pictures) {
    HWND control = CreateWindowExA(0, planned.className, planned.text.c_str(), planned.style, planned.x, planned.y, planned.width,
                                   planned.height, panel, reinterpret_cast<HMENU>(static_cast<INT_PTR>(planned.id)),
                                   GetModuleHandleA(nullptr), nullptr);
    if (PanelState* state = panelState(panel)) state->controls.emplace(planned.id, control);
    applyFont(control, planned.font, quiz);
    switch (planned.role) {
        case ControlRole::RevealLabel: ShowWindow(control, SW_HIDE); break;
        case ControlRole::PictureBox:
            pictures.showIn(panel, planned.id, PanelIds::PictureResourceBase + planned.question);
            break;
        case ControlRole::PlayButton: decorateMediaButton(control, true); break;
        case ControlRole::StopButton: decorateMediaButton(control, false); break;
        default: break;
    }
}

// Every box is judged as it is made, in order, so that a question's reveal
// sees the boxes made before it; the whole-quiz reveal, the score and the
// code follow once, from the complete set of labels.
void createControls(HWND panel, PanelState& state, Quiz& quiz, const PanelLayout& layout, PanelPictures& pictures,
                    AnswerChecking checking) {
    DialogControlAccess access(panel, static_cast<HWND>(quiz.headerPanel));
    state.answerBoxHost = std::make_unique<PanelAnswerBoxes>(panel, quiz);
    int lastBoxId = 0;
    for (const PlannedControl& planned : layout.controls) {
        createControl(panel, quiz, planned, pictures);
        if (planned.role != ControlRole::VerdictLabel || checking == AnswerChecking::Off) continue;
        lastBoxId = planned.id - PanelIds::VerdictOffset;
        finishAnswerBox(panel, quiz, access, *state.answerBoxHost, lastBoxId);
    }
    if (lastBoxId == 0) return;
    finishEvaluation(quiz, access);
    SetFocus(panelControl(panel, lastBoxId));
}

// The media player's host is made by the media set-up, not from the layout:
// it joins the table so that the table holds every control of the panel.
void setUpMedia(HWND panel, PanelState& state, const Quiz& quiz) {
    setUpPanelMedia(panel, quiz);
    if (HWND host = GetDlgItem(panel, PanelIds::PlayerHost)) state.controls.emplace(PanelIds::PlayerHost, host);
}

INT_PTR onInitDialog(HWND panel, LPARAM creationParameter) {
    buildQuestionPanel(panel, reinterpret_cast<Quiz*>(creationParameter), AnswerChecking::On);
    return TRUE;
}

INT_PTR onColorStatic(HWND panel, HDC dc, HWND control) {
    const Quiz* quiz = quizOf(panel);
    if (quiz == nullptr) return FALSE;
    char text[TextSize] = {};
    GetWindowTextA(control, text, TextSize);
    StaticColors colors = colorsForStatic(*quiz, GetDlgCtrlID(control), text);
    DrawingHandle brush = brushHandle(*quiz, colors.brush);
    if (brush == nullptr) return FALSE;
    SetBkMode(dc, TRANSPARENT);
    if (colors.transparentText) SetTextColor(dc, colors.textColor);
    return reinterpret_cast<INT_PTR>(brush);
}

INT_PTR onColorDialog(HWND panel) {
    const Quiz* quiz = quizOf(panel);
    return quiz != nullptr ? reinterpret_cast<INT_PTR>(quiz->backBrush) : FALSE;
}

INT_PTR onCommand(HWND panel, WPARAM command) {
    const Quiz* quiz = quizOf(panel);
    if (quiz != nullptr && isMediaQuiz(*quiz)) handleMediaCommand(panel, command);
    return FALSE;
}

INT_PTR onDestroy(HWND panel) {
    deleteShownPictures(panel);
    return FALSE;
}

// The answer boxes call the state's host until their own end, which comes
// after the panel's WM_DESTROY: the state goes last.
INT_PTR onFinalDestroy(HWND panel) {
    std::unique_ptr<PanelState> state(panelState(panel));
    SetWindowLongPtrA(panel, DWLP_USER, 0);
    return FALSE;
}

INT_PTR dispatch(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: return onInitDialog(panel, lParam);
        case WM_CTLCOLORSTATIC: return onColorStatic(panel, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_CTLCOLORDLG: return onColorDialog(panel);
        case WM_COMMAND: return onCommand(panel, wParam);
        case WM_VSCROLL: scrollVertically(panel, LOWORD(wParam)); return FALSE;
        case WM_HSCROLL: scrollHorizontally(panel, LOWORD(wParam)); return FALSE;
        case WM_SIZE: keepAlignedOnResize(panel); return FALSE;
        case WM_MOUSEWHEEL: postWheelRequest(panel, wParam); return FALSE;
        case WM_DESTROY: return onDestroy(panel);
        case WM_NCDESTROY: return onFinalDestroy(panel);
    }
    return FALSE;
}

}  // namespace

void buildQuestionPanel(HWND panel, Quiz* builtFrom, AnswerChecking checking) {
    // Owned by the window from here on; WM_NCDESTROY deletes it.
    auto* state = std::make_unique<PanelState>().release();
    SetWindowLongPtrA(panel, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    state->quiz = builtFrom;
    if (builtFrom == nullptr) return;
    Quiz& quiz = *builtFrom;
    if (isMediaQuiz(quiz)) setUpMedia(panel, *state, quiz);
    SavedAnswersFile saved(savedAnswersFileToRead());
    quiz.createQuestionFont();
    PanelPictures pictures(quiz.kind == QuizKind::Picture);
    PanelLayout layout = layoutQuestionPanel(
        quiz, [&](int id) { return pictures.measure(id); }, [&] { return saved.reader().nextLine(); });
    createControls(panel, *state, quiz, layout, pictures, checking);
    state->contentWidth = layout.contentWidth;
    state->contentHeight = layout.contentHeight;
    setScrollRanges(panel);
}

PanelState* panelState(HWND panel) {
    return reinterpret_cast<PanelState*>(GetWindowLongPtrA(panel, DWLP_USER));
}

// The table holds every control of the panel from its creation on, so an
// identifier it lacks names no control: asking the platform would list every
// sibling in vain, as the steps of each evaluation do for the reveal labels
// and picture boxes a quiz does not have.
HWND panelControl(HWND panel, int controlId) {
    PanelState* state = panelState(panel);
    if (state == nullptr) return GetDlgItem(panel, controlId);
    auto found = state->controls.find(controlId);
    return found != state->controls.end() ? found->second : nullptr;
}

INT_PTR CALLBACK questionPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
    return guarded<INT_PTR>(FALSE, [&] { return dispatch(panel, message, wParam, lParam); });
}

}  // namespace kelvo
