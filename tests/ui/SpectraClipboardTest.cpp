// Copying out of the five result tables: menu commands and Ctrl+C / Ctrl+A.
#include <QAction>
#include <QTableView>
#include <QTest>

#include "SpectraFixture.h"
#include "ui/presentation/GridClipboard.h"

namespace {

class SpectraClipboardTest : public SpectraFixture {
  protected:
    // One damping value (5 %) and the periods 0 and 0.02 only.
    void AnalyseTwoPeriods() {
        Load(ShortRecord("a.txt"));
        ChangeSettings([](travik::AnalysisSettings& s) {
            s.minPeriod = 0.02;
            s.maxPeriod = 0.021;  // within 10 % of 0.02: not appended
            s.periodStep = 0.02;
        });
        Spectra<QPushButton>("btn11")->click();
        ASSERT_EQ(form->Document().Spectra().periods, (std::vector<double>{0.0, 0.02}));
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
    Spectra<StringGrid>("strngrd1")->setFocus();
    QTest::keyClick(Spectra<StringGrid>("strngrd1")->View(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Spectra<StringGrid>("strngrd1")->Selection(), (GridSelection{0, 0, 1, 2}));
    QTest::keyClick(Spectra<StringGrid>("strngrd1")->View(), Qt::Key_C, Qt::ControlModifier);
    const QString sd =
        Six(form->Document().Spectra().Columns(travik::SpectrumKind::Displacement)[0][1]);
    EXPECT_EQ(platform.clipboard,
              "Period[sec]\tDamp.=5%\n0.000000\t0.000000\n0.020000\t" + sd + "\n");

    // After the tables are blanked the same selection copies separators only.
    Records<QPushButton>("btn7")->click();
    QTest::keyClick(Spectra<StringGrid>("strngrd1")->View(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(platform.clipboard, "\t\n\t\n\t\n");
}

TEST_F(SpectraClipboardTest, KeysActOnlyOnTheFocusedTableOfTheShownPage) {
    AnalyseTwoPeriods();
    for (StringGrid* grid : Grids()) {
        grid->SetSelection({1, 2, 1, 2});
    }
    ShowSpectraPage(2);
    Spectra<StringGrid>("strngrd2")->setFocus();
    ASSERT_TRUE(Spectra<StringGrid>("strngrd2")->HasFocus());

    // Shift held as well does not prevent the command.
    QTest::keyClick(Spectra<StringGrid>("strngrd2")->View(), Qt::Key_A,
                    Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Spectra<StringGrid>("strngrd2")->Selection(), (GridSelection{0, 0, 1, 2}));
    for (StringGrid* grid : {Spectra<StringGrid>("strngrd1"), Spectra<StringGrid>("strngrd3"),
                             Spectra<StringGrid>("strngrd4"), Spectra<StringGrid>("strngrd5")}) {
        EXPECT_EQ(grid->Selection(), (GridSelection{1, 2, 1, 2}));
    }

    // Without Ctrl, or for a table that is not shown or not focused, nothing is copied.
    platform.clipboard = "kept";
    QTest::keyClick(Spectra<StringGrid>("strngrd2")->View(), Qt::Key_C);
    emit Spectra<StringGrid>("strngrd3")->KeyDown(Qt::Key_C, Qt::ControlModifier);
    emit Spectra<StringGrid>("strngrd1")->KeyDown(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(platform.clipboard, "kept");
    EXPECT_EQ(Spectra<StringGrid>("strngrd1")->Selection(), (GridSelection{1, 2, 1, 2}));
    Spectra<QComboBox>("cbb4")->setFocus();
    emit Spectra<StringGrid>("strngrd2")->KeyDown(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(platform.clipboard, "kept");
    Frame<QTabWidget>("pgc1")->setCurrentIndex(0);
    emit Spectra<StringGrid>("strngrd2")->KeyDown(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(platform.clipboard, "kept");

    Frame<QTabWidget>("pgc1")->setCurrentIndex(1);
    Spectra<StringGrid>("strngrd2")->setFocus();
    QTest::keyClick(Spectra<StringGrid>("strngrd2")->View(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(platform.clipboard.count(QLatin1Char('\n')), 3);
    EXPECT_TRUE(platform.clipboard.startsWith("Period[sec]\tDamp.=5%\n"));
}

TEST_F(SpectraClipboardTest, MenuCommandsTargetTheTableOfTheShownTab) {
    AnalyseTwoPeriods();
    Spectra<StringGrid>("strngrd4")->SetSelection({0, 1, 1, 1});
    Spectra<QTabWidget>("pgc2")->setCurrentIndex(4);
    Spectra<QAction>("CopySelection1")->trigger();
    EXPECT_EQ(platform.clipboard, "0.000000\t0.000000\n");
    Spectra<StringGrid>("strngrd5")->SetSelection({1, 1, 1, 1});
    Spectra<QTabWidget>("pgc2")->setCurrentIndex(5);
    Spectra<QAction>("CopySelection1")->trigger();
    EXPECT_EQ(platform.clipboard, "0.450000\n");

    // On the chart's tab the commands go to the displacement table.
    Spectra<QTabWidget>("pgc2")->setCurrentIndex(0);
    Spectra<QAction>("SelectAll1")->trigger();
    EXPECT_EQ(Spectra<StringGrid>("strngrd1")->Selection(), (GridSelection{0, 0, 1, 2}));
    Spectra<QTabWidget>("pgc2")->setCurrentIndex(3);
    Spectra<QAction>("SelectAll1")->trigger();
    EXPECT_EQ(Spectra<StringGrid>("strngrd3")->Selection(), (GridSelection{0, 0, 1, 2}));
}

}  // namespace
