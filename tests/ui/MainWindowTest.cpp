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
#include "core/export/ReportHeader.h"
#include "ui/analysis/AnalysisSettingForm.h"
#include "ui/app/CheckedExport.h"
#include "ui/app/ProjectInfo.h"
#include "ui/app/StartFolders.h"
#include "ui/frame/About.h"
#include "ui/presentation/DetailedDataWindow.h"

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
    EXPECT_STREQ(travik::kSoftwareEdition, "20150902");
    EXPECT_EQ(travik::kMaxExportNumber, 8);
    EXPECT_EQ(Frame<QTabWidget>("pgc1")->currentIndex(), 0);
    EXPECT_EQ(Frame<QTabWidget>("pgc1")->tabText(0), "Time History Records");
    EXPECT_EQ(Frame<QTabWidget>("pgc1")->tabText(1), "Elastic Response Spectra");
    EXPECT_EQ(Spectra<QTabWidget>("pgc2")->currentIndex(), 0);
    const QStringList tabs = {"Graph",        "Displacement",    "Velocity",
                              "Acceleration", "Pseudo-Velocity", "Pseudo-Accelertion",
                              "Statistics",   "Rotated",         "Scaling"};
    ASSERT_EQ(Spectra<QTabWidget>("pgc2")->count(), tabs.size());
    for (int i = 0; i < tabs.size(); ++i) {
        EXPECT_EQ(Spectra<QTabWidget>("pgc2")->tabText(i), tabs.at(i));
    }
    EXPECT_EQ(form->Document().Settings().g, 980.0);
    EXPECT_EQ(form->Document().Settings().minPeriod, 0.02);
    EXPECT_EQ(form->Document().Settings().maxPeriod, 6.0);
    EXPECT_TRUE(form->Document().Records().IsEmpty());
    EXPECT_TRUE(form->Document().Spectra().Columns(travik::SpectrumKind::Displacement).empty());
    for (QLineEdit* counter : {Records<QLineEdit>("edt1"), Records<QLineEdit>("edt3"),
                               Spectra<QLineEdit>("edt14"), Spectra<QLineEdit>("edt15")}) {
        EXPECT_EQ(counter->text(), "0");
        EXPECT_TRUE(counter->isReadOnly());
    }
    EXPECT_TRUE(Records<QRadioButton>("rb1")->isChecked());
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
    // As shown: the '&' before a menu's Alt letter is not drawn.
    const auto shown = [](const QAction* menu) { return QString(menu->text()).remove(u'&'); };
    EXPECT_EQ(shown(menus.at(0)), "File");
    EXPECT_EQ(shown(menus.at(1)), "Options");
    EXPECT_EQ(shown(menus.at(2)), "Help");
    EXPECT_EQ(Frame<QAction>("ImportTimeHistoryRecords1")->text(), "Import Time History Records");
    EXPECT_EQ(Frame<QAction>("Setting1")->text(), "Analysis Settings");
    EXPECT_EQ(Frame<QAction>("AboutDIVU1")->text(), "About TRAVIK");
    EXPECT_EQ(Frame<QAction>("CheckAll1")->text(), "Check All");
    EXPECT_EQ(Frame<QAction>("InvertCheck1")->text(), "Check None");
    EXPECT_EQ(Frame<QAction>("InvertCheck2")->text(), "Invert Check");
    EXPECT_EQ(Spectra<QAction>("CopySelection1")->text(), "Copy Selection ( Ctrl+C )");
    EXPECT_EQ(Spectra<QAction>("SelectAll1")->text(), "Select All ( Ctrl+A )");
}

TEST_F(MainWindow, MenuCommandsOpenTheirWindows) {
    Frame<QAction>("ImportTimeHistoryRecords1")->trigger();
    ASSERT_NE(form->findChild<TForm2*>(), nullptr);
    EXPECT_TRUE(form->findChild<TForm2*>()->isModal());
    Child<QPushButton>(form->findChild<TForm2*>(), "btn2")->click();
    ProcessDeletions();
    EXPECT_EQ(form->findChild<TForm2*>(), nullptr);

    Frame<QAction>("Setting1")->trigger();
    ASSERT_NE(form->findChild<TForm3*>(), nullptr);
    EXPECT_TRUE(form->findChild<TForm3*>()->isModal());
    form->findChild<TForm3*>()->close();
    ProcessDeletions();
    EXPECT_EQ(form->findChild<TForm3*>(), nullptr);

    Frame<QAction>("AboutDIVU1")->trigger();
    auto* about = form->findChild<TAboutBox*>();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isModal());
    Child<QPushButton>(about, "OKButton")->click();
    ProcessDeletions();
    EXPECT_EQ(form->findChild<TAboutBox*>(), nullptr);
}

TEST_F(MainWindow, TipKeepsItsLowerCaseGreyUntilThePageFirstChanges) {
    EXPECT_EQ(Frame<QLabel>("rzfldsts4")->text(), "Tips: grey line is corrected results!");
    Frame<QTabWidget>("pgc1")->setCurrentIndex(1);
    EXPECT_EQ(Frame<QLabel>("rzfldsts4")->text(),
              "Tips: Response spectra analysis is based on corrected results.");
    Frame<QTabWidget>("pgc1")->setCurrentIndex(0);
    EXPECT_EQ(Frame<QLabel>("rzfldsts4")->text(), "Tips: Grey line is corrected results!");
}

