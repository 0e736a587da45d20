#include "RotdCommand.h"

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ComponentImport.h"
#include "WholeNumberOption.h"
#include "core/export/ReportFile.h"
#include "core/export/ReportHeader.h"
#include "core/export/RotDReport.h"
#include "core/rotation/ComponentPairs.h"
#include "core/rotation/RotatedSpectra.h"
#include "core/text/NumberFormat.h"
#include "core/text/NumberParse.h"
#include "core/text/ShownText.h"

namespace travik::cli {
namespace {

// The percentiles of --percentiles, or the message refusing them.
std::optional<std::string> ReadPercentiles(const std::string& text, std::vector<double>& asked) {
    for (const std::string& part : SplitAtCommas(text)) {
        const std::optional<double> value = TryParseNumber(part, kCommandLineDecimalPoint);
        if (!value || !(*value >= 0.0 && *value <= 100.0)) {
            return "--percentiles: \"" + ShownText(part) + "\" is not a percentile from 0 to 100";
        }
        asked.push_back(*value);
    }
    return std::nullopt;
}

// The first oscillator of the pair that could not be computed, said as the spectra say it.
bool TellFailures(const TimeHistory& h1, const RotatedSpectraResult& result, std::ostream& err) {
    for (const RotatedDampingSpectra& spectra : result.damping) {
        for (std::size_t k = 0; k < spectra.points.size(); ++k) {
            if (!spectra.points[k].computed) {
                err << MotionPrefix(h1) << "ERROR: The oscillator of damping ratio "
                    << FormatGeneral(spectra.dampingRatio) << " and period "
                    << FormatGeneral(result.options.periods[k])
                    << " s could not be computed: its row holds \"--\"\n";
                return true;
            }
        }
    }
    return false;
}

}  // namespace

RotdCommand::RotdCommand(CLI::App& app)
    : command_(app.add_subcommand(
          "rotd",
          "Write the two-component report <H1 name>_RotD.csv of every pair of horizontal "
          "components: RotD00, RotD50, RotD100 and its angle, GMRotI50, H1 and H2 PSa (g) per "
          "damping value and period. A file of several channels is one pair (its two "
          "horizontal channels); files of one channel are taken two by two, H1 then H2")) {
    AddImportOptions(*command_, import_);
    AddAnalysisOptions(*command_, analysis_);
    command_
        ->add_option("--percentiles", percentiles_,
                     "Percentiles of the 180 rotated peaks, separated by commas: RotD00, RotD50 "
                     "and RotD100 are always written, others are added as RotDnn columns")
        ->capture_default_str();
    jobs_ = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    command_
        ->add_option("--jobs", jobs_,
                     "Threads the periods of a pair are spread over (default: one per core); "
                     "the reports are the same for every count")
        ->capture_default_str()
        ->check(PlainWholeNumber())
        ->check(CLI::Range(1, 1024));
}

int RotdCommand::Run(std::ostream& out, std::ostream& err) const {
    SpectraAnalysis analysis;
    if (const std::optional<std::string> rejection = ReadAnalysisOf(analysis_, import_, analysis)) {
        err << *rejection << '\n';
        return kExitBadOption;
    }
    std::vector<double> asked;
    if (const std::optional<std::string> rejection = ReadPercentiles(percentiles_, asked)) {
        err << *rejection << '\n';
        return kExitBadOption;
    }
    RotatedSpectraOptions options;
    options.dampingRatios = analysis.dampingRatios;
    // The period list begins with the period 0, which the report's first row stands for.
    options.periods.assign(analysis.periods.begin() + 1, analysis.periods.end());
    options.percentiles = RotDReportPercentiles(asked);
    options.threads = jobs_;

    const ImportOutcome outcome = ImportRecords(import_, err);
    if (outcome.exitCode != kExitOk) {
        return outcome.exitCode;
    }
    const ComponentPairing pairing = PairImportedComponents(import_, outcome);
    if (const std::optional<int> ended = TellUnpaired(pairing, outcome, err)) {
        return *ended;
    }
    bool failed = outcome.readerFailed || outcome.correctionFailed || pairing.unpaired;

    const ReportDate today = TodayLocalDate();
    const std::filesystem::path folder(import_.outputFolder);
    ReportPathPlanner planner;
    for (const ComponentPair& pair : pairing.motions) {
        const std::optional<RotatedSpectraResult> result =
            RotateMotion(pair, analysis.settings, options, err);
        if (!result) {
            failed = true;
            continue;
        }
        failed = TellFailures(*pair.h1, *result, err) || failed;
        const std::filesystem::path path =
            planner.Next(folder, pair.h1->SourceFileName(), kRotDReportSuffix);
        try {
            ReportFile file(path);
            WriteRotDReport(file.Sink(), pair, *result, kSoftwareEdition, today);
            file.Commit();
        } catch (const ReportWriteError& error) {
            err << error.what() << '\n';
            return kExitFailure;
        }
        out << ShownText(path.string()) << '\n';
    }
    return failed ? kExitFailure : kExitOk;
}

}  // namespace travik::cli
