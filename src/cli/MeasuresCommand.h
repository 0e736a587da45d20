#pragma once

#include <ostream>
#include <string>

#include <CLI/CLI.hpp>

#include "ImportOptions.h"
#include "core/measures/GroundMotionMeasures.h"

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
    std::string bracketThreshold_ = DefaultText(MeasureSettings{}.bracketThreshold);
    std::string maxDtOverT_ = DefaultText(MeasureSettings{}.maxDtOverT);
    bool summary_ = false;
};

}  // namespace travik::cli
