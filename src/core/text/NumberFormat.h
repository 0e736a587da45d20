#pragma once

#include <string>
#include <string_view>

namespace travik {

// Writes `value` by a number pattern: "0" is a digit always written, "#" a digit written
// only when significant, "." the place of the decimal separator. The value is rounded to
// the last pattern digit, to nearest with ties away from zero, working on its shortest
// round-trip decimal form (so 2.675 with "0.00" gives "2.68"). A value that rounds to zero
// carries no minus sign. Non-finite values give "NAN", "INF" or "-INF".
// Patterns in use: "0.###", "0.000000", "0.00000", "0.00000000", "0.#########".
std::string FormatNumber(double value, std::string_view pattern, char decimalSeparator = '.');

// The general form used in edits and messages: at most 15 significant digits, trailing
// zeros dropped, fixed notation for 1e-5 <= |value| < 1e15 and scientific otherwise
// ("1E-6", "1.5E20"). 0.02 gives "0.02", 980 gives "980".
std::string FormatGeneral(double value, char decimalSeparator = '.');

// A number as the windows show it where a person reads it (tables, previews, the chart's
// readout): six significant digits, trailing zeros dropped, fixed notation for
// 1e-4 <= |value| < 1e6 and scientific otherwise ("1.0666E-6"). Reports and copied data
// keep FormatGeneral's digits.
std::string FormatShown(double value, char decimalSeparator = '.');

// Whole number in decimal, for counters and sample numbers.
std::string FormatInteger(long long value);

}  // namespace travik
