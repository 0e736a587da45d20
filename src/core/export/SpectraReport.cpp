#include "export/SpectraReport.h"

#include <array>
#include <cstddef>

#include "analysis/OscillatorIntegrators.h"
#include "analysis/SpectrumStore.h"
#include "text/NumberFormat.h"

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

void BuildSpectraReport(ReportLines& lines, const TimeHistory& record,
                        const AnalysisSettings& settings, const std::vector<double>& dampingRatios,
                        const std::vector<double>& periods, std::string_view edition,
                        const ReportDate& date,
                        const std::function<void(const std::string&)>& showCalculationError) {
    lines.clear();
    AppendReportHeader(lines, record, edition, date);
    lines.push_back(ColumnLine(dampingRatios));
    if (periods.empty()) {
        return;
    }

    const std::size_t dampingCount = dampingRatios.size();
    const std::size_t periodCount = periods.size();
    std::vector<OscillatorRun> runs;
    runs.reserve(dampingCount * (periodCount - 1));
    for (std::size_t k = 1; k < periodCount; ++k) {
        for (const double zeta : dampingRatios) {
            runs.push_back({zeta, periods[k]});
        }
    }
    ComputeOscillatorPeaksBatch(settings, record, settings.g, settings.maxDtOverT,
                                record.IsCorrected(), settings.method, runs);

    // Row 0 is the period 0: no relative motion; the acceleration groups hold the raw
    // record's peak even when the spectra come from the corrected series.
    const double pga = record.PeakAcceleration();
    std::array<std::string, kSpectrumKindCount> sections;
    AppendValue(sections[0], 0.0);
    for (std::size_t d = 0; d < dampingCount; ++d) {
        AppendValue(sections[0], 0.0);
        AppendValue(sections[1], 0.0);
        AppendValue(sections[2], pga);
        AppendValue(sections[3], 0.0);
        AppendValue(sections[4], pga);
    }
    lines.push_back(sections[0] + sections[1] + sections[2] + sections[3] + sections[4]);

    for (std::size_t k = 1; k < periodCount; ++k) {
        const double period = periods[k];
        const double omega = kTwoPi / period;
        for (std::string& section : sections) {
            section.clear();
        }
        AppendValue(sections[0], period);
        for (std::size_t d = 0; d < dampingCount; ++d) {
            const OscillatorRun& run = runs[(k - 1) * dampingCount + d];
            if (!run.computed) {
                // The rest of this period's row is left out; the export goes on.
                if (showCalculationError) {
                    showCalculationError(ExportCalculationErrorMessage(run.dampingRatio, period));
                }
                break;
            }
            AppendValue(sections[0], run.sd);
            AppendValue(sections[1], run.sv);
            AppendValue(sections[2], run.sa);
            AppendValue(sections[3], omega * run.sd);
            AppendValue(sections[4], omega * omega * run.sd / settings.g);
        }
        lines.push_back(sections[0] + sections[1] + sections[2] + sections[3] + sections[4]);
    }
}

}  // namespace travik
