#include "kelvopack_fixture.h"

namespace kelvo::pack::testing {
namespace {

using CommandLine = KelvopackTest;

// kelvopack.exe as a child process: its exit status, UTF-8 arguments, input
// and output through real files, and the player of its own build tree.
TEST_F(CommandLine, EachCommandExitsWithItsStatusAndSaysWhatHappened) {
    writeFile(scratch / "bad.toml", "title = \"x\"\nkind = \"text\"\n[[question]]\nanswer = \"Paris \"\nprompt = \"?\"\n");
    fs::copy(examplesFolder() / "formes", scratch / "formes");
    const std::string pupil = "\xC3\xA9l\xC3\xA8ve", capitals = "\xC3\x89L\xC3\x88VE";   // élève, ÉLÈVE
    const struct {
        std::vector<std::string> arguments;
        std::string input;
        int status;
        std::string said;   // in its output, or in its errors when it fails
    } rows[] = {
        {{"build", "bad.toml", "-o", "bad.exe", "--arch", "64"}, "", ExitCodes::Invalid, "bad.toml, ligne 4 (question 1, answer) : erreur"},
        {{"build", "formes\\formes.toml", "--arch", "64"}, "", ExitCodes::Success, "formes.exe"},
        {{"build", "x.toml", "-o", "x.txt"}, "", ExitCodes::Usage, ""},
        {{"frobnicate"}, "", ExitCodes::Usage, ""},
        {{"--help"}, "", ExitCodes::Success, "extract"},
        {{"check", capitals, pupil}, "", ExitCodes::Success, "Presque\n"},
        {{"check"}, "CHIEN\tchine\r\n" + capitals + "\t" + pupil + "\n", ExitCodes::Success, "Anagramme\nPresque\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments.front() + " " + row.said);
        const ProcessResult result = runProcess(kelvopackPath(), row.arguments, scratch, row.input);
        EXPECT_EQ(result.exitCode, static_cast<DWORD>(row.status)) << result.err;
        const std::string& said = row.status == ExitCodes::Success ? result.out : result.err;
        EXPECT_NE(said.find(row.said), std::string::npos) << said;
    }
    EXPECT_FALSE(fs::exists(scratch / "bad.exe"));
    EXPECT_TRUE(fs::exists(scratch / "formes" / "formes.exe"));
}

}  // namespace
}  // namespace kelvo::pack::testing
