#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/spectra/DesignSpectra.h"

namespace travik {

// Raised when a target spectrum file cannot be read or is not a spectrum; what() names
// the file and, where one is at fault, the line.
class TargetSpectrumError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The largest target file and its most rows (bounds of the values: DesignSpectra.h). A
// target spectrum has tens to thousands of rows; anything far beyond is a wrong file.
inline constexpr std::uintmax_t kMaxTargetFileBytes = 64u << 20;
inline constexpr std::size_t kMaxTargetRows = 1'000'000;

// Reads a target spectrum from text: one period (s) and one Sa (g) per line, separated by
// a comma, semicolon, tab or blanks; blank lines and lines whose first non-blank character
// is `#` are skipped. Numbers always use the full stop. Refuses a line that does not hold
// exactly two numbers, a value outside the bounds above, a period not greater than the one
// before, a text with fewer than two rows or more than kMaxTargetRows, and one whose Sa are
// all 0. Texts from the file are quoted escaped and cut. `fileName` is used in the
// messages and as the name.
TargetSpectrum ParseTargetSpectrum(std::string_view text, const std::string& fileName);

// Reads the file (UTF-8, an optional byte-order mark, any line ends) line by line and
// parses it. Only a regular file of at most kMaxTargetFileBytes is opened, as for records:
// a named pipe or a device is refused before it is read.
TargetSpectrum ReadTargetSpectrumFile(const std::filesystem::path& path);

}  // namespace travik
