#include "core/analysis/CalculationErrors.h"

#include <cstddef>

#include "core/text/NumberFormat.h"

namespace travik {

std::string AnalysisCalculationErrorMessage(double dampingRatio, double period) {
    return "Error calculation for DampingRatio: " + FormatGeneral(dampingRatio) +
           "& Period: " + FormatGeneral(period);
}

void ReportIncompleteDampings(const SpectraResult& result,
                              const std::function<void(const std::string&)>& showCalculationError) {
    if (!showCalculationError || result.cancelled) {
        return;
    }
    for (std::size_t d = 0; d < result.dampingRatios.size(); ++d) {
        if (result.DampingComputed(d)) {
            continue;
        }
        for (std::size_t k = 1; k < result.periods.size(); ++k) {
            if (!result.Computed(d, k)) {
                showCalculationError(
                    AnalysisCalculationErrorMessage(result.dampingRatios[d], result.periods[k]));
                break;
            }
        }
    }
}

}  // namespace travik
