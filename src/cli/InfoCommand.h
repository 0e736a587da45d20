#pragma once

#include <ostream>

#include <CLI/CLI.hpp>

#include "ImportOptions.h"

namespace travik::cli {

// `travik-cli info [options] FILE...`: describes every record of every file (format,
// channel, samples, time step, duration, units, PGA) without writing anything. A file that
// cannot be read is reported on stderr and the others are still described.
class InfoCommand {
  public:
    explicit InfoCommand(CLI::App& app);
    bool Selected() const { return command_->parsed(); }
    int Run(std::ostream& out, std::ostream& err) const;

  private:
    CLI::App* command_;
    ImportOptions import_;
};

}  // namespace travik::cli
