#include "core/measures/FourierSpectrum.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstddef>
#include <mutex>

namespace travik {
namespace {

// FFTW's planner is not thread-safe; executing a plan is.
std::mutex& PlannerMutex() {
    static std::mutex mutex;
    return mutex;
}

std::size_t NextPowerOfTwo(std::size_t n) {
    std::size_t power = 1;
    while (power < n) {
        power *= 2;
    }
    return power;
}

// sin(u)/u and its first two derivatives; Taylor series near 0, where the closed forms
// lose their digits to cancellation.
struct Sinc {
    double s, ds, d2s;
};

Sinc EvaluateSinc(double u) {
    if (std::fabs(u) < 0.1) {
        const double u2 = u * u;
        return {1.0 - u2 / 6.0 * (1.0 - u2 / 20.0 * (1.0 - u2 / 42.0)),
                u * (-1.0 / 3.0 + u2 * (1.0 / 30.0 - u2 * (1.0 / 840.0 - u2 / 45360.0))),
                -1.0 / 3.0 + u2 * (1.0 / 10.0 - u2 * (1.0 / 168.0 - u2 / 6480.0))};
    }
    const double sine = std::sin(u);
    const double cosine = std::cos(u);
    return {sine / u, (u * cosine - sine) / (u * u),
            ((2.0 - u * u) * sine - 2.0 * u * cosine) / (u * u * u)};
}

// The Konno-Ohmachi window W(u) = (sin u / u)^4 and its derivatives in u.
struct Window {
    double w, dw, d2w;
};

Window EvaluateWindow(double u) {
    const Sinc s = EvaluateSinc(u);
    const double s2 = s.s * s.s;
    return {s2 * s2, 4.0 * s2 * s.s * s.ds, 12.0 * s2 * s.ds * s.ds + 4.0 * s2 * s.s * s.d2s};
}

// Width of a bin in the window's argument b log10(f / fc): 0.002 decade for b = 40.
constexpr double kBinArgument = 0.08;

// Per bin: moments of the amplitudes and of the count about the centre, the offset in
// units of the window's argument.
struct Moments {
    double a0 = 0, a1 = 0, a2 = 0, c0 = 0, c1 = 0, c2 = 0;
    double position = 0;  // of the bin's first frequency, in bins
};

// The frequencies gathered into bins of kBinArgument, with the bins that hold any.
struct Bins {
    std::vector<Moments> moments;
    std::vector<std::size_t> occupied;
};

Bins GatherBins(std::span<const double> position, std::span<const double> amplitudes,
                std::size_t binCount) {
    Bins bins;
    bins.moments.resize(binCount);
    for (std::size_t j = 0; j < position.size(); ++j) {
        const double nearest = std::round(position[j]);
        const double e = (position[j] - nearest) * kBinArgument;
        Moments& m = bins.moments[static_cast<std::size_t>(nearest)];
        if (m.c0 == 0.0) {
            m.position = position[j];
        }
        const double a = amplitudes[j];
        m.a0 += a;
        m.a1 += a * e;
        m.a2 += a * e * e;
        m.c0 += 1.0;
        m.c1 += e;
        m.c2 += e * e;
    }
    for (std::size_t i = 0; i < binCount; ++i) {
        if (bins.moments[i].c0 > 0.0) {
            bins.occupied.push_back(i);
        }
    }
    return bins;
}

// Where consecutive frequencies lie more than a bin apart (the lowest ones, up to about
// 5.4 b of them), the window is evaluated at each frequency itself, and exactly for a bin
// holding one frequency: there the smoothed curve follows single far amplitudes through the
// window's side lobes too closely to be interpolated. Returns how many frequencies these are.
std::size_t SmoothSparseFrequencies(std::span<const double> position, const Bins& bins,
                                    std::vector<double>& smoothed) {
    std::size_t sparse = 0;
    while (sparse + 1 < position.size() && position[sparse + 1] - position[sparse] > 1.0) {
        ++sparse;
    }
    if (sparse > 0) {
        ++sparse;
    }
    for (std::size_t j = 0; j < sparse; ++j) {
        double numerator = 0.0;
        double denominator = 0.0;
        for (const std::size_t i : bins.occupied) {
            const Moments& m = bins.moments[i];
            if (m.c0 == 1.0) {
                const double w = EvaluateWindow((m.position - position[j]) * kBinArgument).w;
                numerator += w * m.a0;
                denominator += w;
            } else {
                const Window w =
                    EvaluateWindow((static_cast<double>(i) - position[j]) * kBinArgument);
                numerator += w.w * m.a0 + w.dw * m.a1 + 0.5 * w.d2w * m.a2;
                denominator += w.w * m.c0 + w.dw * m.c1 + 0.5 * w.d2w * m.c2;
            }
        }
        smoothed[j] = denominator > 0.0 ? numerator / denominator : 0.0;
    }
    return sparse;
}

std::size_t ClampBin(long long index, std::size_t binCount) {
    return static_cast<std::size_t>(
        std::clamp<long long>(index, 0, static_cast<long long>(binCount) - 1));
}

// The smoothed value at the centres of the bins that the frequencies from `first` on are
// interpolated from: sum over bins of W, W' and W''/2 times the moments (W even, W' odd in
// the offset).
std::vector<double> SmoothAtCentres(std::span<const double> position, std::size_t first,
                                    const Bins& bins) {
    const std::size_t binCount = bins.moments.size();
    std::vector<Window> table(binCount);
    for (std::size_t d = 0; d < binCount; ++d) {
        table[d] = EvaluateWindow(kBinArgument * static_cast<double>(d));
    }
    std::vector<double> atCentre(binCount, 0.0);
    std::vector<char> needed(binCount, 0);
    for (std::size_t j = first; j < position.size(); ++j) {
        const long long below = static_cast<long long>(std::floor(position[j]));
        for (long long c = below - 1; c <= below + 2; ++c) {
            needed[ClampBin(c, binCount)] = 1;
        }
    }
    for (std::size_t c = 0; c < binCount; ++c) {
        if (!needed[c]) {
            continue;
        }
        double numerator = 0.0;
        double denominator = 0.0;
        for (const std::size_t i : bins.occupied) {
            const bool above = i >= c;
            const Window& w = table[above ? i - c : c - i];
            const double slope = above ? w.dw : -w.dw;
            const Moments& m = bins.moments[i];
            numerator += w.w * m.a0 + slope * m.a1 + 0.5 * w.d2w * m.a2;
            denominator += w.w * m.c0 + slope * m.c1 + 0.5 * w.d2w * m.c2;
        }
        atCentre[c] = denominator > 0.0 ? numerator / denominator : 0.0;
    }
    return atCentre;
}

// Cubic Lagrange interpolation through the four nearest centres: the far parts of the
// window add ripples of a quarter of its width, which a straight line would cut.
void InterpolateCentres(std::span<const double> position, std::size_t first,
                        const std::vector<double>& atCentre, std::vector<double>& smoothed) {
    const std::size_t binCount = atCentre.size();
    for (std::size_t j = first; j < position.size(); ++j) {
        const double below = std::floor(position[j]);
        const double t = position[j] - below;
        const long long c = static_cast<long long>(below);
        if (c < 1 || c + 2 > static_cast<long long>(binCount) - 1) {
            const std::size_t next = ClampBin(c + 1, binCount);
            const std::size_t here = ClampBin(c, binCount);
            smoothed[j] = atCentre[here] + t * (atCentre[next] - atCentre[here]);
            continue;
        }
        const double p0 = atCentre[static_cast<std::size_t>(c - 1)];
        const double p1 = atCentre[static_cast<std::size_t>(c)];
        const double p2 = atCentre[static_cast<std::size_t>(c + 1)];
        const double p3 = atCentre[static_cast<std::size_t>(c + 2)];
        smoothed[j] = -t * (t - 1) * (t - 2) / 6 * p0 + (t + 1) * (t - 1) * (t - 2) / 2 * p1 -
                      (t + 1) * t * (t - 2) / 2 * p2 + (t + 1) * t * (t - 1) / 6 * p3;
    }
}

}  // namespace

std::vector<double> KonnoOhmachiSmooth(std::span<const double> frequencies,
                                       std::span<const double> amplitudes, double bandwidth) {
    const std::size_t count = std::min(frequencies.size(), amplitudes.size());
    std::vector<double> smoothed(count, 0.0);
    if (count == 0 || !(bandwidth > 0.0)) {
        return smoothed;
    }
    const double y0 = std::log10(frequencies[0]);
    std::vector<double> position(count);  // in bins from the first frequency
    for (std::size_t j = 0; j < count; ++j) {
        position[j] = (std::log10(frequencies[j]) - y0) * bandwidth / kBinArgument;
    }
    const std::size_t binCount = static_cast<std::size_t>(std::llround(position[count - 1])) + 2;
    const Bins bins = GatherBins(position, amplitudes.first(count), binCount);
    const std::size_t sparse = SmoothSparseFrequencies(position, bins, smoothed);
    InterpolateCentres(position, sparse, SmoothAtCentres(position, sparse, bins), smoothed);
    return smoothed;
}

FourierSpectrum ComputeFourierSpectrum(std::span<const double> acceleration, double timeStep,
                                       double gravity, double bandwidth) {
    FourierSpectrum spectrum;
    spectrum.timeStep = timeStep;
    spectrum.sampleCount = static_cast<int>(acceleration.size());
    if (acceleration.empty() || !(timeStep > 0.0)) {
        return spectrum;
    }
    const std::size_t length = std::max<std::size_t>(NextPowerOfTwo(acceleration.size()), 2);
    spectrum.fftLength = static_cast<int>(length);

    double* input = fftw_alloc_real(length);
    fftw_complex* output = fftw_alloc_complex(length / 2 + 1);
    fftw_plan plan = nullptr;
    {
        const std::lock_guard<std::mutex> lock(PlannerMutex());
        plan = fftw_plan_dft_r2c_1d(static_cast<int>(length), input, output, FFTW_ESTIMATE);
    }
    for (std::size_t n = 0; n < length; ++n) {
        input[n] = n < acceleration.size() ? acceleration[n] * gravity : 0.0;
    }
    fftw_execute(plan);

    const std::size_t half = length / 2;
    spectrum.frequencies.resize(half);
    spectrum.amplitudes.resize(half);
    const double df = 1.0 / (static_cast<double>(length) * timeStep);
    for (std::size_t k = 1; k <= half; ++k) {
        spectrum.frequencies[k - 1] = static_cast<double>(k) * df;
        spectrum.amplitudes[k - 1] = timeStep * std::hypot(output[k][0], output[k][1]);
    }
    {
        const std::lock_guard<std::mutex> lock(PlannerMutex());
        fftw_destroy_plan(plan);
    }
    fftw_free(input);
    fftw_free(output);

    if (bandwidth > 0.0) {
        spectrum.bandwidth = bandwidth;
        spectrum.smoothed =
            KonnoOhmachiSmooth(spectrum.frequencies, spectrum.amplitudes, bandwidth);
    }
    return spectrum;
}

}  // namespace travik
