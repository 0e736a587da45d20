#include "ui/figures/ChartFigure.h"

#include <gtest/gtest.h>

#include <QAreaSeries>
#include <QChart>
#include <QGraphicsLayout>
#include <QGraphicsSimpleTextItem>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QValueAxis>
#include <cmath>
#include <memory>

namespace travik::figures {
namespace {

constexpr double kTwoPi = 6.2831852;

Curve Line(const QString& name, QList<QPointF> points) {
    Curve c;
    c.name = name;
    c.points = std::move(points);
    return c;
}

std::vector<QLineSeries*> GuideSeries(QChart& chart) {
    std::vector<QLineSeries*> guides;
    for (QAbstractSeries* s : chart.series()) {
        auto* line = qobject_cast<QLineSeries*>(s);
        if (line != nullptr && line->name().isEmpty()) {
            guides.push_back(line);
        }
    }
    return guides;
}

QStringList GuideLabels(QChart& chart) {
    QStringList texts;
    for (QGraphicsItem* item : chart.childItems()) {
        if (auto* text = dynamic_cast<QGraphicsSimpleTextItem*>(item)) {
            texts << text->text();
        }
    }
    return texts;
}

TEST(ChartAxes, AreLinearOrLogarithmicAsAskedWithDecadesThatKeepTheirDigits) {
    ChartFigure figure;
    figure.curves.push_back(Line("a", {{0.0, 0.3}, {0.05, 0.5}, {0.5, 1.2}, {4.0, 0.04}}));
    figure.xScale = AxisScale::Log;
    figure.yScale = AxisScale::Log;
    std::unique_ptr<QChart> chart(BuildChart(figure));
    auto* x = qobject_cast<QLogValueAxis*>(chart->axes(Qt::Horizontal).value(0));
    auto* y = qobject_cast<QLogValueAxis*>(chart->axes(Qt::Vertical).value(0));
    ASSERT_NE(x, nullptr);
    ASSERT_NE(y, nullptr);
    // Whole decades around the points; "%g" prints 0.01 where the default prints "0.0".
    // (A hair wider, so that the end decades keep their labels.)
    EXPECT_NEAR(x->min(), 0.01, 1e-10);
    EXPECT_LT(x->min(), 0.01);
    EXPECT_NEAR(x->max(), 10, 1e-7);
    EXPECT_GT(x->max(), 10);
    EXPECT_NEAR(y->min(), 0.01, 1e-10);
    EXPECT_NEAR(y->max(), 10, 1e-7);
    EXPECT_EQ(x->labelFormat(), "%g");
    EXPECT_EQ(QString::asprintf(x->labelFormat().toLatin1().constData(), 0.01), "0.01");
    EXPECT_EQ(x->minorTickCount(), 8);

    figure.xScale = AxisScale::Linear;
    figure.yScale = AxisScale::Linear;
    chart.reset(BuildChart(figure));
    auto* lx = qobject_cast<QValueAxis*>(chart->axes(Qt::Horizontal).value(0));
    auto* ly = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).value(0));
    ASSERT_NE(lx, nullptr);
    ASSERT_NE(ly, nullptr);
    EXPECT_DOUBLE_EQ(lx->min(), 0.0);
    EXPECT_GE(lx->max(), 4.0);
    EXPECT_LE(lx->max(), 5.0);
    EXPECT_DOUBLE_EQ(ly->min(), 0.0);
    EXPECT_GE(ly->max(), 1.2);
    EXPECT_LE(ly->max(), 1.5);
}

TEST(ChartAxes, LeaveOutWhatALogAxisCannotShowAndSayHowMuch) {
    const Curve curve = Line("Damp. 5%", {{0.1, 0.0}, {0.2, -1.0}, {0.3, 0.5}, {0.4, 0.6}});
    const PreparedCurve logY = PrepareForAxes(curve, AxisScale::Linear, AxisScale::Log);
    EXPECT_EQ(logY.leftOut, 2);
    EXPECT_EQ(logY.curve.points.size(), 2);
    EXPECT_EQ(logY.curve.name, "Damp. 5% (2 points <= 0 left out)");
    const PreparedCurve linear = PrepareForAxes(curve, AxisScale::Linear, AxisScale::Linear);
    EXPECT_EQ(linear.leftOut, 0);
    EXPECT_EQ(linear.curve.name, "Damp. 5%");

    ChartFigure figure;
    figure.yScale = AxisScale::Log;
    figure.curves.push_back(curve);
    std::unique_ptr<QChart> chart(BuildChart(figure));
    auto* series = qobject_cast<QLineSeries*>(chart->series().back());
    ASSERT_NE(series, nullptr);
    EXPECT_EQ(series->count(), 2);
    EXPECT_EQ(series->name(), "Damp. 5% (2 points <= 0 left out)");
}

