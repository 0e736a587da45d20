#pragma once

#include <QChartView>
#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <optional>

#include "ui/figures/ChartFigure.h"

class QRubberBand;

namespace travik::figures {

// A chart view that draws a ChartFigure and lets the user look closer: the wheel zooms
// around the pointer, a left-button drag draws a zoom box, a right- or middle-button drag
// pans, a double-click shows everything again. Zooming works in the axes' own scale
// (decades on a log axis). A right click without a drag asks for the popup menu. The
// shaded bands explain themselves in a tooltip.
class FigureView : public QChartView {
    Q_OBJECT
  public:
    explicit FigureView(QWidget* parent = nullptr);
    ~FigureView() override;

    // Shows the figure at its own range (or the one it carries).
    void SetFigure(const ChartFigure& figure);
    // The figure as shown now, its range the zoomed one: what a saved image should hold.
    ChartFigure ShownFigure() const;
    QRectF ShownRange() const { return range_; }

    // Axis values under a viewport pixel, or nothing outside the plot area.
    std::optional<QPointF> ValueAt(const QPoint& viewportPixel) const;

    // The user's gestures, callable from tests: factor < 1 zooms in.
    void ZoomAround(const QPoint& viewportPixel, double factor);
    void ZoomToBox(const QRect& viewportBox);
    void PanBy(const QPoint& viewportDelta);
    void ResetZoom();

  signals:
    void PointerMoved(const QPoint& viewportPixel);
    void MenuRequested(const QPoint& globalPosition);
    void RangeChanged();

  protected:
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    // Texts and legend follow the size the chart is shown at.
    void resizeEvent(QResizeEvent* event) override;

  private:
    // Axis values to the linear coordinates zooming works in, and back.
    QPointF ToLinear(const QPointF& value) const;
    QPointF FromLinear(const QPointF& linear) const;
    void Show(const QRectF& range);

    ChartFigure figure_;
    QRectF fitted_;
    QRectF range_;
    QRubberBand* box_ = nullptr;
    QPoint pressPixel_;
    QPoint lastPixel_;
    Qt::MouseButton dragButton_ = Qt::NoButton;
    bool dragged_ = false;
};

}  // namespace travik::figures
