#include "SpectraCommand.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <vector>

#include "ReportWriting.h"
#include "analysis/AnalysisSettings.h"
#include "analysis/AnalysisWork.h"
#include "analysis/DampingValues.h"
#include "analysis/SpectraComputation.h"
#include "analysis/SpectrumStore.h"
#include "export/ReportHeader.h"
#include "export/SpectraReport.h"
#include "text/NumberFormat.h"
#include "text/NumberParse.h"
#include "text/ShownText.h"

namespace travik::cli {
namespace {

std::vector<std::string> SplitAtCommas(const std::string& text) {
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    while (true) {
        const std::string::size_type comma = text.find(',', start);
        parts.push_back(text.substr(start, comma - start));
        if (comma == std::string::npos) {
            return parts;
        }
        start = comma + 1;
    }
}

// The analysis as the settings window and the damping edits would hold it.
struct SpectraAnalysis {
    AnalysisSettings settings;
    std::vector<double> dampingRatios;
    std::vector<double> periods;
};

// Checks the option texts in the windows' order (settings, then damping values, then the
// period list) and returns the first rejection's message, or nothing.
std::optional<std::string> ReadAnalysis(const AnalysisSettingsTexts& texts,
                                        const std::string& damping, const std::string& periodList,
                                        SpectraAnalysis& analysis) {
    const SettingsUpdateResult update =
        UpdateAnalysisSettings(texts, AnalysisSettings{}, kCommandLineDecimalPoint);
    if (!update.accepted) {
        return update.message;
    }
    analysis.settings = update.settings;

    const std::vector<std::string> percentages = SplitAtCommas(damping);
    if (percentages.size() > static_cast<std::size_t>(kMaxDampingValues)) {
        return "--damping takes one to nine percentages separated by commas";
    }
    const DampingReadResult read =
        ReadDampingRatios(percentages, static_cast<int>(percentages.size()),
                          kCommandLineDecimalPoint, analysis.dampingRatios);
    if (!read.ok) {
        return read.message;
    }
    SortAndRemoveRepeatedRatios(analysis.dampingRatios);

    if (periodList.empty()) {
        std::vector<double> frequencies;
        BuildPeriodList(analysis.periods, frequencies, analysis.settings.minPeriod,
                        analysis.settings.maxPeriod, analysis.settings.periodStep);
        return std::nullopt;
    }
    const std::vector<std::string> periodTexts = SplitAtCommas(periodList);
    if (periodTexts.size() + 1 > kMaxPeriodCount) {
        return "--periods: at most " + std::to_string(kMaxPeriodCount - 1) +
               " periods are allowed (the period 0 is added to them)";
    }
    // The row of the period 0 always comes first.
    analysis.periods = {0.0};
    for (const std::string& text : periodTexts) {
        const std::optional<double> period = TryParseNumber(text, kCommandLineDecimalPoint);
        if (!period) {
            return NotAValidFloatingNumberMessage(text);
        }
        if (!(*period > analysis.periods.back())) {
            return "--periods: the periods must be greater than zero and in ascending order";
        }
        analysis.periods.push_back(*period);
    }
    return std::nullopt;
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
    ProgressLines(const TimeHistory& record, std::ostream& err)
        : name_(ShownText(record.SourceFileName())), err_(err) {}

    std::function<void(std::size_t, std::size_t)> Callback() {
        return [this](std::size_t done, std::size_t total) {
            const std::size_t tenths = total == 0 ? 10 : done * 10 / total;
            if (tenths > shownTenths_) {
                shownTenths_ = tenths;
                err_ << "Computing the spectra of " << name_ << ": " << tenths * 10 << " %"
                     << std::endl;
            }
        };
    }

  private:
    std::string name_;
    std::ostream& err_;
    std::size_t shownTenths_ = 0;
};

}  // namespace

SpectraCommand::SpectraCommand(CLI::App& app)
    : command_(app.add_subcommand(
          "spectra",
          "Write the response-spectra report <name>_RS.csv of every record: Sd (cm), Sv "
          "(cm/sec), Sa (g), PSv (cm/sec) and PSa (g) per damping value and period")) {
    AddImportOptions(*command_, import_);
    command_->add_option("--min-period", minPeriod_, "Smallest period in seconds")
        ->capture_default_str();
    command_->add_option("--max-period", maxPeriod_, "Largest period in seconds")
        ->capture_default_str();
    command_->add_option("--period-step", periodStep_, "Increment between periods in seconds")
        ->capture_default_str();
    command_
        ->add_option("--method", method_,
                     "Oscillator integrator: exact (piecewise exact) or newmark")
        ->capture_default_str()
        ->check(CLI::IsMember({"exact", "newmark"}));
    command_
        ->add_option("--max-dt-ratio", maxDtOverT_,
                     "Largest integration step as a fraction of the period")
        ->capture_default_str();
    command_->add_option("--beta", beta_, "Newmark's beta")->capture_default_str();
    command_->add_option("--gamma", gamma_, "Newmark's gamma")->capture_default_str();
    command_
        ->add_option("--damping", damping_,
                     "One to nine damping values in percent, separated by commas")
        ->capture_default_str();
    command_->add_flag("--quiet", quiet_,
                       "No work estimate and no progress on stderr before and during a long "
                       "analysis");
    command_->add_option("--periods", periods_,
                         "Periods in seconds, ascending and separated by commas; replaces the "
                         "range and step");
}

int SpectraCommand::Run(std::ostream& out, std::ostream& err) const {
    AnalysisSettingsTexts texts;
    texts.minPeriod = minPeriod_;
    texts.maxPeriod = maxPeriod_;
    texts.periodStep = periodStep_;
    texts.method =
        method_ == "newmark" ? IntegrationMethod::Newmark : IntegrationMethod::PiecewiseExact;
    texts.maxDtOverT = maxDtOverT_;
    texts.beta = beta_;
    texts.gamma = gamma_;
    texts.g = import_.gravity;

    SpectraAnalysis analysis;
    if (const std::optional<std::string> rejection =
            ReadAnalysis(texts, damping_, periods_, analysis)) {
        err << *rejection << '\n';
        return kExitBadOption;
    }

    ImportOutcome outcome = ImportRecords(import_, err);
    if (outcome.exitCode != kExitOk) {
        return outcome.exitCode;
    }

    // Long work is announced with its estimate, then followed by progress lines.
    double steps = 0;
    for (int i = 0; i < outcome.records.Count(); ++i) {
        steps += EstimateOscillatorSteps(outcome.records.At(i), analysis.settings,
                                         analysis.dampingRatios.size(), analysis.periods);
    }
    const bool announce = !quiet_ && steps > kAnnouncedOscillatorSteps;
    if (announce) {
        err << AnalysisWorkAnnouncement(steps, MeasureOscillatorStepsPerSecond(analysis.settings))
            << std::endl;
    }

    bool someRunsFailed = false;
    const int code = WriteRecordReports(
        outcome, import_, kSpectraReportSuffix,
        [&](const ReportLineSink& sink, const TimeHistory& record) {
            ProgressLines progress(record, err);
            const SpectraResult result =
                ComputeSpectra(record, analysis.settings, analysis.dampingRatios, analysis.periods,
                               announce ? progress.Callback() : nullptr);
            ListFailures(result, err);
            someRunsFailed = someRunsFailed || !result.failures.empty();
            if (result.AllRunsFailed()) {
                err << "FILE: " << ShownText(record.SourceFileName())
                    << ", ERROR: No oscillator of the analysis could be computed: no report "
                       "is written\n";
                return false;
            }
            // Each failure is listed once above, not once per report row.
            WriteSpectraReport(sink, record, result, kSoftwareEdition, TodayLocalDate(), nullptr);
            return true;
        },
        out, err);
    return code == kExitOk && someRunsFailed ? kExitFailure : code;
}

}  // namespace travik::cli
