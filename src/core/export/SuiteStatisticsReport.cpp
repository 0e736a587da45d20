#include "core/export/SuiteStatisticsReport.h"

#include <cmath>
#include <cstddef>

#include "core/text/NumberFormat.h"

namespace travik {
namespace {

// Reports are files for other programs: always a full stop, whatever the user's locale.
constexpr char kReportDecimalPoint = '.';
constexpr const char* kSourceLinePrefix = "Acceleration TimeHistory SourceFile: ";
constexpr const char* kPeriodColumn = "Period[sec],";

// Column-group prefixes in SpectrumKind order, as in the spectra report.
constexpr std::array<const char*, kSpectrumKindCount> kColumnPrefixes = {
    "Disp.Damp.=", "Vel.Damp.=", "Acc.Damp.=", "Pseudo-Vel.Damp.=", "Pseudo-Acc.Damp.="};

constexpr std::array<const char*, 9> kStatisticNames = {
    "Mean",    "Median",   "StdDev",           "Mean+StdDev",     "Mean-StdDev",
    "LogMean", "StdDevLn", "LogMean+StdDevLn", "LogMean-StdDevLn"};

void AppendValue(std::string& line, double value) {
    if (std::isfinite(value)) {
        line += FormatNumber(value, "0.000000", kReportDecimalPoint);
    }
    line += ',';
}

double ValueAt(const std::vector<double>& column, std::size_t k) {
    return k < column.size() ? column[k] : NAN;
}

}  // namespace

void BuildSuiteStatisticsReport(ReportLines& lines, const TimeHistory& firstRecord,
                                const SuiteSpectraStatistics& statistics, std::string_view edition,
                                const ReportDate& date) {
    lines.clear();
    AppendReportHeader(lines, firstRecord, edition, date);
    std::string names;
    for (const std::string& name : statistics.recordNames) {
        names += names.empty() ? name : "; " + name;
    }
    for (std::string& line : lines) {
        if (line.rfind(kSourceLinePrefix, 0) == 0 && !names.empty()) {
            line = kSourceLinePrefix + names;
        }
    }

    const std::string damping =
        FormatNumber(statistics.dampingRatio * 100, "0.###", kReportDecimalPoint) + "% ";
    std::string columns = kPeriodColumn;
    for (const char* prefix : kColumnPrefixes) {
        for (const char* name : kStatisticNames) {
            columns += prefix + damping + name + ',';
        }
    }
    lines.push_back(columns);

    const std::vector<double>& periods = statistics.kinds[0].periods;
    for (std::size_t k = 0; k < periods.size(); ++k) {
        std::string row;
        AppendValue(row, periods[k]);
        for (const SuiteStatistics& s : statistics.kinds) {
            for (const std::vector<double>* column :
                 {&s.mean, &s.median, &s.sigma, &s.meanPlusSigma, &s.meanMinusSigma, &s.logMean,
                  &s.sigmaLn, &s.logMeanPlusSigma, &s.logMeanMinusSigma}) {
                AppendValue(row, ValueAt(*column, k));
            }
        }
        lines.push_back(row);
    }
}

void InsertAccuracyColumns(ReportLines& lines, const std::vector<PeriodAccuracy>& accuracy) {
    std::size_t columnLine = 0;
    while (columnLine < lines.size() && lines[columnLine].rfind(kPeriodColumn, 0) != 0) {
        ++columnLine;
    }
    if (columnLine == lines.size()) {
        return;
    }
    const auto insertAfterFirstField = [](std::string& line, const std::string& fields) {
        const std::size_t comma = line.find(',');
        line.insert(comma == std::string::npos ? line.size() : comma + 1, fields);
    };
    insertAfterFirstField(lines[columnLine], "n,dt/T,");
    for (std::size_t k = 0; k < accuracy.size() && columnLine + 1 + k < lines.size(); ++k) {
        const PeriodAccuracy& row = accuracy[k];
        std::string fields = ",,";
        if (row.period > 0) {
            fields = FormatInteger(row.subSteps) + ',' +
                     FormatNumber(row.dtOverT, "0.000000", kReportDecimalPoint) + ',';
        }
        insertAfterFirstField(lines[columnLine + 1 + k], fields);
    }
}

}  // namespace travik
