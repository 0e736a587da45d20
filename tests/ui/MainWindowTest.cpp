#include <QAction>
#include <QCoreApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>

#include "RecordsFixture.h"
#include "analysis/AnalysisSettingForm.h"
#include "app/About.h"
#include "presentation/THData.h"

namespace {

using MainWindow = RecordsFixture;

double Share(const QList<int>& sizes) {
    return static_cast<double>(sizes.at(0)) / (sizes.at(0) + sizes.at(1));
}

void Hover(QWidget* widget) {
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(widget, &enter);
}

void Unhover(QWidget* widget) {
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(widget, &leave);
}

QColor TextColour(const QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}

TEST_F(MainWindow, StartsWithCaptionConstantsDefaultsAndEmptyPages) {
    EXPECT_EQ(form->windowTitle(), "TRAVIK(20150902)");
    EXPECT_EQ(form->SoftwareEdition, "20150902");
    EXPECT_EQ(form->MaxExportNumber, 8);
    EXPECT_EQ(form->pgc1->currentIndex(), 0);
    EXPECT_EQ(form->pgc1->tabText(0), "Time History Records");
    EXPECT_EQ(form->pgc1->tabText(1), "Elastic Response Spectra");
    EXPECT_EQ(form->pgc2->currentIndex(), 0);
    const QStringList tabs = {"Graph",        "Displacement",    "Velocity",
                              "Acceleration", "Pseudo-Velocity", "Pseudo-Accelertion"};
    ASSERT_EQ(form->pgc2->count(), tabs.size());
    for (int i = 0; i < tabs.size(); ++i) {
        EXPECT_EQ(form->pgc2->tabText(i), tabs.at(i));
    }
    EXPECT_EQ(form->AnalysisSettings.g, 980.0);
    EXPECT_EQ(form->AnalysisSettings.minPeriod, 0.02);
    EXPECT_EQ(form->AnalysisSettings.maxPeriod, 6.0);
    EXPECT_TRUE(form->RecordList.IsEmpty());
    EXPECT_TRUE(form->SpectrumStore.displacementColumns.empty());
    for (QLineEdit* counter : {form->edt1, form->edt3, form->edt14, form->edt15}) {
        EXPECT_EQ(counter->text(), "0");
        EXPECT_TRUE(counter->isReadOnly());
    }
    EXPECT_TRUE(form->rb1->isChecked());
    EXPECT_EQ(form->size().width(), 1054);
}

TEST_F(MainWindow, EveryControlCarriesItsName) {
    const char* const names[] = {
        "pgc1",      "pgc2",      "btn1",      "btn7",      "lst1",     "edt3",     "edt1",
        "btn2",      "rb1",       "rb2",       "rb3",       "btn4",     "btn3",     "cht1",
        "cht2",      "cht3",      "cbb4",      "lst3",      "edt14",    "edt15",    "lbl14",
        "cbb6",      "edt16",     "edt24",     "btn11",     "btn10",    "lbl13",    "cbb5",
        "lbl15",     "cbb7",      "lbl2",      "cht4",      "strngrd1", "strngrd5", "rzstsbr1",
        "rzfldsts1", "rzfldsts2", "rzfldsts3", "rzfldsts4", "pm1",      "pm2"};
    for (const char* name : names) {
        EXPECT_NE(form->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    }
    for (const char* name : {"CheckAll1", "InvertCheck1", "InvertCheck2", "CopySelection1",
                             "SelectAll1", "ImportTimeHistoryRecords1", "Setting1", "AboutDIVU1"}) {
        EXPECT_NE(form->findChild<QAction*>(QString::fromLatin1(name)), nullptr) << name;
    }
}

TEST_F(MainWindow, MenusAndPopupMenusCarryTheirCaptionsInOrder) {
    const QList<QAction*> menus = form->menuBar()->actions();
    ASSERT_EQ(menus.size(), 3);
    EXPECT_EQ(menus.at(0)->text(), "File");
    EXPECT_EQ(menus.at(1)->text(), "Options");
    EXPECT_EQ(menus.at(2)->text(), "Help");
    EXPECT_EQ(form->ImportTimeHistoryRecords1->text(), "Import Time History Records");
    EXPECT_EQ(form->Setting1->text(), "Analysis Settings");
    EXPECT_EQ(form->AboutDIVU1->text(), "About TRAVIK");
    EXPECT_EQ(form->CheckAll1->text(), "Check All");
    EXPECT_EQ(form->InvertCheck1->text(), "Check None");
    EXPECT_EQ(form->InvertCheck2->text(), "Invert Check");
    EXPECT_EQ(form->CopySelection1->text(), "Copy Selection ( Ctrl+C )");
    EXPECT_EQ(form->SelectAll1->text(), "Select All ( Ctrl+A )");
}

TEST_F(MainWindow, MenuCommandsOpenTheirWindows) {
    form->ImportTimeHistoryRecords1->trigger();
    ASSERT_NE(form->Form2, nullptr);
    EXPECT_TRUE(form->Form2->isModal());
    form->Form2->btn2Click();
    ProcessDeletions();
    EXPECT_EQ(form->Form2, nullptr);

    form->Setting1->trigger();
    ASSERT_NE(form->Form3, nullptr);
    EXPECT_TRUE(form->Form3->isModal());
    form->Form3->close();
    ProcessDeletions();
    EXPECT_EQ(form->Form3, nullptr);

    form->AboutDIVU1->trigger();
    auto* about = form->findChild<TAboutBox*>();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isModal());
    about->OKButtonClick();
    ProcessDeletions();
    EXPECT_EQ(form->findChild<TAboutBox*>(), nullptr);
}

TEST_F(MainWindow, TipKeepsItsLowerCaseGreyUntilThePageFirstChanges) {
    EXPECT_EQ(form->rzfldsts4->text(), "Tips: grey line is corrected results!");
    form->pgc1->setCurrentIndex(1);
    EXPECT_EQ(form->rzfldsts4->text(),
              "Tips: Response spectra analysis is based on corrected results.");
    form->pgc1->setCurrentIndex(0);
    EXPECT_EQ(form->rzfldsts4->text(), "Tips: Grey line is corrected results!");
}

TEST_F(MainWindow, ResizingPutsTheChartSplitsBackToAThirdAndAHalf) {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    form->spl1->setSizes({50, 400});
    form->spl2->setSizes({300, 60});
    form->resize(1200, 700);
    QCoreApplication::processEvents();
    EXPECT_NEAR(Share(form->spl1->sizes()), 0.34, 0.01);
    EXPECT_NEAR(Share(form->spl2->sizes()), 0.50, 0.01);

    form->spl1->setSizes({400, 50});
    form->showMaximized();
    QCoreApplication::processEvents();
    EXPECT_NEAR(Share(form->spl1->sizes()), 0.34, 0.01);
}

TEST_F(MainWindow, StatusBarFieldsChangeColourUnderThePointer) {
    EXPECT_EQ(TextColour(form->rzfldsts2), QColor(Qt::black));
    EXPECT_TRUE(form->rzfldsts2->font().bold());
    EXPECT_FALSE(form->rzfldsts2->font().underline());

    Hover(form->rzfldsts2);
    EXPECT_EQ(TextColour(form->rzfldsts2), QColor(255, 0, 255));
    EXPECT_TRUE(form->rzfldsts2->font().bold());
    EXPECT_TRUE(form->rzfldsts2->font().underline());
    Unhover(form->rzfldsts2);
    EXPECT_EQ(TextColour(form->rzfldsts2), QColor(Qt::black));
    EXPECT_TRUE(form->rzfldsts2->font().bold());
    EXPECT_FALSE(form->rzfldsts2->font().underline());

    Hover(form->rzfldsts3);
    EXPECT_EQ(TextColour(form->rzfldsts3), QColor(255, 0, 255));
    Unhover(form->rzfldsts3);
    EXPECT_EQ(TextColour(form->rzfldsts3), QColor(Qt::black));

    EXPECT_EQ(form->rzfldsts1->text(), "  Welcome to my Website :");
    EXPECT_GE(form->rzfldsts3->width(), 63);
    EXPECT_GE(form->rzfldsts1->width(), 173);
    EXPECT_GE(form->rzfldsts2->width(), 125);
}

TEST_F(MainWindow, OnlyTheLinkFieldOpensTheWebPage) {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QTest::mouseClick(form->rzfldsts3, Qt::LeftButton);
    EXPECT_TRUE(platform.openedPages.empty());
    QTest::mouseClick(form->rzfldsts2, Qt::LeftButton);
    ASSERT_EQ(platform.openedPages.size(), 1u);
    EXPECT_EQ(platform.openedPages.front(), TForm1::ProjectWebAddress());
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(MainWindow, ExportFolderStartsInTheProgramFolderAndThenRemembersTheChoice) {
    platform.folderAnswers = {folder.path(), QString()};
    QString chosen;
    ASSERT_TRUE(form->ChooseExportFolder(chosen));
    EXPECT_EQ(chosen, folder.path());
    EXPECT_FALSE(form->ChooseExportFolder(chosen));
    ASSERT_EQ(platform.folderDialogFolders.size(), 2);
    EXPECT_EQ(platform.folderDialogFolders.at(0), QCoreApplication::applicationDirPath());
    EXPECT_EQ(platform.folderDialogFolders.at(1), folder.path());
}

TEST_F(MainWindow, DecimalSeparatorFollowsTheLocale) {
    EXPECT_EQ(form->DecimalSeparator(), '.');
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(form->DecimalSeparator(), ',');
}

TEST_F(MainWindow, DestroyingTheWindowReleasesRecordsListsAndResults) {
    Import({WriteSamples("a.txt", {0.1, 0.2, 0.3})});
    form->SpectrumStore.dampingRatios = {0.05};
    form->SpectrumStore.periods = {0.0, 1.0};
    form->SpectrumStore.displacementColumns = {{0.0, 1.0}};
    form->FormDestroy();
    EXPECT_TRUE(form->RecordList.IsEmpty());
    EXPECT_EQ(form->lst1->count(), 0);
    EXPECT_EQ(form->lst3->count(), 0);
    EXPECT_EQ(form->cbb4->count(), 0);
    EXPECT_EQ(form->edt1->text(), "0");
    EXPECT_TRUE(form->SpectrumStore.displacementColumns.empty());
    EXPECT_TRUE(form->SpectrumStore.dampingRatios.empty());
    EXPECT_TRUE(form->SpectrumStore.periods.empty());
}

TEST_F(MainWindow, ClosingWithSecondaryWindowsOpenEndsCleanly) {
    Import({WriteSamples("a.txt", {0.1, 0.2, 0.3})});
    form->btn2Click();
    form->Setting1Click();
    const QPointer<TForm4> detailed = form->Form4;
    const QPointer<TForm3> settings = form->Form3;
    ASSERT_FALSE(detailed.isNull());
    form.reset();
    ProcessDeletions();
    EXPECT_TRUE(detailed.isNull());
    EXPECT_TRUE(settings.isNull());
}

}  // namespace
