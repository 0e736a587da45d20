#include "core/records/RecordIntegration.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "core/text/NumberFormat.h"
#include "core/text/ShownText.h"

namespace travik {
namespace {

// Samples that are numbers can still integrate to motion that is not (a huge time step or
// g): such a record would fill every report with "inf" and every spectrum with nonsense.
bool MotionIsFinite(const TimeHistory& record) {
    const auto finite = [](const DOUBLEVECTOR& series) {
        return std::all_of(series.begin(), series.end(), [](double x) { return std::isfinite(x); });
    };
    const double lastTime = static_cast<double>(record.SampleCount() - 1) * record.TimeStep();
    return std::isfinite(lastTime) && finite(record.RawVelocity()) &&
           finite(record.RawDisplacement());
}

std::string NotFiniteMotionMessage(const TimeHistory& record, double gravity) {
    return "FILE: " + ShownText(record.SourceFileName()) +
           ", ERROR: The times, velocities or displacements of this record are too large for "
           "numbers (time step " +
           FormatGeneral(record.TimeStep()) + " s, g " + FormatGeneral(gravity) +
           " cm/sec^2): check the time step, the scaling factor and g";
}

}  // namespace

std::optional<std::string> IntegrateImportedRecord(TimeHistory& record, double gravity) {
    try {
        IntegrateMotion(record, gravity, MotionSet::Raw);
    } catch (const std::bad_alloc&) {
        return "FILE: " + ShownText(record.SourceFileName()) +
               ", ERROR: Not enough memory to integrate the record";
    }
    if (!MotionIsFinite(record)) {
        return NotFiniteMotionMessage(record, gravity);
    }
    record.SetIntegrated(true);
    return std::nullopt;
}

}  // namespace travik
