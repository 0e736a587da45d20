#pragma once

#include <cstddef>
#include <optional>

#include "core/rotation/RotatedSpectra.h"
#include "ui/figures/ChartFigure.h"

namespace travik::figures {

// The curves of the polar figure, in this order.
enum class PolarCurve : std::size_t { Peaks = 0, RotD50 = 1, RotD100Direction = 2 };

// The 180 rotated peaks of one oscillator of a pair (or of the ground acceleration) in the
// plane of the two components: the peak at angle theta is drawn at theta and theta + 180
// degrees (a direction of shaking has two ends), H1 along the X axis and H2 along Y, so
// that the outline's farthest reach is RotD100. The RotD50 circle is dashed and the RotD100
// direction a line through the origin at its angle. Both axes span the same symmetric range
// in g. `period` indexes the result's periods; nothing: the ground acceleration.
// The title names the period and the RotD100 angle, and `azimuth`, the RotD100 direction's
// azimuth, when known.
ChartFigure RotatedPeaksFigure(const RotatedSpectraResult& result, std::size_t damping,
                               std::optional<std::size_t> period, std::optional<double> azimuth,
                               char decimalSeparator);

}  // namespace travik::figures
