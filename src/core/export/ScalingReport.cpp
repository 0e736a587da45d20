#include "core/export/ScalingReport.h"

#include <charconv>
#include <cmath>

#include "core/export/ReportFile.h"
#include "core/text/NumberFormat.h"
#include "core/text/ShownText.h"

namespace travik {
namespace {

constexpr const char* kSourceLinePrefix = "Acceleration TimeHistory SourceFile: ";

std::string CsvField(const std::string& text) {
    const std::string shown = ShownText(text);
    if (shown.find_first_of(",\"") == std::string::npos) {
        return shown;
    }
    std::string quoted = "\"";
    for (const char c : shown) {
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return quoted + '"';
}

}  // namespace

std::string FormatSevenDigits(double value) {
    if (!std::isfinite(value)) {
        return FormatNumber(value, "0");
    }
    char buffer[32];
    const std::to_chars_result done =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 7);
    return std::string(buffer, done.ptr);
}

void WriteScalingReport(const ReportLineSink& sink, const TimeHistory& firstRecord,
                        const SuiteScaling& scaling, std::string_view edition,
                        const ReportDate& date) {
    ReportLines header;
    AppendReportHeader(header, firstRecord, edition, date);
    std::string names;
    for (const SuiteMember& member : scaling.members) {
        names += (names.empty() ? "" : "; ") + member.name;
    }
    for (std::string& line : header) {
        if (line.starts_with(kSourceLinePrefix)) {
            line = kSourceLinePrefix + CsvField(names);
        }
        sink(line);
    }

    sink("Record,Individual factor,Suite factor,Total factor,ln MSE,Selected,Rank");
    for (std::size_t r = 0; r < scaling.members.size() && r < scaling.scaled.size(); ++r) {
        const ScaledMember& m = scaling.scaled[r];
        sink(CsvField(scaling.members[r].name) + ',' + FormatSevenDigits(m.individualFactor) + ',' +
             FormatSevenDigits(m.suiteFactor) + ',' + FormatSevenDigits(m.totalFactor) + ',' +
             FormatSevenDigits(m.mse) + ',' + (m.selected ? "yes" : "no") + ',' +
             FormatInteger(m.rank));
    }
    sink("");
    sink("Period [sec],Target [g],Suite mean [g],Mean / target,Smallest [g],Largest [g]");
    for (const ScalingRow& row : scaling.rows) {
        sink(FormatSevenDigits(row.period) + ',' + FormatSevenDigits(row.target) + ',' +
             FormatSevenDigits(row.mean) + ',' + FormatSevenDigits(row.mean / row.target) + ',' +
             FormatSevenDigits(row.smallest) + ',' + FormatSevenDigits(row.largest));
    }
}

std::filesystem::path WriteScalingReportFile(const std::filesystem::path& folder,
                                             const TimeHistory& firstRecord,
                                             const SuiteScaling& scaling, std::string_view edition,
                                             const ReportDate& date) {
    const std::filesystem::path path =
        folder / (ReportFileBase(firstRecord.SourceFileName()) + kScalingReportSuffix);
    ReportFile file(path);
    WriteScalingReport(file.Sink(), firstRecord, scaling, edition, date);
    file.Commit();
    return path;
}

}  // namespace travik
