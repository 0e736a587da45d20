#include "Renderer.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include <unistd.h>

#include "ExitCodes.h"
#include "ImportOptions.h"

namespace travik::cli {

int HandToRenderer(int argc, char** argv, std::ostream& err) {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        err << "Cannot find the figure renderer: " << error.message() << '\n';
        return kExitFailure;
    }
    std::string renderer = (self.parent_path() / kRendererProgram).string();
    std::vector<char*> arguments;
    arguments.push_back(renderer.data());
    for (int i = 1; i < argc; ++i) {
        arguments.push_back(argv[i]);
    }
    arguments.push_back(nullptr);
    execv(renderer.c_str(), arguments.data());
    err << "Cannot start the figure renderer " << renderer << ": " << std::strerror(errno) << '\n';
    return kExitFailure;
}

}  // namespace travik::cli
