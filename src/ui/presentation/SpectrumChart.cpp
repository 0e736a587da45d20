#include "presentation/SpectrumChart.h"

#include <QList>
#include <QPointF>
#include <algorithm>
#include <array>

#include "text/NumberFormat.h"

namespace {

const std::array<QColor, kSpectrumSeriesCount> kSeriesColors = {
    QColor(224, 7, 254), QColor(255, 20, 40), QColor(255, 140, 0),
    QColor(255, 255, 0), QColor(0, 255, 0),   QColor(0, 255, 255),
    QColor(0, 191, 255), QColor(0, 0, 255),   QColor(10, 155, 200)};

constexpr qreal kSeriesLineWidth = 2.0;

QString Format(double value, const char* pattern, char decimalSeparator) {
    return QString::fromStdString(travik::FormatNumber(value, pattern, decimalSeparator));
}

// The Y-axis choices list the spectrum kinds in their own order.
travik::SpectrumKind KindOfOrdinate(int ordinate) {
    return static_cast<travik::SpectrumKind>(ordinate);
}

const travik::DOUBLEVECTOR* ColumnAt(const std::vector<travik::DOUBLEVECTOR>& columns,
                                     std::size_t u) {
    return u < columns.size() ? &columns[u] : nullptr;
}

}  // namespace

QColor SpectrumSeriesColor(int series) {
    if (series < 0 || series >= kSpectrumSeriesCount) {
        return {};
    }
    return kSeriesColors[static_cast<std::size_t>(series)];
}

QString AbscissaTitle(int abscissa) {
    switch (abscissa) {
        case 0:
            return QStringLiteral("Period [sec]");
        case 1:
            return QStringLiteral("Frequency [HZ]");
        case 2:
            return QStringLiteral("Displacement [cm]");
        default:
            return {};
    }
}

QString OrdinateTitle(int ordinate) {
    switch (ordinate) {
        case 0:
            return QStringLiteral("Response Displacement [cm]");
        case 1:
            return QStringLiteral("Response Velocity [cm/sec]");
        case 2:
            return QStringLiteral("Response Acceleration [g]");
        case 3:
            return QStringLiteral("Pseudo-Velocity [cm/sec]");
        case 4:
            return QStringLiteral("Pseudo-Acceleration [g]");
        default:
            return {};
    }
}

QString SpectrumSeriesTitle(double dampingRatio, char decimalSeparator) {
    return QStringLiteral("Damp. %1%").arg(Format(dampingRatio * 100.0, "0.###", decimalSeparator));
}

void CreateSpectrumSeries(ChartAdapter& chart) {
    for (const QColor& color : kSeriesColors) {
        chart.AddLineSeries(color, kSeriesLineWidth);
    }
}

void ClearSpectrumChart(ChartAdapter& chart) {
    for (int series = 0; series < chart.SeriesCount(); ++series) {
        chart.ClearSeries(series);
        chart.SetSeriesActive(series, false);
    }
}

void PlotSpectra(ChartAdapter& chart, const travik::SpectraResult& result, int abscissa,
                 int ordinate, char decimalSeparator) {
    if (abscissa < 0 || ordinate < 0 || abscissa >= kAbscissaChoiceCount ||
        ordinate >= kOrdinateChoiceCount) {
        return;
    }
    const std::vector<travik::DOUBLEVECTOR>& yColumns = result.Columns(KindOfOrdinate(ordinate));
    const std::vector<travik::DOUBLEVECTOR>& displacements =
        result.Columns(travik::SpectrumKind::Displacement);
    const std::size_t seriesCount =
        std::min(result.dampingRatios.size(), static_cast<std::size_t>(chart.SeriesCount()));
    // The entry of the frequency list that belongs to the period 0 is not a frequency.
    const std::size_t start = abscissa == static_cast<int>(AbscissaChoice::Frequency) ? 1 : 0;

    for (std::size_t u = 0; u < seriesCount; ++u) {
        // A damping ratio is shown whole or not at all.
        if (!result.DampingComputed(u)) {
            continue;
        }
        const travik::DOUBLEVECTOR* xs = nullptr;
        switch (static_cast<AbscissaChoice>(abscissa)) {
            case AbscissaChoice::Period:
                xs = &result.periods;
                break;
            case AbscissaChoice::Frequency:
                xs = &result.frequencies;
                break;
            case AbscissaChoice::Displacement:
                xs = ColumnAt(displacements, u);
                break;
        }
        const travik::DOUBLEVECTOR* ys = ColumnAt(yColumns, u);
        if (xs == nullptr || ys == nullptr) {
            continue;
        }
        QList<QPointF> points;
        const std::size_t end = std::min(xs->size(), ys->size());
        points.reserve(static_cast<qsizetype>(end > start ? end - start : 0));
        for (std::size_t i = start; i < end; ++i) {
            points.append(QPointF((*xs)[i], (*ys)[i]));
        }
        const int series = static_cast<int>(u);
        chart.SetPoints(series, points);
        chart.SetSeriesTitle(series,
                             SpectrumSeriesTitle(result.dampingRatios[u], decimalSeparator));
        chart.SetSeriesActive(series, true);
    }
}

std::optional<QString> ReadoutText(QPointF value, double bottomMin, double bottomMax,
                                   double leftMin, double leftMax, char decimalSeparator) {
    if (value.x() > bottomMax || value.x() < bottomMin || value.y() > leftMax ||
        value.y() < leftMin) {
        return std::nullopt;
    }
    return QStringLiteral("X : %1      Y : %2")
        .arg(Format(value.x(), "0.#########", decimalSeparator),
             Format(value.y(), "0.#########", decimalSeparator));
}

std::optional<QString> SpectrumReadout(const ChartAdapter& chart, const QPoint& viewPixel,
                                       char decimalSeparator) {
    return ReadoutText(chart.ValueAt(viewPixel), chart.BottomMin(), chart.BottomMax(),
                       chart.LeftMin(), chart.LeftMax(), decimalSeparator);
}
