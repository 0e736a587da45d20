#pragma once

#include <vector>

namespace travik::bench {

struct PlainPeaks {
    double sd = 0, sv = 0, sa = 0;
};

// The yardstick for speed: a plain, faithful port of the piecewise exact recurrence
// (Nigam & Jennings, 1969), one oscillator at a time, total acceleration divided by g at
// every step. Built at -O2 like a straightforward program would be.
PlainPeaks PlainOscillatorPeaks(const std::vector<double>& acceleration, double timeStep, double g,
                                double maxDtOverT, double zeta, double period);

// A synthetic but record-like acceleration (g): filtered noise under an envelope.
std::vector<double> SyntheticRecord(int count);

}  // namespace travik::bench
