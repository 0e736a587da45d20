#include "core/analysis/CalculationErrors.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestRecords.h"
#include "core/analysis/OscillatorIntegrators.h"

namespace travik {
namespace {

using test::MakeRecord;
using ::testing::ElementsAre;

TEST(CalculationErrors, TheMessageJoinsTheNumbersWithoutBlanks) {
    EXPECT_EQ(AnalysisCalculationErrorMessage(0.05, 0.02),
              "Error calculation for DampingRatio: 0.05& Period: 0.02");
}

TEST(AnalysisOfTheWindow, DefaultsFillOneColumnPerKindWithThePeriodZeroRowFirst) {
    const AnalysisSettings settings;
    const TimeHistory record = MakeRecord({0.0, 0.2, -0.4, 0.1, 0.0, 0.05}, 0.01);
    const SpectraResult result = ComputeSpectra(record, settings, {0.05, 0.1}, settings.Periods());
    int messages = 0;
    ReportIncompleteDampings(result, [&](const std::string&) { ++messages; });
    EXPECT_EQ(messages, 0);
    for (int kind = 0; kind < kSpectrumKindCount; ++kind) {
        const auto& columns = result.Columns(static_cast<SpectrumKind>(kind));
        ASSERT_EQ(columns.size(), 2u);
        EXPECT_EQ(columns[0].size(), 301u);
        EXPECT_EQ(columns[1].size(), 301u);
    }
    EXPECT_EQ(result.Columns(SpectrumKind::Displacement)[0][0], 0.0);
    EXPECT_EQ(result.Columns(SpectrumKind::Velocity)[0][0], 0.0);
    EXPECT_EQ(result.Columns(SpectrumKind::PseudoVelocity)[0][0], 0.0);
    EXPECT_EQ(result.Columns(SpectrumKind::Acceleration)[0][0], 0.4);
    EXPECT_EQ(result.Columns(SpectrumKind::PseudoAcceleration)[0][0], 0.4);

    // Column 1 belongs to 0.1; each value is what a lone oscillator run gives.
    for (const std::size_t k : {1u, 7u, 150u, 300u}) {
        const double period = result.periods[k];
        double sd = 0, sv = 0, sa = 0;
        ASSERT_TRUE(ComputeOscillatorPeaks(settings, record, 980, 0.02, 0.1, period, sd, sv, sa,
                                           false, IntegrationMethod::PiecewiseExact));
        const double omega = 6.2831852 / period;
        EXPECT_EQ(result.Columns(SpectrumKind::Displacement)[1][k], sd);
        EXPECT_EQ(result.Columns(SpectrumKind::Velocity)[1][k], sv);
        EXPECT_EQ(result.Columns(SpectrumKind::Acceleration)[1][k], sa);
        EXPECT_EQ(result.Columns(SpectrumKind::PseudoVelocity)[1][k], omega * sd);
        EXPECT_EQ(result.Columns(SpectrumKind::PseudoAcceleration)[1][k], omega * omega * sd / 980);
    }
}

TEST(AnalysisOfTheWindow, CorrectedRecordsUseTheCorrectedSeriesButTheRawPeakAtPeriodZero) {
    AnalysisSettings settings;
    settings.minPeriod = 0.5;
    settings.maxPeriod = 2;
    settings.periodStep = 0.5;
    TimeHistory record = MakeRecord({0.0, 0.3, -0.2}, 0.01);
    record.MutableCorrectedAcceleration() = {0.0, 0.0, 0.0};
    record.SetCorrected(true);
    const SpectraResult result = ComputeSpectra(record, settings, {0.05}, settings.Periods());
    EXPECT_THAT(result.Columns(SpectrumKind::Acceleration)[0], ElementsAre(0.3, 0, 0, 0, 0));
    EXPECT_THAT(result.Columns(SpectrumKind::PseudoAcceleration)[0], ElementsAre(0.3, 0, 0, 0, 0));
    EXPECT_THAT(result.Columns(SpectrumKind::Displacement)[0], ElementsAre(0, 0, 0, 0, 0));
}

TEST(AnalysisOfTheWindow, AFailingDampingRatioGetsNoColumnsAndOneMessage) {
    AnalysisSettings settings;
    settings.minPeriod = 0.5;
    settings.maxPeriod = 2;
    settings.periodStep = 0.5;
    const TimeHistory record = MakeRecord({0.0, 0.3, -0.2}, 0.01);
    // A negative ratio of -150 % has no damped frequency; 5 % computes normally.
    const SpectraResult result = ComputeSpectra(record, settings, {-1.5, 0.05}, settings.Periods());
    std::vector<std::string> messages;
    ReportIncompleteDampings(result,
                             [&](const std::string& message) { messages.push_back(message); });
    EXPECT_THAT(messages, ElementsAre("Error calculation for DampingRatio: -1.5& Period: 0.5"));
    EXPECT_FALSE(result.DampingComputed(0));
    ASSERT_TRUE(result.DampingComputed(1));
    EXPECT_EQ(result.Columns(SpectrumKind::Displacement)[1].size(), 5u);
    EXPECT_GT(result.Columns(SpectrumKind::Displacement)[1][1], 0.0);
}

TEST(AnalysisOfTheWindow, NewmarkRunsThroughTheSameDriver) {
    AnalysisSettings settings;
    settings.method = IntegrationMethod::Newmark;
    settings.minPeriod = 0.1;
    settings.maxPeriod = 1;
    settings.periodStep = 0.1;
    const TimeHistory record = MakeRecord({0.0, 0.2, -0.4, 0.1, 0.0, 0.05}, 0.01);
    const SpectraResult result =
        ComputeSpectra(record, settings, {0.02, 0.05, 0.1}, settings.Periods());
    ASSERT_EQ(result.Columns(SpectrumKind::Displacement).size(), 3u);
    for (std::size_t d = 0; d < 3; ++d) {
        for (std::size_t k = 1; k < result.periods.size(); ++k) {
            double sd = 0, sv = 0, sa = 0;
            ASSERT_TRUE(ComputeOscillatorPeaks(settings, record, 980, 0.02, result.dampingRatios[d],
                                               result.periods[k], sd, sv, sa, false,
                                               IntegrationMethod::Newmark));
            EXPECT_EQ(result.Columns(SpectrumKind::Displacement)[d][k], sd);
            EXPECT_EQ(result.Columns(SpectrumKind::Velocity)[d][k], sv);
            EXPECT_EQ(result.Columns(SpectrumKind::Acceleration)[d][k], sa);
        }
    }
}

}  // namespace
}  // namespace travik
