#include "app/ChartAdapter.h"

#include <QBrush>
#include <QChart>
#include <QChartView>
#include <QEvent>
#include <QFont>
#include <QFontMetricsF>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLinearGradient>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Extent of the finite values shown on one axis.
struct Extent {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();

    void Include(double value) {
        if (std::isfinite(value)) {
            low = std::min(low, value);
            high = std::max(high, value);
        }
    }
    bool IsEmpty() const { return low > high; }
};

// An axis range on round numbers that encloses the extent, with its tick count and the
// number of decimals its labels need.
struct NiceScale {
    double low = 0.0;
    double high = 1.0;
    int ticks = 6;
    int decimals = 1;
};

NiceScale MakeNiceScale(Extent extent) {
    NiceScale scale;
    if (extent.IsEmpty()) {
        return scale;
    }
    if (extent.low == extent.high) {
        // A single value (or a flat curve) still gets a visible band around it.
        const double pad = extent.low == 0.0 ? 1.0 : std::abs(extent.low) * 0.1;
        extent.low -= pad;
        extent.high += pad;
    }
    const double span = extent.high - extent.low;
    if (!std::isfinite(span) || span <= 0.0) {
        scale.low = extent.low;
        scale.high = extent.high;
        scale.ticks = 5;
        scale.decimals = 0;
        return scale;
    }
    // Aim at about eight intervals, on steps of 1, 2, 2.5 or 5 times a power of ten.
    const double rough = span / 8.0;
    const double magnitude = std::pow(10.0, std::floor(std::log10(rough)));
    const double fraction = rough / magnitude;
    double mantissa = 10.0;
    if (fraction <= 1.0) {
        mantissa = 1.0;
    } else if (fraction <= 2.0) {
        mantissa = 2.0;
    } else if (fraction <= 2.5) {
        mantissa = 2.5;
    } else if (fraction <= 5.0) {
        mantissa = 5.0;
    }
    const double step = mantissa * magnitude;
    // The small allowance keeps a value that sits on a tick from adding a whole interval.
    const double firstTick = std::floor(extent.low / step + 1e-9);
    const double lastTick = std::ceil(extent.high / step - 1e-9);
    scale.low = firstTick * step;
    scale.high = lastTick * step;
    scale.ticks = static_cast<int>(std::lround(lastTick - firstTick)) + 1;
    scale.ticks = std::clamp(scale.ticks, 2, 30);
    int decimals = std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
    if (mantissa == 2.5) {
        ++decimals;
    }
    scale.decimals = std::min(decimals, 12);
    return scale;
}

void ApplyScale(QValueAxis* axis, const Extent& extent) {
    const NiceScale scale = MakeNiceScale(extent);
    axis->setLabelFormat(QStringLiteral("%.%1f").arg(scale.decimals));
    axis->setTickCount(scale.ticks);
    axis->setRange(scale.low, scale.high);
}

// The compact scale of one axis: a step of 1, 2 or 5 times a power of ten that labels the
// extent in at most `maxIntervals` intervals, and a range that also leaves `padFraction` of
// itself beyond the extreme points.
struct CompactScale {
    double low = 0.0;
    double high = 1.0;
    double step = 0.2;
    int decimals = 1;
};

CompactScale MakeCompactScale(Extent extent, int maxIntervals, double padFraction) {
    CompactScale scale;
    if (extent.IsEmpty()) {
        return scale;
    }
    if (extent.low == extent.high) {
        const double pad = extent.low == 0.0 ? 1.0 : std::abs(extent.low) * 0.1;
        extent.low -= pad;
        extent.high += pad;
    }
    const double span = extent.high - extent.low;
    if (!std::isfinite(span) || span <= 0.0) {
        scale.low = extent.low;
        scale.high = extent.high;
        scale.step = std::isfinite(span) ? 1.0 : 0.0;
        scale.decimals = 0;
        return scale;
    }
    maxIntervals = std::max(maxIntervals, 1);
    double magnitude = std::pow(10.0, std::floor(std::log10(span / maxIntervals)));
    constexpr double kMantissas[] = {1.0, 2.0, 5.0};
    int mantissa = 0;
    double step = magnitude;
    // The smallest step whose round range needs no more than the intervals allowed.
    for (int guard = 0; guard < 64; ++guard) {
        step = kMantissas[mantissa] * magnitude;
        const double intervals =
            std::ceil(extent.high / step - 1e-9) - std::floor(extent.low / step + 1e-9);
        if (intervals <= maxIntervals) {
            break;
        }
        if (++mantissa == 3) {
            mantissa = 0;
            magnitude *= 10.0;
        }
    }
    scale.step = step;
    scale.low = std::floor(extent.low / step + 1e-9) * step;
    scale.high = std::ceil(extent.high / step - 1e-9) * step;
    // Room for half a mark beyond the extreme points, where the round range leaves less.
    const double pad = (scale.high - scale.low) * padFraction;
    scale.low = std::min(scale.low, extent.low - pad);
    scale.high = std::max(scale.high, extent.high + pad);
    scale.decimals = std::clamp(static_cast<int>(-std::floor(std::log10(step) + 1e-9)), 0, 12);
    return scale;
}

