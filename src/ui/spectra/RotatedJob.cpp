#include "ui/spectra/RotatedJob.h"

#include <cstddef>
#include <exception>
#include <utility>

#include "core/export/ReportFile.h"
#include "core/export/RotDReport.h"
#include "core/text/ShownText.h"
#include "ui/app/FormHelpers.h"

std::unique_ptr<RotatedMotion> MotionOf(const travik::TimeHistory& h1,
                                        const travik::TimeHistory& h2) {
    auto motion = std::make_unique<RotatedMotion>();
    motion->h1 = std::make_unique<travik::TimeHistory>(h1);
    motion->h2 = std::make_unique<travik::TimeHistory>(h2);
    std::vector<travik::ComponentFile> files(2);
    files[0].records = {motion->h1.get()};
    files[1].records = {motion->h2.get()};
    travik::ComponentPairing pairing = travik::PairComponents(std::move(files));
    motion->pair = std::move(pairing.motions.front());
    return motion;
}

travik::RotatedSpectraOptions RotatedOptionsFor(const travik::AnalysisSettings& settings,
                                                const std::vector<double>& dampingRatios) {
    travik::RotatedSpectraOptions options;
    options.dampingRatios = dampingRatios;
    // The period list begins with the period 0, which the report's first row stands for.
    const std::vector<double> periods = settings.Periods();
    if (!periods.empty()) {
        options.periods.assign(periods.begin() + 1, periods.end());
    }
    options.percentiles = travik::RotDReportPercentiles({});
    options.threads = 0;  // every core; the results never depend on it
    return options;
}

std::optional<travik::RotatedSpectraResult> ComputeRotatedAsJob(
    const RotatedMotion& motion, const travik::AnalysisSettings& settings,
    const travik::RotatedSpectraOptions& options, BackgroundWork::Control& control,
    const std::function<void(double)>& progress, std::string& error) {
    if (motion.pair.refusal) {
        error = *motion.pair.refusal;
        return std::nullopt;
    }
    // Every damping value is computed apart from the others (GMRotI50 chooses its angle per
    // damping value), so the values may be computed in turn and put together.
    std::optional<travik::RotatedSpectraResult> whole;
    const std::size_t count = options.dampingRatios.size();
    for (std::size_t d = 0; d < count; ++d) {
        if (control.Cancelled()) {
            return std::nullopt;
        }
        travik::RotatedSpectraOptions one = options;
        one.dampingRatios = {options.dampingRatios[d]};
        std::optional<travik::RotatedSpectraResult> part = travik::ComputeRotatedSpectra(
            settings, *motion.h1, *motion.h2, one, control.CancelFlag());
        if (!part && control.Cancelled()) {
            return std::nullopt;  // stopped within this damping value's groups
        }
        if (!part) {
            error = options.Validate().value_or(
                "The pair cannot be rotated: it needs at least two samples");
            return std::nullopt;
        }
        if (!whole) {
            whole = std::move(part);
            whole->options = options;
        } else {
            whole->damping.push_back(std::move(part->damping.front()));
        }
        progress(static_cast<double>(d + 1) / static_cast<double>(count));
    }
    if (control.Cancelled() || !whole) {
        return std::nullopt;
    }
    return whole;
}

std::optional<QString> WriteRotatedReports(const std::vector<const RotatedMotion*>& motions,
                                           const travik::AnalysisSettings& settings,
                                           const travik::RotatedSpectraOptions& options,
                                           const QString& folder, const travik::ReportDate& date,
                                           BackgroundWork::Control& control,
                                           std::vector<std::string>& refusals) {
    travik::ReportPathPlanner planner;
    const double share = 1.0 / static_cast<double>(std::max<std::size_t>(1, motions.size()));
    control.Progress(0.0);
    for (std::size_t m = 0; m < motions.size(); ++m) {
        const RotatedMotion& motion = *motions[m];
        std::string error;
        const std::optional<travik::RotatedSpectraResult> result = ComputeRotatedAsJob(
            motion, settings, options, control,
            [&](double done) { control.Progress((static_cast<double>(m) + done) * share); }, error);
        if (control.Cancelled()) {
            return std::nullopt;
        }
        if (!result) {
            refusals.push_back(travik::ShownText(motion.h1->SourceFileName()) + ": " + error);
            continue;
        }
        try {
            travik::ReportFile file(planner.Next(ToPath(folder), motion.h1->SourceFileName(),
                                                 travik::kRotDReportSuffix));
            travik::WriteRotDReport(file.Sink(), motion.pair, *result, travik::kSoftwareEdition,
                                    date);
            file.Commit();
        } catch (const std::exception& failure) {
            return QString::fromStdString(failure.what());
        }
    }
    return std::nullopt;
}
