#include "core/records/CorrectedSet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

namespace travik {
namespace {

constexpr double kG = 980.0;

TimeHistory Integrated(const std::vector<double>& samples, double dt, double gravity = kG) {
    TimeHistory record("r.txt", dt);
    for (const double sample : samples) {
        record.AppendAcceleration(sample);
    }
    IntegrateMotion(record, gravity, MotionSet::Raw);
    record.SetIntegrated(true);
    return record;
}

TimeHistory FiveSampleRecord() {
    return Integrated({0.0, 0.1, -0.05, 0.02, 0.0}, 0.01);
}

// A drifting record long enough for the fits to matter: a decaying oscillation on an
// offset, as an instrument with a shifted zero would record it.
TimeHistory DriftingRecord(double gravity = kG) {
    std::vector<double> samples;
    for (int i = 0; i < 1001; ++i) {
        const double t = 0.01 * i;
        samples.push_back(0.1 * std::sin(3.0 * t) * std::exp(-0.2 * t) + 0.003 + 0.0004 * t);
    }
    return Integrated(samples, 0.01, gravity);
}

// ---- Independent fits, by Gauss-Legendre quadrature of the continuous least-squares
// problems over the exact motion of acceleration varying linearly between samples.

constexpr std::array<double, 4> kNodes = {-0.8611363115940526, -0.3399810435848563,
                                          0.3399810435848563, 0.8611363115940526};
constexpr std::array<double, 4> kWeights = {0.3478548451374538, 0.6521451548625461,
                                            0.6521451548625461, 0.3478548451374538};

struct Motion {
    std::vector<double> v;  // velocity at the samples
    std::vector<double> d;  // displacement at the samples
};

Motion ExactMotion(const std::vector<double>& a, double dt, double gravity) {
    Motion m{std::vector<double>(a.size(), 0.0), std::vector<double>(a.size(), 0.0)};
    for (std::size_t i = 1; i < a.size(); ++i) {
        const double a0 = gravity * a[i - 1];
        const double a1 = gravity * a[i];
        m.v[i] = m.v[i - 1] + dt * (a0 + a1) / 2.0;
        m.d[i] = m.d[i - 1] + dt * m.v[i - 1] + dt * dt * (2.0 * a0 + a1) / 6.0;
    }
    return m;
}

// Integrates f(t, velocity, displacement) over the record.
template <typename F>
double Integral(const std::vector<double>& a, double dt, double gravity, const Motion& m, F f) {
    double total = 0.0;
    for (std::size_t i = 0; i + 1 < a.size(); ++i) {
        const double a0 = gravity * a[i];
        const double slope = (gravity * a[i + 1] - a0) / dt;
        for (std::size_t q = 0; q < kNodes.size(); ++q) {
            const double tau = 0.5 * dt * (kNodes[q] + 1.0);
            const double v = m.v[i] + a0 * tau + slope * tau * tau / 2.0;
            const double d =
                m.d[i] + m.v[i] * tau + a0 * tau * tau / 2.0 + slope * tau * tau * tau / 6.0;
            total += 0.5 * dt * kWeights[q] * f(static_cast<double>(i) * dt + tau, v, d);
        }
    }
    return total;
}

// Linear baseline alpha + beta*t whose integral meets the end velocity and whose double
// integral fits the displacement best; the motion comes from `integrationG`, the baseline is
// removed with `correctionG`, then the result is scaled to the raw peak.
std::vector<double> IndependentLinear(const std::vector<double>& a, double dt, double integrationG,
                                      double correctionG) {
    const Motion m = ExactMotion(a, dt, integrationG);
    const double T = dt * static_cast<double>(a.size() - 1);
    const double vEnd = m.v.back();
    const auto p = [T](double t) { return t * t * t / 6.0 - T * t * t / 4.0; };
    const double qp = Integral(a, dt, integrationG, m, [&](double t, double, double d) {
        return (d - vEnd * t * t / (2.0 * T)) * p(t);
    });
    const double pp =
        Integral(a, dt, integrationG, m, [&](double t, double, double) { return p(t) * p(t); });
    const double beta = qp / pp;
    const double alpha = vEnd / T - beta * T / 2.0;
    std::vector<double> c;
    double peakRaw = 0.0;
    double peakCorrected = 0.0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const double t = dt * static_cast<double>(i);
        c.push_back((correctionG * a[i] - alpha - beta * t) / correctionG);
        peakRaw = std::max(peakRaw, std::fabs(a[i]));
        peakCorrected = std::max(peakCorrected, std::fabs(c.back()));
    }
    for (double& value : c) {
        value *= peakRaw / peakCorrected;
    }
    return c;
}

// Parabolic baseline whose integral c0*t + c1*t^2/2 + c2*t^3/3 is the least-squares fit of the
// velocity: the 3x3 normal equations solved by elimination.
std::vector<double> IndependentParabolic(const std::vector<double>& a, double dt, double gravity) {
    const Motion m = ExactMotion(a, dt, gravity);
    const auto phi = [](int j, double t) {
        return j == 0 ? t : (j == 1 ? t * t / 2.0 : t * t * t / 3.0);
    };
    double n[3][4];
    for (int j = 0; j < 3; ++j) {
        for (int k = 0; k < 3; ++k) {
            n[j][k] = Integral(a, dt, gravity, m,
                               [&](double t, double, double) { return phi(j, t) * phi(k, t); });
        }
        n[j][3] =
            Integral(a, dt, gravity, m, [&](double t, double v, double) { return phi(j, t) * v; });
    }
    for (int col = 0; col < 3; ++col) {
        for (int row = col + 1; row < 3; ++row) {
            const double f = n[row][col] / n[col][col];
            for (int k = col; k < 4; ++k) {
                n[row][k] -= f * n[col][k];
            }
        }
    }
    double coef[3];
    for (int row = 2; row >= 0; --row) {
        double rhs = n[row][3];
        for (int k = row + 1; k < 3; ++k) {
            rhs -= n[row][k] * coef[k];
        }
        coef[row] = rhs / n[row][row];
    }
    std::vector<double> c;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const double t = dt * static_cast<double>(i);
        c.push_back((gravity * a[i] - coef[0] - coef[1] * t - coef[2] * t * t) / gravity);
    }
    return c;
}

