// The rotated spectra's vector kernels must give every peak of the plain computation to the
// last bit (each component's displacement history by the one-oscillator code, then every
// angle's |c x + s y| over every sub-step), on every instruction set compiled in that this
// processor runs, whatever the threads, the grouping of periods and the pruning.
#include "core/rotation/RotationKernels.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "core/analysis/OscillatorIntegrators.h"
#include "core/analysis/OscillatorKernels.h"
#include "core/rotation/RotatedGroups.h"
#include "core/rotation/RotatedSpectra.h"

namespace travik {
namespace {

// `count` samples of a record of data/ (one value per line) from sample `first` on.
std::vector<double> SampleValues(const std::string& fileName, std::size_t first,
                                 std::size_t count) {
    std::ifstream in(std::string(TRAVIK_SAMPLE_DATA_DIR) + "/" + fileName);
    std::vector<double> values;
    double value = 0;
    for (std::size_t k = 0; k < first + count && in >> value; ++k) {
        if (k >= first) {
            values.push_back(value);
        }
    }
    return values;
}

TimeHistory Record(const std::vector<double>& samples, double timeStep) {
    TimeHistory record("pair.txt", timeStep);
    for (const double sample : samples) {
        record.AppendAcceleration(sample);
    }
    return record;
}

struct Pair {
    std::string name;
    TimeHistory h1;
    TimeHistory h2;
};

// The strong motion of two recorded pairs, short enough for a quick test.
std::vector<Pair> Pairs() {
    return {{"El Centro 1940", Record(SampleValues("elcentro-1940-rsn6-180.txt", 0, 600), 0.02),
             Record(SampleValues("elcentro-1940-rsn6-270.txt", 0, 600), 0.02)},
            {"Chino Hills 2008",
             Record(SampleValues("peer-chinohills-rsn8883-360.txt", 5000, 900), 0.005),
             Record(SampleValues("peer-chinohills-rsn8883-090.txt", 5000, 900), 0.005)}};
}

// Restores the automatic choice of instruction set however a test ends.
struct AutomaticTargetAfterwards {
    ~AutomaticTargetAfterwards() { kernels::UseKernelTarget(0); }
};

void ExpectSameBits(double expected, double actual, const std::string& what) {
    EXPECT_EQ(std::bit_cast<std::uint64_t>(expected), std::bit_cast<std::uint64_t>(actual))
        << what << ": " << expected << " expected, " << actual << " computed";
}

// The plain computation of one oscillator's rotated peaks (cm) and each component's peak.
struct PlainPeaks {
    std::array<double, kRotationAngles> peaks{};
    double h1 = 0;
    double h2 = 0;
};

PlainPeaks Plain(const AnalysisSettings& settings, const Pair& pair, double zeta, double period) {
    DOUBLEVECTOR u1, u2;
    EXPECT_TRUE(ComputeOscillatorDisplacements(settings, pair.h1.RawAcceleration(),
                                               pair.h1.TimeStep(), settings.g, settings.maxDtOverT,
                                               zeta, period, settings.method, u1));
    EXPECT_TRUE(ComputeOscillatorDisplacements(settings, pair.h2.RawAcceleration(),
                                               pair.h2.TimeStep(), settings.g, settings.maxDtOverT,
                                               zeta, period, settings.method, u2));
    PlainPeaks plain;
    RotatedPeaksOf(u1.data(), u2.data(), u1.size(), false, plain.peaks);
    double sd = 0, sv = 0, sa = 0;
    EXPECT_TRUE(ComputeOscillatorPeaks(settings, pair.h1, settings.g, settings.maxDtOverT, zeta,
                                       period, sd, sv, sa, false, settings.method));
    plain.h1 = sd;
    EXPECT_TRUE(ComputeOscillatorPeaks(settings, pair.h2, settings.g, settings.maxDtOverT, zeta,
                                       period, sd, sv, sa, false, settings.method));
    plain.h2 = sd;
    return plain;
}

void ExpectPlainDigits(const AnalysisSettings& settings, const Pair& pair,
                       const RotatedSpectraOptions& options, const std::string& trace) {
    const auto result = ComputeRotatedSpectra(settings, pair.h1, pair.h2, options);
    ASSERT_TRUE(result);
    for (std::size_t d = 0; d < options.dampingRatios.size(); ++d) {
        for (std::size_t k = 0; k < options.periods.size(); ++k) {
            const double zeta = options.dampingRatios[d];
            const double period = options.periods[k];
            const std::string where =
                trace + ", damping " + std::to_string(zeta) + ", period " + std::to_string(period);
            const RotatedSpectrumPoint& point = result->damping[d].points[k];
            ASSERT_TRUE(point.computed) << where;
            const PlainPeaks plain = Plain(settings, pair, zeta, period);
            const double omega = kTwoPi / period;
            const auto toPsa = [&](double sd) { return omega * omega * sd / settings.g; };
            for (std::size_t a = 0; a < kRotationAngles; ++a) {
                ExpectSameBits(toPsa(plain.peaks[a]), point.psa.peaks[a],
                               where + ", " + std::to_string(a) + " degrees");
            }
            ExpectSameBits(toPsa(plain.h1), point.psa.h1, where + ", H1");
            ExpectSameBits(toPsa(plain.h2), point.psa.h2, where + ", H2");
        }
    }
    std::array<double, kRotationAngles> ground{};
    const auto& a1 = pair.h1.RawAcceleration();
    const auto& a2 = pair.h2.RawAcceleration();
    RotatedPeaksOf(a1.data(), a2.data(), a1.size(), false, ground);
    for (std::size_t a = 0; a < kRotationAngles; ++a) {
        ExpectSameBits(ground[a], result->pga.peaks[a], trace + ", ground acceleration");
    }
}

// Periods from 0.01 s (many sub-steps) to 20 s (one), in an order that mixes sub-step
// counts inside groups; three damping ratios make more groups than one vector holds.
const std::vector<double> kPeriods = {0.3, 0.01, 2.0,  0.013, 0.05, 1.0,  0.021, 0.1,  0.02,
                                      5.0, 0.15, 0.04, 0.5,   0.03, 20.0, 0.2,   0.06, 0.017};

TEST(RotationKernels, EveryInstructionSetGivesThePlainPeaksOnRecordedPairs) {
    const AutomaticTargetAfterwards restore;
    const std::vector<kernels::KernelTarget> targets = kernels::AvailableKernelTargets();
    ASSERT_FALSE(targets.empty());
    const std::vector<Pair> pairs = Pairs();
    RotatedSpectraOptions options;
    options.dampingRatios = {0.05, 0.0, 0.2};
    options.periods = kPeriods;
    for (const kernels::KernelTarget& target : targets) {
        kernels::UseKernelTarget(target.id);
        for (const Pair& pair : pairs) {
            for (const double ratio : {0.02, 0.1, 5.0}) {
                AnalysisSettings settings;
                settings.maxDtOverT = ratio;
                options.threads = ratio == 0.1 ? 2 : 1;
                ExpectPlainDigits(
                    settings, pair, options,
                    target.name + ", " + pair.name + ", ratio " + std::to_string(ratio));
            }
        }
    }
}

TEST(RotationKernels, NewmarksMethodGivesThePlainPeaks) {
    AnalysisSettings settings;
    settings.method = IntegrationMethod::Newmark;
    settings.maxDtOverT = 0.05;
    RotatedSpectraOptions options;
    options.dampingRatios = {0.05};
    options.periods = {0.02, 0.3, 4.0};
    ExpectPlainDigits(settings, Pairs().front(), options, "Newmark");
}

// Pairs that stress the bounds: values near the smallest and largest numbers, a pair
// polarised along one direction, non-numbers and infinities among finite values.
std::vector<std::vector<double>> Adversarial(std::size_t component) {
    std::vector<std::vector<double>> series;
    std::vector<double> wave(700);
    for (std::size_t k = 0; k < wave.size(); ++k) {
        const double t = static_cast<double>(k) * 0.01;
        wave[k] = std::sin((component == 0 ? 3.1 : 1.7) * t) * std::exp(-0.2 * t) *
                  (1 + 0.3 * std::cos(0.7 * t + static_cast<double>(component)));
    }
    for (const double scale : {1.0, 1e-160, 1e-310, 1e150, 1e300}) {
        std::vector<double> scaled;
        for (const double x : wave) {
            scaled.push_back(x * scale);
        }
        series.push_back(scaled);
    }
    std::vector<double> polarised;
    for (const double x : series[0]) {
        polarised.push_back(component == 0 ? 0.8 * x : 0.6 * x);
    }
    series.push_back(polarised);
    std::vector<double> odd = wave;
    odd[100] = std::numeric_limits<double>::quiet_NaN();
    odd[400 + component] = component == 0 ? HUGE_VAL : -HUGE_VAL;
    series.push_back(odd);
    series.push_back(std::vector<double>(50, 0.0));
    return series;
}

TEST(RotationKernels, PruningKeepsEveryPeakOfStressingPairsOnEveryInstructionSet) {
    const AutomaticTargetAfterwards restore;
    const auto first = Adversarial(0);
    const auto second = Adversarial(1);
    for (const kernels::KernelTarget& target : kernels::AvailableKernelTargets()) {
        kernels::UseKernelTarget(target.id);
        for (std::size_t s = 0; s < first.size(); ++s) {
            std::array<double, kRotationAngles> plain{}, pruned{};
            RotatedPeaksOf(first[s].data(), second[s].data(), first[s].size(), false, plain);
            RotatedPeaksOf(first[s].data(), second[s].data(), first[s].size(), true, pruned);
            for (std::size_t a = 0; a < kRotationAngles; ++a) {
                ExpectSameBits(plain[a], pruned[a],
                               target.name + ", series " + std::to_string(s) + ", " +
                                   std::to_string(a) + " degrees");
            }
        }
    }
}

// After (1, 0) and (0, 1) the smallest peak is cos 45 degrees, at 45 and 135 degrees; a
// step along 45 degrees whose radius exceeds it by a ten-thousandth must still raise it.
TEST(RotationKernels, AStepJustAboveTheSmallestPeakRaisesIt) {
    const AutomaticTargetAfterwards restore;
    std::vector<double> x(24, 0.0), y(24, 0.0);
    for (std::size_t k = 0; k < 16; ++k) {
        (k % 2 == 0 ? x : y)[k] = 1.0;
    }
    const double along = 0.5 * (1 + 1e-4);  // a radius of cos 45 degrees (1 + 1e-4)
    x[17] = along;
    y[17] = along;
    for (const kernels::KernelTarget& target : kernels::AvailableKernelTargets()) {
        kernels::UseKernelTarget(target.id);
        std::array<double, kRotationAngles> plain{}, pruned{};
        RotatedPeaksOf(x.data(), y.data(), x.size(), false, plain);
        RotatedPeaksOf(x.data(), y.data(), x.size(), true, pruned);
        EXPECT_GT(plain[45], std::cos(std::numbers::pi / 4));
        for (std::size_t a = 0; a < kRotationAngles; ++a) {
            ExpectSameBits(plain[a], pruned[a], target.name + ", " + std::to_string(a));
        }
    }
}

TEST(RotationKernels, GroupsHoldEveryComputableOscillatorOnce) {
    AnalysisSettings settings;
    settings.maxDtOverT = 0.02;
    // 1e-9 s needs more than a million sub-steps of 0.01 s: refused, as by the single
    // component spectra.
    std::vector<double> periods = kPeriods;
    periods.push_back(1e-9);
    const std::vector<double> damping = {0.05, 0.02};
    for (const std::size_t groupPeriods : {2U, 4U, 8U, 16U}) {
        const auto plans = PlanRotatedGroups(settings, 0.01, damping, periods, groupPeriods);
        std::vector<int> seen(damping.size() * periods.size(), 0);
        for (const RotatedGroupPlan& plan : plans) {
            const rotation::PairGroup& group = plan.group;
            ASSERT_GE(group.periods, 1U);
            ASSERT_LE(group.periods, groupPeriods);
            for (std::size_t q = 0; q < group.periods; ++q) {
                const RotatedOscillator& o = plan.oscillators[q];
                ++seen[o.damping * periods.size() + o.period];
                const int n = OscillatorSubStepCount(0.01, periods[o.period], 0.02);
                EXPECT_EQ(group.subSteps[q], n);
                EXPECT_GE(n, group.minSubSteps);
                EXPECT_LE(n, group.maxSubSteps);
            }
        }
        for (std::size_t k = 0; k < seen.size(); ++k) {
            EXPECT_EQ(seen[k], k % periods.size() == periods.size() - 1 ? 0 : 1) << k;
        }
    }
}

TEST(RotationKernels, ACancelFlagStopsTheWorkAndAClearOneChangesNothing) {
    const Pair pair = Pairs().front();
    RotatedSpectraOptions options;
    options.dampingRatios = {0.05, 0.1};
    options.periods = kPeriods;
    options.threads = 2;
    for (const IntegrationMethod method :
         {IntegrationMethod::PiecewiseExact, IntegrationMethod::Newmark}) {
        AnalysisSettings settings;
        settings.method = method;
        const std::atomic<bool> clear{false};
        const std::atomic<bool> set{true};
        const auto alone = ComputeRotatedSpectra(settings, pair.h1, pair.h2, options);
        const auto watched = ComputeRotatedSpectra(settings, pair.h1, pair.h2, options, &clear);
        ASSERT_TRUE(alone && watched);
        for (std::size_t d = 0; d < options.dampingRatios.size(); ++d) {
            for (std::size_t p = 0; p < options.periods.size(); ++p) {
                const RotatedSpectrumPoint& expected = alone->damping[d].points[p];
                const RotatedSpectrumPoint& actual = watched->damping[d].points[p];
                ASSERT_EQ(expected.computed, actual.computed);
                if (expected.computed) {
                    ExpectSameBits(expected.psa.percentiles[1], actual.psa.percentiles[1],
                                   "RotD50");
                }
            }
        }
        EXPECT_FALSE(ComputeRotatedSpectra(settings, pair.h1, pair.h2, options, &set));
    }
}

}  // namespace
}  // namespace travik
