#include "RecordsCommand.h"

#include <filesystem>

#include "export/ReportHeader.h"
#include "export/TimeHistoryReport.h"

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

    const std::filesystem::path folder(import_.outputFolder);
    ReportPathPlanner planner;
    ReportLines lines;
    for (int i = 0; i < outcome.records.Count(); ++i) {
        const TimeHistory& record = outcome.records.At(i);
        BuildTimeHistoryReport(lines, record, kSoftwareEdition, TodayLocalDate());
        const std::filesystem::path path =
            planner.Next(folder, record.SourceFileName(), kTimeHistoryReportSuffix);
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
