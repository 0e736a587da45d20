#include "ui/figures/RecordFigures.h"

#include <gtest/gtest.h>

#include "core/records/CorrectedSet.h"
#include "core/records/TimeHistory.h"

namespace travik::figures {
namespace {

// Five samples 0.02 s apart; the maximum 0.3 g first at 0.02 s, the minimum -0.2 g first
// at 0.04 s.
TimeHistory FiveSamples() {
    TimeHistory record("dir/marks.txt", 0.02);
    for (const double a : {0.1, 0.3, -0.2, 0.3, -0.2}) {
        record.AppendAcceleration(a);
    }
    IntegrateMotion(record, 980, MotionSet::Raw);
    return record;
}

TEST(TimeHistoryCharts, CarryTheRecordsPageTextsAndTheRawLineAgainstTime) {
    const std::array<ChartFigure, 3> charts = TimeHistoryCharts(FiveSamples());
    EXPECT_EQ(charts[0].title, "marks.txt — Acceleration");
    EXPECT_EQ(charts[0].yTitle, "Acceleration[g]");
    EXPECT_EQ(charts[1].yTitle, "Velocity [cm/sec]");
    EXPECT_EQ(charts[2].yTitle, "Displacement [cm]");
    for (const ChartFigure& chart : charts) {
        EXPECT_EQ(chart.xTitle, "Time [sec]");
        ASSERT_EQ(chart.curves.size(), 4u);  // raw line, three marks
        EXPECT_EQ(chart.curves[0].name, "Raw");
        EXPECT_EQ(chart.curves[0].color, QColor(255, 128, 255));
        ASSERT_EQ(chart.curves[0].points.size(), 5);
        EXPECT_DOUBLE_EQ(chart.curves[0].points[4].x(), 0.08);
        EXPECT_TRUE(chart.markRoom);
    }
    EXPECT_DOUBLE_EQ(charts[0].curves[0].points[2].y(), -0.2);
}

TEST(TimeHistoryCharts, MarkTheFirstSampleTheFirstMaximumAndTheFirstMinimum) {
    const std::array<ChartFigure, 3> charts = TimeHistoryCharts(FiveSamples());
    const std::vector<const Curve*> marks = RecordMarks(charts[0]);
    ASSERT_EQ(marks.size(), 3u);
    EXPECT_EQ(marks[0]->points, QList<QPointF>{QPointF(0.0, 0.1)});
    EXPECT_EQ(marks[0]->color, QColor(255, 0, 0));
    EXPECT_EQ(marks[1]->points, QList<QPointF>{QPointF(0.02, 0.3)});
    EXPECT_EQ(marks[1]->color, QColor(0, 255, 0));
    EXPECT_EQ(marks[2]->points, QList<QPointF>{QPointF(0.04, -0.2)});
    EXPECT_EQ(marks[2]->color, QColor(255, 255, 0));
    // Velocity by the trapezoidal rule with g = 980: 0, 3.92, 4.9, 5.88, 6.86 cm/sec.
    const std::vector<const Curve*> velocity = RecordMarks(charts[1]);
    ASSERT_EQ(velocity.size(), 3u);
    EXPECT_NEAR(velocity[1]->points[0].x(), 0.08, 1e-12);
    EXPECT_NEAR(velocity[1]->points[0].y(), 6.86, 1e-9);
    EXPECT_EQ(velocity[2]->points[0], QPointF(0.0, 0.0));
}

TEST(TimeHistoryCharts, ACorrectedRecordIsMarkedOnItsCorrectedLineDrawnInFront) {
    TimeHistory record = FiveSamples();
    ASSERT_TRUE(ApplyBaselineCorrection(record, BaselineCorrectionType::Linear, 980));
    const std::array<ChartFigure, 3> charts = TimeHistoryCharts(record);
    ASSERT_EQ(charts[0].curves.size(), 5u);
    EXPECT_EQ(charts[2].curves[1].name, "Corrected");
    EXPECT_EQ(charts[2].curves[1].color, QColor(128, 128, 128));
    EXPECT_DOUBLE_EQ(charts[2].curves[1].points[3].y(), record.CorrectedDisplacement()[3]);
    // The marks sit on the corrected samples, not on the raw ones.
    const DOUBLEVECTOR& corrected = record.CorrectedAcceleration();
    ASSERT_EQ(corrected.size(), 5u);
    std::size_t highest = 0;
    std::size_t lowest = 0;
    for (std::size_t k = 1; k < corrected.size(); ++k) {
        highest = corrected[k] > corrected[highest] ? k : highest;
        lowest = corrected[k] < corrected[lowest] ? k : lowest;
    }
    ASSERT_NE(corrected[highest], 0.3);
    const std::vector<const Curve*> marks = RecordMarks(charts[0]);
    ASSERT_EQ(marks.size(), 3u);
    EXPECT_EQ(marks[0]->points[0], QPointF(0.0, corrected[0]));
    EXPECT_EQ(marks[1]->points[0],
              QPointF(0.02 * static_cast<double>(highest), corrected[highest]));
    EXPECT_EQ(marks[2]->points[0], QPointF(0.02 * static_cast<double>(lowest), corrected[lowest]));
    EXPECT_EQ(marks[0]->name, "First of corrected");
    EXPECT_EQ(marks[1]->name, "Max of corrected");
    EXPECT_EQ(marks[2]->name, "Min of corrected");
    EXPECT_EQ(RecordMarks(TimeHistoryCharts(FiveSamples())[0])[1]->name, "Max");
}

TEST(TimeHistoryCharts, ALongRecordIsThinnedToTheColumnsWithItsPeaksKept) {
    TimeHistory record("long.txt", 0.01);
    for (int i = 0; i < 100000; ++i) {
        record.AppendAcceleration(i == 77777 ? 0.9 : 0.01 * (i % 7));
    }
    IntegrateMotion(record, 980, MotionSet::Raw);
    const std::array<ChartFigure, 3> charts = TimeHistoryCharts(record, 500);
    const QList<QPointF>& line = charts[0].curves[0].points;
    EXPECT_LE(line.size(), 4 * 500);
    EXPECT_TRUE(line.contains(QPointF(777.77, 0.9)));
}

}  // namespace
}  // namespace travik::figures
