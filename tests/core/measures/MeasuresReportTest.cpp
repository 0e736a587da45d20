#include "core/export/MeasuresReport.h"

#include <gtest/gtest.h>

#include <vector>

#include "MeasuresTestData.h"

namespace travik {
namespace {

// Half a second of a triangle wave of 0.5 g, period 0.08 s.
TimeHistory ShortSine() {
    TimeHistory record("sine.dat", 0.01);
    const double wave[] = {0.0, 0.25, 0.5, 0.25, 0.0, -0.25, -0.5, -0.25};
    for (int i = 0; i < 50; ++i) {
        record.AppendAcceleration(wave[i % 8]);
    }
    return record;
}

TEST(MeasuresReport, ListsEveryMeasureWithItsUnitAndExplainsTheMissingOnes) {
    const TimeHistory record = ShortSine();
    const GroundMotionMeasures m = ComputeGroundMotionMeasures(record, {});
    ReportLines lines;
    BuildMeasuresReport(lines, record, m, "20150902", ReportDate{2026, 3, 4});
    ASSERT_EQ(lines.size(), 7u + 5u + 24u);
    EXPECT_EQ(lines[4], "Report Time: 20260304");
    EXPECT_EQ(lines[5], "Acceleration TimeHistory SourceFile: sine.dat");
    EXPECT_EQ(lines[6], "Baseline Correction Type: No Baseline Correction");
    EXPECT_EQ(lines[7], "Measured Series: Raw");
    EXPECT_EQ(lines[8], "Gravitational Acceleration[cm/sec^2]: 980");
    EXPECT_EQ(lines[9], "Bracketed Duration Threshold[g]: 0.05");
    EXPECT_EQ(lines[11], "Name,Value,Unit,Note");
    EXPECT_EQ(lines[12], "PGA,0.5,g");
    EXPECT_EQ(lines[13], "Time of PGA,0.02,s");
    // 0.5 s of record: no one-second window.
    EXPECT_EQ(lines[12 + 18],
              "Standardised CAV,--,g*s,the record is shorter than one second (its window)");
    const std::vector<std::string> names = {"PGA",
                                            "Time of PGA",
                                            "PGV",
                                            "Time of PGV",
                                            "PGD",
                                            "Time of PGD",
                                            "Arias intensity",
                                            "D5-75",
                                            "D5-75 start",
                                            "D5-75 end",
                                            "D5-95",
                                            "D5-95 start",
                                            "D5-95 end",
                                            "Bracketed duration",
                                            "Bracketed duration start",
                                            "Bracketed duration end",
                                            "CAV",
                                            "CAV5",
                                            "Standardised CAV",
                                            "Housner SI",
                                            "ASI",
                                            "VSI",
                                            "Tp",
                                            "Tm"};
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(lines[12 + i].substr(0, names[i].size() + 1), names[i] + ",");
    }
}

TEST(MeasuresReport, FourierReportListsEveryPositiveFrequency) {
    const TimeHistory record = ShortSine();
    const GroundMotionMeasures m = ComputeGroundMotionMeasures(record, {});
    ReportLines lines;
    BuildFourierReport(lines, record, m, "20150902", ReportDate{2026, 3, 4});
    ASSERT_EQ(lines.size(), 7u + 3u + 32u);
    EXPECT_EQ(lines[7], "Fourier Transform: 50 samples zero-padded to 64; amplitude = dt * |FFT|");
    EXPECT_EQ(lines[8], "Smoothing: Konno-Ohmachi b = 40");
    EXPECT_EQ(lines[9], "Frequency[Hz],Fourier Amplitude[cm/sec],Smoothed Amplitude[cm/sec]");
    EXPECT_EQ(lines[10].substr(0, 7), "1.5625,");  // 1 / (64 * 0.01)
    EXPECT_EQ(lines.back().substr(0, 3), "50,");   // Nyquist
}

TEST(MeasuresReport, SummaryLineNamesTheRecordAndThreeMeasures) {
    const GroundMotionMeasures m = ComputeGroundMotionMeasures(ShortSine(), {});
    const std::string line = MeasuresSummaryLine(m);
    EXPECT_EQ(line.substr(0, 17), "sine.dat PGA=0.5 ");
    EXPECT_NE(line.find(" g PGV="), std::string::npos);
    EXPECT_NE(line.find(" cm/s D5-95="), std::string::npos);
    EXPECT_EQ(line.substr(line.size() - 2), " s");
}

TEST(MeasuresReport, MissingMeasureIsWrittenAsTwoDashes) {
    EXPECT_EQ(FormatMeasure(Measure::NotAvailable("why")), "--");
    EXPECT_EQ(FormatMeasure(Measure::Of(0.25), ','), "0,25");
}

}  // namespace
}  // namespace travik
