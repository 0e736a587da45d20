// travik-plot: the figure renderer of the command line, started by `travik-cli plot ...`
// with the same arguments. The only program of the command line that loads Qt.
#include <iostream>
#include <optional>

#include <CLI/CLI.hpp>

#include "CommandLine.h"
#include "ScaleCommand.h"
#include "plot/PlotCommand.h"
#include "plot/ScalingFigureFile.h"

int main(int argc, char** argv) {
    CLI::App app{"TRAVIK command line: figures of strong-motion records and their spectra"};
    // Messages and usage lines name the command the user typed.
    app.name("travik-cli");
    app.require_subcommand(1, 1);
    travik::cli::PlotCommand plot(app);
    // `travik-cli scale --image ...` comes here for its figure.
    travik::cli::ScaleCommand scale(app, travik::cli::SaveScalingFigure);
    if (const std::optional<int> ended = travik::cli::ParseCommandLine(app, argc, argv)) {
        return *ended;
    }
    return travik::cli::RunCommand(
        [&] {
            return scale.Selected() ? scale.Run(std::cout, std::cerr)
                                    : plot.Run(std::cout, std::cerr);
        },
        "Not enough memory to draw the figures", std::cerr);
}
