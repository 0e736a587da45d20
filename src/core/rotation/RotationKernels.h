#pragma once

// The vector kernels behind the rotated spectra: the two components' oscillator responses
// advanced side by side for several periods at once, and the running peaks of the rotated
// component over every angle. One source compiled for every instruction set the build knows,
// chosen at run time like the single-component kernels (and following their forced choice).
// Neither kernel fuses a multiply with an add, so every number is the one the plain
// one-oscillator code and the plain angle loop compute.

#include <cstddef>

namespace travik::rotation {

// Periods one group of oscillators holds at most: two vectors of up to eight lanes per
// component, four vectors in flight.
inline constexpr std::size_t kMaxGroupPeriods = 16;

// Doubles in one row of a group's block: the displacements (cm) of every period's H1
// oscillator (columns 0 to 15) and H2 oscillator (columns 16 to 31) at one sub-step end.
inline constexpr std::size_t kRowWidth = 2 * kMaxGroupPeriods;

// The 180 whole-degree angles, padded with copies of the last to a multiple of eight: a
// copy repeats the value at 179 degrees, so it never changes a peak or the smallest one.
inline constexpr std::size_t kPaddedAngles = 184;

// The angles are screened in sectors of eight neighbours (the last holds 176 to 179 degrees
// and the copies).
inline constexpr std::size_t kSectorAngles = 8;
inline constexpr std::size_t kSectors = kPaddedAngles / kSectorAngles;  // 23
inline constexpr std::size_t kPaddedSectors = 24;                       // whole vectors

// cos and sin of every angle of the padded list, as the rotated component uses them
// (exact at 0 and 90 degrees, so that the rotated component there is H1 or H2 itself, digit
// for digit), and of the middle of every sector.
struct alignas(64) AngleTable {
    double c[kPaddedAngles] = {};
    double s[kPaddedAngles] = {};
    double sectorC[kPaddedSectors] = {};
    double sectorS[kPaddedSectors] = {};
    // No angle of a sector is farther than 3.5 degrees from its middle, so its unit vector is
    // within 2 sin(1.75 degrees) of the middle's: |u.e(a)| <= |u.e(middle)| + |u| * chord.
    // The chord here is widened far beyond the rounding of every term involved.
    double chord = 0.0;
};

// The one table of angles.
const AngleTable& RotationAngles();

// Up to kMaxGroupPeriods oscillators (one damping ratio and period each) under both
// components of a pair. Unused periods must repeat a used one. Periods may differ in
// sub-step count: a period sits out the sub-steps beyond its own count, its displacement
// repeated in the rows of those sub-steps.
struct alignas(64) PairGroup {
    std::size_t periods = 0;
    int minSubSteps = 0;  // smallest and largest sub-step count of the group
    int maxSubSteps = 0;
    alignas(64) double subSteps[kMaxGroupPeriods] = {};  // per period, as a number
    // Piecewise exact recurrence (Nigam & Jennings, 1969): the step coefficients.
    double A[kMaxGroupPeriods] = {}, B[kMaxGroupPeriods] = {}, C[kMaxGroupPeriods] = {},
           D[kMaxGroupPeriods] = {};
    double Ap[kMaxGroupPeriods] = {}, Bp[kMaxGroupPeriods] = {}, Cp[kMaxGroupPeriods] = {},
           Dp[kMaxGroupPeriods] = {};
    // State carried from one block of samples to the next: displacement (cm) and velocity
    // (cm/sec) of each period's oscillator under H1 and under H2. Zero at the start.
    double u1[kMaxGroupPeriods] = {}, v1[kMaxGroupPeriods] = {};
    double u2[kMaxGroupPeriods] = {}, v2[kMaxGroupPeriods] = {};
};

// Periods a group holds on the chosen instruction set: two vectors' lanes, at most 16.
std::size_t GroupPeriods();

// Advances the group through the sampling intervals ending at samples `first` to
// `first + count - 1` (first >= 1) of the two acceleration series (g), with ground
// acceleration `g` (cm/sec^2) times the samples, linear within each interval. Writes
// count * maxSubSteps rows of kRowWidth doubles to `rows` (64-byte aligned), sample by
// sample and sub-step by sub-step: the arithmetic of the one-oscillator recurrence lane by
// lane, so each displacement is the one ComputeOscillatorDisplacements gives.
void AdvancePairGroup(const double* h1, const double* h2, std::size_t first, std::size_t count,
                      double g, PairGroup& group, double* rows);

// The running peaks of |c x + s y| at every angle of one oscillator (or of the ground
// motion), with the floors below which a pair of values cannot raise any.
struct alignas(64) RotationPeaks {
    double peaks[kPaddedAngles] = {};
    double sectorFloor[kPaddedSectors] = {};  // smallest peak of each sector
    double floor = 0.0;                       // smallest peak of all
    double h1 = 0.0;                          // largest |x|
    double h2 = 0.0;                          // largest |y|
};

// Raises `state` with the pairs (x[k], y[k]), k < count: afterwards each peak is the
// largest |c[a] * x + s[a] * y| of its angle a over the pairs so far, compared as the plain
// loop compares (a peak is replaced only by a value strictly greater), to the last bit, and
// h1, h2 the largest |x| and |y| alike. Pairs that provably cannot raise a peak (their
// radius, or their sector's bound, below the peaks so far) are passed over. Returns how
// many pairs reached the angle-by-angle computation of some sector.
std::size_t RaiseSeriesPeaks(const double* x, const double* y, std::size_t count,
                             RotationPeaks& state);

// The running peaks of a group's periods, one RotationPeaks per period.
struct alignas(64) GroupPeaks {
    RotationPeaks periods[kMaxGroupPeriods];
    alignas(64) double h1[kMaxGroupPeriods] = {};  // largest |x| of each period
    double h2[kMaxGroupPeriods] = {};              // largest |y| of each period
    double floor2[kMaxGroupPeriods] = {};          // the radius test's squared floors
};

// The seeding pass: advances the group as AdvancePairGroup does, but instead of writing
// rows, raises h1 and h2 of every period of `peaks` with every displacement and the period's
// peaks with its pair of largest radius over these samples. Seeding every block of a whole
// pass over the pair first lifts the floors close to the final peaks.
void SeedPairGroup(const double* h1, const double* h2, std::size_t first, std::size_t count,
                   double g, PairGroup& group, GroupPeaks& peaks);

// Raises every period of `peaks` with every pair of a block of rows (AdvancePairGroup's, for
// `samples` samples of `group`) that may still raise a peak, as RaiseSeriesPeaks would; the
// peaks are complete once every block of the pair was raised (seeded or not).
void RaiseGroupPeaks(const double* rows, std::size_t samples, const PairGroup& group,
                     GroupPeaks& peaks);

}  // namespace travik::rotation
