#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "core/analysis/AnalysisSettings.h"
#include "core/rotation/RotationKernels.h"

namespace travik {

// Which oscillator of the result a period of a group is: indices into the damping ratios
// and the periods.
struct RotatedOscillator {
    std::size_t damping = 0;
    std::size_t period = 0;
};

// One group of oscillators for the pair kernels, with the oscillators it stands for.
struct RotatedGroupPlan {
    rotation::PairGroup group;
    std::array<RotatedOscillator, rotation::kMaxGroupPeriods> oscillators{};
};

// The oscillators of every damping ratio (fraction) and period (s) that the piecewise exact
// recurrence computes with the settings' sub-steps of a `timeStep` (s) pair, cut into
// groups of at most `groupPeriods` (an even number: two vectors' lanes) so that groups
// share sub-step counts where they can: by descending count, each group costing its
// largest count times its chains' latency. Oscillators the single-component spectra refuse
// are in no group.
std::vector<RotatedGroupPlan> PlanRotatedGroups(const AnalysisSettings& settings, double timeStep,
                                                const std::vector<double>& dampingRatios,
                                                const std::vector<double>& periods,
                                                std::size_t groupPeriods);

}  // namespace travik
