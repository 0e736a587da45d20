#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "core/analysis/AnalysisSettings.h"
#include "core/rotation/ComponentPairs.h"
#include "core/spectra/SuiteSpectra.h"
#include "core/suite/ScalingOptions.h"
#include "core/suite/SuiteScaling.h"

namespace travik {

// The two-component motions of a suite as the scaling sees them.
struct PairMembers {
    std::vector<SuiteMember> members;  // one per pair, in the order given
    // H1 of each pair whose rotated spectra could not be computed (too short, or an
    // oscillator the integrator refuses); the members are then not complete.
    std::vector<std::string> failedPairs;
    bool cancelled = false;
};

// The RotD50 or RotD100 spectrum (g) of every pair at `periods` (s, the analysis periods;
// the period 0 takes the rotated peak ground acceleration), at `dampingRatio`, with the
// measure's rotated PGA as the member's PGA. A pair is named by its first component and its
// station is H1's file, so a pair counts once in a selection. `pairs` must not be refused.
// `progress` hears the count of pairs done and of pairs; a set `*cancel` stops before the
// next pair.
PairMembers PairMembersOf(const std::vector<const ComponentPair*>& pairs,
                          const AnalysisSettings& settings, double dampingRatio,
                          const std::vector<double>& periods, ScalingMeasure measure,
                          const SuiteProgress& progress = {},
                          const std::atomic<bool>* cancel = nullptr);

}  // namespace travik
