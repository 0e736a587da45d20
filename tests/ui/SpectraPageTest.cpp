// Damping values, "Analyze and Refresh" and the five result tables of the spectra page.
#include <QCoreApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include "SpectraFixture.h"
#include "core/analysis/OscillatorIntegrators.h"
#include "core/records/CorrectedSet.h"

namespace {

using MessageKind = PlatformServices::MessageKind;

class SpectraPageTest : public SpectraFixture {};

TEST_F(SpectraPageTest, TheDampingCountEnablesTheEditsThatFollowTheFirst) {
    QLineEdit* const edits[] = {
        Spectra<QLineEdit>("edt16"), Spectra<QLineEdit>("edt17"), Spectra<QLineEdit>("edt18"),
        Spectra<QLineEdit>("edt19"), Spectra<QLineEdit>("edt20"), Spectra<QLineEdit>("edt21"),
        Spectra<QLineEdit>("edt22"), Spectra<QLineEdit>("edt23"), Spectra<QLineEdit>("edt24")};
    auto enabledCount = [&] {
        int count = 0;
        for (const QLineEdit* edit : edits) {
            count += edit->isEnabled() ? 1 : 0;
        }
        return count;
    };
    EXPECT_EQ(enabledCount(), 1);
    Spectra<QComboBox>("cbb6")->setCurrentIndex(2);
    EXPECT_TRUE(Spectra<QLineEdit>("edt18")->isEnabled());
    EXPECT_FALSE(Spectra<QLineEdit>("edt19")->isEnabled());
    EXPECT_EQ(enabledCount(), 3);
    Spectra<QComboBox>("cbb6")->setCurrentIndex(8);
    EXPECT_EQ(enabledCount(), 9);
    Spectra<QComboBox>("cbb6")->setCurrentIndex(0);
    EXPECT_EQ(enabledCount(), 1);
    EXPECT_TRUE(Spectra<QLineEdit>("edt16")->isEnabled());
    EXPECT_EQ(Spectra<QLineEdit>("edt24")->text(), "60");  // texts are left alone
}

TEST_F(SpectraPageTest, NothingSelectedChangesNothingAndSaysWhatToDoFirst) {
    Spectra<QPushButton>("btn11")->click();
    Load(ShortRecord("a.txt"));
    Spectra<QComboBox>("cbb4")->setCurrentIndex(-1);
    Spectra<QPushButton>("btn11")->click();
    ASSERT_EQ(platform.messages.size(), 2u);
    for (const auto& message : platform.messages) {
        EXPECT_EQ(message.kind, MessageKind::Information);
        EXPECT_TRUE(message.text.contains("import a record first")) << message.text.toStdString();
    }
    EXPECT_TRUE(form->Document().Spectra().periods.empty());
    EXPECT_TRUE(form->Document().Spectra().Columns(travik::SpectrumKind::Displacement).empty());
    EXPECT_EQ(Spectra<StringGrid>("strngrd1")->ColumnCount(), 10);
    EXPECT_EQ(Spectra<StringGrid>("strngrd1")->Cell(0, 0), "");
}

TEST_F(SpectraPageTest, DefaultsGiveThreeHundredAndOnePeriodsPerTable) {
    Load(ShortRecord("a.txt"));
    Spectra<QPushButton>("btn11")->click();
    EXPECT_TRUE(platform.messages.empty());

    const travik::SpectraResult& store = form->Document().Spectra();
    ASSERT_EQ(store.periods.size(), 301u);
    const travik::SpectrumKind kinds[] = {
        travik::SpectrumKind::Displacement, travik::SpectrumKind::Velocity,
        travik::SpectrumKind::Acceleration, travik::SpectrumKind::PseudoVelocity,
        travik::SpectrumKind::PseudoAcceleration};
    for (int k = 0; k < 5; ++k) {
        const StringGrid& grid = *Grids()[static_cast<std::size_t>(k)];
        SCOPED_TRACE(k);
        ASSERT_EQ(grid.RowCount(), 302);
        ASSERT_EQ(grid.ColumnCount(), 2);
        EXPECT_EQ(grid.Cell(0, 0), "Period[sec]");
        EXPECT_EQ(grid.Cell(1, 0), "Damp.=5%");
        EXPECT_EQ(grid.Cell(0, 1), "0.000000");
        EXPECT_EQ(grid.Cell(0, 2), "0.020000");
        EXPECT_EQ(grid.Cell(0, 301), "6.000000");  // the accumulated 5.99999999999996
        // 80 pixels, or wider where a heading or a value needs it.
        EXPECT_GE(grid.ColumnWidth(0), 80);
        EXPECT_GE(grid.ColumnWidth(1), 80);
        const travik::DOUBLEVECTOR& column = store.Columns(kinds[k])[0];
        for (int row : {2, 50, 301}) {
            EXPECT_EQ(grid.Cell(1, row), Six(column[static_cast<std::size_t>(row - 1)]));
        }
    }
    // The period-0 row: zeros, and the peak raw acceleration of 0.45 g.
    EXPECT_EQ(Spectra<StringGrid>("strngrd1")->Cell(1, 1), "0.000000");
    EXPECT_EQ(Spectra<StringGrid>("strngrd2")->Cell(1, 1), "0.000000");
    EXPECT_EQ(Spectra<StringGrid>("strngrd3")->Cell(1, 1), "0.450000");
    EXPECT_EQ(Spectra<StringGrid>("strngrd4")->Cell(1, 1), "0.000000");
    EXPECT_EQ(Spectra<StringGrid>("strngrd5")->Cell(1, 1), "0.450000");
}

// A strong, long-period motion gives spectral displacements of thousands of cm and
// accelerations of several g: "1234.567890" is wider than the tables' 80 pixels.
TEST_F(SpectraPageTest, EveryTableColumnIsAsWideAsItsWidestText) {
    std::vector<double> values;
    for (int i = 0; i < 3000; ++i) {
        values.push_back(3.0 * std::sin(6.2831852 * i / 300.0));
    }
    Load(MakeRecord("strong.txt", 0.01, values));
    SetDamping({QStringLiteral("5"), QStringLiteral("2")});
    Spectra<QPushButton>("btn11")->click();
    int widened = 0;
    for (const StringGrid* grid : Grids()) {
        const QFontMetrics metrics = grid->View()->fontMetrics();
        ASSERT_EQ(grid->ColumnCount(), 3);
        for (int column = 0; column < grid->ColumnCount(); ++column) {
            widened += grid->ColumnWidth(column) > 80 ? 1 : 0;
            EXPECT_GE(grid->ColumnWidth(column), 80);
            for (int row = 0; row < grid->RowCount(); ++row) {
                EXPECT_GE(grid->ColumnWidth(column),
                          metrics.horizontalAdvance(grid->Cell(column, row)) + 8)
                    << grid->objectName().toStdString() << " " << column << "," << row << " "
                    << grid->Cell(column, row).toStdString();
            }
        }
    }
    EXPECT_GT(widened, 0) << "no value wide enough to widen a column";
}

TEST_F(SpectraPageTest, ALongAnalysisIsAnnouncedAndMayBeDeclined) {
    Load(SampleRecord());  // 1560 samples of 0.02 s
    SetDamping({"2", "5"});
    Spectra<QPushButton>("btn11")->click();
    EXPECT_TRUE(platform.questions.isEmpty());  // the defaults take a blink
    ASSERT_EQ(form->Document().Spectra().periods.size(), 301u);

    // Sub-steps trunc(0.02 / (T 1e-6) + 1) for T = 0.04 ... 6 (T = 0.02 needs more than the
    // integrators take): 1e6 (H(300) - 1) per sample and damping value, 1.6E10 in all.
    ChangeSettings([](travik::AnalysisSettings& s) { s.maxDtOverT = 1e-6; });
    platform.confirmAnswers.push_back(false);
    Spectra<QPushButton>("btn11")->click();
    ASSERT_EQ(platform.questions.size(), 1);
    EXPECT_TRUE(platform.questions[0].startsWith(
        "This analysis takes about 1.6E10 oscillator steps, about "))
        << platform.questions[0].toStdString();
    EXPECT_TRUE(platform.questions[0].endsWith(" s on this machine. Start it?"));
    // Declined: the earlier result stays, tables and all.
    EXPECT_EQ(form->Document().Spectra().settings.maxDtOverT, 0.02);
    EXPECT_EQ(Grids()[0]->RowCount(), 302);
}

TEST_F(SpectraPageTest, DampingValuesAreSortedWithoutRepeats) {
    Load(ShortRecord("a.txt"));
    SetDamping({"10", "5", "5"});
    Spectra<QPushButton>("btn11")->click();
    EXPECT_EQ(form->Document().Spectra().dampingRatios, (std::vector<double>{0.05, 0.1}));
    for (const StringGrid* grid : Grids()) {
        ASSERT_EQ(grid->ColumnCount(), 3);
        EXPECT_EQ(grid->Cell(1, 0), "Damp.=5%");
        EXPECT_EQ(grid->Cell(2, 0), "Damp.=10%");
    }

    SetDamping({"0.0004"});
    Spectra<QPushButton>("btn11")->click();
    EXPECT_EQ(Spectra<StringGrid>("strngrd4")->Cell(1, 0), "Damp.=0%");
    SetDamping({"2.5", "7.5"});
    Spectra<QPushButton>("btn11")->click();
    EXPECT_EQ(Spectra<StringGrid>("strngrd1")->Cell(1, 0), "Damp.=2.5%");
    EXPECT_EQ(Spectra<StringGrid>("strngrd1")->Cell(2, 0), "Damp.=7.5%");
}

TEST_F(SpectraPageTest, ABadDampingValueStopsAndLeavesThePreviousResults) {
    Load(ShortRecord("a.txt"));
    ShowSpectraPage();
    Spectra<QPushButton>("btn11")->click();
    const QString before = Spectra<StringGrid>("strngrd2")->Cell(1, 100);
    const int pointsBefore = CurvePoints(0);
    ASSERT_EQ(pointsBefore, 301);

    SetDamping({"5", "abc"});
    Spectra<QPushButton>("btn11")->click();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(platform.messages[0].text, "\"abc\" is not a valid floating number!");
    EXPECT_TRUE(Spectra<QLineEdit>("edt17")->hasFocus());
    EXPECT_EQ(form->Document().Spectra().dampingRatios, (std::vector<double>{0.05}));
    EXPECT_EQ(form->Document().Spectra().Columns(travik::SpectrumKind::Displacement).size(), 1u);
    EXPECT_EQ(Spectra<StringGrid>("strngrd2")->Cell(1, 100), before);
    EXPECT_EQ(Spectra<StringGrid>("strngrd2")->Cell(1, 0), "Damp.=5%");
    EXPECT_EQ(CurvePoints(0), pointsBefore);
    EXPECT_EQ(SpectrumFigure().curves.size(), 1u);

    SetDamping({"5", "10", "100"});
    Spectra<QPushButton>("btn11")->click();
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[1].text, "Damping Ratio must be less than 1!");
    EXPECT_TRUE(Spectra<QLineEdit>("edt18")->hasFocus());
    EXPECT_EQ(Spectra<StringGrid>("strngrd2")->Cell(1, 100), before);

