#include <QAbstractItemView>
#include <QComboBox>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "RecordsFixture.h"
#include "ui/app/BackgroundWork.h"
#include "ui/app/StringGrid.h"
#include "ui/presentation/DetailedDataWindow.h"

namespace {

class DetailedData : public RecordsFixture {
  protected:
    TForm4* OpenWindow() {
        Records<QPushButton>("btn2")->click();
        EXPECT_NE(form->findChild<TForm4*>(), nullptr);
        return form->findChild<TForm4*>();
    }

    QStringList Row(int row) const {
        QStringList texts;
        StringGrid* grid = Child<StringGrid>(form->findChild<TForm4*>(), "strngrd1");
        for (int column = 0; column < grid->ColumnCount(); ++column) {
            texts.append(grid->Cell(column, row));
        }
        return texts;
    }

    static QStringList Blank() { return QStringList(8, QString()); }
};

const QStringList kHeader = {"No.",
                             "Time [sec]",
                             "Acceleration [g]",
                             "Corrected Acc. [g]",
                             "Velocity [cm/sec]",
                             "Corrected Vel. [cm/sec]",
                             "Displacement [cm]",
                             "Corrected Disp. [cm]"};

TEST_F(DetailedData, WithoutRecordsShowsTheHeaderBlankRowsAndAnEmptySelector) {
    TForm4* window = OpenWindow();
    EXPECT_EQ(window->windowTitle(), "Detailed Data of Time History Records");
    EXPECT_FALSE(window->isModal());
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(Child<QComboBox>(window, "cbb4")->count(), 0);
    EXPECT_EQ(Child<QLabel>(window, "lbl11")->text(), "Selected Time History Records");
    EXPECT_EQ(Child<QPushButton>(window, "btn1")->text(), "Close");
    StringGrid* grid = Child<StringGrid>(window, "strngrd1");
    ASSERT_EQ(grid->ColumnCount(), 8);
    EXPECT_GT(grid->RowCount(), 2);
    EXPECT_EQ(Row(0), kHeader);
    for (int row = 1; row < grid->RowCount(); ++row) {
        EXPECT_EQ(Row(row), Blank());
    }
    EXPECT_GE(grid->ColumnWidth(0), 56);
    EXPECT_GE(grid->ColumnWidth(7), 100);
}

TEST_F(DetailedData, AnUncorrectedRecordShowsPlaceholdersInTheCorrectedColumns) {
    Import({WriteSamples("three.txt", {0.00123456, -0.5, 0.25})});
    TForm4* window = OpenWindow();
    EXPECT_EQ(Child<QComboBox>(window, "cbb4")->currentText(), "three.txt");
    StringGrid* grid = Child<StringGrid>(window, "strngrd1");
    ASSERT_EQ(grid->RowCount(), 5);
    // Velocity 0.01 s * 980 * (0.00123456 - 0.5) / 2 = -2.44395066 cm/sec; displacement
    // 0.0001 * 980 * (2 * 0.00123456 - 0.5) / 6 = -0.00812634 cm.
    EXPECT_EQ(Row(1), (QStringList{"1", "0.00000", "0.00123456", "--", "0.00000000", "--",
                                   "0.00000000", "--"}));
    EXPECT_EQ(Row(2), (QStringList{"2", "0.01000", "-0.50000000", "--", "-2.44395066", "--",
                                   "-0.00812634", "--"}));
    EXPECT_EQ(Row(3).mid(0, 4), (QStringList{"3", "0.02000", "0.25000000", "--"}));
    EXPECT_EQ(Row(4), Blank());
}

TEST_F(DetailedData, ACorrectedRecordFillsEveryColumnWithNumbers) {
    Import({WriteSamples("drift.txt", {0.01, 0.03, 0.05, 0.04, 0.08, 0.06})});
    Records<QPushButton>("btn4")->click();
    ASSERT_TRUE(form->Document().Records().At(0).IsCorrected());
    OpenWindow();
    const travik::TimeHistory& record = form->Document().Records().At(0);
    for (int row = 1; row <= record.SampleCount(); ++row) {
        const QStringList texts = Row(row);
        for (int column = 1; column < 8; ++column) {
            bool isNumber = false;
            texts.at(column).toDouble(&isNumber);
            EXPECT_TRUE(isNumber) << row << ' ' << column << ' ' << texts.at(column).toStdString();
        }
        EXPECT_NEAR(texts.at(3).toDouble(), record.CorrectedAcceleration()[row - 1], 5e-9);
        EXPECT_NEAR(texts.at(7).toDouble(), record.CorrectedDisplacement()[row - 1], 5e-9);
    }
}

TEST_F(DetailedData, TimesAreTheSampleIndexTimesTheStep) {
    std::vector<double> samples(250, 0.001);
    Import({WriteSamples("long.txt", samples)}, QStringLiteral("0.005"));
    OpenWindow();
    EXPECT_EQ(Row(201).at(0), "201");
    EXPECT_EQ(Row(201).at(1), "1.00000");
    EXPECT_EQ(Row(250).at(1), "1.24500");
}

TEST_F(DetailedData, ExistsOnceAndASecondClickKeepsWhatWasPicked) {
    Import({WriteSamples("a.txt", {0.1, 0.2, 0.3}), WriteSamples("b.txt", {0.4, 0.5})});
    TForm4* window = OpenWindow();
    Child<QComboBox>(window, "cbb4")->setCurrentIndex(1);
    EXPECT_EQ(Child<StringGrid>(window, "strngrd1")->RowCount(), 4);
    EXPECT_EQ(Row(1).at(2), "0.40000000");
    Child<StringGrid>(window, "strngrd1")->SetSelection({2, 1, 3, 2});

    Records<QPushButton>("btn2")->click();
    EXPECT_EQ(form->findChild<TForm4*>(), window);
    EXPECT_EQ(form->findChildren<TForm4*>().size(), 1);
    EXPECT_EQ(Child<QComboBox>(window, "cbb4")->currentIndex(), 1);
    EXPECT_EQ(Child<StringGrid>(window, "strngrd1")->Selection(), (GridSelection{2, 1, 3, 2}));
}

TEST_F(DetailedData, AShorterRecordLeavesNoCellOfALongerOne) {
    Import({WriteSamples("long.txt", {0.1, 0.2, 0.3, 0.4, 0.5}),
            WriteSamples("short.txt", {0.9, 0.8})});
    TForm4* window = OpenWindow();
    EXPECT_EQ(Child<StringGrid>(window, "strngrd1")->RowCount(), 7);
    Child<QComboBox>(window, "cbb4")->setCurrentIndex(1);
    ASSERT_EQ(Child<StringGrid>(window, "strngrd1")->RowCount(), 4);
    EXPECT_EQ(Row(2).at(2), "0.80000000");
    EXPECT_EQ(Row(3), Blank());
}

TEST_F(DetailedData, CtrlCAndCtrlACopyAndSelectFromAnyControl) {
    Import({WriteSamples("a.txt", {0.1, 0.2})});
    TForm4* window = OpenWindow();
    StringGrid* grid = Child<StringGrid>(window, "strngrd1");

    grid->SetSelection({2, 1, 3, 2});
    Child<QComboBox>(window, "cbb4")->setFocus();
    QTest::keyClick(Child<QComboBox>(window, "cbb4"), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(platform.clipboard, "0.10000000\t--\n0.20000000\t--\n");

    Child<QPushButton>(window, "btn1")->setFocus();
    QTest::keyClick(Child<QPushButton>(window, "btn1"), Qt::Key_A,
                    Qt::ControlModifier | Qt::ShiftModifier);
    // The header and the samples: the table's blank last row is no data and is left out.
    EXPECT_EQ(grid->Selection(), (GridSelection{0, 0, 7, 2}));
    QTest::keyClick(Child<QPushButton>(window, "btn1"), Qt::Key_C, Qt::ControlModifier);
    const QStringList lines = platform.clipboard.split('\n');
    ASSERT_EQ(lines.size(), 4);  // three rows, each ending with a line feed
    EXPECT_EQ(lines.at(0), kHeader.join('\t'));
    EXPECT_TRUE(lines.at(1).startsWith("1\t0.00000\t0.10000000\t--\t"));
    EXPECT_TRUE(lines.at(2).startsWith("2\t0.01000\t0.20000000\t--\t"));
    EXPECT_EQ(lines.at(3), "");

    grid->SetSelection({0, 1, 1, 1});
    grid->setFocus();
    QTest::keyClick(grid->View(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(platform.clipboard, "1\t0.00000\n");
    // Without Ctrl the letters are just keys.
    platform.clipboard.clear();
    QTest::keyClick(grid->View(), Qt::Key_C);
    EXPECT_EQ(platform.clipboard, "");
}

// A whole long record is copied off the window's thread, as a job with progress and Cancel,
// and gives the text the table shows, cell for cell.
TEST_F(DetailedData, ALongCopyRunsAsAJobAndGivesTheTableText) {
    std::vector<double> samples(30000);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = 0.001 * static_cast<double>(i % 997) - 0.4;
    }
    Import({WriteSamples("long.txt", samples)});
    BackgroundWork& work = form->Document().Work();
    work.SetMode(BackgroundWork::Mode::Threaded);
    TForm4* window = OpenWindow();
    StringGrid* grid = Child<StringGrid>(window, "strngrd1");
    Child<QAction>(window, "SelectAll1")->trigger();
    Child<QAction>(window, "CopySelection1")->trigger();
    // Handed back only through the event loop, so still running here.
    EXPECT_TRUE(work.IsBusy());
    EXPECT_TRUE(platform.clipboard.isEmpty());
    work.WaitForFinished();
    const QString copied = platform.clipboard;
    // The grid's own cells, one by one, on this thread: the header and every sample, not the
    // blank row below them.
    ASSERT_EQ(grid->RowCount(), 30002);
    QString expected;
    for (int row = 0; row < 30001; ++row) {
        for (int column = 0; column < grid->ColumnCount(); ++column) {
            expected += grid->Cell(column, row);
            expected += column + 1 < grid->ColumnCount() ? QChar('\t') : QChar('\n');
        }
    }
    EXPECT_EQ(copied.count('\n'), 30001);
    EXPECT_TRUE(copied == expected);
    EXPECT_TRUE(copied.contains("\n30000\t299.99000\t-0.31100000\t--\t"));

    // Cancelled, it leaves the clipboard as it was.
    platform.clipboard = "before";
    Child<QAction>(window, "CopySelection1")->trigger();
    work.Cancel();
    work.WaitForFinished();
    EXPECT_EQ(platform.clipboard, "before");
}

TEST_F(DetailedData, PopupMenuCommandsCopyAndSelect) {
    Import({WriteSamples("a.txt", {0.1})});
    TForm4* window = OpenWindow();
    EXPECT_EQ(Child<QAction>(window, "CopySelection1")->text(), "Copy Selection ( Ctrl+C )");
    EXPECT_EQ(Child<QAction>(window, "SelectAll1")->text(), "Select All ( Ctrl+A )");
    Child<QAction>(window, "SelectAll1")->trigger();
    EXPECT_EQ(Child<StringGrid>(window, "strngrd1")->Selection(), (GridSelection{0, 0, 7, 1}));
    Child<StringGrid>(window, "strngrd1")->SetSelection({1, 1, 1, 1});
    Child<QAction>(window, "CopySelection1")->trigger();
    EXPECT_EQ(platform.clipboard, "0.00000\n");
}

TEST_F(DetailedData, NumbersUseTheLocalesDecimalSeparator) {
    QLocale german(QLocale::German, QLocale::Germany);
    german.setNumberOptions(QLocale::OmitGroupSeparator);
    QLocale::setDefault(german);
    Import({WriteLines("a.txt", {"0,1", "-0,2"})}, [](TForm2& dialog) {
        Child<QLineEdit>(&dialog, "edt1")->setText("0,01");
        Child<QRadioButton>(&dialog, "rb2")->setChecked(true);
    });
    OpenWindow();
    EXPECT_EQ(Row(2).mid(1, 2), (QStringList{"0,01000", "-0,20000000"}));
}

TEST_F(DetailedData, ClosingDestroysTheWindowAndTheNextClickMakesAFreshOne) {
    TForm4* window = OpenWindow();
    const QPointer<TForm4> first = window;
    window->close();
    ProcessDeletions();
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(form->findChild<TForm4*>(), nullptr);
    Import({WriteSamples("a.txt", {0.1})});
    window = OpenWindow();
    EXPECT_EQ(Child<QComboBox>(window, "cbb4")->count(), 1);
}

TEST_F(DetailedData, IsAnOrdinaryWindowThatOpensBesideTheMainWindow) {
    TForm4* window = OpenWindow();
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    const QRect screen(0, 0, 1920, 1040);
    const QSize outer(775, 540);
    // Right of the main window where the screen has room, else left of it.
    EXPECT_EQ(TForm4::BesidePosition(QRect(10, 20, 1060, 600), outer, screen), QPoint(1070, 20));
    EXPECT_EQ(TForm4::BesidePosition(QRect(850, 20, 1060, 600), outer, screen), QPoint(75, 20));
    // No room on either side: against the right edge, off the controls on the left.
    EXPECT_EQ(TForm4::BesidePosition(QRect(0, 700, 1280, 600), outer, QRect(0, 0, 1280, 1000)),
              QPoint(505, 460));
}

TEST_F(DetailedData, TheOpenWindowFollowsImportsCorrectionsAndClearing) {
    Import({WriteSamples("a.txt", {0.1, 0.2, 0.3})});
    TForm4* window = OpenWindow();
    EXPECT_EQ(Row(1).at(3), "--");
    Records<QPushButton>("btn4")->click();  // linear correction of a.txt
    EXPECT_NE(Row(1).at(3), "--");

    Records<QPushButton>("btn7")->click();
    EXPECT_EQ(Child<QComboBox>(window, "cbb4")->count(), 0);
    EXPECT_EQ(Row(1), Blank());

    Import({WriteSamples("b.txt", {0.4, 0.5})});
    ASSERT_EQ(Child<QComboBox>(window, "cbb4")->count(), 1);
    EXPECT_EQ(Child<QComboBox>(window, "cbb4")->currentText(), "b.txt");
    EXPECT_EQ(Row(1).at(2), "0.40000000");
}

TEST_F(DetailedData, FormatsOnlyTheCellsItIsAskedForOverALongRecord) {
    std::vector<double> values(200000);
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = 1e-6 * static_cast<double>(i);
    }
    Import({WriteSamples("long.txt", values)});
    TForm4* window = OpenWindow();
    StringGrid* grid = Child<StringGrid>(window, "strngrd1");
    EXPECT_TRUE(grid->HasCellSource());
    ASSERT_EQ(grid->RowCount(), 200002);
    EXPECT_EQ(grid->Cell(0, 200000), "200000");
    EXPECT_EQ(grid->Cell(1, 200000), "1999.99000");
    EXPECT_EQ(grid->Cell(2, 200000), "0.19999900");
    EXPECT_EQ(grid->Cell(3, 200000), "--");
    EXPECT_EQ(Row(200001), Blank());
}

TEST_F(DetailedData, TheSelectorListsWholeNames) {
    const QString name = QStringLiteral("a-record-name-that-is-far-longer-than-the-box.txt");
    Import({WriteSamples(name, {0.1})});
    QComboBox* selector = Child<QComboBox>(OpenWindow(), "cbb4");
    EXPECT_GE(selector->view()->minimumWidth(),
              selector->view()->fontMetrics().horizontalAdvance(name));
    EXPECT_EQ(selector->itemData(0, Qt::ToolTipRole).toString(), name);
}

TEST_F(DetailedData, AnImportThatReadsNothingLeavesTheOpenWindowAsItWas) {
    Import({WriteSamples("a.txt", {0.1, 0.2, 0.3})});
    TForm4* window = OpenWindow();
    Import({QDir(folder.path()).filePath("missing.txt")});
    ASSERT_EQ(Child<QComboBox>(window, "cbb4")->count(), 1);
    EXPECT_EQ(Row(1).at(2), "0.10000000");
}

}  // namespace
