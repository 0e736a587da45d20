#pragma once

// The vector kernels behind ComputeOscillatorPeaksBatch: one source, compiled for every
// instruction set the build knows (AVX-512, AVX2, SSE4, NEON, ... and a portable path) and
// chosen at run time for the processor at hand.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace travik::kernels {

// Most oscillators any kernel advances side by side: up to four vectors of up to eight.
inline constexpr std::size_t kMaxGroupLanes = 32;

// The piecewise exact recurrence's step coefficients, 2 zeta omega and omega^2, one lane each.
struct alignas(64) ExactCoefficientLanes {
    double A[kMaxGroupLanes], B[kMaxGroupLanes], C[kMaxGroupLanes], D[kMaxGroupLanes];
    double Ap[kMaxGroupLanes], Bp[kMaxGroupLanes], Cp[kMaxGroupLanes], Dp[kMaxGroupLanes];
    double velocityFactor[kMaxGroupLanes], displacementFactor[kMaxGroupLanes];
};

// Newmark's method in incremental form, one lane each.
struct alignas(64) NewmarkCoefficientLanes {
    double kHat[kMaxGroupLanes], a1[kMaxGroupLanes], b1[kMaxGroupLanes];
    double dvPerDu[kMaxGroupLanes], dvPerV[kMaxGroupLanes], dvPerW[kMaxGroupLanes];
    double betaHH[kMaxGroupLanes], betaH[kMaxGroupLanes], twoBeta[kMaxGroupLanes];
};

// Up to kMaxGroupLanes oscillators as structure of arrays, one lane each. Lanes from
// `lanes` on must hold a copy of a used lane (their results are dropped), so that every lane
// computes finite, harmless numbers. Lanes may differ in sub-step count: a lane sits out the
// sub-steps beyond its own count.
struct alignas(64) OscillatorGroup {
    std::size_t lanes = 0;
    int minSubSteps = 0;  // smallest and largest sub-step count of the group
    int maxSubSteps = 0;
    // Every array is 64-byte aligned (each is a multiple of 64 bytes long) for vector loads.
    alignas(64) double subSteps[kMaxGroupLanes] = {};  // per lane, as a number
    // A group runs one method, so the two methods' coefficients share their room: a third
    // less memory to touch, which a short run pays for page by page.
    union {
        ExactCoefficientLanes exact{};
        NewmarkCoefficientLanes newmark;
    };
    // The state between the blocks of samples of a run advanced block by block
    // (AdvanceExactStreams): displacement, velocity and, for Newmark's method, relative
    // acceleration.
    double u[kMaxGroupLanes] = {}, v[kMaxGroupLanes] = {}, w[kMaxGroupLanes] = {};
    // Results: peak |u| (cm), peak |v| (cm/sec) and the peak of |total acceleration| * g.
    double sd[kMaxGroupLanes] = {}, sv[kMaxGroupLanes] = {}, saNumerator[kMaxGroupLanes] = {};
    // Where given, the samples advanced so far, written whenever the cancel flag is read,
    // for a progress report from another thread.
    std::atomic<std::size_t>* samplesDone = nullptr;
};

// Lanes of one vector of the chosen instruction set.
std::size_t VectorLanes();

// Vectors the chosen kernel keeps in flight at most (the instruction set's own choice,
// unless UseVectorsInFlight set one).
std::size_t VectorsInFlight();

// Lanes the chosen kernel advances at once, VectorLanes() * VectorsInFlight() (at most
// kMaxGroupLanes). A group may hold fewer: it is advanced as the fewest vectors that hold
// its lanes, each vector filled but perhaps the last.
std::size_t GroupWidth();

// Makes every later kernel call keep at most `vectors` (1 to 4) in flight; 0 returns to
// the instruction set's own choice. For tests and measurements: not while kernels run.
void UseVectorsInFlight(std::size_t vectors);

// Advance the group through the acceleration series (g, `count` samples) with ground
// acceleration `g` (cm/sec^2) times the samples, writing the group's results. Every lane
// performs exactly the operations of ComputeOscillatorPeaks, in the same order, with no
// fused multiply-add, so the results agree with it to the last bit. Returns false, with the
// results undefined, when `cancel` became true on the way (it is read every few thousand
// samples, and at every sample when each takes tens of thousands of sub-steps).
bool AdvanceExactGroup(const double* acceleration, std::size_t count, double g,
                       OscillatorGroup& group, const std::atomic<bool>* cancel);
bool AdvanceNewmarkGroup(const double* acceleration, std::size_t count, double g,
                         OscillatorGroup& group, const std::atomic<bool>* cancel);

// An instruction set compiled into this program.
struct KernelTarget {
    std::int64_t id = 0;  // as the SIMD library numbers it
    std::string name;
};

// The instruction sets compiled into this program that this processor runs, best first.
std::vector<KernelTarget> AvailableKernelTargets();

// Makes every later kernel call use `target` (one of AvailableKernelTargets()); 0 returns
// to the automatic choice. For tests and measurements: not to be called while kernels run.
void UseKernelTarget(std::int64_t target);

}  // namespace travik::kernels
