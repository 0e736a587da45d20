#include "MeasuresCommand.h"

#include <filesystem>
#include <optional>
#include <ostream>

#include "core/analysis/AnalysisWork.h"
#include "core/export/MeasuresReport.h"
#include "core/export/ReportHeader.h"
#include "core/measures/GroundMotionMeasures.h"
#include "core/text/NumberParse.h"
#include "core/text/ShownText.h"

namespace travik::cli {
namespace {

// Reads a positive number option; a rejection names the option.
std::optional<double> ReadPositive(const std::string& option, const std::string& text,
                                   const char* what, std::ostream& err) {
    const std::optional<double> value = TryParseNumber(text, kCommandLineDecimalPoint);
    if (!value) {
        err << option << ": " << NotAValidFloatingNumberMessage(text) << '\n';
        return std::nullopt;
    }
    if (!(*value > 0.0)) {
        err << option << ": " << what << " must be greater than 0\n";
        return std::nullopt;
    }
    return value;
}

}  // namespace

MeasuresCommand::MeasuresCommand(CLI::App& app)
    : command_(app.add_subcommand(
          "measures",
          "Write the ground-motion measures <name>_GM.csv (PGA, PGV, PGD, Arias intensity, "
          "durations, CAV, spectrum intensities, Tp, Tm) and the Fourier amplitude spectrum "
          "<name>_FS.csv of every record")) {
    AddImportOptions(*command_, import_);
    command_
        ->add_option("--bracket-threshold", bracketThreshold_,
                     "Level of the bracketed duration in g")
        ->capture_default_str();
    command_
        ->add_option("--max-dt-ratio", maxDtOverT_,
                     "Largest oscillator step as a fraction of the period (spectrum "
                     "intensities)")
        ->capture_default_str();
    command_->add_flag("--summary", summary_,
                       "Also print one line per record: name PGA=... g PGV=... cm/s D5-95=... s");
}

int MeasuresCommand::Run(std::ostream& out, std::ostream& err) const {
    MeasureSettings settings;
    const std::optional<double> threshold =
        ReadPositive("--bracket-threshold", bracketThreshold_, "the threshold", err);
    if (!threshold) {
        return kExitBadOption;
    }
    const std::optional<double> ratio =
        ReadPositive("--max-dt-ratio", maxDtOverT_, "the step ratio", err);
    if (!ratio) {
        return kExitBadOption;
    }
    settings.bracketThreshold = *threshold;
    settings.maxDtOverT = *ratio;

    ImportOutcome outcome = ImportRecords(import_, err);
    if (outcome.exitCode != kExitOk) {
        return outcome.exitCode;
    }
    // ImportRecords has checked the text of --g.
    settings.g =
        TryParseNumber(import_.gravity, kCommandLineDecimalPoint).value_or(AnalysisSettings{}.g);

    // Long work is announced as an analysis is: a tiny --max-dt-ratio on a long record
    // may take hours.
    double steps = 0.0;
    for (int i = 0; i < outcome.records.Count(); ++i) {
        steps += EstimateMeasuresOscillatorSteps(outcome.records.At(i), settings);
    }
    if (steps > kAnnouncedOscillatorSteps) {
        err << AnalysisWorkAnnouncement(
                   steps, MeasureOscillatorStepsPerSecond(IntensitySpectrumSettings(settings)))
            << std::endl;
    }

    const std::filesystem::path folder(import_.outputFolder);
    ReportPathPlanner planner;
    ReportLines lines;
    for (int i = 0; i < outcome.records.Count(); ++i) {
        const TimeHistory& record = outcome.records.At(i);
        const GroundMotionMeasures measures = ComputeGroundMotionMeasures(record, settings);
        const auto write = [&](const char* suffix) {
            const std::filesystem::path path =
                planner.Next(folder, record.SourceFileName(), suffix);
            WriteReport(path, lines);
            out << ShownText(path.string()) << '\n';
        };
        try {
            BuildMeasuresReport(lines, record, measures, kSoftwareEdition, TodayLocalDate());
            write(kMeasuresReportSuffix);
            BuildFourierReport(lines, record, measures, kSoftwareEdition, TodayLocalDate());
            write(kFourierReportSuffix);
        } catch (const ReportWriteError& error) {
            err << error.what() << '\n';
            return kExitFailure;
        }
        if (summary_) {
            out << MeasuresSummaryLine(measures) << '\n';
        }
    }
    return outcome.readerFailed || outcome.correctionFailed ? kExitFailure : kExitOk;
}

}  // namespace travik::cli
