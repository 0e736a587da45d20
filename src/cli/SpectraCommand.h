#pragma once

#include <ostream>
#include <string>

#include <CLI/CLI.hpp>

#include "AnalysisOptions.h"
#include "ImportOptions.h"

namespace travik::cli {

// `travik-cli spectra [options] FILE...`: writes <out>/<name>_RS.csv per record read.
class SpectraCommand {
  public:
    explicit SpectraCommand(CLI::App& app);
    bool Selected() const { return command_->parsed(); }
    int Run(std::ostream& out, std::ostream& err) const;

  private:
    CLI::App* command_;
    ImportOptions import_;
    AnalysisOptions analysis_;
    bool accuracyColumns_ = false;
    int jobs_ = 1;
    bool quiet_ = false;
};

}  // namespace travik::cli
