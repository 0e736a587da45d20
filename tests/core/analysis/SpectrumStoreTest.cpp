#include "analysis/SpectrumStore.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestRecords.h"
#include "analysis/OscillatorIntegrators.h"

namespace travik {
namespace {

using test::MakeRecord;
using ::testing::ElementsAre;

TEST(PeriodList, DefaultsGiveThreeHundredPeriodsEndingJustBelowSix) {
    std::vector<double> periods, frequencies;
    BuildPeriodList(periods, frequencies, 0.02, 6, 0.02);
    ASSERT_EQ(periods.size(), 301u);
    ASSERT_EQ(frequencies.size(), 301u);
    EXPECT_EQ(periods[0], 0.0);
    EXPECT_EQ(periods[1], 0.02);
    // Accumulated by repeated addition, 6 itself is never reached nor appended.
    EXPECT_NEAR(periods[300], 5.99999999999996, 5e-15);
    EXPECT_LT(periods[300], 6.0);
    EXPECT_EQ(frequencies[0], 50.0);
    EXPECT_EQ(frequencies[1], 50.0);
    EXPECT_EQ(frequencies[300], 1 / periods[300]);
}

TEST(PeriodList, TheEndIsAppendedOnlyWhenTheLastPeriodFallsShortByMoreThanTenPercent) {
    std::vector<double> periods, frequencies;
    BuildPeriodList(periods, frequencies, 0.5, 2, 0.5);
    EXPECT_THAT(periods, ElementsAre(0, 0.5, 1, 1.5, 2));
    EXPECT_THAT(frequencies, ElementsAre(2, 2, 1, 1 / 1.5, 0.5));

    BuildPeriodList(periods, frequencies, 0.25, 4, 0.25);
    ASSERT_EQ(periods.size(), 16u);
    EXPECT_EQ(periods.back(), 3.75);

    BuildPeriodList(periods, frequencies, 0.02, 0.5, 0.48);
    EXPECT_THAT(periods, ElementsAre(0, 0.02, 0.5));
    EXPECT_EQ(frequencies.size(), 3u);
}

TEST(PeriodList, ALastPeriodExactlyTenPercentShortKeepsTheEndOut) {
    std::vector<double> periods, frequencies;
    // 1 + 8 = 9 lies exactly 10 % below 10 (|9 - 10| / 10 is the double 0.1 itself): the end
    // is not appended, since only a shortfall of more than 10 % is.
    BuildPeriodList(periods, frequencies, 1, 10, 8);
    EXPECT_THAT(periods, ElementsAre(0, 1, 9));
    // 0.75 + 8 = 8.75 falls 12.5 % short: the end is appended.
    BuildPeriodList(periods, frequencies, 0.75, 10, 8);
    EXPECT_THAT(periods, ElementsAre(0, 0.75, 8.75, 10));
}

TEST(PeriodList, AStepTooSmallToAdvanceEndsTheListInsteadOfLoopingForever) {
    std::vector<double> periods, frequencies;
    BuildPeriodList(periods, frequencies, 1.0, 2.0, 1e-20);
    EXPECT_THAT(periods, ElementsAre(0, 1, 2));
    EXPECT_EQ(frequencies.size(), periods.size());
}

TEST(SpectrumStore, ColumnsAreFoundByKindAndClearingKeepsTheLists) {
    SpectrumStore store;
    store.dampingRatios = {0.05};
    store.periods = {0, 1};
    store.frequencies = {1, 1};
    store.displacementColumns = {{1}};
    store.velocityColumns = {{2}};
    store.accelerationColumns = {{3}};
    store.pseudoVelocityColumns = {{4}};
    store.pseudoAccelerationColumns = {{5}};
    EXPECT_EQ(store.Columns(SpectrumKind::Displacement)[0][0], 1);
    EXPECT_EQ(store.Columns(SpectrumKind::Velocity)[0][0], 2);
    EXPECT_EQ(store.Columns(SpectrumKind::Acceleration)[0][0], 3);
    EXPECT_EQ(store.Columns(SpectrumKind::PseudoVelocity)[0][0], 4);
    EXPECT_EQ(store.Columns(SpectrumKind::PseudoAcceleration)[0][0], 5);

    ClearSpectrumColumns(store);
    for (int kind = 0; kind < kSpectrumKindCount; ++kind) {
        EXPECT_TRUE(store.Columns(static_cast<SpectrumKind>(kind)).empty());
    }
    EXPECT_EQ(store.dampingRatios.size(), 1u);
    EXPECT_EQ(store.periods.size(), 2u);
    EXPECT_EQ(store.frequencies.size(), 2u);
}

TEST(SpectrumStore, CalculationErrorMessageJoinsTheNumbersWithoutBlanks) {
    EXPECT_EQ(AnalysisCalculationErrorMessage(0.05, 0.02),
              "Error calculation for DampingRatio: 0.05& Period: 0.02");
}

SpectrumStore StoreFor(std::vector<double> dampingRatios, const AnalysisSettings& settings) {
    SpectrumStore store;
    store.dampingRatios = std::move(dampingRatios);
    BuildPeriodList(store.periods, store.frequencies, settings.minPeriod, settings.maxPeriod,
                    settings.periodStep);
    return store;
}

TEST(SpectrumAnalysis, DefaultsFillOneColumnPerKindWithThePeriodZeroRowFirst) {
    const AnalysisSettings settings;
    const TimeHistory record = MakeRecord({0.0, 0.2, -0.4, 0.1, 0.0, 0.05}, 0.01);
    SpectrumStore store = StoreFor({0.05, 0.1}, settings);
    int messages = 0;
    RunSpectrumAnalysis(store, record, settings, [&](const std::string&) { ++messages; });
    EXPECT_EQ(messages, 0);
    for (int kind = 0; kind < kSpectrumKindCount; ++kind) {
        const auto& columns = store.Columns(static_cast<SpectrumKind>(kind));
        ASSERT_EQ(columns.size(), 2u);
        EXPECT_EQ(columns[0].size(), 301u);
        EXPECT_EQ(columns[1].size(), 301u);
    }
    EXPECT_EQ(store.displacementColumns[0][0], 0.0);
    EXPECT_EQ(store.velocityColumns[0][0], 0.0);
    EXPECT_EQ(store.pseudoVelocityColumns[0][0], 0.0);
    EXPECT_EQ(store.accelerationColumns[0][0], 0.4);
    EXPECT_EQ(store.pseudoAccelerationColumns[0][0], 0.4);

    // Column 1 belongs to 0.1; each value is what a lone oscillator run gives.
    for (const std::size_t k : {1u, 7u, 150u, 300u}) {
        const double period = store.periods[k];
        double sd = 0, sv = 0, sa = 0;
        ASSERT_TRUE(ComputeOscillatorPeaks(settings, record, 980, 0.02, 0.1, period, sd, sv, sa,
                                           false, IntegrationMethod::PiecewiseExact));
        const double omega = 6.2831852 / period;
        EXPECT_EQ(store.displacementColumns[1][k], sd);
        EXPECT_EQ(store.velocityColumns[1][k], sv);
        EXPECT_EQ(store.accelerationColumns[1][k], sa);
        EXPECT_EQ(store.pseudoVelocityColumns[1][k], omega * sd);
        EXPECT_EQ(store.pseudoAccelerationColumns[1][k], omega * omega * sd / 980);
    }
}

TEST(SpectrumAnalysis, CorrectedRecordsUseTheCorrectedSeriesButTheRawPeakAtPeriodZero) {
    AnalysisSettings settings;
    settings.minPeriod = 0.5;
    settings.maxPeriod = 2;
    settings.periodStep = 0.5;
    TimeHistory record = MakeRecord({0.0, 0.3, -0.2}, 0.01);
    record.MutableCorrectedAcceleration() = {0.0, 0.0, 0.0};
    record.SetCorrected(true);
    SpectrumStore store = StoreFor({0.05}, settings);
    RunSpectrumAnalysis(store, record, settings, nullptr);
    EXPECT_THAT(store.accelerationColumns[0], ElementsAre(0.3, 0, 0, 0, 0));
    EXPECT_THAT(store.pseudoAccelerationColumns[0], ElementsAre(0.3, 0, 0, 0, 0));
    EXPECT_THAT(store.displacementColumns[0], ElementsAre(0, 0, 0, 0, 0));
}

TEST(SpectrumAnalysis, AFailingDampingRatioGetsNoColumnsAndOneMessage) {
    AnalysisSettings settings;
    settings.minPeriod = 0.5;
    settings.maxPeriod = 2;
    settings.periodStep = 0.5;
    const TimeHistory record = MakeRecord({0.0, 0.3, -0.2}, 0.01);
    // A negative ratio of -150 % has no damped frequency; 5 % computes normally.
    SpectrumStore store = StoreFor({-1.5, 0.05}, settings);
    store.accelerationColumns = {};
    std::vector<std::string> messages;
    RunSpectrumAnalysis(store, record, settings,
                        [&](const std::string& message) { messages.push_back(message); });
    EXPECT_THAT(messages, ElementsAre("Error calculation for DampingRatio: -1.5& Period: 0.5"));
    ASSERT_EQ(store.displacementColumns.size(), 1u);
    ASSERT_EQ(store.pseudoAccelerationColumns.size(), 1u);
    EXPECT_EQ(store.displacementColumns[0].size(), 5u);
    EXPECT_GT(store.displacementColumns[0][1], 0.0);
}

TEST(SpectrumAnalysis, NewmarkRunsThroughTheSameDriver) {
    AnalysisSettings settings;
    settings.method = IntegrationMethod::Newmark;
    settings.minPeriod = 0.1;
    settings.maxPeriod = 1;
    settings.periodStep = 0.1;
    const TimeHistory record = MakeRecord({0.0, 0.2, -0.4, 0.1, 0.0, 0.05}, 0.01);
    SpectrumStore store = StoreFor({0.02, 0.05, 0.1}, settings);
    RunSpectrumAnalysis(store, record, settings, nullptr);
    ASSERT_EQ(store.displacementColumns.size(), 3u);
    for (std::size_t d = 0; d < 3; ++d) {
        for (std::size_t k = 1; k < store.periods.size(); ++k) {
            double sd = 0, sv = 0, sa = 0;
            ASSERT_TRUE(ComputeOscillatorPeaks(settings, record, 980, 0.02, store.dampingRatios[d],
                                               store.periods[k], sd, sv, sa, false,
                                               IntegrationMethod::Newmark));
            EXPECT_EQ(store.displacementColumns[d][k], sd);
            EXPECT_EQ(store.velocityColumns[d][k], sv);
            EXPECT_EQ(store.accelerationColumns[d][k], sa);
        }
    }
}

}  // namespace
}  // namespace travik
