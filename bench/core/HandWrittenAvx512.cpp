// Hand-written AVX-512 layout, kept only here as the yardstick of what the vector kernels
// could reach on this machine.
#include "HandWrittenAvx512.h"

#include <immintrin.h>

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "core/analysis/OscillatorIntegrators.h"

namespace travik::bench {
namespace {

constexpr std::size_t kGroup = 16;
constexpr int kMaxPrecomputed = 64;

struct Group {
    int maxSubSteps = 0;
    int minSubSteps = 0;
    std::size_t used = 0;
    std::size_t index[kGroup] = {};
    double n[kGroup], A[kGroup], B[kGroup], C[kGroup], D[kGroup], Ap[kGroup], Bp[kGroup],
        Cp[kGroup], Dp[kGroup], vf[kGroup], df[kGroup];
    double sd[kGroup], sv[kGroup], sa[kGroup];
};

#define TRAVIK_TARGET __attribute__((target("avx512f")))

TRAVIK_TARGET inline __m512d Abs(__m512d x) {
    return _mm512_castsi512_pd(
        _mm512_and_epi64(_mm512_castpd_si512(x), _mm512_set1_epi64(0x7FFFFFFFFFFFFFFF)));
}

// MAXPD: a when a > b, else b. (The masked form with every lane set, because GCC 12 warns
// about the unmasked intrinsic's undefined source operand.)
TRAVIK_TARGET inline __m512d Max(__m512d a, __m512d b) {
    return _mm512_mask_max_pd(b, 0xFF, a, b);
}

// Sixteen oscillators in two registers each of eight; every lane in the order of the
// one-oscillator code, MAXPD keeping the peaks as its strict comparison does.
struct Lanes {
    __m512d A, B, C, D, Ap, Bp, Cp, Dp, vf, df, u, v, sd, sv, sa;

    TRAVIK_TARGET explicit Lanes(const Group& g, std::size_t o)
        : A(_mm512_loadu_pd(g.A + o)),
          B(_mm512_loadu_pd(g.B + o)),
          C(_mm512_loadu_pd(g.C + o)),
          D(_mm512_loadu_pd(g.D + o)),
          Ap(_mm512_loadu_pd(g.Ap + o)),
          Bp(_mm512_loadu_pd(g.Bp + o)),
          Cp(_mm512_loadu_pd(g.Cp + o)),
          Dp(_mm512_loadu_pd(g.Dp + o)),
          vf(_mm512_loadu_pd(g.vf + o)),
          df(_mm512_loadu_pd(g.df + o)),
          u(_mm512_setzero_pd()),
          v(_mm512_setzero_pd()),
          sd(_mm512_setzero_pd()),
          sv(_mm512_setzero_pd()),
          sa(_mm512_setzero_pd()) {}

    TRAVIK_TARGET inline void Step(__m512d p0, __m512d p1) {
        const __m512d nu =
            _mm512_add_pd(_mm512_add_pd(_mm512_add_pd(_mm512_mul_pd(A, u), _mm512_mul_pd(B, v)),
                                        _mm512_mul_pd(C, p0)),
                          _mm512_mul_pd(D, p1));
        const __m512d nv =
            _mm512_add_pd(_mm512_add_pd(_mm512_add_pd(_mm512_mul_pd(Ap, u), _mm512_mul_pd(Bp, v)),
                                        _mm512_mul_pd(Cp, p0)),
                          _mm512_mul_pd(Dp, p1));
        const __m512d force = _mm512_add_pd(_mm512_mul_pd(vf, nv), _mm512_mul_pd(df, nu));
        sd = Max(Abs(nu), sd);
        sv = Max(Abs(nv), sv);
        sa = Max(Abs(force), sa);
        u = nu;
        v = nv;
    }

    // Lanes outside `active` keep everything: AVX-512's masked forms do it in place.
    TRAVIK_TARGET inline void Step(__m512d p0, __m512d p1, __mmask8 active) {
        const __m512d nu =
            _mm512_add_pd(_mm512_add_pd(_mm512_add_pd(_mm512_mul_pd(A, u), _mm512_mul_pd(B, v)),
                                        _mm512_mul_pd(C, p0)),
                          _mm512_mul_pd(D, p1));
        const __m512d nv =
            _mm512_add_pd(_mm512_add_pd(_mm512_add_pd(_mm512_mul_pd(Ap, u), _mm512_mul_pd(Bp, v)),
                                        _mm512_mul_pd(Cp, p0)),
                          _mm512_mul_pd(Dp, p1));
        const __m512d force = _mm512_add_pd(_mm512_mul_pd(vf, nv), _mm512_mul_pd(df, nu));
        sd = _mm512_mask_max_pd(sd, active, Abs(nu), sd);
        sv = _mm512_mask_max_pd(sv, active, Abs(nv), sv);
        sa = _mm512_mask_max_pd(sa, active, Abs(force), sa);
        u = _mm512_mask_mov_pd(u, active, nu);
        v = _mm512_mask_mov_pd(v, active, nv);
    }

