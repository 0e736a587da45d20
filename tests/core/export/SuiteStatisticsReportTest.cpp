#include "core/export/SuiteStatisticsReport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/export/SpectraReport.h"

namespace travik {
namespace {

const ReportDate kDate{2026, 12, 9};

TimeHistory MakeRecord(const std::string& name) {
    TimeHistory record(name, 0.01);
    for (const double sample : {0.0, 0.1, -0.2, 0.05, 0.0}) {
        record.AppendAcceleration(sample);
    }
    return record;
}

TEST(SuiteStatisticsReport, NamesEveryRecordAndWritesNineStatisticsPerKind) {
    const TimeHistory first = MakeRecord("a.txt");
    SuiteSpectraStatistics statistics;
    statistics.dampingRatio = 0.05;
    statistics.recordNames = {"a.txt", "b.txt"};
    for (SuiteStatistics& kind : statistics.kinds) {
        kind = ComputeSuiteStatistics({0.0, 1.0}, {{0.0, 2.0}, {0.5, 8.0}});
    }
    ReportLines lines{"stale"};
    BuildSuiteStatisticsReport(lines, first, statistics, kSoftwareEdition, kDate);
    ASSERT_EQ(lines.size(), 7u + 1u + 2u);
    EXPECT_EQ(lines[5], "Acceleration TimeHistory SourceFile: a.txt; b.txt");
    EXPECT_EQ(lines[6], "Baseline Correction Type: No Baseline Correction");
    EXPECT_EQ(lines[7].substr(0, 48), "Period[sec],Disp.Damp.=5% Mean,Disp.Damp.=5% Med");
    EXPECT_NE(lines[7].find(",Pseudo-Acc.Damp.=5% LogMean-StdDevLn,"), std::string::npos);
    // Period 0: a record's zero leaves the four log-normal columns empty.
    EXPECT_EQ(lines[8].substr(0, 79),
              "0.000000,0.250000,0.250000,0.353553,0.603553,-0.103553,,,,,0.250000,0.250000,0.");
    // Period 1: mean 5, median 5, sigma sqrt(18) = 4.242641, geometric mean 4,
    // sigma(ln) = ln 4 / sqrt(2) = 0.980258.
    const std::string expected =
        "1.000000,5.000000,5.000000,4.242641,9.242641,0.757359,"
        "4.000000,0.980258,10.660577,1.500857,";
    EXPECT_EQ(lines[9].substr(0, expected.size()), expected);
    EXPECT_EQ(std::count(lines[9].begin(), lines[9].end(), ','), 1 + 5 * 9);
}

TEST(AccuracyColumns, FollowThePeriodColumnAndLeaveTheRestOfTheReport) {
    const TimeHistory record = MakeRecord("q.txt");
    const std::vector<double> periods = {0.0, 0.03, 0.3};
    ReportLines plain;
    BuildSpectraReport(plain, record, AnalysisSettings{}, {0.05}, periods, kSoftwareEdition, kDate,
                       {});
    ReportLines lines = plain;
    InsertAccuracyColumns(lines, ComputePeriodAccuracy(0.01, periods, 0.02));
    ASSERT_EQ(lines.size(), plain.size());
    for (std::size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(lines[i], plain[i]);
    }
    EXPECT_EQ(lines[7], "Period[sec],n,dt/T," + plain[7].substr(12));
    EXPECT_EQ(lines[8], "0.000000,,," + plain[8].substr(9));
    EXPECT_EQ(lines[9], "0.030000,17,0.333333," + plain[9].substr(9));
    EXPECT_EQ(lines[10], "0.300000,2,0.033333," + plain[10].substr(9));
}

}  // namespace
}  // namespace travik
