// Identifiers of the question panel's controls. Controls are found again
// only by these numbers; n is the question number from 1.
#pragma once

namespace kelvo::PanelIds {

constexpr int NumberLabel = 153;
constexpr int ColumnCaption = 156;
constexpr int PromptLabel = 3000;
constexpr int FirstAnswerBox = 4001;       // answer boxes run on without gaps
constexpr int VerdictOffset = 1000;        // verdict label = answer box + 1000
constexpr int PlayButtonBase = 6000;       // + n
constexpr int StopButtonBase = 7000;       // + n
constexpr int RevealLabelBase = 8000;      // + n
constexpr int PlayerHost = 9900;
constexpr int PictureBoxBase = 9900;       // + n
constexpr int PictureResourceBase = 400;   // "IMG" 400 + n: picture or clip
constexpr int RevealPictureBase = 10400;   // "IMG" 10400 + n

constexpr int answerBox(int index) { return FirstAnswerBox + index; }          // index from 0
constexpr int verdictLabel(int boxId) { return boxId + VerdictOffset; }
constexpr int revealLabel(int question) { return RevealLabelBase + question; }
constexpr int pictureBox(int question) { return PictureBoxBase + question; }

// Private vertical scroll requests, beside the platform's SB_ codes.
constexpr int ScrollDown50 = 500;
constexpr int ScrollUp50 = 501;
constexpr int ScrollToTarget = 502;

}  // namespace kelvo::PanelIds
