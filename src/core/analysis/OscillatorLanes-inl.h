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

#include "core/analysis/LaneBasics-inl.h"

// OscillatorGroup comes from core/analysis/OscillatorKernels.h, which every includer names
// first (not here, where it would close a circle through OscillatorKernels.cpp).

HWY_BEFORE_NAMESPACE();
namespace travik::kernels {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// What a vector of oscillators carries from sample to sample, beside its coefficients:
// displacement and velocity, and the peaks of |u| (cm), |v| (cm/sec) and |total
// acceleration| * g.
struct StateLanes {
    V u, v, sd, sv, sa;

    void ZeroState() { u = v = sd = sv = sa = hn::Zero(Tag()); }

    void ResumeState(const OscillatorGroup& group, std::size_t offset) {
        const Tag d;
        u = hn::Load(d, group.u + offset);
        v = hn::Load(d, group.v + offset);
        sd = hn::Load(d, group.sd + offset);
        sv = hn::Load(d, group.sv + offset);
        sa = hn::Load(d, group.saNumerator + offset);
    }

    void SuspendState(OscillatorGroup& group, std::size_t offset) const {
        const Tag d;
        hn::Store(u, d, group.u + offset);
        hn::Store(v, d, group.v + offset);
        Store(group, offset);
    }

    // The peaks, the results of a run.
    void Store(OscillatorGroup& group, std::size_t offset) const {
        const Tag d;
        hn::Store(sd, d, group.sd + offset);
        hn::Store(sv, d, group.sv + offset);
        hn::Store(sa, d, group.saNumerator + offset);
    }
};

// One vector of oscillators: its fixed coefficients and its state.
struct ExactLanes : StateLanes {
    V A, B, C, D, Ap, Bp, Cp, Dp, vf, df;

    void Load(const OscillatorGroup& group, std::size_t offset) {
        LoadCoefficients(group, offset);
        ZeroState();
    }

    // Carries on a run from the state Suspend left in the group.
    void Resume(const OscillatorGroup& group, std::size_t offset) {
        LoadCoefficients(group, offset);
        ResumeState(group, offset);
    }

    void Suspend(OscillatorGroup& group, std::size_t offset) const { SuspendState(group, offset); }

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
};

// Newmark (1959), incremental form for a unit mass.
struct NewmarkLanes : StateLanes {
    V kHat, a1, b1, dvPerDu, dvPerV, dvPerW, betaHH, betaH, twoBeta;
    V w;  // relative acceleration

    void Load(const OscillatorGroup& group, std::size_t offset) {
        LoadCoefficients(group, offset);
        ZeroState();
        w = hn::Zero(Tag());
    }

    void Resume(const OscillatorGroup& group, std::size_t offset) {
        LoadCoefficients(group, offset);
        ResumeState(group, offset);
        w = hn::Load(Tag(), group.w + offset);
    }

    void Suspend(OscillatorGroup& group, std::size_t offset) const {
        SuspendState(group, offset);
        hn::Store(w, Tag(), group.w + offset);
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
};

}  // namespace HWY_NAMESPACE
}  // namespace travik::kernels
HWY_AFTER_NAMESPACE();

#endif  // per-target include guard
