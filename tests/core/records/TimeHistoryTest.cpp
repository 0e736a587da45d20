#include "core/records/TimeHistory.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <vector>

namespace travik {
namespace {

TimeHistory RecordOf(std::initializer_list<double> samples, double dt = 0.01) {
    TimeHistory record("r.txt", dt);
    for (const double sample : samples) {
        record.AppendAcceleration(sample);
    }
    return record;
}

TEST(TimeHistory, StartsEmptyWithLinearTypeAndNoFlags) {
    const TimeHistory record("quake.txt", 0.02);
    EXPECT_EQ(record.SourceFileName(), "quake.txt");
    EXPECT_EQ(record.TimeStep(), 0.02);
    EXPECT_EQ(record.SampleCount(), 0);
    EXPECT_EQ(record.MaxAcceleration(), 0.0);
    EXPECT_EQ(record.MinAcceleration(), 0.0);
    EXPECT_EQ(record.PeakAcceleration(), 0.0);
    EXPECT_FALSE(record.IsCorrected());
    EXPECT_FALSE(record.IsIntegrated());
    EXPECT_EQ(record.CorrectionType(), BaselineCorrectionType::Linear);
}

TEST(TimeHistory, ExtremesFollowTheSamples) {
    const TimeHistory mixed = RecordOf({0.2, -0.5, 0.5});
    EXPECT_EQ(mixed.MaxAcceleration(), 0.5);
    EXPECT_EQ(mixed.MinAcceleration(), -0.5);
    EXPECT_EQ(mixed.PeakAcceleration(), 0.5);

    const TimeHistory constant = RecordOf({-0.3, -0.3, -0.3});
    EXPECT_EQ(constant.MaxAcceleration(), -0.3);
    EXPECT_EQ(constant.MinAcceleration(), -0.3);
    EXPECT_EQ(constant.PeakAcceleration(), 0.3);

    // The first sample sets both extremes, even when it is negative.
    const TimeHistory single = RecordOf({-0.7});
    EXPECT_EQ(single.MaxAcceleration(), -0.7);
    EXPECT_EQ(single.PeakAcceleration(), 0.7);
}

TEST(TimeHistory, AppendingASampleMakesDerivedDataStale) {
    TimeHistory record = RecordOf({0.1, 0.2});
    record.SetIntegrated(true);
    record.SetCorrected(true);
    record.AppendAcceleration(0.3);
    EXPECT_FALSE(record.IsIntegrated());
    EXPECT_FALSE(record.IsCorrected());
    EXPECT_EQ(record.SampleCount(), 3);
}

TEST(TimeHistory, ClearCorrectionEmptiesTheCorrectedSetButKeepsItsType) {
    TimeHistory record = RecordOf({0.1, 0.2});
    record.MutableCorrectedAcceleration() = {0.05, 0.1};
    IntegrateMotion(record, 980.0, MotionSet::Corrected);
    record.SetCorrected(true);
    record.SetCorrectionType(BaselineCorrectionType::Parabolic);

    record.ClearCorrection();
    EXPECT_FALSE(record.IsCorrected());
    EXPECT_EQ(record.CorrectionType(), BaselineCorrectionType::Parabolic);
    EXPECT_TRUE(record.CorrectedAcceleration().empty());
    EXPECT_TRUE(record.CorrectedVelocity().empty());
    EXPECT_TRUE(record.CorrectedDisplacement().empty());
    EXPECT_EQ(record.RawAcceleration().size(), 2u);
}

TEST(TimeHistory, AccelerationChoosesTheSetByTheFlagAlone) {
    const TimeHistory record = RecordOf({0.1, 0.2});
    EXPECT_EQ(&record.Acceleration(false), &record.RawAcceleration());
    EXPECT_TRUE(record.Acceleration(true).empty());
}

// Hand-worked: v1 = 0.5*0.01*980*(0+1) = 4.9, v2 = 4.9 + 9.8 = 14.7;
// d1 = 0.1666666667*1e-4*980*1 = 0.0163333333366,
// d2 = d1 + 0.01*4.9 + 0.1666666667*1e-4*980*3 = 0.1143333333464.
TEST(IntegrateMotion, UsesTheTrapezoidalVelocityAndTheTenDigitSixth) {
    TimeHistory record = RecordOf({0.0, 1.0, 1.0});
    IntegrateMotion(record, 980.0, MotionSet::Raw);
    ASSERT_EQ(record.RawVelocity().size(), 3u);
    ASSERT_EQ(record.RawDisplacement().size(), 3u);
    EXPECT_DOUBLE_EQ(record.RawVelocity()[0], 0.0);
    EXPECT_NEAR(record.RawVelocity()[1], 4.9, 1e-13);
    EXPECT_NEAR(record.RawVelocity()[2], 14.7, 1e-13);
    EXPECT_DOUBLE_EQ(record.RawDisplacement()[0], 0.0);
    // 1e-14 separates the ten-digit factor from an exact 1/6 (0.0163333333333).
    EXPECT_NEAR(record.RawDisplacement()[1], 0.0163333333366, 1e-14);
    EXPECT_NEAR(record.RawDisplacement()[2], 0.1143333333464, 1e-14);
    EXPECT_TRUE(record.CorrectedVelocity().empty());
    EXPECT_FALSE(record.IsIntegrated());  // the caller sets the flag
}

TEST(IntegrateMotion, OneSampleStartsAndStaysAtRest) {
    TimeHistory record = RecordOf({0.4});
    IntegrateMotion(record, 980.0, MotionSet::Raw);
    EXPECT_EQ(record.RawVelocity(), DOUBLEVECTOR{0.0});
    EXPECT_EQ(record.RawDisplacement(), DOUBLEVECTOR{0.0});
    EXPECT_EQ(record.PeakAcceleration(), 0.4);
}

TEST(IntegrateMotion, ConstantAccelerationGivesTheClosedForm) {
    // a = 0.5 g with g = 1000: v = 500 t, d = 250 t^2 (the ten-digit sixth is exact enough).
    TimeHistory record("c.txt", 0.02);
    for (int i = 0; i < 101; ++i) {
        record.AppendAcceleration(0.5);
    }
    IntegrateMotion(record, 1000.0, MotionSet::Raw);
    const double t = 100 * 0.02;
    EXPECT_NEAR(record.RawVelocity().back(), 500.0 * t, 1e-9);
    EXPECT_NEAR(record.RawDisplacement().back(), 250.0 * t * t, 1e-6);
}

TEST(IntegrateMotion, CorrectedSetIsIntegratedFromTheCorrectedAcceleration) {
    TimeHistory record = RecordOf({0.0, 1.0, 1.0});
    IntegrateMotion(record, 980.0, MotionSet::Raw);
    record.MutableCorrectedAcceleration() = {0.0, 2.0, 2.0};
    IntegrateMotion(record, 980.0, MotionSet::Corrected);
    EXPECT_NEAR(record.CorrectedVelocity()[2], 29.4, 1e-12);
    EXPECT_NEAR(record.RawVelocity()[2], 14.7, 1e-12);  // raw set untouched
}

TEST(RecordList, KeepsReadingOrderAndClearsAllTogether) {
    RecordList list;
    EXPECT_TRUE(list.IsEmpty());
    list.Append(std::make_unique<TimeHistory>("a.txt", 0.01));
    list.Append(std::make_unique<TimeHistory>("b.txt", 0.02));
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.At(0).SourceFileName(), "a.txt");
    EXPECT_EQ(list.At(1).SourceFileName(), "b.txt");
    list.Clear();
    EXPECT_TRUE(list.IsEmpty());
}

TEST(RecordList, TakesOverAnotherListsRecordsAtItsEnd) {
    RecordList list;
    list.Append(std::make_unique<TimeHistory>("a.txt", 0.01));
    const TimeHistory* first = &list.At(0);
    RecordList more;
    more.Append(std::make_unique<TimeHistory>("b.txt", 0.02));
    more.Append(std::make_unique<TimeHistory>("c.txt", 0.005));
    list.AppendAll(std::move(more));
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(&list.At(0), first);  // the records loaded before are not touched
    EXPECT_EQ(list.At(1).SourceFileName(), "b.txt");
    EXPECT_EQ(list.At(2).SourceFileName(), "c.txt");
    EXPECT_TRUE(more.IsEmpty());
}

}  // namespace
}  // namespace travik
