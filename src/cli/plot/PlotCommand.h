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
class PlotCommand {
  public:
    explicit PlotCommand(CLI::App& app);
    bool Selected() const { return command_->parsed(); }
    int Run(std::ostream& out, std::ostream& err) const;

  private:
    CLI::App* command_;
    std::string what_;
    ImportOptions import_;
    AnalysisOptions analysis_;
    std::string image_ = "png";
    std::string size_ = "1600x1000";
    int dpi_ = 200;
    std::string log_;
    std::string abscissa_ = "period";
    std::string ordinate_ = "psa";
    bool tripartite_ = false;
    bool againstFrequency_ = false;
    bool adrs_ = false;
    bool checkedMean_ = false;
    std::string statistics_ = "mean";
    bool statisticsCsv_ = false;
    std::string targetFile_;
    std::string asce_;
    std::string eurocode_;
    std::string ratioRange_;
    std::string highPassCorner_;
    bool noBands_ = false;
};

}  // namespace travik::cli
