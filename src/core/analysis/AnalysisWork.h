#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/analysis/AnalysisSettings.h"
#include "core/records/TimeHistory.h"

namespace travik {

// Oscillator steps (periods x damping values x samples x sub-steps) above which an analysis
// is announced before it starts: on the order of a minute on a desktop machine, long
// enough that the user should know and may change the settings. It is not refused: long
// but legitimate work is the user's choice.
inline constexpr double kAnnouncedOscillatorSteps = 1e10;

// The oscillator steps ComputeSpectra will take for the record: per period after the
// period 0, the damping count times OscillatorRunSteps (runs the integrators refuse count
// nothing).
double EstimateOscillatorSteps(const TimeHistory& record, const AnalysisSettings& settings,
                               std::size_t dampingCount, const std::vector<double>& periods);

// Oscillator steps per second of this machine with these settings, timed on a short
// synthetic record (about a tenth of a second).
double MeasureOscillatorStepsPerSecond(const AnalysisSettings& settings);

// Oscillator steps per second of this machine on the record's own analysis (its periods and
// damping values, on `threads` threads as BatchOptions counts them), timed on the first few
// of its samples: about a tenth of a second. How well the vector lanes fill depends on how
// the periods' sub-step counts spread, which only the analysis itself shows.
double MeasureOscillatorStepsPerSecond(const TimeHistory& record, const AnalysisSettings& settings,
                                       const std::vector<double>& dampingRatios,
                                       const std::vector<double>& periods, int threads);

// "This analysis takes about 2.3E10 oscillator steps, about 95 s on this machine."
std::string AnalysisWorkAnnouncement(double steps, double stepsPerSecond);

}  // namespace travik