    // Garbage beyond the chosen count is not read.
    SetDamping({"5", "10", "100"});
    Spectra<QComboBox>("cbb6")->setCurrentIndex(1);
    Spectra<QPushButton>("btn11")->click();
    EXPECT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(Spectra<StringGrid>("strngrd2")->ColumnCount(), 3);
}

TEST_F(SpectraPageTest, ACorrectedRecordIsAnalysedThroughItsCorrectedAcceleration) {
    std::vector<double> drifting;
    for (int i = 0; i < 300; ++i) {
        drifting.push_back(0.2 * std::sin(0.3 * i) + 0.001 * i);
    }
    auto record = MakeRecord("drift.txt", 0.01, drifting);
    ASSERT_TRUE(
        travik::ApplyBaselineCorrection(*record, travik::BaselineCorrectionType::Linear, 980.0));
    ASSERT_TRUE(record->IsCorrected());
    const double rawPeak = record->PeakAcceleration();
    Load(std::move(record));
    Spectra<QPushButton>("btn11")->click();

    const travik::TimeHistory& analysed = form->Document().Records().At(0);
    const travik::AnalysisSettings settings;
    double sdCorrected = 0.0;
    double sdRaw = 0.0;
    double sv = 0.0;
    double sa = 0.0;
    const double period = form->Document().Spectra().periods[100];
    ASSERT_TRUE(travik::ComputeOscillatorPeaks(settings, analysed, 980.0, 0.02, 0.05, period,
                                               sdCorrected, sv, sa, true,
                                               travik::IntegrationMethod::PiecewiseExact));
    ASSERT_TRUE(travik::ComputeOscillatorPeaks(settings, analysed, 980.0, 0.02, 0.05, period, sdRaw,
                                               sv, sa, false,
                                               travik::IntegrationMethod::PiecewiseExact));
    ASSERT_NE(Six(sdCorrected), Six(sdRaw));
    EXPECT_EQ(Spectra<StringGrid>("strngrd1")->Cell(1, 101), Six(sdCorrected));
    EXPECT_EQ(Spectra<StringGrid>("strngrd3")->Cell(1, 1), Six(rawPeak));
    EXPECT_EQ(Spectra<StringGrid>("strngrd5")->Cell(1, 1), Six(rawPeak));
}

