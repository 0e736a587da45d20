// travik-cli: the command-line front end over the numeric core, for batch work and scripts.
#include <algorithm>
#include <array>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include <CLI/CLI.hpp>

#include "CommandLine.h"
#include "InfoCommand.h"
#include "MeasuresCommand.h"
#include "RecordsCommand.h"
#include "Renderer.h"
#include "RotdCommand.h"
#include "ScaleCommand.h"
#include "SpectraCommand.h"
#include "Version.h"

namespace {

constexpr std::array<std::string_view, 6> kCommandNames = {"records",  "spectra", "info",
                                                           "measures", "scale",   "rotd"};

bool NamesCommand(std::string_view argument) {
    return std::find(kCommandNames.begin(), kCommandNames.end(), argument) != kCommandNames.end();
}

// The command to build alone: the first argument, when it names a command and no later
// argument names one. Building every command's options costs about a millisecond, a large
// share of a short run, and scripts start the command line once per record. Anything else
// (help, the version, a mistyped command) builds every command, so that the messages list
// them all as before.
std::string_view OnlyCommand(int argc, char** argv) {
    if (argc < 2 || !NamesCommand(argv[1])) {
        return {};
    }
    for (int k = 2; k < argc; ++k) {
        if (NamesCommand(argv[k])) {
            return {};
        }
    }
    return argv[1];
}

template <class Command>
bool IsSelected(const std::optional<Command>& command) {
    return command.has_value() && command->Selected();
}

}  // namespace

int main(int argc, char** argv) {
#ifdef TRAVIK_WITH_PLOT
    // A figure is drawn by the renderer, which loads the windows' libraries.
    if (argc > 1 &&
        (std::string_view(argv[1]) == "plot" || travik::cli::ScaleWantsFigure(argc, argv))) {
        return travik::cli::HandToRenderer(argc, argv, std::cerr);
    }
#endif
    CLI::App app{
        "TRAVIK command line: time-history and response-spectra reports of "
        "strong-motion records"};
    app.require_subcommand(1, 1);
    app.footer(
        "Each command that reads record files also takes --workspace FILE.travik in their "
        "place: every record of a workspace saved by the window program, read, corrected and "
        "filtered as it says, with its analysis settings and damping values. `travik-cli "
        "COMMAND --help` lists a command's options.");
    app.set_version_flag("--version", std::string("travik-cli ") + travik::kProgramVersion,
                         "Print the version and exit");
    const std::string_view only = OnlyCommand(argc, argv);
    std::optional<travik::cli::RecordsCommand> records;
    std::optional<travik::cli::SpectraCommand> spectra;
    std::optional<travik::cli::InfoCommand> info;
    std::optional<travik::cli::MeasuresCommand> measures;
    std::optional<travik::cli::ScaleCommand> scale;
    std::optional<travik::cli::RotdCommand> rotd;
    const auto build = [&](auto& command, std::string_view name) {
        if (only.empty() || only == name) {
            command.emplace(app);
        }
    };
    build(records, "records");
    build(spectra, "spectra");
    build(info, "info");
    build(measures, "measures");
    build(scale, "scale");
    build(rotd, "rotd");
#ifdef TRAVIK_WITH_PLOT
    // Listed for --help; `travik-cli plot ...` is handed to the renderer before parsing.
    if (only.empty()) {
        app.add_subcommand("plot", travik::cli::kPlotDescription)->allow_extras();
    }
#endif

    if (const std::optional<int> ended = travik::cli::ParseCommandLine(app, argc, argv)) {
        return *ended;
    }
    // The message for memory running out names the chosen command's own action.
    const auto outOfMemory = [&]() -> std::string {
        if (IsSelected(records)) {
            return "Not enough memory to write the time-history reports";
        }
        if (IsSelected(measures)) {
            return "Not enough memory to compute the ground-motion measures";
        }
        if (IsSelected(scale)) {
            return "Not enough memory to scale the records to the target";
        }
        if (IsSelected(info)) {
            return "Not enough memory to describe the records";
        }
        if (IsSelected(rotd)) {
            return "Not enough memory to compute the rotated spectra";
        }
        return "Not enough memory to compute the response spectra";
    };
    return travik::cli::RunCommand(
        [&] {
            if (IsSelected(records)) {
                return records->Run(std::cout, std::cerr);
            }
            if (IsSelected(measures)) {
                return measures->Run(std::cout, std::cerr);
            }
            if (IsSelected(scale)) {
                return scale->Run(std::cout, std::cerr);
            }
            if (IsSelected(info)) {
                return info->Run(std::cout, std::cerr);
            }
            if (IsSelected(rotd)) {
                return rotd->Run(std::cout, std::cerr);
            }
            // Parsing succeeded, so exactly one command was chosen.
            return spectra->Run(std::cout, std::cerr);
        },
        outOfMemory(), std::cerr);
}
