#pragma once

#include <functional>
#include <string>
#include <vector>

#include "analysis/AnalysisSettings.h"
#include "records/TimeHistory.h"

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

// Computes the columns of every damping ratio of the store for the record (its corrected
// acceleration when it is corrected) and appends them; the period-0 row holds 0 and the
// raw peak acceleration. A damping ratio whose run fails gets no columns and
// `showCalculationError` gets the message once. Expects dampingRatios and periods built.
void RunSpectrumAnalysis(SpectrumStore& store, const TimeHistory& record,
                         const AnalysisSettings& settings,
                         const std::function<void(const std::string&)>& showCalculationError);

}  // namespace travik
