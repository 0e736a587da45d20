// Reference values come from scaling_references.py beside this file, which computes them
// from the definitions in plain Python (least squares in logarithms, the weighted error, the
// 90 % rules, the EN 1998-1 PGA need, log-log interpolation), not from this program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/suite/SuiteScaling.h"

namespace travik {
namespace {

constexpr double kClose = 1e-12;

const std::vector<double> kPeriods = {0.0, 0.1, 0.2, 0.5, 1.0, 2.0};

ScalingTarget FileTarget() {
    ScalingTarget target;
    target.kind = ScalingTarget::Kind::File;
    target.file = {"target.txt", kPeriods, {0.4, 0.8, 1.0, 1.0, 0.6, 0.3}};
    return target;
}

SuiteMember Member(const std::string& name, std::vector<double> sa, double scale = 1.0) {
    for (double& v : sa) {
        v *= scale;
    }
    const double pga = sa.front();
    return {name, name, pga, sa};
}

std::vector<SuiteMember> ThreeRecords(double scale = 1.0) {
    return {Member("r1", {0.30, 0.55, 0.80, 0.70, 0.35, 0.12}, scale),
            Member("r2", {0.20, 0.60, 0.50, 0.45, 0.30, 0.20}, scale),
            Member("r3", {0.50, 1.20, 1.50, 1.10, 0.50, 0.20}, scale)};
}

ScalingOptions Range(double from, double to, SuiteRule rule = SuiteRule::None) {
    ScalingOptions options;
    options.minPeriod = from;
    options.maxPeriod = to;
    options.rule = rule;
    return options;
}

void ExpectFactors(const SuiteScaling& s, const std::vector<double>& factors,
                   const std::vector<double>& mse) {
    ASSERT_EQ(s.failure, ScalingFailure::None) << s.message;
    ASSERT_EQ(s.scaled.size(), factors.size());
    for (std::size_t r = 0; r < factors.size(); ++r) {
        EXPECT_NEAR(s.scaled[r].individualFactor, factors[r], kClose * factors[r]) << r;
        EXPECT_NEAR(s.scaled[r].mse, mse[r], kClose) << r;
    }
}

TEST(SuiteScaling, UniformWeightsGiveTheLeastSquaresFactorInLogarithms) {
    const SuiteScaling s = ScaleSuite(kPeriods, ThreeRecords(), FileTarget(), Range(0.1, 2.0));
    ExpectFactors(s, {1.61924474777578, 1.7781790722644, 0.938295125978054},
                  {0.0572169518634742, 0.0378330268551298, 0.103049697270587});
    // No rule: the totals are the records' own factors, and every record is selected.
    EXPECT_DOUBLE_EQ(s.suiteFactor, 1.0);
    EXPECT_DOUBLE_EQ(s.scaled[2].totalFactor, s.scaled[2].individualFactor);
    EXPECT_EQ(s.SelectedCount(), 3);
    EXPECT_EQ(s.scaled[1].rank, 1);
    EXPECT_EQ(s.scaled[0].rank, 2);
    EXPECT_EQ(s.scaled[2].rank, 3);
    EXPECT_TRUE(s.warnings.empty());
}

TEST(SuiteScaling, LogWeightsGiveEachPeriodHalfItsLogDistanceToEachNeighbour) {
    ScalingOptions options = Range(0.1, 2.0);
    options.weights = ScalingWeights::Log;
    const SuiteScaling s = ScaleSuite(kPeriods, ThreeRecords(), FileTarget(), options);
    const std::vector<double> weights = {0.346573590279973, 0.80471895621705, 0.80471895621705,
                                         0.693147180559945, 0.346573590279973};
    ASSERT_EQ(s.range.weights.size(), weights.size());
    for (std::size_t i = 0; i < weights.size(); ++i) {
        EXPECT_NEAR(s.range.weights[i], weights[i], kClose) << i;
    }
    ExpectFactors(s, {1.53697582235857, 1.89887144330664, 0.911800633327198},
                  {0.0433991511328177, 0.0288836781429881, 0.0838068711673327});
}

TEST(SuiteScaling, LimitsClampTheFactorAndTheErrorIsThatOfTheClampedFactor) {
    ScalingOptions options = Range(0.1, 2.0);
    options.minFactor = 0.9;
    options.maxFactor = 1.5;
    const SuiteScaling s = ScaleSuite(kPeriods, ThreeRecords(), FileTarget(), options);
    ExpectFactors(s, {1.5, 1.5, 0.938295125978054},
                  {0.0630683951761425, 0.0667754538353269, 0.103049697270587});
}

TEST(SuiteScaling, AsceRuleMeetsNinetyPercentWithEqualityAndWarnsOfFewMotions) {
    const SuiteScaling s =
        ScaleSuite(kPeriods, ThreeRecords(), FileTarget(), Range(0.1, 2.0, SuiteRule::Asce7));
    ASSERT_EQ(s.failure, ScalingFailure::None) << s.message;
    EXPECT_NEAR(s.suiteFactor, 1.0981499152223, kClose);
    EXPECT_TRUE(s.ruleMet);
    double smallestRatio = 1e300;
    for (const ScalingRow& row : s.rows) {
        smallestRatio = std::min(smallestRatio, row.mean / row.target);
    }
    EXPECT_NEAR(smallestRatio, 0.9, kClose);
    EXPECT_NEAR(s.scaled[0].totalFactor, 1.61924474777578 * 1.0981499152223, 1e-11);
    ASSERT_EQ(s.warnings.size(), 1U);
    EXPECT_EQ(s.warnings[0],
              "The suite holds 3 motions; ASCE/SEI 7-22 §16.2.2 asks for at least 11");
}

TEST(SuiteScaling, ASuiteWhoseMeanTouchesNinetyPercentOfTheTargetKeepsItsFactors) {
    // Both records are the target times 0.9, 1/0.9, 1, 1, 1 over the range: the product of
    // the shape is 1, so each record's own factor is 1, and the mean touches 0.9 St at 0.1 s.
    const ScalingTarget target = FileTarget();
    std::vector<double> sa = target.file.sa;
    sa[1] *= 0.9;
    sa[2] /= 0.9;
    const SuiteScaling s = ScaleSuite(kPeriods, {Member("a", sa), Member("b", sa)}, target,
                                      Range(0.1, 2.0, SuiteRule::Asce7));
    ASSERT_EQ(s.failure, ScalingFailure::None) << s.message;
    EXPECT_NEAR(s.scaled[0].individualFactor, 1.0, kClose);
    EXPECT_NEAR(s.suiteFactor, 1.0, kClose);
    EXPECT_TRUE(s.ruleMet);
    EXPECT_TRUE(s.failingPeriods.empty());
}

TEST(SuiteScaling, DoublingEveryRecordHalvesItsFactorAndKeepsErrorAndSelection) {
    ScalingOptions options = Range(0.1, 2.0, SuiteRule::Asce7);
    options.selectCount = 2;
    const SuiteScaling once = ScaleSuite(kPeriods, ThreeRecords(), FileTarget(), options);
    const SuiteScaling twice = ScaleSuite(kPeriods, ThreeRecords(2.0), FileTarget(), options);
    ASSERT_EQ(twice.failure, ScalingFailure::None) << twice.message;
    for (std::size_t r = 0; r < 3; ++r) {
        EXPECT_NEAR(twice.scaled[r].individualFactor, once.scaled[r].individualFactor / 2, kClose);
        EXPECT_NEAR(twice.scaled[r].totalFactor, once.scaled[r].totalFactor / 2, kClose);
        EXPECT_NEAR(twice.scaled[r].mse, once.scaled[r].mse, kClose);
        EXPECT_EQ(twice.scaled[r].selected, once.scaled[r].selected);
        EXPECT_EQ(twice.scaled[r].rank, once.scaled[r].rank);
    }
    EXPECT_NEAR(twice.suiteFactor, once.suiteFactor, kClose);
}

TEST(SuiteScaling, EurocodeTakesTheSpectralNeedWhenItIsTheLarger) {
    const SuiteScaling s =
        ScaleSuite(kPeriods, ThreeRecords(), FileTarget(), Range(0.1, 2.0, SuiteRule::Ec8));
    ASSERT_EQ(s.failure, ScalingFailure::None) << s.message;
    EXPECT_NEAR(s.suiteFactor, 1.0981499152223, kClose);
    EXPECT_TRUE(s.warnings.empty());  // three records are enough for EN 1998-1
}

TEST(SuiteScaling, EurocodePeakGroundAccelerationDecidesWhenTheSpectraDoNot) {
    std::vector<SuiteMember> records = ThreeRecords();
    records[0].pga = 0.10;
    records[1].pga = 0.10;
    records[2].pga = 0.15;
    const SuiteScaling s =
        ScaleSuite(kPeriods, records, FileTarget(), Range(0.1, 2.0, SuiteRule::Ec8));
    ASSERT_EQ(s.failure, ScalingFailure::None) << s.message;
    const double pgaNeed =
        0.4 / ((1.61924474777578 * 0.10 + 1.7781790722644 * 0.10 + 0.938295125978054 * 0.15) / 3);
    EXPECT_NEAR(s.suiteFactor, pgaNeed, 1e-11);
    EXPECT_GT(s.suiteFactor, 1.0981499152223);
    EXPECT_NEAR(s.meanPga, s.targetPga, 1e-12);
    EXPECT_DOUBLE_EQ(s.targetPga, 0.4);
    EXPECT_TRUE(s.ruleMet);
    // The same suite under the ASCE rule ignores the PGA.
    const SuiteScaling asce =
        ScaleSuite(kPeriods, records, FileTarget(), Range(0.1, 2.0, SuiteRule::Asce7));
    EXPECT_NEAR(asce.suiteFactor, 1.0981499152223, kClose);
}

TEST(SuiteScaling, LimitsThatHoldTheSuiteShortListTheFailingPeriods) {
    ScalingOptions options = Range(0.1, 2.0, SuiteRule::Asce7);
    options.minFactor = 0.9;
    options.maxFactor = 1.5;
    const SuiteScaling s = ScaleSuite(kPeriods, ThreeRecords(), FileTarget(), options);
    ASSERT_EQ(s.failure, ScalingFailure::None) << s.message;
    EXPECT_NEAR(s.suiteFactor, 1.21319411470951, kClose);
    EXPECT_TRUE(s.limitsHeld);
    EXPECT_DOUBLE_EQ(s.scaled[0].totalFactor, 1.5);
    EXPECT_DOUBLE_EQ(s.scaled[1].totalFactor, 1.5);
    EXPECT_NEAR(s.scaled[2].totalFactor, 1.13833412469719, kClose);
    EXPECT_FALSE(s.ruleMet);
    EXPECT_EQ(s.failingPeriods, (std::vector<double>{1.0, 2.0}));
    const std::vector<double> ratios = {1.28791706234859, 1.21916706234859, 0.992389179055636,
                                        0.857870590193663, 0.786296472154931};
    ASSERT_EQ(s.rows.size(), ratios.size());
    for (std::size_t i = 0; i < ratios.size(); ++i) {
        EXPECT_NEAR(s.rows[i].mean / s.rows[i].target, ratios[i], kClose) << i;
    }
}

TEST(SuiteScaling, AtPeriodScalesToTheTargetThereInterpolatingLogLog) {
    ScalingOptions options = Range(0.1, 2.0);
    options.atPeriod = 0.3;
    const SuiteScaling s = ScaleSuite(kPeriods, ThreeRecords(), FileTarget(), options);
    ASSERT_EQ(s.failure, ScalingFailure::None) << s.message;
    EXPECT_NEAR(s.scaled[0].individualFactor, 1.32608651384194, kClose);
    EXPECT_NEAR(s.scaled[0].mse, 0.0971081066499678, kClose);
    EXPECT_NEAR(InterpolateLogLog(kPeriods, ThreeRecords()[0].sa, 0.3), 0.754098612392035, kClose);
    EXPECT_DOUBLE_EQ(InterpolateLogLog(kPeriods, ThreeRecords()[0].sa, 0.5), 0.70);
}

TEST(SuiteScaling, RangeEndsTakeAPeriodBuiltByRepeatedSteps) {
    // 0.1 + 0.1 + 0.1 is 0.30000000000000004 in doubles.
    const std::vector<double> periods = {0.0, 0.1, 0.2, 0.1 + 0.1 + 0.1, 0.4};
    const RangeWeights range = WeighRange(periods, 0.3, 0.4, ScalingWeights::Uniform);
    EXPECT_EQ(range.indices, (std::vector<std::size_t>{3, 4}));
    EXPECT_EQ(WeighRange(periods, 0.1, 0.2999, ScalingWeights::Uniform).indices,
              (std::vector<std::size_t>{1, 2}));
    ScalingOptions options = Range(0.1, 0.3);
    options.atPeriod = 0.3;
    EXPECT_EQ(options.Check(periods, 1), "");
    EXPECT_DOUBLE_EQ(InterpolateLogLog(periods, {0.5, 1.0, 2.0, 3.0, 4.0}, 0.3), 3.0);
}

TEST(SuiteScaling, SelectingThreeOfEightPicksTheThreeSmallestErrors) {
    const std::vector<std::vector<double>> eight = {
        {0.2875, 0.5560, 0.8377, 0.7190, 0.4243, 0.2149},
        {0.2385, 0.4472, 0.8276, 0.6090, 0.5418, 0.1965},
        {0.2323, 0.4880, 0.6399, 0.5683, 0.4166, 0.2037},
        {0.4145, 0.3899, 0.6355, 0.8909, 0.5729, 0.1368},
        {0.2891, 0.5527, 0.7178, 0.6956, 0.4163, 0.2046},
        {0.2709, 1.0469, 0.5925, 1.0470, 0.5948, 0.1896},
        {0.3337, 0.6966, 0.6675, 0.6440, 0.5009, 0.2221},
        {0.8539, 0.7042, 0.3830, 0.6835, 0.2260, 0.3121}};
    const std::vector<double> mse = {0.00456944848567938, 0.033454038260581,    0.00528453476931286,
                                     0.0912218056248459,  0.000285740214260209, 0.0935260205134827,
                                     0.0141210032911954,  0.176114790275209};
    std::vector<SuiteMember> members;
    for (std::size_t r = 0; r < eight.size(); ++r) {
        std::string name = "m";
        name += std::to_string(r);
        members.push_back(Member(name, eight[r]));
    }
    ScalingOptions options = Range(0.1, 2.0, SuiteRule::Ec8);
    options.selectCount = 3;
    const SuiteScaling s = ScaleSuite(kPeriods, members, FileTarget(), options);
    ASSERT_EQ(s.failure, ScalingFailure::None) << s.message;
    const std::vector<int> ranks = {2, 5, 3, 6, 1, 7, 4, 8};
    for (std::size_t r = 0; r < eight.size(); ++r) {
        EXPECT_NEAR(s.scaled[r].mse, mse[r], kClose) << r;
        EXPECT_EQ(s.scaled[r].selected, r == 0 || r == 2 || r == 4) << r;
        EXPECT_EQ(s.scaled[r].rank, ranks[r]) << r;
    }
    // The rule is applied over the three selected only.
    double smallestRatio = 1e300;
    for (const ScalingRow& row : s.rows) {
        smallestRatio = std::min(smallestRatio, row.mean / row.target);
    }
    EXPECT_GE(smallestRatio, 0.9 - kClose);
    EXPECT_TRUE(s.ruleMet);

    // Two per station, with m0, m2 and m4 from one station: m2 gives way to the next best, m6.
    members[4].station = members[0].station;
    members[2].station = members[0].station;
    options.maxPerStation = 2;
    const SuiteScaling perStation = ScaleSuite(kPeriods, members, FileTarget(), options);
    ASSERT_EQ(perStation.failure, ScalingFailure::None) << perStation.message;
    for (std::size_t r = 0; r < eight.size(); ++r) {
        EXPECT_EQ(perStation.scaled[r].selected, r == 0 || r == 4 || r == 6) << r;
    }
    options.maxPerStation = 1;
    options.selectCount = 7;
    const SuiteScaling tooFew = ScaleSuite(kPeriods, members, FileTarget(), options);
    EXPECT_EQ(tooFew.failure, ScalingFailure::BadOptions);
    EXPECT_EQ(tooFew.message,
              "Only 6 of the 7 records asked for can be selected with at most 1 per station");
}

TEST(SuiteScaling, CodeTargetsAreEvaluatedByTheirFormulaAtEveryPeriod) {
    ScalingTarget asce;
    asce.kind = ScalingTarget::Kind::Asce;
    asce.asce = {1.0, 0.6, 8.0};
    const SuiteScaling s = ScaleSuite(kPeriods, ThreeRecords(), asce, Range(0.1, 2.0));
    ASSERT_EQ(s.failure, ScalingFailure::None) << s.message;
    // T_0 = 0.12 s: S_a(0.1) = 0.4 + 0.6 * 0.1 / 0.12; the plateau 1.0; S_D1 / T beyond 0.6 s.
    EXPECT_NEAR(s.targetSa[1], 0.9, kClose);
    EXPECT_DOUBLE_EQ(s.targetSa[3], 1.0);
    EXPECT_DOUBLE_EQ(s.targetSa[4], 0.6);
    EXPECT_DOUBLE_EQ(s.targetSa[5], 0.3);
    EXPECT_DOUBLE_EQ(s.targetPga, 0.4);
}

TEST(SuiteScaling, ATargetOrARecordThatIsNotPositiveInTheRangeIsRefused) {
    ScalingTarget shortTarget = FileTarget();
    shortTarget.file.periods.pop_back();
    shortTarget.file.sa.pop_back();
    const SuiteScaling noTarget =
        ScaleSuite(kPeriods, ThreeRecords(), shortTarget, Range(0.1, 2.0));
    EXPECT_EQ(noTarget.failure, ScalingFailure::BadTarget);
    EXPECT_EQ(noTarget.message,
              "The target target.txt has no positive value at the period 2 s of the range");

    std::vector<SuiteMember> records = ThreeRecords();
    records[1].sa[3] = 0.0;
    const SuiteScaling zero = ScaleSuite(kPeriods, records, FileTarget(), Range(0.1, 2.0));
    EXPECT_EQ(zero.failure, ScalingFailure::BadMotion);
    EXPECT_EQ(zero.message, "The spectrum of r2 is zero at the period 0.5 s: it cannot be scaled");
}

}  // namespace
}  // namespace travik
