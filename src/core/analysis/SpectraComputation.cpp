#include "analysis/SpectraComputation.h"

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
    if (!progress) {
        if (!ComputeOscillatorPeaksBatch(settings, record, settings.g, settings.maxDtOverT,
                                         record.IsCorrected(), settings.method, runs, options)) {
            result.cancelled = true;
            return result;
        }
    } else {
        // About a hundred parts of equal work. Short periods take far more sub-steps than
        // long ones, so the parts are measured in oscillator steps, not in runs. Each part
        // is one batch with the options' threads and cancel flag; the steps replace the
        // options' own fraction.
        BatchOptions partOptions = options;
        partOptions.progress = nullptr;
        const auto samples = static_cast<std::size_t>(record.SampleCount());
        std::vector<std::size_t> work(runs.size());
        std::size_t total = 0;
        for (std::size_t i = 0; i < runs.size(); ++i) {
            work[i] = 1 + static_cast<std::size_t>(OscillatorRunSteps(
                              samples, record.TimeStep(), runs[i].period, settings.maxDtOverT));
            total += work[i];
        }
        const std::size_t partWork = std::max<std::size_t>(1, total / 100);
        std::size_t done = 0;
        for (std::size_t first = 0; first < runs.size();) {
            std::size_t end = first;
            std::size_t thisPart = 0;
            while (end < runs.size() && thisPart < partWork) {
                thisPart += work[end++];
            }
            if (!ComputeOscillatorPeaksBatch(
                    settings, record, settings.g, settings.maxDtOverT, record.IsCorrected(),
                    settings.method, std::span<OscillatorRun>(runs).subspan(first, end - first),
                    partOptions)) {
                for (OscillatorRun& run : runs) {
                    run.computed = false;
                }
                result.cancelled = true;
                return result;
            }
            done += thisPart;
            progress(done, total);
            first = end;
        }
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