    TRAVIK_TARGET void Store(Group& g, std::size_t o) const {
        _mm512_storeu_pd(g.sd + o, sd);
        _mm512_storeu_pd(g.sv + o, sv);
        _mm512_storeu_pd(g.sa + o, sa);
    }
};

// One sub-step count: the ground accelerations i * delta + start of eight samples are
// computed at once and broadcast back from memory.
template <bool Two>
TRAVIK_TARGET void AdvanceUniform(const double* a, std::size_t count, double gravity, Group& g) {
    Lanes first(g, 0), second(g, 8);
    const int n = g.maxSubSteps;
    const double nd = n;
    std::size_t j = 1;
    if (n <= kMaxPrecomputed) {
        alignas(64) double ground[(kMaxPrecomputed + 1) * 8];
        const __m512d gv = _mm512_set1_pd(gravity);
        const __m512d nv = _mm512_set1_pd(nd);
        for (; j + 8 <= count; j += 8) {
            const __m512d before = _mm512_loadu_pd(a + j - 1);
            const __m512d after = _mm512_loadu_pd(a + j);
            const __m512d start = _mm512_mul_pd(gv, before);
            const __m512d delta =
                _mm512_div_pd(_mm512_mul_pd(_mm512_sub_pd(after, before), gv), nv);
            for (int i = 0; i <= n; ++i) {
                _mm512_store_pd(ground + i * 8,
                                _mm512_add_pd(_mm512_mul_pd(_mm512_set1_pd(i), delta), start));
            }
            for (int s = 0; s < 8; ++s) {
                for (int i = 1; i <= n; ++i) {
                    const __m512d p0 = _mm512_set1_pd(ground[(i - 1) * 8 + s]);
                    const __m512d p1 = _mm512_set1_pd(ground[i * 8 + s]);
                    first.Step(p0, p1);
                    if constexpr (Two) {
                        second.Step(p0, p1);
                    }
                }
            }
        }
    }
    for (; j < count; ++j) {
        const double start = gravity * a[j - 1];
        const double delta = (a[j] - a[j - 1]) * gravity / nd;
        for (int i = 1; i <= n; ++i) {
            const __m512d p0 = _mm512_set1_pd((i - 1) * delta + start);
            const __m512d p1 = _mm512_set1_pd(i * delta + start);
            first.Step(p0, p1);
            if constexpr (Two) {
                second.Step(p0, p1);
            }
        }
    }
    first.Store(g, 0);
    second.Store(g, 8);
}

// Several sub-step counts: each lane its own delta; a lane sits out the sub-steps beyond
// its count under a mask.
template <bool Two>
TRAVIK_TARGET void AdvanceMixed(const double* a, std::size_t count, double gravity, Group& g) {
    Lanes first(g, 0), second(g, 8);
    const __m512d n0 = _mm512_loadu_pd(g.n), n1 = _mm512_loadu_pd(g.n + 8);
    for (std::size_t j = 1; j < count; ++j) {
        const __m512d start = _mm512_set1_pd(gravity * a[j - 1]);
        const __m512d rise = _mm512_set1_pd((a[j] - a[j - 1]) * gravity);
        const __m512d delta0 = _mm512_div_pd(rise, n0), delta1 = _mm512_div_pd(rise, n1);
        __m512d p00 = _mm512_add_pd(_mm512_mul_pd(_mm512_setzero_pd(), delta0), start);
        __m512d p01 = _mm512_add_pd(_mm512_mul_pd(_mm512_setzero_pd(), delta1), start);
        for (int i = 1; i <= g.maxSubSteps; ++i) {
            const __m512d after = _mm512_set1_pd(i);
            const __m512d p10 = _mm512_add_pd(_mm512_mul_pd(after, delta0), start);
            const __m512d p11 = _mm512_add_pd(_mm512_mul_pd(after, delta1), start);
            if (i <= g.minSubSteps) {
                first.Step(p00, p10);
                if constexpr (Two) {
                    second.Step(p01, p11);
                }
            } else {
                first.Step(p00, p10, _mm512_cmp_pd_mask(after, n0, _CMP_LE_OQ));
                if constexpr (Two) {
                    second.Step(p01, p11, _mm512_cmp_pd_mask(after, n1, _CMP_LE_OQ));
                }
            }
            p00 = p10;
            p01 = p11;
        }
    }
    first.Store(g, 0);
    second.Store(g, 8);
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
    // Descending sub-step counts cut into groups of one or two registers: the cut with the
    // least sum of (longest count x cost of the width), one register costing 0.65 of two.
    std::stable_sort(oscillators.begin(), oscillators.end(),
                     [](const Oscillator& x, const Oscillator& y) { return x.n > y.n; });
    const std::size_t count = oscillators.size();
    std::vector<double> cost(count + 1, 0.0);
    std::vector<std::size_t> take(count + 1, 0);
    for (std::size_t i = count; i-- > 0;) {
        const std::size_t small = std::min<std::size_t>(8, count - i);
        const std::size_t large = std::min(kGroup, count - i);
        const double smallCost = 0.65 * oscillators[i].n + cost[i + small];
        const double largeCost = (large > 8 ? 1.0 : 0.65) * oscillators[i].n + cost[i + large];
        take[i] = largeCost <= smallCost ? large : small;
        cost[i] = std::min(smallCost, largeCost);
    }
    peaks.assign(oscillators.size(), {});
    Group group;
    for (std::size_t first = 0; first < count; first += take[first]) {
        group.used = take[first];
        group.maxSubSteps = oscillators[first].n;
        group.minSubSteps = oscillators[first + group.used - 1].n;
        for (std::size_t l = 0; l < kGroup; ++l) {
            const Oscillator& o = oscillators[first + (l < group.used ? l : 0)];
            group.index[l] = o.index;
            group.n[l] = o.n;
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
        const bool two = group.used > 8;
        const bool uniform = group.minSubSteps == group.maxSubSteps;
        const double* a = acceleration.data();
        const std::size_t samples = acceleration.size();
        if (uniform) {
            two ? AdvanceUniform<true>(a, samples, g, group)
                : AdvanceUniform<false>(a, samples, g, group);
        } else {
            two ? AdvanceMixed<true>(a, samples, g, group)
                : AdvanceMixed<false>(a, samples, g, group);
        }
        for (std::size_t l = 0; l < group.used; ++l) {
            peaks[group.index[l]] = {group.sd[l], group.sv[l], group.sa[l] / std::fabs(g)};
        }
    }
    return true;
}

}  // namespace travik::bench
