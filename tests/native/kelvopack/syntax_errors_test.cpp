#include "core/syntax_errors.h"

#include <gtest/gtest.h>

#include "core/quiz_source.h"

namespace kelvo::pack {
namespace {

// Lines 1 to 3; the mistake comes on line 4, in question 1.
const std::string Head = "title = \"Chats\"\nkind = \"text\"\n[[question]]\n";

struct Mistake {
    const char* why;
    std::string text;
    std::string said;   // the one diagnostic, as kelvopack prints it
};

// The first rows are the mistakes teachers make most; the parser words each
// of them differently (noted where it matters), the teacher reads one rule.
TEST(SyntaxErrors, EachMistakeIsToldInFrenchWithWhereAndWhatToWriteInstead) {
    const Mistake mistakes[] = {
        {"a text without quotes", Head + "answer = chaton\n",
         "ligne 4, colonne 10 (question 1, answer) : erreur : écrivez le texte entre guillemets : answer = \"chaton\"."},
        {"a word the parser takes for a misspelt true", Head + "answer = tigre\n",
         "ligne 4, colonne 10 (question 1, answer) : erreur : écrivez le texte entre guillemets : answer = \"tigre\"."},
        {"a number and words, then a comment", Head + "answer = 12 chats   # au pluriel\n",
         "ligne 4, colonne 10 (question 1, answer) : erreur : écrivez le texte entre guillemets : answer = \"12 chats\"."},
        {"an accented text without quotes, refused before parsing", Head + "answer = Ath\xC3\xA8nes\n",
         "ligne 4, colonne 10 (question 1, answer) : erreur : écrivez le texte entre guillemets : answer = \"Ath\xC3\xA8nes\"."},
        {"a list of texts without quotes", "codes = [A, \"B\", C]\n",
         "ligne 1, colonne 10 (codes) : erreur : écrivez chaque texte de la liste entre guillemets : codes = [\"A\", \"B\", \"C\"]."},
        {"a yes for a flag", "keep_pictures = oui\n",
         "ligne 1, colonne 17 (keep_pictures) : erreur : écrivez true ou false, en minuscules et sans guillemets : keep_pictures = true."},
        {"a quote left open, a comment after it", Head + "answer = \"chaton   # un animal\nprompt = \"p\"\n",
         "ligne 4, colonne 10 (question 1, answer) : erreur : le guillemet qui ouvre ce texte n'est pas refermé sur sa ligne : "
         "ajoutez-en un à la fin : answer = \"chaton\"."},
        {"a quote left open on the last line, Windows line ends", Head + "answer = \"chaton\r\n",
         "ligne 4, colonne 10 (question 1, answer) : erreur : le guillemet qui ouvre ce texte n'est pas refermé sur sa ligne : "
         "ajoutez-en un à la fin : answer = \"chaton\"."},
        {"an apostrophe left open", Head + "answer = 'chaton\n",
         "ligne 4, colonne 10 (question 1, answer) : erreur : l'apostrophe qui ouvre ce texte n'est pas refermée sur sa ligne : "
         "écrivez le texte entre guillemets : answer = \"chaton\"."},
        {"quotes inside a text", Head + "prompt = \"Qui a dit \"Eureka\" ?\"\n",
         "ligne 4, colonne 21 (question 1, prompt) : erreur : le texte s'arrête au guillemet de la colonne 21 : pour un guillemet "
         "dans un texte, écrivez \\\" (ou \xC2\xAB \xC2\xBB) : prompt = \"Qui a dit \\\"Eureka\\\" ?\"."},
        {"quotes inside a text, an accent after them", Head + "prompt = \"Qui a dit \"Eur\xC3\xAAka\" ?\"\n",
         "ligne 4, colonne 21 (question 1, prompt) : erreur : le texte s'arrête au guillemet de la colonne 21 : pour un guillemet "
         "dans un texte, écrivez \\\" (ou \xC2\xAB \xC2\xBB) : prompt = \"Qui a dit \\\"Eur\xC3\xAAka\\\" ?\"."},
        {"an apostrophe inside a text between apostrophes", Head + "answer = 'l'arbre'   # un arbre\n",
         "ligne 4, colonne 12 (question 1, answer) : erreur : le texte s'arrête à l'apostrophe de la colonne 12 : pour une "
         "apostrophe dans un texte, écrivez le texte entre guillemets : answer = \"l'arbre\"."},
        {"words after the closing quote", Head + "answer = \"Paris\" Rome\n",
         "ligne 4, colonne 16 (question 1, answer) : erreur : le texte se termine au guillemet de la colonne 16, mais la ligne "
         "continue : mettez tout le texte entre les guillemets, ou commencez un commentaire par #."},
        {"a key written twice", Head + "answer = \"a\"\nprompt = \"p\"\nanswer = \"b\"\n",
         "ligne 6 (question 1, answer) : erreur : la clé answer est écrite deux fois dans cette question (déjà ligne 4) : "
         "gardez-en une seule, ou commencez la question suivante par une ligne [[question]]."},
        {"a quiz key written twice", "title = \"Chats\"\nkind = \"text\"\nkind = \"picture\"\n",
         "ligne 3 (kind) : erreur : la clé kind est écrite deux fois (déjà ligne 2) : gardez-en une seule."},
        {"a missing =", "title \"Chats\"\n",
         "ligne 1, colonne 7 (title) : erreur : il manque le signe = entre la clé et sa valeur : title = \"Chats\"."},
        {"a colon for =, and a text without quotes", Head + "answer: chaton\n",
         "ligne 4, colonne 7 (question 1, answer) : erreur : il manque le signe = entre la clé et sa valeur : answer = \"chaton\"."},
        {"a sentence alone on its line", Head + "Quelle est la couleur ?\n",
         "ligne 4 : erreur : cette ligne n'a pas la forme clé = valeur : un texte s'écrit après sa clé, entre guillemets, par "
         "exemple prompt = \"Quelle est la couleur ?\"."},
        {"a key of two words", Head + "second answer = \"x\"\n",
         "ligne 4 : erreur : une clé s'écrit d'un seul tenant, sans espace : second_answer = \"x\"."},
        {"a bracket left open", Head + "answer = \"a\"\n[[question]\nanswer = \"b\"\n",
         "ligne 5 : erreur : crochet non refermé : écrivez [[question]]."},
        {"brackets with spaces between them", "[ [question] ]\n",
         "ligne 1 : erreur : écrivez les crochets sans espace entre eux : [[question]]."},
        {"a heading written twice", "[question]\nanswer = \"a\"\n[question]\nanswer = \"b\"\n",
         "ligne 3 : erreur : chaque question commence par [[question]], avec deux crochets de chaque côté : la ligne 1 n'en a qu'un."},
        {"single brackets, then double ones", "[question]\nanswer = \"a\"\n[[question]]\nanswer = \"b\"\n",
         "ligne 3 : erreur : chaque question commence par [[question]], avec deux crochets de chaque côté : la ligne 1 n'en a qu'un."},
        {"another heading written twice", "[images]\n[images]\n",
         "ligne 2 : erreur : l'en-tête [images] est écrit deux fois (déjà ligne 1) : gardez-en un seul."},
        {"a key reused as a heading", "question = \"x\"\n[[question]]\n",
         "ligne 2 : erreur : \xC2\xAB question \xC2\xBB est déjà une clé, ligne 1 : un nom ne sert qu'une fois."},
        {"a text on the heading's line", "[[question]] answer = \"a\"\n",
         "ligne 1, colonne 14 : erreur : [[question]] reste seul sur sa ligne (un commentaire après # peut le suivre) : passez à "
         "la ligne avant \xC2\xAB answer = \"a\" \xC2\xBB."},
        {"a backslash in a text", "explanation = \"C:\\dossier\"\n",
         "ligne 1, colonne 18 (explanation) : erreur : \\d n'est pas permis dans un texte entre guillemets ; une barre oblique "
         "inverse s'écrit \\\\ : explanation = \"C:\\\\dossier\"."},
        {"a backslash in a file name, where a slash does", Head + "picture = \"images\\nature\\chat.jpg\"\n",
         "ligne 4, colonne 25 (question 1, picture) : erreur : \\c n'est pas permis dans un texte entre guillemets ; dans un chemin "
         "de fichier, écrivez / à la place : picture = \"images/nature/chat.jpg\"."},
        {"an escape the parser does not support yet", Head + "answer = \"\\x41\"\n",
         "ligne 4, colonne 11 (question 1, answer) : erreur : \\x n'est pas permis dans un texte entre guillemets ; une barre "
         "oblique inverse s'écrit \\\\ : answer = \"\\\\x41\"."},
        {"a character code cut short", Head + "answer = \"\\u12\"\n",
         "ligne 4, colonne 15 (question 1, answer) : erreur : après \\u viennent 4 chiffres hexadécimaux (8 après \\U), par "
         "exemple \\u00E9 pour é ; une barre oblique inverse s'écrit \\\\."},
        {"a missing value", Head + "answer =\n",
         "ligne 4 (question 1, answer) : erreur : la valeur manque après le signe = : answer = \"...\"."},
        {"a line starting with =", Head + "= \"chaton\"\n",
         "ligne 4, colonne 1 : erreur : une ligne commence par une clé (title, answer, prompt...), par [[question]] ou par # pour "
         "un commentaire : effacez ce qui précède la clé."},
        {"a missing comma", "codes = [\"A\" \"B\"]\n",
         "ligne 1, colonne 14 (codes) : erreur : séparez les éléments de la liste par des virgules et fermez-la par ] : "
         "codes = [\"A\", \"B\"]."},
        {"two commas", "codes = [\"A\",, \"B\"]\n",
         "ligne 1, colonne 14 (codes) : erreur : virgule en trop dans la liste, une seule sépare deux éléments : codes = [\"A\", \"B\"]."},
        {"a list over several lines never closed", "codes = [\n  \"A\",\n  \"B\"\n",
         "ligne 1 (codes) : erreur : la liste n'est jamais refermée : terminez-la par ] : codes = [\"A\", \"B\"]."},
        {"a list over several lines, a text without quotes", "codes = [\n  \"A\",\n  B,\n]\n",
         "ligne 3, colonne 3 : erreur : écrivez chaque texte de la liste entre guillemets : \"B\"."},
        {"an accented key", Head + "r\xC3\xA9ponse = \"chat\"\n",
         "ligne 4, colonne 2 : erreur : caractère \xC2\xAB \xC3\xA9 \xC2\xBB (U+00E9) dans une clé : les clés s'écrivent en "
         "anglais et sans accents (answer, prompt...)."},
        {"an accented key below a line continued by a backslash", "explanation = \"\"\"Lisez \\\nbien\"\"\"\nr\xC3\xA9ponse = \"x\"\n",
         "ligne 3, colonne 2 : erreur : caractère \xC2\xAB \xC3\xA9 \xC2\xBB (U+00E9) dans une clé : les clés s'écrivent en "
         "anglais et sans accents (answer, prompt...)."},
        {"a no-break space pasted after a text", Head + "answer = \"chat\"\xC2\xA0\n",
         "ligne 4, colonne 16 : erreur : caractère invisible (U+00A0) hors d'un texte entre guillemets, sans doute collé depuis "
         "un traitement de texte : effacez-le ou remplacez-le par une espace ordinaire."},
        {"an invisible character in a text", Head + "answer = \"cha\x01ton\"\n",
         "ligne 4, colonne 14 (question 1, answer) : erreur : un caractère de contrôle (invisible) est dans ce texte : "
         "effacez-le ; une tabulation s'écrit \\t."},
        {"a text of several lines never closed", "explanation = \"\"\"Lisez bien\n\net répondez\n",
         "ligne 1 (explanation) : erreur : ce texte n'est jamais refermé : fermez-le par les guillemets qui l'ouvrent (\"\"\" "
         "pour un texte de plusieurs lignes)."},
        {"anything else keeps the parser's words", "captions = {first = \"a\",}\n",
         "ligne 1, colonne 25 : erreur : le fichier n'est pas du TOML correct (le lecteur TOML dit : \xC2\xAB Error while parsing "
         "inline table: expected key-value pair, saw closing '}' (dangling comma) \xC2\xBB) : comparez cette ligne avec "
         "l'exemple du mode d'emploi."},
    };
    for (const Mistake& mistake : mistakes) {
        Diagnostics diagnostics("quiz.toml");
        QuizSource source;
        EXPECT_FALSE(parseQuizSource(mistake.text, ".", source, diagnostics)) << mistake.why;
        ASSERT_EQ(diagnostics.all().size(), 1u) << mistake.why;
        EXPECT_EQ(diagnostics.format(diagnostics.all().front()), "quiz.toml, " + mistake.said) << mistake.why;
    }
}

}  // namespace
}  // namespace kelvo::pack
