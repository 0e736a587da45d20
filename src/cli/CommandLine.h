#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include <CLI/CLI.hpp>

namespace travik::cli {

// Parses the arguments into `app`. Returns the exit status when the run ends here: after
// printing the help asked for (0), or an option error (kExitBadOption).
std::optional<int> ParseCommandLine(CLI::App& app, int argc, char** argv);

// Runs the chosen command: a file-size limit (ulimit -f) makes writes fail with their own
// error instead of ending the program, memory exhaustion says `outOfMemory` and an
// unforeseen error its own text, both on `err` with kExitFailure, never a bare abort.
int RunCommand(const std::function<int()>& command, const std::string& outOfMemory,
               std::ostream& err);

}  // namespace travik::cli
