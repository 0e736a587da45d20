#include "core/export/ScalingReport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace travik {
namespace {

TEST(ScalingReport, SevenSignificantDigitsInTheShortestForm) {
    EXPECT_EQ(FormatSevenDigits(1.0981499152223), "1.09815");
    EXPECT_EQ(FormatSevenDigits(1.61924474777578), "1.619245");
    EXPECT_EQ(FormatSevenDigits(0.000285740214260209), "0.0002857402");
    EXPECT_EQ(FormatSevenDigits(2.0), "2");
    EXPECT_EQ(FormatSevenDigits(1234567.8), "1234568");
    EXPECT_EQ(FormatSevenDigits(1.5e-7), "1.5e-07");
}

TEST(ScalingReport, HeaderThenTheMotionsThenOneBlankLineThenThePeriods) {
    TimeHistory first("a.txt", 0.01);
    first.AppendAcceleration(0.1);
    SuiteScaling s;
    s.members = {{"a.txt", "a.txt", 0.3, {}}, {"b,c.txt", "b", 0.2, {}}};
    s.scaled = {{1.5, 1.2, 1.8, 0.0123456789, true, 2}, {2.0, 1.2, 2.4, 0.001, false, 1}};
    s.rows = {{0.1, 0.8, 0.72, 0.5, 1.0}, {0.2, 1.0, 1.1, 0.9, 1.3}};
    std::vector<std::string> lines;
    WriteScalingReport([&](std::string_view line) { lines.emplace_back(line); }, first, s,
                       kSoftwareEdition, {2026, 12, 10});
    ASSERT_EQ(lines.size(), 7U + 3U + 1U + 3U);
    EXPECT_EQ(lines[5], "Acceleration TimeHistory SourceFile: \"a.txt; b,c.txt\"");
    EXPECT_EQ(lines[7], "Record,Individual factor,Suite factor,Total factor,ln MSE,Selected,Rank");
    EXPECT_EQ(lines[8], "a.txt,1.5,1.2,1.8,0.01234568,yes,2");
    EXPECT_EQ(lines[9], "\"b,c.txt\",2,1.2,2.4,0.001,no,1");
    EXPECT_EQ(lines[10], "");
    EXPECT_EQ(lines[11],
              "Period [sec],Target [g],Suite mean [g],Mean / target,Smallest [g],Largest [g]");
    EXPECT_EQ(lines[12], "0.1,0.8,0.72,0.9,0.5,1");
    EXPECT_EQ(lines[13], "0.2,1,1.1,1.1,0.9,1.3");
}

}  // namespace
}  // namespace travik
