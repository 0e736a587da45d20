#pragma once

#include <optional>
#include <string>

#include "core/records/FilterSettings.h"
#include "core/records/TimeHistory.h"

namespace travik {

struct FilterOutcome {
    bool ok = true;
    FilterProblem problem;               // when !ok
    std::optional<std::string> warning;  // FilterSettings::ResolutionWarning, when ok
};

// Sets (or with nothing, removes) the record's filter: the corrected acceleration becomes
// the filtered baseline-corrected acceleration when the record has a baseline correction,
// else the filtered raw acceleration; velocity and displacement of the corrected set are
// integrated again with `gravity` (cm/sec^2). On a failed check the record is unchanged.
FilterOutcome ApplyFilter(TimeHistory& record, const std::optional<FilterSettings>& filter,
                          double gravity);

}  // namespace travik