void ApplyCompactScale(QValueAxis* axis, const CompactScale& scale) {
    axis->setLabelFormat(QStringLiteral("%.%1f").arg(scale.decimals));
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0.0);
    axis->setTickInterval(scale.step);
    axis->setRange(scale.low, scale.high);
}

// Above this many points a line series whose abscissas never decrease is drawn from its
// envelope: per slice of the abscissa range its lowest and highest point, in their order.
// With more slices than a plot has pixel columns the drawing cannot be told apart from the
// full line, while the chart has a few thousand segments to lay out instead of every one.
constexpr std::size_t kEnvelopeAbove = 8192;
constexpr int kEnvelopeSlices = 4096;

bool AbscissasNeverDecrease(const std::vector<QPointF>& points) {
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (!std::isfinite(points[i].x()) || (i > 0 && points[i].x() < points[i - 1].x())) {
            return false;
        }
    }
    return true;
}

QList<QPointF> DrawnPoints(const std::vector<QPointF>& points, bool& drawnAsEnvelope) {
    drawnAsEnvelope = false;
    if (points.size() <= kEnvelopeAbove || !AbscissasNeverDecrease(points)) {
        return QList<QPointF>(points.begin(), points.end());
    }
    const double first = points.front().x();
    const double span = points.back().x() - first;
    if (!(span > 0.0)) {
        return QList<QPointF>(points.begin(), points.end());
    }
    drawnAsEnvelope = true;
    QList<QPointF> envelope;
    envelope.reserve(2 * kEnvelopeSlices + 2);
    envelope.append(points.front());
    std::size_t i = 1;
    const std::size_t last = points.size() - 1;
    while (i < last) {
        const int slice =
            std::min(static_cast<int>((points[i].x() - first) / span * kEnvelopeSlices),
                     kEnvelopeSlices - 1);
        std::size_t lowest = i;
        std::size_t highest = i;
        std::size_t j = i;
        for (; j < last; ++j) {
            const int jSlice =
                std::min(static_cast<int>((points[j].x() - first) / span * kEnvelopeSlices),
                         kEnvelopeSlices - 1);
            if (jSlice != slice) {
                break;
            }
            // A non-finite ordinate is never the lowest or highest point.
            if (points[j].y() < points[lowest].y() || !std::isfinite(points[lowest].y())) {
                lowest = j;
            }
            if (points[j].y() > points[highest].y() || !std::isfinite(points[highest].y())) {
                highest = j;
            }
        }
        envelope.append(points[std::min(lowest, highest)]);
        if (lowest != highest) {
            envelope.append(points[std::max(lowest, highest)]);
        }
        i = j;
    }
    envelope.append(points[last]);
    return envelope;
}

}  // namespace

