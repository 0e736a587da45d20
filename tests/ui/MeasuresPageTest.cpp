// The "Ground Motion Parameters" page and the filter of the records page.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QValueAxis>
#include <cmath>
#include <numbers>

#include "RecordsFixture.h"
#include "core/text/NumberFormat.h"
#include "ui/figures/FigureView.h"
#include "ui/measures/MeasuresPage.h"
#include "ui/records/FilterDialog.h"

namespace {

class MeasuresPageTest : public RecordsFixture {
  protected:
    template <class T = QWidget>
    T* Measures(const char* name) const {
        return Child<T>(form->findChild<MeasuresPage*>(), name);
    }

    void ShowMeasuresPage() {
        form->show();
        QApplication::setActiveWindow(form.get());
        Frame<QTabWidget>("pgc1")->setCurrentIndex(2);
        QApplication::processEvents();
    }

    // 25 periods of the triangle wave 0, 0.25, 0.5, 0.25, 0, -0.25, -0.5, -0.25 g at 0.01 s.
    QString Triangle(const QString& name, int samples = 200) {
        const double wave[] = {0.0, 0.25, 0.5, 0.25, 0.0, -0.25, -0.5, -0.25};
        std::vector<double> values;
        for (int i = 0; i < samples; ++i) {
            values.push_back(wave[i % 8]);
        }
        return WriteSamples(name, values);
    }

    // Ten seconds of a drift and a 3 Hz wave.
    QString Wave(const QString& name) {
        std::vector<double> values;
        for (int i = 0; i < 1000; ++i) {
            const double t = i * 0.01;
            values.push_back(0.001 * t + 0.1 * std::sin(2 * std::numbers::pi * 3 * t));
        }
        return WriteSamples(name, values);
    }

    // The row of the measures table holding `name`.
    int RowOf(const char* name) const {
        const StringGrid* grid = Measures<StringGrid>("grdMeasures");
        for (int row = 1; row < grid->RowCount(); ++row) {
            if (grid->Cell(0, row) == QLatin1String(name)) {
                return row;
            }
        }
        ADD_FAILURE() << "no row " << name;
        return 0;
    }

