#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/analysis/SpectraComputation.h"
#include "core/spectra/DesignSpectra.h"

namespace travik {

// Statistics of a suite of spectra at their common periods, one value per period:
// arithmetic mean, median, the mean plus and minus one standard deviation, and the
// log-normal (geometric) mean exp(mean of ln) with exp(mean of ln +- sigma of ln).
// Standard deviations are the sample ones (divisor count - 1), zero for one record.
// Where a value of some record is zero or negative the log-normal columns hold NaN.
struct SuiteStatistics {
    std::vector<double> periods;  // s, as given
    int recordCount = 0;
    std::vector<double> mean;
    std::vector<double> median;
    std::vector<double> sigma;
    std::vector<double> meanPlusSigma;
    std::vector<double> meanMinusSigma;
    std::vector<double> logMean;
    std::vector<double> sigmaLn;
    std::vector<double> logMeanPlusSigma;
    std::vector<double> logMeanMinusSigma;
};

// `curves` holds one value per period for each record (each as long as `periods`).
// Returns an empty result (recordCount 0) when there is no curve or a curve's length
// differs from the period list.
SuiteStatistics ComputeSuiteStatistics(const std::vector<double>& periods,
                                       const std::vector<std::vector<double>>& curves);

// The statistics of a record suite for one damping ratio, one set per SpectrumKind (in its
// order), all at the same periods.
struct SuiteSpectraStatistics {
    double dampingRatio = 0.05;  // fraction
    std::vector<std::string> recordNames;
    std::array<SuiteStatistics, kSpectrumKindCount> kinds;
};

// The ratio of a suite's mean to a target spectrum over a period range, as record
// suites are checked: the smallest, largest and average ratio at the analysis periods
// within [minPeriod, maxPeriod] where the target is defined and positive.
struct TargetRatio {
    bool valid = false;   // false when no period of the range could be compared
    int periodCount = 0;  // periods compared
    double minRatio = 0.0;
    double minAtPeriod = 0.0;  // s
    double maxRatio = 0.0;
    double maxAtPeriod = 0.0;  // s
    double meanRatio = 0.0;
};

TargetRatio CompareMeanToTarget(const std::vector<double>& periods, const std::vector<double>& mean,
                                const TargetSpectrum& target, double minPeriod, double maxPeriod);

}  // namespace travik
