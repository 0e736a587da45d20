#include "PlainSpectrum.h"

#include <cmath>
#include <cstdint>

namespace travik::bench {

PlainPeaks PlainOscillatorPeaks(const std::vector<double>& a, double dt, double g,
                                double maxDtOverT, double zeta, double period) {
    // 6.2831852: the program's fixed value of 2 pi.
    const double w = 6.2831852 / period;
    const int n = static_cast<int>(dt / (period * maxDtOverT) + 1);
    const double h = dt / n;
    const double E = std::exp(-zeta * w * h);
    const double wd = w * std::sqrt(1 - zeta * zeta);
    const double S = std::sin(wd * h), K = std::cos(wd * h);
    const double A = (zeta * w * S / wd + K) * E;
    const double B = E * S / wd;
    const double Ap = -(w * w) * E * S / wd;
    const double Bp = (K - zeta * w * S / wd) * E;
    const double P = (2 * zeta * zeta - 1) / (w * w * h);
    const double Q = 2 * zeta / (w * w * w * h);
    const double X = K - w * zeta * S / wd;
    const double Y = wd * S + zeta * w * K;
    const double C = E * ((zeta / w + P) * S / wd + (1 / (w * w) + Q) * K) - Q;
    const double D = -E * (P * S / wd + Q * K) - 1 / (w * w) + Q;
    const double Cp = E * ((zeta / w + P) * X - (1 / (w * w) + Q) * Y) + 1 / (w * w * h);
    const double Dp = -E * (P * X - Q * Y) - 1 / (w * w * h);

    PlainPeaks peaks;
    double u = 0, v = 0;
    for (std::size_t j = 1; j < a.size(); ++j) {
        const double delta = (a[j] - a[j - 1]) * g / n;
        for (int i = 1; i <= n; ++i) {
            const double p0 = (i - 1) * delta + g * a[j - 1];
            const double p1 = i * delta + g * a[j - 1];
            const double u1 = A * u + B * v + C * p0 + D * p1;
            const double v1 = Ap * u + Bp * v + Cp * p0 + Dp * p1;
            const double alpha = -(2 * zeta * w * v1 + w * w * u1) / g;
            if (std::fabs(u1) > peaks.sd) {
                peaks.sd = std::fabs(u1);
            }
            if (std::fabs(v1) > peaks.sv) {
                peaks.sv = std::fabs(v1);
            }
            if (std::fabs(alpha) > peaks.sa) {
                peaks.sa = std::fabs(alpha);
            }
            u = u1;
            v = v1;
        }
    }
    return peaks;
}

std::vector<double> SyntheticRecord(int count) {
    std::vector<double> samples;
    std::uint64_t state = 42;
    double smooth = 0;
    for (int i = 0; i < count; ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const double unit = static_cast<double>(state >> 11) * 0x1.0p-53 - 0.5;
        smooth = 0.7 * smooth + 0.3 * unit;
        const double t = i / static_cast<double>(count);
        samples.push_back(0.8 * smooth * t * std::exp(-6 * t) * 6);
    }
    return samples;
}

}  // namespace travik::bench