double LargestDifference(const std::vector<double>& x, const std::vector<double>& y) {
    double largest = 0.0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        largest = std::max(largest, std::fabs(x[i] - y[i]));
    }
    return largest;
}

// ---- Worked values

TEST(CorrectBaseline, LinearFitOfTheFiveSampleRecord) {
    TimeHistory record = FiveSampleRecord();
    ASSERT_TRUE(CorrectBaseline(record, kG, BaselineCorrectionType::Linear));
    const std::vector<double> expected = {-0.0777077, 0.0963314, -0.1, 0.0295946, 0.0258558};
    ASSERT_EQ(record.CorrectedAcceleration().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(record.CorrectedAcceleration()[i], expected[i], 1e-7) << "sample " << i;
    }
    EXPECT_FALSE(record.IsCorrected());  // the flag belongs to ApplyBaselineCorrection
    EXPECT_TRUE(record.CorrectedVelocity().empty());
}

TEST(CorrectBaseline, ParabolicFitOfTheFiveSampleRecord) {
    TimeHistory record = FiveSampleRecord();
    ASSERT_TRUE(CorrectBaseline(record, kG, BaselineCorrectionType::Parabolic));
    const std::vector<double> expected = {-0.0782861, 0.0692946, -0.0533441, 0.0237978, -0.0092798};
    ASSERT_EQ(record.CorrectedAcceleration().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(record.CorrectedAcceleration()[i], expected[i], 1e-7) << "sample " << i;
    }
}

// ---- Properties checked against independent computations

TEST(CorrectBaseline, LinearFitKeepsThePeakAndBringsTheVelocityBackToRest) {
    for (TimeHistory record : {FiveSampleRecord(), DriftingRecord()}) {
        ASSERT_TRUE(ApplyBaselineCorrection(record, BaselineCorrectionType::Linear, kG));
        const DOUBLEVECTOR& c = record.CorrectedAcceleration();
        double peak = 0.0;
        for (const double value : c) {
            peak = std::max(peak, std::fabs(value));
        }
        EXPECT_NEAR(peak, record.PeakAcceleration(), 1e-15);
        const double largestVelocity =
            *std::max_element(record.RawVelocity().begin(), record.RawVelocity().end(),
                              [](double x, double y) { return std::fabs(x) < std::fabs(y); });
        EXPECT_NEAR(record.CorrectedVelocity().back(), 0.0, 1e-10 * std::fabs(largestVelocity));
    }
}

TEST(CorrectBaseline, LinearFitMatchesTheContinuousLeastSquaresSolution) {
    TimeHistory record = DriftingRecord();
    ASSERT_TRUE(CorrectBaseline(record, kG, BaselineCorrectionType::Linear));
    const std::vector<double> reference = IndependentLinear(record.RawAcceleration(), 0.01, kG, kG);
    // The fit integrates its displacement moment by the trapezoidal rule; the reference
    // integrates exactly. On 1001 samples the two agree far below the drift removed (~3e-3 g).
    EXPECT_LT(LargestDifference(record.CorrectedAcceleration(), reference), 2e-7);
}

