#pragma once

#include <span>

#include "core/analysis/OscillatorIntegrators.h"

namespace travik::bench {

// The oscillator batch before its vector kernels (same digits, older layout): the
// yardstick the kernels' speed-up is measured against.
void PreviousOscillatorPeaksBatch(const AnalysisSettings& settings, const TimeHistory& record,
                                  double g, double maxDtOverT, bool useCorrected,
                                  IntegrationMethod method, std::span<OscillatorRun> runs);

}  // namespace travik::bench
