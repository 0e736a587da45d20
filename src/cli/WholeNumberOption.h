#pragma once

#include <CLI/CLI.hpp>

namespace travik::cli {

// The check every whole-number option carries: plain decimal digits without a sign, blank,
// prefix or leading zero, so that CLI11 never reads "010" as octal or "0x8" as hexadecimal.
const CLI::Validator& PlainWholeNumber();

}  // namespace travik::cli
