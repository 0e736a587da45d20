// travik-cli: the command-line front end over the numeric core, for batch work and scripts.
#include <csignal>
#include <exception>
#include <iostream>
#include <new>
#include <string_view>

#include <CLI/CLI.hpp>

#include "ImportOptions.h"
#include "InfoCommand.h"
#include "MeasuresCommand.h"
#include "RecordsCommand.h"
#include "Renderer.h"
#include "SpectraCommand.h"
#include "text/ShownText.h"

int main(int argc, char** argv) {
#ifdef TRAVIK_WITH_PLOT
    if (argc > 1 && std::string_view(argv[1]) == "plot") {
        return travik::cli::HandToRenderer(argc, argv, std::cerr);
    }
#endif
    CLI::App app{
        "TRAVIK command line: time-history and response-spectra reports of "
        "strong-motion records"};
    app.require_subcommand(1, 1);
    travik::cli::RecordsCommand records(app);
    travik::cli::SpectraCommand spectra(app);
    travik::cli::InfoCommand info(app);
    travik::cli::MeasuresCommand measures(app);
#ifdef TRAVIK_WITH_PLOT
    // Listed for --help; `travik-cli plot ...` is handed to the renderer before parsing.
    app.add_subcommand("plot", travik::cli::kPlotDescription)->allow_extras();
#endif

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
    // Past a file-size limit (ulimit -f) the write should fail with its own error, so the
    // report is cleaned up and the user told, instead of the signal ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    try {
        if (records.Selected()) {
            return records.Run(std::cout, std::cerr);
        }
        if (measures.Selected()) {
            return measures.Run(std::cout, std::cerr);
        }
        if (info.Selected()) {
            return info.Run(std::cout, std::cerr);
        }
        return spectra.Run(std::cout, std::cerr);
    } catch (const std::bad_alloc&) {
        std::cerr << (records.Selected() ? "Not enough memory to write the time-history reports"
                                         : "Not enough memory to compute the response spectra")
                  << '\n';
        return travik::cli::kExitFailure;
    } catch (const std::exception& error) {
        // Anything unforeseen: say what it was instead of aborting.
        std::cerr << travik::ShownText(error.what()) << '\n';
        return travik::cli::kExitFailure;
    }
}
