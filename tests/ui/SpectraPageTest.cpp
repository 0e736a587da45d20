// Damping values, "Analyze and Refresh" and the five result tables of the spectra page.
#include <QLineEdit>

#include "SpectraFixture.h"
#include "analysis/OscillatorIntegrators.h"
#include "records/BaselineCorrection.h"

namespace {

using MessageKind = PlatformServices::MessageKind;

class SpectraPageTest : public SpectraFixture {};

TEST_F(SpectraPageTest, TheDampingCountEnablesTheEditsThatFollowTheFirst) {
    QLineEdit* const edits[] = {form->edt16, form->edt17, form->edt18, form->edt19, form->edt20,
                                form->edt21, form->edt22, form->edt23, form->edt24};
    auto enabledCount = [&] {
        int count = 0;
        for (const QLineEdit* edit : edits) {
            count += edit->isEnabled() ? 1 : 0;
        }
        return count;
    };
    EXPECT_EQ(enabledCount(), 1);
    form->cbb6->setCurrentIndex(2);
    EXPECT_TRUE(form->edt18->isEnabled());
    EXPECT_FALSE(form->edt19->isEnabled());
    EXPECT_EQ(enabledCount(), 3);
    form->cbb6->setCurrentIndex(8);
    EXPECT_EQ(enabledCount(), 9);
    form->cbb6->setCurrentIndex(0);
    EXPECT_EQ(enabledCount(), 1);
    EXPECT_TRUE(form->edt16->isEnabled());
    EXPECT_EQ(form->edt24->text(), "60");  // texts are left alone
}

TEST_F(SpectraPageTest, NothingSelectedChangesNothing) {
    form->btn11Click();
    Load(ShortRecord("a.txt"));
    form->cbb4->setCurrentIndex(-1);
    form->btn11Click();
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_TRUE(form->SpectrumStore.periods.empty());
    EXPECT_TRUE(form->SpectrumStore.displacementColumns.empty());
    EXPECT_EQ(form->strngrd1->ColumnCount(), 10);
    EXPECT_EQ(form->strngrd1->Cell(0, 0), "");
}

TEST_F(SpectraPageTest, DefaultsGiveThreeHundredAndOnePeriodsPerTable) {
    Load(ShortRecord("a.txt"));
    form->btn11Click();
    EXPECT_TRUE(platform.messages.empty());

    const travik::SpectrumStore& store = form->SpectrumStore;
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
        EXPECT_EQ(grid.ColumnWidth(0), 80);
        EXPECT_EQ(grid.ColumnWidth(1), 80);
        const travik::DOUBLEVECTOR& column = store.Columns(kinds[k])[0];
        for (int row : {2, 50, 301}) {
            EXPECT_EQ(grid.Cell(1, row), Six(column[static_cast<std::size_t>(row - 1)]));
        }
    }
    // The period-0 row: zeros, and the peak raw acceleration of 0.45 g.
    EXPECT_EQ(form->strngrd1->Cell(1, 1), "0.000000");
    EXPECT_EQ(form->strngrd2->Cell(1, 1), "0.000000");
    EXPECT_EQ(form->strngrd3->Cell(1, 1), "0.450000");
    EXPECT_EQ(form->strngrd4->Cell(1, 1), "0.000000");
    EXPECT_EQ(form->strngrd5->Cell(1, 1), "0.450000");
}

TEST_F(SpectraPageTest, DampingValuesAreSortedWithoutRepeats) {
    Load(ShortRecord("a.txt"));
    SetDamping({"10", "5", "5"});
    form->btn11Click();
    EXPECT_EQ(form->SpectrumStore.dampingRatios, (std::vector<double>{0.05, 0.1}));
    for (const StringGrid* grid : Grids()) {
        ASSERT_EQ(grid->ColumnCount(), 3);
        EXPECT_EQ(grid->Cell(1, 0), "Damp.=5%");
        EXPECT_EQ(grid->Cell(2, 0), "Damp.=10%");
    }

    SetDamping({"0.0004"});
    form->btn11Click();
    EXPECT_EQ(form->strngrd4->Cell(1, 0), "Damp.=0%");
    SetDamping({"2.5", "7.5"});
    form->btn11Click();
    EXPECT_EQ(form->strngrd1->Cell(1, 0), "Damp.=2.5%");
    EXPECT_EQ(form->strngrd1->Cell(2, 0), "Damp.=7.5%");
}

