#pragma once

#include <optional>

#include "core/records/FilterSettings.h"
#include "core/records/TimeHistory.h"

namespace travik {

// Text of the warning the records page shows when a correction cannot be computed.
inline constexpr const char* kBaselineCorrectionFailedMessage = "Base Line Correction Failed!";

// Fills the record's corrected acceleration by the chosen fit (Linear or Parabolic) of a
// polynomial baseline, g in cm/sec^2. Returns false and changes nothing for records the
// fit is not defined for (fewer than two samples, a zero rescale divisor, any non-finite
// coefficient or sample). Does not set the corrected flag or integrate.
bool CorrectBaseline(TimeHistory& record, double gravity, BaselineCorrectionType type);

}  // namespace travik
