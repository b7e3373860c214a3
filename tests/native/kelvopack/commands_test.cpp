#include "core/commands.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "core/picture_header.h"
#include "core/quiz_payload.h"
#include "kelvopack/quiz_folder.h"
#include "kelvopack/small_executable.h"

namespace kelvo::pack {
namespace {

namespace fs = std::filesystem;
using testing::QuizFolder;

std::string text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

class Commands : public ::testing::Test {
protected:
    Commands() {
        // The player carries its dialogs, and an old quiz in another language
        // that a build must not keep.
        player = folder.write("kelvo.exe", text(testing::smallPlayer(false, {
            {ResourceTypes::image(), ResourceName::number(401), 0x40C, {'o', 'l', 'd'}},
            {ResourceTypes::patch(), ResourceName::number(104), 0x409, {'o', 'l', 'd'}},
        })));
        source = folder.write("quiz.toml",
                              "title = \"Animaux\"\nkind = \"picture\"\nreveal = \"picture\"\ncodes = [\"C1\"]\n"
                              "[[question]]\nanswer = \"chat\"\npicture = \"q.jpg\"\nreveal_picture = \"q.gif\"\n"
                              "[[question]]\nanswer = \"chien\"\npicture = \"q.jpg\"\n");
    }

    int run(const std::vector<std::string>& arguments) {
        out.str("");
        err.str("");
        CommandContext context{in, out, err, folder.path, console};
        return runKelvopack(context, arguments);
    }

    ResourceSet resourcesOf(const fs::path& file) const {
        const std::string bytes = folder.read(file.filename().string());
        ResourceSet resources;
        std::string error;
        EXPECT_TRUE(readExecutableResources(Bytes(bytes.begin(), bytes.end()), resources, error)) << error;
        return resources;
    }
    std::string at(const std::string& name) const { return (folder.path / name).string(); }
    void expectSaid(const std::string& said, const std::string& text) const {
        EXPECT_NE(text.find(said), std::string::npos) << said << "\n" << text;
    }

