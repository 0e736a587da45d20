#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTabWidget>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "RecordsFixture.h"
#include "core/records/BaselineCorrection.h"
#include "ui/figures/FigureExport.h"
#include "ui/measures/MeasuresPage.h"

namespace {

using RecordsPage = RecordsFixture;

const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);
const QColor kYellow(255, 255, 0);

void SetChecked(QListWidget* list, int row, bool checked) {
    list->item(row)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

std::vector<bool> Checks(const QListWidget* list) {
    std::vector<bool> checks;
    for (int i = 0; i < list->count(); ++i) {
        checks.push_back(list->item(i)->checkState() == Qt::Checked);
    }
    return checks;
}

TEST_F(RecordsPage, ThreeFilesAreListedInDialogOrderWithTheFirstSelectedAndDrawn) {
    const QString c = WriteSamples("c.txt", {0.1, 0.2, 0.3, 0.4});
    const QString a = WriteSamples("a.txt", {0.5, 0.6});
    const QString b = WriteSamples("b.dat", {0.7, 0.8, 0.9});
    Import({c, a, b});

    const QStringList names = {"c.txt", "a.txt", "b.dat"};
    ASSERT_EQ(Records<QListWidget>("lst1")->count(), 3);
    ASSERT_EQ(Spectra<QListWidget>("lst3")->count(), 3);
    ASSERT_EQ(Spectra<QComboBox>("cbb4")->count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Records<QListWidget>("lst1")->item(i)->text(), names.at(i));
        EXPECT_EQ(Spectra<QListWidget>("lst3")->item(i)->text(), names.at(i));
        EXPECT_EQ(Spectra<QComboBox>("cbb4")->itemText(i), names.at(i));
        EXPECT_EQ(Records<QListWidget>("lst1")->item(i)->checkState(), Qt::Unchecked);
        EXPECT_EQ(Spectra<QListWidget>("lst3")->item(i)->checkState(), Qt::Unchecked);
    }
    EXPECT_EQ(Records<QListWidget>("lst1")->currentRow(), 0);
    EXPECT_EQ(Spectra<QComboBox>("cbb4")->currentIndex(), 0);
    EXPECT_EQ(Records<QLineEdit>("edt1")->text(), "3");
    EXPECT_EQ(Spectra<QLineEdit>("edt14")->text(), "3");
    EXPECT_EQ(Records<QLineEdit>("edt3")->text(), "0");
    EXPECT_EQ(Spectra<QLineEdit>("edt15")->text(), "0");

    // The first record, four samples 0.01 s apart, on all three charts; nothing corrected.
    for (const RecordChart& chart : {Chart("cht1"), Chart("cht2"), Chart("cht3")}) {
        ASSERT_EQ(chart.PointCount(0), 4);
        EXPECT_EQ(chart.PointCount(1), 0);
        EXPECT_EQ(chart.PointCount(2), 3);
        EXPECT_DOUBLE_EQ(chart.Point(0, 3).x(), 0.03);
    }
    EXPECT_DOUBLE_EQ(Chart("cht1").Point(0, 2).y(), 0.3);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(RecordsPage, MarksShowTheFirstSampleInRedTheMaximumInGreenAndTheMinimumInYellow) {
    Import({WriteSamples("marks.txt", {0.1, 0.3, -0.2, 0.3, -0.2})}, QStringLiteral("0.02"));
    const RecordChart chart = Chart("cht1");
    ASSERT_EQ(chart.PointCount(2), 3);
    EXPECT_EQ(chart.Point(2, 0), QPointF(0.0, 0.1));
    EXPECT_EQ(chart.PointColor(0), kRed);
    EXPECT_DOUBLE_EQ(chart.Point(2, 1).x(), 0.02);
    EXPECT_DOUBLE_EQ(chart.Point(2, 1).y(), 0.3);
    EXPECT_EQ(chart.PointColor(1), kGreen);
    EXPECT_DOUBLE_EQ(chart.Point(2, 2).x(), 0.04);
    EXPECT_DOUBLE_EQ(chart.Point(2, 2).y(), -0.2);
    EXPECT_EQ(chart.PointColor(2), kYellow);

    // Velocity by the trapezoidal rule with g = 980: 0, 3.92, 4.9, 5.88, 6.86 cm/sec, so its
    // minimum is the first sample and its maximum the last one.
    const RecordChart velocity = Chart("cht2");
    EXPECT_EQ(velocity.Point(2, 0), QPointF(0.0, 0.0));
    EXPECT_NEAR(velocity.Point(2, 1).x(), 0.08, 1e-12);
    EXPECT_NEAR(velocity.Point(2, 1).y(), 6.86, 1e-9);
    EXPECT_EQ(velocity.Point(2, 2), QPointF(0.0, 0.0));
    // The marks are the last curves, drawn over both lines.
    const std::vector<travik::figures::Curve>& curves = chart.Figure().curves;
    ASSERT_EQ(curves.size(), 4u);
    EXPECT_EQ(curves[0].name, "Raw");
    EXPECT_EQ(curves[0].color, QColor(255, 128, 255));
    EXPECT_EQ(curves[0].markerSize, 0);
    for (std::size_t k = 1; k < 4; ++k) {
        EXPECT_GT(curves[k].markerSize, 0);
    }
    // Every axis text of the records page, on screen as in its saved figure.
    EXPECT_EQ(chart.Figure().yTitle, "Acceleration[g]");
    EXPECT_EQ(velocity.Figure().yTitle, "Velocity [cm/sec]");
    EXPECT_EQ(Chart("cht3").Figure().yTitle, "Displacement [cm]");
    EXPECT_EQ(Chart("cht3").Figure().xTitle, "Time [sec]");
}

TEST_F(RecordsPage, SelectingAnotherRecordRedrawsItAlone) {
    Import({WriteSamples("one.txt", {0.1, 0.2}), WriteSamples("two.txt", {0.5, -0.5, 0.25})});
    Records<QListWidget>("lst1")->setCurrentRow(1);
    EXPECT_EQ(Chart("cht1").PointCount(0), 3);
    EXPECT_EQ(Chart("cht1").PointCount(2), 3);
    EXPECT_DOUBLE_EQ(Chart("cht1").Point(0, 1).y(), -0.5);
    // Selecting does not check, and the spectra page's selection stays.
    EXPECT_EQ(Records<QLineEdit>("edt3")->text(), "0");
    EXPECT_EQ(Spectra<QComboBox>("cbb4")->currentIndex(), 0);
}

TEST_F(RecordsPage, ClearDataEmptiesListsCountersChartsAndResultsWithoutAMessage) {
    Records<QPushButton>("btn7")->click();
    EXPECT_TRUE(platform.messages.empty());

    Import({WriteSamples("a.txt", {0.1, 0.2}), WriteSamples("b.txt", {0.3, 0.4})});
    SetChecked(Records<QListWidget>("lst1"), 0, true);
    Spectra<QPushButton>("btn11")->click();
    ASSERT_FALSE(form->Document().Spectra().Columns(travik::SpectrumKind::Displacement).empty());
    Records<QPushButton>("btn7")->click();
    EXPECT_TRUE(form->Document().Records().IsEmpty());
    EXPECT_EQ(Records<QListWidget>("lst1")->count(), 0);
    EXPECT_EQ(Spectra<QListWidget>("lst3")->count(), 0);
    EXPECT_EQ(Spectra<QComboBox>("cbb4")->count(), 0);
    for (QLineEdit* counter : {Records<QLineEdit>("edt1"), Records<QLineEdit>("edt3"),
                               Spectra<QLineEdit>("edt14"), Spectra<QLineEdit>("edt15")}) {
        EXPECT_EQ(counter->text(), "0");
    }
    for (const RecordChart& chart : {Chart("cht1"), Chart("cht2"), Chart("cht3")}) {
        for (int series = 0; series < 3; ++series) {
            EXPECT_EQ(chart.PointCount(series), 0);
        }
    }
    EXPECT_TRUE(form->Document().Spectra().Columns(travik::SpectrumKind::Displacement).empty());
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(RecordsPage, CheckMarksAreOneSelectionThatEveryPageShowsAndChanges) {
    Import({WriteSamples("a.txt", {0.1}), WriteSamples("b.txt", {0.2}),
            WriteSamples("c.txt", {0.3}), WriteSamples("d.txt", {0.4})});
    QListWidget* measures = Child<QListWidget>(form->findChild<MeasuresPage*>(), "lstMeasures");
    QLineEdit* measuresCount =
        Child<QLineEdit>(form->findChild<MeasuresPage*>(), "edtMeasuresChecked");
    const auto expectEverywhere = [&](const std::vector<bool>& checks, const QString& count) {
        EXPECT_EQ(Checks(Records<QListWidget>("lst1")), checks);
        EXPECT_EQ(Checks(Spectra<QListWidget>("lst3")), checks);
        EXPECT_EQ(Checks(measures), checks);
        EXPECT_EQ(Records<QLineEdit>("edt3")->text(), count);
        EXPECT_EQ(Spectra<QLineEdit>("edt15")->text(), count);
        EXPECT_EQ(measuresCount->text(), count);
    };
    SetChecked(Records<QListWidget>("lst1"), 0, true);
    SetChecked(Records<QListWidget>("lst1"), 2, true);
    expectEverywhere({true, false, true, false}, "2");

    Frame<QAction>("InvertCheck2")->trigger();
    expectEverywhere({false, true, false, true}, "2");
    SetChecked(Records<QListWidget>("lst1"), 0, true);
    expectEverywhere({true, true, false, true}, "3");

    // The menu and the boxes of another page change the same selection.
    Frame<QTabWidget>("pgc1")->setCurrentIndex(1);
    SetChecked(Spectra<QListWidget>("lst3"), 1, false);
    expectEverywhere({true, false, false, true}, "2");
    Frame<QAction>("CheckAll1")->trigger();
    expectEverywhere({true, true, true, true}, "4");
    Frame<QTabWidget>("pgc1")->setCurrentIndex(2);
    SetChecked(measures, 3, false);
    expectEverywhere({true, true, true, false}, "3");
    EXPECT_EQ(form->Document().Checks().CheckedIndexes(), (std::vector<int>{0, 1, 2}));

    Frame<QTabWidget>("pgc1")->setCurrentIndex(0);
    Frame<QAction>("InvertCheck1")->trigger();
    expectEverywhere(std::vector<bool>(4, false), "0");
    Frame<QAction>("CheckAll1")->trigger();
    expectEverywhere(std::vector<bool>(4, true), "4");
    EXPECT_EQ(Records<QListWidget>("lst1")->currentRow(), 0);
}

TEST_F(RecordsPage, RecordsAddedComeUncheckedBesideTheCheckedOnesAndNewOnesCheckNothing) {
    Import({WriteSamples("a.txt", {0.1}), WriteSamples("b.txt", {0.2})});
    SetChecked(Records<QListWidget>("lst1"), 1, true);
    Import({WriteSamples("c.txt", {0.3})},
           [](TForm2& window) { Child<QCheckBox>(&window, "chk2")->setChecked(true); });
    EXPECT_EQ(Checks(Spectra<QListWidget>("lst3")), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(Spectra<QLineEdit>("edt15")->text(), "1");
    Import({WriteSamples("d.txt", {0.4}), WriteSamples("e.txt", {0.5})});
    EXPECT_EQ(Checks(Records<QListWidget>("lst1")), (std::vector<bool>{false, false}));
    EXPECT_EQ(Records<QLineEdit>("edt3")->text(), "0");
}

TEST_F(RecordsPage, CorrectionDrawsGreyLinesThatChangeAndDisappearWithTheChosenFit) {
    Import({WriteSamples("drift.txt", {0.01, 0.03, 0.05, 0.04, 0.08, 0.06, 0.09, 0.11}),
            WriteSamples("other.txt", {0.2, -0.1, 0.05})});
    const travik::TimeHistory& record = form->Document().Records().At(0);

    Records<QRadioButton>("rb1")->setChecked(true);
    Records<QPushButton>("btn4")->click();
    ASSERT_TRUE(record.IsCorrected());
    EXPECT_EQ(record.CorrectionType(), travik::BaselineCorrectionType::Linear);
    for (const RecordChart& chart : {Chart("cht1"), Chart("cht2"), Chart("cht3")}) {
        EXPECT_EQ(chart.PointCount(0), 8);
        EXPECT_EQ(chart.PointCount(1), 8);
        EXPECT_EQ(chart.PointCount(2), 3);
    }
    EXPECT_DOUBLE_EQ(Chart("cht1").Point(1, 5).y(), record.CorrectedAcceleration()[5]);
    EXPECT_DOUBLE_EQ(Chart("cht3").Point(1, 7).y(), record.CorrectedDisplacement()[7]);

    Records<QRadioButton>("rb2")->setChecked(true);
    Records<QPushButton>("btn4")->click();
    EXPECT_EQ(record.CorrectionType(), travik::BaselineCorrectionType::Parabolic);
    EXPECT_DOUBLE_EQ(Chart("cht1").Point(1, 5).y(), record.CorrectedAcceleration()[5]);

    // Another record shows no grey lines until it is corrected itself; the choice stays.
    Records<QListWidget>("lst1")->setCurrentRow(1);
    EXPECT_EQ(Chart("cht1").PointCount(1), 0);
    EXPECT_TRUE(Records<QRadioButton>("rb2")->isChecked());
    EXPECT_FALSE(form->Document().Records().At(1).IsCorrected());

    Records<QListWidget>("lst1")->setCurrentRow(0);
    EXPECT_EQ(Chart("cht1").PointCount(1), 8);
    Records<QRadioButton>("rb3")->setChecked(true);
    Records<QPushButton>("btn4")->click();
    EXPECT_FALSE(record.IsCorrected());
    for (const RecordChart& chart : {Chart("cht1"), Chart("cht2"), Chart("cht3")}) {
        EXPECT_EQ(chart.PointCount(0), 8);
        EXPECT_EQ(chart.PointCount(1), 0);
        EXPECT_EQ(chart.PointCount(2), 3);
    }
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(RecordsPage, NoCorrectionOnAnUncorrectedRecordOnlyRedraws) {
    Import({WriteSamples("a.txt", {0.1, 0.3, -0.2})});
    Records<QRadioButton>("rb3")->setChecked(true);
    Records<QPushButton>("btn4")->click();
    EXPECT_FALSE(form->Document().Records().At(0).IsCorrected());
    EXPECT_EQ(Chart("cht1").PointCount(0), 3);
    EXPECT_EQ(Chart("cht1").PointCount(1), 0);
    EXPECT_EQ(Chart("cht1").PointCount(2), 3);
}

TEST_F(RecordsPage, AOneSampleRecordCannotBeCorrected) {
    Import({WriteSamples("single.txt", {0.25})});
    Records<QPushButton>("btn4")->click();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages.front().kind, PlatformServices::MessageKind::Warning);
    EXPECT_EQ(platform.messages.front().text, "Base Line Correction Failed!");
    EXPECT_FALSE(form->Document().Records().At(0).IsCorrected());
    EXPECT_EQ(Chart("cht1").PointCount(0), 1);
    EXPECT_EQ(Chart("cht1").PointCount(1), 0);
}

TEST_F(RecordsPage, ActionsWithoutRecordsOrSelectionDoNothing) {
    Records<QPushButton>("btn4")->click();
    RunHandler(form->findChild<::RecordsPage*>(), "lst1Click");
    Frame<QAction>("CheckAll1")->trigger();
    Frame<QAction>("InvertCheck2")->trigger();
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(Records<QLineEdit>("edt3")->text(), "0");
    EXPECT_EQ(Chart("cht1").PointCount(0), 0);
}

TEST_F(RecordsPage, SaveChartAsWritesTheThreeChartsAsTheCommandLineDrawsThem) {
    Import({WriteSamples("marks.txt", {0.1, 0.3, -0.2, 0.3, -0.2})}, QStringLiteral("0.02"));
    Records<QRadioButton>("rb2")->setChecked(true);
    Records<QPushButton>("btn4")->click();
    QTemporaryDir out;
    const QString path = QDir(out.path()).filePath("marks.svg");
    const travik::figures::ImageOptions options{QSize(800, 900), 120};
    platform.imageAnswers.push_back({path, travik::figures::ImageFormat::Svg, options});
    Frame<QAction>("SaveChartAs1")->trigger();
    EXPECT_EQ(platform.suggestedImageNames.value(0), "marks_TH");
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray svg = saved.readAll();
    for (const char* text :
         {"Acceleration[g]", "Velocity [cm/sec]", "Displacement [cm]", "Time [sec]", "Corrected"}) {
        EXPECT_TRUE(svg.contains(text)) << text;
    }
    // The very picture the command line's record plot draws of the same record.
    const std::array<travik::figures::ChartFigure, 3> charts =
        travik::figures::TimeHistoryCharts(form->Document().Records().At(0), 800);
    EXPECT_EQ(svg, travik::figures::RenderFile({charts.begin(), charts.end()},
                                               travik::figures::ImageFormat::Svg, options));
}

TEST_F(RecordsPage, LongRecordNamesCanBeReadInFull) {
    const QString name = QStringLiteral("peer-chinohills-rsn8883-CE13849-090-a-long-name.txt");
    Import({WriteSamples(name, {0.1, 0.2})});
    QListWidget* list = Records<QListWidget>("lst1");
    EXPECT_EQ(list->item(0)->toolTip(), name);
    EXPECT_EQ(Spectra<QListWidget>("lst3")->item(0)->toolTip(), name);
    QComboBox* selector = Spectra<QComboBox>("cbb4");
    EXPECT_GE(selector->view()->minimumWidth(),
              selector->view()->fontMetrics().horizontalAdvance(name));

    // The left column can be widened with the splitter beside it.
    form->show();
    QSplitter* splitter = Records<QSplitter>("splLeft");
    const int before = Records<QWidget>("grp1")->width();
    splitter->setSizes({before + 150, splitter->sizes().at(1) - 150});
    EXPECT_GT(Records<QWidget>("grp1")->width(), before + 100);
    EXPECT_NE(Spectra<QSplitter>("splLeft"), nullptr);
}

}  // namespace
