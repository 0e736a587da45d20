#include "ui/figures/MeasureFigures.h"

#include <QFileInfo>
#include <QString>

namespace travik::figures {
namespace {

const QColor kHusidColor(0, 0, 160);
const QColor kMarkColor(255, 0, 0);
const QColor kRawSpectrumColor(255, 128, 255);
const QColor kSmoothedSpectrumColor(128, 128, 128);
const QColor kGainColor(0, 0, 200);

QString RecordName(const GroundMotionMeasures& measures) {
    return QFileInfo(QString::fromStdString(measures.sourceFileName)).fileName();
}

}  // namespace

ChartFigure HusidFigure(const GroundMotionMeasures& m) {
    ChartFigure f;
    f.title = RecordName(m) + QStringLiteral(" — Husid");
    f.xTitle = QStringLiteral("Time [sec]");
    f.yTitle = QStringLiteral("Husid [%]");
    f.legend = false;
    Curve husid;
    husid.color = kHusidColor;
    husid.width = 1.5;
    husid.points.reserve(static_cast<qsizetype>(m.husid.size()));
    for (std::size_t i = 0; i < m.husid.size(); ++i) {
        husid.points.append(QPointF(static_cast<double>(i) * m.timeStep, 100.0 * m.husid[i]));
    }
    Curve marks;
    marks.color = kMarkColor;
    marks.markerSize = 8.0;
    const std::pair<const Measure*, double> crossings[] = {
        {&m.d595Start, 5.0}, {&m.d575End, 75.0}, {&m.d595End, 95.0}};
    for (const auto& [time, level] : crossings) {
        if (time->Available()) {
            marks.points.append(QPointF(time->value, level));
        }
    }
    f.curves.push_back(std::move(husid));
    f.curves.push_back(std::move(marks));
    return f;
}

ChartFigure FourierFigure(const GroundMotionMeasures& m) {
    ChartFigure f;
    f.title = RecordName(m) + QStringLiteral(" — Fourier amplitude");
    f.xTitle = QStringLiteral("Frequency [Hz]");
    f.yTitle = QStringLiteral("Fourier Amplitude [cm/sec]");
    f.xScale = AxisScale::Log;
    f.yScale = AxisScale::Log;
    const FourierSpectrum& fs = m.fourier;
    Curve raw;
    raw.name = QStringLiteral("Fourier amplitude");
    raw.color = kRawSpectrumColor;
    raw.width = 1.0;
    Curve smoothed;
    smoothed.name = QStringLiteral("Konno-Ohmachi, b = 40");
    smoothed.color = kSmoothedSpectrumColor;
    smoothed.width = 1.5;
    raw.points.reserve(static_cast<qsizetype>(fs.frequencies.size()));
    for (std::size_t k = 0; k < fs.frequencies.size(); ++k) {
        raw.points.append(QPointF(fs.frequencies[k], fs.amplitudes[k]));
        if (k < fs.smoothed.size()) {
            smoothed.points.append(QPointF(fs.frequencies[k], fs.smoothed[k]));
        }
    }
    f.curves.push_back(std::move(raw));
    f.curves.push_back(std::move(smoothed));
    return f;
}

ChartFigure FilterGainFigure(const QList<QPointF>& gain) {
    ChartFigure f;
    f.title = QStringLiteral("Filter response");
    f.xTitle = QStringLiteral("Frequency [Hz]");
    f.yTitle = QStringLiteral("Gain");
    f.xScale = AxisScale::Log;
    f.legend = false;
    Curve curve;
    curve.name = QStringLiteral("Gain");
    curve.color = kGainColor;
    curve.width = 1.5;
    curve.points = gain;
    f.curves.push_back(std::move(curve));
    return f;
}

}  // namespace travik::figures
