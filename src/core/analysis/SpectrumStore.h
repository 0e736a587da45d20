#pragma once

#include <functional>
#include <string>
#include <vector>

#include "analysis/AnalysisSettings.h"
#include "analysis/SpectraComputation.h"
#include "records/TimeHistory.h"

namespace travik {

// The last analysis: damping list, period list (entry 0 is the period 0), frequencies
// (entry 0 repeats entry 1), and per kind one column per damping ratio, one value per
// period. Units: Sd cm, Sv and PSv cm/sec, Sa and PSa g.
struct SpectrumStore {
    std::vector<double> dampingRatios;
    std::vector<double> periods;
    std::vector<double> frequencies;
    std::vector<DOUBLEVECTOR> displacementColumns;
    std::vector<DOUBLEVECTOR> velocityColumns;
    std::vector<DOUBLEVECTOR> pseudoVelocityColumns;
    std::vector<DOUBLEVECTOR> accelerationColumns;
    std::vector<DOUBLEVECTOR> pseudoAccelerationColumns;

    const std::vector<DOUBLEVECTOR>& Columns(SpectrumKind kind) const;
};

// Rebuilds both lists: 0, then minPeriod, minPeriod + step, ... by repeated addition while
// below maxPeriod, then maxPeriod unless the last entry lies within 10 % of it.
void BuildPeriodList(std::vector<double>& periods, std::vector<double>& frequencies,
                     double minPeriod, double maxPeriod, double periodStep);

// Empties the five column lists; the damping, period and frequency lists stay.
void ClearSpectrumColumns(SpectrumStore& store);

// Message shown when an oscillator run fails during an analysis.
std::string AnalysisCalculationErrorMessage(double dampingRatio, double period);

// The window's failure policy: a damping ratio is shown whole or not at all. For every
// damping ratio whose runs did not all succeed, `showCalculationError` gets the message of
// its first failed period once, in damping order. A cancelled result says nothing.
void ReportIncompleteDampings(const SpectraResult& result,
                              const std::function<void(const std::string&)>& showCalculationError);

// Appends the columns of every damping ratio of the result to the store. The window shows
// a damping ratio whole or not at all: one whose runs did not all succeed gets no columns,
// and `showCalculationError` gets the message of its first failed period once. A cancelled
// result appends nothing.
void AppendSpectraColumns(SpectrumStore& store, const SpectraResult& result,
                          const std::function<void(const std::string&)>& showCalculationError);

// Computes the spectra of the store's damping ratios and periods for the record (its
// corrected acceleration when it is corrected) and appends them as AppendSpectraColumns
// does. Expects dampingRatios and periods built.
void RunSpectrumAnalysis(SpectrumStore& store, const TimeHistory& record,
                         const AnalysisSettings& settings,
                         const std::function<void(const std::string&)>& showCalculationError);

}  // namespace travik
