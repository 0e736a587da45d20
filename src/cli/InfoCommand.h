#pragma once

#include <ostream>

#include <CLI/CLI.hpp>

#include "ImportOptions.h"

namespace travik::cli {

// `travik-cli info [options] FILE...` (or `--workspace WS`): describes every record of every
// file (format, channel, samples, time step, duration, units, PGA) without writing anything;
// a workspace's files are read as it says, and each record's baseline correction and filter
// listed. A file that cannot be read or a workspace's missing file is reported on stderr and
// the others are still described (exit 1).
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