    FilterDialog* OpenFilterDialog() {
        Records<QPushButton>("btnFilter")->click();
        return form->findChild<FilterDialog*>();
    }
};

TEST_F(MeasuresPageTest, TableShowsEveryMeasureWithValueUnitAndReason) {
    Import({Triangle("tri.txt", 96)});  // 0.95 s: no one-second window
    ShowMeasuresPage();
    const StringGrid* grid = Measures<StringGrid>("grdMeasures");
    ASSERT_EQ(grid->RowCount(), 25);
    EXPECT_EQ(grid->Cell(0, 0), "Measure");
    EXPECT_EQ(grid->Cell(0, 1), "PGA");
    EXPECT_EQ(grid->Cell(1, 1), "0.5");
    EXPECT_EQ(grid->Cell(2, 1), "g");
    EXPECT_EQ(grid->Cell(1, RowOf("Time of PGA")), "0.02");
    // Trapezoidal integral of |a|: 2 * 0.01 g*s per period, 95 steps = 11 periods + 7 steps.
    EXPECT_TRUE(grid->Cell(1, RowOf("CAV")).startsWith("0.23875") ||
                grid->Cell(1, RowOf("CAV")).startsWith("0.238749"));
    const int standardised = RowOf("Standardised CAV");
    EXPECT_EQ(grid->Cell(1, standardised), QString::fromUtf8("\u2014"));
    EXPECT_EQ(grid->Cell(3, standardised), "the record is shorter than one second (its window)");
    EXPECT_EQ(grid->Cell(2, RowOf("Housner SI")), "cm");
}

TEST_F(MeasuresPageTest, NumbersFollowTheUsersDecimalSeparator) {
    Import({Triangle("a.txt"), Triangle("b.txt")});
    ShowMeasuresPage();
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Measures<QListWidget>("lstMeasures")->setCurrentRow(1);
    EXPECT_EQ(Measures<StringGrid>("grdMeasures")->Cell(1, 1), "0,5");
    EXPECT_EQ(Measures<StringGrid>("grdMeasures")->Cell(1, RowOf("Time of PGA")), "0,02");
}

TEST_F(MeasuresPageTest, HusidCurveCarriesTheFiveSeventyFiveAndNinetyFivePercentMarks) {
    Import({Triangle("tri.txt")});
    ShowMeasuresPage();
    const travik::figures::ChartFigure husid =
        Measures<travik::figures::FigureView>("chtHusid")->ShownFigure();
    ASSERT_EQ(husid.curves.size(), 2u);
    const QList<QPointF>& curve = husid.curves[0].points;
    const QList<QPointF>& marks = husid.curves[1].points;
    ASSERT_EQ(curve.size(), 200);
    EXPECT_DOUBLE_EQ(curve[0].y(), 0.0);
    EXPECT_DOUBLE_EQ(curve[199].y(), 100.0);
    EXPECT_DOUBLE_EQ(curve[199].x(), 1.99);
    ASSERT_EQ(marks.size(), 3);
    EXPECT_GT(husid.curves[1].markerSize, 0.0);
    EXPECT_DOUBLE_EQ(marks[0].y(), 5.0);
    EXPECT_DOUBLE_EQ(marks[1].y(), 75.0);
    EXPECT_DOUBLE_EQ(marks[2].y(), 95.0);
    EXPECT_EQ(husid.xTitle, "Time [sec]");
    EXPECT_EQ(husid.yTitle, "Husid [%]");
    const StringGrid* grid = Measures<StringGrid>("grdMeasures");
    EXPECT_EQ(QString::fromStdString(travik::FormatShown(marks[2].x())),
              grid->Cell(1, RowOf("D5-95 end")));
}

TEST_F(MeasuresPageTest, FourierSpectrumIsDrawnRawAndSmoothedOnLogLogAxes) {
    Import({Triangle("tri.txt")});
    ShowMeasuresPage();
    auto* view = Measures<travik::figures::FigureView>("chtFourier");
    const travik::figures::ChartFigure fourier = view->ShownFigure();
    EXPECT_EQ(fourier.xScale, travik::figures::AxisScale::Log);
    EXPECT_EQ(fourier.yScale, travik::figures::AxisScale::Log);
    ASSERT_EQ(fourier.curves.size(), 2u);
    const QList<QPointF>& raw = fourier.curves[0].points;
    ASSERT_EQ(raw.size(), 128);  // 200 samples padded to 256
    ASSERT_EQ(fourier.curves[1].points.size(), 128);
    EXPECT_DOUBLE_EQ(raw[0].x(), 1.0 / 2.56);
    EXPECT_DOUBLE_EQ(raw[127].x(), 50.0);
    EXPECT_EQ(fourier.curves[0].name, "Fourier amplitude");
    EXPECT_EQ(fourier.curves[1].name, "Konno-Ohmachi, b = 40");
    EXPECT_EQ(fourier.xTitle, "Frequency [Hz]");
    EXPECT_EQ(fourier.yTitle, "Fourier Amplitude [cm/sec]");
    // Whole decades around the shown points: 0.1 to 100 Hz.
    EXPECT_DOUBLE_EQ(view->ShownRange().left(), 0.1);
    EXPECT_DOUBLE_EQ(view->ShownRange().right(), 100.0);
}

TEST_F(MeasuresPageTest, ValuesShowSixSignificantDigitsInColumnsWideEnoughForEveryText) {
    Import({Wave("w.txt")});
    ShowMeasuresPage();
    auto* grid = Measures<StringGrid>("grdMeasures");
    const QFontMetrics metrics(grid->font());
    for (int row = 1; row < grid->RowCount(); ++row) {
        const QString value = grid->Cell(1, row);
        int digits = 0;
        for (const QChar c : value.left(value.indexOf(QLatin1Char('E')))) {
            digits += c.isDigit() ? 1 : 0;
        }
        // Leading zeros of a small fixed number ("0.000123457") are no significant digits.
        EXPECT_LE(digits, value.startsWith(QLatin1String("0.0")) ? 10 : 7)
            << grid->Cell(0, row).toStdString() << " " << value.toStdString();
    }
    // The checked records' table, its headers measure names with units, too.
    Measures<QListWidget>("lstMeasures")->item(0)->setCheckState(Qt::Checked);
    for (StringGrid* table : {grid, Measures<StringGrid>("grdMeasuresChecked")}) {
        ASSERT_GE(table->RowCount(), 2);
        for (int column = 0; column < table->ColumnCount(); ++column) {
            for (int row = 0; row < table->RowCount(); ++row) {
                EXPECT_GE(table->ColumnWidth(column),
                          metrics.horizontalAdvance(table->Cell(column, row)))
                    << table->Cell(column, row).toStdString();
            }
        }
    }
}

TEST_F(MeasuresPageTest, SaveChartAsWritesThisPagesHusidAndFourierCharts) {
    Import({Triangle("tri.txt"), Wave("w.txt")});
    ShowMeasuresPage();
    Measures<QListWidget>("lstMeasures")->setCurrentRow(1);
    QTemporaryDir out;
    const QString path = QDir(out.path()).filePath("measures.svg");
    platform.imageAnswers.push_back(
        {path, travik::figures::ImageFormat::Svg, {QSize(1600, 1200), 96}});
    Frame<QAction>("SaveChartAs1")->trigger();
    EXPECT_EQ(platform.suggestedImageNames.value(0), "w_GM");
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray svg = saved.readAll();
    // The measures page's two charts, not the records page's three.
    EXPECT_TRUE(svg.contains("Husid [%]"));
    EXPECT_TRUE(svg.contains("Fourier Amplitude [cm/sec]"));
    EXPECT_FALSE(svg.contains("Displacement [cm]"));
}

TEST_F(MeasuresPageTest, CheckedRecordsSideBySideCopyIntoASpreadsheetInOneGo) {
    Import({Triangle("a.txt"), Triangle("b.txt", 100), Wave("c.txt")});
    ShowMeasuresPage();
    auto* list = Measures<QListWidget>("lstMeasures");
    list->item(0)->setCheckState(Qt::Checked);
    list->item(2)->setCheckState(Qt::Checked);
    EXPECT_EQ(Measures<QLineEdit>("edtMeasuresChecked")->text(), "2");
    auto* grid = Measures<StringGrid>("grdMeasuresChecked");
    ASSERT_EQ(grid->RowCount(), 3);
    ASSERT_EQ(grid->ColumnCount(), 25);
    EXPECT_EQ(grid->Cell(0, 1), "a.txt");
    EXPECT_EQ(grid->Cell(0, 2), "c.txt");
    EXPECT_EQ(grid->Cell(1, 0), "PGA [g]");
    EXPECT_EQ(grid->Cell(1, 1), "0.5");

    Measures<QTabWidget>("pgcMeasures")->setCurrentIndex(1);
    QApplication::processEvents();
    grid->setFocus();
    ASSERT_TRUE(grid->HasFocus());
    QTest::keyClick(grid->View(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(grid->View(), Qt::Key_C, Qt::ControlModifier);
    const QStringList lines = platform.clipboard.split('\n');
    ASSERT_EQ(lines.size(), 4);  // three rows, each ended by a line feed
    EXPECT_TRUE(lines[0].startsWith("Record\tPGA [g]\tTime of PGA [s]\t"));
    EXPECT_EQ(lines[1].split('\t').size(), 25);
    EXPECT_TRUE(lines[1].startsWith("a.txt\t0.5\t0.02\t"));
    EXPECT_TRUE(lines[2].startsWith("c.txt\t"));
}

TEST_F(MeasuresPageTest, ExportWritesTheMeasuresAndFourierReportsOfTheCheckedRecords) {
    Import({Triangle("a.txt"), Triangle("b.txt")});
    ShowMeasuresPage();
    Measures<QListWidget>("lstMeasures")->item(1)->setCheckState(Qt::Checked);
    QTemporaryDir out;
    platform.folderAnswers.push_back(out.path());
    Measures<QPushButton>("btnMeasuresExport")->click();
    EXPECT_EQ(MessageTexts(), std::vector<QString>{"Done!"});
    EXPECT_TRUE(QFile::exists(QDir(out.path()).filePath("b_GM.csv")));
    EXPECT_TRUE(QFile::exists(QDir(out.path()).filePath("b_FS.csv")));
    EXPECT_FALSE(QFile::exists(QDir(out.path()).filePath("a_GM.csv")));
    QFile report(QDir(out.path()).filePath("b_GM.csv"));
    ASSERT_TRUE(report.open(QIODevice::ReadOnly));
    EXPECT_TRUE(report.readAll().contains("\r\nPGA,0.5,g\r\n"));
}

TEST_F(MeasuresPageTest, FilterDialogPreviewsTheGainAndRefusesACornerAtNyquist) {
    Import({Wave("w.txt")});
    FilterDialog* dialog = OpenFilterDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Child<QComboBox>(dialog, "cbbFilterBand")->currentText(), "No Filter");
    Child<QComboBox>(dialog, "cbbFilterBand")->setCurrentIndex(1);  // low-pass
    Child<QLineEdit>(dialog, "edtHighCorner")->setText("5");
    Child<QCheckBox>(dialog, "chkAcausal")->setChecked(false);
    auto* view = dialog->findChild<travik::figures::FigureView*>("chtFilterResponse");
    ASSERT_NE(view, nullptr);
    const travik::figures::ChartFigure preview = view->ShownFigure();
    EXPECT_EQ(preview.xScale, travik::figures::AxisScale::Log);
    EXPECT_EQ(preview.yScale, travik::figures::AxisScale::Linear);
    ASSERT_EQ(preview.curves.size(), 1u);
    const QList<QPointF>& gain = preview.curves[0].points;
    ASSERT_EQ(gain.size(), 201);
    // Unity far below the corner, 1 / sqrt(2) at it, falling above it.
    EXPECT_NEAR(gain[0].y(), 1.0, 1e-6);
    double atCorner = 0.0;
    for (const QPointF& point : gain) {
        if (std::fabs(point.x() / 5.0 - 1.0) < 0.02) {
            atCorner = point.y();
        }
    }
    EXPECT_NEAR(atCorner, 1 / std::sqrt(2.0), 0.02);
    // The gain axis is numbered at round values from 0 (0.25, 0.5 … never 0.2625).
    auto* gainAxis = qobject_cast<QValueAxis*>(view->chart()->axes(Qt::Vertical).value(0));
    ASSERT_NE(gainAxis, nullptr);
    EXPECT_EQ(gainAxis->tickType(), QValueAxis::TicksDynamic);
    EXPECT_EQ(gainAxis->tickAnchor(), 0.0);
    const double step = gainAxis->tickInterval();
    EXPECT_TRUE(step == 0.1 || step == 0.2 || step == 0.25 || step == 0.5) << step;
    EXPECT_DOUBLE_EQ(gainAxis->min(), 0.0);
    EXPECT_GE(gainAxis->max(), 1.0);

    Child<QLineEdit>(dialog, "edtHighCorner")->setText("50");
    Child<QPushButton>(dialog, "btnFilterOk")->click();
    EXPECT_EQ(MessageTexts(), std::vector<QString>{"High corner frequency 50 Hz must be below the "
                                                   "Nyquist frequency 50 Hz of the record"});
    EXPECT_FALSE(form->Document().Records().At(0).Filter().has_value());
    Child<QPushButton>(dialog, "btnFilterCancel")->click();
    ProcessDeletions();
}

TEST_F(MeasuresPageTest, FilteredRecordIsDrawnGreyAndMeasuredFiltered) {
    Import({Wave("w.txt")});
    ShowMeasuresPage();
    const QString unfilteredPga = Measures<StringGrid>("grdMeasures")->Cell(1, 1);
    FilterDialog* dialog = OpenFilterDialog();
    ASSERT_NE(dialog, nullptr);
    Child<QComboBox>(dialog, "cbbFilterBand")->setCurrentIndex(2);  // high-pass
    Child<QLineEdit>(dialog, "edtLowCorner")->setText("1");
    Child<QSpinBox>(dialog, "spnFilterOrder")->setValue(2);
    Child<QCheckBox>(dialog, "chkAcausal")->setChecked(true);
    Child<QPushButton>(dialog, "btnFilterOk")->click();
    ProcessDeletions();
    const travik::TimeHistory& record = form->Document().Records().At(0);
    ASSERT_TRUE(record.Filter().has_value());
    EXPECT_EQ(record.Filter()->Describe(), "Butterworth high-pass 1 Hz, order 2, acausal");
    EXPECT_EQ(Chart("cht1").PointCount(1), 1000);  // the grey series
    EXPECT_NE(Measures<StringGrid>("grdMeasures")->Cell(1, 1), unfilteredPga);

    // The dialog opens with the record's filter, and "No Filter" removes it.
    dialog = OpenFilterDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Child<QComboBox>(dialog, "cbbFilterBand")->currentText(), "High-pass");
    EXPECT_EQ(Child<QLineEdit>(dialog, "edtLowCorner")->text(), "1");
    Child<QComboBox>(dialog, "cbbFilterBand")->setCurrentIndex(0);
    Child<QPushButton>(dialog, "btnFilterOk")->click();
    ProcessDeletions();
    EXPECT_FALSE(form->Document().Records().At(0).IsCorrected());
    EXPECT_EQ(Measures<StringGrid>("grdMeasures")->Cell(1, 1), unfilteredPga);
}

// The 10 s record is shorter than the 60 s of pads of 0.1 Hz, order 4: it is filtered. At
// 0.05 Hz, below 1 / 10 s, the dialog's note warns before the record is filtered.
TEST_F(MeasuresPageTest, FilterDialogFiltersARecordShorterThanItsPadsAndWarnsOfAnUnresolvedCorner) {
    Import({Wave("w.txt")});
    FilterDialog* dialog = OpenFilterDialog();
    ASSERT_NE(dialog, nullptr);
    Child<QComboBox>(dialog, "cbbFilterBand")->setCurrentIndex(2);  // high-pass
    Child<QLineEdit>(dialog, "edtLowCorner")->setText("0.1");
    Child<QSpinBox>(dialog, "spnFilterOrder")->setValue(4);
    EXPECT_EQ(Child<QLabel>(dialog, "lblFilterNote")->text(),
              "Zero pads: 30 s before and after the record (1.5 x order / corner in all).");
    Child<QLineEdit>(dialog, "edtLowCorner")->setText("0.05");
    EXPECT_EQ(Child<QLabel>(dialog, "lblFilterNote")->text(),
              "Zero pads: 60 s before and after the record (1.5 x order / corner in all).\n"
              "Low corner frequency 0.05 Hz is below 0.1 Hz, the lowest frequency a record of "
              "10 s resolves (1 / its length): the record is filtered, but it holds no whole "
              "cycle at the corner");
    Child<QPushButton>(dialog, "btnFilterOk")->click();
    ProcessDeletions();
    EXPECT_TRUE(MessageTexts().empty());
    const travik::TimeHistory& record = form->Document().Records().At(0);
    ASSERT_TRUE(record.Filter().has_value());
    EXPECT_EQ(record.Filter()->Describe(), "Butterworth high-pass 0.05 Hz, order 4, causal");
}

}  // namespace
