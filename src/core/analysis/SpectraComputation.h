#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/analysis/AnalysisSettings.h"
#include "core/analysis/OscillatorIntegrators.h"
#include "core/records/TimeHistory.h"
#include "core/spectra/SpectrumAccuracy.h"

namespace travik {

// Order of the Y-axis choices, the result tables and the column groups of the report.
enum class SpectrumKind {
    Displacement,
    Velocity,
    Acceleration,
    PseudoVelocity,
    PseudoAcceleration
};
inline constexpr int kSpectrumKindCount = 5;

// One oscillator whose peaks could not be computed.
struct SpectraRunFailure {
    double dampingRatio = 0.0;  // fraction of critical
    double period = 0.0;        // s
};

// The elastic response spectra of one record, with everything they were computed from, so
// that no view or report ever pairs these values with another analysis' lists.
struct SpectraResult {
    // Inputs.
    std::string recordName;  // the record's source file name
    bool corrected = false;  // computed from the baseline-corrected acceleration
    BaselineCorrectionType correction = BaselineCorrectionType::Linear;  // when corrected
    AnalysisSettings settings;
    std::vector<double> dampingRatios;  // fractions of critical, in the order given
    std::vector<double> periods;        // s; entry 0 is the period 0
    std::vector<double> frequencies;    // Hz, 1 / period; entry 0 repeats entry 1
    double timeStep = 0.0;              // s, the record's
    int sampleCount = 0;                // the record's
    // The high-pass corner (Hz) of the filter the analysed acceleration went through, if
    // any: spectral values at periods well above 1 / corner no longer show the ground's.
    std::optional<double> highPassCornerHz;

    // How finely each period was integrated: the sub-step count n and the record's dt / T,
    // one entry per period (n = 0 for the period 0 and for a refused run).
    std::vector<PeriodAccuracy> accuracy;

    // The period-0 row: an infinitely stiff oscillator moves with the ground, so its total
    // acceleration is the peak of the raw record (g), whichever series was analysed.
    double peakGroundAcceleration = 0.0;

    // Per kind, one column per damping ratio and one value per period, the period-0 row
    // included. Units: Sd cm, Sv and PSv cm/sec, Sa and PSa g. A run that failed holds 0
    // and is marked in `computed`.
    std::array<std::vector<DOUBLEVECTOR>, kSpectrumKindCount> columns;
    // computed[d][k]: whether the oscillator of damping d and period k was computed (the
    // period-0 row always is).
    std::vector<std::vector<bool>> computed;
    // Every failed run, damping ratio by damping ratio, periods ascending.
    std::vector<SpectraRunFailure> failures;
    // The computation was cancelled through its options: no run is computed and none is
    // listed as failed.
    bool cancelled = false;

    const std::vector<DOUBLEVECTOR>& Columns(SpectrumKind kind) const {
        return columns[static_cast<std::size_t>(kind)];
    }
    bool Computed(std::size_t damping, std::size_t period) const {
        return computed[damping][period];
    }
    bool DampingComputed(std::size_t damping) const;
    // True when there was at least one oscillator to compute and none could be.
    bool AllRunsFailed() const;
};

// Sd, Sv, Sa, PSv = omega * Sd and PSa = omega^2 * Sd / g of every damping ratio and
// period (periods[0] must be the period 0, which is not computed) for the record, from its
// corrected acceleration when it is corrected, by the settings' integrator. omega is
// 6.2831852 / T, as in the oscillators themselves. A run that cannot be computed is listed
// in `failures`; the others are unaffected.
// The oscillators are spread over every core; the values do not depend on it.
// A run whose peaks are not finite numbers (an unstable integration) fails too. When
// `progress` is given, it is called after each part of the work (about a hundredth) with
// the work done and in all, in oscillator steps plus one per run; the values do not depend
// on it.
SpectraResult ComputeSpectra(
    const TimeHistory& record, const AnalysisSettings& settings,
    const std::vector<double>& dampingRatios, const std::vector<double>& periods,
    const std::function<void(std::size_t done, std::size_t total)>& progress = {});

// The same with the thread count, progress report and cancel flag of `options`.
SpectraResult ComputeSpectra(const TimeHistory& record, const AnalysisSettings& settings,
                             const std::vector<double>& dampingRatios,
                             const std::vector<double>& periods, const BatchOptions& options);

// Both: the options' threads and cancel flag, and the progress in oscillator steps as above
// (which then takes the place of the options' own fraction).
SpectraResult ComputeSpectra(
    const TimeHistory& record, const AnalysisSettings& settings,
    const std::vector<double>& dampingRatios, const std::vector<double>& periods,
    const BatchOptions& options,
    const std::function<void(std::size_t done, std::size_t total)>& progress);

}  // namespace travik
