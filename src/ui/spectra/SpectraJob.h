#pragma once

#include <vector>

#include "core/analysis/SpectraComputation.h"
#include "ui/app/BackgroundWork.h"

// The spectra of one record as a job off the window's thread: ComputeSpectra over the whole
// list, on every core, reporting its progress in oscillator steps and stopping soon after a
// cancel. Nothing when the job was cancelled.
std::optional<travik::SpectraResult> ComputeSpectraAsJob(const travik::TimeHistory& record,
                                                         const travik::AnalysisSettings& settings,
                                                         const std::vector<double>& dampingRatios,
                                                         const std::vector<double>& periods,
                                                         BackgroundWork::Control& control);
