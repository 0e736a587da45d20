#include "core/export/MeasuresReport.h"

#include <cstddef>

#include "core/text/NumberFormat.h"

namespace travik {
namespace {

// Reports are files for other programs: always a full stop, whatever the user's locale.
constexpr char kReportDecimalPoint = '.';

std::string Value(double value) {
    return FormatGeneral(value, kReportDecimalPoint);
}

}  // namespace

std::string FormatMeasure(const Measure& measure, char decimalSeparator) {
    return measure.Available() ? FormatGeneral(measure.value, decimalSeparator) : kNotAvailableCell;
}

void BuildMeasuresReport(ReportLines& lines, const TimeHistory& record,
                         const GroundMotionMeasures& measures, std::string_view edition,
                         const ReportDate& date) {
    lines.clear();
    AppendReportHeader(lines, record, edition, date);
    const MeasureSettings& s = measures.settings;
    lines.push_back(std::string("Measured Series: ") +
                    (measures.usedCorrected ? "Corrected" : "Raw"));
    lines.push_back("Gravitational Acceleration[cm/sec^2]: " + Value(s.g));
    lines.push_back("Bracketed Duration Threshold[g]: " + Value(s.bracketThreshold));
    lines.push_back(
        "Spectrum Intensities: piecewise exact, damping 5%, periods 0.02-4 s every "
        "0.01 s, max dt/T " +
        Value(s.maxDtOverT));
    lines.emplace_back("Name,Value,Unit,Note");
    for (const MeasureRow& row : MeasureRows(measures)) {
        std::string line = row.name;
        line += ',';
        line += FormatMeasure(*row.measure, kReportDecimalPoint);
        line += ',';
        line += row.unit;
        if (!row.measure->Available()) {
            line += ',';
            // A comma in the reason would start a new field.
            for (const char c : row.measure->unavailable) {
                line += c == ',' ? ';' : c;
            }
        }
        lines.push_back(std::move(line));
    }
}

void BuildFourierReport(ReportLines& lines, const TimeHistory& record,
                        const GroundMotionMeasures& measures, std::string_view edition,
                        const ReportDate& date) {
    lines.clear();
    AppendReportHeader(lines, record, edition, date);
    const FourierSpectrum& fs = measures.fourier;
    lines.push_back("Fourier Transform: " + FormatInteger(fs.sampleCount) +
                    " samples zero-padded to " + FormatInteger(fs.fftLength) +
                    "; amplitude = dt * |FFT|");
    lines.push_back(fs.smoothed.empty() ? std::string("Smoothing: none")
                                        : "Smoothing: Konno-Ohmachi b = " + Value(fs.bandwidth));
    lines.emplace_back("Frequency[Hz],Fourier Amplitude[cm/sec],Smoothed Amplitude[cm/sec]");
    lines.reserve(lines.size() + fs.frequencies.size());
    for (std::size_t k = 0; k < fs.frequencies.size(); ++k) {
        std::string line = Value(fs.frequencies[k]);
        line += ',';
        line += Value(fs.amplitudes[k]);
        line += ',';
        line += k < fs.smoothed.size() ? Value(fs.smoothed[k]) : kNotAvailableCell;
        lines.push_back(std::move(line));
    }
}

std::string MeasuresSummaryLine(const GroundMotionMeasures& measures) {
    return measures.sourceFileName + " PGA=" + FormatMeasure(measures.pga) +
           " g PGV=" + FormatMeasure(measures.pgv) + " cm/s D5-95=" + FormatMeasure(measures.d595) +
           " s";
}

}  // namespace travik
