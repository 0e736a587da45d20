// Every figure, at every default and at any size of at least 4 x 2.5 inches from 72 to
// 600 DPI, is laid out with whole texts and at least three numbered ticks on each axis.
#include <gtest/gtest.h>

#include <QChart>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <cmath>
#include <string>

#include "core/records/CorrectedSet.h"
#include "ui/figures/FigureExport.h"
#include "ui/figures/FigureLegend.h"
#include "ui/figures/MeasureFigures.h"
#include "ui/figures/RecordFigures.h"
#include "ui/figures/SpectrumFigures.h"

namespace travik::figures {
namespace {

// A decaying two-tone motion of 40 s, baseline-corrected: velocities and displacements of
// tens of cm/sec and cm, labels of several digits.
TimeHistory Motion() {
    TimeHistory record("CHY101-E-a-record-with-a-long-name.txt", 0.01);
    for (int i = 0; i < 4000; ++i) {
        const double t = i * 0.01;
        record.AppendAcceleration(0.3 * std::exp(-0.05 * t) *
                                  (std::sin(5.0 * t) + 0.4 * std::sin(17.0 * t)));
    }
    IntegrateMotion(record, 980, MotionSet::Raw);
    ApplyBaselineCorrection(record, BaselineCorrectionType::Linear, 980);
    return record;
}

std::vector<ChartFigure> RecordFigures() {
    const std::array<ChartFigure, 3> charts = TimeHistoryCharts(Motion());
    return {charts.begin(), charts.end()};
}

std::vector<SpectrumCurve> SpectrumCurves() {
    const TimeHistory record = Motion();
    std::vector<double> periods = {0.0};
    for (int k = 1; k <= 200; ++k) {
        periods.push_back(0.02 * k);
    }
    const SpectraResult result =
        ComputeSpectra(record, AnalysisSettings{}, {0.02, 0.05, 0.1}, periods);
    std::vector<SpectrumCurve> curves;
    for (std::size_t d = 0; d < 3; ++d) {
        curves.push_back(CurveOfResult(result, d, '.'));
    }
    TargetSpectrum target{
        "EN 1998-1 Type 1 ground B a_g=0.3 g, 5 % (a target with a long name)", {}, {}};
    for (int k = 0; k <= 40; ++k) {
        target.periods.push_back(k * 0.1);
        target.sa.push_back(k == 0 ? 0.36 : std::min(0.9, 0.45 / (k * 0.1)));
    }
    curves.push_back(CurveOfTarget(target, 980));
    return curves;
}

std::vector<ChartFigure> SpectrumFigures(SpectrumPlot plot) {
    SpectrumChartOptions options;
    options.plot = plot;
    options.title = QStringLiteral("CHY101-E-a-record-with-a-long-name.txt");
    return {SpectrumChart(SpectrumCurves(), options)};
}

std::vector<ChartFigure> MeasureFiguresOf() {
    const GroundMotionMeasures m = ComputeGroundMotionMeasures(Motion(), MeasureSettings{});
    return {HusidFigure(m), FourierFigure(m)};
}

bool Elided(const QString& text) {
    return text.contains(QChar(0x2026)) || text.contains(QStringLiteral("..."));
}

struct SceneText {
    QString text;
    QRectF box;  // in the chart's coordinates
};

std::vector<SceneText> VisibleTexts(const QGraphicsScene& scene) {
    std::vector<SceneText> texts;
    for (const QGraphicsItem* item : scene.items()) {
        if (!item->isVisible()) {
            continue;
        }
        if (const auto* text = dynamic_cast<const QGraphicsTextItem*>(item)) {
            texts.push_back({text->toPlainText(), item->sceneBoundingRect()});
        } else if (const auto* simple = dynamic_cast<const QGraphicsSimpleTextItem*>(item)) {
            texts.push_back({simple->text(), item->sceneBoundingRect()});
        }
    }
    return texts;
}

// "-0", "-0.0", "-0,00": a zero tick labelled with a sign.
bool ZeroWithASign(const QString& text) {
    static const QRegularExpression zero(QStringLiteral("^[-\u2212]0([.,]0*)?$"));
    return zero.match(text.trimmed()).hasMatch();
}

bool IsNumber(const QString& text) {
    bool ok = false;
    text.toDouble(&ok);
    return ok;
}

struct Case {
    const char* name;
    std::vector<ChartFigure> (*figures)();
};

struct Size {
    QSize pixels;
    int dpi;
};

std::string Describe(const Size& size) {
    return std::to_string(size.pixels.width()) + "x" + std::to_string(size.pixels.height()) +
           " at " + std::to_string(size.dpi) + " DPI";
}

// 4 x 2.5 inches at 72 to 600 DPI, the window's and the command line's defaults, and a few
// sizes between.
std::vector<Size> Sizes() {
    std::vector<Size> sizes;
    for (const int dpi : {72, 96, 150, 200, 300, 600}) {
        sizes.push_back({QSize(4 * dpi, dpi * 5 / 2), dpi});
    }
    sizes.push_back({QSize(1600, 1000), 200});
    sizes.push_back({QSize(640, 400), 100});
    sizes.push_back({QSize(800, 500), 72});
    sizes.push_back({QSize(2400, 1500), 300});
    sizes.push_back({QSize(1000, 1000), 96});
    return sizes;
}

class FigureLayout : public ::testing::TestWithParam<Case> {};

TEST_P(FigureLayout, KeepsEveryTextWholeWithThreeNumberedTicksOnEachAxis) {
    const std::vector<ChartFigure> figures = GetParam().figures();
    for (const Size& size : Sizes()) {
        const double partHeight = size.pixels.height() / static_cast<double>(figures.size());
        for (const ChartFigure& figure : figures) {
            QGraphicsScene scene;
            const LaidOutChart laidOut = LayOutChart(
                scene, figure, QSizeF(size.pixels.width(), partHeight), size.dpi / 96.0);
            const std::string where = Describe(size) + ", " + figure.yTitle.toStdString();
            const std::vector<SceneText> texts = VisibleTexts(scene);
            const QRectF plot = laidOut.chart->plotArea();
            EXPECT_GT(plot.width(), 0.5 * laidOut.logical.width()) << where;
            int xNumbers = 0;
            int yNumbers = 0;
            QStringList shown;
            for (const SceneText& t : texts) {
                EXPECT_FALSE(Elided(t.text)) << where << ": " << t.text.toStdString();
                EXPECT_FALSE(ZeroWithASign(t.text)) << where << ": " << t.text.toStdString();
                shown.append(t.text);
                if (!IsNumber(t.text)) {
                    continue;
                }
                if (t.box.center().y() > plot.bottom() && t.box.center().x() >= plot.left() - 1 &&
                    t.box.center().x() <= plot.right() + 1) {
                    ++xNumbers;
                } else if (t.box.center().x() < plot.left() &&
                           t.box.center().y() >= plot.top() - 1 &&
                           t.box.center().y() <= plot.bottom() + 1) {
                    ++yNumbers;
                }
            }
            EXPECT_GE(xNumbers, 3) << where;
            EXPECT_GE(yNumbers, 3) << where;
            for (const QString& title : {figure.title, figure.xTitle, figure.yTitle}) {
                if (!title.isEmpty()) {
                    EXPECT_TRUE(shown.contains(title)) << where << ": " << title.toStdString();
                }
            }
        }
    }
}

// Ranges that straddle zero by tiny, odd and large amounts: every tick label of zero reads
// "0", and no tick between carries the rounding noise of its sum ("1.38778e-17").
TEST(TickLabels, ZeroHasNoSignAndNoTickCarriesRoundingNoise) {
    for (const double half : {0.0004, 0.04, 0.07, 0.3, 0.35, 1.1, 27.0, 3.3e5}) {
        ChartFigure figure;
        figure.xTitle = QStringLiteral("Time [sec]");
        figure.yTitle = QStringLiteral("Displacement [cm]");
        figure.markRoom = true;
        Curve c;
        for (int i = 0; i <= 50; ++i) {
            c.points.append(QPointF(-half + i * half / 25, half * std::sin(i * 0.3)));
        }
        figure.curves.push_back(c);
        QGraphicsScene scene;
        LayOutChart(scene, figure, QSizeF(800, 500), 1.0);
        int zeros = 0;
        for (const SceneText& t : VisibleTexts(scene)) {
            EXPECT_FALSE(ZeroWithASign(t.text)) << half << ": " << t.text.toStdString();
            bool isNumber = false;
            const double value = t.text.toDouble(&isNumber);
            if (isNumber) {
                EXPECT_FALSE(value != 0 && std::fabs(value) < half * 1e-6)
                    << half << ": " << t.text.toStdString();
                zeros += value == 0 ? 1 : 0;
            }
        }
        EXPECT_EQ(zeros, 2) << half;  // one on each axis
    }
}

// A suite of twelve records with long names, and a mean with a long note: the legend keeps
// every text whole (wrapped, never cut) and never takes more than 30 % of the width.
TEST(Legends, KeepEveryTextWholeAndLeaveThePlotMostOfTheWidth) {
    ChartFigure figure;
    figure.title = QStringLiteral("Checked records");
    figure.xTitle = QStringLiteral("Period [sec]");
    figure.yTitle = QStringLiteral("Pseudo-Acceleration [g]");
    QStringList names;
    for (int k = 0; k < 12; ++k) {
        names.append(QStringLiteral("RSN8883_14383980_138490%1_HNE.AT2").arg(k));
    }
    names.append(QStringLiteral("Mean \u2212 \u03c3 (244 points, 12 records, 5 % damping)"));
    for (int k = 0; k < names.size(); ++k) {
        Curve c;
        c.name = names[k];
        c.color = PrintColor(k);
        for (int i = 1; i <= 40; ++i) {
            c.points.append(QPointF(0.1 * i, (k + 1) * 0.01 * i));
        }
        figure.curves.push_back(c);
    }
    for (const Size& size : Sizes()) {
        QGraphicsScene scene;
        const LaidOutChart laidOut =
            LayOutChart(scene, figure, QSizeF(size.pixels), size.dpi / 96.0);
        const auto* legend = laidOut.chart->findChild<FigureLegend*>();
        ASSERT_NE(legend, nullptr);
        QStringList shown = legend->ShownTexts();
        shown.replaceInStrings(QStringLiteral("\n"), QStringLiteral(" "));
        EXPECT_EQ(shown, names) << Describe(size);
        const double width = laidOut.logical.width();
        EXPECT_LE(laidOut.chart->margins().right(), 0.3 * width) << Describe(size);
        EXPECT_GE(laidOut.chart->plotArea().width(), 0.6 * width) << Describe(size);
        EXPECT_GT(laidOut.chart->plotArea().height(), 0) << Describe(size);
    }
}

// The texts of an SVG drawing.
QStringList SvgTexts(const QByteArray& svg) {
    QStringList texts;
    const QRegularExpression text(QStringLiteral("<text[^>]*>([^<]*)</text>"));
    for (auto it = text.globalMatch(QString::fromUtf8(svg)); it.hasNext();) {
        texts.append(it.next().captured(1).trimmed());
    }
    return texts;
}

TEST_P(FigureLayout, SvgFilesHoldEveryTitleWhole) {
    const std::vector<ChartFigure> figures = GetParam().figures();
    for (const Size& size : {Sizes().front(), Sizes()[6], Sizes().back()}) {
        const QStringList texts =
            SvgTexts(RenderFile(figures, ImageFormat::Svg, ImageOptions{size.pixels, size.dpi}));
        for (const QString& t : texts) {
            EXPECT_FALSE(t.contains(QChar(0x2026)) || t.contains(QLatin1String("&#8230;")))
                << Describe(size) << ": " << t.toStdString();
        }
        for (const ChartFigure& figure : figures) {
            for (const QString& title : {figure.xTitle, figure.yTitle}) {
                EXPECT_TRUE(texts.contains(title.toHtmlEscaped()))
                    << Describe(size) << ": " << title.toStdString();
            }
        }
    }
}

// Cells of a coarse grid over a picture that hold ink (pixels darker than white).
std::vector<bool> InkedCells(const QImage& image, int columns, int rows) {
    std::vector<int> dark(static_cast<std::size_t>(columns * rows), 0);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 220) {
                ++dark[static_cast<std::size_t>(y * rows / image.height() * columns +
                                                x * columns / image.width())];
            }
        }
    }
    const int cellPixels = (image.width() / columns) * (image.height() / rows);
    std::vector<bool> inked;
    for (const int count : dark) {
        inked.push_back(count > cellPixels / 100);
    }
    return inked;
}

