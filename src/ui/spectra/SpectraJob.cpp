#include "ui/spectra/SpectraJob.h"

#include <cstddef>
#include <utility>

std::optional<travik::SpectraResult> ComputeSpectraAsJob(const travik::TimeHistory& record,
                                                         const travik::AnalysisSettings& settings,
                                                         const std::vector<double>& dampingRatios,
                                                         const std::vector<double>& periods,
                                                         BackgroundWork::Control& control) {
    // One computation over every damping value, as the command line runs it: the oscillators
    // of all of them share the vector lanes and the cores, and the progress counts their steps.
    travik::BatchOptions options;
    options.cancel = control.CancelFlag();
    control.Progress(0.0);
    travik::SpectraResult result = travik::ComputeSpectra(
        record, settings, dampingRatios, periods, options,
        [&control](std::size_t done, std::size_t total) {
            if (total > 0) {
                control.Progress(static_cast<double>(done) / static_cast<double>(total));
            }
        });
    if (control.Cancelled()) {
        return std::nullopt;
    }
    return result;
}