TEST(CorrectBaseline, LinearFitUsesTheStoredMotionWithTheNewGravity) {
    TimeHistory record = DriftingRecord(980.0);  // integrated at import with g = 980
    ASSERT_TRUE(CorrectBaseline(record, 981.0, BaselineCorrectionType::Linear));
    const std::vector<double> reference =
        IndependentLinear(record.RawAcceleration(), 0.01, 980.0, 981.0);
    EXPECT_LT(LargestDifference(record.CorrectedAcceleration(), reference), 2e-7);
}

TEST(CorrectBaseline, ParabolicFitMatchesTheContinuousLeastSquaresSolution) {
    TimeHistory record = DriftingRecord();
    ASSERT_TRUE(CorrectBaseline(record, kG, BaselineCorrectionType::Parabolic));
    const std::vector<double> reference = IndependentParabolic(record.RawAcceleration(), 0.01, kG);
    // Both integrate exactly; only the ten-digit decimal factors of the fit separate them.
    EXPECT_LT(LargestDifference(record.CorrectedAcceleration(), reference), 1e-9);

    const std::vector<double> five = {0.0, 0.1, -0.05, 0.02, 0.0};
    TimeHistory small = FiveSampleRecord();
    ASSERT_TRUE(CorrectBaseline(small, kG, BaselineCorrectionType::Parabolic));
    EXPECT_LT(
        LargestDifference(small.CorrectedAcceleration(), IndependentParabolic(five, 0.01, kG)),
        1e-9);
}

TEST(CorrectBaseline, ParabolicFitUsesTheCurrentGravityNotTheStoredMotion) {
    TimeHistory record = DriftingRecord(980.0);
    ASSERT_TRUE(CorrectBaseline(record, 9.81, BaselineCorrectionType::Parabolic));
    const std::vector<double> reference =
        IndependentParabolic(record.RawAcceleration(), 0.01, 9.81);
    EXPECT_LT(LargestDifference(record.CorrectedAcceleration(), reference), 1e-9);
}

TEST(CorrectBaseline, ParabolicFitRemovesAParabolicDrift) {
    // Acceleration that is itself a quadratic baseline in time: nothing should remain but
    // the small error of following it with straight lines between samples.
    std::vector<double> samples;
    for (int i = 0; i < 501; ++i) {
        const double t = 0.01 * i;
        samples.push_back(0.01 + 0.004 * t - 0.0009 * t * t);
    }
    TimeHistory record = Integrated(samples, 0.01);
    ASSERT_TRUE(CorrectBaseline(record, kG, BaselineCorrectionType::Parabolic));
    for (const double value : record.CorrectedAcceleration()) {
        EXPECT_LT(std::fabs(value), 1e-6);
    }
}

TEST(CorrectBaseline, LinearFitIntegratesARecordThatWasNotIntegrated) {
    TimeHistory fresh("r.txt", 0.01);
    for (const double v : {0.0, 0.1, -0.05, 0.02, 0.0}) {
        fresh.AppendAcceleration(v);
    }
    TimeHistory stored = FiveSampleRecord();
    ASSERT_TRUE(CorrectBaseline(fresh, kG, BaselineCorrectionType::Linear));
    ASSERT_TRUE(CorrectBaseline(stored, kG, BaselineCorrectionType::Linear));
    EXPECT_EQ(fresh.CorrectedAcceleration(), stored.CorrectedAcceleration());
    EXPECT_TRUE(fresh.IsIntegrated());
    EXPECT_EQ(fresh.RawVelocity(), stored.RawVelocity());
}

// ---- Degenerate records are refused and left as they were

TEST(CorrectBaseline, RefusesRecordsTheFitsAreNotDefinedFor) {
    const auto refuses = [](TimeHistory record, BaselineCorrectionType type) {
        const bool wasIntegrated = record.IsIntegrated();
        const bool ok = CorrectBaseline(record, kG, type);
        EXPECT_TRUE(record.CorrectedAcceleration().empty());
        EXPECT_EQ(record.IsIntegrated(), wasIntegrated);
        return !ok;
    };
    for (const auto type : {BaselineCorrectionType::Linear, BaselineCorrectionType::Parabolic}) {
        EXPECT_TRUE(refuses(Integrated({0.2}, 0.01), type)) << "one sample";
        EXPECT_TRUE(refuses(Integrated({0.1, 0.2, 0.3}, 0.0), type)) << "zero time step";
        EXPECT_TRUE(
            refuses(Integrated({0.1, std::numeric_limits<double>::quiet_NaN(), 0.3}, 0.01), type))
            << "not a number";
        EXPECT_TRUE(refuses(Integrated({0.1, std::numeric_limits<double>::infinity()}, 0.01), type))
            << "infinite sample";
    }
    // Nothing left to rescale after the linear fit.
    EXPECT_TRUE(refuses(Integrated({0.0, 0.0, 0.0, 0.0}, 0.01), BaselineCorrectionType::Linear));
    TimeHistory notIntegrated("r.txt", 0.01);
    notIntegrated.AppendAcceleration(0.0);
    notIntegrated.AppendAcceleration(0.0);
    EXPECT_TRUE(refuses(std::move(notIntegrated), BaselineCorrectionType::Linear));
    EXPECT_TRUE(refuses(FiveSampleRecord(), BaselineCorrectionType::None));
}

