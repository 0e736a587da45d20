#pragma once

#include <QColor>
#include <QPoint>
#include <QPointF>
#include <QString>
#include <optional>

#include "analysis/SpectraComputation.h"
#include "app/ChartAdapter.h"

// The spectrum chart of the spectra page: nine line series, one per damping ratio of the
// last analysis, against the abscissa and ordinate the user picks.

// Item indexes of the X-axis list.
enum class AbscissaChoice { Period = 0, Frequency = 1, Displacement = 2 };
inline constexpr int kAbscissaChoiceCount = 3;
// Item indexes of the Y-axis list, in the order of the spectrum kinds.
enum class OrdinateChoice {
    Displacement = 0,
    Velocity = 1,
    Acceleration = 2,
    PseudoVelocity = 3,
    PseudoAcceleration = 4
};
inline constexpr int kOrdinateChoiceCount = 5;

inline constexpr int kSpectrumSeriesCount = 9;

// Colour of series 0 to 8; an invalid colour for any other index.
QColor SpectrumSeriesColor(int series);

// Axis titles of the choices ("Period [sec]", "Response Displacement [cm]", ...); empty for
// an index that is no choice.
QString AbscissaTitle(int abscissa);
QString OrdinateTitle(int ordinate);

// Legend title of a damping ratio (fraction): 0.05 gives "Damp. 5%".
QString SpectrumSeriesTitle(double dampingRatio, char decimalSeparator);

// Creates the nine series (line width 2, their colours) after any the chart already has.
void CreateSpectrumSeries(ChartAdapter& chart);

// Removes every point of every series and hides them all.
void ClearSpectrumChart(ChartAdapter& chart);

// Draws the result's spectra: series u gets damping ratio u, its X values from the abscissa
// choice (periods, frequencies without the entry of period 0, or spectral displacement) and
// its Y values from the ordinate choice, in period order, and becomes visible. A damping
// ratio whose runs did not all succeed is not drawn. Does not clear the chart first.
void PlotSpectra(ChartAdapter& chart, const travik::SpectraResult& result, int abscissa,
                 int ordinate, char decimalSeparator);

// The readout of a position in axis units, "X : 1.5      Y : 0.25", or nothing when it lies
// outside the given axis ranges (both bounds belong to the range).
std::optional<QString> ReadoutText(QPointF value, double bottomMin, double bottomMax,
                                   double leftMin, double leftMax, char decimalSeparator);

// The readout under the pointer, "X : 1.5      Y : 0.25", or nothing when the pointer lies
// outside either axis range (both bounds belong to the range).
std::optional<QString> SpectrumReadout(const ChartAdapter& chart, const QPoint& viewPixel,
                                       char decimalSeparator);
