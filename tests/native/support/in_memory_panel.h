// A ControlAccess over plain maps: the question panel's controls by
// identifier, the header panel's score and code, and a log of every write in
// order, so the rules of an evaluation are checked without windows.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "checking/control_access.h"
#include "question_panel/panel_layout.h"
#include "resources/control_ids.h"
#include "quiz/quiz.h"

namespace kelvo::testing {

class InMemoryPanel : public ControlAccess {
public:
    struct Control {
        std::string text;
        bool visible = true;
        int picture = 0;  // resource id of the picture shown by a picture box
    };

    // The controls the question panel plans for `quiz`, every picture present.
    void buildFor(const Quiz& quiz) {
        const auto anyPicture = [](int) { return std::optional<PictureSize>(PictureSize{260, 260}); };
        for (const PlannedControl& planned : layoutQuestionPanel(quiz, anyPicture, [] { return std::string(); }).controls) {
            const bool picture = planned.role == ControlRole::PictureBox;
            controls[planned.id] = Control{planned.text, !planned.hidden, picture ? PanelIds::PictureResourceBase + planned.question : 0};
        }
    }

    void add(int id, const std::string& text = "", bool visible = true) {
        controls[id] = Control{text, visible, 0};
    }
    void type(int boxId, const std::string& text) { controls.at(boxId).text = text; }

    std::string text(int id) const { return controls.at(id).text; }
    bool visible(int id) const { return controls.at(id).visible; }
    int picture(int id) const { return controls.at(id).picture; }
    std::string verdict(int boxId) const { return text(PanelIds::verdictLabel(boxId)); }

    bool exists(int id) override { return controls.count(id) != 0; }
    void readText(int id, char (&text)[TextSize]) override {
        auto found = controls.find(id);
        copyText(text, found == controls.end() ? "" : found->second.text.c_str());
    }
    void setText(int id, const char* text) override {
        log.push_back("text " + std::to_string(id) + " " + text);
        if (exists(id)) controls[id].text = text;
    }
    void setVisible(int id, bool visible) override {
        log.push_back((visible ? "show " : "hide ") + std::to_string(id));
        if (exists(id)) controls[id].visible = visible;
    }
    void swapPicture(int pictureBoxId, int pictureId) override {
        log.push_back("swap " + std::to_string(pictureBoxId) + " " + std::to_string(pictureId));
        if (exists(pictureBoxId) && missingPictures.count(pictureId) == 0)
            controls[pictureBoxId].picture = pictureId;
    }
    void setHeaderText(int id, const char* text) override {
        log.push_back("header " + std::to_string(id) + " " + text);
        header[id] = text;
    }

    std::map<int, Control> controls;
    std::map<int, std::string> header;
    std::set<int> missingPictures;  // picture resources the executable lacks
    std::vector<std::string> log;   // every write, in order
};

}  // namespace kelvo::testing
