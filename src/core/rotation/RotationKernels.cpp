// Vector kernels of the rotated spectra, compiled once per instruction set by Highway's
// foreach_target.h and chosen at run time. Only Mul, Add, Div, Abs, comparisons and
// selections touch the numbers (never MulAdd), lane by lane in the order of the plain code,
// and the library is built with -ffp-contract=off: the digits do not depend on the choice.
#include "core/rotation/RotationKernels.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <utility>

// Scalable vectors cannot be members of the small structs below; those processors run the
// fixed-width or portable kernels instead (as the single-component kernels do).
#ifndef HWY_DISABLED_TARGETS
#define HWY_DISABLED_TARGETS (HWY_SVE | HWY_SVE2 | HWY_SVE_256 | HWY_SVE2_128 | HWY_RVV)
#endif

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "core/rotation/RotationKernels.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep
// foreach_target.h must come first.
#include <hwy/highway.h>

#include "core/analysis/LaneBasics-inl.h"

HWY_BEFORE_NAMESPACE();
namespace travik::rotation {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

using kernels::HWY_NAMESPACE::ForEachVector;
using kernels::HWY_NAMESPACE::KeepPeak;
using kernels::HWY_NAMESPACE::M;
using kernels::HWY_NAMESPACE::Tag;
using kernels::HWY_NAMESPACE::V;

// The plain code's rule for one value: a non-number never wins.
HWY_INLINE double KeepPeak(double candidate, double peak) {
    return candidate > peak ? candidate : peak;
}

// One vector of oscillators under one component.
struct ExactLanes {
    V A, B, C, D, Ap, Bp, Cp, Dp;
    V u, v;

    void Load(const PairGroup& group, const double* u0, const double* v0, std::size_t offset) {
        const Tag d;
        A = hn::Load(d, group.A + offset);
        B = hn::Load(d, group.B + offset);
        C = hn::Load(d, group.C + offset);
        D = hn::Load(d, group.D + offset);
        Ap = hn::Load(d, group.Ap + offset);
        Bp = hn::Load(d, group.Bp + offset);
        Cp = hn::Load(d, group.Cp + offset);
        Dp = hn::Load(d, group.Dp + offset);
        u = hn::Load(d, u0 + offset);
        v = hn::Load(d, v0 + offset);
    }

    void Save(double* u0, double* v0, std::size_t offset) const {
        const Tag d;
        hn::Store(u, d, u0 + offset);
        hn::Store(v, d, v0 + offset);
    }

    // u1 = A u + B v + C p0 + D p1, v1 = A' u + B' v + C' p0 + D' p1, summed left to right.
    HWY_INLINE void Step(V p0, V p1) {
        const V u1 =
            hn::Add(hn::Add(hn::Add(hn::Mul(A, u), hn::Mul(B, v)), hn::Mul(C, p0)), hn::Mul(D, p1));
        const V v1 = hn::Add(hn::Add(hn::Add(hn::Mul(Ap, u), hn::Mul(Bp, v)), hn::Mul(Cp, p0)),
                             hn::Mul(Dp, p1));
        u = u1;
        v = v1;
    }

    // The same for the lanes in `active`; the others keep their state.
    HWY_INLINE void Step(V p0, V p1, M active) {
        const V u1 =
            hn::Add(hn::Add(hn::Add(hn::Mul(A, u), hn::Mul(B, v)), hn::Mul(C, p0)), hn::Mul(D, p1));
        const V v1 = hn::Add(hn::Add(hn::Add(hn::Mul(Ap, u), hn::Mul(Bp, v)), hn::Mul(Cp, p0)),
                             hn::Mul(Dp, p1));
        u = hn::IfThenElse(active, u1, u);
        v = hn::IfThenElse(active, v1, v);
    }
};

// The ground acceleration of one component within one sampling interval: the value at the
// end of sub-step i is i * delta + start with delta = (a[j] - a[j-1]) g / n, n being each
// lane's own count, as the one-oscillator code computes it.
struct GroundRamp {
    V start, delta;

    HWY_INLINE V At(V i) const { return hn::Add(hn::Mul(i, delta), start); }
};

// Where AdvanceBlock's displacements go: every sub-step end's row to the block.
struct RowSink {
    double* row;

    HWY_INLINE void Take(std::size_t k, V x, V y) {
        const std::size_t width = hn::Lanes(Tag());
        hn::Store(x, Tag(), row + k * width);
        hn::Store(y, Tag(), row + kMaxGroupPeriods + k * width);
    }

