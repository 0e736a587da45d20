#include "core/spectra/DesignSpectra.h"

#include <cmath>

#include <gtest/gtest.h>

namespace travik {
namespace {

// Hand-worked values carry at most seven significant digits.
constexpr double kTolerance = 1e-7;

struct Point {
    double period;  // s
    double sa;      // g, worked by hand from the standard's equations
};

// ASCE/SEI 7-22 §11.4.6 with S_DS = 1.0 g, S_D1 = 0.6 g, T_L = 8 s:
// T_0 = 0.2 * 0.6 / 1.0 = 0.12 s, T_S = 0.6 / 1.0 = 0.6 s.
TEST(AsceTwoPeriodSpectrum, FollowsEachBranchOfTheCodeFormula) {
    const AsceTwoPeriodParameters p{1.0, 0.6, 8.0};
    EXPECT_DOUBLE_EQ(AsceT0(p), 0.12);
    EXPECT_DOUBLE_EQ(AsceTs(p), 0.6);
    const Point rise[] = {{0.0, 0.4}, {0.03, 0.55}, {0.06, 0.7}, {0.09, 0.85}};
    const Point plateau[] = {{0.12, 1.0}, {0.2, 1.0}, {0.4, 1.0}, {0.6, 1.0}};
    // S_D1 / T: 0.6 / 0.75, 0.6 / 1, 0.6 / 2, 0.6 / 8.
    const Point velocity[] = {{0.75, 0.8}, {1.0, 0.6}, {2.0, 0.3}, {8.0, 0.075}};
    // S_D1 T_L / T^2 = 4.8 / T^2.
    const Point displacement[] = {
        {10.0, 0.048}, {12.0, 0.0333333333}, {16.0, 0.01875}, {20.0, 0.012}};
    for (const auto* branch : {rise, plateau, velocity, displacement}) {
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(AsceTwoPeriodSa(p, branch[i].period), branch[i].sa, kTolerance)
                << "T = " << branch[i].period;
        }
    }
}

TEST(AsceTwoPeriodSpectrum, IsContinuousAtItsCornerPeriods) {
    const AsceTwoPeriodParameters p{1.35, 0.52, 6.0};
    for (const double corner : {AsceT0(p), AsceTs(p), p.longPeriod}) {
        EXPECT_NEAR(AsceTwoPeriodSa(p, corner * (1 - 1e-12)),
                    AsceTwoPeriodSa(p, corner * (1 + 1e-12)), 1e-9)
            << "corner " << corner;
    }
}

TEST(AsceTwoPeriodSpectrum, ChecksItsParametersByName) {
    EXPECT_EQ(AsceTwoPeriodParameters{}.Check(), "");
    EXPECT_EQ((AsceTwoPeriodParameters{0, 0.6, 8}).Check(), "S_DS must be greater than zero");
    EXPECT_EQ((AsceTwoPeriodParameters{1, -1, 8}).Check(), "S_D1 must be greater than zero");
    EXPECT_EQ((AsceTwoPeriodParameters{1, 0.6, 0.5}).Check(),
              "T_L must be greater than T_S = S_D1 / S_DS");
    EXPECT_EQ((AsceTwoPeriodParameters{NAN, 0.6, 8}).Check(), "S_DS must be greater than zero");
    // Values no axis could show are refused where they enter.
    EXPECT_EQ((AsceTwoPeriodParameters{1.1e308, 0.6, 8}).Check(),
              "S_DS and S_D1 must be at most 100 g");
    EXPECT_EQ((AsceTwoPeriodParameters{1, 101, 1e6}).Check(),
              "S_DS and S_D1 must be at most 100 g");
    EXPECT_EQ((AsceTwoPeriodParameters{1, 0.6, 1001}).Check(), "T_L must be at most 1000 s");
    EXPECT_EQ((AsceTwoPeriodParameters{100, 100, 1000}).Check(), "");
}

TEST(EurocodeGroundTable, HoldsTheRecommendedValuesOfBothTypes) {
    const EurocodeGroundParameters c1 =
        EurocodeGround(EurocodeSpectrumType::Type1, EurocodeGroundType::C);
    EXPECT_EQ(c1.s, 1.15);
    EXPECT_EQ(c1.tb, 0.20);
    EXPECT_EQ(c1.tc, 0.6);
    EXPECT_EQ(c1.td, 2.0);
    const EurocodeGroundParameters d2 =
        EurocodeGround(EurocodeSpectrumType::Type2, EurocodeGroundType::D);
    EXPECT_EQ(d2.s, 1.8);
    EXPECT_EQ(d2.tb, 0.10);
    EXPECT_EQ(d2.tc, 0.30);
    EXPECT_EQ(d2.td, 1.2);
    const EurocodeGroundParameters e1 =
        EurocodeGround(EurocodeSpectrumType::Type1, EurocodeGroundType::E);
    EXPECT_EQ(e1.s, 1.4);
    EXPECT_EQ(e1.tc, 0.5);
    const EurocodeGroundParameters a2 =
        EurocodeGround(EurocodeSpectrumType::Type2, EurocodeGroundType::A);
    EXPECT_EQ(a2.s, 1.0);
    EXPECT_EQ(a2.tb, 0.05);
    EXPECT_EQ(a2.tc, 0.25);
}

TEST(EurocodeDampingFactor, IsOneAtFivePercentAndNeverBelowPointFiftyFive) {
    EXPECT_DOUBLE_EQ(EurocodeEta(5), 1.0);
    EXPECT_NEAR(EurocodeEta(10), 0.8164966, kTolerance);  // sqrt(10 / 15)
    EXPECT_NEAR(EurocodeEta(2), 1.1952286, kTolerance);   // sqrt(10 / 7)
    EXPECT_NEAR(EurocodeEta(28), 0.5504819, kTolerance);  // sqrt(10 / 33), above the floor
    EXPECT_DOUBLE_EQ(EurocodeEta(30), 0.55);              // sqrt(10 / 35) = 0.5345 < 0.55
}

// Type 1, ground B (S = 1.2, T_B = 0.15, T_C = 0.5, T_D = 2.0), a_g = 0.25 g, xi = 5 %:
// a_g S = 0.3 g, plateau a_g S eta 2.5 = 0.75 g.
TEST(EurocodeElasticSpectrum, FollowsEachBranchForTypeOneGroundB) {
    const EurocodeElasticParameters p{EurocodeSpectrumType::Type1, EurocodeGroundType::B, 0.25, 5};
    // 0.3 (1 + T / 0.15 (2.5 - 1)).
    const Point rise[] = {{0.0, 0.3}, {0.05, 0.45}, {0.075, 0.525}, {0.1, 0.6}};
    const Point plateau[] = {{0.15, 0.75}, {0.2, 0.75}, {0.4, 0.75}, {0.5, 0.75}};
    // 0.75 * 0.5 / T.
    const Point velocity[] = {{0.625, 0.6}, {1.0, 0.375}, {1.25, 0.3}, {2.0, 0.1875}};
    // 0.75 * 0.5 * 2 / T^2 = 0.75 / T^2.
    const Point displacement[] = {{2.5, 0.12}, {3.0, 0.0833333333}, {4.0, 0.046875}, {5.0, 0.03}};
    for (const auto* branch : {rise, plateau, velocity, displacement}) {
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(EurocodeElasticSa(p, branch[i].period), branch[i].sa, kTolerance)
                << "T = " << branch[i].period;
        }
    }
}

