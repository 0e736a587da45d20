#include "CommandLine.h"

#include <csignal>
#include <exception>
#include <new>

#include "ExitCodes.h"
#include "ImportOptions.h"
#include "core/export/TemporaryFiles.h"
#include "core/text/ShownText.h"

namespace travik::cli {
namespace {

// Ends the program as the signal would have, after removing the hidden temporary file of
// any report being written.
void RemoveTemporariesAndEnd(int signalNumber) {
    TemporaryFiles::RemoveAll();
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

void RemoveTemporariesOnSignals() {
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        // A signal the caller chose to ignore (nohup) stays ignored.
        if (std::signal(signalNumber, RemoveTemporariesAndEnd) == SIG_IGN) {
            std::signal(signalNumber, SIG_IGN);
        }
    }
}

}  // namespace

std::optional<int> ParseCommandLine(CLI::App& app, int argc, char** argv) {
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help);
    } catch (const CLI::CallForAllHelp& help) {
        return app.exit(help);
    } catch (const CLI::CallForVersion& version) {
        return app.exit(version);
    } catch (const CLI::ParseError& error) {
        app.exit(error);
        return kExitBadOption;
    }
    return std::nullopt;
}

int RunCommand(const std::function<int()>& command, const std::string& outOfMemory,
               std::ostream& err) {
#ifdef SIGXFSZ
    // Past a file-size limit the write should fail with its own error, so the report is
    // cleaned up and the user told, instead of the signal ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    RemoveTemporariesOnSignals();
    try {
        return command();
    } catch (const std::bad_alloc&) {
        err << outOfMemory << '\n';
        return kExitFailure;
    } catch (const std::exception& error) {
        // Anything unforeseen: say what it was instead of aborting.
        err << ShownText(error.what()) << '\n';
        return kExitFailure;
    }
}

}  // namespace travik::cli
