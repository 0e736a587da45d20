#pragma once

#include <array>

#include "core/suite/SuiteScaling.h"
#include "ui/figures/ChartFigure.h"

namespace travik::figures {

// The figure of a scaled suite, two panels stacked: above, the selected records' spectra
// as scaled, their mean, the target and 90 % of it on log-log axes; below, the mean over
// the target at the analysis periods with the 0.9 and 1.0 lines. The period range of the
// fit and the rule is shaded in both.
std::array<ChartFigure, 2> ScalingCharts(const SuiteScaling& scaling);

}  // namespace travik::figures