// Type 2, ground D (S = 1.8, T_B = 0.10, T_C = 0.30, T_D = 1.2), a_g = 0.1 g, xi = 10 %:
// a_g S = 0.18 g, eta = sqrt(10 / 15) = 0.81649658, plateau 0.18 * 0.81649658 * 2.5 =
// 0.36742346 g.
TEST(EurocodeElasticSpectrum, AppliesTheDampingFactorForTypeTwoGroundD) {
    const EurocodeElasticParameters p{EurocodeSpectrumType::Type2, EurocodeGroundType::D, 0.1, 10};
    // 0.18 (1 + T / 0.1 (2.0412415 - 1)).
    const Point rise[] = {{0.0, 0.18}, {0.025, 0.2268559}, {0.05, 0.2737117}, {0.075, 0.3205676}};
    const Point plateau[] = {
        {0.1, 0.3674235}, {0.15, 0.3674235}, {0.25, 0.3674235}, {0.3, 0.3674235}};
    // 0.36742346 * 0.3 / T.
    const Point velocity[] = {
        {0.4, 0.2755676}, {0.6, 0.1837117}, {0.9, 0.1224745}, {1.2, 0.0918559}};
    // 0.36742346 * 0.3 * 1.2 / T^2 = 0.13227245 / T^2.
    const Point displacement[] = {
        {1.5, 0.0587878}, {2.0, 0.0330681}, {3.0, 0.0146969}, {4.0, 0.0082670}};
    for (const auto* branch : {rise, plateau, velocity, displacement}) {
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(EurocodeElasticSa(p, branch[i].period), branch[i].sa, 1e-7)
                << "T = " << branch[i].period;
        }
    }
}

