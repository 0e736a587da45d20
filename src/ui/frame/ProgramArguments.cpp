#include "ui/frame/ProgramArguments.h"

#include <string_view>

#include "Version.h"

namespace travik {
namespace {

void PrintHelp(std::ostream& out) {
    out << "Usage: travik [OPTION]... [FILE]\n"
           "TRAVIK: time histories and elastic response spectra of strong-motion records, in "
           "a desktop window.\n"
           "A FILE ending in .travik is opened as a workspace: its records are read again with\n"
           "their reading parameters, corrections and filters, and its settings restored.\n"
           "\n"
           "  --help       print this help and exit\n"
           "  --version    print the version and exit\n"
           "\n"
           "Settings are remembered between runs; Options > Reset All Settings forgets them.\n"
           "The command-line program travik-cli writes the same reports without a window.\n";
}

}  // namespace

std::optional<int> AnswerInformationOptions(int argc, const char* const* argv, std::ostream& out) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        if (argument == "--") {
            break;
        }
        if (argument == "--version") {
            out << "travik " << kProgramVersion << '\n';
            return 0;
        }
        if (argument == "--help" || argument == "-h") {
            PrintHelp(out);
            return 0;
        }
    }
    return std::nullopt;
}

std::vector<std::string> FileArguments(int argc, const char* const* argv) {
    std::vector<std::string> files;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (optionsEnded || !argument.starts_with('-')) {
            files.emplace_back(argument);
        }
    }
    return files;
}

}  // namespace travik
