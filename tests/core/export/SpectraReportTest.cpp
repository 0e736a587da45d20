#include "core/export/SpectraReport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/analysis/OscillatorIntegrators.h"
#include "core/text/NumberFormat.h"

namespace travik {
namespace {

using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::StartsWith;

const ReportDate kDate{2015, 12, 31};

TimeHistory MakeRecord(const std::vector<double>& samples, double timeStep) {
    TimeHistory record("quake1.txt", timeStep);
    for (const double sample : samples) {
        record.AppendAcceleration(sample);
    }
    return record;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::string::size_type start = 0, comma;
    while ((comma = line.find(',', start)) != std::string::npos) {
        fields.push_back(line.substr(start, comma - start));
        start = comma + 1;
    }
    EXPECT_EQ(start, line.size()) << "every line ends with a comma: " << line;
    return fields;
}

ReportLines Build(const TimeHistory& record, const AnalysisSettings& settings,
                  const std::vector<double>& dampingRatios, const std::vector<double>& periods,
                  std::vector<std::string>* messages = nullptr) {
    ReportLines lines{"left over from the previous record"};
    BuildSpectraReport(lines, record, settings, dampingRatios, periods, kSoftwareEdition, kDate,
                       [messages](const std::string& message) {
                           if (messages)
                               messages->push_back(message);
                       });
    return lines;
}

TEST(SpectraReport, HeaderColumnTitlesAndOneLinePerPeriodWithTrailingCommas) {
    const TimeHistory record = MakeRecord({0.0, 0.1, -0.2, 0.05}, 0.01);
    const ReportLines lines = Build(record, {}, {0.05, 0.1}, {0, 0.5, 1, 1.5, 2});
    ReportLines header;
    AppendReportHeader(header, record, kSoftwareEdition, kDate);
    ASSERT_EQ(lines.size(), 7u + 1u + 5u);
    EXPECT_TRUE(std::equal(header.begin(), header.end(), lines.begin()));
    EXPECT_EQ(lines[7],
              "Period[sec],Disp.Damp.=5%,Disp.Damp.=10%,Vel.Damp.=5%,Vel.Damp.=10%,"
              "Acc.Damp.=5%,Acc.Damp.=10%,Pseudo-Vel.Damp.=5%,Pseudo-Vel.Damp.=10%,"
              "Pseudo-Acc.Damp.=5%,Pseudo-Acc.Damp.=10%,");
    for (std::size_t r = 8; r < lines.size(); ++r) {
        EXPECT_EQ(Fields(lines[r]).size(), 1u + 5u * 2u) << lines[r];
    }
    EXPECT_THAT(lines[9], StartsWith("0.500000,"));
    EXPECT_THAT(lines[12], StartsWith("2.000000,"));
}

TEST(SpectraReport, TitlesShowPercentagesWithUpToThreeDecimals) {
    const ReportLines lines = Build(MakeRecord({0.0, 0.1}, 0.01), {}, {0.025, 0.123456}, {0, 1});
    EXPECT_THAT(lines[7], StartsWith("Period[sec],Disp.Damp.=2.5%,Disp.Damp.=12.346%,"));
    EXPECT_THAT(lines[7], EndsWith("Pseudo-Acc.Damp.=2.5%,Pseudo-Acc.Damp.=12.346%,"));
}

TEST(SpectraReport, PeriodZeroRowHoldsTheRawPeakEvenForACorrectedRecord) {
    TimeHistory record = MakeRecord({0.0, 0.3, -0.45, 0.1}, 0.01);
    record.MutableCorrectedAcceleration() = {0.0, 0.0, 0.0, 0.0};
    record.SetCorrected(true);
    record.SetCorrectionType(BaselineCorrectionType::Parabolic);
    const ReportLines lines = Build(record, {}, {0.05}, {0, 1});
    EXPECT_EQ(lines[6], "Baseline Correction Type: Parabolic");
    EXPECT_EQ(lines[8], "0.000000,0.000000,0.000000,0.450000,0.000000,0.450000,");
    // The spectra themselves come from the corrected (here silent) series.
    EXPECT_EQ(lines[9], "1.000000,0.000000,0.000000,0.000000,0.000000,0.000000,");
}

TEST(SpectraReport, ValuesOfAnUndampedStepSitInTheirColumns) {
    // 0.5 g held from time 0 drives an undamped oscillator to twice its static
    // displacement at T / 2, which the sub-steps of dt / 2 (ratio dt / (T 0.04) = 1) hit.
    AnalysisSettings settings;
    settings.maxDtOverT = 0.04;
    const double period = 0.25, omega = kTwoPi / period;
    const ReportLines lines =
        Build(MakeRecord(std::vector<double>(30, 0.5), 0.01), settings, {0.0}, {0, period});
    const double sd = 2 * 0.5 * 980 / (omega * omega);
    const std::vector<std::string> fields = Fields(lines[9]);
    ASSERT_EQ(fields.size(), 6u);
    EXPECT_EQ(fields[0], "0.250000");
    EXPECT_EQ(fields[1], FormatNumber(sd, "0.000000"));
    EXPECT_EQ(fields[3], "1.000000");
    EXPECT_EQ(fields[4], FormatNumber(omega * sd, "0.000000"));
    EXPECT_EQ(fields[5], "1.000000");
}

TEST(SpectraReport, AFailedRunCutsItsRowShortAndTheReportGoesOn) {
    const TimeHistory record = MakeRecord({0.0, 0.1, -0.2}, 0.0);
    std::vector<std::string> messages;
    const ReportLines lines = Build(record, {}, {0.05, 0.1}, {0, 0.5, 1}, &messages);
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[9], "0.500000,");
    EXPECT_EQ(lines[10], "1.000000,");
    EXPECT_THAT(messages, ElementsAre("Error calculation : DampingRatio: 0.05  Period :0.5",
                                      "Error calculation : DampingRatio: 0.05  Period :1"));
}

TEST(SpectraReport, ExportCalculationErrorMessageUsesTheShortestGeneralForm) {
    EXPECT_EQ(ExportCalculationErrorMessage(0.05, 0.02),
              "Error calculation : DampingRatio: 0.05  Period :0.02");
}

}  // namespace
}  // namespace travik
