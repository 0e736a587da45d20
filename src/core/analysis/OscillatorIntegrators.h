#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <span>

#include "core/analysis/AnalysisSettings.h"
#include "core/records/TimeHistory.h"

namespace travik {

// Circular frequency of a period: the program uses 6.2831852 / T everywhere, not 2*pi to
// full precision, so that pseudo-spectra and oscillators agree digit for digit.
inline constexpr double kTwoPi = 6.2831852;

// Coefficients of the piecewise exact recurrence for one damping ratio, frequency and step.
struct PiecewiseExactCoefficients {
    double A, B, Ap, Bp, C, D, Cp, Dp;
};

PiecewiseExactCoefficients ComputePiecewiseExactCoefficients(double dampingRatio, double step,
                                                             double omega);

// Peak relative displacement `sd` (cm), peak relative velocity `sv` (cm/sec) and peak total
// acceleration `sa` (g) of a damped linear oscillator at rest at the start, under the
// record's acceleration (the corrected one when `useCorrected`). `period` in s, damping as
// a fraction, g in cm/sec^2. Only beta and gamma are read from `settings`, by Newmark.
// Returns false, writing no output, when the series is empty or the computation is not
// defined (time step not positive and finite, sub-step count outside 1 to 1,000,000,
// non-finite coefficients).
bool ComputeOscillatorPeaks(const AnalysisSettings& settings, const TimeHistory& record, double g,
                            double maxDtOverT, double dampingRatio, double period, double& sd,
                            double& sv, double& sa, bool useCorrected, IntegrationMethod method);

// The oscillator's relative displacement (cm) at the end of every sub-step, in time order
// ((samples - 1) * sub-step count values), by exactly the arithmetic of
// ComputeOscillatorPeaks, so that the largest magnitude is its `sd` to the last bit. The
// response of one oscillator to one component, kept so that the responses of two
// components can be combined (the oscillator is linear). Returns false, leaving
// `displacement` empty, where ComputeOscillatorPeaks would.
bool ComputeOscillatorDisplacements(const AnalysisSettings& settings, const DOUBLEVECTOR& series,
                                    double timeStep, double g, double maxDtOverT,
                                    double dampingRatio, double period, IntegrationMethod method,
                                    DOUBLEVECTOR& displacement);

// The integration steps of one run: samples times sub-steps per sample, 0 for a run the
// integrators refuse (see ComputeOscillatorPeaks). The measure of work of an analysis.
double OscillatorRunSteps(std::size_t samples, double timeStep, double period, double maxDtOverT);

// The number n of equal sub-steps each sampling interval `timeStep` (s) is cut into for an
// oscillator of `period` (s): trunc(dt / (T maxDtOverT) + 1), or 0 when the run is refused.
// Both integrators use this count.
int OscillatorSubStepCount(double timeStep, double period, double maxDtOverT);

// One oscillator of a batch: its damping ratio and period, and its peaks once computed.
struct OscillatorRun {
    double dampingRatio = 0.0;  // fraction of critical
    double period = 0.0;        // s
    bool computed = false;      // what ComputeOscillatorPeaks would return
    double sd = 0.0;            // cm; written only when computed
    double sv = 0.0;            // cm/sec; written only when computed
    double sa = 0.0;            // g; written only when computed
};

// How a batch is run: on how many threads, and how it reports progress and is cancelled.
// The results never depend on these.
struct BatchOptions {
    // Threads the oscillators are spread over: 0 for one per core, 1 for the calling thread
    // only. Small batches run on the calling thread whatever the count.
    int threads = 0;
    // Read now and then during the run; once true, the batch stops early.
    const std::atomic<bool>* cancel = nullptr;
    // Called with the fraction of the work done (0 to 1) about every 50 ms while the work
    // runs and with 1 at its end (not after a cancel), always from the calling thread, which
    // then only watches the computing threads; must not throw.
    std::function<void(double)> progress;
};

// Computes every oscillator of `runs` under the same record and settings with exactly the
// arithmetic of ComputeOscillatorPeaks, so each gets the same digits to the last bit, but
// advances oscillators side by side in the widest vectors the processor has (oscillators
// of the same sub-step count together where there are enough of them), on several threads.
// Returns false when cancelled: every run is then marked not computed.
bool ComputeOscillatorPeaksBatch(const AnalysisSettings& settings, const TimeHistory& record,
                                 double g, double maxDtOverT, bool useCorrected,
                                 IntegrationMethod method, std::span<OscillatorRun> runs,
                                 const BatchOptions& options);

// The same with the default options (every core, no progress, no cancel).
void ComputeOscillatorPeaksBatch(const AnalysisSettings& settings, const TimeHistory& record,
                                 double g, double maxDtOverT, bool useCorrected,
                                 IntegrationMethod method, std::span<OscillatorRun> runs);

}  // namespace travik
