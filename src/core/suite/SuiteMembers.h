#pragma once

#include <vector>

#include "core/records/TimeHistory.h"
#include "core/spectra/SuiteSpectra.h"
#include "core/suite/SuiteScaling.h"

namespace travik {

// The suite's motions as the scaling sees them: PSa of each record at the suite's damping,
// its PGA, and the file it came from as its station (the formats read give no station code
// of their own). `suite` holds the spectra of every one of `records`, in the same order (a
// suite with failed records leaves them out of its curves: nothing is returned for it).
std::vector<SuiteMember> SuiteMembersOf(const std::vector<const TimeHistory*>& records,
                                        const SuiteSpectra& suite);

}  // namespace travik
