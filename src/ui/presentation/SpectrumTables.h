#pragma once

#include <QString>

#include "core/analysis/SpectraComputation.h"
#include "core/spectra/SuiteStatistics.h"
#include "ui/app/StringGrid.h"

// The result tables of the spectra page: one row per period, one column per damping ratio.

// Column heading of a damping ratio (fraction): 0.05 gives "Damp.=5%", 0.025 "Damp.=2.5%".
QString SpectrumTableHeading(double dampingRatio, char decimalSeparator);

// Empties every cell, the header row and the period column included; sizes stay.
void ClearSpectrumTable(StringGrid& grid);

// Lays out the grid for one spectrum kind of the result: "Period[sec]" and the damping
// headings in row 0, the periods in column 0, the values with six decimals, every column
// 80 pixels wide or as wide as its widest text, one row per period and one column per
// damping ratio. A damping ratio whose runs did not all succeed leaves its cells empty.
// With `subStepColumn` the column "n" (the sub-step count of each period, empty for the
// period 0) follows the periods and the damping columns move one to the right.
void FillSpectrumTable(StringGrid& grid, const travik::SpectraResult& result,
                       travik::SpectrumKind kind, char decimalSeparator,
                       bool subStepColumn = false);

// Lays out the grid for the statistics of the checked records, one spectrum kind: the
// periods in column 0, then Mean, Median, StdDev, Mean+StdDev, Mean-StdDev, LogMean,
// StdDevLn, LogMean+StdDevLn and LogMean-StdDevLn, headed as in the statistics report
// ("Pseudo-Acc.Damp.=5% Mean"), six decimals; a statistic that is not defined (log-normal
// ones where a record's value is zero) is an empty cell. No records: the grid is emptied.
void FillSuiteStatisticsTable(StringGrid& grid, const travik::SuiteSpectraStatistics& statistics,
                              travik::SpectrumKind kind, char decimalSeparator);
