#include <gtest/gtest.h>

#include <QAbstractAxis>
#include <QAction>
#include <QApplication>
#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLogValueAxis>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <algorithm>
#include <cmath>

#include "SpectraFixture.h"
#include "core/analysis/SpectraComputation.h"
#include "ui/app/StringGrid.h"
#include "ui/figures/FigureView.h"
#include "ui/records/FilterDialog.h"
#include "ui/spectra/SpectraFigurePanel.h"

namespace {

using travik::figures::ChartFigure;
using travik::figures::FigureView;

class SpectraFigures : public SpectraFixture {
  protected:
    SpectraFigurePanel* Panel() const { return Spectra<SpectraFigurePanel>("pnlFigures"); }
    FigureView* View() const { return Spectra<FigureView>("cht4"); }
    void Analyse() {
        Spectra<QPushButton>("btn11")->click();
        QElapsedTimer timer;
        timer.start();
        while (Panel()->IsAnalysing() && timer.elapsed() < 20000) {
            QTest::qWait(10);
        }
        QApplication::processEvents();
    }
    void CheckAll() {
        QListWidget* list = Spectra<QListWidget>("lst3");
        for (int i = 0; i < list->count(); ++i) {
            list->item(i)->setCheckState(Qt::Checked);
        }
    }
    static std::unique_ptr<travik::TimeHistory> Scaled(const std::string& name, double scale) {
        std::vector<double> values;
        for (int i = 0; i < 300; ++i) {
            values.push_back(scale * std::sin(0.2 * i) * std::exp(-i / 150.0));
        }
        return MakeRecord(name, 0.01, values);
    }
};

TEST_F(SpectraFigures, LogTickBoxesShowDecadesAndLeaveOutThePeriodZeroRow) {
    Load(SampleRecord());
    SetDamping({"5"});
    Analyse();
    Spectra<QCheckBox>("chkLogX")->setChecked(true);
    Spectra<QCheckBox>("chkLogY")->setChecked(true);
    auto* x = qobject_cast<QLogValueAxis*>(View()->chart()->axes(Qt::Horizontal).value(0));
    ASSERT_NE(x, nullptr);
    EXPECT_EQ(x->labelFormat(), "%g");
    const ChartFigure figure = View()->ShownFigure();
    ASSERT_EQ(figure.curves.size(), 1u);
    // 300 periods from 0.02 s; the period-0 row is not drawn and not counted as left out.
    EXPECT_EQ(figure.curves[0].points.size(), 300);
    EXPECT_DOUBLE_EQ(figure.curves[0].points[0].x(), 0.02);
    EXPECT_EQ(figure.curves[0].name, "Damp. 5%");
    Spectra<QCheckBox>("chkLogX")->setChecked(false);
    Spectra<QCheckBox>("chkLogY")->setChecked(false);
    EXPECT_EQ(View()->ShownFigure().xScale, travik::figures::AxisScale::Linear);
    EXPECT_EQ(CurvePoints(0), 301);
}

TEST_F(SpectraFigures, TripartiteAndSaSdAreTheLastEntriesOfTheYList) {
    Load(SampleRecord());
    SetDamping({"5"});
    Analyse();
    QComboBox* ordinate = Spectra<QComboBox>("cbb7");
    ASSERT_EQ(ordinate->count(), 7);
    EXPECT_EQ(ordinate->itemText(5), "Tripartite");
    EXPECT_EQ(ordinate->itemText(6), "Sa–Sd");
    ordinate->setCurrentIndex(5);
    EXPECT_EQ(View()->ShownFigure().overlay, travik::figures::Overlay::TripartitePeriod);
    EXPECT_EQ(View()->ShownFigure().yTitle, "Pseudo-Velocity [cm/sec]");
    Spectra<QComboBox>("cbb5")->setCurrentIndex(1);
    EXPECT_EQ(View()->ShownFigure().overlay, travik::figures::Overlay::TripartiteFrequency);
    ordinate->setCurrentIndex(6);
    EXPECT_EQ(View()->ShownFigure().overlay, travik::figures::Overlay::AdrsPeriods);
    EXPECT_EQ(View()->ShownFigure().xTitle, "Displacement [cm]");
    // The X list says what the Sa-Sd chart's X axis is, and keeps the choice made before.
    EXPECT_EQ(Spectra<QComboBox>("cbb5")->currentText(), "Displacement");
    EXPECT_FALSE(Spectra<QComboBox>("cbb5")->isEnabled());
    ordinate->setCurrentIndex(4);
    EXPECT_EQ(Spectra<QComboBox>("cbb5")->currentText(), "Frequency");
    EXPECT_TRUE(Spectra<QComboBox>("cbb5")->isEnabled());
    EXPECT_EQ(View()->ShownFigure().xTitle, "Frequency [HZ]");
    Spectra<QComboBox>("cbb5")->setCurrentIndex(0);
    EXPECT_EQ(View()->ShownFigure().overlay, travik::figures::Overlay::None);
    EXPECT_EQ(CurvePoints(0), 301);
}

TEST_F(SpectraFigures, CheckedRecordsShowEveryRecordWithTheirMean) {
    std::vector<std::unique_ptr<travik::TimeHistory>> records;
    records.push_back(Scaled("a.txt", 0.1));
    records.push_back(Scaled("b.txt", 0.2));
    records.push_back(Scaled("c.txt", 0.6));
    Load(std::move(records));
    SetDamping({"5", "2"});
    CheckAll();
    Spectra<QComboBox>("cbb7")->setCurrentIndex(4);  // pseudo-acceleration
    Spectra<QComboBox>("cbbShow")->setCurrentIndex(1);
    Spectra<QCheckBox>("chkLogMean")->setChecked(true);
    Analyse();
    ASSERT_TRUE(Panel()->Suite().has_value());
    const ChartFigure figure = View()->ShownFigure();
    ASSERT_EQ(figure.curves.size(), 5u);
    EXPECT_EQ(figure.curves[0].name, "a.txt");
    EXPECT_EQ(figure.curves[3].name, "Mean");
    EXPECT_EQ(figure.curves[4].name, "Log-normal mean");
    // The damping list offers the page's values in ascending order; the first entered is
    // used, not the smallest.
    QComboBox* damping = Spectra<QComboBox>("cbbShowDamping");
    ASSERT_EQ(damping->count(), 2);
    EXPECT_EQ(damping->itemText(0), "2 %");
    EXPECT_EQ(damping->currentText(), "5 %");
    EXPECT_EQ(Panel()->Suite()->dampingRatio, 0.05);
    EXPECT_EQ(figure.title, "3 checked records, damping 5%");
    // Separately: the mean of the three records' PSa at 1 s (row 50), 5 % damping.
    const QPointF at1s = figure.curves[3].points[50];
    EXPECT_NEAR(at1s.x(), 1.0, 1e-9);
    double sum = 0;
    for (int i = 0; i < 3; ++i) {
        const travik::SpectraResult r = travik::ComputeSpectra(
            form->Document().Records().At(i), travik::AnalysisSettings{}, {0.05}, {0.0, at1s.x()});
        sum += r.columns[4][0][1];
    }
    EXPECT_NEAR(at1s.y(), sum / 3, 1e-12 * at1s.y());
}

// The mean of the three records' PSa at 1 s at damping `zeta`, computed record by record.
double MeanPsaAtOneSecond(const travik::RecordList& records, double zeta) {
    double sum = 0;
    for (int i = 0; i < records.Count(); ++i) {
        sum += travik::ComputeSpectra(records.At(i), travik::AnalysisSettings{}, {zeta}, {0.0, 1.0})
                   .columns[4][0][1];
    }
    return sum / records.Count();
}

TEST_F(SpectraFigures, EveryChangeOfTheStatisticsDampingRedrawsTheCheckedRecords) {
    std::vector<std::unique_ptr<travik::TimeHistory>> records;
    records.push_back(Scaled("a.txt", 0.1));
    records.push_back(Scaled("b.txt", 0.2));
    records.push_back(Scaled("c.txt", 0.6));
    Load(std::move(records));
    SetDamping({"5", "2", "10"});
    CheckAll();
    Spectra<QComboBox>("cbb7")->setCurrentIndex(4);  // pseudo-acceleration
    Spectra<QComboBox>("cbbShow")->setCurrentIndex(1);
    Analyse();
    QComboBox* damping = Spectra<QComboBox>("cbbShowDamping");
    EXPECT_EQ(damping->currentText(), "5 %");
    const travik::RecordList& loaded = form->Document().Records();

    // 2 % chosen: the checked records at 2 %, still the suite (not the selected record).
    damping->setCurrentIndex(damping->findText("2 %"));
    ASSERT_TRUE(Panel()->Suite().has_value());
    EXPECT_EQ(Panel()->Suite()->dampingRatio, 0.02);
    ChartFigure figure = View()->ShownFigure();
    EXPECT_EQ(figure.title, "3 checked records, damping 2%");
    ASSERT_EQ(figure.curves.size(), 4u);
    EXPECT_EQ(figure.curves[3].name, "Mean");
    EXPECT_NEAR(figure.curves[3].points[50].y(), MeanPsaAtOneSecond(loaded, 0.02), 1e-9);
    EXPECT_EQ(Spectra<StringGrid>("strngrd6")->Cell(1, 0), "Pseudo-Acc.Damp.=2% Mean");

    // A target stating its damping (EN 1998-1 at 7 %) takes the statistics to it.
    travik::figures::TargetChoice choice;
    choice.source = travik::figures::TargetChoice::Source::Eurocode;
    choice.eurocode.dampingPercent = 7;
    ASSERT_TRUE(Panel()->ApplyTargetChoice(choice));
    EXPECT_EQ(damping->currentText(), "7 % (target)");
    ASSERT_TRUE(Panel()->Suite().has_value());
    EXPECT_EQ(Panel()->Suite()->dampingRatio, 0.07);
    figure = View()->ShownFigure();
    EXPECT_EQ(figure.title, "3 checked records, damping 7%");
    EXPECT_NEAR(figure.curves[3].points[50].y(), MeanPsaAtOneSecond(loaded, 0.07), 1e-9);
    EXPECT_TRUE(Spectra<QLabel>("lblTargetRatio")->text().startsWith("Mean/target"));

    // Without the target, back to the first value entered.
    Panel()->ClearTarget();
    EXPECT_EQ(damping->currentText(), "5 %");
    EXPECT_EQ(Panel()->Suite()->dampingRatio, 0.05);
    EXPECT_EQ(View()->ShownFigure().title, "3 checked records, damping 5%");
}

TEST_F(SpectraFigures, TheCheckedRecordsStatisticsAreATableThatCopiesLikeTheOthers) {
    // Three records of one shape scaled by 0.1, 0.2 and 0.6: every spectrum is the shape's
    // spectrum P times the scale, so the statistics follow from the scales by hand.
    std::vector<std::unique_ptr<travik::TimeHistory>> records;
    records.push_back(Scaled("a.txt", 0.1));
    records.push_back(Scaled("b.txt", 0.2));
    records.push_back(Scaled("c.txt", 0.6));
    Load(std::move(records));
    SetDamping({"2"});
    CheckAll();
    Spectra<QComboBox>("cbb7")->setCurrentIndex(4);  // pseudo-acceleration
    Spectra<QComboBox>("cbbShow")->setCurrentIndex(1);
    Analyse();
    ASSERT_TRUE(Panel()->Suite().has_value());
    ShowSpectraPage(6);
    EXPECT_EQ(Spectra<QTabWidget>("pgc2")->tabText(6), "Statistics");
    StringGrid* grid = Spectra<StringGrid>("strngrd6");
    grid->setFocus();
    QTest::keyClick(grid->View(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(grid->Selection(), (GridSelection{0, 0, 9, 301}));
    QTest::keyClick(grid->View(), Qt::Key_C, Qt::ControlModifier);
    const QStringList lines = platform.clipboard.split('\n');
    ASSERT_EQ(lines.size(), 303) << "header, 301 periods, and the empty text after the last LF";
    EXPECT_EQ(lines[0],
              "Period[sec]\tPseudo-Acc.Damp.=2% Mean\tPseudo-Acc.Damp.=2% Median\t"
              "Pseudo-Acc.Damp.=2% StdDev\tPseudo-Acc.Damp.=2% Mean+StdDev\t"
              "Pseudo-Acc.Damp.=2% Mean-StdDev\tPseudo-Acc.Damp.=2% LogMean\t"
              "Pseudo-Acc.Damp.=2% StdDevLn\tPseudo-Acc.Damp.=2% LogMean+StdDevLn\t"
              "Pseudo-Acc.Damp.=2% LogMean-StdDevLn");
    const QStringList at1s = lines[51].split('\t');
    ASSERT_EQ(at1s.size(), 10);
    EXPECT_EQ(at1s[0], "1.000000");
    const std::unique_ptr<travik::TimeHistory> shape = Scaled("shape.txt", 1.0);
    const double p = travik::ComputeSpectra(*shape, travik::AnalysisSettings{}, {0.02}, {0.0, 1.0})
                         .columns[4][0][1];
    const double sigma = std::sqrt((0.04 + 0.01 + 0.09) / 2);  // sample σ of the scales
    const double lnMean = (std::log(0.1) + std::log(0.2) + std::log(0.6)) / 3;
    const double sigmaLn =
        std::sqrt((std::pow(std::log(0.1) - lnMean, 2) + std::pow(std::log(0.2) - lnMean, 2) +
                   std::pow(std::log(0.6) - lnMean, 2)) /
                  2);
    const double expected[] = {0.3 * p,
                               0.2 * p,
                               sigma * p,
                               (0.3 + sigma) * p,
                               (0.3 - sigma) * p,
                               std::exp(lnMean) * p,
                               sigmaLn,
                               std::exp(lnMean + sigmaLn) * p,
                               std::exp(lnMean - sigmaLn) * p};
    for (int c = 0; c < 9; ++c) {
        EXPECT_NEAR(at1s[c + 1].toDouble(), expected[c], 1e-6) << "column " << c + 1;
    }

    // The table follows the Y axis; the period-0 row has no log-normal values.
    Spectra<QComboBox>("cbb7")->setCurrentIndex(0);
    EXPECT_EQ(grid->Cell(1, 0), "Disp.Damp.=2% Mean");
    EXPECT_TRUE(grid->Cell(6, 1).isEmpty());
    // New records forget the suite and its table.
    Records<QPushButton>("btn7")->click();
    EXPECT_TRUE(grid->Cell(1, 0).isEmpty());
}

TEST_F(SpectraFigures, ATargetIsDrawnDashedWithTheMeanToTargetRatio) {
    Load(SampleRecord());
    SetDamping({"5"});
    Analyse();
    travik::figures::TargetChoice choice;
    choice.source = travik::figures::TargetChoice::Source::Asce;
    choice.asce = {1.0, 0.6, 8.0};
    ASSERT_TRUE(Panel()->ApplyTargetChoice(choice));
    const ChartFigure figure = View()->ShownFigure();
    ASSERT_EQ(figure.curves.size(), 2u);
    EXPECT_EQ(figure.curves[1].style, Qt::DashLine);
    EXPECT_TRUE(Spectra<QLabel>("lblTargetRatio")->text().startsWith("Record/target"))
        << Spectra<QLabel>("lblTargetRatio")->text().toStdString();

    // A bad file: the reader's message naming file and line, the target as before.
    QFile bad(folder.filePath("bad-target.txt"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("0.1 0.5\n0.2 -0.6\n");
    bad.close();
    choice.source = travik::figures::TargetChoice::Source::File;
    choice.file = bad.fileName();
    EXPECT_FALSE(Panel()->ApplyTargetChoice(choice));
    ASSERT_FALSE(platform.messages.empty());
    EXPECT_EQ(platform.messages.back().text,
              "bad-target.txt, line 2: periods and spectral accelerations cannot be negative");
    EXPECT_EQ(View()->ShownFigure().curves.size(), 2u);
    Spectra<QPushButton>("btnClearTarget")->click();
    EXPECT_EQ(View()->ShownFigure().curves.size(), 1u);
}

TEST_F(SpectraFigures, NewmarkShadesTheShortPeriodsAndTheTooltipSaysWhy) {
    ChangeSettings(
        [](travik::AnalysisSettings& s) { s.method = travik::IntegrationMethod::Newmark; });
    Load(SampleRecord());
    SetDamping({"5"});
    Analyse();
    const ChartFigure figure = View()->ShownFigure();
    ASSERT_FALSE(figure.bands.empty());
    EXPECT_EQ(figure.bands[0].to, 0.2);  // 10 dt with dt = 0.02 s
    EXPECT_EQ(travik::figures::BandTooltipAt(figure, 0.1),
              "Below 0.2 s (10 dt) the record has fewer than ten samples per cycle and the "
              "Newmark integration may miss or distort the peak.");
}

// A record high-passed in the window shades the periods above 0.8 / corner: its spectrum
// there reflects the filter more than the ground.
TEST_F(SpectraFigures, AHighPassFilteredRecordShadesThePeriodsTheFilterRemoved) {
    Load(SampleRecord());
    Records<QPushButton>("btnFilter")->click();
    auto* dialog = form->findChild<FilterDialog*>();
    ASSERT_NE(dialog, nullptr);
    Child<QComboBox>(dialog, "cbbFilterBand")->setCurrentIndex(3);  // band-pass
    Child<QLineEdit>(dialog, "edtLowCorner")->setText("0.5");
    Child<QLineEdit>(dialog, "edtHighCorner")->setText("20");
    Child<QPushButton>(dialog, "btnFilterOk")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(form->Document().Records().At(0).Filter().has_value());
    SetDamping({"5"});
    Analyse();
    const ChartFigure figure = View()->ShownFigure();
    const auto band = std::find_if(figure.bands.begin(), figure.bands.end(),
                                   [](const auto& b) { return b.from == 0.8 / 0.5; });
    ASSERT_NE(band, figure.bands.end());
    EXPECT_TRUE(band->tooltip.contains(QStringLiteral("0.5 Hz"))) << band->tooltip.toStdString();

    // Without the filter the band is gone.
    Records<QPushButton>("btnFilter")->click();
    dialog = form->findChild<FilterDialog*>();
    ASSERT_NE(dialog, nullptr);
    Child<QComboBox>(dialog, "cbbFilterBand")->setCurrentIndex(0);
    Child<QPushButton>(dialog, "btnFilterOk")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Analyse();
    EXPECT_FALSE(form->Document().Spectra().highPassCornerHz.has_value());
    const ChartFigure unfiltered = View()->ShownFigure();
    EXPECT_TRUE(std::none_of(unfiltered.bands.begin(), unfiltered.bands.end(),
                             [](const auto& b) { return b.from == 0.8 / 0.5; }));
}

TEST_F(SpectraFigures, SaveChartAsWritesTheImageOrSaysWhyNot) {
    Load(SampleRecord());
    SetDamping({"5"});
    Analyse();
    Frame<QTabWidget>("pgc1")->setCurrentIndex(1);
    const QString path = folder.filePath("chart.png");
    platform.imageAnswers.push_back(
        {path, travik::figures::ImageFormat::Png, {QSize(800, 500), 100}});
    Frame<QAction>("SaveChartAs1")->trigger();
    EXPECT_EQ(platform.suggestedImageNames.value(0), "elcentro-1940-chopra-ns_RS");
    QImage saved(path);
    EXPECT_EQ(saved.size(), QSize(800, 500));

    const QString unwritable = folder.filePath("missing/chart.pdf");
    platform.imageAnswers.push_back({unwritable, travik::figures::ImageFormat::Pdf, {}});
    Frame<QAction>("SaveChartAs1")->trigger();
    ASSERT_FALSE(platform.messages.empty());
    EXPECT_EQ(platform.messages.back().kind, PlatformServices::MessageKind::Warning);
    EXPECT_TRUE(
        platform.messages.back().text.startsWith("Cannot create file \"" + unwritable + "\""))
        << platform.messages.back().text.toStdString();
    EXPECT_FALSE(QFile::exists(unwritable));
}

TEST_F(SpectraFigures, TheChartMenuCopiesAndPrintsThePicture) {
    Load(SampleRecord());
    SetDamping({"5"});
    Analyse();
    QMenu* menu = Panel()->ChartMenu();
    for (QAction* action : menu->actions()) {
        if (action->text() == "Copy Chart" || action->text() == "Print Chart…") {
            action->trigger();
        }
    }
    EXPECT_EQ(platform.clipboardImage.size(), QSize(1600, 1000));
    ASSERT_EQ(platform.printedPages.size(), 1u);
    // Something besides white paper was printed.
    const QImage& page = platform.printedPages[0];
    int inked = 0;
    for (int y = 0; y < page.height(); y += 4) {
        for (int x = 0; x < page.width(); x += 4) {
            inked += page.pixelColor(x, y) != QColor(Qt::white) ? 1 : 0;
        }
    }
    EXPECT_GT(inked, 200);
}

TEST_F(SpectraFigures, TheRecordsPageSavesItsThreeChartsStacked) {
    Load(SampleRecord());
    Records<QListWidget>("lst1")->setCurrentRow(0);
    Frame<QTabWidget>("pgc1")->setCurrentIndex(0);
    const QString path = folder.filePath("records.png");
    platform.imageAnswers.push_back(
        {path, travik::figures::ImageFormat::Png, {QSize(600, 900), 96}});
    Frame<QAction>("SaveChartAs1")->trigger();
    EXPECT_EQ(platform.suggestedImageNames.value(0), "elcentro-1940-chopra-ns_TH");
    EXPECT_EQ(QImage(path).size(), QSize(600, 900));
}

TEST_F(SpectraFigures, AccuracyColumnsFollowThePeriodColumnOnlyWhenTicked) {
    Load(SampleRecord());
    SetDamping({"5"});
    CheckAll();
    platform.folderAnswers.push_back(folder.path());
    Spectra<QPushButton>("btn10")->click();
    QFile plain(folder.filePath("elcentro-1940-chopra-ns_RS.csv"));
    ASSERT_TRUE(plain.open(QIODevice::ReadOnly));
    const QByteArray plainText = plain.readAll();
    plain.close();
    EXPECT_TRUE(plainText.contains("\r\nPeriod[sec],Disp.Damp.=5%,"));

    Spectra<QCheckBox>("chkAccuracyColumns")->setChecked(true);
    platform.folderAnswers.push_back(folder.path());
    Spectra<QPushButton>("btn10")->click();
    QFile withColumns(folder.filePath("elcentro-1940-chopra-ns_RS.csv"));
    ASSERT_TRUE(withColumns.open(QIODevice::ReadOnly));
    const QByteArray text = withColumns.readAll();
    EXPECT_TRUE(text.contains("\r\nPeriod[sec],n,dt/T,Disp.Damp.=5%,"));
    // 0.02 s: n = trunc(0.02 / (0.02 * 0.02) + 1) = 51, dt/T = 1.
    EXPECT_TRUE(text.contains("\r\n0.020000,51,1.000000,")) << text.left(1200).toStdString();
}

TEST_F(SpectraFigures, TheTablesShowTheSubStepCountWhenAccuracyColumnsAreTicked) {
    Load(SampleRecord());
    SetDamping({"5"});
    Analyse();
    StringGrid* grid = Spectra<StringGrid>("strngrd1");
    EXPECT_EQ(grid->Cell(1, 0), "Damp.=5%");
    Spectra<QCheckBox>("chkAccuracyColumns")->setChecked(true);
    ASSERT_EQ(grid->ColumnCount(), 3);
    EXPECT_EQ(grid->Cell(0, 0), "Period[sec]");
    EXPECT_EQ(grid->Cell(1, 0), "n");
    EXPECT_EQ(grid->Cell(2, 0), "Damp.=5%");
    EXPECT_EQ(grid->Cell(1, 1), "");     // the period 0 is not integrated
    EXPECT_EQ(grid->Cell(1, 2), "51");   // 0.02 s: trunc(0.02 / (0.02 * 0.02) + 1)
    EXPECT_EQ(grid->Cell(1, 27), "2");   // 0.52 s: trunc(0.02 / 0.0104 + 1)
    EXPECT_EQ(grid->Cell(1, 301), "1");  // 6 s
    Spectra<QCheckBox>("chkAccuracyColumns")->setChecked(false);
    EXPECT_EQ(grid->ColumnCount(), 2);
    EXPECT_EQ(grid->Cell(1, 0), "Damp.=5%");
}

TEST_F(SpectraFigures, ThePagesOwnChartZoomsByBoxPansAndResetsOnDoubleClick) {
    Load(SampleRecord());
    SetDamping({"5"});
    ShowSpectraPage();
    Analyse();
    QWidget* chart = View()->viewport();
    const QPoint centre = chart->rect().center();
    const QPoint corner = centre + QPoint(80, 60);
    // A left drag over the page's chart draws a zoom box.
    QTest::mousePress(chart, Qt::LeftButton, {}, centre);
    QTest::mouseMove(chart, centre + QPoint(40, 30));
    QTest::mouseMove(chart, corner);
    QTest::mouseRelease(chart, Qt::LeftButton, {}, corner);
    QApplication::processEvents();
    ChartFigure whole = View()->ShownFigure();
    whole.view.reset();
    const QRectF fitted = travik::figures::FittedRange(whole);
    const QRectF boxed = View()->ShownRange();
    EXPECT_LT(boxed.width(), 0.5 * fitted.width());
    EXPECT_LT(boxed.height(), 0.5 * fitted.height());

    // A right drag pans: the same extent, moved.
    QWidget* view = chart;
    QTest::mousePress(view, Qt::RightButton, {}, centre);
    QTest::mouseMove(view, centre + QPoint(30, 0));
    QTest::mouseMove(view, centre + QPoint(60, 0));
    QTest::mouseRelease(view, Qt::RightButton, {}, centre + QPoint(60, 0));
    const QRectF panned = View()->ShownRange();
    EXPECT_NEAR(panned.width(), boxed.width(), 1e-9 * boxed.width());
    EXPECT_LT(panned.left(), boxed.left());

    // A double-click shows everything again.
    QTest::mouseDClick(view, Qt::LeftButton, {}, centre);
    QApplication::processEvents();
    EXPECT_EQ(View()->ShownRange(), fitted);

    // A right click without a drag on the page's chart opens the chart menu.
    QTest::mousePress(chart, Qt::RightButton, {}, centre);
    QTest::mouseRelease(chart, Qt::RightButton, {}, centre);
    QApplication::processEvents();
    EXPECT_TRUE(Panel()->ChartMenu()->isVisible());
    Panel()->ChartMenu()->hide();
}

TEST_F(SpectraFigures, TheReadoutFollowsThePointerOnZoomedLogAxes) {
    Load(SampleRecord());
    SetDamping({"5"});
    ShowSpectraPage();
    Analyse();
    Spectra<QCheckBox>("chkLogX")->setChecked(true);
    QApplication::processEvents();
    View()->ZoomAround(View()->viewport()->rect().center(), 0.5);
    QApplication::processEvents();
    // A point in the middle of the zoomed range: the geometric middle on the log axis.
    const QRectF range = View()->ShownRange();
    const QPointF middle(std::sqrt(range.left() * range.right()),
                         (range.top() + range.bottom()) / 2);
    QChart* chart = View()->chart();
    const QPointF local = chart->mapToPosition(middle, chart->series().back());
    const QPoint pixel = View()->mapFromScene(chart->mapToScene(local));
    // As the view reports a pointer movement over its viewport.
    emit View()->PointerMoved(pixel);
    const QString text = Spectra<QLabel>("lbl2")->text();
    ASSERT_TRUE(text.startsWith("X : ")) << text.toStdString();
    const double x = text.section(' ', 2, 2).toDouble();
    EXPECT_NEAR(x, middle.x(), 0.01 * middle.x()) << text.toStdString();
    EXPECT_LT(range.right() / range.left(), 100.0) << "zoomed in from three decades";
}

}  // namespace
