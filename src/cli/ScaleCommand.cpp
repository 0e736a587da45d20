#include "ScaleCommand.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "ComponentImport.h"
#include "core/analysis/SpectraComputation.h"
#include "core/export/ReportHeader.h"
#include "core/export/ScaledRecords.h"
#include "core/export/ScalingReport.h"
#include "core/spectra/SuiteSpectra.h"
#include "core/suite/PairMembers.h"
#include "core/suite/ScalingShortfalls.h"
#include "core/suite/SuiteMembers.h"
#include "core/text/NumberFormat.h"
#include "core/text/NumberParse.h"
#include "core/text/ShownText.h"

namespace travik::cli {
namespace {

std::optional<double> Number(const std::string& text) {
    return TryParseNumber(text, kCommandLineDecimalPoint);
}

// Two numbers separated by a comma, or nothing.
std::optional<std::pair<double, double>> NumberPair(const std::string& text) {
    const std::vector<std::string> parts = SplitAtCommas(text);
    const std::optional<double> a = parts.size() == 2 ? Number(parts[0]) : std::nullopt;
    const std::optional<double> b = parts.size() == 2 ? Number(parts[1]) : std::nullopt;
    if (!a || !b) {
        return std::nullopt;
    }
    return std::make_pair(*a, *b);
}

SuiteRule DefaultRule(const ScalingTarget& target) {
    switch (target.kind) {
        case ScalingTarget::Kind::Asce:
            return SuiteRule::Asce7;
        case ScalingTarget::Kind::Eurocode:
            return SuiteRule::Ec8;
        case ScalingTarget::Kind::File:
            break;
    }
    return SuiteRule::None;
}

// The spectrum scaled: PSa of single components, RotD100 of pairs unless RotD50 is asked.
std::optional<std::string> ReadMeasure(const ScaleTexts& texts, ScalingMeasure& measure) {
    if (texts.measure.empty()) {
        measure = texts.pairs ? ScalingMeasure::RotD100 : ScalingMeasure::Psa;
        return std::nullopt;
    }
    if (texts.measure == "psa") {
        if (texts.pairs) {
            return "--measure psa scales single components: the two-component motions of "
                   "--pairs are scaled by rotd100 (the default) or rotd50";
        }
        measure = ScalingMeasure::Psa;
        return std::nullopt;
    }
    if (!texts.pairs) {
        return "--measure " + texts.measure +
               " needs --pairs: RotD50 and RotD100 are spectra of two-component motions";
    }
    measure = texts.measure == "rotd50" ? ScalingMeasure::RotD50 : ScalingMeasure::RotD100;
    return std::nullopt;
}

// The scaling options from their texts; the message of the first refusal, or nothing.
std::optional<std::string> ReadScaling(const ScaleTexts& texts, const ScalingTarget& target,
                                       ScalingOptions& options) {
    const std::optional<std::pair<double, double>> range = NumberPair(texts.range);
    if (!range) {
        return "--range takes TMIN,TMAX in seconds, e.g. 0.2,3";
    }
    options.minPeriod = range->first;
    options.maxPeriod = range->second;
    options.rule = texts.rule.empty()      ? DefaultRule(target)
                   : texts.rule == "asce7" ? SuiteRule::Asce7
                   : texts.rule == "ec8"   ? SuiteRule::Ec8
                                           : SuiteRule::None;
    options.weights = texts.weights == "log" ? ScalingWeights::Log : ScalingWeights::Uniform;
    if (std::optional<std::string> problem = ReadMeasure(texts, options.measure)) {
        return problem;
    }
    if (!texts.limits.empty()) {
        const std::optional<std::pair<double, double>> limits = NumberPair(texts.limits);
        if (!limits) {
            return "--limits takes FMIN,FMAX, e.g. 0.5,4";
        }
        options.minFactor = limits->first;
        options.maxFactor = limits->second;
    }
    if (!texts.atPeriod.empty()) {
        options.atPeriod = Number(texts.atPeriod);
        if (!options.atPeriod) {
            return "--at-period takes a period in seconds, not \"" + texts.atPeriod + "\"";
        }
    }
    options.selectCount = texts.select;
    options.maxPerStation = texts.maxPerStation;
    return std::nullopt;
}

void PrintOutcome(const SuiteScaling& s, std::ostream& out, std::ostream& err) {
    for (std::size_t r = 0; r < s.members.size(); ++r) {
        if (s.scaled[r].selected) {
            out << ShownText(s.members[r].name) << " x"
                << FormatSevenDigits(s.scaled[r].totalFactor) << '\n';
        }
    }
    for (const std::string& line : ScalingShortfalls(s)) {
        err << line << '\n';
    }
}

// The suite's motions and the components each is written from, or the status the run ends
// with (the messages already said).
struct SuiteInput {
    std::vector<SuiteMember> members;
    std::vector<ScaledMotion> motions;
    std::optional<int> exitCode;
};

SuiteInput SingleComponents(const RecordList& list, const SpectraAnalysis& analysis,
                            std::ostream& err) {
    SuiteInput input;
    std::vector<const TimeHistory*> records;
    for (int i = 0; i < list.Count(); ++i) {
        records.push_back(&list.At(i));
        input.motions.push_back(MotionOfRecord(list.At(i)));
    }
    const SuiteSpectra suite = ComputeSuiteSpectra(
        records, analysis.settings, analysis.dampingRatios.front(), analysis.periods);
    for (const std::string& failed : suite.failedRecords) {
        err << "No spectrum for " << ShownText(failed) << ": a run could not be computed\n";
        input.exitCode = kExitFailure;
    }
    input.members = SuiteMembersOf(records, suite);
    return input;
}

// The motions as `rotd` forms them from the files; a refused pair leaves the suite unscaled,
// since a suite silently short of a motion would be checked against the wrong count.
SuiteInput PairedComponents(const ImportOptions& import, const ImportOutcome& outcome,
                            const SpectraAnalysis& analysis, ScalingMeasure measure,
                            std::ostream& err) {
    SuiteInput input;
    const ComponentPairing pairing = PairImportedComponents(import, outcome);
    if (const std::optional<int> ended = TellUnpaired(pairing, outcome, err)) {
        input.exitCode = *ended;
        return input;
    }
    std::vector<const ComponentPair*> pairs;
    for (const ComponentPair& pair : pairing.motions) {
        if (!TellPairing(pair, err)) {
            input.exitCode = kExitFailure;
        }
        pairs.push_back(&pair);
        input.motions.push_back(MotionOfPair(*pair.h1, pair.h2 ? *pair.h2 : *pair.h1));
    }
    if (input.exitCode) {
        err << "The suite is not scaled: a pair above cannot be rotated\n";
        return input;
    }
    const PairMembers members = PairMembersOf(
        pairs, analysis.settings, analysis.dampingRatios.front(), analysis.periods, measure);
    for (const std::string& failed : members.failedPairs) {
        err << "No rotated spectrum for the pair of " << ShownText(failed)
            << ": a run could not be computed\n";
        input.exitCode = kExitFailure;
    }
    input.members = members.members;
    return input;
}

}  // namespace

ScaleCommand::ScaleCommand(CLI::App& app, ScalingFigureDrawer drawer)
    : command_(app.add_subcommand("scale", kScaleDescription)), drawer_(std::move(drawer)) {
    AddImportOptions(*command_, import_);
    AddAnalysisOptions(*command_, analysis_);
    AddTargetOptions(*command_, target_);
    command_
        ->add_option("--range", texts_.range, "Period range of the fit and the rule: TMIN,TMAX (s)")
        ->required();
    command_
        ->add_option("--rule", texts_.rule,
                     "Suite rule: asce7, ec8 or none (default: asce7 with --asce, ec8 with "
                     "--ec8, none with --target)")
        ->check(CLI::IsMember({"none", "asce7", "ec8"}));
    command_
        ->add_option("--measure", texts_.measure,
                     "Spectrum scaled: psa (default), or with --pairs rotd100 (default) or rotd50")
        ->check(CLI::IsMember({"psa", "rotd50", "rotd100"}));
    command_->add_flag("--pairs", texts_.pairs,
                       "Read the files as two-component motions, paired as rotd pairs them; a "
                       "pair is named by its first component");
    command_->add_option("--weights", texts_.weights, "Weights of the periods: uniform or log")
        ->capture_default_str()
        ->check(CLI::IsMember({"uniform", "log"}));
    command_->add_option("--limits", texts_.limits, "Smallest and largest factor: FMIN,FMAX");
    command_->add_option("--at-period", texts_.atPeriod,
                         "Scale each record to the target at this one period (s)");
    command_
        ->add_option("--select", texts_.select,
                     "Keep the N records of the smallest error (default: all)")
        ->check(CLI::NonNegativeNumber);
    command_
        ->add_option("--max-per-station", texts_.maxPerStation,
                     "At most K selected records from one station (file)")
        ->check(CLI::PositiveNumber);
    command_->add_option("--write-records", texts_.writeRecords,
                         "Existing folder the scaled records are written to as .AT2 files");
    command_->add_option("--image", texts_.image, "Also draw <first name>_scaling.<png|svg|pdf>")
        ->check(CLI::IsMember({"png", "svg", "pdf"}));
}

int ScaleCommand::Run(std::ostream& out, std::ostream& err) const {
    SpectraAnalysis analysis;
    if (const std::optional<std::string> rejection = ReadAnalysisOf(analysis_, import_, analysis)) {
        err << *rejection << '\n';
        return kExitBadOption;
    }
    const TargetChoice target = ReadTargetOptions(target_);
    if (target.exitCode != kExitOk) {
        err << target.message << '\n';
        return target.exitCode;
    }
    if (!target.target) {
        err << "Give a target: --target, --asce or --ec8\n";
        return kExitBadOption;
    }
    ScalingOptions options;
    if (const std::optional<std::string> rejection = ReadScaling(texts_, *target.target, options)) {
        err << *rejection << '\n';
        return kExitBadOption;
    }
    // The options are checked against the periods before anything is read; the count of
    // records is checked once they are.
    if (const std::string problem = options.Check(analysis.periods, texts_.select);
        !problem.empty()) {
        err << problem << '\n';
        return kExitBadOption;
    }
    if (!texts_.image.empty() && !drawer_) {
        err << "--image needs the figure renderer travik-plot, which this build lacks\n";
        return kExitBadOption;
    }

    const ImportOutcome outcome = ImportRecords(import_, err);
    if (outcome.exitCode != kExitOk) {
        return outcome.exitCode;
    }
    if (outcome.readerFailed || outcome.correctionFailed) {
        err << "The suite is not scaled: a record above could not be read or corrected\n";
        return kExitFailure;
    }
    SuiteInput input = texts_.pairs
                           ? PairedComponents(import_, outcome, analysis, options.measure, err)
                           : SingleComponents(outcome.records, analysis, err);
    if (input.exitCode) {
        return *input.exitCode;
    }
    const SuiteScaling scaling =
        ScaleSuite(analysis.periods, std::move(input.members), *target.target, options);
    if (scaling.failure != ScalingFailure::None) {
        err << scaling.message << '\n';
        return scaling.failure == ScalingFailure::BadMotion ? kExitFailure : kExitBadOption;
    }
    return WriteOutcome(input.motions, scaling, analysis.settings.g, out, err);
}

int ScaleCommand::WriteOutcome(const std::vector<ScaledMotion>& motions,
                               const SuiteScaling& scaling, double g, std::ostream& out,
                               std::ostream& err) const {
    PrintOutcome(scaling, out, err);
    const std::filesystem::path folder(import_.outputFolder);
    const TimeHistory& first = *motions.front().components.front();
    try {
        const std::filesystem::path report =
            WriteScalingReportFile(folder, first, scaling, kSoftwareEdition, TodayLocalDate());
        out << report.string() << '\n';
        if (!texts_.writeRecords.empty()) {
            for (const std::filesystem::path& path :
                 WriteScaledMotions(motions, scaling, texts_.writeRecords)) {
                out << path.string() << '\n';
            }
        }
        if (!texts_.image.empty()) {
            const std::filesystem::path image =
                folder / (ReportBaseName(first.SourceFileName()) + "_scaling." + texts_.image);
            drawer_(scaling, g, image, texts_.image);
            out << image.string() << '\n';
        }
    } catch (const ReportWriteError& error) {
        err << error.what() << '\n';
        return kExitFailure;
    }
    return scaling.ruleMet ? kExitOk : kExitFailure;
}

bool ScaleWantsFigure(int argc, char** argv) {
    if (argc < 2 || std::string_view(argv[1]) != "scale") {
        return false;
    }
    for (int i = 2; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        if (argument == "--image" || argument.starts_with("--image=")) {
            return true;
        }
    }
    return false;
}

}  // namespace travik::cli
