#include "core/analysis/AnalysisWork.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "core/analysis/OscillatorIntegrators.h"
#include "core/analysis/SpectraComputation.h"
#include "core/text/NumberFormat.h"

namespace travik {
namespace {

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
    const auto samples = static_cast<std::size_t>(record.SampleCount());
    double steps = 0.0;
    for (std::size_t k = 1; k < periods.size(); ++k) {
        steps += OscillatorRunSteps(samples, record.TimeStep(), periods[k], settings.maxDtOverT);
    }
    return steps * static_cast<double>(dampingCount);
}

double MeasureOscillatorStepsPerSecond(const AnalysisSettings& settings) {
    // A decaying harmonic record of 4000 samples and 16 oscillators of 100 to 107 sub-steps:
    // several million steps, timed three times (the fastest counts, so that a start-up
    // cost or a busy moment of the machine does not), about a tenth of a second in all.
    // Each sub-step count differs, as in the long analyses this speed is used for (tiny
    // ratios or periods), where no two periods share the batch's vector lanes.
    TimeHistory record("calibration", 0.01);
    for (int i = 0; i < 4000; ++i) {
        record.AppendAcceleration(0.3 * std::exp(-i / 900.0) * std::sin(i / 7.0));
    }
    std::vector<double> periods{0.0};
    for (int subSteps = 107; subSteps >= 100; --subSteps) {
        periods.push_back(0.01 / ((subSteps - 0.5) * settings.maxDtOverT));
    }
    const std::vector<double> damping{0.02, 0.05};
    const double steps = EstimateOscillatorSteps(record, settings, damping.size(), periods);
    double fastest = 1e300;
    for (int repetition = 0; repetition < 3; ++repetition) {
        const auto start = std::chrono::steady_clock::now();
        const SpectraResult result = ComputeSpectra(record, settings, damping, periods);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        fastest = std::min(fastest, elapsed.count());
    }
    return steps / std::max(fastest, 1e-6);
}

double MeasureOscillatorStepsPerSecond(const TimeHistory& record, const AnalysisSettings& settings,
                                       const std::vector<double>& dampingRatios,
                                       const std::vector<double>& periods, int threads) {
    // Oscillator steps timed: enough to dwarf starting the threads, little enough to wait.
    constexpr double kTimedSteps = 1e8;
    const int samples = record.SampleCount();
    const double steps = EstimateOscillatorSteps(record, settings, dampingRatios.size(), periods);
    if (samples < 1 || !(steps > 0)) {
        return MeasureOscillatorStepsPerSecond(settings);
    }
    // The work grows with the samples alone; their values change nothing of its speed.
    const double perSample = steps / samples;
    const int timedSamples =
        static_cast<int>(std::clamp(std::ceil(kTimedSteps / perSample), 1.0, double(samples)));
    const DOUBLEVECTOR& series = record.Acceleration(record.IsCorrected());
    TimeHistory part(record.SourceFileName(), record.TimeStep());
    for (int i = 0; i < timedSamples; ++i) {
        part.AppendAcceleration(series[static_cast<std::size_t>(i)]);
    }
    BatchOptions options;
    options.threads = threads;
    double fastest = 1e300;
    for (int repetition = 0; repetition < 2; ++repetition) {
        const auto start = std::chrono::steady_clock::now();
        const SpectraResult result =
            ComputeSpectra(part, settings, dampingRatios, periods, options);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        fastest = std::min(fastest, elapsed.count());
    }
    return perSample * timedSamples / std::max(fastest, 1e-6);
}

std::string AnalysisWorkAnnouncement(double steps, double stepsPerSecond) {
    return "This analysis takes about " + Rounded(steps) + " oscillator steps, about " +
           Rounded(steps / stepsPerSecond) + " s on this machine.";
}

}  // namespace travik