TEST_F(SpectraPageTest, ABadDampingValueStopsAndLeavesThePreviousResults) {
    Load(ShortRecord("a.txt"));
    ShowSpectraPage();
    form->btn11Click();
    const QString before = form->strngrd2->Cell(1, 100);
    const int pointsBefore = form->cht4->PointCount(0);
    ASSERT_EQ(pointsBefore, 301);

    SetDamping({"5", "abc"});
    form->btn11Click();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(platform.messages[0].text, "\"abc\" is not a valid floating number!");
    EXPECT_TRUE(form->edt17->hasFocus());
    EXPECT_TRUE(form->SpectrumStore.dampingRatios.empty());
    EXPECT_EQ(form->SpectrumStore.displacementColumns.size(), 1u);
    EXPECT_EQ(form->strngrd2->Cell(1, 100), before);
    EXPECT_EQ(form->strngrd2->Cell(1, 0), "Damp.=5%");
    EXPECT_EQ(form->cht4->PointCount(0), pointsBefore);
    EXPECT_TRUE(form->cht4->IsSeriesActive(0));

    SetDamping({"5", "10", "100"});
    form->btn11Click();
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[1].text, "Damping Ratio must be less than 1!");
    EXPECT_TRUE(form->edt18->hasFocus());
    EXPECT_EQ(form->strngrd2->Cell(1, 100), before);

    // Garbage beyond the chosen count is not read.
    SetDamping({"5", "10", "100"});
    form->cbb6->setCurrentIndex(1);
    form->btn11Click();
    EXPECT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(form->strngrd2->ColumnCount(), 3);
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
    form->btn11Click();

    const travik::TimeHistory& analysed = form->RecordList.At(0);
    const travik::AnalysisSettings settings;
    double sdCorrected = 0.0;
    double sdRaw = 0.0;
    double sv = 0.0;
    double sa = 0.0;
    const double period = form->SpectrumStore.periods[100];
    ASSERT_TRUE(travik::ComputeOscillatorPeaks(settings, analysed, 980.0, 0.02, 0.05, period,
                                               sdCorrected, sv, sa, true,
                                               travik::IntegrationMethod::PiecewiseExact));
    ASSERT_TRUE(travik::ComputeOscillatorPeaks(settings, analysed, 980.0, 0.02, 0.05, period, sdRaw,
                                               sv, sa, false,
                                               travik::IntegrationMethod::PiecewiseExact));
    ASSERT_NE(Six(sdCorrected), Six(sdRaw));
    EXPECT_EQ(form->strngrd1->Cell(1, 101), Six(sdCorrected));
    EXPECT_EQ(form->strngrd3->Cell(1, 1), Six(rawPeak));
    EXPECT_EQ(form->strngrd5->Cell(1, 1), Six(rawPeak));
}

TEST_F(SpectraPageTest, TablesShrinkWhenALaterAnalysisHasLess) {
    Load(ShortRecord("a.txt"));
    SetDamping({"2", "5", "10"});
    form->btn11Click();
    ASSERT_EQ(form->strngrd3->RowCount(), 302);
    ASSERT_EQ(form->strngrd3->ColumnCount(), 4);

    form->AnalysisSettings.minPeriod = 0.5;
    form->AnalysisSettings.maxPeriod = 2.0;
    form->AnalysisSettings.periodStep = 0.5;
    SetDamping({"5"});
    form->btn11Click();
    for (const StringGrid* grid : Grids()) {
        ASSERT_EQ(grid->RowCount(), 6);
        ASSERT_EQ(grid->ColumnCount(), 2);
        EXPECT_EQ(grid->Cell(0, 5), "2.000000");
        EXPECT_EQ(grid->Cell(3, 0), "");
        EXPECT_EQ(grid->Cell(1, 6), "");
    }
    EXPECT_EQ(form->strngrd1->Cell(0, 4), "1.500000");
}

TEST_F(SpectraPageTest, ClearingBlanksEveryCellAndKeepsTheSizes) {
    Load(ShortRecord("a.txt"));
    SetDamping({"5", "10"});
    form->btn11Click();
    form->ClearSpectrumTables();
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
    form->btn11Click();
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[0].kind, MessageKind::Plain);
    EXPECT_EQ(platform.messages[0].text, "Error calculation for DampingRatio: 0.05& Period: 0.02");
    EXPECT_EQ(platform.messages[1].text, "Error calculation for DampingRatio: 0.1& Period: 0.02");

    // Nothing was computed: the tables show the periods and no values, the chart nothing.
    EXPECT_TRUE(form->SpectrumStore.displacementColumns.empty());
    EXPECT_EQ(form->strngrd1->RowCount(), 302);
    EXPECT_EQ(form->strngrd1->Cell(0, 2), "0.020000");
    EXPECT_EQ(form->strngrd1->Cell(1, 2), "");
    for (int series = 0; series < form->cht4->SeriesCount(); ++series) {
        EXPECT_FALSE(form->cht4->IsSeriesActive(series));
        EXPECT_EQ(form->cht4->PointCount(series), 0);
    }
}

}  // namespace
