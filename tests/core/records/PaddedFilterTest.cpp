#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

#include "core/records/ButterworthFilter.h"
#include "core/records/CorrectedSet.h"
#include "core/records/RecordFilter.h"
#include "core/records/RecordPreparation.h"

namespace travik {
namespace {

constexpr double kGravity = 980.0;  // cm/sec^2

// 1940 El Centro 180 (PEER RSN 6), g at 0.01 s, integrated as an import does.
TimeHistory ElCentro180() {
    std::ifstream in(std::string(TRAVIK_SAMPLE_DATA_DIR) + "/elcentro-1940-rsn6-180.txt");
    TimeHistory record("elcentro-1940-rsn6-180.txt", 0.01);
    double value = 0.0;
    while (in >> value) {
        record.AppendAcceleration(value);
    }
    IntegrateMotion(record, kGravity, MotionSet::Raw);
    record.SetIntegrated(true);
    return record;
}

// Band-pass 0.1-20 Hz, order 2, acausal: pads of 15 s on either side.
FilterSettings BandPass() {
    FilterSettings settings;
    settings.band = FilterBand::BandPass;
    settings.lowCorner = 0.1;
    settings.highCorner = 20.0;
    settings.order = 2;
    settings.acausal = true;
    return settings;
}

double Mean(const std::vector<double>& values) {
    return std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
}

struct ReferenceRow {
    std::size_t index;
    double acceleration, velocity, displacement;
};

// make_padded_filter_reference.py: SciPy's filter over the padded record, the whole padded
// record integrated from rest.
std::vector<ReferenceRow> Reference() {
    std::ifstream in(std::string(TRAVIK_TEST_DATA_DIR) + "/padded_filter_elcentro180.csv");
    std::vector<ReferenceRow> rows;
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        for (char& c : line) {
            c = c == ',' ? ' ' : c;
        }
        std::istringstream fields(line);
        ReferenceRow row{};
        fields >> row.index >> row.acceleration >> row.velocity >> row.displacement;
        rows.push_back(row);
    }
    return rows;
}

TEST(PaddedFilter, AcausalRecordMovesAsTheWholePaddedRecordIntegratedAsScipyGivesIt) {
    TimeHistory record = ElCentro180();
    ASSERT_EQ(record.SampleCount(), 5372);
    ASSERT_TRUE(ApplyFilter(record, BandPass(), kGravity).ok);
    const std::vector<ReferenceRow> rows = Reference();
    ASSERT_EQ(rows.size(), 109u);
    for (const ReferenceRow& row : rows) {
        EXPECT_NEAR(record.CorrectedAcceleration().at(row.index), row.acceleration, 1e-10)
            << row.index;
        EXPECT_NEAR(record.CorrectedVelocity().at(row.index), row.velocity, 1e-6) << row.index;
        EXPECT_NEAR(record.CorrectedDisplacement().at(row.index), row.displacement, 1e-6)
            << row.index;
    }
    // The leading pad's motion is where the record starts.
    EXPECT_NEAR(record.CorrectedVelocity().front(), 0.256396134, 1e-8);
    EXPECT_NEAR(record.CorrectedDisplacement().front(), 0.332134010, 1e-8);
}

// The record ends near rest and its velocity has no offset, whatever baseline fit ran first;
// cut from its pads and integrated from rest, it drifts to -14.1 cm.
TEST(PaddedFilter, AcausalBandPassAddsNoDriftWithAnyBaselineFit) {
    for (const BaselineCorrectionType baseline :
         {BaselineCorrectionType::None, BaselineCorrectionType::Linear,
          BaselineCorrectionType::Parabolic}) {
        ImportPlan plan;
        plan.gravity = kGravity;
        plan.baseline = baseline;
        plan.filter = BandPass();
        TimeHistory prepared = ElCentro180();
        ASSERT_TRUE(PrepareRecord(plan, prepared).corrected);
        TimeHistory applied = ElCentro180();
        ASSERT_TRUE(ApplyBaselineCorrection(applied, baseline, kGravity));
        ASSERT_TRUE(ApplyFilter(applied, BandPass(), kGravity).ok);
        for (const TimeHistory* record : {&prepared, &applied}) {
            EXPECT_LT(std::fabs(record->CorrectedDisplacement().back()), 1.0)
                << static_cast<int>(baseline);
            EXPECT_LT(std::fabs(Mean(record->CorrectedVelocity())), 0.05)
                << static_cast<int>(baseline);
        }
        EXPECT_EQ(prepared.CorrectedDisplacement(), applied.CorrectedDisplacement());
    }
}

TEST(PaddedFilter, CausalRecordStartsFromRestAsTheUnpaddedIntegration) {
    TimeHistory record = ElCentro180();
    FilterSettings causal = BandPass();
    causal.acausal = false;
    ASSERT_TRUE(ApplyFilter(record, causal, kGravity).ok);
    EXPECT_EQ(record.CorrectedVelocity().front(), 0.0);
    EXPECT_EQ(record.CorrectedDisplacement().front(), 0.0);

    TimeHistory fromRest("x", 0.01);
    for (const double value : record.CorrectedAcceleration()) {
        fromRest.AppendAcceleration(value);
    }
    IntegrateMotion(fromRest, kGravity, MotionSet::Raw);
    EXPECT_EQ(record.CorrectedVelocity(), fromRest.RawVelocity());
    EXPECT_EQ(record.CorrectedDisplacement(), fromRest.RawDisplacement());
}

TEST(PaddedFilter, PaddedOutputHoldsThePadsAroundTheRecordsOwnPart) {
    FilterSettings settings = BandPass();
    const auto design = DesignButterworth(settings, 0.01);
    ASSERT_TRUE(design);
    const std::vector<double> input = {0.0, 0.1, -0.2, 0.05, 0.0, 0.3, -0.1};
    const PaddedSeries padded = FilterSeriesPadded(*design, input);
    EXPECT_EQ(padded.pad, 1500u);
    EXPECT_EQ(padded.count, input.size());
    EXPECT_EQ(padded.values.size(), input.size() + 3000u);
    EXPECT_EQ(padded.LeadThroughFirst().size(), 1501u);
    const auto inner = padded.Inner();
    EXPECT_EQ(std::vector<double>(inner.begin(), inner.end()), FilterSeries(*design, input));
    // Zero phase spreads the motion into both pads.
    EXPECT_NE(padded.values[1499], 0.0);
    EXPECT_NE(padded.values[1507], 0.0);
}

TEST(PaddedFilter, IntegrationFromAGivenStateCarriesIt) {
    TimeHistory record("x", 0.5);
    for (const double value : {0.0, 0.0, 0.0}) {
        record.AppendAcceleration(value);
    }
    IntegrateMotion(record, kGravity, MotionSet::Raw, {2.0, -1.0});
    // No acceleration: constant velocity, displacement growing by v * dt.
    EXPECT_EQ(record.RawVelocity(), (std::vector<double>{2.0, 2.0, 2.0}));
    EXPECT_EQ(record.RawDisplacement(), (std::vector<double>{-1.0, 0.0, 1.0}));
    // A constant 1 g over 1 s from rest: v = g t, d = g t^2 / 2 (to the factor 0.1666666667).
    const std::vector<double> constant(3, 1.0);
    const MotionState end = IntegrateToLastSample(constant, 0.5, kGravity);
    EXPECT_DOUBLE_EQ(end.velocity, kGravity);
    EXPECT_NEAR(end.displacement, 0.5 * kGravity, 1e-6);
}

}  // namespace
}  // namespace travik
