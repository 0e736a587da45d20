#include "measures/LogChart.h"

#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPen>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Long spectra (a million frequencies) are drawn from their envelope: the lowest and the
// highest point of each thousandth of a decade, which is what a screen can show of them.
constexpr int kEnvelopeThreshold = 20000;
constexpr double kEnvelopeSlice = 0.001;  // decades

QLogValueAxis* MakeLogAxis() {
    auto* axis = new QLogValueAxis;
    axis->setBase(10.0);
    axis->setLabelFormat(QStringLiteral("%g"));
    axis->setMinorTickCount(8);
    return axis;
}

}  // namespace

LogChart::LogChart(QChartView* view, bool logarithmicOrdinate, QObject* parent)
    : QObject(parent),
      view_(view),
      chart_(view->chart()),
      logarithmicOrdinate_(logarithmicOrdinate) {
    axisX_ = MakeLogAxis();
    if (logarithmicOrdinate) {
        axisY_ = MakeLogAxis();
    } else {
        auto* linear = new QValueAxis;
        linear->setLabelFormat(QStringLiteral("%g"));
        axisY_ = linear;
    }
    chart_->addAxis(axisX_, Qt::AlignBottom);
    chart_->addAxis(axisY_, Qt::AlignLeft);
    chart_->legend()->setVisible(true);
    chart_->legend()->setAlignment(Qt::AlignTop);
    view_->setRenderHint(QPainter::Antialiasing, true);
}

int LogChart::AddLineSeries(const QColor& color, qreal width) {
    auto* series = new QLineSeries;
    QPen pen(color);
    pen.setWidthF(width);
    series->setPen(pen);
    chart_->addSeries(series);
    series->attachAxis(axisX_);
    series->attachAxis(axisY_);
    series_.push_back({series, {}});
    return static_cast<int>(series_.size()) - 1;
}

bool LogChart::Drawable(const QPointF& point) const {
    return point.x() > 0.0 && std::isfinite(point.x()) && std::isfinite(point.y()) &&
           (!logarithmicOrdinate_ || point.y() > 0.0);
}

void LogChart::SetPoints(int index, const QList<QPointF>& points) {
    SeriesState& state = series_.at(static_cast<std::size_t>(index));
    state.points.assign(points.begin(), points.end());
    QList<QPointF> shown;
    if (points.size() <= kEnvelopeThreshold) {
        for (const QPointF& point : points) {
            if (Drawable(point)) {
                shown.append(point);
            }
        }
    } else {
        // Frequencies ascend: one slice after the other, its lowest and highest point in
        // the order they come.
        long long slice = std::numeric_limits<long long>::min();
        QPointF low;
        QPointF high;
        bool open = false;
        const auto close = [&]() {
            if (open) {
                shown.append(low.x() <= high.x() ? low : high);
                if (low != high) {
                    shown.append(low.x() <= high.x() ? high : low);
                }
            }
        };
        for (const QPointF& point : points) {
            if (!Drawable(point)) {
                continue;
            }
            const auto at =
                static_cast<long long>(std::floor(std::log10(point.x()) / kEnvelopeSlice));
            if (!open || at != slice) {
                close();
                slice = at;
                low = high = point;
                open = true;
            } else {
                if (point.y() < low.y()) {
                    low = point;
                }
                if (point.y() > high.y()) {
                    high = point;
                }
            }
        }
        close();
    }
    state.series->replace(shown);
    Rescale();
}

void LogChart::ClearSeries(int index) {
    SetPoints(index, {});
}

int LogChart::PointCount(int index) const {
    return static_cast<int>(series_.at(static_cast<std::size_t>(index)).points.size());
}

QPointF LogChart::Point(int index, int pointIndex) const {
    return series_.at(static_cast<std::size_t>(index))
        .points.at(static_cast<std::size_t>(pointIndex));
}

void LogChart::SetSeriesTitle(int index, const QString& title) {
    series_.at(static_cast<std::size_t>(index)).series->setName(title);
}

QString LogChart::SeriesTitle(int index) const {
    return series_.at(static_cast<std::size_t>(index)).series->name();
}

void LogChart::SetAxisTitles(const QString& bottom, const QString& left) {
    axisX_->setTitleText(bottom);
    axisY_->setTitleText(left);
}

QString LogChart::BottomAxisTitle() const {
    return axisX_->titleText();
}

QString LogChart::LeftAxisTitle() const {
    return axisY_->titleText();
}

double LogChart::BottomMin() const {
    return static_cast<QLogValueAxis*>(axisX_)->min();
}

double LogChart::BottomMax() const {
    return static_cast<QLogValueAxis*>(axisX_)->max();
}

double LogChart::LeftMin() const {
    return logarithmicOrdinate_ ? static_cast<QLogValueAxis*>(axisY_)->min()
                                : static_cast<QValueAxis*>(axisY_)->min();
}

double LogChart::LeftMax() const {
    return logarithmicOrdinate_ ? static_cast<QLogValueAxis*>(axisY_)->max()
                                : static_cast<QValueAxis*>(axisY_)->max();
}

void LogChart::Rescale() {
    double xMin = std::numeric_limits<double>::infinity();
    double xMax = -xMin;
    double yMin = xMin;
    double yMax = -xMin;
    for (const SeriesState& state : series_) {
        for (const QPointF& point : state.points) {
            if (!Drawable(point)) {
                continue;
            }
            xMin = std::min(xMin, point.x());
            xMax = std::max(xMax, point.x());
            yMin = std::min(yMin, point.y());
            yMax = std::max(yMax, point.y());
        }
    }
    if (!(xMin <= xMax)) {
        xMin = 0.1;
        xMax = 10.0;
        yMin = logarithmicOrdinate_ ? 0.1 : 0.0;
        yMax = logarithmicOrdinate_ ? 10.0 : 1.0;
    }
    // Whole decades on the logarithmic axes, a little room on the linear one.
    const auto decadeBelow = [](double v) { return std::pow(10.0, std::floor(std::log10(v))); };
    const auto decadeAbove = [](double v) { return std::pow(10.0, std::ceil(std::log10(v))); };
    static_cast<QLogValueAxis*>(axisX_)->setRange(
        decadeBelow(xMin), std::max(decadeAbove(xMax), decadeBelow(xMin) * 10));
    if (logarithmicOrdinate_) {
        static_cast<QLogValueAxis*>(axisY_)->setRange(
            decadeBelow(yMin), std::max(decadeAbove(yMax), decadeBelow(yMin) * 10));
    } else {
        const double span = yMax > yMin ? yMax - yMin : 1.0;
        static_cast<QValueAxis*>(axisY_)->setRange(std::min(0.0, yMin), yMax + 0.05 * span);
    }
}
