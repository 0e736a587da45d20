#include "ui/figures/SpectrumFigures.h"

#include <QFileInfo>
#include <cmath>

#include "core/analysis/OscillatorIntegrators.h"
#include "core/text/NumberFormat.h"

namespace travik::figures {
namespace {

QString AbscissaTitle(int abscissa) {
    switch (abscissa) {
        case 1:
            return QStringLiteral("Frequency [HZ]");
        case 2:
            return QStringLiteral("Displacement [cm]");
        default:
            return QStringLiteral("Period [sec]");
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
        default:
            return QStringLiteral("Pseudo-Acceleration [g]");
    }
}

const std::vector<double>& Kind(const SpectrumCurve& curve, SpectrumKind kind) {
    return curve.kinds[static_cast<std::size_t>(kind)];
}

SpectrumCurve Styled(QString name, const std::vector<double>& periods, QColor color, qreal width,
                     Qt::PenStyle style) {
    SpectrumCurve c;
    c.name = std::move(name);
    c.periods = periods;
    c.color = color;
    c.width = width;
    c.style = style;
    return c;
}

QList<QPointF> PointsOf(const SpectrumCurve& curve, const SpectrumChartOptions& o,
                        bool skipPeriodZero) {
    QList<QPointF> points;
    const std::size_t n = curve.periods.size();
    const auto value = [&curve](SpectrumKind kind, std::size_t k) {
        const std::vector<double>& column = Kind(curve, kind);
        return k < column.size() ? column[k] : NAN;
    };
    for (std::size_t k = 0; k < n; ++k) {
        const double t = curve.periods[k];
        if (t == 0 && skipPeriodZero) {
            continue;
        }
        QPointF p;
        switch (o.plot) {
            case SpectrumPlot::Tripartite:
                p = {o.tripartiteAgainstFrequency ? 1 / t : t,
                     value(SpectrumKind::PseudoVelocity, k)};
                break;
            case SpectrumPlot::Adrs:
                p = {value(SpectrumKind::Displacement, k),
                     value(SpectrumKind::PseudoAcceleration, k)};
                break;
            case SpectrumPlot::Choice: {
                double x = t;
                if (o.abscissa == 1) {
                    // The period-0 row has no frequency of its own.
                    if (t == 0) {
                        continue;
                    }
                    x = 1 / t;
                } else if (o.abscissa == 2) {
                    x = value(SpectrumKind::Displacement, k);
                }
                p = {x, value(static_cast<SpectrumKind>(o.ordinate), k)};
                break;
            }
        }
        points.append(p);
    }
    return points;
}

}  // namespace

// One palette for every figure and axis mode: each colour stands out from white paper by
// at least 3:1 in contrast (the WCAG ratio for graphics), so that no curve fades (a light
// yellow or cyan did), and no two are near enough to be taken for each other.
QColor PrintColor(int index) {
    static const QColor kColors[] = {
        QColor(31, 119, 180),  QColor(214, 39, 40), QColor(44, 160, 44),  QColor(214, 104, 0),
        QColor(148, 103, 189), QColor(140, 86, 75), QColor(204, 70, 160), QColor(0, 128, 128),
        QColor(127, 127, 127), QColor(128, 128, 0)};
    constexpr int kCount = static_cast<int>(std::size(kColors));
    return kColors[((index % kCount) + kCount) % kCount];
}

SpectrumCurve CurveOfResult(const SpectraResult& result, std::size_t damping,
                            char decimalSeparator) {
    SpectrumCurve c =
        Styled(QStringLiteral("Damp. ") +
                   QString::fromStdString(FormatNumber(result.dampingRatios[damping] * 100, "0.###",
                                                       decimalSeparator)) +
                   QStringLiteral("%"),
               result.periods, PrintColor(static_cast<int>(damping)), 2.0, Qt::SolidLine);
    for (std::size_t kind = 0; kind < c.kinds.size(); ++kind) {
        // A kind short of columns has nothing to draw for this damping ratio.
        if (damping < result.columns[kind].size()) {
            c.kinds[kind] = result.columns[kind][damping];
        }
        // A failed run has no value to draw.
        for (std::size_t k = 0; k < c.kinds[kind].size(); ++k) {
            if (!result.Computed(damping, k)) {
                c.kinds[kind][k] = NAN;
            }
        }
    }
    return c;
}

SpectrumCurve CurveOfTarget(const TargetSpectrum& target, double g) {
    SpectrumCurve c = Styled(QString::fromStdString(target.name), target.periods, QColor(0, 0, 0),
                             2.5, Qt::DashLine);
    for (std::size_t k = 0; k < target.periods.size(); ++k) {
        const double t = target.periods[k];
        const double sa = target.sa[k];
        const double omega = t > 0 ? kTwoPi / t : NAN;
        const double sd = t > 0 ? sa * g / (omega * omega) : 0.0;
        const double psv = t > 0 ? sa * g / omega : 0.0;
        c.kinds[0].push_back(sd);
        c.kinds[1].push_back(psv);
        c.kinds[2].push_back(sa);
        c.kinds[3].push_back(psv);
        c.kinds[4].push_back(sa);
    }
    return c;
}

std::vector<SpectrumCurve> CurvesOfSuite(const SuiteSpectra& suite, const StatisticsChoice& show) {
    std::vector<SpectrumCurve> curves;
    for (std::size_t r = 0; r < suite.recordNames.size(); ++r) {
        SpectrumCurve c = Styled(QString::fromStdString(suite.recordNames[r]), suite.periods,
                                 PrintColor(static_cast<int>(r)).lighter(115), 1.0, Qt::SolidLine);
        for (std::size_t kind = 0; kind < c.kinds.size(); ++kind) {
            c.kinds[kind] = suite.curves[kind][r];
        }
        curves.push_back(std::move(c));
    }
    if (suite.recordNames.empty()) {
        return curves;
    }
    const auto add = [&](const QString& name, std::vector<double> SuiteStatistics::*member,
                         QColor color, qreal width, Qt::PenStyle style) {
        SpectrumCurve c = Styled(name, suite.periods, color, width, style);
        for (std::size_t kind = 0; kind < c.kinds.size(); ++kind) {
            c.kinds[kind] = suite.statistics.kinds[kind].*member;
        }
        curves.push_back(std::move(c));
    };
    const QColor meanColor(0, 0, 0);
    const QColor logColor(160, 0, 40);
    if (show.mean) {
        add(QStringLiteral("Mean"), &SuiteStatistics::mean, meanColor, 3.0, Qt::SolidLine);
    }
    if (show.meanPlusMinusSigma) {
        add(QStringLiteral("Mean + σ"), &SuiteStatistics::meanPlusSigma, meanColor, 1.6,
            Qt::DotLine);
        add(QStringLiteral("Mean − σ"), &SuiteStatistics::meanMinusSigma, meanColor, 1.6,
            Qt::DotLine);
    }
    if (show.median) {
        add(QStringLiteral("Median"), &SuiteStatistics::median, QColor(0, 90, 160), 2.2,
            Qt::DashDotLine);
    }
    if (show.logMean) {
        add(QStringLiteral("Log-normal mean"), &SuiteStatistics::logMean, logColor, 3.0,
            Qt::SolidLine);
    }
    if (show.logMeanPlusMinusSigma) {
        add(QStringLiteral("Log-normal mean × exp(σln)"), &SuiteStatistics::logMeanPlusSigma,
            logColor, 1.6, Qt::DotLine);
        add(QStringLiteral("Log-normal mean ÷ exp(σln)"), &SuiteStatistics::logMeanMinusSigma,
            logColor, 1.6, Qt::DotLine);
    }
    return curves;
}

ChartFigure SpectrumChart(const std::vector<SpectrumCurve>& curves,
                          const SpectrumChartOptions& options) {
    ChartFigure figure;
    figure.title = options.title;
    figure.g = options.g;
    figure.xScale = options.xScale;
    figure.yScale = options.yScale;
    bool periodAxis = false;
    bool frequencyAxis = false;
    switch (options.plot) {
        case SpectrumPlot::Tripartite:
            figure.xScale = figure.yScale = AxisScale::Log;
            figure.xTitle = AbscissaTitle(options.tripartiteAgainstFrequency ? 1 : 0);
            figure.yTitle = OrdinateTitle(3);
            figure.overlay = options.tripartiteAgainstFrequency ? Overlay::TripartiteFrequency
                                                                : Overlay::TripartitePeriod;
            frequencyAxis = options.tripartiteAgainstFrequency;
            periodAxis = !frequencyAxis;
            break;
        case SpectrumPlot::Adrs:
            figure.xTitle = AbscissaTitle(2);
            figure.yTitle = OrdinateTitle(4);
            figure.overlay = Overlay::AdrsPeriods;
            break;
        case SpectrumPlot::Choice:
            figure.xTitle = AbscissaTitle(options.abscissa);
            figure.yTitle = OrdinateTitle(options.ordinate);
            periodAxis = options.abscissa == 0;
            frequencyAxis = options.abscissa == 1;
            break;
    }
    const bool skipPeriodZero = options.plot != SpectrumPlot::Choice ||
                                figure.xScale == AxisScale::Log || figure.yScale == AxisScale::Log;
    for (const SpectrumCurve& curve : curves) {
        Curve c;
        c.name = curve.name;
        c.color = curve.color;
        c.width = curve.width;
        c.style = curve.style;
        c.points = PointsOf(curve, options, skipPeriodZero);
        figure.curves.push_back(std::move(c));
    }
    for (const UntrustedBand& band : options.bands) {
        Band b;
        b.tooltip = QString::fromStdString(band.explanation);
        if (periodAxis) {
            b.from = band.fromPeriod;
            b.to = band.toPeriod;
        } else if (frequencyAxis) {
            b.from = std::isinf(band.toPeriod) ? 0.0 : 1 / band.toPeriod;
            b.to = band.fromPeriod > 0 ? 1 / band.fromPeriod : INFINITY;
        } else {
            continue;
        }
        switch (band.reason) {
            case UntrustedReason::ShortPeriod:
                b.name = QStringLiteral("Less trustworthy: short periods");
                break;
            case UntrustedReason::LongPeriod:
                b.name = QStringLiteral("Less trustworthy: over half the duration");
                break;
            case UntrustedReason::HighPassCorner:
                b.name = QStringLiteral("Less trustworthy: beyond the high-pass corner");
                break;
        }
        figure.bands.push_back(b);
    }
    return figure;
}

}  // namespace travik::figures
