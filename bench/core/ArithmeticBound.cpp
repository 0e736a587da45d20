#include "ArithmeticBound.h"

#include <immintrin.h>

#include <cstddef>

namespace travik::bench {
namespace {

#define TRAVIK_TARGET __attribute__((target("avx512f,avx512dq")))

// GCC 12 takes the undefined pass-through operand inside _mm512_max_pd for an
// uninitialised value once the chains are unrolled; nothing here reads it.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

constexpr std::size_t kChains = 8;
constexpr std::size_t kGround = 64;

struct Chain {
    __m512d c1, c2, c3, c4;  // this chain's own coefficients of the ground accelerations
    __m512d u, v, sd, sv, sa;
};

// One step of the recurrence, as the kernels do it: u1 and v1 from four products each,
// the force from two more, and three peaks of absolute values.
TRAVIK_TARGET inline void Step(Chain& c, __m512d a, __m512d b, __m512d p0, __m512d p1) {
    const __m512d u1 =
        _mm512_add_pd(_mm512_add_pd(_mm512_add_pd(_mm512_mul_pd(a, c.u), _mm512_mul_pd(b, c.v)),
                                    _mm512_mul_pd(b, p0)),
                      _mm512_mul_pd(a, p1));
    const __m512d v1 =
        _mm512_add_pd(_mm512_add_pd(_mm512_add_pd(_mm512_mul_pd(b, c.u), _mm512_mul_pd(a, c.v)),
                                    _mm512_mul_pd(a, p0)),
                      _mm512_mul_pd(b, p1));
    const __m512d force = _mm512_add_pd(_mm512_mul_pd(a, v1), _mm512_mul_pd(b, u1));
    const __m512d sign = _mm512_set1_pd(-0.0);
    c.sd = _mm512_max_pd(_mm512_andnot_pd(sign, u1), c.sd);
    c.sv = _mm512_max_pd(_mm512_andnot_pd(sign, v1), c.sv);
    c.sa = _mm512_max_pd(_mm512_andnot_pd(sign, force), c.sa);
    c.u = u1;
    c.v = v1;
}

TRAVIK_TARGET double Run(std::int64_t steps) {
    // A rotation slightly inside the unit circle keeps every state bounded and normal.
    const __m512d a = _mm512_set1_pd(0.6);
    const __m512d b = _mm512_set1_pd(0.3);
    Chain chains[kChains];
    for (std::size_t k = 0; k < kChains; ++k) {
        const __m512d start = _mm512_set1_pd(0.01 * static_cast<double>(k + 1));
        const __m512d zero = _mm512_set1_pd(0.0);
        const double x = 0.1 * static_cast<double>(k + 1);
        chains[k] = {_mm512_set1_pd(x),
                     _mm512_set1_pd(x + 0.01),
                     _mm512_set1_pd(x + 0.02),
                     _mm512_set1_pd(x + 0.03),
                     start,
                     start,
                     zero,
                     zero,
                     zero};
    }
    // Ground accelerations broadcast from memory at every step, as in the kernels, so that
    // no product of them can be taken out of the loop.
    alignas(64) double ground[kGround + 1];
    for (std::size_t i = 0; i <= kGround; ++i) {
        ground[i] = 0.001 * static_cast<double>(i % 7) - 0.003;
    }
    for (std::int64_t i = 0; i < steps; ++i) {
        const std::size_t j = static_cast<std::size_t>(i) % kGround;
        const __m512d p0 = _mm512_set1_pd(ground[j]);
        const __m512d p1 = _mm512_set1_pd(ground[j + 1]);
        for (std::size_t k = 0; k < kChains; ++k) {
            Step(chains[k], a, b, p0, p1);
        }
    }
    alignas(64) double lanes[8];
    double sum = 0;
    for (const Chain& c : chains) {
        _mm512_store_pd(lanes, _mm512_add_pd(_mm512_add_pd(c.sd, c.sv), c.sa));
        for (const double lane : lanes) {
            sum += lane;
        }
    }
    return sum;
}

}  // namespace

BoundResult ExactStepThroughputAvx512(std::int64_t steps) {
    BoundResult result;
    if (!__builtin_cpu_supports("avx512f") || !__builtin_cpu_supports("avx512dq")) {
        return result;
    }
    result.ran = true;
    result.lanesPerStep = static_cast<double>(kChains * 8);
    result.checksum = Run(steps);
    return result;
}

}  // namespace travik::bench
