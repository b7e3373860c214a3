// The kelvopack commands (build, extract, check, validate) and their command
// line, the same in every build of the tool (Linux, 32-bit and 64-bit
// Windows): only the console and the arguments come from the platform.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "core/player_location.h"
#include "core/resource_set.h"

namespace kelvo::pack {

namespace ExitCodes {
constexpr int Success = 0;
constexpr int Invalid = 1;   // the quiz source has errors, or answers could not be checked; nothing written
constexpr int Usage = 2;     // the command line is wrong
constexpr int Failure = 3;   // a file could not be read or written
}  // namespace ExitCodes

struct CommandContext {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    std::filesystem::path toolFolder;   // where kelvopack lies, to find the player
    bool outputIsConsole = false;       // progress is shown on a console only, never in a file
};

struct PictureFlags {
    bool keepPictures = false;   // store BMP, JPEG and GIF files unchanged
    bool verbose = false;        // say what became of each picture
};

// The SCORM versions a package is written for: 1.2, which every learning
// platform imports, and 2004 (4th edition).
enum class ScormVersion { V1_2, V2004 };

struct BuildRequest {
    std::filesystem::path source;
    std::optional<std::filesystem::path> output;   // default: the source with .exe
    std::optional<std::filesystem::path> player;   // default: found by architecture
    Architecture architecture = Architecture::X86;
    PictureFlags pictures;
    bool page = false;                             // --html: the browser edition (also chosen by -o *.html)
    std::optional<ScormVersion> scorm{};           // --scorm 1.2|2004: the page as a SCORM package (.zip)
};

int validateCommand(CommandContext& context, const std::filesystem::path& source, const PictureFlags& pictures = {});
int buildCommand(CommandContext& context, const BuildRequest& request);
// `folder` defaults to a folder named after the executable, beside it.
int extractCommand(CommandContext& context, const std::filesystem::path& executable,
                   std::optional<std::filesystem::path> folder, bool overwrite);
int checkCommand(CommandContext& context, const std::vector<std::string>& answers);

// The whole command line, UTF-8 arguments without the program name. A single
// argument naming a .toml or .exe file (a file dropped on kelvopack.exe)
// builds or extracts it with the default names.
int runKelvopack(CommandContext& context, const std::vector<std::string>& arguments);

}  // namespace kelvo::pack
