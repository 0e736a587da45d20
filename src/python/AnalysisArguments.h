#pragma once

#include <string>
#include <vector>

#include "core/analysis/AnalysisSettings.h"

namespace travik::python {

// The analysis settings of a call's arguments (method "exact" or "newmark"); raises
// ValueError with the settings' own message when they do not validate.
AnalysisSettings SettingsOf(const std::string& method, double maxDtRatio, double beta, double gamma,
                            double gravity);

// The periods asked (s, ascending, > 0) with the period 0 put first, as the core takes them;
// raises ValueError otherwise.
std::vector<double> PeriodsOf(const std::vector<double>& periods);

// Raises ValueError unless there is at least one ratio and every one lies in [0, 1).
void CheckDamping(const std::vector<double>& damping);

}  // namespace travik::python