ChartAdapter::ChartAdapter(QChartView* view, QObject* parent)
    : QObject(parent),
      view_(view),
      // The view's own chart: the view keeps owning it. Setting another chart would only
      // release the one the view was built with, and nothing would delete it.
      chart_(view->chart()),
      axisX_(new QValueAxis()),
      axisY_(new QValueAxis()) {
    chart_->setLocalizeNumbers(true);
    chart_->setBackgroundRoundness(0);
    chart_->setMargins(QMargins(4, 4, 4, 4));
    chart_->legend()->setAlignment(Qt::AlignRight);

    QFont titleFont = axisX_->titleFont();
    titleFont.setPixelSize(15);
    QFont labelFont = axisX_->labelsFont();
    labelFont.setPixelSize(13);
    for (QValueAxis* axis : {axisX_, axisY_}) {
        axis->setTitleFont(titleFont);
        axis->setLabelsFont(labelFont);
        axis->setMinorTickCount(0);
    }
    chart_->addAxis(axisX_, Qt::AlignBottom);
    chart_->addAxis(axisY_, Qt::AlignLeft);
    ApplyScale(axisX_, Extent{});
    ApplyScale(axisY_, Extent{});

    view_->setRenderHint(QPainter::Antialiasing);
    view_->setMouseTracking(true);
    view_->viewport()->setMouseTracking(true);
    view_->viewport()->installEventFilter(this);
    connect(chart_, &QChart::plotAreaChanged, this,
            [this](const QRectF& area) { PlotAreaChanged(area); });
}

int ChartAdapter::SeriesCount() const {
    return static_cast<int>(series_.size());
}

int ChartAdapter::Attach(QXYSeries* series, bool isLine) {
    chart_->addSeries(series);
    series->attachAxis(axisX_);
    series->attachAxis(axisY_);
    SeriesState state;
    state.series = series;
    state.isLine = isLine;
    series_.push_back(std::move(state));
    return SeriesCount() - 1;
}

int ChartAdapter::AddLineSeries(const QColor& color, qreal width) {
    auto* series = new QLineSeries();
    QPen pen(color);
    pen.setWidthF(width);
    series->setPen(pen);
    return Attach(series, true);
}

int ChartAdapter::AddPointSeries(const QColor& defaultColor, qreal markerSize) {
    auto* series = new QScatterSeries();
    series->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    series->setMarkerSize(markerSize);
    series->setColor(defaultColor);
    series->setBorderColor(defaultColor);
    return Attach(series, false);
}

ChartAdapter::SeriesState* ChartAdapter::StateAt(int index) {
    if (index < 0 || index >= SeriesCount()) {
        return nullptr;
    }
    return &series_[static_cast<std::size_t>(index)];
}

const ChartAdapter::SeriesState* ChartAdapter::StateAt(int index) const {
    if (index < 0 || index >= SeriesCount()) {
        return nullptr;
    }
    return &series_[static_cast<std::size_t>(index)];
}

void ChartAdapter::SeriesState::IncludeInBounds(const QPointF& point) {
    // A point with a non-finite coordinate is not drawn and does not scale the axes.
    if (!std::isfinite(point.x()) || !std::isfinite(point.y())) {
        return;
    }
    if (!hasFinitePoint) {
        hasFinitePoint = true;
        xLow = xHigh = point.x();
        yLow = yHigh = point.y();
        return;
    }
    xLow = std::min(xLow, point.x());
    xHigh = std::max(xHigh, point.x());
    yLow = std::min(yLow, point.y());
    yHigh = std::max(yHigh, point.y());
}

void ChartAdapter::ClearSeries(int index) {
    if (SeriesState* state = StateAt(index)) {
        state->points.clear();
        state->boundsKnown = false;
        state->drawnAsEnvelope = false;
        state->series->clear();
        state->series->clearPointsConfiguration();
        ScheduleRescale();
    }
}

void ChartAdapter::SetSeriesActive(int index, bool active) {
    SeriesState* state = StateAt(index);
    if (state == nullptr) {
        return;
    }
    state->active = active;
    state->series->setVisible(active);
    // The legend follows the series' visibility; say so explicitly all the same.
    for (QLegendMarker* marker : chart_->legend()->markers(state->series)) {
        marker->setVisible(active);
    }
    ScheduleRescale();
}

bool ChartAdapter::IsSeriesActive(int index) const {
    const SeriesState* state = StateAt(index);
    return state != nullptr && state->active;
}

void ChartAdapter::AddPoint(int index, double x, double y) {
    if (SeriesState* state = StateAt(index)) {
        state->points.emplace_back(x, y);
        if (state->boundsKnown) {
            state->IncludeInBounds(state->points.back());
        }
        if (state->drawnAsEnvelope) {
            state->series->replace(DrawnPoints(state->points, state->drawnAsEnvelope));
        } else {
            state->series->append(x, y);
        }
        ScheduleRescale();
    }
}

