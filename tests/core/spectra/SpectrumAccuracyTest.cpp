#include "core/spectra/SpectrumAccuracy.h"

#include <cmath>

#include <gtest/gtest.h>

#include "core/analysis/SpectraComputation.h"

namespace travik {
namespace {

TEST(PeriodAccuracy, CountsSubStepsAsTheIntegratorsDo) {
    // n = trunc(dt / (T r) + 1): dt = 0.01, r = 0.02.
    const std::vector<PeriodAccuracy> rows =
        ComputePeriodAccuracy(0.01, {0.0, 0.03, 0.07, 0.3, 0.6, 2.0}, 0.02);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0].subSteps, 0);  // the period-0 row is not integrated
    EXPECT_EQ(rows[0].dtOverT, 0.0);
    EXPECT_EQ(rows[1].subSteps, 17);  // 0.01 / 0.0006 + 1 = 17.67
    EXPECT_DOUBLE_EQ(rows[1].dtOverT, 0.01 / 0.03);
    EXPECT_EQ(rows[2].subSteps, 8);  // 0.01 / 0.0014 + 1 = 8.14
    EXPECT_EQ(rows[3].subSteps, 2);  // 0.01 / 0.006 + 1 = 2.67
    EXPECT_EQ(rows[4].subSteps, 1);  // 0.01 / 0.012 + 1 = 1.83
    EXPECT_EQ(rows[5].subSteps, 1);
    EXPECT_DOUBLE_EQ(rows[5].dtOverT, 0.005);
    EXPECT_EQ(rows[5].period, 2.0);
}

TEST(PeriodAccuracy, IsCarriedByEverySpectraResult) {
    TimeHistory record("r.txt", 0.01);
    for (const double a : {0.0, 0.2, -0.1, 0.05}) {
        record.AppendAcceleration(a);
    }
    const SpectraResult result =
        ComputeSpectra(record, AnalysisSettings{}, {0.05}, {0.0, 0.03, 0.07, 2.0});
    EXPECT_EQ(result.timeStep, 0.01);
    EXPECT_EQ(result.sampleCount, 4);
    ASSERT_EQ(result.accuracy.size(), 4u);
    EXPECT_EQ(result.accuracy[0].subSteps, 0);
    EXPECT_EQ(result.accuracy[1].subSteps, 17);
    EXPECT_EQ(result.accuracy[2].subSteps, 8);
    EXPECT_EQ(result.accuracy[3].subSteps, 1);
    EXPECT_DOUBLE_EQ(result.accuracy[3].dtOverT, 0.005);
}

TEST(UntrustedBands, MarkShortPeriodsOnlyForNewmarkOrACoarseRatio) {
    const RecordSpan record{0.02, 1501, std::nullopt};  // 30 s
    AnalysisSettings settings;
    std::vector<UntrustedBand> bands = UntrustedPeriodBands(record, settings);
    ASSERT_EQ(bands.size(), 1u);
    EXPECT_EQ(bands[0].reason, UntrustedReason::LongPeriod);
    EXPECT_DOUBLE_EQ(bands[0].fromPeriod, 15.0);
    EXPECT_TRUE(std::isinf(bands[0].toPeriod));
    EXPECT_EQ(bands[0].explanation,
              "Above 15 s (half the record's duration) the largest response may come after the "
              "record ends, in free vibration, which the analysis does not follow.");

    settings.method = IntegrationMethod::Newmark;
    bands = UntrustedPeriodBands(record, settings);
    ASSERT_EQ(bands.size(), 2u);
    EXPECT_EQ(bands[0].reason, UntrustedReason::ShortPeriod);
    EXPECT_DOUBLE_EQ(bands[0].fromPeriod, 0.0);
    EXPECT_DOUBLE_EQ(bands[0].toPeriod, 0.2);
    EXPECT_EQ(bands[0].explanation,
              "Below 0.2 s (10 dt) the record has fewer than ten samples per cycle and the "
              "Newmark integration may miss or distort the peak.");

    settings.method = IntegrationMethod::PiecewiseExact;
    settings.maxDtOverT = 0.1;  // the limit itself is not coarse
    EXPECT_EQ(UntrustedPeriodBands(record, settings).size(), 1u);
    settings.maxDtOverT = 0.11;
    bands = UntrustedPeriodBands(record, settings);
    ASSERT_EQ(bands.size(), 2u);
    EXPECT_EQ(bands[0].reason, UntrustedReason::ShortPeriod);
}

TEST(UntrustedBands, MarkPeriodsBeyondTheHighPassCorner) {
    const RecordSpan record{0.005, 8001, 0.1};  // 40 s, filtered at 0.1 Hz
    const std::vector<UntrustedBand> bands = UntrustedPeriodBands(record, AnalysisSettings{}, ',');
    ASSERT_EQ(bands.size(), 2u);
    EXPECT_EQ(bands[1].reason, UntrustedReason::HighPassCorner);
    EXPECT_DOUBLE_EQ(bands[1].fromPeriod, 8.0);
    EXPECT_EQ(bands[1].explanation,
              "Above 8 s (0.8 / 0,1 Hz) the high-pass filter has removed most of the ground "
              "motion that drives these periods.");
}

TEST(UntrustedBands, LeaveTheirLimitsTrusted) {
    const RecordSpan record{0.01, 1001, std::nullopt};  // 10 s
    AnalysisSettings settings;
    settings.method = IntegrationMethod::Newmark;
    const std::vector<UntrustedBand> bands = UntrustedPeriodBands(record, settings);
    EXPECT_TRUE(IsUntrusted(bands, 0.05));
    EXPECT_TRUE(IsUntrusted(bands, 0.0999));
    EXPECT_FALSE(IsUntrusted(bands, 0.1));
    EXPECT_FALSE(IsUntrusted(bands, 5.0));
    EXPECT_TRUE(IsUntrusted(bands, 5.01));
}

}  // namespace
}  // namespace travik
