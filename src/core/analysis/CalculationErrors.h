#pragma once

#include <functional>
#include <string>

#include "core/analysis/SpectraComputation.h"

namespace travik {

// Message shown when an oscillator run fails during an analysis.
std::string AnalysisCalculationErrorMessage(double dampingRatio, double period);

// The window's failure policy: a damping ratio is shown whole or not at all. For every
// damping ratio whose runs did not all succeed, `showCalculationError` gets the message of
// its first failed period once, in damping order. A cancelled result says nothing.
void ReportIncompleteDampings(const SpectraResult& result,
                              const std::function<void(const std::string&)>& showCalculationError);

}  // namespace travik
