#include "core/export/RotDReport.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <optional>

#include "core/rotation/ComponentOrientation.h"
#include "core/text/NumberFormat.h"
#include "core/text/ShownText.h"

namespace travik {
namespace {

// Reports are files for other programs: always a full stop, whatever the user's locale.
constexpr char kReportDecimalPoint = '.';

// Seven significant digits keep a long period's small value (0.0020103 g at 20 s) whole.
constexpr int kSignificantDigits = 7;

constexpr const char* kNotComputed = "--";

std::string Significant(double value, char decimalPoint) {
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                            std::chars_format::general, kSignificantDigits);
    if (error != std::errc()) {
        return kNotComputed;
    }
    std::string text(buffer, end);
    std::replace(text.begin(), text.end(), '.', decimalPoint);
    return text;
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return quoted + '"';
}

std::string PercentileName(double p) {
    return std::string("RotD") + (p < 10.0 && p == std::floor(p) ? "0" : "") +
           FormatGeneral(p, kReportDecimalPoint);
}

bool IsFixedPercentile(double p) {
    return p == 0.0 || p == 50.0 || p == 100.0;
}

std::size_t IndexOf(const std::vector<double>& percentiles, double p) {
    return static_cast<std::size_t>(std::find(percentiles.begin(), percentiles.end(), p) -
                                    percentiles.begin());
}

double At(const RotatedPeaks& peaks, const std::vector<double>& percentiles, double p) {
    const std::size_t index = IndexOf(percentiles, p);
    return index < peaks.percentiles.size() ? peaks.percentiles[index] : 0.0;
}

std::string ComponentText(const char* role, const TimeHistory& record,
                          const std::optional<double>& azimuth) {
    std::string text = std::string(role) + " = " + ShownText(record.SourceFileName());
    if (azimuth) {
        text += " (azimuth " + FormatGeneral(*azimuth, kReportDecimalPoint) + " deg)";
    }
    return text;
}

// The cells of one damping value's group in a row: the peaks of the rotated quantity and
// its GMRotI50.
void AppendGroup(std::vector<std::string>& row, const ComponentPair& pair,
                 const RotatedPeaks& peaks, const std::vector<double>& percentiles, double gmrotI50,
                 char decimalPoint) {
    for (const double p : {0.0, 50.0, 100.0}) {
        row.push_back(Significant(At(peaks, percentiles, p), decimalPoint));
    }
    row.push_back(std::to_string(peaks.maxAngle));
    if (pair.AzimuthsKnown()) {
        row.push_back(FormatGeneral(RotatedAzimuth(*pair.azimuth1, *pair.azimuth2, peaks.maxAngle),
                                    decimalPoint));
    }
    row.push_back(Significant(gmrotI50, decimalPoint));
    row.push_back(Significant(peaks.h1, decimalPoint));
    row.push_back(Significant(peaks.h2, decimalPoint));
    for (const double p : percentiles) {
        if (!IsFixedPercentile(p)) {
            row.push_back(Significant(At(peaks, percentiles, p), decimalPoint));
        }
    }
}

void AppendMissingGroup(std::vector<std::string>& row, std::size_t columns) {
    row.insert(row.end(), columns, kNotComputed);
}

std::string Joined(const std::vector<std::string>& cells) {
    std::string line;
    for (std::size_t c = 0; c < cells.size(); ++c) {
        line += (c == 0 ? "" : ",") + cells[c];
    }
    return line;
}

std::string VelocityLine(const RotatedSpectraResult& result) {
    std::string line;
    for (const double p : {0.0, 50.0, 100.0}) {
        line += (p == 0.0 ? "PGV " : ",PGV ") + PercentileName(p) + " [cm/sec],";
        line += result.pgv ? Significant(At(*result.pgv, result.options.percentiles, p),
                                         kReportDecimalPoint)
                           : std::string(kNotComputed);
    }
    return line;
}

}  // namespace

std::vector<double> RotDReportPercentiles(const std::vector<double>& asked) {
    std::vector<double> percentiles = asked;
    percentiles.insert(percentiles.end(), {0.0, 50.0, 100.0});
    std::sort(percentiles.begin(), percentiles.end());
    percentiles.erase(std::unique(percentiles.begin(), percentiles.end()), percentiles.end());
    return percentiles;
}

std::vector<std::string> RotDColumnTitles(const RotatedSpectraResult& result, bool withAzimuth) {
    std::vector<std::string> titles{"Period [sec]"};
    for (const RotatedDampingSpectra& spectra : result.damping) {
        const std::string d =
            " (" + FormatNumber(spectra.dampingRatio * 100, "0.###", kReportDecimalPoint) + "%)";
        titles.push_back("RotD00 [g]" + d);
        titles.push_back("RotD50 [g]" + d);
        titles.push_back("RotD100 [g]" + d);
        titles.push_back("RotD100 angle [deg]" + d);
        if (withAzimuth) {
            titles.push_back("RotD100 azimuth [deg]" + d);
        }
        titles.push_back("GMRotI50 [g]" + d);
        titles.push_back("H1 PSa [g]" + d);
        titles.push_back("H2 PSa [g]" + d);
        for (const double p : result.options.percentiles) {
            if (!IsFixedPercentile(p)) {
                titles.push_back(PercentileName(p) + " [g]" + d);
            }
        }
    }
    return titles;
}

RotDTable BuildRotDTable(const ComponentPair& pair, const RotatedSpectraResult& result,
                         char decimalPoint) {
    RotDTable table;
    table.titles = RotDColumnTitles(result, pair.AzimuthsKnown());
    const std::vector<double>& percentiles = result.options.percentiles;
    std::vector<std::string> row{"0"};
    for (const RotatedDampingSpectra& spectra : result.damping) {
        AppendGroup(row, pair, result.pga, percentiles, spectra.pgaGmrotI50, decimalPoint);
    }
    table.rows.push_back(std::move(row));
    const std::size_t groupColumns =
        (table.titles.size() - 1) / std::max<std::size_t>(1, result.damping.size());
    for (std::size_t k = 0; k < result.options.periods.size(); ++k) {
        row = {FormatGeneral(result.options.periods[k], decimalPoint)};
        for (const RotatedDampingSpectra& spectra : result.damping) {
            const RotatedSpectrumPoint& point = spectra.points[k];
            if (point.computed) {
                AppendGroup(row, pair, point.psa, percentiles, spectra.gmrotI50[k], decimalPoint);
            } else {
                AppendMissingGroup(row, groupColumns);
            }
        }
        table.rows.push_back(std::move(row));
    }
    return table;
}

void WriteRotDReport(const ReportLineSink& sink, const ComponentPair& pair,
                     const RotatedSpectraResult& result, std::string_view edition,
                     const ReportDate& date) {
    WriteReportHeader(sink, *pair.h1, edition, date);
    sink(CsvField("Components: " + ComponentText("H1", *pair.h1, pair.azimuth1) + "; " +
                  ComponentText("H2", *pair.h2, pair.azimuth2)));
    sink(VelocityLine(result));
    const RotDTable table = BuildRotDTable(pair, result, kReportDecimalPoint);
    sink(Joined(table.titles));
    for (const std::vector<std::string>& row : table.rows) {
        sink(Joined(row));
    }
}

void BuildRotDReport(ReportLines& lines, const ComponentPair& pair,
                     const RotatedSpectraResult& result, std::string_view edition,
                     const ReportDate& date) {
    lines.clear();
    WriteRotDReport([&lines](std::string_view line) { lines.emplace_back(line); }, pair, result,
                    edition, date);
}

}  // namespace travik
