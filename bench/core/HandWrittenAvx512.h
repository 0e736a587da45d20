#pragma once

#include <vector>

namespace travik::bench {

struct HandPeaks {
    double sd = 0, sv = 0, sa = 0;
};

// The best layout of the piecewise exact recurrence we could write by hand for this
// machine without fused multiply-add, so bit-identical to the program: AVX-512 intrinsics,
// two vectors of eight oscillators in flight, sorted by sub-step count (mixed counts under
// AVX-512 masks where few share one), the ground accelerations of eight samples at once. `periods`
// excludes the period 0; results are damping ratio by damping ratio, periods in order. Returns
// false (computing nothing) when the processor lacks AVX-512.
bool HandWrittenAvx512Spectra(const std::vector<double>& acceleration, double timeStep, double g,
                              double maxDtOverT, const std::vector<double>& dampingRatios,
                              const std::vector<double>& periods, std::vector<HandPeaks>& peaks);

}  // namespace travik::bench
