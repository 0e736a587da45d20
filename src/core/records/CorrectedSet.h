#pragma once

#include <optional>

#include "core/records/BaselineCorrection.h"
#include "core/records/FilterSettings.h"
#include "core/records/TimeHistory.h"

namespace travik {

// The corrected set of a record: its baseline fit, then its filter, then velocity and
// displacement integrated again. Each step lives in its own file; this is the order they
// are run in.

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
