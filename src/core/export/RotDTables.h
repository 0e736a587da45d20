#pragma once

#include <string>
#include <string_view>

#include "core/rotation/RotatedSpectra.h"

namespace travik {

// The long table a batch over a whole database writes for two-component motions:
// comma-separated, one line per motion, damping value and period, numbers in the shortest
// form that reads back to the same double (as the single-component tables).

// "h1_record,h1_channel,h2_record,h2_channel,damping_percent,period_s,RotD00_g,RotD50_g,
// RotD100_g,RotD100_angle_deg,GMRotI50_g,H1_PSa_g,H2_PSa_g"
std::string RotDTableHeading();

// The rows of every computed oscillator of `result`, damping value by damping value, periods
// ascending, each ending in '\n'. The result must hold the percentiles 0, 50 and 100; an
// oscillator that was not computed has no row.
std::string RotDTableRows(std::string_view h1Record, std::string_view h1Channel,
                          std::string_view h2Record, std::string_view h2Channel,
                          const RotatedSpectraResult& result);

}  // namespace travik
