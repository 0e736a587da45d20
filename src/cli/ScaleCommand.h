#pragma once

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "AnalysisOptions.h"
#include "ImportOptions.h"
#include "TargetOptions.h"
#include "core/export/ScaledRecords.h"
#include "core/suite/SuiteScaling.h"

namespace travik::cli {

// What `travik-cli scale` does, as --help lists it.
inline constexpr const char* kScaleDescription =
    "Scale records to a target spectrum, select a suite by its fit and check it against "
    "ASCE/SEI 7-22 or EN 1998-1: writes <first name>_scaling.csv, and with --write-records "
    "the scaled records as .AT2 files";

// Draws the suite's figure into `path` in `format` (png, svg or pdf); given by the figure
// renderer, the only program that loads the windows' libraries.
using ScalingFigureDrawer =
    std::function<void(const SuiteScaling& scaling, double g, const std::filesystem::path& path,
                       const std::string& format)>;

// The scaling options as texts, converted by the program's strict conversion.
struct ScaleTexts {
    std::string range;
    std::string rule;     // empty: the target's own rule (asce7, ec8, none for a file)
    std::string measure;  // empty: psa, or rotd100 with --pairs
    bool pairs = false;
    std::string weights = "uniform";
    std::string limits;
    std::string atPeriod;
    int select = 0;
    int maxPerStation = 0;
    std::string writeRecords;
    std::string image;
};

// `travik-cli scale [options] FILE...`.
class ScaleCommand {
  public:
    ScaleCommand(CLI::App& app, ScalingFigureDrawer drawer = {});
    bool Selected() const { return command_->parsed(); }
    int Run(std::ostream& out, std::ostream& err) const;

  private:
    int WriteOutcome(const std::vector<ScaledMotion>& motions, const SuiteScaling& scaling,
                     double g, std::ostream& out, std::ostream& err) const;

    CLI::App* command_;
    ImportOptions import_;
    AnalysisOptions analysis_;
    TargetOptions target_;
    ScaleTexts texts_;
    ScalingFigureDrawer drawer_;
};

// True when the arguments ask `scale` for a figure, which the renderer must draw.
bool ScaleWantsFigure(int argc, char** argv);

}  // namespace travik::cli
