// Vector kernels of the oscillator integrators. This file is compiled once per instruction
// set by Highway's foreach_target.h; HWY_DYNAMIC_DISPATCH picks the best one the processor
// runs. The digits must not depend on that choice: only Mul, Add, Sub, Div and Abs are used
// (never MulAdd), each lane in the order of the one-oscillator code, and the library is
// built with -ffp-contract=off so that the compiler fuses nothing either.
#include "core/analysis/OscillatorKernels.h"

#include <algorithm>
#include <utility>

// Scalable vectors (SVE, RVV) cannot be members of the small structs below; those
// processors run the fixed-width or portable kernels instead.
#ifndef HWY_DISABLED_TARGETS
#define HWY_DISABLED_TARGETS (HWY_SVE | HWY_SVE2 | HWY_SVE_256 | HWY_SVE2_128 | HWY_RVV)
#endif

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "core/analysis/OscillatorKernels.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep
// foreach_target.h must come first.
#include <hwy/highway.h>

#include "core/analysis/OscillatorLanes-inl.h"

HWY_BEFORE_NAMESPACE();
namespace travik::kernels {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// How often a long run looks at the cancel flag: every this many samples at most, and at
// least every this many sub-steps of its longest lane (a millisecond or so), so that a run
// of half a million sub-steps per sample stops as soon as one of few sub-steps.
constexpr std::size_t kCancelCheckInterval = 4096;
constexpr std::size_t kCancelCheckSubSteps = 65536;

bool Cancelled(const std::atomic<bool>* cancel) {
    return cancel != nullptr && cancel->load(std::memory_order_relaxed);
}

// The cancel checks of one group's run, counted down sample by sample (no division in the
// loop), each also telling how far the run got.
class Checkpoints {
  public:
    Checkpoints(const OscillatorGroup& group, const std::atomic<bool>* cancel)
        : cancel_(cancel),
          samplesDone_(group.samplesDone),
          every_(std::clamp<std::size_t>(
              kCancelCheckSubSteps / static_cast<std::size_t>(std::max(1, group.maxSubSteps)), 1,
              kCancelCheckInterval)),
          left_(every_) {}

    // `samples` more are about to be advanced, `done` already are; false once cancelled.
    bool Continue(std::size_t samples, std::size_t done) {
        if (left_ > samples) {
            left_ -= samples;
            return true;
        }
        left_ = every_;
        if (samplesDone_ != nullptr) {
            samplesDone_->store(done, std::memory_order_relaxed);
        }
        return !Cancelled(cancel_);
    }

  private:
    const std::atomic<bool>* cancel_;
    std::atomic<std::size_t>* samplesDone_;
    std::size_t every_;
    std::size_t left_;
};

// Sub-step counts up to this have their ground accelerations computed ahead, a few samples
// at a time (see AdvanceUniform).
constexpr int kMaxPrecomputedSubSteps = 64;

// K vectors of oscillators, the k-th holding lanes k * width on. Each vector's step is a
// long chain of dependent multiplies and adds; independent vectors fill its waits.
template <class Lanes, std::size_t K>
struct LaneSet {
    Lanes vectors[K];

    explicit LaneSet(const OscillatorGroup& group) {
        const std::size_t width = hn::Lanes(Tag());
        ForEachVector<K>([&](auto k) { vectors[k].Load(group, k * width); });
    }

