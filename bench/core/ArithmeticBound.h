#pragma once

#include <cstdint>

namespace travik::bench {

struct BoundResult {
    bool ran = false;         // false where the processor lacks AVX-512
    double lanesPerStep = 0;  // oscillator sub-steps per loop step
    double checksum = 0;      // keeps the compiler from dropping the work
};

// `steps` rounds of the piecewise-exact step's instruction mix on eight independent
// vectors of eight lanes (AVX-512, no fused multiply-add): the rate no layout of that
// arithmetic can beat on this machine.
BoundResult ExactStepThroughputAvx512(std::int64_t steps);

}  // namespace travik::bench