    QuizFolder folder;
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    fs::path player;
    fs::path source;
    bool console = false;
};

TEST_F(Commands, BuildReplacesEveryQuizResourceOfThePlayer) {
    const fs::path output = folder.path / "animaux.exe";
    ASSERT_EQ(run({"build", source.string(), "-o", output.string(), "--player", player.string()}), ExitCodes::Success)
        << err.str();
    EXPECT_TRUE(fs::exists(output) && !fs::exists(folder.path / "animaux.exe.kelvopack-tmp")) << "renamed when complete";
    const ResourceSet written = resourcesOf(output);
    EXPECT_NE(findResource(written, ResourceName::number(ResourceTypes::Dialog), 1001), nullptr);
    int quizResources = 0;
    for (const Resource& resource : written) {
        if (resource.type == ResourceTypes::patch() || resource.type == ResourceTypes::image()) {
            ++quizResources;
            EXPECT_EQ(resource.language, NeutralLanguage) << "the old quiz's resources are gone";
        }
    }
    EXPECT_EQ(quizResources, 5);   // 104, 105, pictures 401 and 402, reveal picture 10401
    EXPECT_EQ(readPictureHeader(findResource(written, ResourceTypes::image(), 10401)->data).width, 260)
        << "the one-pixel GIF, enlarged";
}

// Every refusal leaves the folder as it was: no quiz, no temporary file.
TEST_F(Commands, EachRefusalHasItsStatusAndMessageAndWritesNothing) {
    folder.write("bad.toml", "title = \"x\"\nkind = \"picture\"\n[[question]]\nanswer = \"a \"\npicture = \"q.jpg\"\n");
    // Damage shows only once the picture is decoded, after every other check.
    const std::string png = testing::writtenPicture('p', 64, 48, [](int x, int y) { return 0x10203u * (x ^ y); });
    folder.write("cut.png", png.substr(0, png.size() - 40));
    folder.write("cut.toml", "title = \"x\"\nkind = \"picture\"\n[[question]]\nanswer = \"a\"\npicture = \"cut.png\"\n");
    folder.write("other.exe", text(testing::smallExecutable(false)));
    // Damaged copies of a player, whose resource section starts with its
    // root (one type), the type's directory (two names), the two names'
    // directories (one language each), then the two data entries.
    using namespace testing::SmallLayout;
    const Bytes good = testing::smallPlayer(false);
    const auto damaged = [&](const std::string& name, std::size_t at, std::uint64_t value, int width = 4) {
        Bytes bytes = good;
        testing::putLittleEndian(bytes, at, value, width);
        return folder.write(name, text(bytes)).string();
    };
    const std::string half = folder.write("half.exe", text(Bytes(good.begin(), good.begin() + good.size() / 2))).string();
    const std::string payload = folder.write("payload.exe", text(good) + "installer payload").string();
    const std::string overlapping = damaged("overlapping.exe", section(false, 2) + 20, Resources);
    const std::string outside = damaged("outside.exe", Resources + 104, 0x7FFFFFF0);
    const std::string loop = damaged("loop.exe", Resources + 16 + 4, 0x80000000);
    const std::string deep = damaged("deep.exe", Resources + 56 + 16 + 4, 0x80000000 | 24);
    const std::string signed_ = damaged("signed.exe", directory(false, 4), 0x0000000800000A00u, 8);
    const std::string fixed = damaged("fixed.exe", section(false, 3), 0x617461642E, 8);   // ".data"
    const auto refused = [](const std::string& file, const char* fault) {
        return std::vector<std::string>{"lecteur " + file, fault};
    };
    const std::string kelvo = player.string();
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::vector<std::string> said;
    } rows[] = {
        {{"build", at("bad.toml"), "--player", kelvo}, ExitCodes::Invalid,
         {"bad.toml, ligne 4 (question 1, answer) : erreur : ", "rien n'a été écrit"}},
        {{"build", at("cut.toml"), "--player", kelvo}, ExitCodes::Invalid,
         {"ligne 5 (question 1, picture) : erreur : le fichier \xC2\xAB cut.png \xC2\xBB (PNG) est abîmé"}},
        // The saved-answers file takes the executable's name with "txt" at
        // the end: an output named .txt would be overwritten by its own answers.
        {{"build", source.string(), "-o", at("quiz.txt"), "--player", kelvo}, ExitCodes::Usage, {}},
        {{"build", source.string(), "-o", kelvo, "--player", kelvo}, ExitCodes::Usage, {}},
        {{"build", source.string(), "--player", at("other.exe")}, ExitCodes::Failure, {"n'est pas un lecteur Kelvo"}},
        {{"build", source.string(), "--player", at("q.jpg")}, ExitCodes::Failure,
         refused(at("q.jpg"), "ce n'est pas un exécutable Windows")},
        {{"build", source.string(), "--player", half}, ExitCodes::Failure, refused(half, "dépasse la fin du fichier, qui est tronqué")},
        {{"build", source.string(), "--player", overlapping}, ExitCodes::Failure, refused(overlapping, "chevauche la section .r")},
        {{"build", source.string(), "--player", outside}, ExitCodes::Failure, refused(outside, "hors des sections du fichier")},
        {{"build", source.string(), "--player", loop}, ExitCodes::Failure, refused(loop, "boucle sur lui-même")},
        {{"build", source.string(), "--player", deep}, ExitCodes::Failure, refused(deep, "a plus de trois niveaux")},
        // What could be read but not rewritten without breaking the program.
        {{"build", source.string(), "--player", signed_}, ExitCodes::Failure, refused(signed_, "est signé")},
        {{"build", source.string(), "--player", payload}, ExitCodes::Failure,
         refused(payload, "des données suivent la dernière section")},
        {{"build", source.string(), "--player", fixed}, ExitCodes::Failure,
         refused(fixed, "la section .data suit les ressources et ne peut pas être déplacée")},
        {{"build", source.string(), "--arch", "64"}, ExitCodes::Failure, {"64 bits introuvable"}},
        {{"build", source.string(), "--html", "-o", at("quiz.exe")}, ExitCodes::Usage, {}},
        {{"build", source.string(), "-o", at("quiz.zip")}, ExitCodes::Usage, {"ajoutez --scorm 1.2"}},
        {{"build", source.string(), "--scorm", "2004", "-o", at("quiz.html")}, ExitCodes::Usage, {"en .zip"}},
        {{"build", source.string(), "--scorm", "1.2", "--html"}, ExitCodes::Usage, {"s'excluent"}},
        {{"build", source.string(), "--scorm", "3"}, ExitCodes::Usage, {}},
        {{"validate", at("absent.toml")}, ExitCodes::Invalid, {}},
        {{"check", "only one"}, ExitCodes::Usage, {}},
        {{"frobnicate"}, ExitCodes::Usage, {}},
    };
    const auto listing = [this] {
        std::set<fs::path> names;
        for (const auto& entry : fs::directory_iterator(folder.path)) names.insert(entry.path().filename());
        return names;
    };
    const std::set<fs::path> before = listing();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments.back());
        EXPECT_EQ(run(row.arguments), row.status) << err.str();
        for (const std::string& said : row.said) expectSaid(said, err.str());
        EXPECT_EQ(listing(), before);
    }
}

