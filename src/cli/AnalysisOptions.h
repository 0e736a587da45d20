#pragma once

#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "ImportOptions.h"
#include "core/analysis/AnalysisSettings.h"
#include "core/analysis/DampingValues.h"

namespace travik::cli {

// The analysis options shared by `spectra` and `plot`, as texts with the settings window's
// and damping edits' defaults; converted by the program's own strict conversion.
struct AnalysisOptions {
    std::string minPeriod = DefaultText(AnalysisSettings{}.minPeriod);
    std::string maxPeriod = DefaultText(AnalysisSettings{}.maxPeriod);
    std::string periodStep = DefaultText(AnalysisSettings{}.periodStep);
    std::string method =
        AnalysisSettings{}.method == IntegrationMethod::Newmark ? "newmark" : "exact";
    std::string maxDtOverT = DefaultText(AnalysisSettings{}.maxDtOverT);
    std::string beta = DefaultText(AnalysisSettings{}.beta);
    std::string gamma = DefaultText(AnalysisSettings{}.gamma);
    // The first damping value of the spectra page.
    std::string damping = DefaultText(kDefaultDampingPercents[0]);
    std::string periods;
};

void AddAnalysisOptions(CLI::App& command, AnalysisOptions& options);

// The analysis as the settings window and the damping edits would hold it.
struct SpectraAnalysis {
    AnalysisSettings settings;
    std::vector<double> dampingRatios;
    std::vector<double> periods;
};

// Checks the option texts in the windows' order (settings, then damping values, then the
// period list) with g from `gravity`, and returns the first rejection's message, or
// nothing.
std::optional<std::string> ReadAnalysis(const AnalysisOptions& options, const std::string& gravity,
                                        SpectraAnalysis& analysis);

// The analysis of a command: the workspace's when --workspace was given, else ReadAnalysis
// of the options with the import's g.
std::optional<std::string> ReadAnalysisOf(const AnalysisOptions& options,
                                          const ImportOptions& import, SpectraAnalysis& analysis);

}  // namespace travik::cli
