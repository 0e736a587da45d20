#include "RecordsCommand.h"

#include "ReportWriting.h"
#include "core/export/ReportHeader.h"
#include "core/export/TimeHistoryReport.h"

namespace travik::cli {

RecordsCommand::RecordsCommand(CLI::App& app)
    : command_(app.add_subcommand(
          "records",
          "Write the time-history report <name>_TH.csv of every record: sample times, raw and "
          "corrected acceleration (g), velocity (cm/sec) and displacement (cm)")) {
    AddImportOptions(*command_, import_);
}

int RecordsCommand::Run(std::ostream& out, std::ostream& err) const {
    ImportOutcome outcome = ImportRecords(import_, err);
    if (outcome.exitCode != kExitOk) {
        return outcome.exitCode;
    }

    return WriteRecordReports(
        outcome, import_, kTimeHistoryReportSuffix,
        [](const ReportLineSink& sink, const TimeHistory& record) {
            WriteTimeHistoryReport(sink, record, kSoftwareEdition, TodayLocalDate());
            return true;
        },
        out, err);
}

}  // namespace travik::cli
