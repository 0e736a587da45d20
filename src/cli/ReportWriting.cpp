#include "ReportWriting.h"

#include <filesystem>
#include <new>

#include "core/export/ReportHeader.h"
#include "core/text/ShownText.h"

namespace travik::cli {

int WriteRecordReports(const ImportOutcome& outcome, const ImportOptions& options,
                       std::string_view suffix, const RecordReportWriter& writeReport,
                       std::ostream& out, std::ostream& err) {
    const std::filesystem::path folder(options.outputFolder);
    ReportPathPlanner planner;
    bool skipped = false;
    for (int i = 0; i < outcome.records.Count(); ++i) {
        const TimeHistory& record = outcome.records.At(i);
        const std::filesystem::path path = planner.Next(folder, record.SourceFileName(), suffix);
        try {
            ReportFile file(path);
            if (!writeReport(file.Sink(), record)) {
                skipped = true;
                continue;  // the file abandons its temporary copy
            }
            file.Commit();
        } catch (const ReportWriteError& error) {
            err << error.what() << '\n';
            return kExitFailure;
        } catch (const std::bad_alloc&) {
            err << "Not enough memory to write file \"" << ShownText(path.string()) << "\"\n";
            return kExitFailure;
        }
        out << ShownText(path.string()) << '\n';
    }
    return outcome.readerFailed || outcome.correctionFailed || skipped ? kExitFailure : kExitOk;
}

}  // namespace travik::cli
