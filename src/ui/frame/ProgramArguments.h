#pragma once

#include <optional>
#include <ostream>

namespace travik {

// Answers `--version` and `--help` before any window library is loaded, so that both work
// without a display: prints on `out` and returns the exit status (0). Returns nothing
// otherwise: the other arguments are Qt's options and the files to open.
std::optional<int> AnswerInformationOptions(int argc, const char* const* argv, std::ostream& out);

}  // namespace travik
