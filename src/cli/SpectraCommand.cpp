#include "SpectraCommand.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <optional>
#include <thread>
#include <vector>

#include "AnalysisOptions.h"
#include "OrderedWork.h"
#include "analysis/AnalysisSettings.h"
#include "analysis/DampingValues.h"
#include "analysis/SpectraComputation.h"
#include "analysis/SpectrumStore.h"
#include "export/ReportHeader.h"
#include "export/SpectraReport.h"
#include "export/SuiteStatisticsReport.h"
#include "records/BaselineCorrection.h"
#include "records/RecordFileReader.h"
#include "text/NumberParse.h"

namespace travik::cli {
namespace {

// The report of one record, and the messages that come before it.
struct RecordReport {
    std::vector<std::string> messages;
    std::string sourceFileName;
    ReportLines lines;
};

// What one file gave, waiting for its turn to be written.
struct SpectraFile {
    std::vector<std::string> warnings;  // the reader's, first
    std::string failure;                // the file could not be read: the run stops here
    bool correctionFailed = false;      // some report is written from the raw record
    std::vector<RecordReport> reports;  // one per record of the file, in its order
};

int DefaultJobs() {
    return static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
}

}  // namespace

SpectraCommand::SpectraCommand(CLI::App& app)
    : command_(app.add_subcommand(
          "spectra",
          "Write the response-spectra report <name>_RS.csv of every record: Sd (cm), Sv "
          "(cm/sec), Sa (g), PSv (cm/sec) and PSa (g) per damping value and period")) {
    AddImportOptions(*command_, import_);
    AddAnalysisOptions(*command_, analysis_);
    command_->add_flag("--accuracy-columns", accuracyColumns_,
                       "Write the sub-step count n and dt/T after the period column");
    jobs_ = DefaultJobs();
    command_
        ->add_option("--jobs", jobs_,
                     "Threads to use, at most: records are read and computed this many at once "
                     "(default: one per core); the reports are the same for every count")
        ->capture_default_str()
        ->check(CLI::Range(1, 1024));
}

int SpectraCommand::Run(std::ostream& out, std::ostream& err) const {
    SpectraAnalysis analysis;
    if (const std::optional<std::string> rejection =
            ReadAnalysis(analysis_, import_.gravity, analysis)) {
        err << *rejection << '\n';
        return kExitBadOption;
    }

    const std::optional<ImportSetup> setup = ReadImportSetup(import_, err);
    if (!setup) {
        return kExitBadOption;
    }

    // Records are read, corrected and computed several at once, and their reports are
    // written in the order of the files, as one at a time would: the first file that
    // cannot be read ends the run after the reports of the files before it. Up to `jobs`
    // files are held at once; a single file gets every thread.
    const std::vector<std::string>& files = import_.files;
    const std::size_t concurrent =
        std::min(files.size(), static_cast<std::size_t>(std::max(1, jobs_)));
    BatchOptions batch;
    batch.threads = std::max(1, jobs_ / static_cast<int>(std::max<std::size_t>(1, concurrent)));
    const ReportDate date = TodayLocalDate();
    const auto process = [&](std::size_t index) {
        SpectraFile file;
        try {
            RecordFileResult read = ReadRecordFile(files[index], setup->read);
            file.warnings = std::move(read.warnings);
            if (!read.ok()) {
                file.failure = std::move(read.message);
                return file;
            }
            for (FormatRecord& made : read.records) {
                TimeHistory& record = *made.record;
                RecordReport& report = file.reports.emplace_back();
                report.sourceFileName = record.SourceFileName();
                // A record the fit is not defined for (one sample, all zeros) stays
                // uncorrected and is reported as such; the warning names it.
                if (setup->baseline != BaselineCorrectionType::None &&
                    !ApplyBaselineCorrection(record, setup->baseline, setup->gravity)) {
                    report.messages.push_back(CorrectionFailedWarning(record.SourceFileName()));
                    file.correctionFailed = true;
                }
                const SpectraResult result = ComputeSpectra(
                    record, analysis.settings, analysis.dampingRatios, analysis.periods, batch);
                BuildSpectraReport(
                    report.lines, record, result, kSoftwareEdition, date,
                    [&report](const std::string& message) { report.messages.push_back(message); });
                if (accuracyColumns_) {
                    InsertAccuracyColumns(report.lines, result.accuracy);
                }
                made.record.reset();  // only its report is kept until its turn
            }
        } catch (const std::exception& error) {
            // Out of memory on a huge record, for one: said in its turn, and the run stops.
            file.reports.clear();
            file.failure = error.what();
        }
        return file;
    };

    const std::filesystem::path folder(import_.outputFolder);
    ReportPathPlanner planner;
    int exitCode = kExitOk;
    const auto commit = [&](SpectraFile& file) {
        for (const std::string& warning : file.warnings) {
            err << warning << '\n';
        }
        if (!file.failure.empty()) {
            err << file.failure << '\n';
            exitCode = kExitFailure;
            return false;
        }
        if (file.correctionFailed) {
            exitCode = kExitFailure;
        }
        for (const RecordReport& report : file.reports) {
            for (const std::string& message : report.messages) {
                err << message << '\n';
            }
            const std::filesystem::path path =
                planner.Next(folder, report.sourceFileName, kSpectraReportSuffix);
            try {
                WriteReport(path, report.lines);
            } catch (const ReportWriteError& error) {
                err << error.what() << '\n';
                exitCode = kExitFailure;
                return false;
            }
            out << path.string() << '\n';
        }
        return true;
    };
    ProcessInOrder<SpectraFile>(files.size(), concurrent, process, commit);
    return exitCode;
}

}  // namespace travik::cli
