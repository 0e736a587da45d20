#pragma once

#include <QColor>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <optional>
#include <vector>

class QChart;

namespace travik::figures {

// A chart described as data: what the window shows and what an image file holds are both
// built from one of these, so that a saved figure is the chart on the screen.

enum class AxisScale { Linear, Log };

struct Curve {
    QString name;  // legend entry; empty: not in the legend
    QList<QPointF> points;
    QColor color = Qt::black;
    qreal width = 2.0;  // logical pixels (1/96 in)
    Qt::PenStyle style = Qt::SolidLine;
    // Above 0: the points are drawn as round marks of this diameter (logical pixels),
    // not joined, e.g. the crossings of a Husid curve.
    qreal markerSize = 0.0;
};

// A shaded band across the whole height of the chart between two abscissas (`to` may be
// infinite: to the right edge), with a one-sentence explanation for its tooltip.
struct Band {
    double from = 0.0;
    double to = 0.0;
    QString name;     // legend entry
    QString tooltip;  // why the band is shaded
};

// Guide lines drawn behind the curves.
enum class Overlay {
    None,
    // Pseudo-velocity (cm/sec) against period (s) or frequency (Hz) on log-log axes, with
    // diagonal lines of constant spectral displacement (cm) and of constant pseudo-
    // acceleration (g), labelled along the edges: the four-way paper of Newmark & Hall.
    TripartitePeriod,
    TripartiteFrequency,
    // Pseudo-acceleration (g) against spectral displacement (cm), with the straight lines
    // of constant period through the origin (Mahaney et al., 1993).
    AdrsPeriods,
};

struct ChartFigure {
    QString title;
    QString xTitle;
    QString yTitle;
    AxisScale xScale = AxisScale::Linear;
    AxisScale yScale = AxisScale::Linear;
    std::vector<Curve> curves;
    std::vector<Band> bands;
    Overlay overlay = Overlay::None;
    double g = 980.0;  // cm/sec^2, for the overlays' pseudo-acceleration
    // Axis ranges to show (after a zoom); nothing: fitted to the curves.
    std::optional<QRectF> view;
    bool legend = true;
    bool whiteBackground = true;
    // Linear axes reach a little beyond the extreme points, so that round marks sitting on
    // them are drawn whole (a record's marks of its first sample, maximum and minimum).
    bool markRoom = false;
};

// The points a log axis cannot show (zero or negative values on it) are left out; the
// curve's legend entry then says how many, e.g. "Damp. 5% (1 point <= 0 left out)".
struct PreparedCurve {
    Curve curve;
    int leftOut = 0;
};
PreparedCurve PrepareForAxes(const Curve& curve, AxisScale xScale, AxisScale yScale);

// The axis ranges that show every curve: log axes widened to whole decades, linear ones to
// round numbers; a linear axis starts at 0 when every value is non-negative.
QRectF FittedRange(const ChartFigure& figure);

// The least logical size (1/96 in) a chart is laid out at: room for its title, legend,
// whole axis titles and at least three numbered ticks on each axis. A smaller picture is
// laid out at this size and drawn smaller.
inline constexpr double kSmallestChartWidth = 380.0;
inline constexpr int kSmallestChartHeight = 190;
// Below this logical height a chart is laid out compactly: smaller texts, and its legend
// beside the plot where that leaves the plot most of the width.
inline constexpr double kCompactBelowHeight = 300.0;

// Builds a new chart (owned by the caller) from the figure, laid out for `logicalSize`.
// The overlay's labels follow the plot area whenever the chart is laid out again.
QChart* BuildChart(const ChartFigure& figure,
                   const QSizeF& logicalSize = QSizeF(kSmallestChartWidth, kCompactBelowHeight));

// Sets the chart's text sizes and legend place for the logical size it is drawn at.
void FitChartToSize(QChart* chart, const QSizeF& logicalSize);

// The tooltip of the band under an abscissa, or an empty text.
QString BandTooltipAt(const ChartFigure& figure, double x);

// Number text of a log-axis label or a guide-line label: 0.01, 0.1, 1, 10, 100, 1000 (no
// "0.0" for decades below 1, no exponent between 1e-4 and 1e6).
QString GuideNumber(double value);

}  // namespace travik::figures
