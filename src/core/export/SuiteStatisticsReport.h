#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/export/ReportHeader.h"
#include "core/spectra/SpectrumAccuracy.h"
#include "core/spectra/SuiteStatistics.h"

namespace travik {

inline constexpr const char* kSuiteStatisticsReportSuffix = "_mean_RS.csv";

// Empties `lines` and fills them with the statistics report: the report header of the
// first record with every record of the suite named on its source-file line, the column
// line, then one row per period with, for each kind, the columns Mean, Median, StdDev,
// Mean+StdDev, Mean-StdDev, LogMean, StdDevLn, LogMean+StdDevLn, LogMean-StdDevLn. Values
// are written as in the spectra report; a statistic that is not defined (the log-normal
// ones where a record's value is zero) is an empty field.
void BuildSuiteStatisticsReport(ReportLines& lines, const TimeHistory& firstRecord,
                                const SuiteSpectraStatistics& statistics, std::string_view edition,
                                const ReportDate& date);

// Inserts the columns "n" (sub-steps per sampling interval) and "dt/T" after the period
// column of a spectra report built by BuildSpectraReport for the same periods as
// `accuracy`. The period-0 row gets empty fields. Lines before the column line are kept.
void InsertAccuracyColumns(ReportLines& lines, const std::vector<PeriodAccuracy>& accuracy);

}  // namespace travik
