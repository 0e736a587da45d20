#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "spectra/DesignSpectra.h"

namespace travik {

// Raised when a target spectrum file cannot be read or is not a spectrum; what() names
// the file and, where one is at fault, the line.
class TargetSpectrumError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Reads a target spectrum from text: one period (s) and one Sa (g) per line, separated by
// a comma, semicolon, tab or blanks; blank lines and lines whose first non-blank character
// is `#` are skipped. Numbers always use the full stop. Refuses a line that does not hold
// exactly two numbers, a negative value, a period not greater than the one before, and a
// text with fewer than two rows. `fileName` is used in the messages and as the name.
TargetSpectrum ParseTargetSpectrum(std::string_view text, const std::string& fileName);

// Reads the whole file (UTF-8, an optional byte-order mark, any line ends) and parses it.
TargetSpectrum ReadTargetSpectrumFile(const std::filesystem::path& path);

}  // namespace travik
