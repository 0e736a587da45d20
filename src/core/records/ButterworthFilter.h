#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/records/FilterSettings.h"

namespace travik {

// One second-order section of a digital filter, a0 = 1:
// H(z) = (b0 + b1 z^-1 + b2 z^-2) / (1 + a1 z^-1 + a2 z^-2).
struct SecondOrderSection {
    double b0 = 1.0, b1 = 0.0, b2 = 0.0, a1 = 0.0, a2 = 0.0;
};

// A designed Butterworth filter: the settings and time step it was made for, and its
// cascade of second-order sections (the gain folded into the first).
struct ButterworthDesign {
    FilterSettings settings;
    double timeStep = 0.0;  // s
    std::vector<SecondOrderSection> sections;
};

// Designs the digital Butterworth filter: the analog prototype's poles on the unit circle,
// corners pre-warped (2/dt) tan(pi f dt), moved to the band by the low-pass, high-pass or
// band-pass transformation, then mapped by the bilinear transform (Oppenheim and Schafer,
// "Discrete-Time Signal Processing", 7.1-7.4). The magnitude response is exactly 1/sqrt(2)
// at each corner. Returns nothing when the settings fail their check for this time step.
std::optional<ButterworthDesign> DesignButterworth(const FilterSettings& settings, double timeStep);

// Runs the cascade once over `input` from rest (direct form II transposed).
std::vector<double> RunSections(const std::vector<SecondOrderSection>& sections,
                                std::span<const double> input);

// Filters a series (any unit; the output has the same): zero pads of PadDuration() / 2
// (rounded up to whole steps) before and after, one forward pass (causal) or a forward
// and a backward pass (acausal), pads removed. A causal filter starting from rest sees no
// difference from the leading pad; the trailing pad's ringing is cut with it.
std::vector<double> FilterSeries(const ButterworthDesign& design, std::span<const double> input);

// A series filtered with its zero pads kept: `pad` samples of leading pad, the series,
// then `pad` samples of trailing pad, all as the filter left them.
struct PaddedSeries {
    std::vector<double> values;
    std::size_t pad = 0;
    std::size_t count = 0;  // samples of the series itself

    // The series' own part, without the pads.
    std::span<const double> Inner() const {
        return std::span<const double>(values).subspan(pad, count);
    }
    // The leading pad and the series' first sample (the pad alone for an empty series).
    std::span<const double> LeadThroughFirst() const {
        return std::span<const double>(values).first(pad + (count > 0 ? 1 : 0));
    }
};

// FilterSeries with the pads kept.
PaddedSeries FilterSeriesPadded(const ButterworthDesign& design, std::span<const double> input);

// Samples of zero pad put before (and after) the series.
int PadSampleCount(const FilterSettings& settings, double timeStep);

// Gain of the whole filtering at `frequency` (Hz, 0 to Nyquist): |H| for a causal filter,
// |H|^2 for an acausal one (two passes). 1/sqrt(2) (-3 dB) and 1/2 (-6 dB) at a corner.
double FilterGain(const ButterworthDesign& design, double frequency);

}  // namespace travik
