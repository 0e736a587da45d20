// The oscillators' vector arithmetic, shared by the kernels compiled per instruction set
// (OscillatorKernels.cpp, OscillatorStreams.cpp). Included once per instruction set after
// foreach_target.h and highway.h, as Highway's per-target headers are. Only Mul, Add, Sub,
// Div and Abs, each lane in the order of the one-oscillator code, so that the digits do
// not depend on the instruction set.

// Per-target include guard: toggled once for every instruction set foreach_target.h visits.
#if defined(TRAVIK_CORE_ANALYSIS_OSCILLATOR_LANES_INL_H_) == defined(HWY_TARGET_TOGGLE)
#ifdef TRAVIK_CORE_ANALYSIS_OSCILLATOR_LANES_INL_H_
#undef TRAVIK_CORE_ANALYSIS_OSCILLATOR_LANES_INL_H_
#else
#define TRAVIK_CORE_ANALYSIS_OSCILLATOR_LANES_INL_H_
#endif

#include <hwy/highway.h>

#include <cstddef>
#include <utility>

// OscillatorGroup comes from core/analysis/OscillatorKernels.h, which every includer names
// first (not here, where it would close a circle through OscillatorKernels.cpp).

HWY_BEFORE_NAMESPACE();
namespace travik::kernels {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

using Tag = hn::CappedTag<double, 8>;
using V = hn::Vec<Tag>;
using M = hn::Mask<Tag>;

// candidate > peak ? candidate : peak, so that a non-number never becomes a peak.
HWY_INLINE V KeepPeak(V candidate, V peak) {
#if HWY_ARCH_X86 && HWY_TARGET <= HWY_SSSE3
    // MAXPD yields its first operand when that compares greater, else its second (also
    // when either is a non-number): the very rule above in one instruction.
    return hn::Max(candidate, peak);
#else
    return hn::IfThenElse(hn::Gt(candidate, peak), candidate, peak);
#endif
}

// One vector of oscillators: its fixed coefficients and its state.
struct ExactLanes {
    V A, B, C, D, Ap, Bp, Cp, Dp, vf, df;
    V u, v, sd, sv, sa;

    void Load(const OscillatorGroup& group, std::size_t offset) {
        LoadCoefficients(group, offset);
        u = v = sd = sv = sa = hn::Zero(Tag());
    }

    // Carries on a run from the state Suspend left in the group.
    void Resume(const OscillatorGroup& group, std::size_t offset) {
        const Tag d;
        LoadCoefficients(group, offset);
        u = hn::Load(d, group.u + offset);
        v = hn::Load(d, group.v + offset);
        sd = hn::Load(d, group.sd + offset);
        sv = hn::Load(d, group.sv + offset);
        sa = hn::Load(d, group.saNumerator + offset);
    }

    void Suspend(OscillatorGroup& group, std::size_t offset) const {
        const Tag d;
        hn::Store(u, d, group.u + offset);
        hn::Store(v, d, group.v + offset);
        Store(group, offset);
    }

    void LoadCoefficients(const OscillatorGroup& group, std::size_t offset) {
        const Tag d;
        A = hn::Load(d, group.exact.A + offset);
        B = hn::Load(d, group.exact.B + offset);
        C = hn::Load(d, group.exact.C + offset);
        D = hn::Load(d, group.exact.D + offset);
        Ap = hn::Load(d, group.exact.Ap + offset);
        Bp = hn::Load(d, group.exact.Bp + offset);
        Cp = hn::Load(d, group.exact.Cp + offset);
        Dp = hn::Load(d, group.exact.Dp + offset);
        vf = hn::Load(d, group.exact.velocityFactor + offset);
        df = hn::Load(d, group.exact.displacementFactor + offset);
    }

    // u1 = A u + B v + C p0 + D p1, v1 = A' u + B' v + C' p0 + D' p1 (Nigam & Jennings,
    // 1969), summed left to right; the total acceleration times g is 2 zeta omega v1 +
    // omega^2 u1 up to its sign.
    HWY_INLINE void Step(V p0, V p1) {
        const V u1 =
            hn::Add(hn::Add(hn::Add(hn::Mul(A, u), hn::Mul(B, v)), hn::Mul(C, p0)), hn::Mul(D, p1));
        const V v1 = hn::Add(hn::Add(hn::Add(hn::Mul(Ap, u), hn::Mul(Bp, v)), hn::Mul(Cp, p0)),
                             hn::Mul(Dp, p1));
        const V force = hn::Add(hn::Mul(vf, v1), hn::Mul(df, u1));
        sd = KeepPeak(hn::Abs(u1), sd);
        sv = KeepPeak(hn::Abs(v1), sv);
        sa = KeepPeak(hn::Abs(force), sa);
        u = u1;
        v = v1;
    }

    // The same for the lanes in `active`; the others keep their state.
    HWY_INLINE void Step(V p0, V p1, M active) {
        const V u1 =
            hn::Add(hn::Add(hn::Add(hn::Mul(A, u), hn::Mul(B, v)), hn::Mul(C, p0)), hn::Mul(D, p1));
        const V v1 = hn::Add(hn::Add(hn::Add(hn::Mul(Ap, u), hn::Mul(Bp, v)), hn::Mul(Cp, p0)),
                             hn::Mul(Dp, p1));
        const V force = hn::Add(hn::Mul(vf, v1), hn::Mul(df, u1));
        sd = hn::IfThenElse(active, KeepPeak(hn::Abs(u1), sd), sd);
        sv = hn::IfThenElse(active, KeepPeak(hn::Abs(v1), sv), sv);
        sa = hn::IfThenElse(active, KeepPeak(hn::Abs(force), sa), sa);
        u = hn::IfThenElse(active, u1, u);
        v = hn::IfThenElse(active, v1, v);
    }

