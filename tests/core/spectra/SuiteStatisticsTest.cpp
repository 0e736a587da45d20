#include "core/spectra/SuiteStatistics.h"

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

namespace travik {
namespace {

// Reference: data/suite-statistics.csv, written by data/make_suite_statistics.py (numpy).
struct Reference {
    std::vector<double> periods;
    std::vector<std::vector<double>> curves;  // per record
    std::vector<double> mean, median, sigma, logMean, sigmaLn;
};

Reference ReadReference() {
    Reference ref;
    std::ifstream in(TRAVIK_TEST_DATA_DIR "/suite-statistics.csv");
    std::string line;
    ref.curves.resize(5);
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::vector<double> f;
        std::stringstream fields(line);
        std::string field;
        while (std::getline(fields, field, ',')) {
            f.push_back(field == "nan" ? NAN : std::stod(field));
        }
        EXPECT_EQ(f.size(), 11u);
        ref.periods.push_back(f[0]);
        for (int r = 0; r < 5; ++r) {
            ref.curves[r].push_back(f[1 + r]);
        }
        ref.mean.push_back(f[6]);
        ref.median.push_back(f[7]);
        ref.sigma.push_back(f[8]);
        ref.logMean.push_back(f[9]);
        ref.sigmaLn.push_back(f[10]);
    }
    return ref;
}

constexpr double kTolerance = 1e-12;

TEST(SuiteStatistics, AgreeWithASeparateNumpyComputation) {
    const Reference ref = ReadReference();
    ASSERT_EQ(ref.periods.size(), 7u);
    const SuiteStatistics s = ComputeSuiteStatistics(ref.periods, ref.curves);
    EXPECT_EQ(s.recordCount, 5);
    ASSERT_EQ(s.mean.size(), ref.periods.size());
    for (std::size_t k = 0; k < ref.periods.size(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_NEAR(s.mean[k], ref.mean[k], kTolerance);
        EXPECT_NEAR(s.median[k], ref.median[k], kTolerance);
        EXPECT_NEAR(s.sigma[k], ref.sigma[k], kTolerance);
        EXPECT_NEAR(s.meanPlusSigma[k], ref.mean[k] + ref.sigma[k], kTolerance);
        EXPECT_NEAR(s.meanMinusSigma[k], ref.mean[k] - ref.sigma[k], kTolerance);
        if (std::isnan(ref.logMean[k])) {
            // A record's zero has no logarithm: the log-normal statistics are left out.
            EXPECT_TRUE(std::isnan(s.logMean[k]));
            EXPECT_TRUE(std::isnan(s.sigmaLn[k]));
            EXPECT_TRUE(std::isnan(s.logMeanPlusSigma[k]));
            continue;
        }
        EXPECT_NEAR(s.logMean[k], ref.logMean[k], kTolerance);
        EXPECT_NEAR(s.sigmaLn[k], ref.sigmaLn[k], kTolerance);
        EXPECT_NEAR(s.logMeanPlusSigma[k], ref.logMean[k] * std::exp(ref.sigmaLn[k]), 1e-12);
        EXPECT_NEAR(s.logMeanMinusSigma[k], ref.logMean[k] * std::exp(-ref.sigmaLn[k]), 1e-12);
    }
}

TEST(SuiteStatistics, TakeTheMiddlePairForAnEvenCountAndNoSpreadForOneRecord) {
    const SuiteStatistics four = ComputeSuiteStatistics({1.0}, {{4.0}, {1.0}, {3.0}, {10.0}});
    EXPECT_DOUBLE_EQ(four.median[0], 3.5);
    EXPECT_DOUBLE_EQ(four.mean[0], 4.5);
    // Deviations -0.5, -3.5, -1.5, 5.5: squares 0.25 + 12.25 + 2.25 + 30.25 = 45, / 3.
    EXPECT_DOUBLE_EQ(four.sigma[0], std::sqrt(15.0));
    // Geometric mean (4 * 1 * 3 * 10)^(1/4) = 120^(1/4).
    EXPECT_NEAR(four.logMean[0], std::pow(120.0, 0.25), 1e-12);

    const SuiteStatistics one = ComputeSuiteStatistics({0.5, 1.0}, {{0.2, 0.4}});
    EXPECT_EQ(one.sigma, (std::vector<double>{0.0, 0.0}));
    EXPECT_EQ(one.median, (std::vector<double>{0.2, 0.4}));
    EXPECT_DOUBLE_EQ(one.logMean[1], 0.4);
}

TEST(SuiteStatistics, RefuseCurvesOfTheWrongLength) {
    EXPECT_EQ(ComputeSuiteStatistics({0.5, 1.0}, {{0.2, 0.4}, {0.3}}).recordCount, 0);
    EXPECT_EQ(ComputeSuiteStatistics({0.5, 1.0}, {}).recordCount, 0);
}

TEST(MeanToTargetRatio, ReportsSmallestLargestAndAverageOverTheRange) {
    TargetSpectrum target{"flat then falling", {0.0, 1.0, 2.0}, {1.0, 1.0, 0.5}};
    const std::vector<double> periods = {0.0, 0.5, 1.0, 1.5, 2.0, 3.0};
    // Target at these periods: 1, 1, 1, 0.75, 0.5, undefined.
    const std::vector<double> mean = {0.9, 1.2, 0.8, 0.9, 0.6, 0.1};
    const TargetRatio r = CompareMeanToTarget(periods, mean, target, 0.5, 3.0);
    ASSERT_TRUE(r.valid);
    EXPECT_EQ(r.periodCount, 4);  // 0.5, 1, 1.5, 2; 3 s lies beyond the target
    EXPECT_DOUBLE_EQ(r.minRatio, 0.8);
    EXPECT_DOUBLE_EQ(r.minAtPeriod, 1.0);
    EXPECT_DOUBLE_EQ(r.maxRatio, 1.2);
    EXPECT_DOUBLE_EQ(r.maxAtPeriod, 0.5);
    EXPECT_DOUBLE_EQ(r.meanRatio, (1.2 + 0.8 + 1.2 + 1.2) / 4);

    EXPECT_FALSE(CompareMeanToTarget(periods, mean, target, 5.0, 6.0).valid);
}

}  // namespace
}  // namespace travik
