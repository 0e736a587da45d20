#include "core/analysis/OscillatorIntegrators.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <vector>

#include "TestRecords.h"

namespace travik {
namespace {

using test::LoadColumn;
using test::MakeRecord;

constexpr double kG = 980.0;

struct Peaks {
    double sd = 0, sv = 0, sa = 0;
};

Peaks Oscillate(const TimeHistory& record, double zeta, double period, double maxDtOverT,
                IntegrationMethod method = IntegrationMethod::PiecewiseExact,
                const AnalysisSettings& settings = {}) {
    Peaks p;
    EXPECT_TRUE(ComputeOscillatorPeaks(settings, record, kG, maxDtOverT, zeta, period, p.sd, p.sv,
                                       p.sa, false, method));
    return p;
}

// Closed-form response of a damped oscillator (unit mass) from rest, for the two inputs
// below, evaluated independently of the recurrence.
struct ClosedForm {
    double omega, zeta;
    double OmegaD() const { return omega * std::sqrt(1 - zeta * zeta); }
    // Total acceleration in g from the relative motion: -(2 zeta omega v + omega^2 u) / g.
    double TotalAcceleration(double u, double v) const {
        return -(2 * zeta * omega * v + omega * omega * u) / kG;
    }
};

// Constant ground acceleration a0 (g) from time 0.
struct StepResponse : ClosedForm {
    double a0;
    double U(double t) const {
        const double f = -kG * a0;
        const double wd = OmegaD();
        return f / (omega * omega) *
               (1 - std::exp(-zeta * omega * t) *
                        (std::cos(wd * t) + zeta * omega / wd * std::sin(wd * t)));
    }
    double V(double t) const {
        const double wd = OmegaD();
        return -kG * a0 * std::exp(-zeta * omega * t) * std::sin(wd * t) / wd;
    }
};

// Ground acceleration rising linearly from 0 to 1 g over `duration`.
struct RampResponse : ClosedForm {
    double duration;
    double Rate() const { return kG / duration; }
    double C1() const { return -2 * zeta * Rate() / (omega * omega * omega); }
    double C2() const { return (Rate() / (omega * omega) + zeta * omega * C1()) / OmegaD(); }
    double U(double t) const {
        const double r = Rate(), wd = OmegaD();
        const double particular = -r * (t / (omega * omega) - 2 * zeta / (omega * omega * omega));
        return particular +
               std::exp(-zeta * omega * t) * (C1() * std::cos(wd * t) + C2() * std::sin(wd * t));
    }
    double V(double t) const {
        const double wd = OmegaD(), c1 = C1(), c2 = C2();
        return -Rate() / (omega * omega) +
               std::exp(-zeta * omega * t) * ((-zeta * omega * c1 + wd * c2) * std::cos(wd * t) +
                                              (-zeta * omega * c2 - wd * c1) * std::sin(wd * t));
    }
};

// Peaks of a closed form read at the times step, 2 step, ..., count step.
template <typename Response>
Peaks PeaksAtSubStepEnds(const Response& response, double step, int count) {
    Peaks p;
    for (int m = 1; m <= count; ++m) {
        const double t = m * step;
        const double u = response.U(t), v = response.V(t);
        p.sd = std::max(p.sd, std::fabs(u));
        p.sv = std::max(p.sv, std::fabs(v));
        p.sa = std::max(p.sa, std::fabs(response.TotalAcceleration(u, v)));
    }
    return p;
}

void ExpectRelativelyNear(const Peaks& actual, const Peaks& expected, double tolerance) {
    EXPECT_NEAR(actual.sd, expected.sd, tolerance * expected.sd);
    EXPECT_NEAR(actual.sv, expected.sv, tolerance * expected.sv);
    EXPECT_NEAR(actual.sa, expected.sa, tolerance * expected.sa);
}

TEST(OscillatorIntegrators, StepOfConstantGroundAccelerationMatchesTheClosedForm) {
    const double dt = 0.01, period = 0.4, zeta = 0.05;
    const TimeHistory record = MakeRecord(std::vector<double>(301, 0.3), dt);
    // maxDtOverT 0.1: dt / (T 0.1) = 0.25, one sub-step per sample interval.
    const Peaks peaks = Oscillate(record, zeta, period, 0.1);
    const StepResponse exact{{kTwoPi / period, zeta}, 0.3};
    ExpectRelativelyNear(peaks, PeaksAtSubStepEnds(exact, dt, 300), 1e-9);
    // Close to the textbook dynamic amplification of a suddenly applied load.
    EXPECT_NEAR(peaks.sd,
                0.3 * kG / std::pow(kTwoPi / period, 2) * (1 + std::exp(-zeta * std::numbers::pi)),
                1e-3 * peaks.sd);
}

TEST(OscillatorIntegrators, RampOfOneGOverOneIntervalMatchesTheClosedFormAtEverySubStepEnd) {
    const double dt = 0.02, period = 0.5, zeta = 0.1;
    const TimeHistory record = MakeRecord({0.0, 1.0}, dt);
    // dt / (T 0.01) = 4 exactly, so n = 5 sub-steps of dt / 5.
    const Peaks peaks = Oscillate(record, zeta, period, 0.01);
    const RampResponse exact{{kTwoPi / period, zeta}, dt};
    ExpectRelativelyNear(peaks, PeaksAtSubStepEnds(exact, dt / 5, 5), 1e-9);
}

TEST(OscillatorIntegrators, LongHarmonicAtResonanceReachesTheSteadyStateAmplification) {
    const double period = 0.5, zeta = 0.05, amplitude = 0.2;
    const double omega = kTwoPi / period;
    const double dt = period / 100;
    std::vector<double> samples;
    for (int i = 0; i <= 100 * 60; ++i) {
        samples.push_back(amplitude * std::sin(omega * i * dt));
    }
    const TimeHistory record = MakeRecord(samples, dt);
    const double sd = kG * amplitude / (2 * zeta * omega * omega);
    const Peaks expected{sd, omega * sd, amplitude * std::sqrt(1 + 4 * zeta * zeta) / (2 * zeta)};
    // Linear interpolation of the sine and peaks read at the samples cost a few 1e-4.
    ExpectRelativelyNear(Oscillate(record, zeta, period, 0.02), expected, 2e-3);
    ExpectRelativelyNear(Oscillate(record, zeta, period, 0.02, IntegrationMethod::Newmark),
                         expected, 2e-3);
}

TEST(OscillatorIntegrators, SubStepCountFollowsTheRatioRuleIncludingWholeNumbers) {
    // dt / (T maxDtOverT) = 0.0078125 / (0.0625 * 0.0625) = 2 exactly: n = 3, h = dt / 3.
    // With 50 % damping the first peak, at T / (2 sqrt(1 - 0.25)) = 0.577 T, falls nearer to a
    // point of the dt / 3 grid than to any point of the dt / 2 or dt / 4 grids.
    const double dt = 0.0078125, zeta = 0.5;
    const TimeHistory record = MakeRecord(std::vector<double>(41, 1.0), dt);
    const Peaks shortPeriod = Oscillate(record, zeta, 0.0625, 0.0625);
    const StepResponse atShort{{kTwoPi / 0.0625, zeta}, 1.0};
    ExpectRelativelyNear(shortPeriod, PeaksAtSubStepEnds(atShort, dt / 3, 120), 1e-9);
    // Two or four sub-steps would read the peak at other times.
    EXPECT_GT(std::fabs(shortPeriod.sd - PeaksAtSubStepEnds(atShort, dt / 2, 80).sd),
              1e-5 * shortPeriod.sd);
    EXPECT_GT(std::fabs(shortPeriod.sd - PeaksAtSubStepEnds(atShort, dt / 4, 160).sd),
              1e-5 * shortPeriod.sd);

    // T = 0.5 s: ratio 0.25, one sub-step.
    const TimeHistory longer = MakeRecord(std::vector<double>(201, 1.0), dt);
    const StepResponse atLong{{kTwoPi / 0.5, zeta}, 1.0};
    ExpectRelativelyNear(Oscillate(longer, zeta, 0.5, 0.0625), PeaksAtSubStepEnds(atLong, dt, 200),
                         1e-9);
}

TEST(OscillatorIntegrators, VeryShortPeriodFollowsTheGroundAndVeryLongPeriodStaysStill) {
    const std::vector<double> samples = LoadColumn("elcentro-1940-chopra-ns.txt");
    ASSERT_EQ(samples.size(), 1560u);
    const double dt = 0.02;
    const TimeHistory record = MakeRecord(samples, dt);

    // A stiff oscillator moves with the ground: peak total acceleration = PGA.
    const Peaks stiff = Oscillate(record, 0.05, 0.002, 0.1);
    EXPECT_NEAR(stiff.sa, 0.31882, 0.005 * 0.31882);

    // A very soft undamped oscillator keeps its mass at rest: its relative motion is the
    // ground's, integrated here exactly for acceleration linear between samples.
    double v = 0, d = 0, pgv = 0, pgd = 0;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        d += dt * v + dt * dt * kG * (2 * samples[i - 1] + samples[i]) / 6;
        v += dt * kG * (samples[i - 1] + samples[i]) / 2;
        pgv = std::max(pgv, std::fabs(v));
        pgd = std::max(pgd, std::fabs(d));
    }
    const Peaks soft = Oscillate(record, 0.0, 10000.0, 0.02);
    EXPECT_NEAR(soft.sd, pgd, 1e-3 * pgd);
    EXPECT_NEAR(soft.sv, pgv, 1e-3 * pgv);
}

// A literal one-oscillator-at-a-time transcription of the recurrence and of Newmark's
// step, dividing by g at every step, to check that the program's faster arrangement does
// exactly the same arithmetic.
Peaks PlainPort(const std::vector<double>& a, double dt, double zeta, double period,
                double maxDtOverT, IntegrationMethod method, double beta, double gamma) {
    const double omega = 6.2831852 / period;
    const int n = static_cast<int>(dt / (period * maxDtOverT) + 1);
    const double h = dt / n;
    const PiecewiseExactCoefficients c = ComputePiecewiseExactCoefficients(zeta, h, omega);
    const double m = 1, k = omega * omega * m, cd = 2 * m * omega * zeta;
    const double kHat = gamma * cd / (beta * h) + k + m / (beta * (h * h));
    const double a1 = m / (beta * h) + gamma * cd / beta;
    const double b1 = m / (2 * beta) + h * cd * (gamma / (2 * beta) - 1);
    Peaks p;
    double u = 0, v = 0, w = 0;
    for (std::size_t j = 1; j < a.size(); ++j) {
        const double delta = (a[j] - a[j - 1]) * kG / n;
        for (int i = 1; i <= n; ++i) {
            const double p0 = (i - 1) * delta + kG * a[j - 1];
            const double p1 = i * delta + kG * a[j - 1];
            double u1, v1, alpha;
            if (method == IntegrationMethod::PiecewiseExact) {
                u1 = c.A * u + c.B * v + c.C * p0 + c.D * p1;
                v1 = c.Ap * u + c.Bp * v + c.Cp * p0 + c.Dp * p1;
                alpha = -(2 * zeta * omega * v1 + omega * omega * u1) / kG;
            } else {
                const double dp = (p0 - p1) + a1 * v + b1 * w;
                const double du = dp / kHat;
                const double dv =
                    gamma / (beta * h) * du - gamma / beta * v + h * (1 - gamma / (2 * beta)) * w;
                const double dw = du / (beta * (h * h)) - v / (beta * h) - w / (2 * beta);
                u1 = u + du;
                v1 = v + dv;
                w = w + dw;
                alpha = (w + p1) / kG;
            }
            if (std::fabs(u1) > p.sd)
                p.sd = std::fabs(u1);
            if (std::fabs(v1) > p.sv)
                p.sv = std::fabs(v1);
            if (std::fabs(alpha) > p.sa)
                p.sa = std::fabs(alpha);
            u = u1;
            v = v1;
        }
    }
    return p;
}

std::vector<double> NoisyRecord(std::size_t count) {
    std::vector<double> samples;
    std::uint64_t state = 12345;
    for (std::size_t i = 0; i < count; ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const double unit = static_cast<double>(state >> 11) * 0x1.0p-53;
        samples.push_back((unit - 0.5) * 0.6 * std::sin(static_cast<double>(i) * 0.013));
    }
    return samples;
}

TEST(OscillatorIntegrators, SingleAndBatchedRunsGiveTheDigitsOfAPlainTranscription) {
    const std::vector<double> samples = NoisyRecord(400);
    const double dt = 0.01;
    const TimeHistory record = MakeRecord(samples, dt);
    AnalysisSettings settings;
    settings.beta = 0.3;
    settings.gamma = 0.6;
    for (const IntegrationMethod method :
         {IntegrationMethod::PiecewiseExact, IntegrationMethod::Newmark}) {
        std::vector<OscillatorRun> runs;
        for (const double zeta : {0.05, 0.0, 0.3, -0.02, 0.1}) {
            for (const double period : {0.02, 0.03, 0.05, 0.26, 0.5, 1.0, 3.0}) {
                runs.push_back({zeta, period});
            }
        }
        ComputeOscillatorPeaksBatch(settings, record, kG, 0.02, false, method, runs);
        for (const OscillatorRun& run : runs) {
            const Peaks plain = PlainPort(samples, dt, run.dampingRatio, run.period, 0.02, method,
                                          settings.beta, settings.gamma);
            Peaks single;
            ASSERT_TRUE(ComputeOscillatorPeaks(settings, record, kG, 0.02, run.dampingRatio,
                                               run.period, single.sd, single.sv, single.sa, false,
                                               method));
            ASSERT_TRUE(run.computed);
            EXPECT_EQ(single.sd, plain.sd);
            EXPECT_EQ(single.sv, plain.sv);
            EXPECT_EQ(single.sa, plain.sa);
            EXPECT_EQ(run.sd, plain.sd);
            EXPECT_EQ(run.sv, plain.sv);
            EXPECT_EQ(run.sa, plain.sa);
        }
    }
}

TEST(OscillatorIntegrators, NewmarkIsCloseToButNotTheSameAsTheExactRecurrence) {
    const TimeHistory record = MakeRecord(LoadColumn("elcentro-1940-chopra-ns.txt"), 0.02);
    for (const double period : {0.3, 1.0, 2.0}) {
        const Peaks exact = Oscillate(record, 0.05, period, 0.02);
        const Peaks newmark = Oscillate(record, 0.05, period, 0.02, IntegrationMethod::Newmark);
        ExpectRelativelyNear(newmark, exact, 5e-3);
        EXPECT_NE(newmark.sd, exact.sd);
    }
}

TEST(OscillatorIntegrators, NewmarkRelativeAccelerationStartsAtZero) {
    // Ground acceleration constant from the first sample: with w starting at 0 the first
    // step sees no change of load, so nothing moves and the total acceleration is the
    // ground's.
    const TimeHistory record = MakeRecord({0.5, 0.5}, 0.01);
    const Peaks p = Oscillate(record, 0.05, 1.0, 0.02, IntegrationMethod::Newmark);
    EXPECT_EQ(p.sd, 0.0);
    EXPECT_EQ(p.sv, 0.0);
    EXPECT_DOUBLE_EQ(p.sa, 0.5);
}

TEST(OscillatorIntegrators, TrivialRecordsGiveZeroPeaksAndEmptyOnesFail) {
    EXPECT_EQ(Oscillate(MakeRecord({0.7}, 0.01), 0.05, 1.0, 0.02).sa, 0.0);
    const Peaks zeros = Oscillate(MakeRecord(std::vector<double>(50, 0.0), 0.01), 0.05, 0.1, 0.02);
    EXPECT_EQ(zeros.sd, 0.0);
    EXPECT_EQ(zeros.sv, 0.0);
    EXPECT_EQ(zeros.sa, 0.0);

    // An uncorrected record asked for its corrected series has none.
    const TimeHistory record = MakeRecord({0.1, 0.2}, 0.01);
    double sd = -1, sv = -2, sa = -3;
    EXPECT_FALSE(ComputeOscillatorPeaks({}, record, kG, 0.02, 0.05, 1.0, sd, sv, sa, true,
                                        IntegrationMethod::PiecewiseExact));
    EXPECT_EQ(sd, -1);
    EXPECT_EQ(sv, -2);
    EXPECT_EQ(sa, -3);
}

TEST(OscillatorIntegrators, CorrectedRecordsAreAnalysedThroughTheirCorrectedSeries) {
    TimeHistory record = MakeRecord({0.0, 1.0, 0.0}, 0.01);
    record.MutableCorrectedAcceleration() = {0.0, 0.0, 0.0};
    record.SetCorrected(true);
    double sd = -1, sv = -1, sa = -1;
    ASSERT_TRUE(ComputeOscillatorPeaks({}, record, kG, 0.02, 0.05, 1.0, sd, sv, sa, true,
                                       IntegrationMethod::PiecewiseExact));
    EXPECT_EQ(sa, 0.0);
    ASSERT_TRUE(ComputeOscillatorPeaks({}, record, kG, 0.02, 0.05, 1.0, sd, sv, sa, false,
                                       IntegrationMethod::PiecewiseExact));
    EXPECT_GT(sa, 0.0);
}

TEST(OscillatorIntegrators, UndefinedComputationsFailInsteadOfHangingOrReturningZeros) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const auto fails = [](const TimeHistory& record, double zeta, double period, double ratio,
                          IntegrationMethod method, double beta) {
        AnalysisSettings settings;
        settings.beta = beta;
        double sd = 7, sv = 7, sa = 7;
        const bool ok = ComputeOscillatorPeaks(settings, record, kG, ratio, zeta, period, sd, sv,
                                               sa, false, method);
        return !ok && sd == 7 && sv == 7 && sa == 7;
    };
    const auto exact = IntegrationMethod::PiecewiseExact;
    const TimeHistory good = MakeRecord({0.0, 0.1, -0.1}, 0.01);
    for (const double dt : {0.0, -0.01, nan, inf}) {
        EXPECT_TRUE(fails(MakeRecord({0.0, 0.1, -0.1}, dt), 0.05, 1.0, 0.02, exact, 0.25)) << dt;
    }
    // n = trunc(0.01 / (1e-9 * 0.02) + 1) = 500,000,001 sub-steps per interval.
    EXPECT_TRUE(fails(good, 0.05, 1e-9, 0.02, exact, 0.25));
    EXPECT_TRUE(fails(good, 0.05, 0.0, 0.02, exact, 0.25));
    EXPECT_TRUE(fails(good, 0.05, 1.0, 0.0, exact, 0.25));
    EXPECT_TRUE(fails(good, 0.05, nan, 0.02, exact, 0.25));
    // No damped frequency at critical damping or beyond.
    for (const double zeta : {1.0, -1.0, -2.5, 1.5}) {
        EXPECT_TRUE(fails(good, zeta, 1.0, 0.02, exact, 0.25)) << zeta;
    }
    EXPECT_TRUE(fails(good, 0.05, 1.0, 0.02, IntegrationMethod::Newmark, 0.0));