// The page needs no player; it carries the pictures and the clips browsers
// play as data: URLs, and names every clip they cannot play.
TEST_F(Commands, HtmlBuildWritesOnePageAndWarnsOfClipsBrowsersCannotPlay) {
    ASSERT_EQ(run({"build", source.string(), "--html"}), ExitCodes::Success) << err.str();
    for (const char* part : {"<title>Animaux</title>", "\"name\":\"quiz.html\"", "\"401\":{\"url\":\"data:image/",
                             "\"10401\":{\"url\":\"data:image/", "createKelvoEngine"})
        expectSaid(part, folder.read("quiz.html"));

    folder.write("clip.avi", "RIFFsizeAVI LIST");
    folder.write("sons.toml", "title = \"Sons\"\nkind = \"audio\"\n[[question]]\nanswer = \"a\"\nclip = \"clip.avi\"\n"
                              "[[question]]\nanswer = \"b\"\nclip = \"clip.mp3\"\n");
    ASSERT_EQ(run({"build", at("sons.toml"), "-o", at("sons.html")}), ExitCodes::Success) << err.str();
    expectSaid("question 1 : l'extrait (format AVI) ne se lit pas dans un navigateur", err.str());
    EXPECT_EQ(err.str().find("question 2"), std::string::npos) << err.str();
}

// A package needs no player either; its page is named after it.
TEST_F(Commands, ScormBuildWritesOnePackageNamedAfterTheSource) {
    ASSERT_EQ(run({"build", source.string(), "--scorm", "2004"}), ExitCodes::Success) << err.str();
    expectSaid("quiz.zip écrit (2 question(s), quiz d'images", out.str());
    expectSaid("paquet SCORM 2004 de ", out.str());
    for (const char* part : {"imsmanifest.xml", "quiz.html", "imscp_v1p1.xsd"})
        expectSaid(part, folder.read("quiz.zip"));
}

// kelvo.exe next to the tool is found as the player only if it is a 32-bit
// executable. Extract then build is compared resource by resource on real
// executables.
TEST_F(Commands, ADroppedFileIsBuiltOrExtractedWithDefaultNamesAndAFilledFolderRefilledOnlyWhenForced) {
    const std::string output = at("quiz.exe");
    ASSERT_EQ(run({source.string()}), ExitCodes::Success) << err.str();
    ASSERT_EQ(run({output}), ExitCodes::Success) << err.str();
    EXPECT_TRUE(fs::exists(folder.path / "quiz" / "quiz.toml"));
    EXPECT_EQ(run({"extract", output, "-o", at("quiz")}), ExitCodes::Usage);
    EXPECT_EQ(run({"extract", output, "-o", at("quiz"), "--force"}), ExitCodes::Success);
}

TEST_F(Commands, ValidateReportsWithoutWriting) {
    console = true;
    EXPECT_EQ(run({"validate", source.string(), "--verbose"}), ExitCodes::Success) << err.str();
    for (const char* said : {"\rImages : 2 / 2\n", "question 1, picture (q.jpg) : JPEG 260 x 195, ", "Ko : gardée telle quelle",
                             "question 1, reveal_picture (q.gif) : GIF 1 x 1 \xE2\x86\x92 ",
                             "2 question(s), quiz d'images, 1 réponse(s) par question, révélation : image, images : "}) {
        expectSaid(said, out.str());
    }
}

TEST_F(Commands, CheckGivesThePlayersVerdicts) {
    EXPECT_EQ(run({"check", "ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMXYZ"}), ExitCodes::Success);
    EXPECT_EQ(out.str(), "y a de l'idée\n") << "the verdict comes back in UTF-8";

    in.str("CHIEN\tchine\r\n\xC3\x89L\xC3\x88VE\t\xC3\xA9l\xC3\xA8ve\nno tab\nCHAT\t\xE2\x98\x85\nCHIEN\t\n");
    EXPECT_EQ(run({"check"}), ExitCodes::Invalid);
    EXPECT_EQ(out.str(), "Anagramme\nPresque\n\n\n?\n");
    expectSaid("ligne 3", err.str());
    expectSaid("ligne 4", err.str());
}

// A 32-bit one is found as the player beside the tool (above).
TEST(PlayerLocation, ArchitectureComesFromThePeHeaderAndTheSearchGoesBesideTheToolThenToTheBuildTrees) {
    QuizFolder folder;
    EXPECT_EQ(executableArchitecture(folder.write("x64.exe", text(testing::smallExecutable(true)))), Architecture::X64);
    EXPECT_EQ(executableArchitecture(folder.write("text.exe", "hello")), std::nullopt);
    EXPECT_EQ(executableArchitecture(folder.path / "absent.exe"), std::nullopt);

    const fs::path tool = folder.path / "build" / "pack-win64" / "tools" / "kelvopack";
    const auto candidates = playerCandidates(tool);
    fs::create_directories(folder.path / "build" / "other-win32");
    const auto withSibling = playerCandidates(tool);
    EXPECT_EQ(candidates.front(), tool / "kelvo.exe");
    EXPECT_EQ(withSibling.back(), folder.path / "build" / "other-win32" / "src" / "kelvo.exe");
    EXPECT_NE(std::find(candidates.begin(), candidates.end(), folder.path / "build" / "pack-win64" / "src" / "kelvo.exe"),
              candidates.end());
}

}  // namespace
}  // namespace kelvo::pack
