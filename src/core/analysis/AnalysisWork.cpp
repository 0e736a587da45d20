#include "analysis/AnalysisWork.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "analysis/SpectraComputation.h"
#include "text/NumberFormat.h"

namespace travik {
namespace {

// The integrators refuse a run of more sub-steps than this (see OscillatorIntegrators).
constexpr double kMaxSubSteps = 1000000.0;

// A count or a duration to two significant figures: 0.4, 230, 2200, 2.3E10.
std::string Rounded(double value) {
    if (!(value >= 10)) {
        return FormatGeneral(std::round(value * 10) / 10);
    }
    int exponent = static_cast<int>(std::floor(std::log10(value)));
    double mantissa = std::round(value / std::pow(10.0, exponent) * 10) / 10;
    if (mantissa >= 10) {
        mantissa /= 10;
        ++exponent;
    }
    if (exponent < 6) {
        return FormatGeneral(std::round(mantissa * std::pow(10.0, exponent)));
    }
    return FormatGeneral(mantissa) + "E" + FormatInteger(exponent);
}

}  // namespace

double EstimateOscillatorSteps(const TimeHistory& record, const AnalysisSettings& settings,
                               std::size_t dampingCount, const std::vector<double>& periods) {
    const double samples = record.SampleCount();
    const double dt = record.TimeStep();
    double steps = 0.0;
    for (std::size_t k = 1; k < periods.size(); ++k) {
        const double subSteps = std::trunc(dt / (periods[k] * settings.maxDtOverT) + 1);
        if (subSteps >= 1 && subSteps <= kMaxSubSteps) {
            steps += subSteps;
        }
    }
    return steps * samples * static_cast<double>(dampingCount);
}

double MeasureOscillatorStepsPerSecond(const AnalysisSettings& settings) {
    // A decaying harmonic record of 2000 samples and 16 oscillators of 20 sub-steps each:
    // enough work to time (over half a million steps), short enough not to be noticed.
    TimeHistory record("calibration", 0.01);
    for (int i = 0; i < 2000; ++i) {
        record.AppendAcceleration(0.3 * std::exp(-i / 500.0) * std::sin(i / 7.0));
    }
    AnalysisSettings timed = settings;
    const double period = 0.01 / (19.5 * timed.maxDtOverT);  // 20 sub-steps per sample
    std::vector<double> periods{0.0};
    for (int k = 0; k < 8; ++k) {
        periods.push_back(period * (1.0 + 1e-9 * k));
    }
    const std::vector<double> damping{0.02, 0.05};
    const double steps = EstimateOscillatorSteps(record, timed, damping.size(), periods);
    const auto start = std::chrono::steady_clock::now();
    const SpectraResult result = ComputeSpectra(record, timed, damping, periods);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return steps / std::max(elapsed.count(), 1e-6);
}

std::string AnalysisWorkAnnouncement(double steps, double stepsPerSecond) {
    return "This analysis takes about " + Rounded(steps) + " oscillator steps, about " +
           Rounded(steps / stepsPerSecond) + " s on this machine.";
}

}  // namespace travik
