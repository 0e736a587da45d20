#include "core/records/CorrectedSet.h"

#include <span>

#include "core/records/ButterworthFilter.h"

namespace travik {

bool ApplyBaselineCorrection(TimeHistory& record, BaselineCorrectionType type, double gravity) {
    if (record.SampleCount() == 0) {
        return true;
    }
    const bool filtered = record.IsCorrected() && record.Filter().has_value();
    if (type == BaselineCorrectionType::None && !filtered) {
        if (record.IsCorrected()) {
            record.ClearCorrection();
        }
        return true;
    }
    if (record.IsCorrected() && record.CorrectionType() == type) {
        return true;
    }
    if (filtered) {
        // The filter stays and is run again over the newly corrected acceleration.
        const std::optional<FilterSettings> filter = record.Filter();
        return RebuildCorrectedSet(record, type, filter, gravity);
    }
    if (!CorrectBaseline(record, gravity, type)) {
        return false;
    }
    record.SetCorrected(true);
    record.SetCorrectionType(type);
    IntegrateMotion(record, gravity, MotionSet::Corrected);
    return true;
}

bool RebuildCorrectedSet(TimeHistory& record, BaselineCorrectionType baseline,
                         const std::optional<FilterSettings>& filter, double gravity) {
    if (baseline == BaselineCorrectionType::None && !filter) {
        record.ClearCorrection();
        return true;
    }
    std::optional<ButterworthDesign> design;
    if (filter) {
        design = DesignButterworth(*filter, record.TimeStep());
        if (!design || filter->Check(record.TimeStep(), record.SampleCount())) {
            return false;
        }
    }
    if (baseline != BaselineCorrectionType::None) {
        if (!CorrectBaseline(record, gravity, baseline)) {
            return false;
        }
    }
    const DOUBLEVECTOR& base = baseline == BaselineCorrectionType::None
                                   ? record.RawAcceleration()
                                   : record.CorrectedAcceleration();
    // An acausal filter spreads motion into the zero pads on both sides of the record; cut
    // away, the pads take with them the part of the low-frequency content that balances the
    // record's own, and the record integrated from rest drifts (Boore, 2005, "On pads and
    // filters: processing strong-motion data"; Boore and Bommer, 2005). As strong-motion
    // processing keeps its pads, the velocity and displacement are those of the whole
    // padded, filtered record integrated from rest at the start of its leading pad: the
    // record begins with the motion the leading pad carries into it. This holds whatever
    // baseline fit ran before the filter, none included. A causal filter's leading pad
    // stays at rest, so its record is integrated from rest at its own first sample.
    MotionState start;
    if (design) {
        const PaddedSeries filtered = FilterSeriesPadded(*design, base);
        if (design->settings.acausal) {
            start = IntegrateToLastSample(filtered.LeadThroughFirst(), record.TimeStep(), gravity);
        }
        const std::span<const double> inner = filtered.Inner();
        record.MutableCorrectedAcceleration().assign(inner.begin(), inner.end());
    }
    record.SetCorrected(true);
    record.SetCorrectionType(baseline);
    record.SetFilter(filter);
    IntegrateMotion(record, gravity, MotionSet::Corrected, start);
    return true;
}

}  // namespace travik
