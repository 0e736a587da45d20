#include "ui/figures/ScalingFigures.h"

#include <QStringLiteral>
#include <algorithm>

#include "core/text/NumberFormat.h"

namespace travik::figures {
namespace {

const QColor kRecordColor(160, 160, 160);
const QColor kMeanColor(0, 0, 0);
const QColor kTargetColor(200, 30, 30);

Band RangeBand(const SuiteScaling& s) {
    Band band;
    band.from = s.options.minPeriod;
    band.to = s.options.maxPeriod;
    band.name = QStringLiteral("Range %1-%2 s")
                    .arg(QString::fromStdString(FormatGeneral(s.options.minPeriod)),
                         QString::fromStdString(FormatGeneral(s.options.maxPeriod)));
    band.tooltip = QStringLiteral("The periods the records are fitted over and the rule checked");
    return band;
}

Curve Line(const QString& name, const QColor& color, qreal width, Qt::PenStyle style) {
    Curve curve;
    curve.name = name;
    curve.color = color;
    curve.width = width;
    curve.style = style;
    return curve;
}

ChartFigure SpectraPanel(const SuiteScaling& s) {
    ChartFigure figure;
    const ScalingMeasure measure = s.options.measure;
    figure.title = (measure == ScalingMeasure::Psa ? QStringLiteral("%1 records scaled to %2")
                                                   : QStringLiteral("%1 pairs scaled to %2"))
                       .arg(s.SelectedCount())
                       .arg(QString::fromStdString(s.target.Name()));
    figure.xTitle = QStringLiteral("Period [sec]");
    figure.yTitle = measure == ScalingMeasure::RotD50 ? QStringLiteral("RotD50 [g]")
                    : measure == ScalingMeasure::RotD100
                        ? QStringLiteral("RotD100 [g]")
                        : QStringLiteral("Pseudo Acceleration [g]");
    figure.xScale = AxisScale::Log;
    figure.yScale = AxisScale::Log;
    bool first = true;
    for (std::size_t r = 0; r < s.members.size(); ++r) {
        if (!s.scaled[r].selected) {
            continue;
        }
        Curve curve = Line(first ? QStringLiteral("Scaled records") : QString(), kRecordColor, 1.0,
                           Qt::SolidLine);
        first = false;
        for (std::size_t k = 0; k < s.periods.size(); ++k) {
            if (s.periods[k] > 0) {
                curve.points.append({s.periods[k], s.scaled[r].totalFactor * s.members[r].sa[k]});
            }
        }
        figure.curves.push_back(curve);
    }
    Curve mean = Line(QStringLiteral("Suite mean"), kMeanColor, 2.5, Qt::SolidLine);
    Curve target = Line(QString::fromStdString(s.target.Name()), kTargetColor, 2.0, Qt::SolidLine);
    Curve share = Line(QStringLiteral("0.9 x target"), kTargetColor, 1.5, Qt::DashLine);
    for (std::size_t k = 0; k < s.periods.size(); ++k) {
        const double t = s.periods[k];
        if (!(t > 0)) {
            continue;
        }
        double sum = 0.0;
        int count = 0;
        for (std::size_t r = 0; r < s.members.size(); ++r) {
            if (s.scaled[r].selected) {
                sum += s.scaled[r].totalFactor * s.members[r].sa[k];
                ++count;
            }
        }
        mean.points.append({t, sum / std::max(count, 1)});
        if (std::isfinite(s.targetSa[k])) {
            target.points.append({t, s.targetSa[k]});
            share.points.append({t, 0.9 * s.targetSa[k]});
        }
    }
    figure.curves.push_back(mean);
    figure.curves.push_back(target);
    figure.curves.push_back(share);
    figure.bands.push_back(RangeBand(s));
    return figure;
}

ChartFigure RatioPanel(const SuiteScaling& s) {
    ChartFigure figure;
    figure.xTitle = QStringLiteral("Period [sec]");
    figure.yTitle = QStringLiteral("Mean / target");
    figure.xScale = AxisScale::Log;
    Curve ratio = Line(QStringLiteral("Mean / target"), kMeanColor, 2.0, Qt::SolidLine);
    for (const ScalingRow& row : s.rows) {
        ratio.points.append({row.period, row.mean / row.target});
    }
    const double from = s.rows.empty() ? s.options.minPeriod : s.rows.front().period;
    const double to = s.rows.empty() ? s.options.maxPeriod : s.rows.back().period;
    Curve one = Line(QStringLiteral("1.0"), kTargetColor, 1.0, Qt::SolidLine);
    one.points = {{from, 1.0}, {to, 1.0}};
    Curve share = Line(QStringLiteral("0.9"), kTargetColor, 1.5, Qt::DashLine);
    share.points = {{from, 0.9}, {to, 0.9}};
    figure.curves = {ratio, one, share};
    figure.bands.push_back(RangeBand(s));
    return figure;
}

}  // namespace

std::array<ChartFigure, 2> ScalingCharts(const SuiteScaling& scaling) {
    ChartFigure spectra = SpectraPanel(scaling);
    ChartFigure ratio = RatioPanel(scaling);
    // The panels share their period axis, so a period lies at one place in both.
    const QRectF above = FittedRange(spectra);
    const QRectF below = FittedRange(ratio);
    ratio.view = QRectF(QPointF(above.left(), below.top()), QPointF(above.right(), below.bottom()));
    return {spectra, ratio};
}

}  // namespace travik::figures
