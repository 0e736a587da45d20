#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "core/analysis/AnalysisSettings.h"
#include "core/records/TimeHistory.h"
#include "core/spectra/SuiteStatistics.h"

namespace travik {

// The spectra of several records for one damping ratio, all computed with the same
// settings at the same periods, and their statistics. Inputs are kept beside the results.
struct SuiteSpectra {
    AnalysisSettings settings;
    double dampingRatio = 0.05;   // fraction
    std::vector<double> periods;  // s, entry 0 is the period 0
    std::vector<std::string> recordNames;
    // curves[kind][record]: one value per period (units as in SpectrumStore). A record whose
    // run failed is left out of every kind and named in `failedRecords`.
    std::array<std::vector<std::vector<double>>, kSpectrumKindCount> curves;
    std::vector<std::string> failedRecords;
    SuiteSpectraStatistics statistics;
    bool cancelled = false;
};

// Called after each record with the number done and the total, from the worker threads
// (one call at a time).
using SuiteProgress = std::function<void(int done, int total)>;

// Analyses `records` (each on its corrected acceleration when corrected) and computes the
// statistics of the records that succeeded. Records are spread over `threads` workers
// (0: one per processor core). Setting `*cancel` stops the remaining records; the result
// then has cancelled set and no statistics.
SuiteSpectra ComputeSuiteSpectra(const std::vector<const TimeHistory*>& records,
                                 const AnalysisSettings& settings, double dampingRatio,
                                 const std::vector<double>& periods,
                                 const SuiteProgress& progress = {},
                                 const std::atomic<bool>* cancel = nullptr, unsigned threads = 0);

}  // namespace travik
