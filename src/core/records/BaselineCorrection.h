#pragma once

#include <optional>

#include "records/FilterSettings.h"
#include "records/TimeHistory.h"

namespace travik {

// Text of the warning the records page shows when a correction cannot be computed.
inline constexpr const char* kBaselineCorrectionFailedMessage = "Base Line Correction Failed!";

// Fills the record's corrected acceleration by the chosen fit (Linear or Parabolic) of a
// polynomial baseline, g in cm/sec^2. Returns false and changes nothing for records the
// fit is not defined for (fewer than two samples, a zero rescale divisor, any non-finite
// coefficient or sample). Does not set the corrected flag or integrate.
bool CorrectBaseline(TimeHistory& record, double gravity, BaselineCorrectionType type);

// Brings the record into the requested correction state (None clears a correction). A
// filtered record keeps its filter, applied to the newly corrected (or raw) acceleration.
// Returns false only when CorrectBaseline failed; the record is then unchanged.
bool ApplyBaselineCorrection(TimeHistory& record, BaselineCorrectionType type, double gravity);

// Makes the record's corrected set from the given baseline fit (None: the raw
// acceleration) and filter; with neither, drops the corrected set. Returns false, leaving the
// record as it was, when the fit is not defined for the record or the filter fails its check.
bool RebuildCorrectedSet(TimeHistory& record, BaselineCorrectionType baseline,
                         const std::optional<FilterSettings>& filter, double gravity);

}  // namespace travik
