#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include "RecordsFixture.h"
#include "records/BaselineCorrection.h"

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
    ASSERT_EQ(form->lst1->count(), 3);
    ASSERT_EQ(form->lst3->count(), 3);
    ASSERT_EQ(form->cbb4->count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(form->lst1->item(i)->text(), names.at(i));
        EXPECT_EQ(form->lst3->item(i)->text(), names.at(i));
        EXPECT_EQ(form->cbb4->itemText(i), names.at(i));
        EXPECT_EQ(form->lst1->item(i)->checkState(), Qt::Unchecked);
        EXPECT_EQ(form->lst3->item(i)->checkState(), Qt::Unchecked);
    }
    EXPECT_EQ(form->lst1->currentRow(), 0);
    EXPECT_EQ(form->cbb4->currentIndex(), 0);
    EXPECT_EQ(form->edt1->text(), "3");
    EXPECT_EQ(form->edt14->text(), "3");
    EXPECT_EQ(form->edt3->text(), "0");
    EXPECT_EQ(form->edt15->text(), "0");

    // The first record, four samples 0.01 s apart, on all three charts; nothing corrected.
    for (ChartAdapter* chart : {form->cht1, form->cht2, form->cht3}) {
        ASSERT_EQ(chart->PointCount(0), 4);
        EXPECT_EQ(chart->PointCount(1), 0);
        EXPECT_EQ(chart->PointCount(2), 3);
        EXPECT_DOUBLE_EQ(chart->Point(0, 3).x(), 0.03);
    }
    EXPECT_DOUBLE_EQ(form->cht1->Point(0, 2).y(), 0.3);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(RecordsPage, MarksShowTheFirstSampleInRedTheMaximumInGreenAndTheMinimumInYellow) {
    Import({WriteSamples("marks.txt", {0.1, 0.3, -0.2, 0.3, -0.2})}, QStringLiteral("0.02"));
    ChartAdapter* chart = form->cht1;
    ASSERT_EQ(chart->PointCount(2), 3);
    EXPECT_EQ(chart->Point(2, 0), QPointF(0.0, 0.1));
    EXPECT_EQ(chart->PointColor(2, 0), kRed);
    EXPECT_DOUBLE_EQ(chart->Point(2, 1).x(), 0.02);
    EXPECT_DOUBLE_EQ(chart->Point(2, 1).y(), 0.3);
    EXPECT_EQ(chart->PointColor(2, 1), kGreen);
    EXPECT_DOUBLE_EQ(chart->Point(2, 2).x(), 0.04);
    EXPECT_DOUBLE_EQ(chart->Point(2, 2).y(), -0.2);
    EXPECT_EQ(chart->PointColor(2, 2), kYellow);

    // Velocity by the trapezoidal rule with g = 980: 0, 3.92, 4.9, 5.88, 6.86 cm/sec, so its
    // minimum is the first sample and its maximum the last one.
    ChartAdapter* velocity = form->cht2;
    EXPECT_EQ(velocity->Point(2, 0), QPointF(0.0, 0.0));
    EXPECT_NEAR(velocity->Point(2, 1).x(), 0.08, 1e-12);
    EXPECT_NEAR(velocity->Point(2, 1).y(), 6.86, 1e-9);
    EXPECT_EQ(velocity->Point(2, 2), QPointF(0.0, 0.0));
    // The marks are the last series, drawn over both lines.
    EXPECT_EQ(chart->SeriesCount(), 3);
}

TEST_F(RecordsPage, SelectingAnotherRecordRedrawsItAlone) {
    Import({WriteSamples("one.txt", {0.1, 0.2}), WriteSamples("two.txt", {0.5, -0.5, 0.25})});
    form->lst1->setCurrentRow(1);
    EXPECT_EQ(form->cht1->PointCount(0), 3);
    EXPECT_EQ(form->cht1->PointCount(2), 3);
    EXPECT_DOUBLE_EQ(form->cht1->Point(0, 1).y(), -0.5);
    // Selecting does not check, and the spectra page's selection stays.
    EXPECT_EQ(form->edt3->text(), "0");
    EXPECT_EQ(form->cbb4->currentIndex(), 0);
}