    void Store(OscillatorGroup& group, std::size_t offset) const {
        const Tag d;
        hn::Store(sd, d, group.sd + offset);
        hn::Store(sv, d, group.sv + offset);
        hn::Store(sa, d, group.saNumerator + offset);
    }
};

// Newmark (1959), incremental form for a unit mass.
struct NewmarkLanes {
    V kHat, a1, b1, dvPerDu, dvPerV, dvPerW, betaHH, betaH, twoBeta;
    V u, v, w, sd, sv, sa;

    void Load(const OscillatorGroup& group, std::size_t offset) {
        LoadCoefficients(group, offset);
        u = v = w = sd = sv = sa = hn::Zero(Tag());
    }

    void Resume(const OscillatorGroup& group, std::size_t offset) {
        const Tag d;
        LoadCoefficients(group, offset);
        u = hn::Load(d, group.u + offset);
        v = hn::Load(d, group.v + offset);
        w = hn::Load(d, group.w + offset);
        sd = hn::Load(d, group.sd + offset);
        sv = hn::Load(d, group.sv + offset);
        sa = hn::Load(d, group.saNumerator + offset);
    }

    void Suspend(OscillatorGroup& group, std::size_t offset) const {
        const Tag d;
        hn::Store(u, d, group.u + offset);
        hn::Store(v, d, group.v + offset);
        hn::Store(w, d, group.w + offset);
        Store(group, offset);
    }

    void LoadCoefficients(const OscillatorGroup& group, std::size_t offset) {
        const Tag d;
        kHat = hn::Load(d, group.newmark.kHat + offset);
        a1 = hn::Load(d, group.newmark.a1 + offset);
        b1 = hn::Load(d, group.newmark.b1 + offset);
        dvPerDu = hn::Load(d, group.newmark.dvPerDu + offset);
        dvPerV = hn::Load(d, group.newmark.dvPerV + offset);
        dvPerW = hn::Load(d, group.newmark.dvPerW + offset);
        betaHH = hn::Load(d, group.newmark.betaHH + offset);
        betaH = hn::Load(d, group.newmark.betaH + offset);
        twoBeta = hn::Load(d, group.newmark.twoBeta + offset);
    }

    struct Next {
        V u1, v1, w1;
    };

    HWY_INLINE Next Advance(V p0, V p1) const {
        const V dpHat = hn::Add(hn::Add(hn::Sub(p0, p1), hn::Mul(a1, v)), hn::Mul(b1, w));
        const V du = hn::Div(dpHat, kHat);
        const V dv = hn::Add(hn::Sub(hn::Mul(dvPerDu, du), hn::Mul(dvPerV, v)), hn::Mul(dvPerW, w));
        const V dw = hn::Sub(hn::Sub(hn::Div(du, betaHH), hn::Div(v, betaH)), hn::Div(w, twoBeta));
        return {hn::Add(u, du), hn::Add(v, dv), hn::Add(w, dw)};
    }

    HWY_INLINE void Step(V p0, V p1) {
        const Next next = Advance(p0, p1);
        sd = KeepPeak(hn::Abs(next.u1), sd);
        sv = KeepPeak(hn::Abs(next.v1), sv);
        sa = KeepPeak(hn::Abs(hn::Add(next.w1, p1)), sa);
        u = next.u1;
        v = next.v1;
        w = next.w1;
    }

    HWY_INLINE void Step(V p0, V p1, M active) {
        const Next next = Advance(p0, p1);
        sd = hn::IfThenElse(active, KeepPeak(hn::Abs(next.u1), sd), sd);
        sv = hn::IfThenElse(active, KeepPeak(hn::Abs(next.v1), sv), sv);
        sa = hn::IfThenElse(active, KeepPeak(hn::Abs(hn::Add(next.w1, p1)), sa), sa);
        u = hn::IfThenElse(active, next.u1, u);
        v = hn::IfThenElse(active, next.v1, v);
        w = hn::IfThenElse(active, next.w1, w);
    }

    void Store(OscillatorGroup& group, std::size_t offset) const {
        const Tag d;
        hn::Store(sd, d, group.sd + offset);
        hn::Store(sv, d, group.sv + offset);
        hn::Store(sa, d, group.saNumerator + offset);
    }
};

// Calls f(0), f(1), ... f(K - 1) with compile-time indices, so that every vector of a set
// lives in registers of its own rather than in an array indexed at run time.
template <std::size_t K, class F>
HWY_INLINE void ForEachVector(F&& f) {
    [&]<std::size_t... k>(std::index_sequence<k...>) {
        (f(std::integral_constant<std::size_t, k>{}), ...);
    }
    (std::make_index_sequence<K>{});
}

}  // namespace HWY_NAMESPACE
}  // namespace travik::kernels
HWY_AFTER_NAMESPACE();

#endif  // per-target include guard