TEST_F(SpectraPageTest, TablesShrinkWhenALaterAnalysisHasLess) {
    Load(ShortRecord("a.txt"));
    SetDamping({"2", "5", "10"});
    Spectra<QPushButton>("btn11")->click();
    ASSERT_EQ(Spectra<StringGrid>("strngrd3")->RowCount(), 302);
    ASSERT_EQ(Spectra<StringGrid>("strngrd3")->ColumnCount(), 4);

    ChangeSettings([](travik::AnalysisSettings& s) {
        s.minPeriod = 0.5;
        s.maxPeriod = 2.0;
        s.periodStep = 0.5;
    });
    SetDamping({"5"});
    Spectra<QPushButton>("btn11")->click();
    for (const StringGrid* grid : Grids()) {
        ASSERT_EQ(grid->RowCount(), 6);
        ASSERT_EQ(grid->ColumnCount(), 2);
        EXPECT_EQ(grid->Cell(0, 5), "2.000000");
        EXPECT_EQ(grid->Cell(3, 0), "");
        EXPECT_EQ(grid->Cell(1, 6), "");
    }
    EXPECT_EQ(Spectra<StringGrid>("strngrd1")->Cell(0, 4), "1.500000");
}

TEST_F(SpectraPageTest, ClearingBlanksEveryCellAndKeepsTheSizes) {
    Load(ShortRecord("a.txt"));
    SetDamping({"5", "10"});
    Spectra<QPushButton>("btn11")->click();
    Records<QPushButton>("btn7")->click();
    for (const StringGrid* grid : Grids()) {
        EXPECT_EQ(grid->RowCount(), 302);
        EXPECT_EQ(grid->ColumnCount(), 3);
        EXPECT_EQ(grid->Cell(0, 0), "");
        EXPECT_EQ(grid->Cell(2, 0), "");
        EXPECT_EQ(grid->Cell(0, 301), "");
        EXPECT_EQ(grid->Cell(2, 301), "");
    }
}

