#include "ui/figures/FigureView.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QChart>
#include <QTest>
#include <cmath>

namespace travik::figures {
namespace {

ChartFigure Figure(AxisScale scale) {
    ChartFigure figure;
    figure.xScale = figure.yScale = scale;
    Curve c;
    c.name = "a";
    // Linear axes fit to 0-10 by 0-10; log axes to 0.1-10 by 0.1-10.
    c.points = {{0.1, 0.1}, {1.0, 1.0}, {10.0, 10.0}};
    figure.curves.push_back(c);
    figure.bands.push_back({8.0, INFINITY, "long", "Long periods are less trustworthy."});
    return figure;
}

class FigureViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        view.resize(800, 500);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    QPoint PixelOf(QPointF value) {
        QApplication::processEvents();
        const QPointF local = view.chart()->mapToPosition(value, view.chart()->series().back());
        return view.mapFromScene(view.chart()->mapToScene(local));
    }
    FigureView view;
};

TEST_F(FigureViewTest, ReadsValuesUnderThePointerInsideThePlotOnly) {
    view.SetFigure(Figure(AxisScale::Linear));
    const QPoint p = PixelOf({4.0, 6.0});
    const std::optional<QPointF> value = view.ValueAt(p);
    ASSERT_TRUE(value);
    EXPECT_NEAR(value->x(), 4.0, 0.05);
    EXPECT_NEAR(value->y(), 6.0, 0.05);
    EXPECT_FALSE(view.ValueAt(QPoint(1, 1)));
}

TEST_F(FigureViewTest, ZoomsAroundThePointerAndResetsOnDoubleClick) {
    view.SetFigure(Figure(AxisScale::Linear));
    const QRectF fitted = view.ShownRange();
    EXPECT_EQ(fitted, QRectF(QPointF(0, 0), QPointF(10, 10)));
    view.ZoomAround(PixelOf({2.0, 8.0}), 0.5);
    const QRectF zoomed = view.ShownRange();
    // The point under the pointer stays put; the range halves.
    EXPECT_NEAR(zoomed.left(), 1.0, 0.05);
    EXPECT_NEAR(zoomed.right(), 6.0, 0.05);
    EXPECT_NEAR(zoomed.top(), 4.0, 0.05);
    EXPECT_NEAR(zoomed.bottom(), 9.0, 0.05);
    EXPECT_EQ(view.ShownFigure().view, zoomed);

    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, PixelOf({3.0, 3.0}));
    EXPECT_EQ(view.ShownRange(), fitted);
}

TEST_F(FigureViewTest, ZoomsLogAxesByDecades) {
    view.SetFigure(Figure(AxisScale::Log));
    const QRectF fitted = view.ShownRange();
    EXPECT_NEAR(fitted.left(), 0.1, 1e-12);
    EXPECT_NEAR(fitted.right(), 10, 1e-12);
    view.ZoomAround(PixelOf({1.0, 1.0}), 0.5);
    EXPECT_NEAR(view.ShownRange().left(), std::sqrt(0.1), 0.01);
    EXPECT_NEAR(view.ShownRange().right(), std::sqrt(10.0), 0.05);
}

TEST_F(FigureViewTest, ZoomsToADraggedBoxAndPansWithTheRightButton) {
    view.SetFigure(Figure(AxisScale::Linear));
    const QPoint from = PixelOf({2.0, 7.0});
    const QPoint to = PixelOf({5.0, 3.0});
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), view.viewport()->mapToGlobal(QPointF(to)),
                     Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(view.viewport(), &move);
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, to);
    QRectF range = view.ShownRange();
    EXPECT_NEAR(range.left(), 2.0, 0.05);
    EXPECT_NEAR(range.right(), 5.0, 0.05);
    EXPECT_NEAR(range.top(), 3.0, 0.05);
    EXPECT_NEAR(range.bottom(), 7.0, 0.05);

    // Dragging the picture one unit to the right shows one unit further left.
    const QPoint a = PixelOf({3.0, 5.0});
    const QPoint b = PixelOf({4.0, 5.0});
    view.PanBy(b - a);
    range = view.ShownRange();
    EXPECT_NEAR(range.left(), 1.0, 0.05);
    EXPECT_NEAR(range.right(), 4.0, 0.05);
}

TEST_F(FigureViewTest, AsksForTheMenuOnARightClickWithoutDrag) {
    view.SetFigure(Figure(AxisScale::Linear));
    int menus = 0;
    QObject::connect(&view, &FigureView::MenuRequested, [&menus] { ++menus; });
    QTest::mouseClick(view.viewport(), Qt::RightButton, {}, PixelOf({5.0, 5.0}));
    EXPECT_EQ(menus, 1);
}

}  // namespace
}  // namespace travik::figures
