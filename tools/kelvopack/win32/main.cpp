// kelvopack.exe: builds a Kelvo quiz executable from a TOML source, extracts
// one back, checks answers with the player's own rules, or validates a source.
#include <windows.h>

#include <cstdlib>
#include <istream>
#include <ostream>

#include "core/commands.h"
#include "win32/console.h"

namespace {

std::filesystem::path ownFolder() {
    wchar_t path[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    return std::filesystem::path(std::wstring(path, length)).parent_path();
}

// Started from Explorer, the window closes with the program: keep it open
// until the messages have been read.
void waitBeforeClosing(std::ostream& out, std::istream& in) {
    if (!kelvo::pack::ownsItsConsoleWindow() || std::getenv("KELVOPACK_NO_PAUSE") != nullptr) return;
    out << "\nAppuyez sur Entrée pour fermer cette fenêtre.\n";
    out.flush();
    std::string line;
    std::getline(in, line);
}

}  // namespace

int main() {
    kelvo::pack::ConsoleOutputBuffer outBuffer(STD_OUTPUT_HANDLE);
    kelvo::pack::ConsoleOutputBuffer errBuffer(STD_ERROR_HANDLE);
    kelvo::pack::ConsoleInputBuffer inBuffer(STD_INPUT_HANDLE);
    std::ostream out(&outBuffer);
    std::ostream err(&errBuffer);
    std::istream in(&inBuffer);

    kelvo::pack::CommandContext context{in, out, err, ownFolder(), kelvo::pack::writesToConsole(STD_OUTPUT_HANDLE)};
    int status = kelvo::pack::ExitCodes::Failure;
    try {
        status = kelvo::pack::runKelvopack(context, kelvo::pack::utf8Arguments());
    } catch (const std::exception& failure) {
        err << "erreur inattendue : " << failure.what() << '\n';
    }
    err.flush();
    waitBeforeClosing(out, in);
    out.flush();
    return status;
}
