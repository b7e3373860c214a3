// The shell's own texts and names, in Windows-1252, shared by the code and
// the tests.
#pragma once

namespace kelvo::ShellTexts {

constexpr const char* MainWindowClass = "WindowsApp";
constexpr const char* VersionLabel = "R\xE9" "alis\xE9" " avec la version 2.1.3  ";
constexpr const char* MainWindowFailed = "Erreur dans la cr\xE9" "ation de la fen\xEAtre principale";
constexpr const char* MainWindowFailedCaption = "Kelvo information";
// Closing when no folder takes the answers: the buttons are those of
// MB_CANCELTRYCONTINUE, as Windows names them in French.
constexpr const char* AnswersNotSavedOnClose =
    "Vos r\xE9" "ponses n'ont pu \xEA" "tre enregistr\xE9" "es ni dans le dossier du quiz ni dans votre dossier "
    "personnel. Si vous fermez maintenant, elles seront perdues.\n\n"
    "R\xE9" "essayer : enregistrer \xE0" " nouveau.\n"
    "Continuer : fermer sans enregistrer.\n"
    "Annuler : revenir au quiz.";
constexpr const char* AnswersNotSavedCaption = "Kelvo";
// Nothing else creates this file; closing removes whatever clip was left.
constexpr const char* LeftoverClip = "kelvo.mp3";

// The maker's home page: the header link's text and the page it opens.
constexpr const char* MakerWebAddress = "https://kelvo.example.org/";
constexpr const char* OpenVerb = "open";

constexpr const char* ByCaption = "Par :";
constexpr const char* SaveCaption = "Sauver";
constexpr const char* CodeCaption = " Code :";
constexpr const char* InitialScoreFormat = " 0 / %d";

}  // namespace kelvo::ShellTexts
