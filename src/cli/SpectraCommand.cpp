#include "SpectraCommand.h"

#include <filesystem>
#include <optional>
#include <vector>

#include "AnalysisOptions.h"
#include "ReportWriting.h"
#include "analysis/AnalysisSettings.h"
#include "analysis/DampingValues.h"
#include "analysis/SpectrumStore.h"
#include "export/ReportHeader.h"
#include "export/SpectraReport.h"
#include "export/SuiteStatisticsReport.h"
#include "text/NumberParse.h"

namespace travik::cli {

SpectraCommand::SpectraCommand(CLI::App& app)
    : command_(app.add_subcommand(
          "spectra",
          "Write the response-spectra report <name>_RS.csv of every record: Sd (cm), Sv "
          "(cm/sec), Sa (g), PSv (cm/sec) and PSa (g) per damping value and period")) {
    AddImportOptions(*command_, import_);
    AddAnalysisOptions(*command_, analysis_);
    command_->add_flag("--accuracy-columns", accuracyColumns_,
                       "Write the sub-step count n and dt/T after the period column");
}

int SpectraCommand::Run(std::ostream& out, std::ostream& err) const {
    SpectraAnalysis analysis;
    if (const std::optional<std::string> rejection =
            ReadAnalysis(analysis_, import_.gravity, analysis)) {
        err << *rejection << '\n';
        return kExitBadOption;
    }

    ImportOutcome outcome = ImportRecords(import_, err);
    if (outcome.exitCode != kExitOk) {
        return outcome.exitCode;
    }

    const auto showCalculationError = [&err](const std::string& message) {
        err << message << '\n';
    };
    return WriteRecordReports(
        outcome, import_, kSpectraReportSuffix,
        [&](ReportLines& lines, const TimeHistory& record) {
            const SpectraResult result =
                ComputeSpectra(record, analysis.settings, analysis.dampingRatios, analysis.periods);
            BuildSpectraReport(lines, record, result, kSoftwareEdition, TodayLocalDate(),
                               showCalculationError);
            if (accuracyColumns_) {
                InsertAccuracyColumns(lines, result.accuracy);
            }
        },
        out, err);
}

}  // namespace travik::cli
