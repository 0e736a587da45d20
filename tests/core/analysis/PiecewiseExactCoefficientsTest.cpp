// The recurrence's coefficients against the closed form evaluated in 200-digit decimal
// arithmetic (data/make_piecewise_exact_reference.py), on both sides of the switch to the
// series and down to steps where the double-precision closed form keeps no digit.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "core/analysis/OscillatorIntegrators.h"
#include "core/records/TimeHistory.h"

namespace travik {
namespace {

struct ReferenceCase {
    double zeta;
    double omega;                    // rad/s
    double h;                        // s
    std::array<double, 8> expected;  // A, B, A', B', C, D, C', D'
};

// Relative agreement asked of every coefficient: rounding of a dozen operations.
constexpr double kSeriesTolerance = 1e-14;
// Just above the switch the closed form is kept; it loses up to 6 zeta / (omega h)^3
// roundings there.
constexpr double kClosedFormTolerance = 1e-10;

const std::vector<ReferenceCase>& Cases() {
    static const std::vector<ReferenceCase> cases{
        {0.05,
         6.2831852,
         1e-15,
         {1, 9.9999999999999968e-16, -3.9478416257499031e-14, 0.99999999999999933,
          -3.3333333333333329e-31, -1.6666666666666667e-31, -4.9999999999999984e-16,
          -4.9999999999999994e-16}},
        {0.05,
         628.31852,
         1e-08,
         {0.99999999998026079, 9.9999968583422604e-09, -0.0039478403854731848, 0.9999993716619382,
          -3.3333325479221558e-17, -1.6666664048640264e-17, -4.999997905556079e-09,
          -4.9999989527861823e-09}},
        {0.02,
         0.62831852,
         0.01,
         {0.99998026251036809, 0.0099986776792663126, -0.0039473195944663992, 0.9997289683359124,
          -3.3330060370518203e-05, -1.6665586625875687e-05, -0.004999112979626923,
          -0.0049995646996393887}},
        {0.05,
         6.2831852,
         0.0015,
         {0.99995560105987791, 0.001499271167629873, -0.05918885123855875, 0.99901358121875405,
          -7.4972833538502642e-07, -3.7490999439142657e-07, -0.00074951228111223779,
          -0.00074975888651763534}},
        {0.0,
         3.1415926,
         1e-06,
         {0.99999999999506517, 9.9999999999835502e-07, -9.8696040643585243e-06, 0.99999999999506517,
          -3.3333333333300432e-13, -1.666666666665844e-13, -4.9999999999876627e-07,
          -4.9999999999958874e-07}},
    };
    return cases;
}

std::array<double, 8> AsArray(const PiecewiseExactCoefficients& c) {
    return {c.A, c.B, c.Ap, c.Bp, c.C, c.D, c.Cp, c.Dp};
}

void ExpectClose(const ReferenceCase& reference, double tolerance) {
    const std::array<double, 8> got =
        AsArray(ComputePiecewiseExactCoefficients(reference.zeta, reference.h, reference.omega));
    for (std::size_t i = 0; i < 8; ++i) {
        const double expected = reference.expected[i];
        EXPECT_LE(std::fabs(got[i] - expected), tolerance * std::fabs(expected))
            << "coefficient " << i << " at omega h = " << reference.omega * reference.h << ": "
            << got[i] << " vs " << expected;
    }
}

TEST(PiecewiseExactCoefficients, SmallStepsKeepEveryDigit) {
    for (const ReferenceCase& reference : Cases()) {
        ExpectClose(reference, kSeriesTolerance);
    }
}

TEST(PiecewiseExactCoefficients, JustAboveTheSeriesTheClosedFormHolds) {
    const ReferenceCase above{
        0.05,
        6.2831852,
        0.0017,
        {0.99994297453640912, 0.0016990600941148288, -0.067076201641970715, 0.99887542361268378,
         -9.6293659111936006e-07, -4.8153532535693957e-07, -0.00084937073148171136,
         -0.00084968936263311748}};
    ExpectClose(above, kClosedFormTolerance);
    const ReferenceCase wider{
        0.2,
        12.5663704,
        0.005,
        {0.9980431553060094, 0.0049344430410366343, -0.77921598549185467, 0.97323993971746181,
         -8.2520619735157221e-06, -4.1398022367091282e-06, -0.0024560701989916642,
         -0.0024783728420449697}};
    ExpectClose(wider, kClosedFormTolerance);
}

// Where even 200 digits would not do, the leading terms of the series are the answer:
// C = -h^2/3, D = -h^2/6, C' = D' = -h/2, A = B' = 1, B = h.
TEST(PiecewiseExactCoefficients, VanishingStepsTendToTheirLeadingTerms) {
    for (const double h : {1e-30, 1e-100, 1e-150}) {
        const PiecewiseExactCoefficients c = ComputePiecewiseExactCoefficients(0.05, h, 628.31852);
        EXPECT_EQ(c.A, 1.0);
        EXPECT_DOUBLE_EQ(c.B, h);
        EXPECT_DOUBLE_EQ(c.C, -h * h / 3);
        EXPECT_DOUBLE_EQ(c.D, -h * h / 6);
        EXPECT_DOUBLE_EQ(c.Cp, -h / 2);
        EXPECT_DOUBLE_EQ(c.Dp, -h / 2);
    }
    const PiecewiseExactCoefficients tiny = ComputePiecewiseExactCoefficients(0.05, 1e-300, 62.8);
    for (const double value : AsArray(tiny)) {
        EXPECT_TRUE(std::isfinite(value));
    }
    EXPECT_EQ(tiny.C, 0.0);
    EXPECT_DOUBLE_EQ(tiny.Cp, -0.5e-300);
}

// Over 1560 steps of 1e-15 s no oscillator can gather more relative velocity than the
// ground's whole velocity change, at most 1 g x 1560 x 1e-15 s.
TEST(PiecewiseExactCoefficients, ASpectrumAtATinyStepIsTiny) {
    TimeHistory record("tiny", 1e-15);
    for (int i = 0; i < 1560; ++i) {
        record.AppendAcceleration(std::sin(0.1 * i));
    }
    AnalysisSettings settings;
    double sd = 0, sv = 0, sa = 0;
    ASSERT_TRUE(ComputeOscillatorPeaks(settings, record, 980.0, 0.02, 0.05, 0.5, sd, sv, sa, false,
                                       IntegrationMethod::PiecewiseExact));
    const double bound = 980.0 * 1560 * 1e-15;  // |v| <= sum |a| dt, cm/s
    EXPECT_GT(sv, 0.0);
    EXPECT_LE(sv, bound);
    EXPECT_LE(sd, bound * 1560 * 1e-15);
    // The spring and damper have hardly been stretched, so the total acceleration is tiny.
    EXPECT_LT(sa, 1e-9);
}

}  // namespace
}  // namespace travik
