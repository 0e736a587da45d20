#include <gtest/gtest.h>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QLegend>
#include <QLegendMarker>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QXYSeries>
#include <cmath>
#include <limits>

#include "app/ChartAdapter.h"

namespace {

class ChartAdapterTest : public ::testing::Test {
  protected:
    ChartAdapterTest() : chart(&view) { view.resize(640, 420); }

    int VisibleLegendEntries() {
        int visible = 0;
        for (const QLegendMarker* marker : view.chart()->legend()->markers()) {
            visible += marker->isVisible() ? 1 : 0;
        }
        return visible;
    }

    QChartView view;
    ChartAdapter chart;
};

TEST_F(ChartAdapterTest, SeriesTakeTheNextIndexWithTheirColourAndWidth) {
    EXPECT_EQ(chart.SeriesCount(), 0);
    EXPECT_EQ(chart.AddLineSeries(QColor(224, 7, 254), 2.0), 0);
    EXPECT_EQ(chart.AddPointSeries(QColor(255, 0, 0)), 1);
    EXPECT_EQ(chart.AddLineSeries(QColor(0, 0, 255)), 2);
    EXPECT_EQ(chart.SeriesCount(), 3);
    EXPECT_EQ(chart.SeriesColor(0), QColor(224, 7, 254));
    EXPECT_DOUBLE_EQ(chart.SeriesWidth(0), 2.0);
    EXPECT_EQ(chart.SeriesColor(2), QColor(0, 0, 255));
    // Out-of-range indexes are ignored rather than trusted.
    chart.AddPoint(7, 1.0, 1.0);
    chart.ClearSeries(-1);
    EXPECT_EQ(chart.PointCount(7), 0);
}

TEST_F(ChartAdapterTest, PointsKeepTheOrderInWhichTheyWereAdded) {
    const int line = chart.AddLineSeries(Qt::black);
    chart.AddPoint(line, 3.0, 30.0);
    chart.AddPoint(line, 1.0, 10.0);
    chart.AddPoint(line, 2.0, 20.0);
    ASSERT_EQ(chart.PointCount(line), 3);
    EXPECT_EQ(chart.Point(line, 0), QPointF(3.0, 30.0));
    EXPECT_EQ(chart.Point(line, 1), QPointF(1.0, 10.0));
    EXPECT_EQ(chart.Point(line, 2), QPointF(2.0, 20.0));

    chart.ClearSeries(line);
    EXPECT_EQ(chart.PointCount(line), 0);
}

TEST_F(ChartAdapterTest, PointSeriesColourEachPointOrUseTheSeriesColour) {
    const int marks = chart.AddPointSeries(QColor(200, 200, 200));
    chart.AddPoint(marks, 0.0, 1.0, QColor(255, 0, 0));
    chart.AddPoint(marks, 1.0, 2.0);
    chart.AddPoint(marks, 2.0, 3.0, QColor(0, 128, 0));
    EXPECT_EQ(chart.PointColor(marks, 0), QColor(255, 0, 0));
    EXPECT_EQ(chart.PointColor(marks, 1), QColor(200, 200, 200));
    EXPECT_EQ(chart.PointColor(marks, 2), QColor(0, 128, 0));

    // Replacing the points forgets the colours of the old ones.
    chart.SetPoints(marks, {QPointF(5.0, 5.0)});
    EXPECT_EQ(chart.PointColor(marks, 0), QColor(200, 200, 200));
}

TEST_F(ChartAdapterTest, InactiveSeriesLeaveTheLegendAndTheScale) {
    const int shown = chart.AddLineSeries(Qt::red);
    const int hidden = chart.AddLineSeries(Qt::blue);
    chart.SetSeriesTitle(shown, "Damp. 5%");
    chart.SetSeriesTitle(hidden, "Damp. 10%");
    chart.AddPoint(shown, 0.0, 0.0);
    chart.AddPoint(shown, 6.0, 0.8);
    chart.AddPoint(hidden, 0.0, 1000.0);
    chart.SetSeriesActive(hidden, false);
    view.show();
    QApplication::processEvents();

    EXPECT_TRUE(chart.IsSeriesActive(shown));
    EXPECT_FALSE(chart.IsSeriesActive(hidden));
    EXPECT_EQ(VisibleLegendEntries(), 1);
    EXPECT_EQ(chart.SeriesTitle(shown), "Damp. 5%");
    EXPECT_LT(chart.LeftMax(), 10.0);

    chart.SetSeriesActive(hidden, true);
    QApplication::processEvents();
    EXPECT_EQ(VisibleLegendEntries(), 2);
    EXPECT_GE(chart.LeftMax(), 1000.0);
}

TEST_F(ChartAdapterTest, AxesEncloseTheVisiblePointsOnRoundNumbers) {
    const int line = chart.AddLineSeries(Qt::red);
    chart.AddPoint(line, 0.0, -0.31);
    chart.AddPoint(line, 5.99999999999996, 0.83);
    chart.AddPoint(line, 3.0, 0.1);
    // x spans 6, an eighth of it rounds up to a step of 1: 0 to 6. y spans 1.14, an eighth
    // rounds up to 0.2: -0.4 to 1.
    EXPECT_DOUBLE_EQ(chart.BottomMin(), 0.0);
    EXPECT_NEAR(chart.BottomMax(), 6.0, 1e-12);
    EXPECT_NEAR(chart.LeftMin(), -0.4, 1e-12);
    EXPECT_NEAR(chart.LeftMax(), 1.0, 1e-12);

    // A redraw with other points rescales; nothing is remembered from before.
    chart.ClearSeries(line);
    chart.SetPoints(line, {QPointF(0.5, 120.0), QPointF(2.0, 480.0)});
    EXPECT_LE(chart.BottomMin(), 0.5);
    EXPECT_GE(chart.BottomMax(), 2.0);
    EXPECT_LE(chart.LeftMin(), 120.0);
    EXPECT_GE(chart.LeftMax(), 480.0);
    EXPECT_LT(chart.LeftMax() - chart.LeftMin(), 2.0 * (480.0 - 120.0));
}

TEST_F(ChartAdapterTest, EmptyFlatAndNonFiniteSeriesStillGiveAFiniteScale) {
    const int line = chart.AddLineSeries(Qt::red);
    auto expectUsableRange = [this] {
        EXPECT_TRUE(std::isfinite(chart.BottomMin()) && std::isfinite(chart.BottomMax()));
        EXPECT_TRUE(std::isfinite(chart.LeftMin()) && std::isfinite(chart.LeftMax()));
        EXPECT_LT(chart.BottomMin(), chart.BottomMax());
        EXPECT_LT(chart.LeftMin(), chart.LeftMax());
    };
    expectUsableRange();

    chart.AddPoint(line, 2.0, 3.0);
    expectUsableRange();
    EXPECT_LT(chart.BottomMin(), 2.0);
    EXPECT_GT(chart.BottomMax(), 2.0);
    EXPECT_LT(chart.LeftMin(), 3.0);
    EXPECT_GT(chart.LeftMax(), 3.0);

    const double inf = std::numeric_limits<double>::infinity();
    chart.AddPoint(line, std::nan(""), 1.0);
    chart.AddPoint(line, 4.0, inf);
    chart.AddPoint(line, -inf, -inf);
    expectUsableRange();
    EXPECT_LT(chart.LeftMax(), 10.0);

    chart.SetPoints(line, {QPointF(0.0, 0.0), QPointF(1.0, 0.0)});
    expectUsableRange();
}

TEST_F(ChartAdapterTest, SetPointsReplacesALongRecordInOneGo) {
    const int line = chart.AddLineSeries(Qt::red);
    chart.AddPoint(line, -1.0, -1.0);
    QList<QPointF> points;
    for (int i = 0; i < 100000; ++i) {
        points.append(QPointF(i * 0.01, std::sin(i * 0.001)));
    }
    chart.SetPoints(line, points);
    ASSERT_EQ(chart.PointCount(line), 100000);
    EXPECT_EQ(chart.Point(line, 0), QPointF(0.0, 0.0));
    EXPECT_EQ(chart.Point(line, 99999), points.back());
    EXPECT_GE(chart.BottomMax(), 999.99);
}

TEST_F(ChartAdapterTest, ALongRecordIsDrawnWithItsPeaks) {
    const int line = chart.AddLineSeries(Qt::red);
    QList<QPointF> points;
    for (int i = 0; i < 100000; ++i) {
        points.append(QPointF(i * 0.005, 0.1 * std::sin(i * 0.05)));
    }
    points[54321].setY(0.75);
    points[70001].setY(-0.5);
    chart.SetPoints(line, points);

    // The chart lays out the envelope of the record; every peak is part of it.
    const auto* drawn = qobject_cast<QXYSeries*>(view.chart()->series().at(line));
    ASSERT_NE(drawn, nullptr);
    const QList<QPointF> shown = drawn->points();
    EXPECT_LT(shown.size(), 10000);
    EXPECT_TRUE(shown.contains(points[54321]));
    EXPECT_TRUE(shown.contains(points[70001]));
    EXPECT_EQ(shown.front(), points.front());
    EXPECT_EQ(shown.back(), points.back());
    for (qsizetype i = 1; i < shown.size(); ++i) {
        ASSERT_LE(shown[i - 1].x(), shown[i].x());
    }
    EXPECT_NEAR(chart.LeftMax(), 0.75, 0.25);
    EXPECT_LE(chart.LeftMin(), -0.5);

    // A curve that turns back on itself is drawn point for point, however long.
    QList<QPointF> loop;
    for (int i = 0; i < 20000; ++i) {
        loop.append(QPointF(std::cos(i * 0.001), std::sin(i * 0.001)));
    }
    chart.SetPoints(line, loop);
    EXPECT_EQ(drawn->count(), 20000);
}

TEST_F(ChartAdapterTest, PixelsConvertToAxisValuesOfTheCurrentScale) {
    const int line = chart.AddLineSeries(Qt::red);
    chart.AddPoint(line, 0.0, 0.0);
    chart.AddPoint(line, 4.0, 2.0);
    view.show();
    QApplication::processEvents();

    const QRectF area = view.chart()->plotArea();
    auto toPixel = [this](QPointF chartPoint) {
        return view.mapFromScene(view.chart()->mapToScene(chartPoint));
    };
    const QPointF centre = chart.ValueAt(toPixel(area.center()));
    EXPECT_NEAR(centre.x(), (chart.BottomMin() + chart.BottomMax()) / 2.0, 0.02);
    EXPECT_NEAR(centre.y(), (chart.LeftMin() + chart.LeftMax()) / 2.0, 0.02);

    // The bottom-left corner of the plot area is the two axis minima; further left and
    // below lie outside the axes.
    const QPointF corner = chart.ValueAt(toPixel(area.bottomLeft()));
    EXPECT_NEAR(corner.x(), chart.BottomMin(), 0.02);
    EXPECT_NEAR(corner.y(), chart.LeftMin(), 0.02);
    const QPointF outside = chart.ValueAt(toPixel(area.bottomLeft() + QPointF(-20.0, 20.0)));
    EXPECT_LT(outside.x(), chart.BottomMin());
    EXPECT_LT(outside.y(), chart.LeftMin());
}

TEST_F(ChartAdapterTest, PointerMovesOverTheViewAreReportedInViewPixels) {
    view.show();
    QSignalSpy moved(&chart, &ChartAdapter::MouseMoved);
    QMouseEvent move(QEvent::MouseMove, QPointF(120.0, 80.0), QPointF(120.0, 80.0), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &move);
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved.at(0).at(0).toPoint(), QPoint(120, 80));
}

}  // namespace
