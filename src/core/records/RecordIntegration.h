#pragma once

#include <optional>
#include <string>

#include "core/records/TimeHistory.h"

namespace travik {

// Integrates a record just read (Raw set, with `gravity` in cm/sec^2) and marks it
// integrated; every import does this. Returns the failure message instead when memory runs
// out or the times, velocities or displacements are not finite (a huge time step or g).
std::optional<std::string> IntegrateImportedRecord(TimeHistory& record, double gravity);

}  // namespace travik
