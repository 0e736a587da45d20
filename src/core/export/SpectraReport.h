#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/AnalysisSettings.h"
#include "export/ReportHeader.h"

namespace travik {

// Message shown when an oscillator run fails during the spectra export.
std::string ExportCalculationErrorMessage(double dampingRatio, double period);

// Empties `lines` and fills them with the response-spectra report of the record for the
// given damping ratios (ascending, distinct) and periods (entry 0 is the period 0),
// computing every value with the oscillator integrators. A failed run shows its message
// through `showCalculationError` and cuts that period's row short.
void BuildSpectraReport(ReportLines& lines, const TimeHistory& record,
                        const AnalysisSettings& settings, const std::vector<double>& dampingRatios,
                        const std::vector<double>& periods, std::string_view edition,
                        const ReportDate& date,
                        const std::function<void(const std::string&)>& showCalculationError);

}  // namespace travik
