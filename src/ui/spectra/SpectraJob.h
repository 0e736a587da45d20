#pragma once

#include <vector>

#include "analysis/SpectraComputation.h"
#include "app/BackgroundWork.h"

// The spectra of one record computed damping ratio by damping ratio, so that a job off the
// window's thread can report its progress and stop between two of them. The result equals
// ComputeSpectra's over the whole list; nothing when the job was cancelled.
std::optional<travik::SpectraResult> ComputeSpectraInSteps(const travik::TimeHistory& record,
                                                           const travik::AnalysisSettings& settings,
                                                           const std::vector<double>& dampingRatios,
                                                           const std::vector<double>& periods,
                                                           BackgroundWork::Control& control);
