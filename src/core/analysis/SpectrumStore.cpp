#include "analysis/SpectrumStore.h"

#include <cmath>
#include <cstddef>
#include <utility>

#include "analysis/OscillatorIntegrators.h"
#include "text/NumberFormat.h"

namespace travik {

const std::vector<DOUBLEVECTOR>& SpectrumStore::Columns(SpectrumKind kind) const {
    switch (kind) {
        case SpectrumKind::Displacement:
            return displacementColumns;
        case SpectrumKind::Velocity:
            return velocityColumns;
        case SpectrumKind::Acceleration:
            return accelerationColumns;
        case SpectrumKind::PseudoVelocity:
            return pseudoVelocityColumns;
        case SpectrumKind::PseudoAcceleration:
            break;
    }
    return pseudoAccelerationColumns;
}

void BuildPeriodList(std::vector<double>& periods, std::vector<double>& frequencies,
                     double minPeriod, double maxPeriod, double periodStep) {
    periods.clear();
    frequencies.clear();
    periods.push_back(0.0);
    // Repeated addition, not minPeriod + i * step: the list carries the accumulated
    // rounding (the default list ends at 5.99999999999996, not 6).
    for (double t = minPeriod; t < maxPeriod;) {
        periods.push_back(t);
        const double next = t + periodStep;
        // A step too small to move t (or not positive) would never reach the end.
        if (!(next > t)) {
            break;
        }
        t = next;
    }
    // The range's end is added unless the last period already lies within 10 % of it.
    const double last = periods.back();
    if (std::fabs(last - maxPeriod) / std::fabs(maxPeriod) > 0.1) {
        periods.push_back(maxPeriod);
    }
    // Entry 0 (the period 0) has no frequency of its own and repeats entry 1.
    frequencies.push_back(1 / periods[periods.size() > 1 ? 1 : 0]);
    for (std::size_t i = 1; i < periods.size(); ++i) {
        frequencies.push_back(1 / periods[i]);
    }
}

void ClearSpectrumColumns(SpectrumStore& store) {
    store.displacementColumns.clear();
    store.velocityColumns.clear();
    store.pseudoVelocityColumns.clear();
    store.accelerationColumns.clear();
    store.pseudoAccelerationColumns.clear();
}

std::string AnalysisCalculationErrorMessage(double dampingRatio, double period) {
    return "Error calculation for DampingRatio: " + FormatGeneral(dampingRatio) +
           "& Period: " + FormatGeneral(period);
}

void RunSpectrumAnalysis(SpectrumStore& store, const TimeHistory& record,
                         const AnalysisSettings& settings,
                         const std::function<void(const std::string&)>& showCalculationError) {
    const std::size_t periodCount = store.periods.size();
    const std::size_t dampingCount = store.dampingRatios.size();
    if (periodCount == 0) {
        return;
    }
    // Every oscillator of the analysis is computed in one batch; the columns are then
    // assembled damping ratio by damping ratio as if each had been run in turn.
    std::vector<OscillatorRun> runs;
    runs.reserve(dampingCount * (periodCount - 1));
    for (const double zeta : store.dampingRatios) {
        for (std::size_t k = 1; k < periodCount; ++k) {
            runs.push_back({zeta, store.periods[k]});
        }
    }
    const bool useCorrected = record.IsCorrected();
    ComputeOscillatorPeaksBatch(settings, record, settings.g, settings.maxDtOverT, useCorrected,
                                settings.method, runs);

    // The period-0 row is not computed: no relative motion, and the total acceleration of
    // an infinitely stiff oscillator is the ground's own peak, always the raw one.
    const double pga = record.PeakAcceleration();
    for (std::size_t d = 0; d < dampingCount; ++d) {
        DOUBLEVECTOR sd{0.0}, sv{0.0}, psv{0.0}, sa{pga}, psa{pga};
        sd.reserve(periodCount);
        sv.reserve(periodCount);
        psv.reserve(periodCount);
        sa.reserve(periodCount);
        psa.reserve(periodCount);
        bool failed = false;
        for (std::size_t k = 1; k < periodCount; ++k) {
            const OscillatorRun& run = runs[d * (periodCount - 1) + (k - 1)];
            if (!run.computed) {
                if (showCalculationError) {
                    showCalculationError(
                        AnalysisCalculationErrorMessage(run.dampingRatio, run.period));
                }
                failed = true;
                break;
            }
            const double omega = kTwoPi / run.period;
            sd.push_back(run.sd);
            sv.push_back(run.sv);
            psv.push_back(omega * run.sd);
            sa.push_back(run.sa);
            psa.push_back(omega * omega * run.sd / settings.g);
        }
        if (failed) {
            continue;
        }
        store.displacementColumns.push_back(std::move(sd));
        store.velocityColumns.push_back(std::move(sv));
        store.pseudoVelocityColumns.push_back(std::move(psv));
        store.accelerationColumns.push_back(std::move(sa));
        store.pseudoAccelerationColumns.push_back(std::move(psa));
    }
}

}  // namespace travik
