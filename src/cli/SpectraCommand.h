#pragma once

#include <ostream>
#include <string>

#include <CLI/CLI.hpp>

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
    std::string minPeriod_ = "0.02";
    std::string maxPeriod_ = "6";
    std::string periodStep_ = "0.02";
    std::string method_ = "exact";
    std::string maxDtOverT_ = "0.02";
    std::string beta_ = "0.25";
    std::string gamma_ = "0.5";
    std::string damping_ = "5";
    std::string periods_;
};

}  // namespace travik::cli
