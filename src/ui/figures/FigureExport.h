#pragma once

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <optional>
#include <vector>

#include "ui/figures/ChartFigure.h"

class QChart;
class QGraphicsScene;
class QPainter;

namespace travik::figures {

enum class ImageFormat { Png, Svg, Pdf };

// Size of a saved figure in device pixels and its resolution. Text and lines keep their
// size in points and logical pixels (1/96 in), so at 200 DPI a 2-pixel line is about 4
// device pixels wide and the labels stay readable.
struct ImageOptions {
    QSize size{1600, 1000};  // px, 16 to 20000 each way
    int dpi = 200;           // 36 to 2400

    // Empty when valid, else the message naming the field.
    QString Check() const;
};

// "png", "svg", "pdf" (any case) or nothing.
std::optional<ImageFormat> ImageFormatFromName(const QString& name);
QString ImageFormatSuffix(ImageFormat format);  // "png", "svg", "pdf"

// One figure laid out as it is painted into a part of `part` device pixels at `scale`
// device pixels per logical pixel: its chart (owned by the scene) and the logical
// rectangle the chart fills, which is drawn onto the part.
struct LaidOutChart {
    QChart* chart = nullptr;
    QRectF logical;
};
LaidOutChart LayOutChart(QGraphicsScene& scene, const ChartFigure& figure, const QSizeF& part,
                         double scale);

// Draws the figures stacked from top to bottom, each an equal part of `target`, with
// `scale` device pixels per logical pixel.
void PaintFigures(QPainter& painter, const QRectF& target, const std::vector<ChartFigure>& figures,
                  double scale);

// The figures as a picture of the requested size and resolution, white underneath.
QImage RenderImage(const std::vector<ChartFigure>& figures, const ImageOptions& options);

// The bytes of an image file of the figures.
QByteArray RenderFile(const std::vector<ChartFigure>& figures, ImageFormat format,
                      const ImageOptions& options);

// Renders and writes the file in one piece (no half file is ever left). Throws
// travik::ReportWriteError ("Cannot create file ...") when it cannot be written.
void SaveFigures(const QString& path, const std::vector<ChartFigure>& figures, ImageFormat format,
                 const ImageOptions& options);

}  // namespace travik::figures
