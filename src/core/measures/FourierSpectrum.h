#pragma once

#include <span>
#include <vector>

namespace travik {

// Fourier amplitude spectrum of an acceleration record.
struct FourierSpectrum {
    double timeStep = 0.0;   // s, of the record
    int sampleCount = 0;     // samples of the record
    int fftLength = 0;       // the record zero-padded to the next power of two (>= sampleCount)
    double bandwidth = 0.0;  // Konno-Ohmachi b of `smoothed` (0: not smoothed)
    // Frequencies k / (fftLength * timeStep), Hz, for k = 1 .. fftLength / 2 (the mean,
    // k = 0, has no place on log-log axes and no smoothing window).
    std::vector<double> frequencies;
    // |dt * sum_n a_n exp(-2 pi i k n / fftLength)|, a in cm/sec^2: cm/sec.
    std::vector<double> amplitudes;
    // Konno-Ohmachi smoothed amplitudes, cm/sec (empty when not smoothed).
    std::vector<double> smoothed;
};

// The amplitude spectrum (FFTW real-to-complex transform) of `acceleration` (g) sampled
// every `timeStep` s, with g in cm/sec^2 to turn g into cm/sec^2. With `bandwidth` > 0 the
// spectrum is also smoothed by KonnoOhmachiSmooth. An empty series gives an empty spectrum.
FourierSpectrum ComputeFourierSpectrum(std::span<const double> acceleration, double timeStep,
                                       double gravity, double bandwidth);

// Konno and Ohmachi (1998) smoothing: at each frequency fc,
//   S(fc) = sum_f W(f, fc) A(f) / sum_f W(f, fc),  W = [sin(b log10(f/fc)) / (b log10(f/fc))]^4,
// over every frequency of the spectrum (W(fc, fc) = 1), with b the bandwidth (40 usual).
// `frequencies` must be k * df, k = 1, 2, ... (an FFT's positive frequencies).
//
// A direct sum costs frequencies^2. Here the frequencies are gathered into bins 0.08 wide
// in the window's argument (0.002 decade for b = 40) holding the sums of A, A * e and
// A * e^2, e the offset from the bin centre, and the window is expanded to second order
// about the bin centre. The sums over bins are evaluated at the bin centres and
// interpolated by cubics in log frequency, except at the lowest frequencies, those more
// than a bin apart (about 5.4 b of them), where they are evaluated at each frequency.
// Cost: frequencies (binning) + (bins + 5.4 b) * bins, at most 12.5 b bins per decade;
// relative difference from the direct sum below 1e-5 for b = 40 (1e-4 for b = 20 to 80).
std::vector<double> KonnoOhmachiSmooth(std::span<const double> frequencies,
                                       std::span<const double> amplitudes, double bandwidth);

}  // namespace travik
