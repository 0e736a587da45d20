// travik-cli: the command-line front end over the numeric core, for batch work and scripts.
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
    travik::cli::RecordsCommand records(app);
    travik::cli::SpectraCommand spectra(app);
    travik::cli::InfoCommand info(app);
    travik::cli::MeasuresCommand measures(app);
    travik::cli::ScaleCommand scale(app);
    travik::cli::RotdCommand rotd(app);
#ifdef TRAVIK_WITH_PLOT
    // Listed for --help; `travik-cli plot ...` is handed to the renderer before parsing.
    app.add_subcommand("plot", travik::cli::kPlotDescription)->allow_extras();
#endif

    if (const std::optional<int> ended = travik::cli::ParseCommandLine(app, argc, argv)) {
        return *ended;
    }
    // The message for memory running out names the chosen command's own action.
    const auto outOfMemory = [&]() -> std::string {
        if (records.Selected()) {
            return "Not enough memory to write the time-history reports";
        }
        if (measures.Selected()) {
            return "Not enough memory to compute the ground-motion measures";
        }
        if (scale.Selected()) {
            return "Not enough memory to scale the records to the target";
        }
        if (info.Selected()) {
            return "Not enough memory to describe the records";
        }
        return "Not enough memory to compute the response spectra";
    };
    return travik::cli::RunCommand(
        [&] {
            if (records.Selected()) {
                return records.Run(std::cout, std::cerr);
            }
            if (measures.Selected()) {
                return measures.Run(std::cout, std::cerr);
            }
            if (scale.Selected()) {
                return scale.Run(std::cout, std::cerr);
            }
            if (info.Selected()) {
                return info.Run(std::cout, std::cerr);
            }
            if (rotd.Selected()) {
                return rotd.Run(std::cout, std::cerr);
            }
            return spectra.Run(std::cout, std::cerr);
        },
        outOfMemory(), std::cerr);
}
