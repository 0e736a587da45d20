#include "core/analysis/SpectraComputation.h"

#include <algorithm>
#include <cmath>
#include <span>

namespace travik {

bool SpectraResult::DampingComputed(std::size_t damping) const {
    const std::vector<bool>& row = computed[damping];
    return std::all_of(row.begin(), row.end(), [](bool done) { return done; });
}

bool SpectraResult::AllRunsFailed() const {
    const std::size_t runCount = dampingRatios.size() * (periods.empty() ? 0 : periods.size() - 1);
    return runCount > 0 && failures.size() == runCount;
}

SpectraResult ComputeSpectra(const TimeHistory& record, const AnalysisSettings& settings,
                             const std::vector<double>& dampingRatios,
                             const std::vector<double>& periods,
                             const std::function<void(std::size_t, std::size_t)>& progress) {
    return ComputeSpectra(record, settings, dampingRatios, periods, BatchOptions{}, progress);
}

SpectraResult ComputeSpectra(const TimeHistory& record, const AnalysisSettings& settings,
                             const std::vector<double>& dampingRatios,
                             const std::vector<double>& periods, const BatchOptions& options) {
    return ComputeSpectra(record, settings, dampingRatios, periods, options, {});
}

SpectraResult ComputeSpectra(const TimeHistory& record, const AnalysisSettings& settings,
                             const std::vector<double>& dampingRatios,
                             const std::vector<double>& periods, const BatchOptions& options,
                             const std::function<void(std::size_t, std::size_t)>& progress) {
    SpectraResult result;
    result.recordName = record.SourceFileName();
    result.corrected = record.IsCorrected();
    result.correction = record.CorrectionType();
    result.settings = settings;
    result.dampingRatios = dampingRatios;
    result.periods = periods;
    result.peakGroundAcceleration = record.PeakAcceleration();
    result.timeStep = record.TimeStep();
    result.sampleCount = record.SampleCount();
    if (record.IsCorrected() && record.Filter()) {
        result.highPassCornerHz = record.Filter()->HighPassCorner();
    }
    result.accuracy = ComputePeriodAccuracy(record.TimeStep(), periods, settings.maxDtOverT);

    const std::size_t periodCount = periods.size();
    const std::size_t dampingCount = dampingRatios.size();
    if (periodCount > 0) {
        result.frequencies.reserve(periodCount);
        result.frequencies.push_back(1 / periods[periodCount > 1 ? 1 : 0]);
        for (std::size_t k = 1; k < periodCount; ++k) {
            result.frequencies.push_back(1 / periods[k]);
        }
    }

    for (std::vector<DOUBLEVECTOR>& kind : result.columns) {
        kind.assign(dampingCount, DOUBLEVECTOR(periodCount, 0.0));
    }
    result.computed.assign(dampingCount, std::vector<bool>(periodCount, false));
    if (periodCount == 0) {
        return result;
    }

    // Every oscillator of the analysis in one batch: those sharing a sub-step count advance
    // side by side, each with its own unchanged arithmetic.
    std::vector<OscillatorRun> runs;
    runs.reserve(dampingCount * (periodCount - 1));
    for (const double zeta : dampingRatios) {
        for (std::size_t k = 1; k < periodCount; ++k) {
            runs.push_back({zeta, periods[k]});
        }
    }
    // With a progress report, the batch's fraction of its work becomes oscillator steps (and
    // one per run), the unit the callers announce the work in.
    BatchOptions batchOptions = options;
    if (progress) {
        const auto samples = static_cast<std::size_t>(record.SampleCount());
        std::size_t total = 0;
        for (const OscillatorRun& run : runs) {
            total += 1 + static_cast<std::size_t>(OscillatorRunSteps(
                             samples, record.TimeStep(), run.period, settings.maxDtOverT));
        }
        batchOptions.progress = [&progress, total](double fraction) {
            progress(
                std::min(total, static_cast<std::size_t>(fraction * static_cast<double>(total))),
                total);
        };
    }
    if (!ComputeOscillatorPeaksBatch(settings, record, settings.g, settings.maxDtOverT,
                                     record.IsCorrected(), settings.method, runs, batchOptions)) {
        result.cancelled = true;
        return result;
    }

    auto& sd = result.columns[static_cast<std::size_t>(SpectrumKind::Displacement)];
    auto& sv = result.columns[static_cast<std::size_t>(SpectrumKind::Velocity)];
    auto& sa = result.columns[static_cast<std::size_t>(SpectrumKind::Acceleration)];
    auto& psv = result.columns[static_cast<std::size_t>(SpectrumKind::PseudoVelocity)];
    auto& psa = result.columns[static_cast<std::size_t>(SpectrumKind::PseudoAcceleration)];
    for (std::size_t d = 0; d < dampingCount; ++d) {
        result.computed[d][0] = true;
        sa[d][0] = result.peakGroundAcceleration;
        psa[d][0] = result.peakGroundAcceleration;
        for (std::size_t k = 1; k < periodCount; ++k) {
            const OscillatorRun& run = runs[d * (periodCount - 1) + (k - 1)];
            if (!run.computed || !std::isfinite(run.sd) || !std::isfinite(run.sv) ||
                !std::isfinite(run.sa)) {
                result.failures.push_back({run.dampingRatio, run.period});
                continue;
            }
            const double omega = kTwoPi / run.period;
            result.computed[d][k] = true;
            sd[d][k] = run.sd;
            sv[d][k] = run.sv;
            sa[d][k] = run.sa;
            psv[d][k] = omega * run.sd;
            psa[d][k] = omega * omega * run.sd / settings.g;
        }
    }
    return result;
}

}  // namespace travik
