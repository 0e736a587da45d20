#pragma once

// Many groups of oscillators advanced at once, so that the few oscillators of a short period
// (many sub-steps per sample) step beside the many of longer periods instead of alone.

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <span>

#include "core/analysis/OscillatorKernels.h"

namespace travik::kernels {

// Sub-step counts up to this can be advanced as streams: a block of samples' ground
// accelerations of every count then fits the processor's second-level cache.
inline constexpr int kMaxStreamSubSteps = 64;

// Samples per block of a streamed run whose sub-step counts, each taken once, add up to
// `countsSum`: the block's ground accelerations (two values per sub-step of every count)
// then take at most 512 KiB, half of a second-level cache of today's servers, and a block
// holds 16 to 256 samples. Longer blocks load and store every vector's state less often.
constexpr std::size_t StreamBlockSamples(std::size_t countsSum) {
    return std::clamp<std::size_t>(32768 / std::max<std::size_t>(countsSum, 1), 16, 256);
}

// Advances `groups` through the acceleration series (as AdvanceExactGroup does each),
// every group's lanes sharing one sub-step count of at most kMaxStreamSubSteps (groups may
// differ). Their vectors are dealt out to as many streams as the kernel keeps in flight,
// balanced by sub-steps; block by block of samples, each stream advances its vectors one
// after the other, each through the block's ground accelerations of its own count computed
// beforehand. A lone vector of many sub-steps per sample thus steps beside other vectors
// instead of waiting on its own chain of dependent multiplies and adds. The digits are those
// of ComputeOscillatorPeaks to the last bit. Returns false, with the results undefined, when
// `cancel` became true (read once per block); writes each group's `samplesDone` per block.
bool AdvanceExactStreams(const double* acceleration, std::size_t count, double g,
                         std::span<OscillatorGroup* const> groups, const std::atomic<bool>* cancel);
bool AdvanceNewmarkStreams(const double* acceleration, std::size_t count, double g,
                           std::span<OscillatorGroup* const> groups,
                           const std::atomic<bool>* cancel);

// Whether batches advance their groups of up to kMaxStreamSubSteps sub-steps as streams
// (true, the default) or each group by itself, as before streams: for tests and
// measurements, not while kernels run.
void UseStreams(bool streams);
bool StreamsInUse();

}  // namespace travik::kernels
