// The spectrum chart, its axis choices, the readout and the record panel.
#include <QChart>
#include <QLabel>
#include <QListWidget>
#include <QRegularExpression>

#include "SpectraFixture.h"
#include "ui/figures/FigureView.h"
#include "ui/figures/SpectrumFigures.h"
#include "ui/spectra/AxisChoices.h"
#include "ui/spectra/SpectrumReadout.h"

namespace {

using travik::figures::ChartFigure;
using travik::figures::FigureView;

class SpectrumChartTest : public SpectraFixture {
  protected:
    FigureView* Chart() const { return Spectra<FigureView>("cht4"); }
    ChartFigure Shown() const { return Chart()->ShownFigure(); }
    // Points of the curve of damping ratio `curve` as (x, y) pairs.
    std::vector<QPointF> Points(std::size_t curve) const {
        const ChartFigure figure = Shown();
        if (curve >= figure.curves.size()) {
            return {};
        }
        const QList<QPointF>& points = figure.curves[curve].points;
        return {points.begin(), points.end()};
    }
};

TEST_F(SpectrumChartTest, NoCurveAndTheFirstChoicesAxisTitlesAtStart) {
    const ChartFigure figure = Shown();
    EXPECT_TRUE(figure.curves.empty());
    EXPECT_EQ(figure.xTitle, "Period [sec]");
    EXPECT_EQ(figure.yTitle, "Response Displacement [cm]");
    EXPECT_EQ(Spectra<QLabel>("lbl2")->text(), "X : 0      Y : 0");
}

TEST_F(SpectrumChartTest, OneCurvePerDampingValueInTheLegend) {
    Load(ShortRecord("a.txt"));
    ShowSpectraPage();
    SetDamping({"20", "5", "10"});
    Spectra<QPushButton>("btn11")->click();
    QApplication::processEvents();

    const ChartFigure figure = Shown();
    const char* const titles[] = {"Damp. 5%", "Damp. 10%", "Damp. 20%"};
    ASSERT_EQ(figure.curves.size(), 3u);
    for (std::size_t curve = 0; curve < 3; ++curve) {
        EXPECT_EQ(figure.curves[curve].name, titles[curve]);
        EXPECT_EQ(figure.curves[curve].points.size(), 301);
        EXPECT_DOUBLE_EQ(figure.curves[curve].width, 2.0);
    }
    EXPECT_NE(figure.curves[0].color, figure.curves[1].color);
    EXPECT_TRUE(figure.legend);
    int legendSeries = 0;
    for (const QAbstractSeries* series : Chart()->chart()->series()) {
        legendSeries += series->name().startsWith("Damp. ") ? 1 : 0;
    }
    EXPECT_EQ(legendSeries, 3);
}

TEST_F(SpectrumChartTest, BeforeAnyAnalysisAChoiceOnlyChangesTheAxisTitle) {
    Spectra<QComboBox>("cbb5")->setCurrentIndex(1);
    EXPECT_EQ(Shown().xTitle, "Frequency [HZ]");
    Spectra<QComboBox>("cbb5")->setCurrentIndex(2);
    EXPECT_EQ(Shown().xTitle, "Displacement [cm]");
    const char* const leftTitles[] = {"Response Displacement [cm]", "Response Velocity [cm/sec]",
                                      "Response Acceleration [g]", "Pseudo-Velocity [cm/sec]",
                                      "Pseudo-Acceleration [g]"};
    for (int ordinate : {1, 2, 3, 4, 0}) {
        Spectra<QComboBox>("cbb7")->setCurrentIndex(ordinate);
        EXPECT_EQ(Shown().yTitle, leftTitles[ordinate]);
    }
    EXPECT_TRUE(Shown().curves.empty());
}

TEST_F(SpectrumChartTest, EachAbscissaDrawsTheStoreInItsOwnOrder) {
    Load(SampleRecord());
    SetDamping({"5", "10"});
    Spectra<QPushButton>("btn11")->click();
    const travik::SpectraResult& store = form->Document().Spectra();
    const travik::DOUBLEVECTOR& sd = store.Columns(travik::SpectrumKind::Displacement)[1];
    const travik::DOUBLEVECTOR& psa = store.Columns(travik::SpectrumKind::PseudoAcceleration)[1];

    Spectra<QComboBox>("cbb7")->setCurrentIndex(4);  // pseudo-acceleration
    std::vector<QPointF> byPeriod = Points(1);
    ASSERT_EQ(byPeriod.size(), 301u);
    EXPECT_EQ(byPeriod[0], QPointF(0.0, psa[0]));
    EXPECT_EQ(byPeriod[150], QPointF(store.periods[150], psa[150]));

    Spectra<QComboBox>("cbb5")->setCurrentIndex(1);  // frequency: the point of period 0 is left out
    const std::vector<QPointF> byFrequency = Points(1);
    ASSERT_EQ(byFrequency.size(), 300u);
    EXPECT_EQ(byFrequency[0], QPointF(store.frequencies[1], psa[1]));
    EXPECT_DOUBLE_EQ(byFrequency[0].x(), 50.0);
    EXPECT_EQ(byFrequency[299], QPointF(store.frequencies[300], psa[300]));

    Spectra<QComboBox>("cbb5")->setCurrentIndex(2);  // spectral displacement, in period order
    const std::vector<QPointF> byDisplacement = Points(1);
    ASSERT_EQ(byDisplacement.size(), 301u);
    EXPECT_EQ(byDisplacement[0], QPointF(0.0, psa[0]));
    bool turnsBack = false;
    for (std::size_t i = 0; i < byDisplacement.size(); ++i) {
        ASSERT_EQ(byDisplacement[i], QPointF(sd[i], psa[i]));
        turnsBack = turnsBack || (i > 0 && sd[i] < sd[i - 1]);
    }
    EXPECT_TRUE(turnsBack) << "the record's Sd should not grow with every period";

    // Back and forth: the same curves, nothing accumulated.
    Spectra<QComboBox>("cbb5")->setCurrentIndex(0);
    Spectra<QComboBox>("cbb7")->setCurrentIndex(1);
    Spectra<QComboBox>("cbb7")->setCurrentIndex(4);
    EXPECT_EQ(Points(1), byPeriod);
    EXPECT_EQ(Points(0).size(), 301u);
    EXPECT_EQ(Shown().curves.size(), 2u);
}

TEST_F(SpectrumChartTest, ReadoutShowsTheAxisValuesWithinInclusiveBounds) {
    EXPECT_EQ(ReadoutText({1.5, 0.25}, 0.0, 6.0, 0.0, 1.0, '.'), "X : 1.5      Y : 0.25");
    EXPECT_EQ(ReadoutText({0.0, 1.0}, 0.0, 6.0, 0.0, 1.0, '.'), "X : 0      Y : 1");
    EXPECT_EQ(ReadoutText({6.0, -0.5}, 0.0, 6.0, -0.5, 1.0, ','), "X : 6      Y : -0,5");
    // About six significant digits, rounded: 1.12346 and 0.000123457 (worked by hand).
    EXPECT_EQ(ReadoutText({1.1234567891234, 0.000123456789}, 0.0, 6.0, 0.0, 1.0, '.'),
              "X : 1.12346      Y : 0.000123457");
    EXPECT_EQ(ReadoutText({6.000001, 0.5}, 0.0, 6.0, 0.0, 1.0, '.'), std::nullopt);
    EXPECT_EQ(ReadoutText({-0.000001, 0.5}, 0.0, 6.0, 0.0, 1.0, '.'), std::nullopt);
    EXPECT_EQ(ReadoutText({3.0, 1.01}, 0.0, 6.0, 0.0, 1.0, '.'), std::nullopt);
    EXPECT_EQ(ReadoutText({3.0, -0.01}, 0.0, 6.0, 0.0, 1.0, '.'), std::nullopt);
}

TEST_F(SpectrumChartTest, PointerMovesOverThePlotUpdateTheReadout) {
    Load(ShortRecord("a.txt"));
    ShowSpectraPage();
    Spectra<QPushButton>("btn11")->click();
    QApplication::processEvents();
    QChart* chart = Chart()->chart();
    const QRectF area = chart->plotArea();
    const QPoint centre = Chart()->mapFromScene(chart->mapToScene(area.center()));

    emit Chart()->PointerMoved(centre);
    const QRegularExpression pattern(
        QStringLiteral("^X : (-?[0-9]+(\\.[0-9]{1,9})?)      Y : (-?[0-9]+(\\.[0-9]{1,9})?)$"));
    const QRegularExpressionMatch match = pattern.match(Spectra<QLabel>("lbl2")->text());
    ASSERT_TRUE(match.hasMatch()) << Spectra<QLabel>("lbl2")->text().toStdString();
    const QRectF range = Chart()->ShownRange();
    EXPECT_NEAR(match.captured(1).toDouble(), (range.left() + range.right()) / 2,
                range.width() / 50);
    EXPECT_NEAR(match.captured(3).toDouble(), (range.top() + range.bottom()) / 2,
                range.height() / 50);

    // Outside the plot area the readout keeps its text.
    const QString inside = Spectra<QLabel>("lbl2")->text();
    const QPoint leftOfAxis =
        Chart()->mapFromScene(chart->mapToScene(area.center() - QPointF(area.width(), 0)));
    emit Chart()->PointerMoved(leftOfAxis);
    emit Chart()->PointerMoved(QPoint(1, 1));
    EXPECT_EQ(Spectra<QLabel>("lbl2")->text(), inside);
}

TEST_F(SpectrumChartTest, ClickingARecordNameChoosesItForTheNextAnalysisOnly) {
    std::vector<std::unique_ptr<travik::TimeHistory>> records;
    records.push_back(ShortRecord("first.txt"));
    records.push_back(SampleRecord());
    Load(std::move(records));
    Spectra<QPushButton>("btn11")->click();
    const std::vector<QPointF> drawn = Points(0);
    const QString cell = Spectra<StringGrid>("strngrd1")->Cell(1, 200);

    Spectra<QListWidget>("lst3")->setCurrentRow(1);
    EXPECT_EQ(Spectra<QComboBox>("cbb4")->currentIndex(), 1);
    EXPECT_EQ(Points(0), drawn);
    EXPECT_EQ(Spectra<StringGrid>("strngrd1")->Cell(1, 200), cell);

    Spectra<QPushButton>("btn11")->click();
    EXPECT_NE(Spectra<StringGrid>("strngrd1")->Cell(1, 200), cell);

    // The check marks count, and play no part in the analysis.
    Spectra<QListWidget>("lst3")->item(0)->setCheckState(Qt::Checked);
    Spectra<QListWidget>("lst3")->item(1)->setCheckState(Qt::Checked);
    EXPECT_EQ(Spectra<QLineEdit>("edt15")->text(), "2");
    Spectra<QListWidget>("lst3")->item(0)->setCheckState(Qt::Unchecked);
    EXPECT_EQ(Spectra<QLineEdit>("edt15")->text(), "1");
}

TEST_F(SpectrumChartTest, ARedrawKeepsTheListsTheSpectraWereComputedWith) {
    Load(ShortRecord("a.txt"));
    SetDamping({"5", "10", "20"});
    Spectra<QPushButton>("btn11")->click();

    // An export with one damping value and a longer period list computes its own spectra;
    // the shown ones and their lists stay, and redraws keep them.
    Spectra<QListWidget>("lst3")->item(0)->setCheckState(Qt::Checked);
    Spectra<QComboBox>("cbb6")->setCurrentIndex(0);
    ChangeSettings([](travik::AnalysisSettings& s) { s.periodStep = 0.01; });
    platform.folderAnswers = {folder.path()};
    Spectra<QPushButton>("btn10")->click();
    ASSERT_EQ(platform.messages.back().text, "Done!");
    ASSERT_EQ(form->Document().Spectra().dampingRatios.size(), 3u);
    ASSERT_EQ(form->Document().Spectra().periods.size(), 301u);

    Spectra<QComboBox>("cbb7")->setCurrentIndex(2);
    ASSERT_EQ(Shown().curves.size(), 3u);
    EXPECT_EQ(Points(2).size(), 301u);
    EXPECT_EQ(Shown().curves[2].name, "Damp. 20%");
    Spectra<QComboBox>("cbb5")->setCurrentIndex(1);
    ASSERT_EQ(Points(0).size(), 300u);
    EXPECT_DOUBLE_EQ(Points(0)[0].x(), 1 / 0.02);
    Spectra<QComboBox>("cbb5")->setCurrentIndex(0);
    ASSERT_EQ(Points(0).size(), 301u);
    EXPECT_DOUBLE_EQ(Points(0)[300].x(), 5.99999999999996);
}

TEST(AxisChoices, ListIndexesMapToChoicesAndTheKindDrawn) {
    EXPECT_EQ(AbscissaOfIndex(-1), AbscissaChoice::Period);
    EXPECT_EQ(AbscissaOfIndex(1), AbscissaChoice::Frequency);
    EXPECT_EQ(AbscissaOfIndex(2), AbscissaChoice::Displacement);
    EXPECT_EQ(AbscissaOfIndex(3), AbscissaChoice::Period);
    EXPECT_EQ(OrdinateOfIndex(-1), OrdinateChoice::Displacement);
    EXPECT_EQ(OrdinateOfIndex(5), OrdinateChoice::Tripartite);
    EXPECT_EQ(OrdinateOfIndex(6), OrdinateChoice::Adrs);
    EXPECT_EQ(OrdinateOfIndex(7), OrdinateChoice::Displacement);
    EXPECT_EQ(KindOf(OrdinateChoice::Velocity), travik::SpectrumKind::Velocity);
    EXPECT_EQ(KindOf(OrdinateChoice::Acceleration), travik::SpectrumKind::Acceleration);
    EXPECT_EQ(KindOf(OrdinateChoice::PseudoVelocity), travik::SpectrumKind::PseudoVelocity);
    EXPECT_EQ(KindOf(OrdinateChoice::Tripartite), travik::SpectrumKind::PseudoVelocity);
    EXPECT_EQ(KindOf(OrdinateChoice::Adrs), travik::SpectrumKind::PseudoAcceleration);
}

TEST_F(SpectrumChartTest, PlottingNeverReadsPastTheEndOfAColumn) {
    Load(ShortRecord("a.txt"));
    SetDamping({"5", "10", "20"});
    Spectra<QPushButton>("btn11")->click();

    // Fewer columns of one kind than of another, and a short column.
    travik::SpectraResult store = form->Document().Spectra();
    store.columns[static_cast<std::size_t>(travik::SpectrumKind::Velocity)].pop_back();
    store.columns[static_cast<std::size_t>(travik::SpectrumKind::Displacement)][1].resize(10);
    const auto pointCount = [&store](std::size_t damping, int abscissa) {
        travik::figures::SpectrumChartOptions o;
        o.abscissa = abscissa;
        o.ordinate = 1;  // velocity
        const ChartFigure figure = travik::figures::SpectrumChart(
            {travik::figures::CurveOfResult(store, damping, '.')}, o);
        return travik::figures::PrepareForAxes(figure.curves[0], figure.xScale, figure.yScale)
            .curve.points.size();
    };
    EXPECT_EQ(pointCount(0, 0), 301);
    EXPECT_EQ(pointCount(1, 0), 301);
    EXPECT_EQ(pointCount(2, 0), 0);
    EXPECT_EQ(pointCount(1, 2), 10);
}

}  // namespace
