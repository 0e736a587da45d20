#pragma once

#include <ostream>

#include <CLI/CLI.hpp>

#include "ImportOptions.h"

namespace travik::cli {

// `travik-cli records [options] FILE...`: writes <out>/<name>_TH.csv per record read.
class RecordsCommand {
  public:
    explicit RecordsCommand(CLI::App& app);
    bool Selected() const { return command_->parsed(); }
    int Run(std::ostream& out, std::ostream& err) const;

  private:
    CLI::App* command_;
    ImportOptions import_;
};

}  // namespace travik::cli
