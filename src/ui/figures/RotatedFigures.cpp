#include "ui/figures/RotatedFigures.h"

#include <cmath>
#include <functional>

#include "core/analysis/OscillatorIntegrators.h"
#include "core/text/NumberFormat.h"

namespace travik::figures {
namespace {

using PointValue = std::function<double(const RotatedPeaks&, double gmrotI50)>;

double PercentileAt(const RotatedPeaks& peaks, const std::vector<double>& percentiles, double p) {
    for (std::size_t i = 0; i < percentiles.size() && i < peaks.percentiles.size(); ++i) {
        if (percentiles[i] == p) {
            return peaks.percentiles[i];
        }
    }
    return PercentileOf({peaks.peaks.begin(), peaks.peaks.end()}, p);
}

SpectrumCurve RotatedCurve(const RotatedSpectraResult& result, std::size_t damping, double g,
                           const QString& name, const PointValue& value) {
    const RotatedDampingSpectra& spectra = result.damping[damping];
    SpectrumCurve curve;
    curve.name = name;
    const auto add = [&](double period, double psa) {
        const double omega = period > 0 ? kTwoPi / period : NAN;
        const double sd = period > 0 ? psa * g / (omega * omega) : 0.0;
        const double psv = period > 0 ? psa * g / omega : 0.0;
        curve.periods.push_back(period);
        curve.kinds[0].push_back(sd);
        curve.kinds[1].push_back(psv);
        curve.kinds[2].push_back(psa);
        curve.kinds[3].push_back(psv);
        curve.kinds[4].push_back(psa);
    };
    add(0.0, value(result.pga, spectra.pgaGmrotI50));
    for (std::size_t k = 0; k < result.options.periods.size(); ++k) {
        // An oscillator that could not be computed leaves a gap rather than a false zero.
        if (spectra.points[k].computed) {
            add(result.options.periods[k], value(spectra.points[k].psa, spectra.gmrotI50[k]));
        }
    }
    return curve;
}

}  // namespace

std::vector<SpectrumCurve> RotatedSpectraCurves(const RotatedSpectraResult& result,
                                                std::size_t damping, double g) {
    const std::vector<double>& p = result.options.percentiles;
    const QString percent =
        QString::fromStdString(FormatNumber(result.damping[damping].dampingRatio * 100, "0.###"));
    const auto label = [&](const char* what) {
        return QStringLiteral("%1 (%2%)").arg(QLatin1String(what), percent);
    };
    std::vector<SpectrumCurve> curves;
    curves.push_back(RotatedCurve(
        result, damping, g, label("RotD50"),
        [&p](const RotatedPeaks& peaks, double) { return PercentileAt(peaks, p, 50.0); }));
    curves.push_back(RotatedCurve(
        result, damping, g, label("RotD100"),
        [&p](const RotatedPeaks& peaks, double) { return PercentileAt(peaks, p, 100.0); }));
    curves.push_back(RotatedCurve(result, damping, g, label("GMRotI50"),
                                  [](const RotatedPeaks&, double gmrotI50) { return gmrotI50; }));
    curves.push_back(RotatedCurve(result, damping, g, label("H1"),
                                  [](const RotatedPeaks& peaks, double) { return peaks.h1; }));
    curves.push_back(RotatedCurve(result, damping, g, label("H2"),
                                  [](const RotatedPeaks& peaks, double) { return peaks.h2; }));
    // The orientation-independent spectra strong, the two recorded components thin and
    // drawn over them: H1 often follows RotD100 closely and would be hidden beneath it.
    const QColor colors[] = {QColor(200, 30, 30), QColor(40, 40, 40), QColor(30, 90, 200),
                             QColor(230, 140, 30), QColor(70, 160, 70)};
    const Qt::PenStyle styles[] = {Qt::SolidLine, Qt::SolidLine, Qt::DashDotLine, Qt::SolidLine,
                                   Qt::SolidLine};
    for (std::size_t c = 0; c < curves.size(); ++c) {
        curves[c].color = colors[c];
        curves[c].width = c < 3 ? 2.2 : 1.2;
        curves[c].style = styles[c];
    }
    return curves;
}

}  // namespace travik::figures
