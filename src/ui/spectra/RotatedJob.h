#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/analysis/AnalysisSettings.h"
#include "core/export/ReportHeader.h"
#include "core/rotation/ComponentPairs.h"
#include "core/rotation/RotatedSpectra.h"
#include "ui/app/BackgroundWork.h"

// Two loaded records taken as one ground motion, with the rotated spectra computed of them.
// The motion holds copies of both records, so that its pair, table, chart and report never
// depend on what is loaded later.
struct RotatedMotion {
    std::unique_ptr<travik::TimeHistory> h1;
    std::unique_ptr<travik::TimeHistory> h2;
    travik::ComponentPair pair;  // H1 and H2 above, azimuths from their headers
    std::optional<travik::RotatedSpectraResult> result;
};

// The motion of copies of `h1` and `h2`, checked as the command line checks two files (its
// refusal and warnings in `pair`); no result yet.
std::unique_ptr<RotatedMotion> MotionOf(const travik::TimeHistory& h1,
                                        const travik::TimeHistory& h2);

// The options of a two-component analysis at the page's damping ratios and the settings'
// periods, with the report's percentiles, as the command line's rotd computes by default.
travik::RotatedSpectraOptions RotatedOptionsFor(const travik::AnalysisSettings& settings,
                                                const std::vector<double>& dampingRatios);

// The rotated spectra of the motion, one damping value after the other so that a Cancel is
// heeded between them and `progress` (0 to 1) moves; the result is the one a single
// computation over every damping value gives. Nothing when cancelled, or when the pair
// cannot be rotated (`error` then says why).
std::optional<travik::RotatedSpectraResult> ComputeRotatedAsJob(
    const RotatedMotion& motion, const travik::AnalysisSettings& settings,
    const travik::RotatedSpectraOptions& options, BackgroundWork::Control& control,
    const std::function<void(double)>& progress, std::string& error);

// Computes and writes the _RotD.csv report of every motion into `folder`, named as the
// command line names them (repeats numbered). Stops at a cancel (the reports written
// stay) or at the first report that cannot be written; returns the error text, if any.
// The messages of pairs that cannot be rotated go to `refusals`, and the others go on.
std::optional<QString> WriteRotatedReports(const std::vector<const RotatedMotion*>& motions,
                                           const travik::AnalysisSettings& settings,
                                           const travik::RotatedSpectraOptions& options,
                                           const QString& folder, const travik::ReportDate& date,
                                           BackgroundWork::Control& control,
                                           std::vector<std::string>& refusals);
