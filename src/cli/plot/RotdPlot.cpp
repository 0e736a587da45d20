#include "plot/RotdPlot.h"

#include <algorithm>
#include <filesystem>
#include <thread>
#include <vector>

#include "ComponentImport.h"
#include "core/export/ReportHeader.h"
#include "core/rotation/RotatedSpectra.h"
#include "core/text/ShownText.h"
#include "ui/figures/RotatedFigures.h"

namespace travik::cli {

int PlotRotatedSpectra(const RotdPlotRequest& request, std::ostream& out, std::ostream& err) {
    const ComponentPairing pairing = PairImportedComponents(request.import, request.outcome);
    if (const std::optional<int> ended = TellUnpaired(pairing, request.outcome, err)) {
        return *ended;
    }
    bool failed =
        request.outcome.readerFailed || request.outcome.correctionFailed || pairing.unpaired;

    RotatedSpectraOptions options;
    options.dampingRatios = request.analysis.dampingRatios;
    options.periods.assign(request.analysis.periods.begin() + 1, request.analysis.periods.end());
    options.threads = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));

    const std::string suffix =
        std::string("_RotD.") + figures::ImageFormatSuffix(request.format).toStdString();
    const std::filesystem::path folder(request.import.outputFolder);
    ReportPathPlanner planner;
    for (const ComponentPair& pair : pairing.motions) {
        const std::optional<RotatedSpectraResult> result =
            RotateMotion(pair, request.analysis.settings, options, err);
        if (!result) {
            failed = true;
            continue;
        }
        std::vector<figures::SpectrumCurve> curves;
        for (std::size_t d = 0; d < result->damping.size(); ++d) {
            for (figures::SpectrumCurve& curve :
                 figures::RotatedSpectraCurves(*result, d, request.analysis.settings.g)) {
                curves.push_back(std::move(curve));
            }
        }
        if (request.target) {
            curves.push_back(figures::CurveOfTarget(*request.target, request.analysis.settings.g));
        }
        figures::SpectrumChartOptions chart = request.chart;
        chart.title = QString::fromStdString(ShownText(pair.h1->SourceFileName()) + " + " +
                                             ShownText(pair.h2->SourceFileName()));
        const std::filesystem::path path = planner.Next(folder, pair.h1->SourceFileName(), suffix);
        figures::SaveFigures(QString::fromStdString(path.string()),
                             {figures::SpectrumChart(curves, chart)}, request.format,
                             request.image);
        out << ShownText(path.string()) << '\n';
    }
    return failed ? kExitFailure : kExitOk;
}

}  // namespace travik::cli
