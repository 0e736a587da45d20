#pragma once

#include <string>
#include <string_view>

#include "core/analysis/SpectraComputation.h"
#include "core/measures/GroundMotionMeasures.h"
#include "core/text/ShownText.h"

namespace travik {

// The long tables a batch over a whole database writes: comma-separated, one line per
// record, channel, damping value and period (spectra) or per record and channel (measures).
// Numbers are written in the shortest form that reads back to the same double, so a table
// loses nothing of what the core computed.

// "record,channel,damping_percent,period_s,Sd_cm,Sv_cm_s,Sa_g,PSv_cm_s,PSa_g"
std::string SpectraTableHeading();

// The rows of every computed oscillator of `result` (the period 0 left out), damping value
// by damping value, periods ascending, each ending in '\n'. A run that failed has no row.
std::string SpectraTableRows(std::string_view record, std::string_view channel,
                             const SpectraResult& result);

// "record,channel," then one column per measure, named "<name> (<unit>)".
std::string MeasuresTableHeading();

// One line of the measures of a record; a measure that is not available is left empty.
std::string MeasuresTableRow(std::string_view record, std::string_view channel,
                             const GroundMotionMeasures& measures);

// The shortest text that reads back to the same double ("nan", "inf" for the others).
std::string ExactNumber(double value);

}  // namespace travik
