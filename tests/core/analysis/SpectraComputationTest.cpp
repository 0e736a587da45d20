#include "core/analysis/SpectraComputation.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "TestRecords.h"
#include "core/analysis/OscillatorIntegrators.h"
#include "core/export/SpectraReport.h"

namespace travik {
namespace {

using test::MakeRecord;
using ::testing::ElementsAre;

TEST(SpectraComputation, TheResultCarriesEverythingItWasComputedFrom) {
    AnalysisSettings settings;
    settings.method = IntegrationMethod::Newmark;
    settings.g = 981;
    TimeHistory record = MakeRecord({0.0, 0.3, -0.5, 0.2}, 0.01, "station.txt");
    record.MutableCorrectedAcceleration() = {0.0, 0.1, -0.1, 0.0};
    record.SetCorrected(true);
    record.SetCorrectionType(BaselineCorrectionType::Parabolic);

    const SpectraResult result = ComputeSpectra(record, settings, {0.1, 0.02}, {0.0, 0.5, 2.0});
    EXPECT_EQ(result.recordName, "station.txt");
    EXPECT_TRUE(result.corrected);
    EXPECT_EQ(result.correction, BaselineCorrectionType::Parabolic);
    EXPECT_EQ(result.settings.method, IntegrationMethod::Newmark);
    EXPECT_EQ(result.settings.g, 981);
    EXPECT_THAT(result.dampingRatios, ElementsAre(0.1, 0.02));
    EXPECT_THAT(result.periods, ElementsAre(0.0, 0.5, 2.0));
    // The period-0 row has no frequency of its own and repeats the next one.
    EXPECT_THAT(result.frequencies, ElementsAre(2.0, 2.0, 0.5));
    EXPECT_EQ(result.peakGroundAcceleration, 0.5);
    EXPECT_TRUE(result.failures.empty());
    EXPECT_FALSE(result.AllRunsFailed());

    // Each value is a lone oscillator's on the corrected series; the pseudo-spectra follow
    // from Sd with the program's 6.2831852.
    for (std::size_t d = 0; d < 2; ++d) {
        EXPECT_EQ(result.Columns(SpectrumKind::Acceleration)[d][0], 0.5);
        EXPECT_EQ(result.Columns(SpectrumKind::PseudoAcceleration)[d][0], 0.5);
        EXPECT_EQ(result.Columns(SpectrumKind::Displacement)[d][0], 0.0);
        for (std::size_t k = 1; k < 3; ++k) {
            double sd = 0, sv = 0, sa = 0;
            ASSERT_TRUE(ComputeOscillatorPeaks(settings, record, 981, 0.02, result.dampingRatios[d],
                                               result.periods[k], sd, sv, sa, true,
                                               IntegrationMethod::Newmark));
            const double omega = 6.2831852 / result.periods[k];
            EXPECT_EQ(result.Columns(SpectrumKind::Displacement)[d][k], sd);
            EXPECT_EQ(result.Columns(SpectrumKind::Velocity)[d][k], sv);
            EXPECT_EQ(result.Columns(SpectrumKind::Acceleration)[d][k], sa);
            EXPECT_EQ(result.Columns(SpectrumKind::PseudoVelocity)[d][k], omega * sd);
            EXPECT_EQ(result.Columns(SpectrumKind::PseudoAcceleration)[d][k],
                      omega * omega * sd / 981);
        }
    }
}

TEST(SpectraComputation, TheHighPassCornerIsThatOfTheFilterTheAnalysedSeriesWentThrough) {
    TimeHistory record = MakeRecord({0.0, 0.3, -0.5, 0.2}, 0.01, "station.txt");
    EXPECT_FALSE(ComputeSpectra(record, {}, {0.05}, {0.0, 0.5}).highPassCornerHz);

    record.MutableCorrectedAcceleration() = {0.0, 0.1, -0.1, 0.0};
    record.SetCorrected(true);
    FilterSettings filter;
    filter.band = FilterBand::BandPass;
    filter.lowCorner = 0.2;
    filter.highCorner = 20.0;
    record.SetFilter(filter);
    EXPECT_EQ(ComputeSpectra(record, {}, {0.05}, {0.0, 0.5}).highPassCornerHz, 0.2);
    filter.band = FilterBand::HighPass;
    filter.lowCorner = 0.05;
    record.SetFilter(filter);
    EXPECT_EQ(ComputeSpectra(record, {}, {0.05}, {0.0, 0.5}).highPassCornerHz, 0.05);
    filter.band = FilterBand::LowPass;
    record.SetFilter(filter);
    EXPECT_FALSE(ComputeSpectra(record, {}, {0.05}, {0.0, 0.5}).highPassCornerHz);
    // The raw series is analysed when the record is not corrected: no filter went into it.
    filter.band = FilterBand::HighPass;
    record.SetFilter(filter);
    record.SetCorrected(false);
    EXPECT_FALSE(ComputeSpectra(record, {}, {0.05}, {0.0, 0.5}).highPassCornerHz);
}

TEST(SpectraComputation, FailedRunsAreListedAndLeaveTheOthersComputed) {
    const AnalysisSettings settings;
    const TimeHistory record = MakeRecord({0.0, 0.3, -0.2}, 0.01);
    // A period of 1e-9 s would need 5e8 sub-steps per sample: refused, not attempted.
    const SpectraResult result = ComputeSpectra(record, settings, {0.02, 0.05}, {0.0, 1e-9, 0.5});
    ASSERT_EQ(result.failures.size(), 2u);
    EXPECT_EQ(result.failures[0].dampingRatio, 0.02);
    EXPECT_EQ(result.failures[0].period, 1e-9);
    EXPECT_EQ(result.failures[1].dampingRatio, 0.05);
    EXPECT_FALSE(result.AllRunsFailed());
    EXPECT_FALSE(result.DampingComputed(0));
    EXPECT_FALSE(result.Computed(1, 1));
    EXPECT_TRUE(result.Computed(1, 2));
    EXPECT_GT(result.Columns(SpectrumKind::Displacement)[1][2], 0.0);

    EXPECT_TRUE(ComputeSpectra(record, settings, {0.05}, {0.0, 1e-9}).AllRunsFailed());
    // Nothing to compute is not a failure.
    EXPECT_FALSE(ComputeSpectra(record, settings, {0.05}, {0.0}).AllRunsFailed());
}

TEST(SpectraComputation, TheReportCutsARowAtItsFirstFailedRunAndSaysSoOnce) {
    const AnalysisSettings settings;
    const TimeHistory record = MakeRecord({0.0, 0.3, -0.2}, 0.01);
    const SpectraResult result = ComputeSpectra(record, settings, {0.05}, {0.0, 1e-9, 0.5});
    ReportLines lines;
    std::vector<std::string> messages;
    BuildSpectraReport(lines, record, result, kSoftwareEdition, ReportDate{2026, 1, 2},
                       [&](const std::string& message) { messages.push_back(message); });
    EXPECT_THAT(messages, ElementsAre("Error calculation : DampingRatio: 0.05  Period :1E-9"));
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[8], "0.000000,0.000000,0.000000,0.300000,0.000000,0.300000,");
    EXPECT_EQ(lines[9], "0.000000,");
    EXPECT_EQ(lines[10].substr(0, 9), "0.500000,");
}

}  // namespace
}  // namespace travik
