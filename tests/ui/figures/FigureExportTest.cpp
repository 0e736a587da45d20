#include "ui/figures/FigureExport.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPointF>
#include <QRegularExpression>
#include <QStringList>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <cmath>

#include "core/export/ReportHeader.h"

namespace travik::figures {
namespace {

const QColor kCurveColor(200, 0, 0);

ChartFigure RedDiagonal(bool withCurve = true) {
    ChartFigure figure;
    figure.title = "record.txt";
    figure.xTitle = "Period [sec]";
    figure.yTitle = "Pseudo-Acceleration [g]";
    // The legend's marker has the curve's colour too: only the curve is counted.
    figure.legend = false;
    Curve c;
    c.name = "Damp. 5%";
    c.color = kCurveColor;
    c.width = 2.0;
    if (withCurve) {
        for (int i = 0; i <= 100; ++i) {
            c.points.append(QPointF(i * 0.04, i * 0.01));
        }
    }
    figure.curves.push_back(c);
    return figure;
}

// Pixels within a small distance of the curve colour.
int CurvePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor p = image.pixelColor(x, y);
            if (std::abs(p.red() - 200) < 30 && p.green() < 40 && p.blue() < 40) {
                ++count;
            }
        }
    }
    return count;
}

TEST(ImageOptions, DefaultToSixteenHundredByThousandAtTwoHundredDpiAndCheckThemselves) {
    ImageOptions options;
    EXPECT_EQ(options.size, QSize(1600, 1000));
    EXPECT_EQ(options.dpi, 200);
    EXPECT_EQ(options.Check(), "");
    options.dpi = 10;
    EXPECT_EQ(options.Check(), "The resolution must be from 36 to 2400 DPI");
    options = {QSize(0, 100), 200};
    EXPECT_EQ(options.Check(), "The image width must be from 16 to 20000 pixels");
}

// Values at the edge of what a double holds never reach an axis range: a log axis built
// from them would make the chart library recurse without end (a crash), a linear one
// overflow its ticks. The figure is drawn, and the finite part of the curve shows.
TEST(PngExport, ValuesNearTheLargestDoubleAreDrawnWithoutCrashing) {
    for (const AxisScale scale : {AxisScale::Log, AxisScale::Linear}) {
        ChartFigure figure = RedDiagonal();
        figure.yScale = scale;
        figure.xScale = scale;
        figure.curves[0].points.append(QPointF(4.1, 1.1e308));
        figure.curves[0].points.append(QPointF(4.2, 1e-320));
        figure.curves[0].points.append(QPointF(1e308, 1.0));
        const QImage image = RenderImage({figure}, ImageOptions{QSize(600, 400), 96});
        EXPECT_EQ(image.size(), QSize(600, 400));
    }
}

TEST(PngExport, HasTheRequestedSizeAndResolutionAndShowsTheCurve) {
    const ImageOptions options{QSize(800, 500), 150};
    const QImage image = RenderImage({RedDiagonal()}, options);
    EXPECT_EQ(image.size(), QSize(800, 500));
    EXPECT_NEAR(image.dotsPerMeterX() * 0.0254, 150, 0.5);
    // White outside the plot, and the curve drawn across the plot area: a line of width
    // 2 logical px at 150 DPI is about 3 px wide and several hundred px long.
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::white));
    const int curvePixels = CurvePixels(image);
    EXPECT_GT(curvePixels, 800);
    EXPECT_EQ(CurvePixels(RenderImage({RedDiagonal(false)}, options)), 0);

    const QByteArray png = RenderFile({RedDiagonal()}, ImageFormat::Png, options);
    ASSERT_TRUE(png.startsWith("\x89PNG\r\n\x1a\n"));
    QImage decoded;
    ASSERT_TRUE(decoded.loadFromData(png, "PNG"));
    EXPECT_EQ(decoded.size(), QSize(800, 500));
    EXPECT_NEAR(decoded.dotsPerMeterX() * 0.0254, 150, 0.5);
}

TEST(PngExport, DrawsTheCurveWhereTheAxesPutIt) {
    // The curve climbs from the lower left to the upper right: its pixels in the left
    // half of the picture lie lower than those in the right half.
    const QImage image = RenderImage({RedDiagonal()}, ImageOptions{QSize(600, 400), 96});
    double leftY = 0, rightY = 0;
    int left = 0, right = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor p = image.pixelColor(x, y);
            if (std::abs(p.red() - 200) < 30 && p.green() < 40 && p.blue() < 40) {
                (x < 300 ? leftY : rightY) += y;
                ++(x < 300 ? left : right);
            }
        }
    }
    ASSERT_GT(left, 50);
    ASSERT_GT(right, 50);
    EXPECT_GT(leftY / left, rightY / right + 50);
}

TEST(StackedExport, GivesEachFigureItsShareOfTheHeight) {
    ChartFigure empty = RedDiagonal(false);
    const QImage image =
        RenderImage({empty, RedDiagonal(), empty}, ImageOptions{QSize(600, 900), 96});
    int top = 0, middle = 0, bottom = 0;
    for (int y = 0; y < 900; ++y) {
        for (int x = 0; x < 600; x += 2) {
            const QColor p = image.pixelColor(x, y);
            if (std::abs(p.red() - 200) < 30 && p.green() < 40 && p.blue() < 40) {
                ++(y < 300 ? top : y < 600 ? middle : bottom);
            }
        }
    }
    EXPECT_EQ(top, 0);
    EXPECT_GT(middle, 100);
    EXPECT_EQ(bottom, 0);
}