TEST_F(SpectraPageTest, ARecordWithoutSamplesReportsEachDampingValueAndDrawsNothing) {
    std::vector<std::unique_ptr<travik::TimeHistory>> records;
    records.push_back(std::make_unique<travik::TimeHistory>("empty.txt", 0.01));
    Load(std::move(records));
    SetDamping({"5", "10"});
    Spectra<QPushButton>("btn11")->click();
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[0].kind, MessageKind::Plain);
    EXPECT_EQ(platform.messages[0].text, "Error calculation for DampingRatio: 0.05& Period: 0.02");
    EXPECT_EQ(platform.messages[1].text, "Error calculation for DampingRatio: 0.1& Period: 0.02");

    // Nothing was computed: the tables show the periods and no values, the chart nothing.
    EXPECT_TRUE(form->Document().Spectra().AllRunsFailed());
    EXPECT_EQ(Spectra<StringGrid>("strngrd1")->RowCount(), 302);
    EXPECT_EQ(Spectra<StringGrid>("strngrd1")->Cell(0, 2), "0.020000");
    EXPECT_EQ(Spectra<StringGrid>("strngrd1")->Cell(1, 2), "");
    EXPECT_TRUE(SpectrumFigure().curves.empty());
}

TEST_F(SpectraPageTest, TheNineDampingEditsHaveEqualWidthsThatFitAHundredPercent) {
    form->show();
    QCoreApplication::processEvents();
    const int needed = Spectra<QLineEdit>("edt16")->fontMetrics().horizontalAdvance("100.000");
    const int width = Spectra<QLineEdit>("edt16")->width();
    for (int i = 16; i <= 24; ++i) {
        const QByteArray name = "edt" + QByteArray::number(i);
        QLineEdit* edit = Spectra<QLineEdit>(name.constData());
        EXPECT_EQ(edit->width(), width) << name.constData();
        EXPECT_GE(edit->width(), needed) << name.constData();
    }
}

TEST_F(SpectraPageTest, TheMouseReadoutGoesWithTheCurves) {
    Load(ShortRecord("a.txt"));
    Spectra<QPushButton>("btn11")->click();
    QLabel* readout = Spectra<QLabel>("lbl2");
    readout->setText(QStringLiteral("X : 2.999473379      Y : 15.040160643"));
    Records<QPushButton>("btn7")->click();
    EXPECT_EQ(readout->text(), "X : 0      Y : 0");
}

}  // namespace
