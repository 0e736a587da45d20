#pragma once

#include <string>
#include <string_view>

#include "core/export/ReportHeader.h"
#include "core/measures/GroundMotionMeasures.h"

namespace travik {

inline constexpr const char* kMeasuresReportSuffix = "_GM.csv";
inline constexpr const char* kFourierReportSuffix = "_FS.csv";
// Written in a report, or shown in a table, in place of a measure that is not available.
inline constexpr const char* kNotAvailableCell = "--";

// A measure's value as the report and the tables write it: full precision (at most 15
// significant digits) with the given decimal separator, or kNotAvailableCell.
std::string FormatMeasure(const Measure& measure, char decimalSeparator = '.');

// Empties `lines` and fills them with the measures report: the report header of the
// record, the lines naming the measures' settings, the column line "Name,Value,Unit,Note",
// then one line per measure (name, value, unit; a measure that is not available has
// "--" and the reason as its note).
void BuildMeasuresReport(ReportLines& lines, const TimeHistory& record,
                         const GroundMotionMeasures& measures, std::string_view edition,
                         const ReportDate& date);

// Empties `lines` and fills them with the Fourier amplitude spectrum report: the report
// header, a line naming the transform and the smoothing, the column line, then one line
// per frequency: frequency (Hz), amplitude and smoothed amplitude (cm/sec; "--" when not
// smoothed).
void BuildFourierReport(ReportLines& lines, const TimeHistory& record,
                        const GroundMotionMeasures& measures, std::string_view edition,
                        const ReportDate& date);

// The command line's one-line summary: "name PGA=... g PGV=... cm/s D5-95=... s".
std::string MeasuresSummaryLine(const GroundMotionMeasures& measures);

}  // namespace travik
