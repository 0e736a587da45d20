#include "spectra/SpectraJob.h"

#include <cstddef>
#include <utility>

std::optional<travik::SpectraResult> ComputeSpectraInSteps(const travik::TimeHistory& record,
                                                           const travik::AnalysisSettings& settings,
                                                           const std::vector<double>& dampingRatios,
                                                           const std::vector<double>& periods,
                                                           BackgroundWork::Control& control) {
    // The inputs, lists and the period-0 row come from a run over no damping ratio.
    travik::SpectraResult result = travik::ComputeSpectra(record, settings, {}, periods);
    const std::size_t count = dampingRatios.size();
    control.Progress(0.0);
    for (std::size_t d = 0; d < count; ++d) {
        if (control.Cancelled()) {
            return std::nullopt;
        }
        travik::SpectraResult part =
            travik::ComputeSpectra(record, settings, {dampingRatios[d]}, periods);
        result.dampingRatios.push_back(dampingRatios[d]);
        for (std::size_t kind = 0; kind < result.columns.size(); ++kind) {
            result.columns[kind].push_back(std::move(part.columns[kind].front()));
        }
        result.computed.push_back(std::move(part.computed.front()));
        result.failures.insert(result.failures.end(), part.failures.begin(), part.failures.end());
        control.Progress(static_cast<double>(d + 1) / static_cast<double>(count));
    }
    if (control.Cancelled()) {
        return std::nullopt;
    }
    return result;
}
