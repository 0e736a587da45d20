#include "ui/app/ChartImages.h"

#include "core/export/ReportHeader.h"
#include "ui/app/PlatformServices.h"
#include "ui/figures/FigureExport.h"

namespace {

travik::figures::ImageFormat lastFormat = travik::figures::ImageFormat::Png;
travik::figures::ImageOptions lastOptions;

}  // namespace

void SaveFiguresAs(PlatformServices& platform, QWidget* parent,
                   const std::vector<travik::figures::ChartFigure>& figures,
                   const QString& suggestedName) {
    travik::figures::ImageFormat format = lastFormat;
    travik::figures::ImageOptions options = lastOptions;
    const QString path = platform.ChooseImageFile(parent, suggestedName, format, options);
    if (path.isEmpty()) {
        return;
    }
    lastFormat = format;
    lastOptions = options;
    try {
        travik::figures::SaveFigures(path, figures, format, options);
    } catch (const travik::ReportWriteError& error) {
        platform.ShowMessage(parent, PlatformServices::MessageKind::Warning,
                             QString::fromStdString(error.what()));
    }
}

void CopyFigures(PlatformServices& platform,
                 const std::vector<travik::figures::ChartFigure>& figures) {
    platform.SetClipboardImage(
        travik::figures::RenderImage(figures, travik::figures::ImageOptions{}));
}

void PrintFigures(PlatformServices& platform, QWidget* parent,
                  const std::vector<travik::figures::ChartFigure>& figures) {
    platform.PrintPage(parent, [figures](QPainter& painter, const QRectF& page, double scale) {
        travik::figures::PaintFigures(painter, page, figures, scale);
    });
}
