#pragma once

#include <filesystem>
#include <string>

#include "core/suite/SuiteScaling.h"

namespace travik::cli {

// Draws the scaled suite's two-panel figure into `path` as `format` (png, svg or pdf) at
// the renderer's default size and resolution. Throws ReportWriteError when the file cannot
// be written.
void SaveScalingFigure(const SuiteScaling& scaling, double g, const std::filesystem::path& path,
                       const std::string& format);

}  // namespace travik::cli
