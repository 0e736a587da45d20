#pragma once

namespace travik::cli {

// Exit codes of every command, so that scripts running a suite can tell a refused option
// (nothing was read) from a record or report that failed part-way.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;    // a reader failure or a report that cannot be written
inline constexpr int kExitBadOption = 2;  // an option value the program rejects

}  // namespace travik::cli