    void Store(OscillatorGroup& group) const {
        const std::size_t width = hn::Lanes(Tag());
        ForEachVector<K>([&](auto k) { vectors[k].Store(group, k * width); });
    }
};

// Every lane shares one sub-step count n: the ground acceleration at the ends of each
// sub-step, (i - 1) * delta + start and i * delta + start with delta = (a[j] - a[j-1]) g / n,
// is one number for all lanes. For small n these numbers are computed for a vector's worth
// of samples at once (the same operations per sample, so the same numbers) and stored, which
// leaves the arithmetic units to the oscillators; broadcasting them back costs only loads.
template <class Lanes, std::size_t K>
bool AdvanceUniform(const double* acceleration, std::size_t count, double g, OscillatorGroup& group,
                    const std::atomic<bool>* cancel) {
    const Tag d;
    const std::size_t width = hn::Lanes(d);
    LaneSet<Lanes, K> set(group);
    const int subSteps = group.maxSubSteps;
    const double n = subSteps;
    const auto step = [&](double p0, double p1) {
        const V v0 = hn::Set(d, p0);
        const V v1 = hn::Set(d, p1);
        ForEachVector<K>([&](auto k) { set.vectors[k].Step(v0, v1); });
    };
    Checkpoints checks(group, cancel);
    std::size_t j = 1;
    if (subSteps <= kMaxPrecomputedSubSteps) {
        // ground[i * width + s]: i * delta + start of the block's sample s, i = 0..n.
        HWY_ALIGN double ground[(kMaxPrecomputedSubSteps + 1) * 8];
        const V gv = hn::Set(d, g);
        const V nv = hn::Set(d, n);
        for (; j + width <= count; j += width) {
            if (!checks.Continue(width, j)) {
                return false;
            }
            const V before = hn::LoadU(d, acceleration + j - 1);
            const V after = hn::LoadU(d, acceleration + j);
            const V start = hn::Mul(gv, before);
            const V delta = hn::Div(hn::Mul(hn::Sub(after, before), gv), nv);
            for (int i = 0; i <= subSteps; ++i) {
                hn::Store(hn::Add(hn::Mul(hn::Set(d, static_cast<double>(i)), delta), start), d,
                          ground + static_cast<std::size_t>(i) * width);
            }
            for (std::size_t s = 0; s < width; ++s) {
                for (std::size_t i = 1; i <= static_cast<std::size_t>(subSteps); ++i) {
                    step(ground[(i - 1) * width + s], ground[i * width + s]);
                }
            }
        }
    }
    for (; j < count; ++j) {
        if (!checks.Continue(1, j)) {
            return false;
        }
        const double start = g * acceleration[j - 1];
        const double delta = (acceleration[j] - acceleration[j - 1]) * g / n;
        for (int i = 1; i <= subSteps; ++i) {
            step((i - 1) * delta + start, i * delta + start);
        }
    }
    set.Store(group);
    return true;
}

// A run of sub-steps of a mixed group in which the same vectors step, all lanes or some.
struct Segment {
    int first = 0, last = 0;  // sub-steps, counted from 1
    std::size_t vectors = 0;  // the group's first `vectors` vectors step
    bool masked = false;      // some of their lanes sit these sub-steps out
};

// Lanes come in descending order of sub-step count, so a vector's first lane holds its
// largest count and its last used lane its smallest: a vector steps every lane up to its
// smallest count, some up to its largest, and not at all beyond, leaving the arithmetic
// units to the vectors that still have sub-steps to go. Cuts 1..maxSubSteps where any
// vector's largest or smallest count ends, at most 2 K + 1 segments.
template <std::size_t K>
std::size_t PlanSegments(const OscillatorGroup& group, std::size_t width,
                         Segment (&segments)[2 * K + 1]) {
    int most[K], least[K], ends[2 * K];
    for (std::size_t k = 0; k < K; ++k) {
        const std::size_t last = std::max(std::min(group.lanes, (k + 1) * width), k * width + 1);
        most[k] = static_cast<int>(group.subSteps[k * width]);
        least[k] = static_cast<int>(group.subSteps[last - 1]);
        ends[2 * k] = most[k];
        ends[2 * k + 1] = least[k];
    }
    std::sort(ends, ends + 2 * K);
    std::size_t count = 0;
    int done = 0;
    for (const int end : ends) {
        if (end <= done) {
            continue;
        }
        Segment& segment = segments[count++];
        segment = {done + 1, end, 0, false};
        for (std::size_t k = 0; k < K; ++k) {
            if (most[k] >= end) {
                segment.vectors = k + 1;
                segment.masked = segment.masked || least[k] < end;
            }
        }
        done = end;
    }
    return count;
}

// One sample's sub-steps `segment` of the first P vectors, with the ground acceleration
// i * delta + start at the end of sub-step i; p0 holds each vector's value at the start.
template <std::size_t P, bool kMasked, class Lanes, std::size_t K>
HWY_INLINE void StepRange(LaneSet<Lanes, K>& set, const Segment& segment, const V (&n)[K],
                          const V (&delta)[K], V start, V (&p0)[K]) {
    const Tag d;
    for (int i = segment.first; i <= segment.last; ++i) {
        const V after = hn::Set(d, static_cast<double>(i));
        ForEachVector<P>([&](auto k) {
            const V p1 = hn::Add(hn::Mul(after, delta[k]), start);
            if constexpr (kMasked) {
                set.vectors[k].Step(p0[k], p1, hn::Le(after, n[k]));
            } else {
                set.vectors[k].Step(p0[k], p1);
            }
            p0[k] = p1;
        });
    }
}

// StepRange for the segment's own count of vectors, P at most.
template <std::size_t P, class Lanes, std::size_t K>
HWY_INLINE void StepSegment(LaneSet<Lanes, K>& set, const Segment& segment, const V (&n)[K],
                            const V (&delta)[K], V start, V (&p0)[K]) {
    if constexpr (P > 1) {
        if (segment.vectors < P) {
            StepSegment<P - 1>(set, segment, n, delta, start, p0);
            return;
        }
    }
    if (segment.masked) {
        StepRange<P, true>(set, segment, n, delta, start, p0);
    } else {
        StepRange<P, false>(set, segment, n, delta, start, p0);
    }
}

// Lanes of different sub-step counts: each lane has its own delta, and sits out the
// sub-steps beyond its own count.
template <class Lanes, std::size_t K>
bool AdvanceMixed(const double* acceleration, std::size_t count, double g, OscillatorGroup& group,
                  const std::atomic<bool>* cancel) {
    const Tag d;
    const std::size_t width = hn::Lanes(d);
    LaneSet<Lanes, K> set(group);
    V n[K];
    ForEachVector<K>([&](auto k) { n[k] = hn::Load(d, group.subSteps + k * width); });
    Segment segments[2 * K + 1];
    const std::size_t segmentCount = PlanSegments<K>(group, width, segments);
    Checkpoints checks(group, cancel);
    for (std::size_t j = 1; j < count; ++j) {
        if (!checks.Continue(1, j)) {
            return false;
        }
        const V start = hn::Set(d, g * acceleration[j - 1]);
        const V rise = hn::Set(d, (acceleration[j] - acceleration[j - 1]) * g);
        V delta[K];
        // i * delta + start at the end of sub-step i is the very number at the start of
        // sub-step i + 1, so each is computed once.
        V p0[K];
        ForEachVector<K>([&](auto k) {
            delta[k] = hn::Div(rise, n[k]);
            p0[k] = hn::Add(hn::Mul(hn::Zero(d), delta[k]), start);
        });
        for (std::size_t s = 0; s < segmentCount; ++s) {
            StepSegment<K>(set, segments[s], n, delta, start, p0);
        }
    }
    set.Store(group);
    return true;
}

template <class Lanes, std::size_t K>
bool AdvanceGroupOf(const double* acceleration, std::size_t count, double g, OscillatorGroup& group,
                    const std::atomic<bool>* cancel) {
    return group.minSubSteps == group.maxSubSteps
               ? AdvanceUniform<Lanes, K>(acceleration, count, g, group, cancel)
               : AdvanceMixed<Lanes, K>(acceleration, count, g, group, cancel);
}

// As many vectors as the group's lanes fill.
template <class Lanes>
bool AdvanceGroup(const double* acceleration, std::size_t count, double g, OscillatorGroup& group,
                  const std::atomic<bool>* cancel) {
    const std::size_t width = hn::Lanes(Tag());
    switch ((group.lanes + width - 1) / width) {
        case 0:
        case 1:
            return AdvanceGroupOf<Lanes, 1>(acceleration, count, g, group, cancel);
        case 2:
            return AdvanceGroupOf<Lanes, 2>(acceleration, count, g, group, cancel);
        case 3:
            return AdvanceGroupOf<Lanes, 3>(acceleration, count, g, group, cancel);
        default:
            return AdvanceGroupOf<Lanes, 4>(acceleration, count, g, group, cancel);
    }
}

std::size_t VectorLanesImpl() {
    return hn::Lanes(Tag());
}

// Vectors in flight that fill this instruction set's arithmetic units without spilling
// the oscillators' state out of its registers: AVX-512 has 32 of them, the others 16 or a
// portable emulation.
std::size_t PreferredVectorsImpl() {
#if HWY_TARGET <= HWY_AVX3
    return 4;
#elif HWY_ARCH_X86 && HWY_TARGET <= HWY_SSSE3
    return 4;
#else
    return 2;
#endif
}

bool AdvanceExactImpl(const double* acceleration, std::size_t count, double g,
                      OscillatorGroup& group, const std::atomic<bool>* cancel) {
    return AdvanceGroup<ExactLanes>(acceleration, count, g, group, cancel);
}

bool AdvanceNewmarkImpl(const double* acceleration, std::size_t count, double g,
                        OscillatorGroup& group, const std::atomic<bool>* cancel) {
    return AdvanceGroup<NewmarkLanes>(acceleration, count, g, group, cancel);
}

}  // namespace HWY_NAMESPACE
}  // namespace travik::kernels
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace travik::kernels {

HWY_EXPORT(VectorLanesImpl);
HWY_EXPORT(PreferredVectorsImpl);
HWY_EXPORT(AdvanceExactImpl);
HWY_EXPORT(AdvanceNewmarkImpl);

namespace {
std::atomic<std::int64_t> forcedTarget{0};
std::atomic<std::size_t> forcedVectors{0};
}  // namespace

std::size_t VectorLanes() {
    return HWY_DYNAMIC_DISPATCH(VectorLanesImpl)();
}

std::size_t VectorsInFlight() {
    const std::size_t forced = forcedVectors.load();
    return forced != 0 ? forced : HWY_DYNAMIC_DISPATCH(PreferredVectorsImpl)();
}

std::size_t GroupWidth() {
    return VectorLanes() * VectorsInFlight();
}

void UseVectorsInFlight(std::size_t vectors) {
    forcedVectors.store(std::min<std::size_t>(vectors, kMaxGroupLanes / 8));
}

bool AdvanceExactGroup(const double* acceleration, std::size_t count, double g,
                       OscillatorGroup& group, const std::atomic<bool>* cancel) {
    return HWY_DYNAMIC_DISPATCH(AdvanceExactImpl)(acceleration, count, g, group, cancel);
}

bool AdvanceNewmarkGroup(const double* acceleration, std::size_t count, double g,
                         OscillatorGroup& group, const std::atomic<bool>* cancel) {
    return HWY_DYNAMIC_DISPATCH(AdvanceNewmarkImpl)(acceleration, count, g, group, cancel);
}

std::vector<KernelTarget> AvailableKernelTargets() {
    const std::int64_t forced = forcedTarget.load();
    if (forced != 0) {
        hwy::SetSupportedTargetsForTest(0);
    }
    std::vector<KernelTarget> targets;
    for (const std::int64_t target : hwy::SupportedAndGeneratedTargets()) {
        targets.push_back({target, hwy::TargetName(target)});
    }
    if (forced != 0) {
        hwy::SetSupportedTargetsForTest(forced);
    }
    return targets;
}

void UseKernelTarget(std::int64_t target) {
    forcedTarget.store(target);
    hwy::SetSupportedTargetsForTest(target);
    hwy::GetChosenTarget().Update(hwy::SupportedTargets());
}

}  // namespace travik::kernels
#endif  // HWY_ONCE
