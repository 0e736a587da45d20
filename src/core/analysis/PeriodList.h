#pragma once

#include <vector>

namespace travik {

// The analysis periods (s): 0, then minPeriod, minPeriod + step, ... by repeated addition
// while below maxPeriod, then maxPeriod unless the last entry lies within 10 % of it. The
// period 0 comes first: its row holds the peak ground acceleration.
std::vector<double> BuildPeriodList(double minPeriod, double maxPeriod, double periodStep);

}  // namespace travik
