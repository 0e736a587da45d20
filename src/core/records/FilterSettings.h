#pragma once

#include <optional>
#include <string>

namespace travik {

// Most samples a filtered record, with its zero pads, may hold (1 GiB of samples): pads
// beyond it cannot be computed.
inline constexpr double kMaxFilteredSamples = 134217728.0;

// Which band a Butterworth filter passes.
enum class FilterBand { LowPass, HighPass, BandPass };

// The setting a filter check refers to, so that a window can focus its edit and the
// command line can name its option.
enum class FilterField { Band, LowCorner, HighCorner, Order, Record };

struct FilterProblem {
    FilterField field = FilterField::Band;
    std::string message;  // names the parameter and the value
};

// A Butterworth filter as the user sets it; member initialisers are the defaults
// (band-pass 0.1-25 Hz, order 4 per corner, one causal pass).
struct FilterSettings {
    FilterBand band = FilterBand::BandPass;
    // Corner of the high-pass (the low corner of a band-pass), Hz, 0 < lowCorner < Nyquist.
    // Not read by a low-pass.
    double lowCorner = 0.1;
    // Corner of the low-pass (the high corner of a band-pass), Hz, 0 < highCorner < Nyquist,
    // and above lowCorner for a band-pass. Not read by a high-pass.
    double highCorner = 25.0;
    // Poles per corner, 1 to 8: a band-pass of order N has 2N poles.
    int order = 4;
    // false: one forward pass (causal, phase shift); true: forward and backward passes
    // (acausal, zero phase, the magnitude response squared).
    bool acausal = false;

    // The corner that sets the length of the zero pads: the high-pass corner when there is
    // one, else the low-pass corner (Hz).
    double PadCorner() const { return band == FilterBand::LowPass ? highCorner : lowCorner; }

    // The corner below which the filter removes motion (Hz): the high-pass corner, or the low
    // corner of a band-pass; nothing for a low-pass.
    std::optional<double> HighPassCorner() const {
        return band == FilterBand::LowPass ? std::nullopt : std::optional<double>(lowCorner);
    }

    // Total length of the zero pads (s) by Boore's rule for acausal filters,
    // Tzpad = 1.5 * order / fc with fc = PadCorner() (Converse and Brady, 1992; Boore, 2005,
    // "On pads and filters"); half is put before the record and half after it.
    double PadDuration() const { return 1.5 * order / PadCorner(); }

    // Checks the settings alone: order 1 to 8, corners finite and above 0 Hz, for a
    // band-pass the high corner above the low one. Returns the first problem, or nothing.
    std::optional<FilterProblem> CheckSettings() const;
    // CheckSettings, then the time step (s, > 0) and corners below its Nyquist frequency.
    std::optional<FilterProblem> CheckTimeStep(double timeStep) const;
    // CheckTimeStep, then what cannot be computed for a record of `sampleCount` samples:
    // pads that, with the record, would hold more than kMaxFilteredSamples. The pads are
    // added to the record, so a record shorter than PadDuration() is filtered all the same.
    std::optional<FilterProblem> Check(double timeStep, int sampleCount) const;

    // A warning where the corner that sets the pads (PadCorner()) is below 1 / T, the
    // lowest frequency a record of T = sampleCount * timeStep seconds resolves: the filter
    // is computed, but the record holds no whole cycle at its corner. Names the corner and
    // the record's length; nothing when the corner is resolved.
    std::optional<std::string> ResolutionWarning(double timeStep, int sampleCount) const;

    // The filter as the report header names it, e.g.
    // "Butterworth band-pass 0.1-25 Hz, order 4, acausal".
    std::string Describe() const;

    bool operator==(const FilterSettings&) const = default;
};

}  // namespace travik
