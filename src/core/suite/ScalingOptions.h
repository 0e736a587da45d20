#pragma once

#include <optional>
#include <string>
#include <vector>

namespace travik {

// The code rule a scaled suite is checked against, with one common factor applied after
// the records' own factors.
enum class SuiteRule {
    None,   // the records' own factors only
    Asce7,  // ASCE/SEI 7-22 §16.2.3.2: suite mean >= 90 % of the target over the range
    Ec8,    // EN 1998-1 §3.2.3.1.2(4): the same, and mean PGA >= a_g S (target at T = 0)
};

// How the analysis periods inside the range weigh in a record's fit.
enum class ScalingWeights {
    Uniform,  // every period 1
    Log,      // half the ln T distance to each neighbour inside the range
};

// The spectrum a motion is scaled by: PSa of a single component, or an
// orientation-independent spectrum of two horizontal components (Boore 2010): RotD50, the
// median over the rotation angles, or RotD100, the largest.
enum class ScalingMeasure {
    Psa,
    RotD50,
    RotD100,
};

// The percentile of the rotated peaks a RotD measure reads (50 or 100); NaN for PSa.
double MeasurePercentile(ScalingMeasure measure);

// Analysis periods are built by adding a step again and again, so 0.2 s may be held as
// 0.20000000000000004: a range end takes periods within this relative distance.
inline constexpr double kPeriodTolerance = 1e-9;

// True when `period` lies in [minPeriod, maxPeriod] within kPeriodTolerance.
bool WithinRange(double period, double minPeriod, double maxPeriod);

// The least number of motions a rule asks for: ASCE/SEI 7-22 §16.2.2 eleven, EN 1998-1
// §3.2.3.1.2(4) three, none without a rule.
int MinimumMotions(SuiteRule rule);

// How a suite is scaled and selected. Periods in s; factors are plain multipliers.
struct ScalingOptions {
    double minPeriod = 0.0;  // Tmin, s, > 0, within the analysis periods
    double maxPeriod = 0.0;  // Tmax, s, > Tmin, within the analysis periods
    SuiteRule rule = SuiteRule::None;
    ScalingWeights weights = ScalingWeights::Uniform;
    // What the motions' spectra are; the scaling itself treats every measure alike.
    ScalingMeasure measure = ScalingMeasure::Psa;
    std::optional<double> minFactor;  // fmin, > 0
    std::optional<double> maxFactor;  // fmax, >= fmin
    // Scale each record to the target at this one period (s) instead of fitting the range;
    // the record's spectrum there is interpolated log-log between analysis periods.
    std::optional<double> atPeriod;
    // Keep only the `selectCount` records of the smallest error (0: keep all).
    int selectCount = 0;
    // At most this many records of one station in the selection (0: no limit).
    int maxPerStation = 0;

    // Empty when the options fit `periods` (the analysis periods, ascending, entry 0 may be
    // the period 0) and `recordCount` records; else the message naming the option.
    std::string Check(const std::vector<double>& periods, int recordCount) const;
};

}  // namespace travik