TEST(TripartiteGrid, DrawsConstantDisplacementAndAccelerationLinesLabelledAtTheEdges) {
    ChartFigure figure;
    figure.xScale = figure.yScale = AxisScale::Log;
    figure.overlay = Overlay::TripartitePeriod;
    figure.g = 980;
    figure.curves.push_back(Line("PSv", {{0.05, 3.0}, {0.5, 60.0}, {3.0, 20.0}}));
    std::unique_ptr<QChart> chart(BuildChart(figure));
    const std::vector<QLineSeries*> guides = GuideSeries(*chart);
    ASSERT_GT(guides.size(), 10u);
    int displacementLines = 0;
    int accelerationLines = 0;
    for (QLineSeries* guide : guides) {
        ASSERT_EQ(guide->count(), 2);
        const QPointF a = guide->at(0);
        const QPointF b = guide->at(1);
        // Constant Sd: PSv T = 2 pi Sd; constant PSa: PSv / T = PSa g / (2 pi).
        if (std::fabs(a.x() * a.y() - b.x() * b.y()) < 1e-9 * a.x() * a.y()) {
            const double sd = a.x() * a.y() / kTwoPi;
            const double mantissa = sd / std::pow(10.0, std::floor(std::log10(sd) + 1e-9));
            EXPECT_TRUE(std::fabs(mantissa - 1) < 1e-6 || std::fabs(mantissa - 2) < 1e-6 ||
                        std::fabs(mantissa - 5) < 1e-6)
                << sd;
            ++displacementLines;
        } else {
            EXPECT_NEAR(a.y() / a.x(), b.y() / b.x(), 1e-9 * a.y() / a.x());
            ++accelerationLines;
        }
        EXPECT_FALSE(chart->legend()->markers(guide).value(0)->isVisible());
    }
    EXPECT_GT(displacementLines, 4);
    EXPECT_GT(accelerationLines, 4);
    const QStringList labels = GuideLabels(*chart);
    EXPECT_TRUE(labels.contains("1 cm")) << labels.join('|').toStdString();
    EXPECT_TRUE(labels.contains("0.1 g")) << labels.join('|').toStdString();
}

TEST(TripartiteGrid, PlacesEachLabelWhereItsLineMeetsTheEdge) {
    ChartFigure figure;
    figure.xScale = figure.yScale = AxisScale::Log;
    figure.overlay = Overlay::TripartitePeriod;
    figure.curves.push_back(Line("PSv", {{0.05, 3.0}, {0.5, 60.0}, {3.0, 20.0}}));
    std::unique_ptr<QChart> chart(BuildChart(figure));
    chart->resize(800, 600);
    chart->layout()->activate();
    const QRectF area = chart->plotArea();
    ASSERT_GT(area.width(), 100);
    // Axes 0.01-10 s and 1-100 cm/sec: Sd = 1 cm runs PSv = 6.2831852 / T and leaves the
    // plot at the bottom edge (1 cm/sec) at T = 6.28 s.
    QGraphicsSimpleTextItem* oneCm = nullptr;
    for (QGraphicsItem* item : chart->childItems()) {
        auto* text = dynamic_cast<QGraphicsSimpleTextItem*>(item);
        if (text != nullptr && text->text() == "1 cm") {
            oneCm = text;
        }
    }
    ASSERT_NE(oneCm, nullptr);
    const QPointF crossing = chart->mapToPosition(QPointF(kTwoPi, 1.0), GuideSeries(*chart)[0]);
    const QRectF box = oneCm->mapRectToParent(oneCm->boundingRect());
    EXPECT_NEAR(box.center().x(), crossing.x(), 1.0);
    EXPECT_LE(box.bottom(), area.bottom());
    EXPECT_GT(box.top(), area.bottom() - 3 * box.height());
}

TEST(AdrsGrid, DrawsPeriodLinesThroughTheOrigin) {
    ChartFigure figure;
    figure.overlay = Overlay::AdrsPeriods;
    figure.curves.push_back(Line("ADRS", {{0.1, 0.3}, {2.0, 0.8}, {10.0, 0.4}}));
    std::unique_ptr<QChart> chart(BuildChart(figure));
    const std::vector<QLineSeries*> guides = GuideSeries(*chart);
    ASSERT_FALSE(guides.empty());
    for (QLineSeries* guide : guides) {
        EXPECT_EQ(guide->at(0), QPointF(0, 0));
    }
    // T = 1 s: PSa = (2 pi / 1)^2 Sd / 980 = 0.0402838 Sd.
    const QStringList labels = GuideLabels(*chart);
    ASSERT_TRUE(labels.contains("T = 1 s")) << labels.join('|').toStdString();
    bool found = false;
    for (QLineSeries* guide : guides) {
        const QPointF end = guide->at(1);
        found = found || std::fabs(end.y() / end.x() - kTwoPi * kTwoPi / 980) < 1e-9;
    }
    EXPECT_TRUE(found);
}

TEST(ShadedBands, SpanTheChartHeightWithinTheAxisRangeAndCarryTheirExplanation) {
    ChartFigure figure;
    figure.curves.push_back(Line("a", {{0.0, 0.2}, {3.0, 1.0}}));
    figure.bands.push_back({0.0, 0.2, "short", "Below 0.2 s..."});
    figure.bands.push_back({2.5, INFINITY, "long", "Above 2.5 s..."});
    figure.bands.push_back({50.0, INFINITY, "outside", "never seen"});
    std::unique_ptr<QChart> chart(BuildChart(figure));
    std::vector<QAreaSeries*> areas;
    for (QAbstractSeries* s : chart->series()) {
        if (auto* area = qobject_cast<QAreaSeries*>(s)) {
            areas.push_back(area);
        }
    }
    ASSERT_EQ(areas.size(), 2u);  // the band beyond the axis is not drawn
    EXPECT_EQ(areas[1]->property("travikTooltip").toString(), "Above 2.5 s...");
    const QRectF range = FittedRange(figure);
    EXPECT_EQ(areas[1]->upperSeries()->at(1), QPointF(range.right(), range.bottom()));
    EXPECT_EQ(areas[1]->lowerSeries()->at(0), QPointF(2.5, range.top()));
    EXPECT_EQ(BandTooltipAt(figure, 0.1), "Below 0.2 s...");
    EXPECT_EQ(BandTooltipAt(figure, 1.0), "");
}

TEST(GuideNumbers, KeepDecadesBelowOne) {
    EXPECT_EQ(GuideNumber(0.001), "0.001");
    EXPECT_EQ(GuideNumber(0.1), "0.1");
    EXPECT_EQ(GuideNumber(1), "1");
    EXPECT_EQ(GuideNumber(1000), "1000");
}

}  // namespace
}  // namespace travik::figures