    HWY_INLINE void EndRow() { row += kRowWidth; }
};

// K vectors per component: vector k holds periods k * width on, under H1 and under H2,
// each of the 2K vectors an independent chain that fills the others' waits.
template <std::size_t K, class Sink>
void AdvanceBlock(const double* h1, const double* h2, std::size_t first, std::size_t count,
                  double g, PairGroup& group, Sink& sink) {
    const Tag d;
    const std::size_t width = hn::Lanes(d);
    ExactLanes one[K], two[K];
    V n[K];
    ForEachVector<K>([&](auto k) {
        one[k].Load(group, group.u1, group.v1, k * width);
        two[k].Load(group, group.u2, group.v2, k * width);
        n[k] = hn::Load(d, group.subSteps + k * width);
    });
    for (std::size_t j = first; j < first + count; ++j) {
        const V start1 = hn::Set(d, g * h1[j - 1]);
        const V rise1 = hn::Set(d, (h1[j] - h1[j - 1]) * g);
        const V start2 = hn::Set(d, g * h2[j - 1]);
        const V rise2 = hn::Set(d, (h2[j] - h2[j - 1]) * g);
        GroundRamp ramp1[K], ramp2[K];
        V p01[K], p02[K];
        ForEachVector<K>([&](auto k) {
            ramp1[k] = {start1, hn::Div(rise1, n[k])};
            ramp2[k] = {start2, hn::Div(rise2, n[k])};
            p01[k] = ramp1[k].At(hn::Zero(d));
            p02[k] = ramp2[k].At(hn::Zero(d));
        });
        for (int i = 1; i <= group.maxSubSteps; ++i) {
            const V after = hn::Set(d, static_cast<double>(i));
            const bool everyLane = i <= group.minSubSteps;
            ForEachVector<K>([&](auto k) {
                const V p11 = ramp1[k].At(after);
                const V p12 = ramp2[k].At(after);
                if (everyLane) {
                    one[k].Step(p01[k], p11);
                    two[k].Step(p02[k], p12);
                } else {
                    const M active = hn::Le(after, n[k]);
                    one[k].Step(p01[k], p11, active);
                    two[k].Step(p02[k], p12, active);
                }
                p01[k] = p11;
                p02[k] = p12;
                sink.Take(k, one[k].u, two[k].u);
            });
            sink.EndRow();
        }
    }
    ForEachVector<K>([&](auto k) {
        one[k].Save(group.u1, group.v1, k * width);
        two[k].Save(group.u2, group.v2, k * width);
    });
}

void AdvancePairGroupImpl(const double* h1, const double* h2, std::size_t first, std::size_t count,
                          double g, PairGroup& group, double* rows) {
    RowSink sink{rows};
    if (group.periods <= hn::Lanes(Tag())) {
        AdvanceBlock<1>(h1, h2, first, count, g, group, sink);
    } else {
        AdvanceBlock<2>(h1, h2, first, count, g, group, sink);
    }
}

std::size_t GroupPeriodsImpl() {
    return std::min<std::size_t>(kMaxGroupPeriods, 2 * hn::Lanes(Tag()));
}

// Every angle of sector `sector` raised with the pair (x, y).
HWY_INLINE void RaiseSector(const AngleTable& angles, std::size_t sector, V x, V y,
                            RotationPeaks& state) {
    const Tag d;
    const std::size_t width = hn::Lanes(d);
    const std::size_t first = sector * kSectorAngles;
    V smallest = hn::Set(d, HUGE_VAL);
    for (std::size_t a = first; a < first + kSectorAngles; a += width) {
        const V c = hn::Load(d, angles.c + a);
        const V s = hn::Load(d, angles.s + a);
        const V value = hn::Abs(hn::Add(hn::Mul(c, x), hn::Mul(s, y)));
        const V peak = KeepPeak(value, hn::Load(d, state.peaks + a));
        hn::Store(peak, d, state.peaks + a);
        smallest = hn::Min(smallest, peak);
    }
    state.sectorFloor[sector] = hn::GetLane(hn::MinOfLanes(d, smallest));
    if (sector + 1 == kSectors) {
        state.sectorFloor[kSectors] = state.sectorFloor[sector];  // the padding's copy
    }
}

double SmallestFloor(const RotationPeaks& state) {
    const Tag d;
    const std::size_t width = hn::Lanes(d);
    V smallest = hn::Set(d, HUGE_VAL);
    for (std::size_t k = 0; k < kPaddedSectors; k += width) {
        smallest = hn::Min(smallest, hn::Load(d, state.sectorFloor + k));
    }
    return hn::GetLane(hn::MinOfLanes(d, smallest));
}

// Below this smallest peak the squares of the radius test could leave the normal range;
// every pair then goes through the sector test.
constexpr double kLeastPrunedFloor = 1e-100;

// The radius test compares squared radii with the squared floor; this margin, far above
// the few units in the last place a rotated value can exceed the radius by rounding, keeps
// a pair that might still raise a peak.
constexpr double kRadiusMargin = 1.0 - 1e-12;

double SquaredFloor(double floor) {
    return floor < kLeastPrunedFloor ? -1.0 : floor * floor * kRadiusMargin;
}

// The lanes of a mask as the low bits of a number.
HWY_INLINE unsigned MaskBits(M mask) {
    uint8_t bits[8] = {};
    hn::StoreMaskBits(Tag(), mask, bits);
    return bits[0];
}

constexpr double kNormalSquare = 1e-200;
constexpr double kLeastReach = 1e-300;

// One pair through the sector test and, for the sectors it may raise, the angle loop.
// Returns whether any sector was raised.
HWY_INLINE bool RaisePair(const AngleTable& angles, double x, double y, double r2,
                          RotationPeaks& state) {
    const Tag d;
    const std::size_t width = hn::Lanes(d);
    const V vx = hn::Set(d, x);
    const V vy = hn::Set(d, y);
    // The radius, or where its square may have left the normal range a bound of it; and a
    // least reach that keeps values near the smallest numbers from being passed over.
    const double radius = r2 >= kNormalSquare ? std::sqrt(r2) : std::fabs(x) + std::fabs(y);
    const V reach = hn::Set(d, radius * angles.chord + kLeastReach);
    bool raised = false;
    for (std::size_t k = 0; k < kPaddedSectors; k += width) {
        const V middle = hn::Abs(hn::Add(hn::Mul(hn::Load(d, angles.sectorC + k), vx),
                                         hn::Mul(hn::Load(d, angles.sectorS + k), vy)));
        // Passed over only where the bound is surely below: a non-number goes on.
        const M open = hn::Not(hn::Lt(hn::Add(middle, reach), hn::Load(d, state.sectorFloor + k)));
        if (hn::AllFalse(d, open)) {
            continue;
        }
        for (unsigned bits = MaskBits(open); bits != 0; bits &= bits - 1) {
            const std::size_t sector = k + static_cast<std::size_t>(std::countr_zero(bits));
            if (sector < kSectors) {
                RaiseSector(angles, sector, vx, vy, state);
                raised = true;
            }
        }
    }
    return raised;
}

// The pairs of the lanes of `open` raised, each lane's pair (x, y) with its squared radius
// r2 going to state(lane), which then renews its floors. Returns whether any was raised.
template <class StateOf>
HWY_INLINE bool RaiseOpenLanes(M open, V x, V y, V r2, StateOf stateOf) {
    const Tag d;
    HWY_ALIGN double xs[8], ys[8], r2s[8];
    hn::Store(x, d, xs);
    hn::Store(y, d, ys);
    hn::Store(r2, d, r2s);
    bool any = false;
    for (unsigned bits = MaskBits(open); bits != 0; bits &= bits - 1) {
        const auto lane = static_cast<std::size_t>(std::countr_zero(bits));
        RotationPeaks& state = stateOf(lane);
        if (RaisePair(RotationAngles(), xs[lane], ys[lane], r2s[lane], state)) {
            state.floor = SmallestFloor(state);
            any = true;
        }
    }
    return any;
}

// One series of pairs: the largest radius first, then every pair whose radius is not below
// the floor, a vector of consecutive pairs at a time.
std::size_t RaiseSeriesPeaksImpl(const double* x, const double* y, std::size_t count,
                                 RotationPeaks& state) {
    const Tag d;
    const std::size_t width = hn::Lanes(d);
    std::size_t largest = 0;
    double largest2 = -1.0;
    for (std::size_t k = 0; k < count; ++k) {
        const double r2 = x[k] * x[k] + y[k] * y[k];
        state.h1 = KeepPeak(std::fabs(x[k]), state.h1);
        state.h2 = KeepPeak(std::fabs(y[k]), state.h2);
        if (r2 > largest2) {
            largest2 = r2;
            largest = k;
        }
    }
    std::size_t raised = 0;
    const auto one = [&](double xk, double yk) {
        const double r2 = xk * xk + yk * yk;
        if (!(r2 < SquaredFloor(state.floor)) && RaisePair(RotationAngles(), xk, yk, r2, state)) {
            state.floor = SmallestFloor(state);
            ++raised;
        }
    };
    if (count > 0) {
        one(x[largest], y[largest]);
    }
    std::size_t k = 0;
    for (; k + width <= count; k += width) {
        const V vx = hn::LoadU(d, x + k);
        const V vy = hn::LoadU(d, y + k);
        const V r2 = hn::Add(hn::Mul(vx, vx), hn::Mul(vy, vy));
        const M open = hn::Not(hn::Lt(r2, hn::Set(d, SquaredFloor(state.floor))));
        if (!hn::AllFalse(d, open)) {
            raised += RaiseOpenLanes(open, vx, vy, r2,
                                     [&](std::size_t) -> RotationPeaks& { return state; });
        }
    }
    for (; k < count; ++k) {
        one(x[k], y[k]);
    }
    return raised;
}

// The squared floors of a group's periods from their floors.
void RenewSquaredFloors(GroupPeaks& peaks) {
    for (std::size_t q = 0; q < kMaxGroupPeriods; ++q) {
        peaks.floor2[q] = SquaredFloor(peaks.periods[q].floor);
    }
}

// Lanes of vector k that hold one of the group's periods (the others hold copies, never
// raised).
HWY_INLINE M UsedLanes(const PairGroup& group, std::size_t k) {
    const std::size_t width = hn::Lanes(Tag());
    return hn::FirstN(Tag(), std::min(width, group.periods - k * width));
}

// Where the seeding pass's displacements go: per period (a lane), the largest |x| and |y|,
// and the pair of largest radius, kept in registers.
template <std::size_t K>
struct SeedSink {
    V best2[K], bestX[K], bestY[K], h1[K], h2[K];

