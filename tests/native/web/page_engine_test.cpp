#include "web/engine/page_engine.h"

#include <gtest/gtest.h>

#include <map>

#include "support/fake_drawing_objects.h"

namespace kelvo::web {
namespace {

// Page elements as a browser holds them: UTF-16 texts in, UTF-8 texts out.
class ElementMap : public PageElements {
public:
    bool exists(int id) override { return typed.count(id) != 0 || shown.count(id) != 0; }
    std::u16string text(int id) override { return typed[id]; }
    void setText(int id, const std::string& utf8) override { shown[id] = utf8; }
    void setHidden(int, bool) override {}
    void showPicture(int, int) override {}
    void setBrush(int id, const char* brush) override { brushes[id] = brush; }

    std::map<int, std::u16string> typed;
    std::map<int, std::string> shown;
    std::map<int, std::string> brushes;
};

TEST(PageControlAccess, JudgesTheWindows1252BytesThePlayersBoxWouldHold) {
    testing::FakeDrawingObjects drawing;
    Quiz quiz(drawing);
    quiz.questionCount = 1;
    quiz.addQuestion("Ath\xE8nes", "", "");
    const struct {
        const char* why;
        std::u16string typed;
        std::string bytes;
    } cases[] = {
        {"accented letters are one byte each", u"ath\u00e8nes", "ath\xE8nes"},
        {"the curly apostrophe and the euro exist in the code page", u"l\u2019\u20ac", "l\x92\x80"},
        {"a character the code page lacks becomes ?", u"Ath\u2605nes", "Ath?nes"},
        {"a character beyond the first plane is one ?", u"a\xD83D\xDE00" u"b", "a?b"},
        {"a lone surrogate is one ?", u"a\xDC00", "a?"},
        {"texts are cut at 259 bytes", std::u16string(300, u'x'), std::string(259, 'x')},
    };
    for (const auto& row : cases) {
        ElementMap page;
        page.typed[4001] = row.typed;
        PageControlAccess access(quiz, page);
        char text[TextSize];
        access.readText(4001, text);
        EXPECT_EQ(text, row.bytes) << row.why;
    }

    // Verdict labels show UTF-8 and get the player's brush; other texts get none.
    ElementMap page;
    PageControlAccess access(quiz, page);
    const struct {
        int id;
        const char* verdict;
        const char* shown;
        const char* brush;
    } writes[] = {
        {5001, "BRAVO", "BRAVO", "right"},
        {5001, "y a de l'id\xE9" "e", "y a de l'id\xC3\xA9" "e", "close"},
        {5001, "?", "?", "none"},
        {4001, "Anagramme", "Anagramme", ""},
    };
    for (const auto& write : writes) {
        page.brushes.clear();
        access.setText(write.id, write.verdict);
        EXPECT_EQ(page.shown[write.id], write.shown);
        EXPECT_EQ(page.brushes[write.id], write.brush) << write.verdict;
    }
}

TEST(ReadableInk, PicksTheTextColourThatContrastsMoreWithTheQuizColour) {
    const struct {
        std::uint8_t red, green, blue;
        const char* ink;
    } cases[] = {
        {0x5a, 0x5f, 0x96, "#ffffff"},   // the default colour: the player's rule would pick black (3.5:1)
        {0x77, 0x77, 0x77, "#000000"},   // mid grey: black 4.7:1 against white 4.5:1
        {0x75, 0x75, 0x75, "#ffffff"},   // two steps darker: white wins
        {0xff, 0xff, 0x00, "#000000"},
        {0x00, 0x00, 0xff, "#ffffff"},
    };
    for (const auto& row : cases) EXPECT_STREQ(readableInk(row.red, row.green, row.blue), row.ink) << int(row.red);
}

}  // namespace
}  // namespace kelvo::web
