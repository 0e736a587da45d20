// The spectrum chart, its axis choices, the readout and the record panel.
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QListWidget>
#include <QRegularExpression>

#include "SpectraFixture.h"
#include "presentation/SpectrumChart.h"

namespace {

class SpectrumChartTest : public SpectraFixture {
  protected:
    // Points of a series as (x, y) pairs.
    std::vector<QPointF> Points(int series) const {
        std::vector<QPointF> points;
        for (int i = 0; i < Spectra<ChartAdapter>("cht4")->PointCount(series); ++i) {
            points.push_back(Spectra<ChartAdapter>("cht4")->Point(series, i));
        }
        return points;
    }
};

TEST_F(SpectrumChartTest, NineHiddenSeriesInTheirColoursAtStart) {
    const ChartAdapter& chart = *Spectra<ChartAdapter>("cht4");
    ASSERT_EQ(chart.SeriesCount(), 9);
    const QColor colours[] = {{224, 7, 254}, {255, 20, 40}, {255, 140, 0},
                              {255, 255, 0}, {0, 255, 0},   {0, 255, 255},
                              {0, 191, 255}, {0, 0, 255},   {10, 155, 200}};
    for (int series = 0; series < 9; ++series) {
        EXPECT_EQ(chart.SeriesColor(series), colours[series]);
        EXPECT_DOUBLE_EQ(chart.SeriesWidth(series), 2.0);
        EXPECT_FALSE(chart.IsSeriesActive(series));
        EXPECT_EQ(chart.PointCount(series), 0);
    }
    EXPECT_EQ(chart.BottomAxisTitle(), "Period [sec]");
    EXPECT_EQ(chart.LeftAxisTitle(), "Response Displacement [cm]");
    EXPECT_EQ(Spectra<QLabel>("lbl2")->text(), "X : 0      Y : 0");
}

TEST_F(SpectrumChartTest, OneVisibleSeriesPerDampingValueInTheLegend) {
    Load(ShortRecord("a.txt"));
    ShowSpectraPage();
    SetDamping({"20", "5", "10"});
    Spectra<QPushButton>("btn11")->click();
    QApplication::processEvents();

    const ChartAdapter& chart = *Spectra<ChartAdapter>("cht4");
    const char* const titles[] = {"Damp. 5%", "Damp. 10%", "Damp. 20%"};
    for (int series = 0; series < 9; ++series) {
        EXPECT_EQ(chart.IsSeriesActive(series), series < 3) << series;
    }
    for (int series = 0; series < 3; ++series) {
        EXPECT_EQ(chart.SeriesTitle(series), titles[series]);
        EXPECT_EQ(chart.PointCount(series), 301);
    }
    EXPECT_EQ(chart.SeriesColor(1), QColor(255, 20, 40));
    int legendEntries = 0;
    for (const QLegendMarker* marker : chart.View()->chart()->legend()->markers()) {
        legendEntries += marker->isVisible() ? 1 : 0;
    }
    EXPECT_EQ(legendEntries, 3);
}

TEST_F(SpectrumChartTest, BeforeAnyAnalysisAChoiceOnlyChangesTheAxisTitle) {
    Spectra<QComboBox>("cbb5")->setCurrentIndex(1);
    EXPECT_EQ(Spectra<ChartAdapter>("cht4")->BottomAxisTitle(), "Frequency [HZ]");
    Spectra<QComboBox>("cbb5")->setCurrentIndex(2);
    EXPECT_EQ(Spectra<ChartAdapter>("cht4")->BottomAxisTitle(), "Displacement [cm]");
    const char* const leftTitles[] = {"Response Displacement [cm]", "Response Velocity [cm/sec]",
                                      "Response Acceleration [g]", "Pseudo-Velocity [cm/sec]",
                                      "Pseudo-Acceleration [g]"};
    for (int ordinate : {1, 2, 3, 4, 0}) {
        Spectra<QComboBox>("cbb7")->setCurrentIndex(ordinate);
        EXPECT_EQ(Spectra<ChartAdapter>("cht4")->LeftAxisTitle(), leftTitles[ordinate]);
    }
    for (int series = 0; series < 9; ++series) {
        EXPECT_EQ(Spectra<ChartAdapter>("cht4")->PointCount(series), 0);
        EXPECT_FALSE(Spectra<ChartAdapter>("cht4")->IsSeriesActive(series));
    }
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
    EXPECT_EQ(Spectra<ChartAdapter>("cht4")->PointCount(0), 301);
    EXPECT_FALSE(Spectra<ChartAdapter>("cht4")->IsSeriesActive(2));
}

TEST_F(SpectrumChartTest, ReadoutShowsTheAxisValuesWithinInclusiveBounds) {
    EXPECT_EQ(ReadoutText({1.5, 0.25}, 0.0, 6.0, 0.0, 1.0, '.'), "X : 1.5      Y : 0.25");
    EXPECT_EQ(ReadoutText({0.0, 1.0}, 0.0, 6.0, 0.0, 1.0, '.'), "X : 0      Y : 1");
    EXPECT_EQ(ReadoutText({6.0, -0.5}, 0.0, 6.0, -0.5, 1.0, ','), "X : 6      Y : -0,5");
    EXPECT_EQ(ReadoutText({1.1234567891234, 0.5}, 0.0, 6.0, 0.0, 1.0, '.'),
              "X : 1.123456789      Y : 0.5");
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
    QChart* chart = Spectra<ChartAdapter>("cht4")->View()->chart();
    const QRectF area = chart->plotArea();
    const QPoint centre =
        Spectra<ChartAdapter>("cht4")->View()->mapFromScene(chart->mapToScene(area.center()));

    emit Spectra<ChartAdapter>("cht4")->MouseMoved(centre);
    const QRegularExpression pattern(
        QStringLiteral("^X : (-?[0-9]+(\\.[0-9]{1,9})?)      Y : (-?[0-9]+(\\.[0-9]{1,9})?)$"));
    const QRegularExpressionMatch match = pattern.match(Spectra<QLabel>("lbl2")->text());
    ASSERT_TRUE(match.hasMatch()) << Spectra<QLabel>("lbl2")->text().toStdString();
    const ChartAdapter& adapter = *Spectra<ChartAdapter>("cht4");
    EXPECT_NEAR(match.captured(1).toDouble(), (adapter.BottomMin() + adapter.BottomMax()) / 2,
                (adapter.BottomMax() - adapter.BottomMin()) / 50);
    EXPECT_NEAR(match.captured(3).toDouble(), (adapter.LeftMin() + adapter.LeftMax()) / 2,
                (adapter.LeftMax() - adapter.LeftMin()) / 50);

    // Outside the plot area the readout keeps its text.
    const QString inside = Spectra<QLabel>("lbl2")->text();
    const QPoint leftOfAxis = Spectra<ChartAdapter>("cht4")->View()->mapFromScene(
        chart->mapToScene(area.center() - QPointF(area.width(), 0)));
    emit Spectra<ChartAdapter>("cht4")->MouseMoved(leftOfAxis);
    emit Spectra<ChartAdapter>("cht4")->MouseMoved(QPoint(1, 1));
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
    auto* chart = Spectra<ChartAdapter>("cht4");

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
    EXPECT_EQ(chart->PointCount(2), 301);
    EXPECT_EQ(chart->SeriesTitle(2), "Damp. 20%");
    Spectra<QComboBox>("cbb5")->setCurrentIndex(1);
    EXPECT_EQ(chart->PointCount(0), 300);
    EXPECT_DOUBLE_EQ(chart->Point(0, 0).x(), 1 / 0.02);
    Spectra<QComboBox>("cbb5")->setCurrentIndex(0);
    EXPECT_EQ(chart->PointCount(0), 301);
    EXPECT_DOUBLE_EQ(chart->Point(0, 300).x(), 5.99999999999996);
}

TEST_F(SpectrumChartTest, PlottingNeverReadsPastTheEndOfAColumn) {
    Load(ShortRecord("a.txt"));
    SetDamping({"5", "10", "20"});
    Spectra<QPushButton>("btn11")->click();
    auto* chart = Spectra<ChartAdapter>("cht4");

    // Fewer columns of one kind than of another, and a short column.
    travik::SpectraResult store = form->Document().Spectra();
    store.columns[static_cast<std::size_t>(travik::SpectrumKind::Velocity)].pop_back();
    store.columns[static_cast<std::size_t>(travik::SpectrumKind::Displacement)][1].resize(10);
    ClearSpectrumChart(*chart);
    PlotSpectra(*chart, store, 0, 1, '.');
    EXPECT_EQ(chart->PointCount(0), 301);
    EXPECT_EQ(chart->PointCount(1), 301);
    EXPECT_EQ(chart->PointCount(2), 0);
    EXPECT_FALSE(chart->IsSeriesActive(2));
    ClearSpectrumChart(*chart);
    PlotSpectra(*chart, store, 2, 1, '.');
    EXPECT_EQ(chart->PointCount(1), 10);
}

}  // namespace
