#include "core/rotation/RotatedGroups.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>

#include "core/analysis/OscillatorIntegrators.h"

namespace travik {
namespace {

struct Prepared {
    RotatedOscillator oscillator;
    int subSteps = 0;
    PiecewiseExactCoefficients exact{};
};

bool AllFinite(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double x) { return std::isfinite(x); });
}

// The recurrence's coefficients as the one-oscillator code prepares them, and its refusals:
// no sub-step count, an unusable g, or coefficients that are not numbers (critical damping
// and beyond).
bool Prepare(const AnalysisSettings& settings, double timeStep, double zeta, double period,
             Prepared& prepared) {
    const int n = OscillatorSubStepCount(timeStep, period, settings.maxDtOverT);
    if (n == 0 || !std::isfinite(settings.g) || settings.g == 0) {
        return false;
    }
    const double omega = kTwoPi / period;
    const double h = timeStep / n;
    const PiecewiseExactCoefficients c = ComputePiecewiseExactCoefficients(zeta, h, omega);
    prepared.subSteps = n;
    prepared.exact = c;
    return AllFinite({c.A, c.B, c.Ap, c.Bp, c.C, c.D, c.Cp, c.Dp, 2 * zeta * omega, omega * omega});
}

// A group of chains advances a sub-step in about one unit of time more than it has chains:
// each chain of dependent operations waits about as long as one more chain's arithmetic.
double GroupCost(std::size_t size, std::size_t vectorLanes, int longest) {
    const std::size_t chains = 2 * ((size + vectorLanes - 1) / vectorLanes);
    return (1.0 + static_cast<double>(chains)) * static_cast<double>(longest);
}

// The sizes of consecutive groups of `prepared` (by descending count) of least total cost.
std::vector<std::size_t> CutGroups(const std::vector<Prepared>& prepared,
                                   std::size_t groupPeriods) {
    const std::size_t count = prepared.size();
    const std::size_t vectorLanes = std::max<std::size_t>(1, groupPeriods / 2);
    std::vector<double> cost(count + 1, 0.0);
    std::vector<std::size_t> take(count + 1, 0);
    for (std::size_t i = count; i-- > 0;) {
        cost[i] = std::numeric_limits<double>::infinity();
        for (std::size_t size = 1; size <= std::min(groupPeriods, count - i); ++size) {
            const double total =
                GroupCost(size, vectorLanes, prepared[i].subSteps) + cost[i + size];
            if (total < cost[i]) {
                cost[i] = total;
                take[i] = size;
            }
        }
    }
    std::vector<std::size_t> sizes;
    for (std::size_t i = 0; i < count; i += take[i]) {
        sizes.push_back(take[i]);
    }
    return sizes;
}

void FillPeriod(rotation::PairGroup& group, std::size_t q, const Prepared& p) {
    group.subSteps[q] = p.subSteps;
    group.A[q] = p.exact.A;
    group.B[q] = p.exact.B;
    group.C[q] = p.exact.C;
    group.D[q] = p.exact.D;
    group.Ap[q] = p.exact.Ap;
    group.Bp[q] = p.exact.Bp;
    group.Cp[q] = p.exact.Cp;
    group.Dp[q] = p.exact.Dp;
}

}  // namespace

std::vector<RotatedGroupPlan> PlanRotatedGroups(const AnalysisSettings& settings, double timeStep,
                                                const std::vector<double>& dampingRatios,
                                                const std::vector<double>& periods,
                                                std::size_t groupPeriods) {
    groupPeriods = std::clamp<std::size_t>(groupPeriods, 1, rotation::kMaxGroupPeriods);
    std::vector<Prepared> prepared;
    for (std::size_t d = 0; d < dampingRatios.size(); ++d) {
        for (std::size_t k = 0; k < periods.size(); ++k) {
            Prepared p;
            p.oscillator = {d, k};
            if (Prepare(settings, timeStep, dampingRatios[d], periods[k], p)) {
                prepared.push_back(p);
            }
        }
    }
    std::stable_sort(prepared.begin(), prepared.end(),
                     [](const Prepared& a, const Prepared& b) { return a.subSteps > b.subSteps; });
    std::vector<RotatedGroupPlan> plans;
    std::size_t first = 0;
    for (const std::size_t size : CutGroups(prepared, groupPeriods)) {
        RotatedGroupPlan& plan = plans.emplace_back();
        plan.group.periods = size;
        plan.group.maxSubSteps = prepared[first].subSteps;
        plan.group.minSubSteps = prepared[first + size - 1].subSteps;
        for (std::size_t q = 0; q < rotation::kMaxGroupPeriods; ++q) {
            // Unused places repeat the group's first oscillator; nothing reads their rows.
            const Prepared& p = prepared[first + (q < size ? q : 0)];
            FillPeriod(plan.group, q, p);
            plan.oscillators[q] = p.oscillator;
        }
        first += size;
    }
    return plans;
}

}  // namespace travik
