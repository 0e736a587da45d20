#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/analysis/AnalysisSettings.h"
#include "core/records/TimeHistory.h"

namespace travik {

// Orientation-independent spectra of two horizontal components recorded at right angles:
// the rotated component at angle theta is h1 cos(theta) + h2 sin(theta), theta = 0, 1, ...,
// 179 degrees (Boore, Watson-Lamprey & Abrahamson 2006; Boore 2010).
inline constexpr std::size_t kRotationAngles = 180;

// What is asked of a pair besides the analysis settings. Fractions of critical damping,
// periods in s, percentiles of the rotated peaks from 0 to 100.
struct RotatedSpectraOptions {
    std::vector<double> dampingRatios;
    std::vector<double> periods;
    std::vector<double> percentiles{0.0, 50.0, 100.0};
    // Threads the periods are spread over: 0 for one per core. Results never depend on it;
    // each thread keeps at most one oscillator's two displacement histories.
    int threads = 1;

    // The first value that cannot be used, with a message naming it; nothing when all can.
    std::optional<std::string> Validate() const;
};

// Peaks of one quantity over the 180 angles and what is read from them. Units of the
// quantity (g for accelerations, cm/sec for velocities).
struct RotatedPeaks {
    std::array<double, kRotationAngles> peaks{};  // at 0, 1, ..., 179 degrees
    std::vector<double> percentiles;              // RotDnn, one per asked percentile
    int maxAngle = 0;                             // degrees: the first angle of the largest peak
    double h1 = 0.0;                              // peak of H1 alone
    double h2 = 0.0;                              // peak of H2 alone
};

// One oscillator (damping ratio, period) of a pair: pseudo-accelerations in g.
struct RotatedSpectrumPoint {
    bool computed = false;  // false where the single-component spectra refuse the oscillator
    RotatedPeaks psa;
};

// Everything for one damping ratio: the points by period, GMRotI50 (Boore et al. 2006) at
// every period, and the angle that defines it (degrees, 0 to 89).
struct RotatedDampingSpectra {
    double dampingRatio = 0.0;
    std::vector<RotatedSpectrumPoint> points;  // one per period
    std::vector<double> gmrotI50;              // g, one per period (0 where not computed)
    int gmrotI50Angle = 0;
    double pgaGmrotI50 = 0.0;  // g: GMRotD of the ground acceleration at that angle
};

// The rotated spectra of a pair with the inputs they were computed from.
struct RotatedSpectraResult {
    RotatedSpectraOptions options;
    AnalysisSettings settings;
    double timeStep = 0.0;                       // s
    std::size_t samples = 0;                     // samples of each component used
    bool useCorrected = false;                   // whether the corrected series were used
    RotatedPeaks pga;                            // g, over the samples
    std::optional<RotatedPeaks> pgv;             // cm/sec, when both components carry velocities
    std::vector<RotatedDampingSpectra> damping;  // one per damping ratio
};

// The value at percentile `p` (0 to 100) of `values`, interpolated linearly between the
// sorted values at the fractional rank p/100 (n - 1): the median of 180 values is the mean
// of the 90th and 91st.
double PercentileOf(std::vector<double> values, double p);

// The rotated peaks of two series of equal length, with the percentiles asked.
RotatedPeaks RotatePeaks(const DOUBLEVECTOR& h1, const DOUBLEVECTOR& h2,
                         const std::vector<double>& percentiles);

// The largest |cos(theta) u1 + sin(theta) u2| over the paired values for every angle, into
// `peaks` (cleared first). Without `prune`, by the plain loop over every pair and angle.
// With it, by the vector kernel that passes over a pair whose radius sqrt(u1^2 + u2^2) lies
// below the smallest peak so far (no angle's value can exceed the radius), and the sectors
// of angles whose bound lies below their smallest peak: the same peaks to the last bit.
void RotatedPeaksOf(const double* u1, const double* u2, std::size_t count, bool prune,
                    std::array<double, kRotationAngles>& peaks);

// The rotated spectra of H1 and H2 (the corrected series when both are corrected). The two
// must have the same time step and at least two samples; the longer is cut to the shorter.
// Per oscillator the two responses are integrated by the settings' integrator with its
// sub-steps, and combined at every sub-step end, so that H1 PSa equals the single-component
// PSa to the last bit. The piecewise exact recurrence runs in vectors, several periods and
// both components at once, twice over the pair (seeding the peaks, then raising them) with
// no histories kept; Newmark's method runs one oscillator at a time. Returns nothing when the
// options or settings do not validate or the pair cannot be rotated (the caller checks and words
// these), and when `cancel` is set: it is looked at between groups of oscillators, so a long
// record stops within a group's time.
std::optional<RotatedSpectraResult> ComputeRotatedSpectra(
    const AnalysisSettings& settings, const TimeHistory& h1, const TimeHistory& h2,
    const RotatedSpectraOptions& options, const std::atomic<bool>* cancel = nullptr);

}  // namespace travik