void ChartAdapter::AddPoint(int index, double x, double y, const QColor& color) {
    SeriesState* state = StateAt(index);
    if (state == nullptr) {
        return;
    }
    AddPoint(index, x, y);
    if (!state->drawnAsEnvelope &&
        state->series->count() == static_cast<int>(state->points.size())) {
        state->series->setPointConfiguration(state->series->count() - 1,
                                             QXYSeries::PointConfiguration::Color, color);
    }
}

void ChartAdapter::SetPoints(int index, const QList<QPointF>& points) {
    if (SeriesState* state = StateAt(index)) {
        state->points.assign(points.begin(), points.end());
        state->boundsKnown = false;
        state->series->clearPointsConfiguration();
        if (state->isLine) {
            state->series->replace(DrawnPoints(state->points, state->drawnAsEnvelope));
        } else {
            state->drawnAsEnvelope = false;
            state->series->replace(points);
        }
        ScheduleRescale();
    }
}

void ChartAdapter::SetSeriesTitle(int index, const QString& title) {
    if (SeriesState* state = StateAt(index)) {
        state->series->setName(title);
    }
}

QString ChartAdapter::SeriesTitle(int index) const {
    const SeriesState* state = StateAt(index);
    return state != nullptr ? state->series->name() : QString();
}

QColor ChartAdapter::SeriesColor(int index) const {
    const SeriesState* state = StateAt(index);
    return state != nullptr ? state->series->color() : QColor();
}

qreal ChartAdapter::SeriesWidth(int index) const {
    const SeriesState* state = StateAt(index);
    return state != nullptr ? state->series->pen().widthF() : 0.0;
}

int ChartAdapter::PointCount(int index) const {
    const SeriesState* state = StateAt(index);
    return state != nullptr ? static_cast<int>(state->points.size()) : 0;
}

QPointF ChartAdapter::Point(int index, int pointIndex) const {
    const SeriesState* state = StateAt(index);
    if (state == nullptr || pointIndex < 0 || pointIndex >= PointCount(index)) {
        return {};
    }
    return state->points[static_cast<std::size_t>(pointIndex)];
}

QColor ChartAdapter::PointColor(int index, int pointIndex) const {
    const SeriesState* state = StateAt(index);
    if (state == nullptr || pointIndex < 0 || pointIndex >= PointCount(index)) {
        return {};
    }
    if (!state->drawnAsEnvelope && pointIndex < state->series->count()) {
        const auto configuration = state->series->pointConfiguration(pointIndex);
        const auto found = configuration.find(QXYSeries::PointConfiguration::Color);
        if (found != configuration.end()) {
            return found->value<QColor>();
        }
    }
    return state->series->color();
}

void ChartAdapter::SetBottomAxisTitle(const QString& title) {
    axisX_->setTitleText(title);
}

void ChartAdapter::SetLeftAxisTitle(const QString& title) {
    axisY_->setTitleText(title);
}

QString ChartAdapter::BottomAxisTitle() const {
    return axisX_->titleText();
}

QString ChartAdapter::LeftAxisTitle() const {
    return axisY_->titleText();
}

void ChartAdapter::SetLegendVisible(bool visible) {
    chart_->legend()->setVisible(visible);
}

bool ChartAdapter::IsLegendVisible() const {
    return chart_->legend()->isVisible();
}

void ChartAdapter::SetBackgroundGradient(const QColor& rightColor, const QColor& leftColor) {
    QLinearGradient gradient(QPointF(1.0, 0.0), QPointF(0.0, 0.0));
    gradient.setCoordinateMode(QGradient::ObjectBoundingMode);
    gradient.setColorAt(0.0, rightColor);
    gradient.setColorAt(1.0, leftColor);
    chart_->setBackgroundBrush(QBrush(gradient));
}

QPointF ChartAdapter::ValueAt(const QPoint& viewPixel) const {
    UpdateScale();
    const QPointF chartPosition = chart_->mapFromScene(view_->mapToScene(viewPixel));
    if (!series_.empty()) {
        return chart_->mapToValue(chartPosition, series_.front().series);
    }
    // Without a series there is no domain to ask; the axes are linear.
    const QRectF area = chart_->plotArea();
    if (area.width() <= 0.0 || area.height() <= 0.0) {
        return {axisX_->min(), axisY_->min()};
    }
    const double x = axisX_->min() + (chartPosition.x() - area.left()) / area.width() *
                                         (axisX_->max() - axisX_->min());
    const double y = axisY_->min() + (area.bottom() - chartPosition.y()) / area.height() *
                                         (axisY_->max() - axisY_->min());
    return {x, y};
}

