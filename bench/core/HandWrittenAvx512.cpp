// Hand-written AVX-512 layout, kept only here as the yardstick of what the vector kernels
// could reach on this machine.
#include "HandWrittenAvx512.h"

#include <immintrin.h>

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "analysis/OscillatorIntegrators.h"

namespace travik::bench {
namespace {

constexpr std::size_t kGroup = 16;

struct Group {
    int subSteps = 0;
    std::size_t used = 0;
    std::size_t index[kGroup] = {};
    double A[kGroup], B[kGroup], C[kGroup], D[kGroup], Ap[kGroup], Bp[kGroup], Cp[kGroup],
        Dp[kGroup], vf[kGroup], df[kGroup];
    double sd[kGroup], sv[kGroup], sa[kGroup];
};

#define TRAVIK_EXACT_STEP(k)                                                                     \
    {                                                                                            \
        const __m512d nu = _mm512_add_pd(                                                        \
            _mm512_add_pd(_mm512_add_pd(_mm512_mul_pd(A##k, u##k), _mm512_mul_pd(B##k, v##k)),   \
                          _mm512_mul_pd(C##k, p0)),                                              \
            _mm512_mul_pd(D##k, p1));                                                            \
        const __m512d nv = _mm512_add_pd(                                                        \
            _mm512_add_pd(_mm512_add_pd(_mm512_mul_pd(Ap##k, u##k), _mm512_mul_pd(Bp##k, v##k)), \
                          _mm512_mul_pd(Cp##k, p0)),                                             \
            _mm512_mul_pd(Dp##k, p1));                                                           \
        const __m512d force = _mm512_add_pd(_mm512_mul_pd(vf##k, nv), _mm512_mul_pd(df##k, nu)); \
        sd##k = _mm512_max_pd(_mm512_abs_pd(nu), sd##k);                                         \
        sv##k = _mm512_max_pd(_mm512_abs_pd(nv), sv##k);                                         \
        sa##k = _mm512_max_pd(_mm512_abs_pd(force), sa##k);                                      \
        u##k = nu;                                                                               \
        v##k = nv;                                                                               \
    }

#define TRAVIK_LOAD(name) \
    const __m512d name##0 = _mm512_loadu_pd(g.name), name##1 = _mm512_loadu_pd(g.name + 8)

__attribute__((target("avx512f"))) void Advance(const double* a, std::size_t count, double gravity,
                                                Group& g) {
    TRAVIK_LOAD(A);
    TRAVIK_LOAD(B);
    TRAVIK_LOAD(C);
    TRAVIK_LOAD(D);
    TRAVIK_LOAD(Ap);
    TRAVIK_LOAD(Bp);
    TRAVIK_LOAD(Cp);
    TRAVIK_LOAD(Dp);
    TRAVIK_LOAD(vf);
    TRAVIK_LOAD(df);
    const __m512d zero = _mm512_setzero_pd();
    __m512d u0 = zero, v0 = zero, sd0 = zero, sv0 = zero, sa0 = zero;
    __m512d u1 = zero, v1 = zero, sd1 = zero, sv1 = zero, sa1 = zero;
    const int subSteps = g.subSteps;
    const double n = subSteps;
    for (std::size_t j = 1; j < count; ++j) {
        const double start = gravity * a[j - 1];
        const double delta = (a[j] - a[j - 1]) * gravity / n;
        for (int i = 1; i <= subSteps; ++i) {
            const __m512d p0 = _mm512_set1_pd((i - 1) * delta + start);
            const __m512d p1 = _mm512_set1_pd(i * delta + start);
            TRAVIK_EXACT_STEP(0)
            TRAVIK_EXACT_STEP(1)
        }
    }
    _mm512_storeu_pd(g.sd, sd0);
    _mm512_storeu_pd(g.sd + 8, sd1);
    _mm512_storeu_pd(g.sv, sv0);
    _mm512_storeu_pd(g.sv + 8, sv1);
    _mm512_storeu_pd(g.sa, sa0);
    _mm512_storeu_pd(g.sa + 8, sa1);
}

}  // namespace

bool HandWrittenAvx512Spectra(const std::vector<double>& acceleration, double timeStep, double g,
                              double maxDtOverT, const std::vector<double>& dampingRatios,
                              const std::vector<double>& periods, std::vector<HandPeaks>& peaks) {
    if (!__builtin_cpu_supports("avx512f")) {
        return false;
    }
    struct Oscillator {
        int n;
        std::size_t index;
        PiecewiseExactCoefficients c;
        double vf, df;
    };
    std::vector<Oscillator> oscillators;
    for (const double zeta : dampingRatios) {
        for (const double period : periods) {
            const int n = static_cast<int>(timeStep / (period * maxDtOverT) + 1);
            const double omega = kTwoPi / period;
            oscillators.push_back({n, oscillators.size(),
                                   ComputePiecewiseExactCoefficients(zeta, timeStep / n, omega),
                                   2 * zeta * omega, omega * omega});
        }
    }
    std::stable_sort(oscillators.begin(), oscillators.end(),
                     [](const Oscillator& x, const Oscillator& y) { return x.n > y.n; });
    peaks.assign(oscillators.size(), {});
    std::size_t first = 0;
    Group group;
    while (first < oscillators.size()) {
        group.subSteps = oscillators[first].n;
        group.used = 0;
        while (group.used < kGroup && first + group.used < oscillators.size() &&
               oscillators[first + group.used].n == group.subSteps) {
            ++group.used;
        }
        for (std::size_t l = 0; l < kGroup; ++l) {
            const Oscillator& o = oscillators[first + (l < group.used ? l : 0)];
            group.index[l] = o.index;
            group.A[l] = o.c.A;
            group.B[l] = o.c.B;
            group.C[l] = o.c.C;
            group.D[l] = o.c.D;
            group.Ap[l] = o.c.Ap;
            group.Bp[l] = o.c.Bp;
            group.Cp[l] = o.c.Cp;
            group.Dp[l] = o.c.Dp;
            group.vf[l] = o.vf;
            group.df[l] = o.df;
        }
        Advance(acceleration.data(), acceleration.size(), g, group);
        for (std::size_t l = 0; l < group.used; ++l) {
            peaks[group.index[l]] = {group.sd[l], group.sv[l], group.sa[l] / std::fabs(g)};
        }
        first += group.used;
    }
    return true;
}

}  // namespace travik::bench
