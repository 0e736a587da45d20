#include "ui/figures/FigureExport.h"

#include <QAbstractAxis>
#include <QBuffer>
#include <QChart>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <memory>
#include <string>

#include "core/export/ReportHeader.h"
#include "core/text/ShownText.h"

namespace travik::figures {
namespace {

constexpr double kLogicalDpi = 96.0;

}  // namespace

QString ImageOptions::Check() const {
    if (size.width() < 16 || size.width() > 20000) {
        return QStringLiteral("The image width must be from 16 to 20000 pixels");
    }
    if (size.height() < 16 || size.height() > 20000) {
        return QStringLiteral("The image height must be from 16 to 20000 pixels");
    }
    if (dpi < 36 || dpi > 2400) {
        return QStringLiteral("The resolution must be from 36 to 2400 DPI");
    }
    return {};
}

std::optional<ImageFormat> ImageFormatFromName(const QString& name) {
    const QString lower = name.toLower();
    if (lower == QLatin1String("png")) {
        return ImageFormat::Png;
    }
    if (lower == QLatin1String("svg")) {
        return ImageFormat::Svg;
    }
    if (lower == QLatin1String("pdf")) {
        return ImageFormat::Pdf;
    }
    return std::nullopt;
}

QString ImageFormatSuffix(ImageFormat format) {
    switch (format) {
        case ImageFormat::Svg:
            return QStringLiteral("svg");
        case ImageFormat::Pdf:
            return QStringLiteral("pdf");
        case ImageFormat::Png:
            break;
    }
    return QStringLiteral("png");
}

namespace {

// How much larger than `logical` a chart must be laid out for its axis titles to run whole
// beside and below its plot (1 when they fit): a value-axis title as long as "Fourier
// Amplitude [cm/sec]" needs a plot taller than a short part of a stacked picture gives.
double RoomForAxisTitles(QChart* chart) {
    const QRectF plot = chart->plotArea();
    double grow = 1.0;
    for (const QAbstractAxis* axis : chart->axes()) {
        // The chart elides a title a little before it fills the plot's side: a line's
        // height of slack.
        const QFontMetricsF metrics(axis->titleFont());
        const double needed = metrics.horizontalAdvance(axis->titleText()) + metrics.height();
        const double room = axis->orientation() == Qt::Vertical ? plot.height() : plot.width();
        if (room > 0 && needed > room) {
            grow = std::max(grow, needed / room);
        }
    }
    return grow;
}

void LayOutAt(QChart* chart, QGraphicsScene& scene, const QRectF& logical) {
    FitChartToSize(chart, logical.size());
    chart->setGeometry(logical);
    if (chart->layout() != nullptr) {
        chart->layout()->activate();
    }
    scene.setSceneRect(logical);
}

}  // namespace

LaidOutChart LayOutChart(QGraphicsScene& scene, const ChartFigure& figure, const QSizeF& part,
                         double scale) {
    // A part too small for the texts at this resolution is laid out larger and drawn
    // smaller: its texts shrink with it but stay whole, with room for the ticks.
    double partScale =
        std::min({scale, part.width() / kSmallestChartWidth, part.height() / kSmallestChartHeight});
    // A chart that was never shown has no size of its own: lay it out at the logical size
    // of its part of the picture before it is drawn.
    QRectF logical(0, 0, part.width() / partScale, part.height() / partScale);
    QChart* chart = BuildChart(figure, logical.size());
    scene.addItem(chart);  // the scene owns and deletes the chart
    LayOutAt(chart, scene, logical);
    // Texts fixed in size need a plot of a given size: lay out larger until they fit (the
    // plot grows faster than the chart, so a few rounds suffice).
    for (int round = 0; round < 8; ++round) {
        const double grow = RoomForAxisTitles(chart);
        if (grow <= 1.0) {
            break;
        }
        partScale /= grow * 1.05;
        logical = QRectF(0, 0, part.width() / partScale, part.height() / partScale);
        LayOutAt(chart, scene, logical);
    }
    return {chart, logical};
}

void PaintFigures(QPainter& painter, const QRectF& target, const std::vector<ChartFigure>& figures,
                  double scale) {
    if (figures.empty()) {
        return;
    }
    painter.fillRect(target, Qt::white);
    const double partHeight = target.height() / static_cast<double>(figures.size());
    for (std::size_t i = 0; i < figures.size(); ++i) {
        const QRectF part(target.left(), target.top() + partHeight * static_cast<double>(i),
                          target.width(), partHeight);
        QGraphicsScene scene;
        const LaidOutChart laidOut = LayOutChart(scene, figures[i], part.size(), scale);
        scene.render(&painter, part, laidOut.logical, Qt::IgnoreAspectRatio);
    }
}

QImage RenderImage(const std::vector<ChartFigure>& figures, const ImageOptions& options) {
    QImage image(options.size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        return image;  // no memory for the pixels: the caller says so
    }
    image.fill(Qt::white);
    const int dotsPerMeter = static_cast<int>(std::lround(options.dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    PaintFigures(painter, QRectF(QPointF(0, 0), QSizeF(options.size)), figures,
                 options.dpi / kLogicalDpi);
    painter.end();
    return image;
}

QByteArray RenderFile(const std::vector<ChartFigure>& figures, ImageFormat format,
                      const ImageOptions& options) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QRectF target(QPointF(0, 0), QSizeF(options.size));
    const double scale = options.dpi / kLogicalDpi;
    switch (format) {
        case ImageFormat::Png:
            RenderImage(figures, options).save(&buffer, "PNG");
            break;
        case ImageFormat::Svg: {
            QSvgGenerator svg;
            svg.setOutputDevice(&buffer);
            svg.setSize(options.size);
            svg.setViewBox(target);
            svg.setResolution(options.dpi);
            svg.setTitle(figures.empty() ? QString() : figures.front().title);
            QPainter painter(&svg);
            PaintFigures(painter, target, figures, scale);
            break;
        }
        case ImageFormat::Pdf: {
            QPdfWriter pdf(&buffer);
            pdf.setResolution(options.dpi);
            // One page exactly the size of the picture at its resolution (in points).
            pdf.setPageSize(QPageSize(QSizeF(options.size.width() * 72.0 / options.dpi,
                                             options.size.height() * 72.0 / options.dpi),
                                      QPageSize::Point, QString(), QPageSize::ExactMatch));
            pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
            pdf.setTitle(figures.empty() ? QString() : figures.front().title);
            pdf.setCreator(QStringLiteral("TRAVIK"));
            QPainter painter(&pdf);
            const QRect page = painter.viewport();
            PaintFigures(painter, QRectF(page), figures,
                         scale * page.width() / static_cast<double>(options.size.width()));
            break;
        }
    }
    buffer.close();
    return bytes;
}

void SaveFigures(const QString& path, const std::vector<ChartFigure>& figures, ImageFormat format,
                 const ImageOptions& options) {
    const QByteArray bytes = RenderFile(figures, format, options);
    if (bytes.isEmpty()) {
        // A picture too large for the memory left gives no image at all; an empty file
        // must not pass for a figure.
        throw ReportWriteError(
            "Cannot create file \"" + ShownText(path.toStdString()) +
            "\". The picture could not be drawn at " + std::to_string(options.size.width()) +
            " x " + std::to_string(options.size.height()) + " pixels: not enough memory.");
    }
    WriteFileContents(std::filesystem::path(path.toStdString()),
                      std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace travik::figures
