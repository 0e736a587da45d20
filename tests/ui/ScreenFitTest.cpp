// Dialogs within the screen they open on. Run offscreen and, by run_with_window_manager.sh,
// on an X display of 1600 × 900 with openbox, at scale factors 1 and 1.5: the sizes and
// places are those the window manager gives.
#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <memory>

#include "FindByName.h"
#include "ScriptedPlatform.h"
#include "ui/analysis/AnalysisSettingForm.h"
#include "ui/app/BackgroundWork.h"
#include "ui/app/ScreenFit.h"
#include "ui/figures/FigureDialogs.h"
#include "ui/frame/About.h"
#include "ui/frame/MainWindow.h"
#include "ui/presentation/DetailedDataWindow.h"
#include "ui/records/FilterDialog.h"
#include "ui/records/InputFileForm.h"
#include "ui/suite/ScaleDialog.h"

namespace {

void Settle(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

// How long the window manager may take to frame and place a window.
int SettleTime() {
    return QGuiApplication::platformName() == QStringLiteral("xcb") ? 600 : 50;
}

QRect Available(const QWidget& window) {
    const QScreen* screen = window.screen();
    return screen != nullptr ? screen->availableGeometry() : QRect();
}

// The window with its frame lies within the screen's available area, and so does `button`.
void ExpectOnScreen(const QWidget& window, const QWidget* button = nullptr) {
    const QRect available = Available(window);
    ASSERT_FALSE(available.isEmpty());
    EXPECT_TRUE(available.contains(window.frameGeometry()))
        << window.objectName().toStdString() << ": " << window.frameGeometry().width() << "×"
        << window.frameGeometry().height() << " at " << window.frameGeometry().x() << ","
        << window.frameGeometry().y() << " on " << available.width() << "×" << available.height();
    if (button != nullptr) {
        EXPECT_TRUE(button->isVisible());
        const QRect onScreen(button->mapToGlobal(QPoint(0, 0)), button->size());
        EXPECT_TRUE(available.contains(onScreen)) << button->objectName().toStdString();
        EXPECT_TRUE(
            window.rect().contains(QRect(button->mapTo(&window, QPoint(0, 0)), button->size())));
    }
}

class ScreenFit : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        form = std::make_unique<TForm1>(platform);
        form->show();
        Settle(SettleTime());
    }
    void TearDown() override {
        form.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    ScriptedPlatform platform;
    QTemporaryDir folder;
    std::unique_ptr<TForm1> form;
};

TEST_F(ScreenFit, ImportDialogKeepsItsButtonsOnScreenWithALongFileName) {
    Child<QAction>(form.get(), "ImportTimeHistoryRecords1")->trigger();
    Settle(SettleTime());
    TForm2* dialog = form->findChild<TForm2*>();
    ASSERT_NE(dialog, nullptr);
    ExpectOnScreen(*dialog, Child<QPushButton>(dialog, "btn1"));
    ExpectOnScreen(*dialog, Child<QPushButton>(dialog, "btn2"));
    EXPECT_LT(dialog->minimumWidth(), dialog->maximumWidth()) << "resizable";

    // 223 characters: a recording's whole description in its name, as some archives do.
    const QString name =
        QStringLiteral("record_") + QString(208, QLatin1Char('x')) + QStringLiteral("_end.txt");
    ASSERT_EQ(name.size(), 223);
    const QString path = QDir(folder.path()).filePath(name);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("0.1\n0.2\n-0.1\n0.05\n");
    file.close();
    platform.fileAnswers.push_back({path});
    Child<QPushButton>(dialog, "btn3")->click();
    Settle(SettleTime());
    ExpectOnScreen(*dialog, Child<QPushButton>(dialog, "btn1"));
    ExpectOnScreen(*dialog, Child<QPushButton>(dialog, "btn2"));
    // The name is cut in the middle, its start and end kept, the whole of it in the tooltip.
    auto* files = Child<MiddleElidedLabel>(dialog, "lbl6");
    const QString whole = QStringLiteral("1 file(s); preview of ") + name;
    const QStringList parts = files->text().split(QStringLiteral("…"));
    ASSERT_EQ(parts.size(), 2) << files->text().toStdString();
    EXPECT_GE(parts[0].size(), 10);
    EXPECT_TRUE(whole.startsWith(parts[0]));
    EXPECT_TRUE(parts[1].endsWith(QStringLiteral("_end.txt")));
    EXPECT_TRUE(whole.endsWith(parts[1]));
    EXPECT_EQ(files->toolTip(), whole);
    EXPECT_EQ(files->FullText(), whole);
    EXPECT_LE(files->fontMetrics().horizontalAdvance(files->text()), files->width());
    Child<QPushButton>(dialog, "btn2")->click();
}

TEST_F(ScreenFit, ImportDialogGrowsToShowItsPreviewWholeWhereTheScreenHasRoom) {
    Child<QAction>(form.get(), "ImportTimeHistoryRecords1")->trigger();
    Settle(SettleTime());
    TForm2* dialog = form->findChild<TForm2*>();
    ASSERT_NE(dialog, nullptr);
    const QString path = QDir(folder.path()).filePath(QStringLiteral("short.txt"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    for (int i = 0; i < 400; ++i) {
        file.write("0.01\n");
    }
    file.close();
    platform.fileAnswers.push_back({path});
    Child<QPushButton>(dialog, "btn3")->click();
    Settle(SettleTime());
    ExpectOnScreen(*dialog, Child<QPushButton>(dialog, "btn1"));
    auto* body = dialog->findChild<ScrolledBody*>();
    ASSERT_NE(body, nullptr);
    // The summary and the warning have made the body taller since the dialog opened; where
    // the whole dialog fits the screen (with room for a frame) nothing needs scrolling.
    const int needed = dialog->sizeHint().height() + 80;
    if (needed < Available(*dialog).height()) {
        EXPECT_EQ(body->verticalScrollBar()->maximum(), 0)
            << "dialog " << dialog->height() << " px high, needs " << dialog->sizeHint().height();
    }
    Child<QPushButton>(dialog, "btn2")->click();
}

TEST_F(ScreenFit, EveryDialogOpensWithinTheScreen) {
    travik::RecordList none;
    BackgroundWork work;
    std::vector<std::unique_ptr<QWidget>> windows;
    windows.emplace_back(new TForm3(travik::AnalysisSettings{}, '.', platform, form.get()));
    windows.emplace_back(new TForm4(none, platform, work, '.', form.get()));
    windows.emplace_back(new TAboutBox(platform, form.get()));
    windows.emplace_back(new FilterDialog(std::nullopt, 0.01, 4000, '.', platform, form.get()));
    windows.emplace_back(new ScaleDialog(ScaleFields{}, {0.1, 1.0}, 3, '.', platform, form.get()));
    // These two are opened with exec() by their callers, which keep them on screen.
    windows.emplace_back(new travik::figures::ImageOptionsDialog(
        travik::figures::ImageFormat::Png, travik::figures::ImageOptions{}, form.get()));
    windows.emplace_back(
        new travik::figures::TargetDialog(travik::figures::TargetChoice{}, '.', form.get()));
    KeepOnScreen(windows[5].get());
    KeepOnScreen(windows[6].get());
    for (const std::unique_ptr<QWidget>& window : windows) {
        // Dialogs open where their parent is, which may be near a screen edge.
        window->move(Available(*form).bottomRight() - QPoint(100, 100));
        window->show();
        Settle(SettleTime());
        ExpectOnScreen(*window);
        window->hide();
    }
}

// A window as large as the screen allows, asked to be larger still, ends up within it.
TEST_F(ScreenFit, AWindowLargerThanTheScreenIsShrunkIntoIt) {
    QWidget window(nullptr, Qt::Dialog);
    const QRect available = Available(*form);
    window.resize(available.width() * 2, available.height() * 2);
    window.move(available.topLeft() + QPoint(50, 50));
    KeepOnScreen(&window);
    window.show();
    Settle(SettleTime());
    ExpectOnScreen(window);
    EXPECT_LE(window.width(), available.width());
    EXPECT_GT(window.width(), available.width() / 2);
}

}  // namespace