// The SVG drawn by an independent renderer onto a white picture of the PNG's size.
QImage SvgAsImage(const QByteArray& svg, const QSize& size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QSvgRenderer renderer(svg);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

TEST_P(FigureLayout, SvgShowsWhatThePngShows) {
    const std::vector<ChartFigure> figures = GetParam().figures();
    for (const Size& size : {Sizes()[1], Sizes()[4], Sizes()[6], Sizes()[8]}) {
        const ImageOptions options{size.pixels, size.dpi};
        QImage png;
        ASSERT_TRUE(png.loadFromData(RenderFile(figures, ImageFormat::Png, options), "PNG"));
        const QImage svg = SvgAsImage(RenderFile(figures, ImageFormat::Svg, options), size.pixels);
        // Texts, axes and curves in the same places: on a grid of cells of a few characters
        // (48 x 30, no cell under 12 pixels), the inked cells of the two pictures agree
        // but for a few at edges.
        const int columns = std::min(48, size.pixels.width() / 12);
        const int rows = std::min(30, size.pixels.height() / 12);
        const std::vector<bool> a =
            InkedCells(png.convertToFormat(QImage::Format_RGB32), columns, rows);
        const std::vector<bool> b = InkedCells(svg, columns, rows);
        int both = 0;
        int either = 0;
        for (std::size_t k = 0; k < a.size(); ++k) {
            both += a[k] && b[k] ? 1 : 0;
            either += a[k] || b[k] ? 1 : 0;
        }
        ASSERT_GT(either, 0);
        EXPECT_GE(static_cast<double>(both) / either, 0.9) << Describe(size);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Figures, FigureLayout,
    ::testing::Values(Case{"Records", RecordFigures},
                      Case{"Spectra", [] { return SpectrumFigures(SpectrumPlot::Choice); }},
                      Case{"Tripartite", [] { return SpectrumFigures(SpectrumPlot::Tripartite); }},
                      Case{"Adrs", [] { return SpectrumFigures(SpectrumPlot::Adrs); }},
                      Case{"Measures", MeasureFiguresOf}),
    [](const ::testing::TestParamInfo<Case>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace travik::figures
