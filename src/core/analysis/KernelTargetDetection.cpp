// The run-time half of Highway's dynamic dispatch: which instruction sets this processor
// and its operating system support, and which one the dispatch tables use.
//
// Highway's shared library provides these few functions too, but loading it calibrates a
// benchmark timer in a static initialiser, about 2 ms of every start of the command line,
// which the program never uses. The kernels need only the detection below (CPUID and the
// operating system's saved-state mask, as Intel's and AMD's manuals prescribe), so the
// library is used for its headers alone.
#include <atomic>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <hwy/targets.h>

#if HWY_ARCH_X86
#include <cpuid.h>
#endif

namespace hwy {
namespace {

#if HWY_ARCH_X86

bool Bit(std::uint32_t reg, int bit) {
    return ((reg >> bit) & 1U) != 0;
}

// Extended control register 0: the register state the operating system saves on a
// context switch. AVX needs the SSE and AVX halves (bits 1, 2), AVX-512 also the mask and
// upper register state (bits 5 to 7).
std::uint64_t ExtendedControlRegister0() {
    std::uint32_t low = 0, high = 0;
    __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    return (std::uint64_t{high} << 32) | low;
}

std::int64_t DetectTargets() {
    std::int64_t targets = HWY_SCALAR | HWY_EMU128;
    unsigned maxLeaf = 0, a = 0, b = 0, c = 0, d = 0;
    maxLeaf = static_cast<unsigned>(__get_cpuid_max(0, nullptr));
    if (maxLeaf < 1) {
        return targets;
    }
    __cpuid_count(1, 0, a, b, c, d);
    const std::uint32_t leaf1c = c, leaf1d = d;
    std::uint32_t leaf7b = 0, leaf7c = 0;
    if (maxLeaf >= 7) {
        __cpuid_count(7, 0, a, b, c, d);
        leaf7b = b;
        leaf7c = c;
    }
    std::uint32_t extended1c = 0;
    if (static_cast<unsigned>(__get_cpuid_max(0x80000000U, nullptr)) >= 0x80000001U) {
        __cpuid_count(0x80000001U, 0, a, b, c, d);
        extended1c = c;
    }

    const bool sse2 = Bit(leaf1d, 25) && Bit(leaf1d, 26);
    const bool ssse3 = sse2 && Bit(leaf1c, 0) && Bit(leaf1c, 9);
    if (!ssse3) {
        return targets;
    }
    targets |= HWY_SSSE3;
    const bool sse4 = Bit(leaf1c, 19) && Bit(leaf1c, 20) && Bit(leaf1c, 1) && Bit(leaf1c, 25);
    if (!sse4) {
        return targets;
    }
    targets |= HWY_SSE4;
    const bool osSavesAvx =
        Bit(leaf1c, 27) && (ExtendedControlRegister0() & 0x6) == 0x6;  // OSXSAVE, XMM+YMM
    const bool avx2 = osSavesAvx && Bit(leaf1c, 28) && Bit(leaf7b, 5) && Bit(leaf1c, 12) &&
                      Bit(leaf1c, 29) && Bit(leaf7b, 3) && Bit(leaf7b, 8) &&
                      Bit(extended1c, 5);  // AVX AVX2 FMA F16C BMI1 BMI2 LZCNT
    if (!avx2) {
        return targets;
    }
    targets |= HWY_AVX2;
    const bool osSavesAvx512 = (ExtendedControlRegister0() & 0xE6) == 0xE6;
    const bool avx3 = osSavesAvx512 && Bit(leaf7b, 16) && Bit(leaf7b, 31) && Bit(leaf7b, 17) &&
                      Bit(leaf7b, 30);  // AVX512 F VL DQ BW
    if (!avx3) {
        return targets;
    }
    targets |= HWY_AVX3;
    const bool avx3dl = Bit(leaf7c, 11) && Bit(leaf7c, 10) && Bit(leaf7c, 1) && Bit(leaf7c, 6) &&
                        Bit(leaf7c, 9) && Bit(leaf7c, 14) &&
                        Bit(leaf7c, 12);  // VNNI VPCLMULQDQ VBMI VBMI2 VAES VPOPCNTDQ BITALG
    if (avx3dl) {
        targets |= HWY_AVX3_DL;
    }
    return targets;
}

#else

// Elsewhere the kernels are compiled for the build's own baseline (NEON on 64-bit Arm) and
// the portable path only.
std::int64_t DetectTargets() {
    return HWY_SCALAR | HWY_EMU128 | HWY_STATIC_TARGET;
}

#endif

std::atomic<std::int64_t> mockTargets{0};
std::atomic<std::int64_t> disabledTargets{0};

}  // namespace

int64_t SupportedTargets() {
    static const std::int64_t detected = DetectTargets();
    const std::int64_t mock = mockTargets.load();
    const std::int64_t targets = (mock != 0 ? mock : detected) & ~disabledTargets.load();
    return targets != 0 ? targets : HWY_STATIC_TARGET;
}

void DisableTargets(int64_t disabled_targets) {
    // The static target always stays, so there is always one to call.
    disabledTargets.store(disabled_targets & ~HWY_STATIC_TARGET);
    GetChosenTarget().Update(SupportedTargets());
}

void SetSupportedTargetsForTest(int64_t targets) {
    mockTargets.store(targets);
    GetChosenTarget().Update(SupportedTargets());
}

ChosenTarget& GetChosenTarget() {
    static ChosenTarget chosen;
    return chosen;
}

void Abort(const char* file, int line, const char* format, ...) {
    char message[800];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(message, sizeof message, format, arguments);
    va_end(arguments);
    std::fprintf(stderr, "Abort at %s:%d: %s\n", file, line, message);
    std::abort();
}

}  // namespace hwy
