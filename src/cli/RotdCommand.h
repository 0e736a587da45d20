#pragma once

#include <ostream>
#include <string>

#include <CLI/CLI.hpp>

#include "AnalysisOptions.h"
#include "ImportOptions.h"

namespace travik::cli {

// `travik-cli rotd [options] FILE...`: the orientation-independent spectra of two horizontal
// components, one <out>/<H1 name>_RotD.csv per motion.
class RotdCommand {
  public:
    explicit RotdCommand(CLI::App& app);
    bool Selected() const { return command_->parsed(); }
    int Run(std::ostream& out, std::ostream& err) const;

  private:
    CLI::App* command_;
    ImportOptions import_;
    AnalysisOptions analysis_;
    std::string percentiles_ = "0,50,100";
    int jobs_ = 1;
};

}  // namespace travik::cli
