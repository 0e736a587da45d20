#pragma once

#include <ostream>
#include <string>

#include <CLI/CLI.hpp>

#include "ImportOptions.h"

namespace travik::cli {

// `travik-cli measures [options] FILE...`: writes <out>/<name>_GM.csv (ground-motion
// measures) and <out>/<name>_FS.csv (Fourier amplitude spectrum) per record read.
class MeasuresCommand {
  public:
    explicit MeasuresCommand(CLI::App& app);
    bool Selected() const { return command_->parsed(); }
    int Run(std::ostream& out, std::ostream& err) const;

  private:
    CLI::App* command_;
    ImportOptions import_;
    std::string bracketThreshold_ = "0.05";
    std::string maxDtOverT_ = "0.02";
    bool summary_ = false;
};

}  // namespace travik::cli