TEST(SvgExport, IsAValidDrawingOfTheRequestedSize) {
    const QByteArray svg = RenderFile({RedDiagonal()}, ImageFormat::Svg, ImageOptions{});
    ASSERT_TRUE(svg.contains("<svg"));
    QSvgRenderer renderer(svg);
    ASSERT_TRUE(renderer.isValid());
    EXPECT_EQ(renderer.viewBox(), QRect(0, 0, 1600, 1000));
    EXPECT_TRUE(svg.contains("record.txt"));
    EXPECT_TRUE(svg.contains("#c80000")) << "the curve colour";
}

// Three stacked time-history charts, as the records page saves them.
std::vector<ChartFigure> ThreeRecordCharts() {
    std::vector<ChartFigure> figures;
    for (const char* unit : {"Acceleration [g]", "Velocity [cm/sec]", "Displacement [cm]"}) {
        ChartFigure f;
        f.title = QStringLiteral("record.txt — ") + QString::fromLatin1(unit);
        f.xTitle = QStringLiteral("Time [sec]");
        f.yTitle = QString::fromLatin1(unit);
        Curve c;
        c.name = QStringLiteral("Raw");
        for (int i = 0; i < 4000; ++i) {
            c.points.append(QPointF(0.01 * i, 0.3 * std::sin(0.05 * i)));
        }
        f.curves.push_back(c);
        figures.push_back(f);
    }
    return figures;
}

// The texts of an SVG drawing, in order.
QStringList SvgTexts(const QByteArray& svg) {
    QStringList texts;
    const QRegularExpression text(QStringLiteral("<text[^>]*>([^<]*)</text>"));
    for (auto it = text.globalMatch(QString::fromUtf8(svg)); it.hasNext();) {
        texts.append(it.next().captured(1).trimmed());
    }
    return texts;
}

TEST(SvgExport, StackedChartsAtTheDefaultSizeAndResolutionKeepEveryTextWhole) {
    const QByteArray svgBytes = RenderFile(ThreeRecordCharts(), ImageFormat::Svg, {});
    const QStringList texts = SvgTexts(svgBytes);
    for (const QString& t : texts) {
        EXPECT_FALSE(t.contains(QChar(0x2026)) || t.contains(QLatin1String("&#8230;")))
            << "cut text: " << t.toStdString();
    }
    for (const char* whole : {"Acceleration [g]", "Velocity [cm/sec]", "Displacement [cm]",
                              "Time [sec]", "record.txt — Displacement [cm]"}) {
        EXPECT_TRUE(texts.contains(QString::fromUtf8(whole))) << whole;
    }
    // At least three numbered ticks on each of the six axes.
    int numbers = 0;
    for (const QString& t : texts) {
        bool isNumber = false;
        t.toDouble(&isNumber);
        numbers += isNumber ? 1 : 0;
    }
    EXPECT_GE(numbers, 18);
}

TEST(PdfExport, IsOnePageOfTheRequestedSize) {
    const QByteArray pdf = RenderFile({RedDiagonal()}, ImageFormat::Pdf, ImageOptions{});
    ASSERT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_TRUE(pdf.trimmed().endsWith("%%EOF"));
    // 1600 x 1000 px at 200 DPI = 8 x 5 in = 576 x 360 pt.
    const QRegularExpression mediaBox(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"));
    const QRegularExpressionMatch match = mediaBox.match(QString::fromLatin1(pdf));
    ASSERT_TRUE(match.hasMatch());
    EXPECT_NEAR(match.captured(1).toDouble(), 576, 0.5);
    EXPECT_NEAR(match.captured(2).toDouble(), 360, 0.5);
    EXPECT_EQ(QString::fromLatin1(pdf).count(QStringLiteral("/Type /Page\n")) +
                  QString::fromLatin1(pdf).count(QStringLiteral("/Type /Page\r")) +
                  QString::fromLatin1(pdf).count(QStringLiteral("/Type /Page ")),
              1);
}

TEST(SavedFigures, AreWrittenWholeOrNotAtAll) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("chart.png");
    SaveFigures(path, {RedDiagonal()}, ImageFormat::Png, ImageOptions{QSize(400, 250), 96});
    QImage saved(path);
    EXPECT_EQ(saved.size(), QSize(400, 250));

    const QString unwritable = dir.filePath("no-such-folder/chart.pdf");
    try {
        SaveFigures(unwritable, {RedDiagonal()}, ImageFormat::Pdf, ImageOptions{});
        ADD_FAILURE() << "wrote into a missing folder";
    } catch (const ReportWriteError& error) {
        EXPECT_TRUE(QString(error.what()).startsWith("Cannot create file \"" + unwritable + "\""))
            << error.what();
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"chart.png"});
}

TEST(ImageFormats, AreKnownByName) {
    EXPECT_EQ(ImageFormatFromName("PNG"), ImageFormat::Png);
    EXPECT_EQ(ImageFormatFromName("svg"), ImageFormat::Svg);
    EXPECT_EQ(ImageFormatFromName("pdf"), ImageFormat::Pdf);
    EXPECT_FALSE(ImageFormatFromName("jpg"));
    EXPECT_EQ(ImageFormatSuffix(ImageFormat::Pdf), "pdf");
}

}  // namespace
}  // namespace travik::figures
