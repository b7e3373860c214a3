// kelvopack on Linux: the same commands as kelvopack.exe, its messages in
// UTF-8 on the terminal. It finds the player beside itself, as on Windows.
#include <unistd.h>

#include <filesystem>
#include <iostream>

#include "core/commands.h"

namespace {

std::filesystem::path ownFolder() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path(error) : self.parent_path();
}

}  // namespace

int main(int argc, char** argv) {
    kelvo::pack::CommandContext context{std::cin, std::cout, std::cerr, ownFolder(), isatty(STDOUT_FILENO) == 1};
    int status = kelvo::pack::ExitCodes::Failure;
    try {
        status = kelvo::pack::runKelvopack(context, std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& failure) {
        std::cerr << "erreur inattendue : " << failure.what() << '\n';
    }
    std::cout.flush();
    return status;
}
