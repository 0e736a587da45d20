#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "core/records/ButterworthFilter.h"
#include "core/records/FilterSettings.h"
#include "core/records/RecordFilter.h"
#include "core/records/RecordPreparation.h"

namespace travik {
namespace {

FilterSettings Filter(FilterBand band, double low, double high, int order) {
    FilterSettings settings;
    settings.band = band;
    settings.lowCorner = low;
    settings.highCorner = high;
    settings.order = order;
    settings.acausal = true;
    return settings;
}

TimeHistory Sine(int samples, double dt) {
    TimeHistory record("sine.txt", dt);
    for (int i = 0; i < samples; ++i) {
        record.AppendAcceleration(0.1 * std::sin(0.7 * i));
    }
    IntegrateMotion(record, 980.0, MotionSet::Raw);
    record.SetIntegrated(true);
    return record;
}

// Band-pass 0.1-25 Hz, order 4: 60 s of pads around a 54 s record. The pads are added to
// the record, so it is filtered, and 0.1 Hz is well above 1 / 54 s.
TEST(FilterPadRule, ARecordShorterThanItsPadsIsFilteredWithoutAWord) {
    const FilterSettings settings = Filter(FilterBand::BandPass, 0.1, 25.0, 4);
    EXPECT_DOUBLE_EQ(settings.PadDuration(), 60.0);
    EXPECT_FALSE(settings.Check(0.01, 5400));
    EXPECT_FALSE(settings.ResolutionWarning(0.01, 5400));
    TimeHistory record = Sine(5400, 0.01);
    const FilterOutcome outcome = ApplyFilter(record, settings, 980.0);
    ASSERT_TRUE(outcome.ok) << outcome.problem.message;
    EXPECT_FALSE(outcome.warning);
    EXPECT_TRUE(record.IsCorrected());
    EXPECT_EQ(record.CorrectedAcceleration().size(), 5400u);
}

// 1 / 54 s = 0.0185185 Hz; a record of 10000 samples at 0.01 s resolves down to 0.01 Hz.
TEST(FilterPadRule, WarnsWhereTheCornerIsBelowWhatTheRecordLengthResolves) {
    EXPECT_EQ(Filter(FilterBand::HighPass, 0.01, 0.0, 4).ResolutionWarning(0.01, 5400),
              "Low corner frequency 0.01 Hz is below 0.0185185 Hz, the lowest frequency a record "
              "of 54 s resolves (1 / its length): the record is filtered, but it holds no whole "
              "cycle at the corner");
    EXPECT_EQ(Filter(FilterBand::LowPass, 0.0, 0.005, 2).ResolutionWarning(0.01, 10000),
              "High corner frequency 0.005 Hz is below 0.01 Hz, the lowest frequency a record of "
              "100 s resolves (1 / its length): the record is filtered, but it holds no whole "
              "cycle at the corner");
    // At the resolved frequency itself, and above it, no warning.
    EXPECT_FALSE(Filter(FilterBand::HighPass, 0.01, 0.0, 4).ResolutionWarning(0.01, 10000));
    EXPECT_FALSE(Filter(FilterBand::BandPass, 0.02, 10.0, 4).ResolutionWarning(0.01, 10000));
    EXPECT_TRUE(Filter(FilterBand::BandPass, 0.0099, 10.0, 4).ResolutionWarning(0.01, 10000));
    EXPECT_FALSE(Filter(FilterBand::BandPass, 0.0099, 10.0, 4).ResolutionWarning(0.01, 0));
}

TEST(FilterPadRule, TheWarningComesWithTheFilteredRecordOnBothPaths) {
    const FilterSettings settings = Filter(FilterBand::HighPass, 0.01, 0.0, 4);
    TimeHistory record = Sine(5400, 0.01);
    const FilterOutcome outcome = ApplyFilter(record, settings, 980.0);
    ASSERT_TRUE(outcome.ok);
    EXPECT_EQ(outcome.warning, settings.ResolutionWarning(0.01, 5400));
    EXPECT_TRUE(record.Filter().has_value());

    ImportPlan plan;
    plan.filter = settings;
    TimeHistory prepared = Sine(5400, 0.01);
    const RecordPreparation preparation = PrepareRecord(plan, prepared);
    EXPECT_TRUE(preparation.corrected);
    EXPECT_FALSE(preparation.message);
    EXPECT_EQ(preparation.filterWarning,
              "FILE: sine.txt, WARNING: " + *settings.ResolutionWarning(0.01, 5400));
    EXPECT_EQ(prepared.CorrectedAcceleration(), record.CorrectedAcceleration());
}

// Refused only when the record and its pads could not be held: both sides of the bound.
TEST(FilterPadRule, RefusesOnlyPadsThatCannotBeComputed) {
    const FilterSettings settings = Filter(FilterBand::HighPass, 0.001, 0.0, 1);
    const int pad = PadSampleCount(settings, 0.01);
    EXPECT_EQ(pad, 75000);
    const int fits = static_cast<int>(kMaxFilteredSamples) - 2 * pad;
    EXPECT_FALSE(settings.Check(0.01, fits));
    const auto problem = settings.Check(0.01, fits + 1);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->field, FilterField::Record);
    EXPECT_EQ(problem->message,
              "Zero pads too long to compute: the zero pads of order 1 at 0.001 Hz take 1.5 x "
              "order / corner = 1500 s, 150000 samples at 0.01 s; with the record's 134067729 "
              "samples that is more than the 134217728 a filtered record may hold");
    // Pads far beyond any count an int holds are refused, not overflowed.
    EXPECT_TRUE(Filter(FilterBand::HighPass, 1e-12, 0.0, 8).Check(0.001, 10));
}

}  // namespace
}  // namespace travik