    explicit SeedSink(const GroupPeaks& peaks) {
        const Tag d;
        ForEachVector<K>([&](auto k) {
            best2[k] = hn::Set(d, -1.0);
            bestX[k] = bestY[k] = hn::Zero(d);
            h1[k] = hn::Load(d, peaks.h1 + k * hn::Lanes(d));
            h2[k] = hn::Load(d, peaks.h2 + k * hn::Lanes(d));
        });
    }

    HWY_INLINE void Take(std::size_t k, V x, V y) {
        const V r2 = hn::Add(hn::Mul(x, x), hn::Mul(y, y));
        const M larger = hn::Gt(r2, best2[k]);
        best2[k] = hn::IfThenElse(larger, r2, best2[k]);
        bestX[k] = hn::IfThenElse(larger, x, bestX[k]);
        bestY[k] = hn::IfThenElse(larger, y, bestY[k]);
        h1[k] = KeepPeak(hn::Abs(x), h1[k]);
        h2[k] = KeepPeak(hn::Abs(y), h2[k]);
    }

    HWY_INLINE void EndRow() {}

    // The largest |x| and |y| kept, and each period raised with its pair of largest radius.
    void Finish(const PairGroup& group, GroupPeaks& peaks) const {
        const Tag d;
        const std::size_t width = hn::Lanes(d);
        ForEachVector<K>([&](auto k) {
            hn::Store(h1[k], d, peaks.h1 + k * width);
            hn::Store(h2[k], d, peaks.h2 + k * width);
            RaiseOpenLanes(UsedLanes(group, k), bestX[k], bestY[k], best2[k],
                           [&peaks, k, width](std::size_t lane) -> RotationPeaks& {
                               return peaks.periods[k * width + lane];
                           });
        });
    }
};

// A block of a group's rows, per period (a lane): the rows whose radius is not below the
// period's floor raised. A period's rows beyond its own sub-step count repeat its last value
// and are left out.
template <std::size_t K>
void ScreenGroupBlock(const double* rows, std::size_t samples, const PairGroup& group,
                      GroupPeaks& peaks) {
    const Tag d;
    const std::size_t width = hn::Lanes(d);
    const std::size_t rowsPerSample = static_cast<std::size_t>(group.maxSubSteps);
    const std::size_t rowCount = samples * rowsPerSample;
    M used[K];
    V n[K];
    ForEachVector<K>([&](auto k) {
        used[k] = UsedLanes(group, k);
        n[k] = hn::Load(d, group.subSteps + k * width);
    });
    RenewSquaredFloors(peaks);
    std::size_t subStep = 0;
    for (std::size_t r = 0; r < rowCount; ++r) {
        const double* row = rows + r * kRowWidth;
        const V sub = hn::Set(d, static_cast<double>(subStep));
        subStep = subStep + 1 == rowsPerSample ? 0 : subStep + 1;
        bool renew = false;
        ForEachVector<K>([&](auto k) {
            const V x = hn::Load(d, row + k * width);
            const V y = hn::Load(d, row + kMaxGroupPeriods + k * width);
            const V r2 = hn::Add(hn::Mul(x, x), hn::Mul(y, y));
            const M open = hn::AndNot(hn::Lt(r2, hn::Load(d, peaks.floor2 + k * width)),
                                      hn::And(hn::Lt(sub, n[k]), used[k]));
            if (!hn::AllFalse(d, open)) {
                renew = RaiseOpenLanes(open, x, y, r2,
                                       [&peaks, k, width](std::size_t lane) -> RotationPeaks& {
                                           return peaks.periods[k * width + lane];
                                       }) ||
                        renew;
            }
        });
        if (renew) {
            RenewSquaredFloors(peaks);
        }
    }
}

void SeedPairGroupImpl(const double* h1, const double* h2, std::size_t first, std::size_t count,
                       double g, PairGroup& group, GroupPeaks& peaks) {
    if (group.periods <= hn::Lanes(Tag())) {
        SeedSink<1> sink(peaks);
        AdvanceBlock<1>(h1, h2, first, count, g, group, sink);
        sink.Finish(group, peaks);
    } else {
        SeedSink<2> sink(peaks);
        AdvanceBlock<2>(h1, h2, first, count, g, group, sink);
        sink.Finish(group, peaks);
    }
}

void RaiseGroupPeaksImpl(const double* rows, std::size_t samples, const PairGroup& group,
                         GroupPeaks& peaks) {
    if (group.periods <= hn::Lanes(Tag())) {
        ScreenGroupBlock<1>(rows, samples, group, peaks);
    } else {
        ScreenGroupBlock<2>(rows, samples, group, peaks);
    }
}

}  // namespace HWY_NAMESPACE
}  // namespace travik::rotation
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace travik::rotation {

HWY_EXPORT(GroupPeriodsImpl);
HWY_EXPORT(AdvancePairGroupImpl);
HWY_EXPORT(RaiseSeriesPeaksImpl);
HWY_EXPORT(RaiseGroupPeaksImpl);
HWY_EXPORT(SeedPairGroupImpl);

const AngleTable& RotationAngles() {
    static const AngleTable table = [] {
        AngleTable t;
        const auto radians = [](double degrees) { return degrees * std::numbers::pi / 180.0; };
        for (std::size_t a = 0; a < kPaddedAngles; ++a) {
            const double degrees = static_cast<double>(std::min<std::size_t>(a, 179));
            t.c[a] = std::cos(radians(degrees));
            t.s[a] = std::sin(radians(degrees));
        }
        t.c[0] = 1.0;
        t.s[0] = 0.0;
        t.c[90] = 0.0;
        t.s[90] = 1.0;
        for (std::size_t k = 0; k < kPaddedSectors; ++k) {
            const double middle =
                static_cast<double>(std::min(k, kSectors - 1) * kSectorAngles) + 3.5;
            t.sectorC[k] = std::cos(radians(middle));
            t.sectorS[k] = std::sin(radians(middle));
        }
        t.chord = 2.0 * std::sin(radians(1.75)) + 1e-9;
        return t;
    }();
    return table;
}

std::size_t GroupPeriods() {
    return HWY_DYNAMIC_DISPATCH(GroupPeriodsImpl)();
}

void AdvancePairGroup(const double* h1, const double* h2, std::size_t first, std::size_t count,
                      double g, PairGroup& group, double* rows) {
    HWY_DYNAMIC_DISPATCH(AdvancePairGroupImpl)(h1, h2, first, count, g, group, rows);
}

std::size_t RaiseSeriesPeaks(const double* x, const double* y, std::size_t count,
                             RotationPeaks& state) {
    return HWY_DYNAMIC_DISPATCH(RaiseSeriesPeaksImpl)(x, y, count, state);
}

void SeedPairGroup(const double* h1, const double* h2, std::size_t first, std::size_t count,
                   double g, PairGroup& group, GroupPeaks& peaks) {
    HWY_DYNAMIC_DISPATCH(SeedPairGroupImpl)(h1, h2, first, count, g, group, peaks);
}

void RaiseGroupPeaks(const double* rows, std::size_t samples, const PairGroup& group,
                     GroupPeaks& peaks) {
    HWY_DYNAMIC_DISPATCH(RaiseGroupPeaksImpl)(rows, samples, group, peaks);
}

}  // namespace travik::rotation
#endif  // HWY_ONCE
