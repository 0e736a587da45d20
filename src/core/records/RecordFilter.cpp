#include "core/records/RecordFilter.h"

#include <utility>

#include "core/records/CorrectedSet.h"

namespace travik {

FilterOutcome ApplyFilter(TimeHistory& record, const std::optional<FilterSettings>& filter,
                          double gravity) {
    FilterOutcome outcome;
    if (filter) {
        if (auto problem = filter->Check(record.TimeStep(), record.SampleCount())) {
            outcome.ok = false;
            outcome.problem = std::move(*problem);
            return outcome;
        }
    }
    const BaselineCorrectionType baseline =
        record.IsCorrected() ? record.CorrectionType() : BaselineCorrectionType::None;
    if (!RebuildCorrectedSet(record, baseline, filter, gravity)) {
        outcome.ok = false;
        outcome.problem = {FilterField::Record, kBaselineCorrectionFailedMessage};
    } else if (filter) {
        outcome.warning = filter->ResolutionWarning(record.TimeStep(), record.SampleCount());
    }
    return outcome;
}

}  // namespace travik
