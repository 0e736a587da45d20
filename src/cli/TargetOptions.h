#pragma once

#include <optional>
#include <string>

#include <CLI/CLI.hpp>

#include "core/suite/ScalingTarget.h"

namespace travik::cli {

// The target spectrum options: a file, or one of the code spectra.
struct TargetOptions {
    std::string file;
    std::string asce;
    std::string eurocode;
};

void AddTargetOptions(CLI::App& command, TargetOptions& options);

// The target the options name. On a refusal `message` says why and the result is the exit
// status (kExitBadOption for an option, kExitFailure for a file that cannot be read).
struct TargetChoice {
    std::optional<ScalingTarget> target;  // none when no option was given
    int exitCode = 0;
    std::string message;
};

TargetChoice ReadTargetOptions(const TargetOptions& options);

}  // namespace travik::cli
