#include "ReportWriting.h"

#include <filesystem>

namespace travik::cli {

int WriteRecordReports(const ImportOutcome& outcome, const ImportOptions& options,
                       std::string_view suffix,
                       const std::function<void(ReportLines&, const TimeHistory&)>& buildReport,
                       std::ostream& out, std::ostream& err) {
    const std::filesystem::path folder(options.outputFolder);
    ReportPathPlanner planner;
    ReportLines lines;
    for (int i = 0; i < outcome.records.Count(); ++i) {
        const TimeHistory& record = outcome.records.At(i);
        buildReport(lines, record);
        const std::filesystem::path path = planner.Next(folder, record.SourceFileName(), suffix);
        try {
            WriteReport(path, lines);
        } catch (const ReportWriteError& error) {
            err << error.what() << '\n';
            return kExitFailure;
        }
        out << path.string() << '\n';
    }
    return outcome.readerFailed || outcome.correctionFailed ? kExitFailure : kExitOk;
}

}  // namespace travik::cli
