#include "core/export/TimeHistoryReport.h"

#include <cstddef>
#include <string>

#include "core/text/NumberFormat.h"

namespace travik {
namespace {

constexpr const char* kColumnLine =
    "No.,Time[sec],Acceleration[g],Corrected Acc.[g],Velocity[cm/sec],Corrected "
    "Vel.[cm/sec],Displacement[cm],Corrected Disp.[cm]";
constexpr const char* kNotCorrected = "--";
constexpr const char* kSamplePattern = "0.00000000";
constexpr const char* kTimePattern = "0.00000";
// The report is comma-separated, so a decimal comma would split every number in two.
constexpr char kReportDecimalPoint = '.';

// A sample of a series, or the placeholder where the series holds none.
void AppendCell(std::string& line, const DOUBLEVECTOR& series, std::size_t index) {
    line.push_back(',');
    if (index < series.size()) {
        line += FormatNumber(series[index], kSamplePattern, kReportDecimalPoint);
    } else {
        line += kNotCorrected;
    }
}

}  // namespace

void BuildTimeHistoryReport(ReportLines& lines, const TimeHistory& record, std::string_view edition,
                            const ReportDate& date) {
    lines.clear();
    lines.reserve(8 + static_cast<std::size_t>(record.SampleCount()));
    WriteTimeHistoryReport([&lines](std::string_view line) { lines.emplace_back(line); }, record,
                           edition, date);
}

void WriteTimeHistoryReport(const ReportLineSink& sink, const TimeHistory& record,
                            std::string_view edition, const ReportDate& date) {
    WriteReportHeader(sink, record, edition, date);
    sink(kColumnLine);

    const std::size_t count = static_cast<std::size_t>(record.SampleCount());
    const DOUBLEVECTOR none;
    const bool corrected = record.IsCorrected();
    const DOUBLEVECTOR& correctedAcc = corrected ? record.CorrectedAcceleration() : none;
    const DOUBLEVECTOR& correctedVel = corrected ? record.CorrectedVelocity() : none;
    const DOUBLEVECTOR& correctedDisp = corrected ? record.CorrectedDisplacement() : none;
    const double dt = record.TimeStep();

    std::string line;
    for (std::size_t i = 0; i < count; ++i) {
        line = FormatInteger(static_cast<long long>(i) + 1);
        line.push_back(',');
        // Each time is its own product: adding dt row by row would drift in long records.
        line += FormatNumber(static_cast<double>(i) * dt, kTimePattern, kReportDecimalPoint);
        AppendCell(line, record.RawAcceleration(), i);
        AppendCell(line, correctedAcc, i);
        AppendCell(line, record.RawVelocity(), i);
        AppendCell(line, correctedVel, i);
        AppendCell(line, record.RawDisplacement(), i);
        AppendCell(line, correctedDisp, i);
        sink(line);
    }
}

}  // namespace travik
