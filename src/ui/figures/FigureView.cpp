#include "ui/figures/FigureView.h"

#include <QChart>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QRubberBand>
#include <QToolTip>
#include <QWheelEvent>
#include <cmath>
#include <memory>

namespace travik::figures {
namespace {

// A drag shorter than this (pixels) is a click.
constexpr int kDragThreshold = 4;
// One wheel notch zooms by this factor.
constexpr double kWheelZoom = 0.8;

}  // namespace

FigureView::FigureView(QWidget* parent) : QChartView(parent) {
    setRenderHint(QPainter::Antialiasing);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    setRubberBand(QChartView::NoRubberBand);
    box_ = new QRubberBand(QRubberBand::Rectangle, viewport());
    box_->hide();
}

FigureView::~FigureView() = default;

void FigureView::SetFigure(const ChartFigure& figure) {
    figure_ = figure;
    figure_.view.reset();
    fitted_ = FittedRange(figure_);
    Show(figure.view ? *figure.view : fitted_);
}

ChartFigure FigureView::ShownFigure() const {
    ChartFigure shown = figure_;
    shown.view = range_;
    return shown;
}

void FigureView::Show(const QRectF& range) {
    range_ = range;
    ChartFigure shown = ShownFigure();
    // Setting a chart releases the one shown before: it is deleted on leaving here.
    const std::unique_ptr<QChart> replaced(chart());
    setChart(BuildChart(shown, viewport()->size()));
    emit RangeChanged();
}

void FigureView::resizeEvent(QResizeEvent* event) {
    FitChartToSize(chart(), viewport()->size());
    QChartView::resizeEvent(event);
}

QPointF FigureView::ToLinear(const QPointF& value) const {
    return {figure_.xScale == AxisScale::Log ? std::log10(value.x()) : value.x(),
            figure_.yScale == AxisScale::Log ? std::log10(value.y()) : value.y()};
}

QPointF FigureView::FromLinear(const QPointF& linear) const {
    return {figure_.xScale == AxisScale::Log ? std::pow(10.0, linear.x()) : linear.x(),
            figure_.yScale == AxisScale::Log ? std::pow(10.0, linear.y()) : linear.y()};
}

std::optional<QPointF> FigureView::ValueAt(const QPoint& viewportPixel) const {
    const QPointF scene = mapToScene(viewportPixel);
    const QPointF local = chart()->mapFromScene(scene);
    if (!chart()->plotArea().contains(local) || chart()->series().isEmpty()) {
        return std::nullopt;
    }
    return chart()->mapToValue(local, chart()->series().front());
}

void FigureView::ZoomAround(const QPoint& viewportPixel, double factor) {
    const std::optional<QPointF> at = ValueAt(viewportPixel);
    const QPointF low = ToLinear(range_.topLeft());
    const QPointF high = ToLinear(range_.bottomRight());
    const QPointF centre = at ? ToLinear(*at) : (low + high) / 2;
    const QPointF newLow = centre + (low - centre) * factor;
    const QPointF newHigh = centre + (high - centre) * factor;
    Show(QRectF(FromLinear(newLow), FromLinear(newHigh)));
}

void FigureView::ZoomToBox(const QRect& viewportBox) {
    const QRect box = viewportBox.normalized();
    if (chart()->series().isEmpty()) {
        return;
    }
    const QRectF area = chart()->plotArea();
    const auto clampToArea = [&area, this](QPoint p) {
        const QPointF local = chart()->mapFromScene(mapToScene(p));
        return QPointF(std::clamp(local.x(), area.left(), area.right()),
                       std::clamp(local.y(), area.top(), area.bottom()));
    };
    const QPointF a = chart()->mapToValue(clampToArea(box.topLeft()), chart()->series().front());
    const QPointF b =
        chart()->mapToValue(clampToArea(box.bottomRight()), chart()->series().front());
    if (a.x() == b.x() || a.y() == b.y()) {
        return;
    }
    Show(QRectF(QPointF(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                QPointF(std::max(a.x(), b.x()), std::max(a.y(), b.y()))));
}

void FigureView::PanBy(const QPoint& viewportDelta) {
    const QRectF area = chart()->plotArea();
    if (area.width() <= 0 || area.height() <= 0) {
        return;
    }
    const QPointF low = ToLinear(range_.topLeft());
    const QPointF high = ToLinear(range_.bottomRight());
    // Dragging the picture right shows what lay to the left; up on the screen is up.
    const double dx = -viewportDelta.x() * (high.x() - low.x()) / area.width();
    const double dy = viewportDelta.y() * (high.y() - low.y()) / area.height();
    Show(QRectF(FromLinear(low + QPointF(dx, dy)), FromLinear(high + QPointF(dx, dy))));
}

void FigureView::ResetZoom() {
    Show(fitted_);
}

void FigureView::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches != 0) {
        ZoomAround(event->position().toPoint(), std::pow(kWheelZoom, notches));
    }
    event->accept();
}

void FigureView::mousePressEvent(QMouseEvent* event) {
    dragButton_ = event->button();
    pressPixel_ = lastPixel_ = event->position().toPoint();
    dragged_ = false;
    event->accept();
}

void FigureView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pixel = event->position().toPoint();
    emit PointerMoved(pixel);
    if (dragButton_ == Qt::NoButton) {
        return;
    }
    dragged_ = dragged_ || (pixel - pressPixel_).manhattanLength() >= kDragThreshold;
    if (!dragged_) {
        return;
    }
    if (dragButton_ == Qt::LeftButton) {
        box_->setGeometry(QRect(pressPixel_, pixel).normalized());
        box_->show();
    } else {
        PanBy(pixel - lastPixel_);
        lastPixel_ = pixel;
    }
}

void FigureView::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pixel = event->position().toPoint();
    const Qt::MouseButton button = dragButton_;
    dragButton_ = Qt::NoButton;
    box_->hide();
    if (button == Qt::LeftButton && dragged_) {
        ZoomToBox(QRect(pressPixel_, pixel));
    } else if (button == Qt::RightButton && !dragged_) {
        emit MenuRequested(event->globalPosition().toPoint());
    }
    event->accept();
}

void FigureView::mouseDoubleClickEvent(QMouseEvent* event) {
    ResetZoom();
    event->accept();
}

bool FigureView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const std::optional<QPointF> at = ValueAt(help->pos());
        const QString text = at ? BandTooltipAt(figure_, at->x()) : QString();
        if (text.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(help->globalPos(), text, this);
        }
        return true;
    }
    return QChartView::viewportEvent(event);
}

}  // namespace travik::figures