double ChartAdapter::BottomMin() const {
    UpdateScale();
    return axisX_->min();
}

double ChartAdapter::BottomMax() const {
    UpdateScale();
    return axisX_->max();
}

double ChartAdapter::LeftMin() const {
    UpdateScale();
    return axisY_->min();
}

double ChartAdapter::LeftMax() const {
    UpdateScale();
    return axisY_->max();
}

void ChartAdapter::UpdateScale() const {
    if (scaleDirty_) {
        // Scaling changes only the axes, which the chart owns, not what this adapter reports.
        const_cast<ChartAdapter*>(this)->Rescale();
    }
}

void ChartAdapter::ScheduleRescale() {
    scaleDirty_ = true;
    if (!rescaleQueued_) {
        rescaleQueued_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                rescaleQueued_ = false;
                UpdateScale();
            },
            Qt::QueuedConnection);
    }
}

void ChartAdapter::Rescale() {
    scaleDirty_ = false;
    Extent xExtent;
    Extent yExtent;
    for (SeriesState& state : series_) {
        if (!state.active) {
            continue;
        }
        if (!state.boundsKnown) {
            state.hasFinitePoint = false;
            for (const QPointF& point : state.points) {
                state.IncludeInBounds(point);
            }
            state.boundsKnown = true;
        }
        if (state.hasFinitePoint) {
            xExtent.Include(state.xLow);
            xExtent.Include(state.xHigh);
            yExtent.Include(state.yLow);
            yExtent.Include(state.yHigh);
        }
    }
    if (!compactAxes_) {
        ApplyScale(axisX_, xExtent);
        ApplyScale(axisY_, yExtent);
        return;
    }
    // A value label needs about twice its line height to stay legible (Qt Charts elides
    // labels that get less than their height); the time axis keeps about eight intervals.
    const QRectF area = chart_->plotArea();
    scaledForPlot_ = area.size();
    const double lineHeight = QFontMetricsF(axisY_->labelsFont()).height();
    const int valueIntervals =
        area.height() > 0.0 ? std::clamp(static_cast<int>(area.height() / (2.0 * lineHeight)), 1, 8)
                            : 4;
    double markRadius = 0.0;
    for (const SeriesState& state : series_) {
        if (!state.isLine && state.active) {
            markRadius = std::max(
                markRadius, static_cast<QScatterSeries*>(state.series)->markerSize() / 2.0 + 1.0);
        }
    }
    const auto padFraction = [markRadius](double pixels) {
        return pixels > 2.0 * markRadius + 1.0 ? markRadius / (pixels - 2.0 * markRadius) : 0.05;
    };
    ApplyCompactScale(
        axisX_, MakeCompactScale(xExtent, 8, markRadius > 0.0 ? padFraction(area.width()) : 0.0));
    ApplyCompactScale(axisY_,
                      MakeCompactScale(yExtent, valueIntervals,
                                       markRadius > 0.0 ? padFraction(area.height()) : 0.0));
}

void ChartAdapter::SetCompactAxes(bool compact) {
    compactAxes_ = compact;
    if (!compact) {
        for (QValueAxis* axis : {axisX_, axisY_}) {
            axis->setTickType(QValueAxis::TicksFixed);
        }
    }
    ScheduleRescale();
}

void ChartAdapter::PlotAreaChanged(const QRectF& area) {
    // Ticks and margins depend on the plot's size; the labels they give change the plot's
    // width a little, which changes no tick, so this settles after one more pass.
    if (compactAxes_ && (std::abs(area.height() - scaledForPlot_.height()) > 0.5 ||
                         std::abs(area.width() - scaledForPlot_.width()) > 0.5)) {
        ScheduleRescale();
    }
}

bool ChartAdapter::eventFilter(QObject* watched, QEvent* event) {
    // The event's type first: while the view is being destroyed its viewport() may no longer
    // be called, and no mouse move arrives then.
    if (event->type() == QEvent::MouseMove && watched == view_->viewport()) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        emit MouseMoved(mouse->position().toPoint());
    }
    return QObject::eventFilter(watched, event);
}
