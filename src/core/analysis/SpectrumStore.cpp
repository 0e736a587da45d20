#include "analysis/SpectrumStore.h"

#include <cmath>
#include <cstddef>

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

void AppendSpectraColumns(SpectrumStore& store, const SpectraResult& result,
                          const std::function<void(const std::string&)>& showCalculationError) {
    if (result.cancelled) {
        return;  // the user stopped it: the store keeps what it had, and nothing failed
    }
    ReportIncompleteDampings(result, showCalculationError);
    for (std::size_t d = 0; d < result.dampingRatios.size(); ++d) {
        if (!result.DampingComputed(d)) {
            continue;
        }
        store.displacementColumns.push_back(result.Columns(SpectrumKind::Displacement)[d]);
        store.velocityColumns.push_back(result.Columns(SpectrumKind::Velocity)[d]);
        store.pseudoVelocityColumns.push_back(result.Columns(SpectrumKind::PseudoVelocity)[d]);
        store.accelerationColumns.push_back(result.Columns(SpectrumKind::Acceleration)[d]);
        store.pseudoAccelerationColumns.push_back(
            result.Columns(SpectrumKind::PseudoAcceleration)[d]);
    }
}

void RunSpectrumAnalysis(SpectrumStore& store, const TimeHistory& record,
                         const AnalysisSettings& settings,
                         const std::function<void(const std::string&)>& showCalculationError) {
    if (store.periods.empty()) {
        return;
    }
    AppendSpectraColumns(store,
                         ComputeSpectra(record, settings, store.dampingRatios, store.periods),
                         showCalculationError);
}

}  // namespace travik
