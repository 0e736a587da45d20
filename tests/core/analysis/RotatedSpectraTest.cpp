// Rotated (orientation-independent) spectra of two horizontal components: closed forms,
// agreement with the single-component spectra to the last bit, and published references.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "TestRecords.h"
#include "core/analysis/OscillatorIntegrators.h"
#include "core/rotation/RotatedSpectra.h"

namespace travik {
namespace {

using test::LoadColumn;
using test::LoadCsv;
using test::MakeRecord;

double RelativeDifference(double actual, double reference) {
    return std::fabs(actual - reference) / std::fabs(reference);
}

// A short two-component motion: two sines of different frequency and phase.
std::vector<double> Wave(double frequency, double phase, double amplitude) {
    std::vector<double> samples;
    for (int i = 0; i < 600; ++i) {
        const double t = i * 0.01;
        samples.push_back(amplitude * std::sin(2 * std::numbers::pi * frequency * t + phase) *
                          std::exp(-0.3 * t));
    }
    return samples;
}

RotatedSpectraOptions Options(std::vector<double> periods, double damping = 0.05) {
    RotatedSpectraOptions options;
    options.dampingRatios = {damping};
    options.periods = std::move(periods);
    return options;
}

const std::vector<double> kPeriods{0.05, 0.2, 0.5, 1.0, 3.0};

TEST(RotatedSpectra, PercentilesInterpolateBetweenSortedValues) {
    // 0..179 shuffled: the median of 180 values is the mean of the 90th and 91st (89, 90).
    std::vector<double> values;
    for (int i = 0; i < 180; ++i) {
        values.push_back((i * 37) % 180);
    }
    EXPECT_DOUBLE_EQ(PercentileOf(values, 50), 89.5);
    EXPECT_DOUBLE_EQ(PercentileOf(values, 0), 0);
    EXPECT_DOUBLE_EQ(PercentileOf(values, 100), 179);
    EXPECT_DOUBLE_EQ(PercentileOf(values, 90), 161.1);  // rank 0.9 * 179
    EXPECT_DOUBLE_EQ(PercentileOf({4, 1, 3, 2}, 50), 2.5);
}

TEST(RotatedSpectra, OptionsNameTheValueTheyRefuse) {
    RotatedSpectraOptions options = Options({0.1});
    EXPECT_FALSE(options.Validate());
    options.percentiles = {50, 101};
    EXPECT_EQ(*options.Validate(), "Invalid percentile: 101.");
    options.percentiles = {50};
    options.periods = {0.1, 0};
    EXPECT_EQ(*options.Validate(), "Invalid period: 0.");
    options.periods = {0.1};
    options.dampingRatios = {1.0};
    EXPECT_EQ(*options.Validate(), "Invalid damping ratio: 1.");
    options.dampingRatios = {};
    EXPECT_EQ(*options.Validate(), "No damping ratio given.");
}

TEST(RotatedSpectra, DisplacementHistoryPeaksAreTheSingleComponentPeaksBitForBit) {
    const TimeHistory record = MakeRecord(LoadColumn("boore-whittier-cat-090.txt"), 0.02);
    for (const IntegrationMethod method :
         {IntegrationMethod::PiecewiseExact, IntegrationMethod::Newmark}) {
        for (const double period : {0.01, 0.1, 1.0, 10.0}) {
            double sd = 0, sv = 0, sa = 0;
            ASSERT_TRUE(ComputeOscillatorPeaks({}, record, 981, 0.02, 0.05, period, sd, sv, sa,
                                               false, method));
            DOUBLEVECTOR u;
            ASSERT_TRUE(ComputeOscillatorDisplacements({}, record.RawAcceleration(), 0.02, 981,
                                                       0.02, 0.05, period, method, u));
            const int n = OscillatorSubStepCount(0.02, period, 0.02);
            ASSERT_EQ(u.size(), (record.RawAcceleration().size() - 1) * n);
            double peak = 0;
            for (const double x : u) {
                peak = std::max(peak, std::fabs(x));
            }
            EXPECT_EQ(peak, sd) << period;
        }
    }
}

TEST(RotatedSpectra, FirstComponentPsaIsTheSingleComponentPsaBitForBit) {
    const TimeHistory h1 = MakeRecord(LoadColumn("peer-chinohills-rsn8883-360.txt"), 0.005);
    const TimeHistory h2 = MakeRecord(LoadColumn("peer-chinohills-rsn8883-090.txt"), 0.005);
    AnalysisSettings settings;
    settings.maxDtOverT = 0.1;
    const auto result = ComputeRotatedSpectra(settings, h1, h2, Options({0.02, 0.3, 2.0, 10.0}));
    ASSERT_TRUE(result);
    for (std::size_t k = 0; k < 4; ++k) {
        const double period = result->options.periods[k];
        const RotatedPeaks& psa = result->damping[0].points[k].psa;
        for (int c = 0; c < 2; ++c) {
            double sd = 0, sv = 0, sa = 0;
            ASSERT_TRUE(ComputeOscillatorPeaks(settings, c == 0 ? h1 : h2, settings.g, 0.1, 0.05,
                                               period, sd, sv, sa, false, settings.method));
            const double omega = kTwoPi / period;
            EXPECT_EQ(c == 0 ? psa.h1 : psa.h2, omega * omega * sd / settings.g) << period;
        }
        // At 0 and 90 degrees the rotated component is H1 and H2 themselves.
        EXPECT_EQ(psa.peaks[0], psa.h1);
        EXPECT_EQ(psa.peaks[90], psa.h2);
    }
}

TEST(RotatedSpectra, PruningLeavesEveryPeakBitForBit) {
    const auto a1 = LoadColumn("boore-whittier-cat-090.txt");
    const auto a2 = LoadColumn("boore-whittier-cat-180.txt");
    for (const double period : {0.02, 0.3, 3.0, 20.0}) {
        DOUBLEVECTOR u1, u2;
        ASSERT_TRUE(ComputeOscillatorDisplacements({}, a1, 0.02, 981, 0.02, 0.05, period,
                                                   IntegrationMethod::PiecewiseExact, u1));
        ASSERT_TRUE(ComputeOscillatorDisplacements({}, a2, 0.02, 981, 0.02, 0.05, period,
                                                   IntegrationMethod::PiecewiseExact, u2));
        std::array<double, kRotationAngles> plain{}, pruned{};
        RotatedPeaksOf(u1.data(), u2.data(), u1.size(), false, plain);
        RotatedPeaksOf(u1.data(), u2.data(), u1.size(), true, pruned);
        for (std::size_t a = 0; a < kRotationAngles; ++a) {
            ASSERT_EQ(plain[a], pruned[a]) << period << " s, " << a << " deg";
        }
    }
}

TEST(RotatedSpectra, SecondComponentZeroGivesFirstAtZeroDegreesAndZeroMinimum) {
    const TimeHistory h1 = MakeRecord(Wave(1.3, 0.2, 0.3), 0.01);
    const TimeHistory h2 = MakeRecord(std::vector<double>(600, 0.0), 0.01);
    const auto result = ComputeRotatedSpectra({}, h1, h2, Options(kPeriods));
    ASSERT_TRUE(result);
    for (const RotatedSpectrumPoint& point : result->damping[0].points) {
        ASSERT_TRUE(point.computed);
        EXPECT_EQ(point.psa.percentiles[2], point.psa.h1);
        EXPECT_EQ(point.psa.maxAngle, 0);
        EXPECT_EQ(point.psa.percentiles[0], 0.0);
        // |cos theta| PSa(H1): sorted, 0 then |cos 89|, |cos 89|, |cos 88|, ...: the 90th and
        // 91st values are both |cos 45| PSa(H1).
        const double median = std::cos(45 * std::numbers::pi / 180) * point.psa.h1;
        EXPECT_NEAR(point.psa.percentiles[1], median, 1e-12 * point.psa.h1);
    }
    EXPECT_EQ(result->pga.percentiles[2], result->pga.h1);
    EXPECT_EQ(result->pga.percentiles[0], 0.0);
}

TEST(RotatedSpectra, EqualComponentsGiveRootTwoAtFortyFiveDegrees) {
    const TimeHistory h1 = MakeRecord(Wave(2.1, 0.7, 0.25), 0.01);
    const auto result = ComputeRotatedSpectra({}, h1, h1, Options(kPeriods));
    ASSERT_TRUE(result);
    for (const RotatedSpectrumPoint& point : result->damping[0].points) {
        EXPECT_NEAR(point.psa.percentiles[2], std::sqrt(2.0) * point.psa.h1, 1e-12 * point.psa.h1);
        EXPECT_EQ(point.psa.maxAngle, 45);
        EXPECT_NEAR(point.psa.percentiles[0], 0.0, 1e-12 * point.psa.h1);  // at 135 degrees
    }
}

TEST(RotatedSpectra, SwappedComponentsMirrorTheAngleAndKeepThePercentiles) {
    const TimeHistory h1 = MakeRecord(Wave(1.7, 0.1, 0.3), 0.01);
    const TimeHistory h2 = MakeRecord(Wave(0.9, 1.2, 0.2), 0.01);
    const auto forward = ComputeRotatedSpectra({}, h1, h2, Options(kPeriods));
    const auto swapped = ComputeRotatedSpectra({}, h2, h1, Options(kPeriods));
    ASSERT_TRUE(forward && swapped);
    for (std::size_t k = 0; k < kPeriods.size(); ++k) {
        const RotatedPeaks& f = forward->damping[0].points[k].psa;
        const RotatedPeaks& s = swapped->damping[0].points[k].psa;
        // h2 cos t + h1 sin t is the forward component at 90 - t, i.e. at (90 - t) mod 180
        // with the sign of no account.
        EXPECT_EQ(s.maxAngle, (90 - f.maxAngle + 180) % 180) << kPeriods[k];
        for (std::size_t p = 0; p < 3; ++p) {
            EXPECT_NEAR(s.percentiles[p], f.percentiles[p], 1e-12 * f.percentiles[2]);
        }
        EXPECT_EQ(s.h1, f.h2);
        EXPECT_EQ(s.h2, f.h1);
    }
}

TEST(RotatedSpectra, PairTurnedByThirtyDegreesShiftsTheAngle) {
    const auto a = Wave(1.7, 0.1, 0.3);
    const auto b = Wave(0.9, 1.2, 0.2);
    const double turn = 30 * std::numbers::pi / 180;
    // The pair as recorded by sensors turned by 30 degrees: H1' = component at 30 degrees,
    // H2' = component at 120 degrees, so H1' cos t + H2' sin t is the original at 30 + t.
    std::vector<double> c, d;
    for (std::size_t i = 0; i < a.size(); ++i) {
        c.push_back(std::cos(turn) * a[i] + std::sin(turn) * b[i]);
        d.push_back(-std::sin(turn) * a[i] + std::cos(turn) * b[i]);
    }
    const auto original =
        ComputeRotatedSpectra({}, MakeRecord(a, 0.01), MakeRecord(b, 0.01), Options(kPeriods));
    const auto turned =
        ComputeRotatedSpectra({}, MakeRecord(c, 0.01), MakeRecord(d, 0.01), Options(kPeriods));
    ASSERT_TRUE(original && turned);
    for (std::size_t k = 0; k < kPeriods.size(); ++k) {
        const RotatedPeaks& o = original->damping[0].points[k].psa;
        const RotatedPeaks& t = turned->damping[0].points[k].psa;
        EXPECT_EQ((t.maxAngle + 30) % 180, o.maxAngle) << kPeriods[k];
        for (std::size_t p = 0; p < 3; ++p) {
            EXPECT_NEAR(t.percentiles[p], o.percentiles[p], 1e-9 * o.percentiles[2]);
        }
    }
}

TEST(RotatedSpectra, RefusesPairsOfDifferentTimeSteps) {
    const auto a = Wave(1.7, 0.1, 0.3);
    EXPECT_FALSE(
        ComputeRotatedSpectra({}, MakeRecord(a, 0.01), MakeRecord(a, 0.005), Options(kPeriods)));
}

// PEER NGA-West2 RotD50 of RSN 8883 (five significant digits) at 2 % and 5 % damping, with
// sub-steps of at most T / 10.
TEST(RotatedSpectra, PeerChinoHillsRotD50WithinTheReferenceDigits) {
    const auto rows = LoadCsv("peer-chinohills-rsn8883-spectra.csv");
    ASSERT_EQ(rows.size(), 111u);
    const TimeHistory h1 = MakeRecord(LoadColumn("peer-chinohills-rsn8883-360.txt"), 0.005);
    const TimeHistory h2 = MakeRecord(LoadColumn("peer-chinohills-rsn8883-090.txt"), 0.005);
    RotatedSpectraOptions options;
    options.dampingRatios = {0.05, 0.02};
    for (const auto& row : rows) {
        options.periods.push_back(std::stod(row[0]));
    }
    options.threads = 0;
    AnalysisSettings settings;
    settings.maxDtOverT = 0.1;
    const auto result = ComputeRotatedSpectra(settings, h1, h2, options);
    ASSERT_TRUE(result);
    double worst = 0;
    for (std::size_t d = 0; d < 2; ++d) {
        for (std::size_t k = 0; k < rows.size(); ++k) {
            const double reference = std::stod(rows[k][3 + d]);
            const double difference =
                RelativeDifference(result->damping[d].points[k].psa.percentiles[1], reference);
            worst = std::max(worst, difference);
            EXPECT_LT(difference, 3e-4)
                << "damping " << options.dampingRatios[d] << " T " << options.periods[k];
        }
    }
    RecordProperty("worst", std::to_string(worst));
}

// D. M. Boore's program (no sub-steps, peaks at the samples). Its periods are printed with
// four decimals from frequencies; where that print is rounded (0.0167 s, 0.0667 s, ...) the
// single-component PSa of either component already differs by more than 1e-5, and the
// period is passed over.
TEST(RotatedSpectra, BooreWhittierRotD50AndRotD100AndGmrotI50Angle) {
    const auto rows = LoadCsv("boore-whittier-cat-rotd.csv");
    ASSERT_EQ(rows.size(), 112u);
    TimeHistory h1 = MakeRecord(LoadColumn("boore-whittier-cat-090.txt"), 0.02);
    TimeHistory h2 = MakeRecord(LoadColumn("boore-whittier-cat-180.txt"), 0.02);
    IntegrateMotion(h1, 981, MotionSet::Raw);
    IntegrateMotion(h2, 981, MotionSet::Raw);
    RotatedSpectraOptions options = Options({});
    for (const auto& row : rows) {
        options.periods.push_back(std::stod(row[0]));
    }
    AnalysisSettings settings;
    settings.g = 981;
    settings.maxDtOverT = 3;
    const auto result = ComputeRotatedSpectra(settings, h1, h2, options);
    ASSERT_TRUE(result);
    const RotatedDampingSpectra& spectra = result->damping[0];
    EXPECT_EQ(spectra.gmrotI50Angle, 35);
    int compared = 0;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const RotatedPeaks& psa = spectra.points[k].psa;
        const auto ref = [&](int column) { return std::stod(rows[k][column]) / 981; };
        const double period = std::stod(rows[k][0]);
        if (std::fabs(period * 1000 - std::round(period * 1000)) > 1e-9) {
            continue;  // a rounded print of a period given by its frequency
        }
        ++compared;
        EXPECT_LT(RelativeDifference(psa.percentiles[1], ref(5)), 1e-4) << rows[k][0];
        EXPECT_LT(RelativeDifference(psa.percentiles[2], ref(6)), 1e-4) << rows[k][0];
        EXPECT_EQ(psa.maxAngle, std::stoi(rows[k][8])) << rows[k][0];
        // The reference searches only a subset of the time steps, so its RotD00 and
        // GMRotI50 can be lower than the peaks over every step, never higher.
        EXPECT_GT(psa.percentiles[0], ref(4) * (1 - 1e-4)) << rows[k][0];
        EXPECT_GT(spectra.gmrotI50[k], ref(3) * (1 - 1e-4)) << rows[k][0];
    }
    EXPECT_EQ(compared, 79);
    // Ground motion, printed with five significant digits (cm/sec^2 and cm/sec).
    EXPECT_LT(RelativeDifference(result->pga.percentiles[0] * 981, 38.159), 2e-4);
    EXPECT_LT(RelativeDifference(result->pga.percentiles[1] * 981, 46.871), 2e-4);
    EXPECT_LT(RelativeDifference(result->pga.percentiles[2] * 981, 60.668), 2e-4);
    EXPECT_EQ(result->pga.maxAngle, 107);
    EXPECT_LT(RelativeDifference(spectra.pgaGmrotI50 * 981, 50.45383), 2e-4);
    ASSERT_TRUE(result->pgv);
    // The reference integrates velocity its own way; here only the rotation of it is checked.
    EXPECT_EQ(result->pgv->peaks[0], result->pgv->h1);
    EXPECT_EQ(result->pgv->peaks[90], result->pgv->h2);
    EXPECT_GE(result->pgv->percentiles[2], std::max(result->pgv->h1, result->pgv->h2));
}

}  // namespace
}  // namespace travik