    // Just inside the limits the computation runs: a million sub-steps, zero damping.
    double sd = 0, sv = 0, sa = 0;
    EXPECT_TRUE(ComputeOscillatorPeaks({}, good, kG, 0.02, 0.05, 0.01 / (999999.5 * 0.02), sd, sv,
                                       sa, false, exact));
    EXPECT_TRUE(ComputeOscillatorPeaks({}, good, kG, 0.02, 0.0, 1.0, sd, sv, sa, false, exact));
    EXPECT_GT(sd, 0.0);
}

TEST(OscillatorIntegrators, ZeroDampingCoefficientsAreTheUndampedRecurrence) {
    const double omega = 10.0, h = 0.01;
    const PiecewiseExactCoefficients c = ComputePiecewiseExactCoefficients(0.0, h, omega);
    EXPECT_DOUBLE_EQ(c.A, std::cos(omega * h));
    EXPECT_DOUBLE_EQ(c.B, std::sin(omega * h) / omega);
    EXPECT_DOUBLE_EQ(c.Ap, -omega * std::sin(omega * h));
    EXPECT_DOUBLE_EQ(c.Bp, std::cos(omega * h));
    // A constant load held over the step: u1 = -(p / omega^2)(1 - cos(omega h)) from rest.
    EXPECT_NEAR(c.C + c.D, -(1 - std::cos(omega * h)) / (omega * omega), 1e-15);
}

TEST(OscillatorIntegrators, NonNumbersNeverReplaceAPeak) {
    // After the non-number every state is a non-number; the peaks keep what came before.
    const Peaks withNan =
        Oscillate(MakeRecord({0.0, 0.5, std::nan(""), 0.5}, 0.01), 0.05, 0.3, 0.02);
    const Peaks clean = Oscillate(MakeRecord({0.0, 0.5}, 0.01), 0.05, 0.3, 0.02);
    EXPECT_EQ(withNan.sd, clean.sd);
    EXPECT_EQ(withNan.sv, clean.sv);
    EXPECT_EQ(withNan.sa, clean.sa);
    EXPECT_GT(clean.sa, 0.0);
}

}  // namespace
}  // namespace travik
