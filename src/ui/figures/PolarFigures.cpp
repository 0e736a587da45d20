#include "ui/figures/PolarFigures.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/text/NumberFormat.h"

namespace travik::figures {
namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
// Points of the RotD50 circle.
constexpr int kCircleSegments = 120;

QString Number(double value, const char* pattern, char decimalSeparator) {
    return QString::fromStdString(FormatNumber(value, pattern, decimalSeparator));
}

double PercentileAt(const RotatedPeaks& peaks, const std::vector<double>& percentiles, double p) {
    for (std::size_t i = 0; i < percentiles.size() && i < peaks.percentiles.size(); ++i) {
        if (percentiles[i] == p) {
            return peaks.percentiles[i];
        }
    }
    return PercentileOf({peaks.peaks.begin(), peaks.peaks.end()}, p);
}

// The half-width of both axes: a round number a little beyond the largest peak.
double AxisReach(double largest) {
    if (!(largest > 0.0) || !std::isfinite(largest)) {
        return 1.0;
    }
    const double wanted = largest * 1.08;
    const double decade = std::pow(10.0, std::floor(std::log10(wanted)));
    return std::ceil(wanted / decade * 2.0) / 2.0 * decade;
}

QPointF At(double radius, double degrees) {
    return {radius * std::cos(degrees * kRadiansPerDegree),
            radius * std::sin(degrees * kRadiansPerDegree)};
}

// Short enough for the small view: the period (the damping is chosen beside it), the angle
// and, when known, the azimuth of the RotD100 direction.
QString TitleOf(const RotatedSpectraResult& result, std::optional<std::size_t> period,
                const RotatedPeaks& peaks, std::optional<double> azimuth, char separator) {
    QString title =
        period ? Number(result.options.periods[*period], "0.###", separator) + QStringLiteral(" s")
               : QStringLiteral("PGA");
    title += QStringLiteral(": RotD100 at %1°").arg(peaks.maxAngle);
    if (azimuth) {
        title += QStringLiteral(", az. %1°").arg(Number(*azimuth, "0.#", separator));
    }
    return title;
}

}  // namespace

ChartFigure RotatedPeaksFigure(const RotatedSpectraResult& result, std::size_t damping,
                               std::optional<std::size_t> period, std::optional<double> azimuth,
                               char decimalSeparator) {
    const RotatedPeaks& peaks = period ? result.damping[damping].points[*period].psa : result.pga;
    ChartFigure figure;
    figure.title = TitleOf(result, period, peaks, azimuth, decimalSeparator);
    figure.xTitle = QStringLiteral("H1 (g)");
    figure.yTitle = QStringLiteral("H2 (g)");
    figure.legend = false;

    Curve outline;
    outline.name = QStringLiteral("Rotated peaks");
    outline.color = QColor(30, 90, 200);
    outline.width = 1.6;
    for (std::size_t a = 0; a <= 2 * kRotationAngles; ++a) {
        outline.points.append(At(peaks.peaks[a % kRotationAngles], static_cast<double>(a)));
    }
    Curve median;
    median.name = QStringLiteral("RotD50");
    median.color = QColor(120, 120, 120);
    median.width = 1.0;
    median.style = Qt::DashLine;
    const double rotD50 = PercentileAt(peaks, result.options.percentiles, 50.0);
    for (int s = 0; s <= kCircleSegments; ++s) {
        median.points.append(At(rotD50, 360.0 * s / kCircleSegments));
    }
    Curve direction;
    direction.name = QStringLiteral("RotD100 direction");
    direction.color = QColor(200, 30, 30);
    direction.width = 2.2;
    const double largest = peaks.peaks[static_cast<std::size_t>(peaks.maxAngle)];
    direction.points = {At(largest, peaks.maxAngle + 180.0), At(largest, peaks.maxAngle)};
    figure.curves = {outline, median, direction};

    const double reach = AxisReach(largest);
    figure.view = QRectF(QPointF(-reach, -reach), QPointF(reach, reach));
    return figure;
}

}  // namespace travik::figures
