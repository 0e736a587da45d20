#pragma once

#include <optional>
#include <ostream>

#include "AnalysisOptions.h"
#include "ImportOptions.h"
#include "core/spectra/DesignSpectra.h"
#include "ui/figures/FigureExport.h"
#include "ui/figures/SpectrumFigures.h"

namespace travik::cli {

// What `plot rotd` draws with: the records read, the analysis, and the figure choices.
struct RotdPlotRequest {
    const ImportOptions& import;
    const ImportOutcome& outcome;
    const SpectraAnalysis& analysis;
    figures::ImageFormat format;
    figures::ImageOptions image;
    figures::SpectrumChartOptions chart;
    std::optional<TargetSpectrum> target;
};

// One figure <H1 name>_RotD.<ext> per motion, formed from the files as `rotd` forms them:
// H1, H2, RotD50, RotD100 and GMRotI50 of every damping value, and the target if any.
// Returns the exit status as `rotd` would (ReportWriteError is raised for a file that
// cannot be written).
int PlotRotatedSpectra(const RotdPlotRequest& request, std::ostream& out, std::ostream& err);

}  // namespace travik::cli