TEST(CorrectBaseline, ParabolicFitOfAZeroRecordIsZero) {
    TimeHistory record = Integrated({0.0, 0.0, 0.0}, 0.01);
    ASSERT_TRUE(CorrectBaseline(record, kG, BaselineCorrectionType::Parabolic));
    EXPECT_EQ(record.CorrectedAcceleration(), (DOUBLEVECTOR{0.0, 0.0, 0.0}));
}

// ---- Correction states

TEST(ApplyBaselineCorrection, SameTypeTwiceRecomputesNothing) {
    TimeHistory record = FiveSampleRecord();
    ASSERT_TRUE(ApplyBaselineCorrection(record, BaselineCorrectionType::Linear, kG));
    EXPECT_TRUE(record.IsCorrected());
    EXPECT_EQ(record.CorrectionType(), BaselineCorrectionType::Linear);
    EXPECT_EQ(record.CorrectedVelocity().size(), 5u);
    record.MutableCorrectedAcceleration()[0] = 42.0;  // a recomputation would overwrite it
    ASSERT_TRUE(ApplyBaselineCorrection(record, BaselineCorrectionType::Linear, kG));
    EXPECT_EQ(record.CorrectedAcceleration()[0], 42.0);
}

TEST(ApplyBaselineCorrection, OtherTypeRecomputesAndNoneClears) {
    TimeHistory record = FiveSampleRecord();
    ASSERT_TRUE(ApplyBaselineCorrection(record, BaselineCorrectionType::Linear, kG));
    ASSERT_TRUE(ApplyBaselineCorrection(record, BaselineCorrectionType::Parabolic, kG));
    EXPECT_EQ(record.CorrectionType(), BaselineCorrectionType::Parabolic);
    EXPECT_NEAR(record.CorrectedAcceleration()[4], -0.0092798, 1e-7);
    // The corrected set is integrated from the corrected acceleration, starting at rest.
    TimeHistory check("c.txt", 0.01);
    for (const double v : record.CorrectedAcceleration()) {
        check.AppendAcceleration(v);
    }
    IntegrateMotion(check, kG, MotionSet::Raw);
    EXPECT_EQ(record.CorrectedVelocity(), check.RawVelocity());
    EXPECT_EQ(record.CorrectedDisplacement(), check.RawDisplacement());

    ASSERT_TRUE(ApplyBaselineCorrection(record, BaselineCorrectionType::None, kG));
    EXPECT_FALSE(record.IsCorrected());
    EXPECT_TRUE(record.CorrectedAcceleration().empty());
    EXPECT_TRUE(record.CorrectedDisplacement().empty());
    EXPECT_EQ(record.PeakAcceleration(), 0.1);
    EXPECT_EQ(record.RawAcceleration()[1], 0.1);
}

TEST(ApplyBaselineCorrection, FailureKeepsTheRecordAsItWas) {
    TimeHistory single = Integrated({0.3}, 0.01);
    EXPECT_FALSE(ApplyBaselineCorrection(single, BaselineCorrectionType::Linear, kG));
    EXPECT_FALSE(single.IsCorrected());
    EXPECT_TRUE(single.CorrectedVelocity().empty());

    // A record corrected Parabolic keeps that correction when Linear cannot be computed.
    TimeHistory zero = Integrated({0.0, 0.0, 0.0}, 0.01);
    ASSERT_TRUE(ApplyBaselineCorrection(zero, BaselineCorrectionType::Parabolic, kG));
    EXPECT_FALSE(ApplyBaselineCorrection(zero, BaselineCorrectionType::Linear, kG));
    EXPECT_TRUE(zero.IsCorrected());
    EXPECT_EQ(zero.CorrectionType(), BaselineCorrectionType::Parabolic);
    EXPECT_EQ(zero.CorrectedAcceleration().size(), 3u);

    TimeHistory empty("e.txt", 0.01);
    EXPECT_TRUE(ApplyBaselineCorrection(empty, BaselineCorrectionType::Linear, kG));
    EXPECT_FALSE(empty.IsCorrected());
}

}  // namespace
}  // namespace travik
