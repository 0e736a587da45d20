#include "SpectraCommand.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "AnalysisOptions.h"
#include "RecordBatch.h"
#include "WholeNumberOption.h"
#include "core/analysis/AnalysisSettings.h"
#include "core/analysis/AnalysisWork.h"
#include "core/analysis/DampingValues.h"
#include "core/analysis/SpectraComputation.h"
#include "core/export/ReportHeader.h"
#include "core/export/SpectraReport.h"
#include "core/export/SuiteStatisticsReport.h"
#include "core/text/NumberFormat.h"
#include "core/text/NumberParse.h"
#include "core/text/ShownText.h"

namespace travik::cli {
namespace {

int DefaultJobs() {
    return static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
}

// One line per damping value whose runs failed, however many periods failed.
void ListFailures(const SpectraResult& result, std::ostream& err) {
    const std::vector<SpectraRunFailure>& failures = result.failures;
    for (std::size_t first = 0; first < failures.size();) {
        std::size_t end = first + 1;
        while (end < failures.size() &&
               failures[end].dampingRatio == failures[first].dampingRatio) {
            ++end;
        }
        err << "FILE: " << ShownText(result.recordName) << ", "
            << ExportCalculationErrorMessage(failures[first].dampingRatio, failures[first].period);
        if (const std::size_t more = end - first - 1; more > 0) {
            err << " and " << more << (more == 1 ? " more period" : " more periods") << " up to "
                << FormatGeneral(failures[end - 1].period);
        }
        err << '\n';
        first = end;
    }
}

// Progress of one record's analysis on stderr, a line at every further tenth.
class ProgressLines {
  public:
    ProgressLines(const TimeHistory& record, RecordTask::Say say)
        : name_(ShownText(record.SourceFileName())), say_(std::move(say)) {}

    std::function<void(std::size_t, std::size_t)> Callback() {
        return [this](std::size_t done, std::size_t total) {
            const std::size_t tenths = total == 0 ? 10 : done * 10 / total;
            if (tenths > shownTenths_) {
                shownTenths_ = tenths;
                say_("Computing the spectra of " + name_ + ": " + std::to_string(tenths * 10) +
                     " %\n");
            }
        };
    }

  private:
    std::string name_;
    RecordTask::Say say_;
    std::size_t shownTenths_ = 0;
};

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
                     "Threads to use, at most (default: one per core): up to this many records "
                     "are analysed at once, and the last few records' oscillators are spread "
                     "over the threads left; the output and the reports are the same for "
                     "every count")
        ->capture_default_str()
        ->check(PlainWholeNumber())
        ->check(CLI::Range(1, 1024));
    command_->add_flag("--quiet", quiet_,
                       "No work estimate and no progress on stderr before and during a long "
                       "analysis");
}

int SpectraCommand::Run(std::ostream& out, std::ostream& err) const {
    SpectraAnalysis analysis;
    if (const std::optional<std::string> rejection = ReadAnalysisOf(analysis_, import_, analysis)) {
        err << *rejection << '\n';
        return kExitBadOption;
    }

    const auto jobs = static_cast<std::size_t>(jobs_);
    const ImportSurvey survey = SurveyImport(
        import_, jobs,
        [&analysis](const TimeHistory& record) {
            return EstimateOscillatorSteps(record, analysis.settings, analysis.dampingRatios.size(),
                                           analysis.periods);
        },
        err);
    if (survey.exitCode != kExitOk) {
        return survey.exitCode;
    }

    // Long work is announced with its estimate, then followed by progress lines.
    const double steps = survey.TotalWork();
    const bool announce = !quiet_ && steps > kAnnouncedOscillatorSteps;
    if (announce) {
        // The speed is timed on the record of the most work, read once more for it.
        double speed = 0.0;
        const bool timed =
            WithLargestSurveyedRecord(import_, survey, [&](const TimeHistory& record) {
                speed = MeasureOscillatorStepsPerSecond(
                    record, analysis.settings, analysis.dampingRatios, analysis.periods, jobs_);
            });
        if (!timed) {
            speed = MeasureOscillatorStepsPerSecond(analysis.settings);
        }
        err << AnalysisWorkAnnouncement(steps, speed) << std::endl;
    }

    // One date for every report of the run: the same whatever the thread or the hour a
    // record is finished at (std::localtime is not to be called from several threads).
    const ReportDate today = TodayLocalDate();
    std::atomic<bool> someRunsFailed = false;
    const int code = WriteSurveyedReports(
        import_, survey, kSpectraReportSuffix, jobs,
        [&](const ReportLineSink& sink, const RecordTask& task) {
            const TimeHistory& record = task.record;
            ProgressLines progress(record, task.say);
            BatchOptions batch;
            batch.threads = task.threads;
            const SpectraResult result =
                ComputeSpectra(record, analysis.settings, analysis.dampingRatios, analysis.periods,
                               batch, announce ? progress.Callback() : nullptr);
            std::ostringstream messages;
            ListFailures(result, messages);
            if (!result.failures.empty()) {
                someRunsFailed = true;
            }
            if (result.AllRunsFailed()) {
                messages << "FILE: " << ShownText(record.SourceFileName())
                         << ", ERROR: No oscillator of the analysis could be computed: no report "
                            "is written\n";
            }
            task.say(messages.str());
            if (result.AllRunsFailed()) {
                return false;
            }
            // Each failure is listed once above, not once per report row.
            if (!accuracyColumns_) {
                WriteSpectraReport(sink, record, result, kSoftwareEdition, today, nullptr);
                return true;
            }
            ReportLines lines;
            BuildSpectraReport(lines, record, result, kSoftwareEdition, today, nullptr);
            InsertAccuracyColumns(lines, result.accuracy);
            for (const std::string& line : lines) {
                sink(line);
            }
            return true;
        },
        out, err);
    return code == kExitOk && someRunsFailed ? kExitFailure : code;
}

}  // namespace travik::cli
