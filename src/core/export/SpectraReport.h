#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/analysis/AnalysisSettings.h"
#include "core/analysis/SpectraComputation.h"
#include "core/export/ReportHeader.h"

namespace travik {

// Message shown when an oscillator run fails during the spectra export.
std::string ExportCalculationErrorMessage(double dampingRatio, double period);

// Empties `lines` and fills them with the response-spectra report of `result`, computed
// for `record` (which gives the header). A report row is cut short at the first damping
// ratio whose run failed at that period, whose message goes to `showCalculationError`.
void BuildSpectraReport(ReportLines& lines, const TimeHistory& record, const SpectraResult& result,
                        std::string_view edition, const ReportDate& date,
                        const std::function<void(const std::string&)>& showCalculationError);

// The same lines, handed to `sink` one by one as they are formatted.
void WriteSpectraReport(const ReportLineSink& sink, const TimeHistory& record,
                        const SpectraResult& result, std::string_view edition,
                        const ReportDate& date,
                        const std::function<void(const std::string&)>& showCalculationError);

// The same for spectra computed here for the given damping ratios (ascending, distinct)
// and periods (entry 0 is the period 0).
void BuildSpectraReport(ReportLines& lines, const TimeHistory& record,
                        const AnalysisSettings& settings, const std::vector<double>& dampingRatios,
                        const std::vector<double>& periods, std::string_view edition,
                        const ReportDate& date,
                        const std::function<void(const std::string&)>& showCalculationError);

}  // namespace travik