TEST_F(MainWindow, ResizingPutsTheChartSplitsBackToAThirdAndAHalf) {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    Records<QSplitter>("spl1")->setSizes({50, 400});
    Records<QSplitter>("spl2")->setSizes({300, 60});
    form->resize(1200, 700);
    QCoreApplication::processEvents();
    EXPECT_NEAR(Share(Records<QSplitter>("spl1")->sizes()), 0.34, 0.01);
    EXPECT_NEAR(Share(Records<QSplitter>("spl2")->sizes()), 0.50, 0.01);

    Records<QSplitter>("spl1")->setSizes({400, 50});
    form->showMaximized();
    QCoreApplication::processEvents();
    EXPECT_NEAR(Share(Records<QSplitter>("spl1")->sizes()), 0.34, 0.01);
}

TEST_F(MainWindow, StatusBarFieldsChangeColourUnderThePointer) {
    EXPECT_EQ(TextColour(Frame<QLabel>("rzfldsts2")), QColor(Qt::black));
    EXPECT_TRUE(Frame<QLabel>("rzfldsts2")->font().bold());
    EXPECT_FALSE(Frame<QLabel>("rzfldsts2")->font().underline());

    Hover(Frame<QLabel>("rzfldsts2"));
    EXPECT_EQ(TextColour(Frame<QLabel>("rzfldsts2")), QColor(255, 0, 255));
    EXPECT_TRUE(Frame<QLabel>("rzfldsts2")->font().bold());
    EXPECT_TRUE(Frame<QLabel>("rzfldsts2")->font().underline());
    Unhover(Frame<QLabel>("rzfldsts2"));
    EXPECT_EQ(TextColour(Frame<QLabel>("rzfldsts2")), QColor(Qt::black));
    EXPECT_TRUE(Frame<QLabel>("rzfldsts2")->font().bold());
    EXPECT_FALSE(Frame<QLabel>("rzfldsts2")->font().underline());

    Hover(Frame<QLabel>("rzfldsts3"));
    EXPECT_EQ(TextColour(Frame<QLabel>("rzfldsts3")), QColor(255, 0, 255));
    Unhover(Frame<QLabel>("rzfldsts3"));
    EXPECT_EQ(TextColour(Frame<QLabel>("rzfldsts3")), QColor(Qt::black));

    EXPECT_EQ(Frame<QLabel>("rzfldsts1")->text(), "  Welcome to my Website :");
    EXPECT_GE(Frame<QLabel>("rzfldsts3")->width(), 63);
    EXPECT_GE(Frame<QLabel>("rzfldsts1")->width(), 173);
    EXPECT_GE(Frame<QLabel>("rzfldsts2")->width(), 125);
}

TEST_F(MainWindow, OnlyTheLinkFieldOpensTheWebPage) {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QTest::mouseClick(Frame<QLabel>("rzfldsts3"), Qt::LeftButton);
    EXPECT_TRUE(platform.openedPages.empty());
    QTest::mouseClick(Frame<QLabel>("rzfldsts2"), Qt::LeftButton);
    ASSERT_EQ(platform.openedPages.size(), 1u);
    EXPECT_EQ(platform.openedPages.front(), ProjectWebAddress());
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(MainWindow, ExportFolderStartsInTheDocumentsFolderAndThenRemembersTheChoice) {
    platform.folderAnswers = {folder.path(), QString()};
    QString chosen;
    ASSERT_TRUE(ChooseExportFolder(form->Document(), platform, form.get(), chosen));
    EXPECT_EQ(chosen, folder.path());
    EXPECT_FALSE(ChooseExportFolder(form->Document(), platform, form.get(), chosen));
    ASSERT_EQ(platform.folderDialogFolders.size(), 2);
    EXPECT_EQ(platform.folderDialogFolders.at(0), DefaultStartFolder());
    EXPECT_EQ(platform.folderDialogFolders.at(1), folder.path());
}

TEST_F(MainWindow, DecimalSeparatorFollowsTheLocale) {
    EXPECT_EQ(DecimalSeparator(), '.');
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(DecimalSeparator(), ',');
}

TEST_F(MainWindow, DestroyingTheWindowReleasesRecordsListsAndResults) {
    Import({WriteSamples("a.txt", {0.1, 0.2, 0.3})});
    Spectra<QPushButton>("btn11")->click();
    ASSERT_FALSE(form->Document().Spectra().Columns(travik::SpectrumKind::Displacement).empty());
    RunHandler(form.get(), "FormDestroy");
    EXPECT_TRUE(form->Document().Records().IsEmpty());
    EXPECT_EQ(Records<QListWidget>("lst1")->count(), 0);
    EXPECT_EQ(Spectra<QListWidget>("lst3")->count(), 0);
    EXPECT_EQ(Spectra<QComboBox>("cbb4")->count(), 0);
    EXPECT_EQ(Records<QLineEdit>("edt1")->text(), "0");
    EXPECT_TRUE(form->Document().Spectra().Columns(travik::SpectrumKind::Displacement).empty());
    EXPECT_TRUE(form->Document().Spectra().dampingRatios.empty());
    EXPECT_TRUE(form->Document().Spectra().periods.empty());
}

TEST_F(MainWindow, ClosingWithSecondaryWindowsOpenEndsCleanly) {
    Import({WriteSamples("a.txt", {0.1, 0.2, 0.3})});
    Records<QPushButton>("btn2")->click();
    Frame<QAction>("Setting1")->trigger();
    const QPointer<TForm4> detailed = form->findChild<TForm4*>();
    const QPointer<TForm3> settings = form->findChild<TForm3*>();
    ASSERT_FALSE(detailed.isNull());
    form.reset();
    ProcessDeletions();
    EXPECT_TRUE(detailed.isNull());
    EXPECT_TRUE(settings.isNull());
}

}  // namespace
