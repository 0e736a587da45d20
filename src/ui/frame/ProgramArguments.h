#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace travik {

// Answers `--version` and `--help` before any window library is loaded, so that both work
// without a display: prints on `out` and returns the exit status (0). Returns nothing
// otherwise: the other arguments are Qt's options and the files to open.
std::optional<int> AnswerInformationOptions(int argc, const char* const* argv, std::ostream& out);

// The files to open named on the command line, once the window library has taken its own
// options out of it: every argument but the program's name and options ("-…"); after "--"
// every argument is a file. A desktop's "Open with" passes one file this way.
std::vector<std::string> FileArguments(int argc, const char* const* argv);

}  // namespace travik
