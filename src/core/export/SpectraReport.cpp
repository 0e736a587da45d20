#include "core/export/SpectraReport.h"

#include <array>
#include <cstddef>

#include "core/text/NumberFormat.h"

namespace travik {
namespace {

// Reports are files for other programs: always a full stop, whatever the user's locale.
constexpr char kReportDecimalPoint = '.';

void AppendValue(std::string& section, double value) {
    section += FormatNumber(value, "0.000000", kReportDecimalPoint);
    section += ',';
}

// Column-group prefixes in SpectrumKind order.
constexpr std::array<const char*, kSpectrumKindCount> kColumnPrefixes = {
    "Disp.Damp.=", "Vel.Damp.=", "Acc.Damp.=", "Pseudo-Vel.Damp.=", "Pseudo-Acc.Damp.="};

std::string ColumnLine(const std::vector<double>& dampingRatios) {
    std::string line = "Period[sec],";
    for (const char* prefix : kColumnPrefixes) {
        for (const double zeta : dampingRatios) {
            line += prefix;
            line += FormatNumber(zeta * 100, "0.###", kReportDecimalPoint);
            line += "%,";
        }
    }
    return line;
}

}  // namespace

std::string ExportCalculationErrorMessage(double dampingRatio, double period) {
    return "Error calculation : DampingRatio: " + FormatGeneral(dampingRatio) +
           "  Period :" + FormatGeneral(period);
}

void BuildSpectraReport(ReportLines& lines, const TimeHistory& record, const SpectraResult& result,
                        std::string_view edition, const ReportDate& date,
                        const std::function<void(const std::string&)>& showCalculationError) {
    lines.clear();
    WriteSpectraReport([&lines](std::string_view line) { lines.emplace_back(line); }, record,
                       result, edition, date, showCalculationError);
}

void WriteSpectraReport(const ReportLineSink& sink, const TimeHistory& record,
                        const SpectraResult& result, std::string_view edition,
                        const ReportDate& date,
                        const std::function<void(const std::string&)>& showCalculationError) {
    WriteReportHeader(sink, record, edition, date);
    sink(ColumnLine(result.dampingRatios));
    const std::size_t periodCount = result.periods.size();
    const std::size_t dampingCount = result.dampingRatios.size();

    std::array<std::string, kSpectrumKindCount> sections;
    for (std::size_t k = 0; k < periodCount; ++k) {
        for (std::string& section : sections) {
            section.clear();
        }
        AppendValue(sections[0], result.periods[k]);
        for (std::size_t d = 0; d < dampingCount; ++d) {
            if (!result.Computed(d, k)) {
                // The rest of this period's row is left out; the export goes on.
                if (showCalculationError) {
                    showCalculationError(
                        ExportCalculationErrorMessage(result.dampingRatios[d], result.periods[k]));
                }
                break;
            }
            AppendValue(sections[0], result.Columns(SpectrumKind::Displacement)[d][k]);
            AppendValue(sections[1], result.Columns(SpectrumKind::Velocity)[d][k]);
            AppendValue(sections[2], result.Columns(SpectrumKind::Acceleration)[d][k]);
            AppendValue(sections[3], result.Columns(SpectrumKind::PseudoVelocity)[d][k]);
            AppendValue(sections[4], result.Columns(SpectrumKind::PseudoAcceleration)[d][k]);
        }
        sink(sections[0] + sections[1] + sections[2] + sections[3] + sections[4]);
    }
}

void BuildSpectraReport(ReportLines& lines, const TimeHistory& record,
                        const AnalysisSettings& settings, const std::vector<double>& dampingRatios,
                        const std::vector<double>& periods, std::string_view edition,
                        const ReportDate& date,
                        const std::function<void(const std::string&)>& showCalculationError) {
    BuildSpectraReport(lines, record, ComputeSpectra(record, settings, dampingRatios, periods),
                       edition, date, showCalculationError);
}

}  // namespace travik
