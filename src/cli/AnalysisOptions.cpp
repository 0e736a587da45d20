#include "AnalysisOptions.h"

#include "WorkspaceOptions.h"
#include "core/analysis/DampingValues.h"
#include "core/analysis/SpectraComputation.h"
#include "core/text/NumberParse.h"

namespace travik::cli {
namespace {

// Checks the option texts in the windows' order (settings, then damping values, then the
// period list) and returns the first rejection's message, or nothing.
std::optional<std::string> ReadAnalysisTexts(const AnalysisSettingsTexts& texts,
                                             const std::string& damping,
                                             const std::string& periodList,
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
        analysis.periods = analysis.settings.Periods();
        return std::nullopt;
    }
    // The row of the period 0 always comes first.
    const std::vector<std::string> periodTexts = SplitAtCommas(periodList);
    if (periodTexts.size() + 1 > kMaxPeriodCount) {
        return "--periods: at most " + std::to_string(kMaxPeriodCount - 1) +
               " periods are allowed (the period 0 is added to them)";
    }
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

}  // namespace

void AddAnalysisOptions(CLI::App& command, AnalysisOptions& options) {
    command.add_option("--min-period", options.minPeriod, "Smallest period in seconds")
        ->capture_default_str();
    command.add_option("--max-period", options.maxPeriod, "Largest period in seconds")
        ->capture_default_str();
    command.add_option("--period-step", options.periodStep, "Increment between periods in seconds")
        ->capture_default_str();
    command
        .add_option("--method", options.method,
                    "Oscillator integrator: exact (piecewise exact) or newmark")
        ->capture_default_str()
        ->check(CLI::IsMember({"exact", "newmark"}));
    command
        .add_option("--max-dt-ratio", options.maxDtOverT,
                    "Largest integration step as a fraction of the period")
        ->capture_default_str();
    command.add_option("--beta", options.beta, "Newmark's beta")->capture_default_str();
    command.add_option("--gamma", options.gamma, "Newmark's gamma")->capture_default_str();
    command
        .add_option("--damping", options.damping,
                    "One to nine damping values in percent, separated by commas")
        ->capture_default_str();
    command.add_option("--periods", options.periods,
                       "Periods in seconds, ascending and separated by commas; replaces the "
                       "range and step");
}

std::optional<std::string> ReadAnalysis(const AnalysisOptions& options, const std::string& gravity,
                                        SpectraAnalysis& analysis) {
    AnalysisSettingsTexts texts;
    texts.minPeriod = options.minPeriod;
    texts.maxPeriod = options.maxPeriod;
    texts.periodStep = options.periodStep;
    texts.method = options.method == "newmark" ? IntegrationMethod::Newmark
                                               : IntegrationMethod::PiecewiseExact;
    texts.maxDtOverT = options.maxDtOverT;
    texts.beta = options.beta;
    texts.gamma = options.gamma;
    texts.g = gravity;
    return ReadAnalysisTexts(texts, options.damping, options.periods, analysis);
}

std::optional<std::string> ReadAnalysisOf(const AnalysisOptions& options,
                                          const ImportOptions& import, SpectraAnalysis& analysis) {
    if (const WorkspaceImport* workspace = import.workspace.get()) {
        analysis.settings = workspace->settings;
        analysis.dampingRatios = workspace->dampingRatios;
        analysis.periods = workspace->periods;
        return std::nullopt;
    }
    return ReadAnalysis(options, import.gravity, analysis);
}

}  // namespace travik::cli
