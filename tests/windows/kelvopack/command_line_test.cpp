#include "kelvopack_fixture.h"

#include <random>

#include "checking/verdicts.h"
#include "core/windows1252.h"
#include "quiz/text.h"

namespace kelvo::pack::testing {
namespace {

using CommandLine = KelvopackTest;

TEST_F(CommandLine, AnInvalidSourceExitsWithOneAndWritesNothing) {
    writeFile(scratch / "bad.toml", "title = \"x\"\nkind = \"text\"\n[[question]]\nanswer = \"Paris \"\nprompt = \"?\"\n");
    const ProcessResult result = runProcess(kelvopackPath(), {"build", "bad.toml", "-o", "bad.exe", "--arch", "64"}, scratch);
    EXPECT_EQ(result.exitCode, static_cast<DWORD>(ExitCodes::Invalid));
    EXPECT_FALSE(fs::exists(scratch / "bad.exe"));
    EXPECT_NE(result.err.find("bad.toml, ligne 4 (question 1, answer) : erreur"), std::string::npos) << result.err;
}

TEST_F(CommandLine, BuildFindsThePlayerOfItsOwnBuildTree) {
    fs::copy(examplesFolder() / "formes", scratch / "formes");
    const ProcessResult result = runProcess(kelvopackPath(), {"build", "formes\\formes.toml", "--arch", "64"}, scratch);
    EXPECT_EQ(result.exitCode, 0u) << result.err;
    EXPECT_TRUE(fs::exists(scratch / "formes" / "formes.exe"));
    EXPECT_NE(result.out.find("formes.exe"), std::string::npos) << result.out;
}

TEST_F(CommandLine, UsageErrorsExitWithTwo) {
    EXPECT_EQ(runProcess(kelvopackPath(), {"frobnicate"}, scratch).exitCode, static_cast<DWORD>(ExitCodes::Usage));
    EXPECT_EQ(runProcess(kelvopackPath(), {"build", "x.toml", "-o", "x.txt"}, scratch).exitCode,
              static_cast<DWORD>(ExitCodes::Usage));
    const ProcessResult help = runProcess(kelvopackPath(), {"--help"}, scratch);
    EXPECT_EQ(help.exitCode, 0u);
    EXPECT_NE(help.out.find("extract"), std::string::npos) << help.out;
}

// Expected and typed answers in many shapes: the words of the verdict
// table, with letters swapped, dropped, added, accented, cased and padded.
std::vector<std::pair<std::string, std::string>> answerPairs() {
    const std::vector<std::string> words = {"CHIEN", "chat", "\xC3\xA9l\xC3\xA8ve", "ABCDEFGHIJ", "ABCDEFGHIJKLMNOPQRST",
                                            "Ath\xC3\xA8nes", "AAB", "le grand chat", "Copenhague", "x"};
    std::vector<std::pair<std::string, std::string>> pairs = {
        {"CHIEN", "  chien  "}, {"CHIEN ", "chien"}, {"\xC3\x89L\xC3\x88VE", "\xC3\xA9l\xC3\xA8ve"}, {"CHIEN", "   "},
        {"CHIEN", "CHINE"},     {"CHATS", "CHAT"},   {"CHAT", "LE GRAND CHAT"}, {"ABCDEFGHIJ", "ABCDEFG"},
        {"ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMXYZ"},     {"AAB", "AAABXYZ"},        {"", "A"}, {"", "ABC"},
    };
    std::mt19937 random(1252);
    for (int i = 0; i < 300; ++i) {
        const std::string& expected = words[random() % words.size()];
        std::string typed = words[random() % words.size()];
        if (random() % 2 == 0) typed = expected;
        switch (random() % 6) {
            case 0: if (typed.size() > 1) std::swap(typed[0], typed[1]); break;
            case 1: if (!typed.empty()) typed.erase(random() % typed.size(), 1); break;
            case 2: typed.insert(random() % (typed.size() + 1), 1, 'E'); break;
            case 3: typed = "  " + typed + " "; break;
            case 4: for (char& c : typed) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c))); break;
            default: typed += typed; break;
        }
        if (toWindows1252(typed).invalidUtf8) continue;   // a cut in the middle of an accent
        pairs.emplace_back(expected, typed);
    }
    return pairs;
}

std::string playerVerdict(const std::string& expected, const std::string& typed) {
    char expectedText[TextSize];
    char typedText[TextSize];
    const std::string expectedAnsi = toWindows1252(expected).text;
    const std::string typedAnsi = toWindows1252(typed).text;
    copyText(expectedText, expectedAnsi.c_str());
    copyText(typedText, typedAnsi.c_str());
    upperAscii(expectedText);
    normaliseAnswer(typedText);
    return fromWindows1252(classifyAnswer(expectedText, typedText));
}

TEST_F(CommandLine, CheckAgreesWithThePlayersClassifierOnABatch) {
    const auto pairs = answerPairs();
    std::string input;
    std::string expectedOutput;
    for (const auto& [expected, typed] : pairs) {
        input += expected + "\t" + typed + "\n";
        expectedOutput += playerVerdict(expected, typed) + "\n";
    }
    const ProcessResult result = runProcess(kelvopackPath(), {"check"}, scratch, input);
    EXPECT_EQ(result.exitCode, 0u) << result.err;
    EXPECT_EQ(result.out, expectedOutput);

    const ProcessResult single = runProcess(kelvopackPath(), {"check", "\xC3\x89L\xC3\x88VE", "\xC3\xA9l\xC3\xA8ve"}, scratch);
    EXPECT_EQ(single.out, "Presque\n");
}

}  // namespace
}  // namespace kelvo::pack::testing
