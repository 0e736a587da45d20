#pragma once

#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "core/analysis/AnalysisSettings.h"

namespace travik {

// How finely one period of an analysis was integrated: the sub-step count n the
// integrators cut each sampling interval into, and the record's dt / T. The period-0 row
// is not integrated: n = 0 and dt / T = 0 there, as for a refused run.
struct PeriodAccuracy {
    double period = 0.0;   // s
    int subSteps = 0;      // n
    double dtOverT = 0.0;  // record time step over the period
};

std::vector<PeriodAccuracy> ComputePeriodAccuracy(double timeStep,
                                                  const std::vector<double>& periods,
                                                  double maxDtOverT);

enum class UntrustedReason { ShortPeriod, LongPeriod, HighPassCorner };

// A band of periods [fromPeriod, toPeriod] (s; toPeriod may be infinite) whose spectral
// values deserve less trust, with one sentence saying why.
struct UntrustedBand {
    UntrustedReason reason = UntrustedReason::ShortPeriod;
    double fromPeriod = 0.0;
    double toPeriod = std::numeric_limits<double>::infinity();
    std::string explanation;
};

// The record as the bands need it.
struct RecordSpan {
    double timeStep = 0.01;  // s, > 0
    int sampleCount = 0;     // duration is (sampleCount - 1) timeStep
    // Corner frequency (Hz, > 0) of a high-pass filter applied to the record, if any.
    std::optional<double> highPassCornerHz;
};

// The bands, in this order where they apply:
// - periods below 10 dt when Newmark's method is used or maxDtOverT exceeds 0.1: with fewer
//   than ten samples per cycle and long sub-steps the peak is missed or distorted;
// - periods above half the record's duration: the largest response may come after the
//   record ends, in free vibration, which the analysis does not follow;
// - periods above 0.8 / f_c for a record high-pass filtered at f_c: the filter has removed
//   most of the motion that drives them (Boore & Bommer, 2005, recommend a usable range
//   well inside 1 / f_c).
// Period texts in the sentences use `decimalSeparator`.
std::vector<UntrustedBand> UntrustedPeriodBands(const RecordSpan& record,
                                                const AnalysisSettings& settings,
                                                char decimalSeparator = '.');

// True when `period` lies in any of the bands.
bool IsUntrusted(const std::vector<UntrustedBand>& bands, double period);

}  // namespace travik
