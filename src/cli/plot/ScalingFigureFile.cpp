#include "plot/ScalingFigureFile.h"

#include <QString>
#include <vector>

#include "plot/QtStart.h"
#include "ui/figures/FigureExport.h"
#include "ui/figures/ScalingFigures.h"

namespace travik::cli {

void SaveScalingFigure(const SuiteScaling& scaling, double g, const std::filesystem::path& path,
                       const std::string& format) {
    const std::unique_ptr<QApplication> qt = StartQt();
    std::array<figures::ChartFigure, 2> panels = figures::ScalingCharts(scaling);
    for (figures::ChartFigure& panel : panels) {
        panel.g = g;
    }
    figures::ImageOptions image;
    image.size = QSize(1600, 1400);
    figures::SaveFigures(QString::fromStdString(path.string()), {panels.begin(), panels.end()},
                         *figures::ImageFormatFromName(QString::fromStdString(format)), image);
}

}  // namespace travik::cli
