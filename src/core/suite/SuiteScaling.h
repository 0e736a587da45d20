#pragma once

#include <string>
#include <vector>

#include "core/suite/RecordScaling.h"
#include "core/suite/ScalingOptions.h"
#include "core/suite/ScalingTarget.h"

namespace travik {

// One motion of a suite as the scaling sees it: its spectrum (g) at the analysis periods,
// PSa of a single component or a RotD measure of a pair, and its peak ground acceleration.
struct SuiteMember {
    std::string name;     // shown in reports: the file, or a pair's first component
    std::string station;  // motions of one station share this text
    double pga = 0.0;     // g
    std::vector<double> sa;
};

struct ScaledMember {
    double individualFactor = 1.0;  // the motion's own, within the limits
    double suiteFactor = 1.0;       // total / individual: the rule's common factor unless a
                                    // limit held the total
    double totalFactor = 1.0;
    double mse = 0.0;  // of the individual factor
    bool selected = false;
    int rank = 0;  // 1 for the smallest error; equal errors keep the order given
};

// One analysis period inside the range, over the selected motions scaled by their totals.
struct ScalingRow {
    double period = 0.0;  // s
    double target = 0.0;  // g
    double mean = 0.0;    // g
    double smallest = 0.0;
    double largest = 0.0;
};

// Why a suite could not be scaled at all.
enum class ScalingFailure {
    None,
    BadOptions,  // the options do not fit the periods or the motions
    BadTarget,   // the target is not defined or not positive at a period of the range
    BadMotion,   // a motion's spectrum is not positive at a period of the range
};

// The scaled suite, with everything it was computed from.
struct SuiteScaling {
    ScalingOptions options;
    ScalingTarget target;
    std::vector<double> periods;  // s, the analysis periods
    std::vector<SuiteMember> members;
    std::vector<double> targetSa;  // g, at every analysis period (NaN where undefined)
    RangeWeights range;

    ScalingFailure failure = ScalingFailure::None;
    std::string message;  // the failure, naming the period, motion or option

    std::vector<ScaledMember> scaled;  // one per member, in the order given
    double suiteFactor = 1.0;          // the common factor the rule asks for
    bool limitsHeld = false;           // a limit kept some total from f * c
    std::vector<ScalingRow> rows;
    double meanPga = 0.0;                // g, of the selected motions as scaled
    double targetPga = 0.0;              // g, the target at T = 0 (the rule ec8)
    bool ruleMet = true;                 // false when limits keep the suite short of its rule
    std::vector<double> failingPeriods;  // s, where the mean stays below 90 % of the target
    bool pgaFails = false;               // ec8: the mean PGA stays below the target's
    std::vector<std::string> warnings;   // too few motions for the rule

    int SelectedCount() const;
};

// Fits every motion to the target over the range, selects the motions of the smallest
// error (at most options.maxPerStation of one station), applies the rule's common factor,
// and tabulates the suite against the target.
SuiteScaling ScaleSuite(const std::vector<double>& periods, std::vector<SuiteMember> members,
                        const ScalingTarget& target, const ScalingOptions& options);

}  // namespace travik
