// The vector types and helpers every per-instruction-set kernel of the oscillators shares
// (single records and rotated pairs alike). Included once per instruction set after
// foreach_target.h and highway.h, as Highway's per-target headers are.

// Per-target include guard: toggled once for every instruction set foreach_target.h visits.
#if defined(TRAVIK_CORE_ANALYSIS_LANE_BASICS_INL_H_) == defined(HWY_TARGET_TOGGLE)
#ifdef TRAVIK_CORE_ANALYSIS_LANE_BASICS_INL_H_
#undef TRAVIK_CORE_ANALYSIS_LANE_BASICS_INL_H_
#else
#define TRAVIK_CORE_ANALYSIS_LANE_BASICS_INL_H_
#endif

#include <hwy/highway.h>

#include <cstddef>
#include <utility>

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
