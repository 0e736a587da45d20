#pragma once

#include <ostream>
#include <string>

#include <CLI/CLI.hpp>

#include "AnalysisOptions.h"
#include "ImportOptions.h"

namespace travik::cli {

// `travik-cli plot spectra|records [options] FILE...`: draws the program's charts into
// image files with no display: <name>_RS.<ext> (spectra) or <name>_TH.<ext> (the three
// time-history charts stacked) per record, or with --checked-mean one figure
// <first name>_mean_RS.<ext> of every record, their statistics and the target.
// The only part of the command line that draws, and so the only one that uses Qt.
// The drawing options as the command line gives them (the import and analysis options
// apart), checked when the command runs.
struct PlotOptionTexts {
    std::string what;  // "spectra" or "records"
    std::string image = "png";
    std::string size = "1600x1000";
    int dpi = 200;
    std::string log;
    std::string abscissa = "period";
    std::string ordinate = "psa";
    bool tripartite = false;
    bool againstFrequency = false;
    bool adrs = false;
    bool checkedMean = false;
    std::string statistics = "mean";
    bool statisticsCsv = false;
    std::string targetFile;
    std::string asce;
    std::string eurocode;
    std::string ratioRange;
    std::string highPassCorner;
    bool noBands = false;
};

class PlotCommand {
  public:
    explicit PlotCommand(CLI::App& app);
    bool Selected() const { return command_->parsed(); }
    int Run(std::ostream& out, std::ostream& err) const;

  private:
    CLI::App* command_;
    ImportOptions import_;
    AnalysisOptions analysis_;
    PlotOptionTexts options_;
};

}  // namespace travik::cli