TEST_F(RecordsPage, ClearDataEmptiesListsCountersChartsAndResultsWithoutAMessage) {
    form->btn7Click();
    EXPECT_TRUE(platform.messages.empty());

    Import({WriteSamples("a.txt", {0.1, 0.2}), WriteSamples("b.txt", {0.3, 0.4})});
    SetChecked(form->lst1, 0, true);
    form->SpectrumStore.displacementColumns = {{0.0, 1.0}};
    form->btn7->click();
    EXPECT_TRUE(form->RecordList.IsEmpty());
    EXPECT_EQ(form->lst1->count(), 0);
    EXPECT_EQ(form->lst3->count(), 0);
    EXPECT_EQ(form->cbb4->count(), 0);
    for (QLineEdit* counter : {form->edt1, form->edt3, form->edt14, form->edt15}) {
        EXPECT_EQ(counter->text(), "0");
    }
    for (ChartAdapter* chart : {form->cht1, form->cht2, form->cht3}) {
        for (int series = 0; series < 3; ++series) {
            EXPECT_EQ(chart->PointCount(series), 0);
        }
    }
    EXPECT_TRUE(form->SpectrumStore.displacementColumns.empty());
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(RecordsPage, CheckMarksAreCountedAndTheMenuActsOnTheListOfThePageShown) {
    Import({WriteSamples("a.txt", {0.1}), WriteSamples("b.txt", {0.2}),
            WriteSamples("c.txt", {0.3}), WriteSamples("d.txt", {0.4})});
    SetChecked(form->lst1, 0, true);
    SetChecked(form->lst1, 2, true);
    EXPECT_EQ(form->edt3->text(), "2");

    form->InvertCheck2->trigger();
    EXPECT_EQ(Checks(form->lst1), (std::vector<bool>{false, true, false, true}));
    EXPECT_EQ(form->edt3->text(), "2");
    SetChecked(form->lst1, 0, true);
    EXPECT_EQ(form->edt3->text(), "3");
    EXPECT_EQ(Checks(form->lst3), (std::vector<bool>(4, false)));

    form->pgc1->setCurrentIndex(1);
    form->CheckAll1->trigger();
    EXPECT_EQ(Checks(form->lst3), (std::vector<bool>(4, true)));
    EXPECT_EQ(form->edt15->text(), "4");
    EXPECT_EQ(Checks(form->lst1), (std::vector<bool>{true, true, false, true}));
    EXPECT_EQ(form->edt3->text(), "3");

    form->pgc1->setCurrentIndex(0);
    form->InvertCheck1->trigger();
    EXPECT_EQ(Checks(form->lst1), (std::vector<bool>(4, false)));
    EXPECT_EQ(form->edt3->text(), "0");
    form->CheckAll1Click();
    EXPECT_EQ(form->edt3->text(), "4");
    EXPECT_EQ(form->lst1->currentRow(), 0);
}

TEST_F(RecordsPage, CorrectionDrawsGreyLinesThatChangeAndDisappearWithTheChosenFit) {
    Import({WriteSamples("drift.txt", {0.01, 0.03, 0.05, 0.04, 0.08, 0.06, 0.09, 0.11}),
            WriteSamples("other.txt", {0.2, -0.1, 0.05})});
    const travik::TimeHistory& record = form->RecordList.At(0);

    form->rb1->setChecked(true);
    form->btn4->click();
    ASSERT_TRUE(record.IsCorrected());
    EXPECT_EQ(record.CorrectionType(), travik::BaselineCorrectionType::Linear);
    for (ChartAdapter* chart : {form->cht1, form->cht2, form->cht3}) {
        EXPECT_EQ(chart->PointCount(0), 8);
        EXPECT_EQ(chart->PointCount(1), 8);
        EXPECT_EQ(chart->PointCount(2), 3);
    }
    EXPECT_DOUBLE_EQ(form->cht1->Point(1, 5).y(), record.CorrectedAcceleration()[5]);
    EXPECT_DOUBLE_EQ(form->cht3->Point(1, 7).y(), record.CorrectedDisplacement()[7]);

    form->rb2->setChecked(true);
    form->btn4Click();
    EXPECT_EQ(record.CorrectionType(), travik::BaselineCorrectionType::Parabolic);
    EXPECT_DOUBLE_EQ(form->cht1->Point(1, 5).y(), record.CorrectedAcceleration()[5]);

    // Another record shows no grey lines until it is corrected itself; the choice stays.
    form->lst1->setCurrentRow(1);
    EXPECT_EQ(form->cht1->PointCount(1), 0);
    EXPECT_TRUE(form->rb2->isChecked());
    EXPECT_FALSE(form->RecordList.At(1).IsCorrected());

    form->lst1->setCurrentRow(0);
    EXPECT_EQ(form->cht1->PointCount(1), 8);
    form->rb3->setChecked(true);
    form->btn4Click();
    EXPECT_FALSE(record.IsCorrected());
    for (ChartAdapter* chart : {form->cht1, form->cht2, form->cht3}) {
        EXPECT_EQ(chart->PointCount(0), 8);
        EXPECT_EQ(chart->PointCount(1), 0);
        EXPECT_EQ(chart->PointCount(2), 3);
    }
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(RecordsPage, NoCorrectionOnAnUncorrectedRecordOnlyRedraws) {
    Import({WriteSamples("a.txt", {0.1, 0.3, -0.2})});
    form->rb3->setChecked(true);
    form->btn4Click();
    EXPECT_FALSE(form->RecordList.At(0).IsCorrected());
    EXPECT_EQ(form->cht1->PointCount(0), 3);
    EXPECT_EQ(form->cht1->PointCount(1), 0);
    EXPECT_EQ(form->cht1->PointCount(2), 3);
}

TEST_F(RecordsPage, AOneSampleRecordCannotBeCorrected) {
    Import({WriteSamples("single.txt", {0.25})});
    form->btn4Click();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages.front().kind, PlatformServices::MessageKind::Warning);
    EXPECT_EQ(platform.messages.front().text, "Base Line Correction Failed!");
    EXPECT_FALSE(form->RecordList.At(0).IsCorrected());
    EXPECT_EQ(form->cht1->PointCount(0), 1);
    EXPECT_EQ(form->cht1->PointCount(1), 0);
}

TEST_F(RecordsPage, ActionsWithoutRecordsOrSelectionDoNothing) {
    form->btn4Click();
    form->lst1Click();
    form->CheckAll1Click();
    form->InvertCheck2Click();
    form->ShowSelectedRecord();
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(form->edt3->text(), "0");
    EXPECT_EQ(form->cht1->PointCount(0), 0);
}

}  // namespace
