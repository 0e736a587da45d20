#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/export/ReportHeader.h"
#include "core/rotation/ComponentPairs.h"
#include "core/rotation/RotatedSpectra.h"

namespace travik {

inline constexpr const char* kRotDReportSuffix = "_RotD.csv";

// The percentiles a report is computed with: RotD00, RotD50 and RotD100 always, and the
// others asked for, ascending and each once.
std::vector<double> RotDReportPercentiles(const std::vector<double>& asked);

// The column titles of the table: "Period [sec]", then per damping value d (in percent as
// the response-spectra report writes it) RotD00, RotD50 and RotD100 [g], the RotD100
// angle [deg], its azimuth [deg] when `withAzimuth`, GMRotI50, H1 and H2 PSa [g], and a
// "RotDnn [g] (d%)" column per further percentile of the result.
std::vector<std::string> RotDColumnTitles(const RotatedSpectraResult& result, bool withAzimuth);

// The report's table as cells: the column titles (RotDColumnTitles, with the azimuth when
// both azimuths are known), then one row per period, the first at period 0 holding the
// rotated peak ground accelerations. Values with seven significant digits and
// `decimalPoint`; a point that could not be computed is "--".
struct RotDTable {
    std::vector<std::string> titles;
    std::vector<std::vector<std::string>> rows;
};
RotDTable BuildRotDTable(const ComponentPair& pair, const RotatedSpectraResult& result,
                         char decimalPoint);

// The two-component report of a pair: the response-spectra report's header lines (of H1),
// a line naming both components (with their azimuths when known), a line of the rotated
// peak ground velocities RotD00/50/100 in cm/sec, the column line and one row per period,
// the first at period 0 holding the rotated peak ground accelerations. Values with seven
// significant digits and a full stop; a point that could not be computed is "--". The
// result's percentiles must include 0, 50 and 100 (RotDReportPercentiles).
void WriteRotDReport(const ReportLineSink& sink, const ComponentPair& pair,
                     const RotatedSpectraResult& result, std::string_view edition,
                     const ReportDate& date);

// The same lines, into `lines` (emptied first).
void BuildRotDReport(ReportLines& lines, const ComponentPair& pair,
                     const RotatedSpectraResult& result, std::string_view edition,
                     const ReportDate& date);

}  // namespace travik
