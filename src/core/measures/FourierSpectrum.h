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
// A direct sum costs frequencies^2. Here the frequencies are gathered into bins of 0.002
// decade (b * 0.04 in the window's argument for b = 40) holding the sums of A, A * e and
// A * e^2, e the offset from the bin centre, and the window is expanded to second order
// about the bin centre; the sums over bins are evaluated at bin centres and interpolated
// linearly in log frequency. Cost: frequencies (binning) + bins^2, with at most
// 500 bins per decade; relative difference from the direct sum below 1e-4.
std::vector<double> KonnoOhmachiSmooth(std::span<const double> frequencies,
                                       std::span<const double> amplitudes, double bandwidth);

}  // namespace travik
