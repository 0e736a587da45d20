// Copying out of the five result tables: menu commands and Ctrl+C / Ctrl+A.
#include <QAction>
#include <QTableView>
#include <QTest>

#include "SpectraFixture.h"
#include "presentation/GridClipboard.h"

namespace {

class SpectraClipboardTest : public SpectraFixture {
  protected:
    // One damping value (5 %) and the periods 0 and 0.02 only.
    void AnalyseTwoPeriods() {
        Load(ShortRecord("a.txt"));
        form->AnalysisSettings.minPeriod = 0.02;
        form->AnalysisSettings.maxPeriod = 0.021;  // within 10 % of 0.02: not appended
        form->AnalysisSettings.periodStep = 0.02;
        form->btn11Click();
        ASSERT_EQ(form->SpectrumStore.periods, (std::vector<double>{0.0, 0.02}));
    }
};

TEST_F(SpectraClipboardTest, OneCellIsCopiedWithItsLineFeed) {
    StringGrid grid(3, 3);
    grid.SetCell(1, 2, "0.020000");
    grid.SetSelection({1, 2, 1, 2});
    CopyGridSelection(grid, platform);
    EXPECT_EQ(platform.clipboard, "0.020000\n");

    // Blank cells give only the separators.
    grid.SetSelection({1, 1, 2, 1});
    CopyGridSelection(grid, platform);
    EXPECT_EQ(platform.clipboard, "\t\n");
}

TEST_F(SpectraClipboardTest, SelectAllThenCopyBringsTheHeadersAlong) {
    AnalyseTwoPeriods();
    ShowSpectraPage(1);
    form->strngrd1->setFocus();
    QTest::keyClick(form->strngrd1->View(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(form->strngrd1->Selection(), (GridSelection{0, 0, 1, 2}));
    QTest::keyClick(form->strngrd1->View(), Qt::Key_C, Qt::ControlModifier);
    const QString sd = Six(form->SpectrumStore.displacementColumns[0][1]);
    EXPECT_EQ(platform.clipboard,
              "Period[sec]\tDamp.=5%\n0.000000\t0.000000\n0.020000\t" + sd + "\n");

    // After the tables are blanked the same selection copies separators only.
    form->ClearSpectrumTables();
    QTest::keyClick(form->strngrd1->View(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(platform.clipboard, "\t\n\t\n\t\n");
}

TEST_F(SpectraClipboardTest, KeysActOnlyOnTheFocusedTableOfTheShownPage) {
    AnalyseTwoPeriods();
    for (StringGrid* grid : Grids()) {
        grid->SetSelection({1, 2, 1, 2});
    }
    ShowSpectraPage(2);
    form->strngrd2->setFocus();
    ASSERT_TRUE(form->strngrd2->HasFocus());

    // Shift held as well does not prevent the command.
    QTest::keyClick(form->strngrd2->View(), Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(form->strngrd2->Selection(), (GridSelection{0, 0, 1, 2}));
    for (StringGrid* grid : {form->strngrd1, form->strngrd3, form->strngrd4, form->strngrd5}) {
        EXPECT_EQ(grid->Selection(), (GridSelection{1, 2, 1, 2}));
    }

    // Without Ctrl, or for a table that is not shown or not focused, nothing is copied.
    platform.clipboard = "kept";
    QTest::keyClick(form->strngrd2->View(), Qt::Key_C);
    form->strngrd3KeyDown('C', Qt::ControlModifier);
    form->strngrd1KeyDown('A', Qt::ControlModifier);
    EXPECT_EQ(platform.clipboard, "kept");
    EXPECT_EQ(form->strngrd1->Selection(), (GridSelection{1, 2, 1, 2}));
    form->cbb4->setFocus();
    form->strngrd2KeyDown('C', Qt::ControlModifier);
    EXPECT_EQ(platform.clipboard, "kept");
    form->pgc1->setCurrentIndex(0);
    form->strngrd2KeyDown('C', Qt::ControlModifier);
    EXPECT_EQ(platform.clipboard, "kept");

    form->pgc1->setCurrentIndex(1);
    form->strngrd2->setFocus();
    QTest::keyClick(form->strngrd2->View(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(platform.clipboard.count(QLatin1Char('\n')), 3);
    EXPECT_TRUE(platform.clipboard.startsWith("Period[sec]\tDamp.=5%\n"));
}

TEST_F(SpectraClipboardTest, MenuCommandsTargetTheTableOfTheShownTab) {
    AnalyseTwoPeriods();
    form->strngrd4->SetSelection({0, 1, 1, 1});
    form->pgc2->setCurrentIndex(4);
    form->CopySelection1->trigger();
    EXPECT_EQ(platform.clipboard, "0.000000\t0.000000\n");
    form->strngrd5->SetSelection({1, 1, 1, 1});
    form->pgc2->setCurrentIndex(5);
    form->CopySelection1->trigger();
    EXPECT_EQ(platform.clipboard, "0.450000\n");

    // On the chart's tab the commands go to the displacement table.
    form->pgc2->setCurrentIndex(0);
    form->SelectAll1->trigger();
    EXPECT_EQ(form->strngrd1->Selection(), (GridSelection{0, 0, 1, 2}));
    EXPECT_EQ(form->TargetGrid(), form->strngrd1);
    form->pgc2->setCurrentIndex(3);
    EXPECT_EQ(form->TargetGrid(), form->strngrd3);
}

}  // namespace
