#pragma once

#include <array>
#include <string>
#include <vector>

namespace travik {

inline constexpr int kMaxDampingValues = 9;
// The damping values (percent) the damping edits start with; the first is the one used
// when a single value is analysed.
inline constexpr std::array<double, kMaxDampingValues> kDefaultDampingPercents = {
    5.0, 10.0, 15.0, 20.0, 30.0, 35.0, 40.0, 50.0, 60.0};
inline constexpr const char* kDampingRatioTooLargeMessage = "Damping Ratio must be less than 1!";

struct DampingReadResult {
    bool ok = true;
    std::string message;   // the warning text on failure
    int failingEdit = -1;  // index (0..8) of the edit that gets the focus on failure
};

// Reads the first `count` damping edit texts (percent) into `ratios` (fractions, edit
// order), after emptying it. Stops at the first text that is not a number or whose ratio
// is not less than 1. Texts beyond `count` are not read.
DampingReadResult ReadDampingRatios(const std::vector<std::string>& editTexts, int count,
                                    char decimalSeparator, std::vector<double>& ratios);

// Sorts ascending and keeps one of each set of ratios that compare equal.
void SortAndRemoveRepeatedRatios(std::vector<double>& ratios);

}  // namespace travik