TEST(EurocodeElasticSpectrum, ChecksItsParametersByName) {
    EXPECT_EQ(EurocodeElasticParameters{}.Check(), "");
    EurocodeElasticParameters p;
    p.ag = 0;
    EXPECT_EQ(p.Check(), "a_g must be greater than zero");
    p.ag = 0.2;
    p.dampingPercent = -1;
    EXPECT_EQ(p.Check(), "The damping must be zero or more percent");
    {
        EurocodeElasticParameters big;
        big.ag = 5e307;
        EXPECT_EQ(big.Check(), "a_g is too large: the plateau a_g S eta 2.5 would exceed 100 g");
        big.ag = 100 / (1.2 * 2.5) * 0.999;  // ground B, eta 1 at 5 %
        EXPECT_EQ(big.Check(), "");
        big.dampingPercent = 101;
        EXPECT_EQ(big.Check(), "The damping must be at most 100 percent");
    }
}

TEST(SampledCodeSpectrum, StartsAtZeroKeepsEveryCornerAndEndsAtTheLongestPeriod) {
    const AsceTwoPeriodParameters p{1.0, 0.6, 8.0};
    const TargetSpectrum asce = SampleAsceTwoPeriod(p, 4.0, 41);
    ASSERT_EQ(asce.periods.size(), asce.sa.size());
    EXPECT_EQ(asce.periods.front(), 0.0);
    EXPECT_EQ(asce.periods.back(), 4.0);
    // 41 even points (0.1 s apart) plus T_0 = 0.12; T_S = 0.6 is one of the even points.
    EXPECT_EQ(asce.periods.size(), 42u);
    for (std::size_t i = 1; i < asce.periods.size(); ++i) {
        EXPECT_LT(asce.periods[i - 1], asce.periods[i]);
        EXPECT_DOUBLE_EQ(asce.sa[i], AsceTwoPeriodSa(p, asce.periods[i]));
    }
    // Linear interpolation between the drawn points reproduces the peak at the corner.
    EXPECT_DOUBLE_EQ(InterpolateTarget(asce, 0.12), 1.0);
    EXPECT_NEAR(InterpolateTarget(asce, 0.06), 0.7, 1e-12);
    EXPECT_TRUE(std::isnan(InterpolateTarget(asce, 4.5)));

    const TargetSpectrum ec8 = SampleEurocodeElastic({}, 3.0, 31);
    EXPECT_NE(std::find(ec8.periods.begin(), ec8.periods.end(), 0.15), ec8.periods.end());
    EXPECT_EQ(ec8.name, "EN 1998-1 Type 1 ground B a_g=0.25 g xi=5%");
}

TEST(ComparisonDamping, IsTheTargetsWhereItStatesOneElseTheFirstEntered) {
    // Code spectra state their damping: ASCE's design spectrum is 5 %-damped, EN 1998-1's
    // is drawn for the xi it is given.
    EXPECT_EQ(kAsceDesignDampingRatio, 0.05);
    EurocodeElasticParameters ten;
    ten.dampingPercent = 10;
    EXPECT_EQ(EurocodeDampingRatio(ten), 0.1);
    EXPECT_EQ(EurocodeDampingRatio({}), 0.05);

    // Entered 5 % then 2 %: the first entered, not the smallest.
    EXPECT_EQ(ComparisonDampingRatio({0.05, 0.02}, std::nullopt), 0.05);
    EXPECT_EQ(ComparisonDampingRatio({0.02, 0.05, 0.1}, std::nullopt), 0.02);
    EXPECT_EQ(ComparisonDampingRatio({0.02, 0.1}, 0.05), 0.05);
    EXPECT_EQ(ComparisonDampingRatio({}, 0.07), 0.07);
    EXPECT_FALSE(ComparisonDampingRatio({}, std::nullopt).has_value());
}

}  // namespace
}  // namespace travik
