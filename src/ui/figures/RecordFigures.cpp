#include "ui/figures/RecordFigures.h"

#include <QFileInfo>
#include <algorithm>

namespace travik::figures {
namespace {

Curve ThinnedLine(const DOUBLEVECTOR& values, double dt, std::size_t columns, QString name,
                  const QColor& color) {
    Curve c;
    c.name = std::move(name);
    c.color = color;
    c.width = 1.0;
    const std::vector<std::size_t> kept = ThinToColumns(values, columns);
    c.points.reserve(static_cast<qsizetype>(kept.size()));
    for (const std::size_t k : kept) {
        c.points.append(QPointF(static_cast<double>(k) * dt, values[k]));
    }
    return c;
}

Curve Mark(QString name, const QColor& color, QPointF at) {
    Curve c;
    c.name = std::move(name);
    c.color = color;
    c.markerSize = kRecordMarkSize;
    c.points.append(at);
    return c;
}

// The first sample, the maximum and the minimum of `values`, each at the time of the first
// sample holding it. The legend names the series they sit on once there are two.
void AddMarks(ChartFigure& chart, const DOUBLEVECTOR& values, double dt, bool onCorrected) {
    if (values.empty()) {
        return;
    }
    const auto maximum = std::max_element(values.begin(), values.end());
    const auto minimum = std::min_element(values.begin(), values.end());
    const auto timeOf = [&](DOUBLEVECTOR::const_iterator at) {
        return static_cast<double>(at - values.begin()) * dt;
    };
    const QString of = onCorrected ? QStringLiteral(" of corrected") : QString();
    chart.curves.push_back(
        Mark(QStringLiteral("First") + of, kFirstMarkColor, QPointF(0.0, values.front())));
    chart.curves.push_back(
        Mark(QStringLiteral("Max") + of, kMaximumMarkColor, QPointF(timeOf(maximum), *maximum)));
    chart.curves.push_back(
        Mark(QStringLiteral("Min") + of, kMinimumMarkColor, QPointF(timeOf(minimum), *minimum)));
}

}  // namespace

std::array<ChartFigure, 3> TimeHistoryCharts(const TimeHistory& record, std::size_t columns) {
    std::array<ChartFigure, 3> charts;
    const QString name = QFileInfo(QString::fromStdString(record.SourceFileName())).fileName();
    const char* titles[] = {"Acceleration", "Velocity", "Displacement"};
    const char* units[] = {"Acceleration[g]", "Velocity [cm/sec]", "Displacement [cm]"};
    const DOUBLEVECTOR* raw[] = {&record.RawAcceleration(), &record.RawVelocity(),
                                 &record.RawDisplacement()};
    const DOUBLEVECTOR* corrected[] = {&record.CorrectedAcceleration(), &record.CorrectedVelocity(),
                                       &record.CorrectedDisplacement()};
    const double dt = record.TimeStep();
    for (std::size_t i = 0; i < charts.size(); ++i) {
        ChartFigure& f = charts[i];
        f.title = name + QStringLiteral(" — ") + QLatin1String(titles[i]);
        f.xTitle = QStringLiteral("Time [sec]");
        f.yTitle = QLatin1String(units[i]);
        f.markRoom = true;
        f.curves.push_back(
            ThinnedLine(*raw[i], dt, columns, QStringLiteral("Raw"), kRawRecordColor));
        const bool isCorrected = record.IsCorrected() && !corrected[i]->empty();
        if (isCorrected) {
            f.curves.push_back(ThinnedLine(*corrected[i], dt, columns, QStringLiteral("Corrected"),
                                           kCorrectedRecordColor));
        }
        AddMarks(f, isCorrected ? *corrected[i] : *raw[i], dt, isCorrected);
    }
    return charts;
}

std::vector<const Curve*> RecordMarks(const ChartFigure& chart) {
    std::vector<const Curve*> marks;
    for (const Curve& curve : chart.curves) {
        if (curve.markerSize > 0) {
            marks.push_back(&curve);
        }
    }
    return marks;
}

}  // namespace travik::figures
