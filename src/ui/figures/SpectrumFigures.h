#pragma once

#include <QColor>
#include <QString>
#include <array>
#include <vector>

#include "core/analysis/SpectraComputation.h"
#include "core/spectra/DesignSpectra.h"
#include "core/spectra/SpectrumAccuracy.h"
#include "core/spectra/SuiteSpectra.h"
#include "ui/figures/ChartFigure.h"

namespace travik::figures {

// Colours that read well on white paper, one per curve in turn.
QColor PrintColor(int index);

// One spectrum as the figures need it: every kind at the same periods (entry 0 may be the
// period 0), and how to draw it.
struct SpectrumCurve {
    QString name;
    std::vector<double> periods;                                // s
    std::array<std::vector<double>, kSpectrumKindCount> kinds;  // Sd cm, Sv/PSv cm/sec, Sa/PSa g
    QColor color = Qt::black;
    qreal width = 2.0;
    Qt::PenStyle style = Qt::SolidLine;
};

// What the spectrum chart shows: the X and Y choices of the spectra page (indexes of its
// lists: X Period, Frequency, Displacement; Y in SpectrumKind order) on linear or log
// axes, or one of the two fixed pairs.
enum class SpectrumPlot { Choice, Tripartite, Adrs };

struct SpectrumChartOptions {
    SpectrumPlot plot = SpectrumPlot::Choice;
    int abscissa = 0;  // 0 period, 1 frequency, 2 displacement
    int ordinate = 4;  // SpectrumKind
    AxisScale xScale = AxisScale::Linear;
    AxisScale yScale = AxisScale::Linear;
    bool tripartiteAgainstFrequency = false;
    double g = 980.0;  // cm/sec^2
    QString title;
    std::vector<UntrustedBand> bands;  // in periods
};

// The curves of one damping ratio of an analysis ("Damp. 5%").
SpectrumCurve CurveOfResult(const SpectraResult& result, std::size_t damping,
                            char decimalSeparator);

// A code or file spectrum of Sa (g), with the other kinds derived as pseudo-spectra
// (Sd = Sa g / omega^2, Sv = PSv = Sa g / omega), drawn dashed.
SpectrumCurve CurveOfTarget(const TargetSpectrum& target, double g);

// Which statistics of a suite are drawn.
struct StatisticsChoice {
    bool mean = true;
    bool median = false;
    bool meanPlusMinusSigma = false;
    bool logMean = false;
    bool logMeanPlusMinusSigma = false;
};

// The records of a suite (thin lines), then the chosen statistics.
std::vector<SpectrumCurve> CurvesOfSuite(const SuiteSpectra& suite, const StatisticsChoice& show);

// The spectrum chart of the curves for the options. Log axes and the two fixed pairs leave
// out the period-0 row; the bands are shaded where the abscissa is a period or frequency.
ChartFigure SpectrumChart(const std::vector<SpectrumCurve>& curves,
                          const SpectrumChartOptions& options);

}  // namespace travik::figures
