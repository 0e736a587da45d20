#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/export/ReportHeader.h"
#include "core/suite/SuiteScaling.h"

namespace travik {

inline constexpr const char* kScalingReportSuffix = "_scaling.csv";

// A number with seven significant digits, shortest form ("1.09815", "0.0002857402",
// "1.5e-07"), always with a full stop.
std::string FormatSevenDigits(double value);

// Writes the scaling report to `sink`: the report header of `firstRecord` with every motion
// of the suite named on its source-file line, then the motions' table (Record, Individual
// factor, Suite factor, Total factor, ln MSE, Selected, Rank; one row per motion given), one
// blank line, and the periods' table (Period [sec], Target [g], Suite mean [g], Mean /
// target, Smallest [g], Largest [g]; one row per analysis period inside the range, over the
// selected motions as scaled).
void WriteScalingReport(const ReportLineSink& sink, const TimeHistory& firstRecord,
                        const SuiteScaling& scaling, std::string_view edition,
                        const ReportDate& date);

// Writes the report as "<first record's stem>_scaling.csv" into `folder`, whole or not at
// all (ReportWriteError names the file), and returns its path.
std::filesystem::path WriteScalingReportFile(const std::filesystem::path& folder,
                                             const TimeHistory& firstRecord,
                                             const SuiteScaling& scaling, std::string_view edition,
                                             const ReportDate& date);

}  // namespace travik
