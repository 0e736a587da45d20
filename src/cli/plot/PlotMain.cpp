// travik-plot: the figure renderer of the command line, started by `travik-cli plot ...`
// with the same arguments. The only program of the command line that loads Qt.
#include <csignal>
#include <exception>
#include <iostream>
#include <new>

#include <CLI/CLI.hpp>

#include "ImportOptions.h"
#include "plot/PlotCommand.h"
#include "text/ShownText.h"

int main(int argc, char** argv) {
    CLI::App app{"TRAVIK command line: figures of strong-motion records and their spectra"};
    // Messages and usage lines name the command the user typed.
    app.name("travik-cli");
    app.require_subcommand(1, 1);
    travik::cli::PlotCommand plot(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help);
    } catch (const CLI::CallForAllHelp& help) {
        return app.exit(help);
    } catch (const CLI::ParseError& error) {
        app.exit(error);
        return travik::cli::kExitBadOption;
    }
#ifdef SIGXFSZ
    // Past a file-size limit the write should fail with its own error, so the image is
    // cleaned up and the user told, instead of the signal ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    try {
        return plot.Run(std::cout, std::cerr);
    } catch (const std::bad_alloc&) {
        std::cerr << "Not enough memory to draw the figures\n";
        return travik::cli::kExitFailure;
    } catch (const std::exception& error) {
        std::cerr << travik::ShownText(error.what()) << '\n';
        return travik::cli::kExitFailure;
    }
}
