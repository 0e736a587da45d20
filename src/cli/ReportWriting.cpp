#include "ReportWriting.h"

#include <filesystem>
#include <new>

#include "text/ShownText.h"

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
        const std::filesystem::path path = planner.Next(folder, record.SourceFileName(), suffix);
        try {
            buildReport(lines, record);
            WriteReport(path, lines);
        } catch (const ReportWriteError& error) {
            err << error.what() << '\n';
            return kExitFailure;
        } catch (const std::bad_alloc&) {
            lines = ReportLines();
            err << "Not enough memory to write file \"" << ShownText(path.string()) << "\"\n";
            return kExitFailure;
        }
        out << path.string() << '\n';
    }
    return outcome.readerFailed || outcome.correctionFailed ? kExitFailure : kExitOk;
}

}  // namespace travik::cli
