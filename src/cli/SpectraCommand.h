#pragma once

#include <ostream>
#include <string>

#include <CLI/CLI.hpp>

#include "ImportOptions.h"
#include "analysis/AnalysisSettings.h"
#include "analysis/DampingValues.h"

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
    std::string minPeriod_ = DefaultText(AnalysisSettings{}.minPeriod);
    std::string maxPeriod_ = DefaultText(AnalysisSettings{}.maxPeriod);
    std::string periodStep_ = DefaultText(AnalysisSettings{}.periodStep);
    std::string method_ =
        AnalysisSettings{}.method == IntegrationMethod::Newmark ? "newmark" : "exact";
    std::string maxDtOverT_ = DefaultText(AnalysisSettings{}.maxDtOverT);
    std::string beta_ = DefaultText(AnalysisSettings{}.beta);
    std::string gamma_ = DefaultText(AnalysisSettings{}.gamma);
    // The first damping value of the spectra page.
    std::string damping_ = DefaultText(kDefaultDampingPercents[0]);
    std::string periods_;
    bool quiet_ = false;
};

}  // namespace travik::cli
