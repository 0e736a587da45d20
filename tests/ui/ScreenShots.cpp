// Pictures of the windows for the change notes, taken on an X display with a window manager:
//   TRAVIK_SHOTS=/work/shots/name- xvfb-run -a -s "-screen 0 1600x900x24" \
//       tests/ui/run_with_window_manager.sh build/release/tests/ui/ui_screen_shots
// Not a test: it checks nothing and is not run by CTest.
#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QUrl>
#include <QWindow>
#include <cmath>
#include <memory>

#include "FindByName.h"
#include "ScriptedPlatform.h"
#include "ui/frame/MainWindow.h"
#include "ui/records/InputFileForm.h"

namespace {

void Settle(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

void Shoot(const QString& name) {
    Settle(800);
    const QString prefix = qEnvironmentVariable("TRAVIK_SHOTS", QStringLiteral("/tmp/shot-"));
    QGuiApplication::primaryScreen()->grabWindow(0).save(prefix + name + QStringLiteral(".png"));
}

QString WriteRecord(const QString& folder, const QString& name, double scale, int count) {
    const QString path = QDir(folder).filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    for (int i = 0; i < count; ++i) {
        file.write(QByteArray::number(scale * std::sin(0.2 * i) * std::exp(-i / 600.0), 'g', 8));
        file.write("\n");
    }
    return path;
}

class Shots : public ::testing::Test {
  protected:
    void SetUp() override {
        form = std::make_unique<TForm1>(platform);
        form->move(0, 0);
        form->show();
        Settle(500);
    }
    void TearDown() override {
        form.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void ImportThree() {
        platform.fileAnswers.push_back(
            {WriteRecord(folder.path(), QStringLiteral("a.txt"), 0.1, 1600),
             WriteRecord(folder.path(), QStringLiteral("b.txt"), 0.2, 1600),
             WriteRecord(folder.path(), QStringLiteral("c.txt"), 0.6, 1600)});
        Child<QAction>(form.get(), "ImportTimeHistoryRecords1")->trigger();
        Settle(300);
        Child<QPushButton>(form->findChild<TForm2*>(), "btn1")->click();
        Settle(300);
    }

    ScriptedPlatform platform;
    QTemporaryDir folder;
    std::unique_ptr<TForm1> form;
};

TEST_F(Shots, ImportDialogWithALongFileName) {
    const QString name =
        QStringLiteral("record_") + QString(208, QLatin1Char('x')) + QStringLiteral("_end.txt");
    platform.fileAnswers.push_back({WriteRecord(folder.path(), name, 0.1, 400)});
    Child<QAction>(form.get(), "ImportTimeHistoryRecords1")->trigger();
    Settle(500);
    Child<QPushButton>(form->findChild<TForm2*>(), "btn3")->click();
    Shoot(QStringLiteral("item3-import-dialog"));
    Child<QPushButton>(form->findChild<TForm2*>(), "btn2")->click();
}

TEST_F(Shots, CheckedRecordsStatisticsDamping) {
    ImportThree();
    Child<QTabWidget>(form.get(), "pgc1")->setCurrentIndex(1);
    SpectraPage* page = form->findChild<SpectraPage*>();
    Child<QComboBox>(page, "cbb6")->setCurrentIndex(1);
    Child<QLineEdit>(page, "edt16")->setText(QStringLiteral("5"));
    Child<QLineEdit>(page, "edt17")->setText(QStringLiteral("2"));
    Child<QAction>(form.get(), "CheckAll1")->trigger();
    Child<QComboBox>(page, "cbb7")->setCurrentIndex(4);
    Child<QComboBox>(page, "cbbShow")->setCurrentIndex(1);
    Child<QPushButton>(page, "btn11")->click();
    Shoot(QStringLiteral("item6-statistics-first"));
    QComboBox* damping = Child<QComboBox>(page, "cbbShowDamping");
    damping->setCurrentIndex(damping->currentIndex() == 0 ? 1 : 0);
    Shoot(QStringLiteral("item6-statistics-changed"));
}

TEST_F(Shots, FileDroppedOnAChart) {
    ImportThree();
    const QString dropped = WriteRecord(folder.path(), QStringLiteral("dropped.txt"), 0.3, 3300);
    QWidget* chart = Child<QWidget>(form->findChild<RecordsPage*>(), "cht2");
    const QPoint at = chart->mapTo(form.get(), chart->rect().center());
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(dropped)});
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form->windowHandle(), &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form->windowHandle(), &drop);
    Shoot(QStringLiteral("item9-drop-on-chart"));
    // The old window took drops on its own frame only: what a drop there did.
    QDragEnterEvent frameEnter(QPoint(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.get(), &frameEnter);
    QDropEvent frameDrop(QPointF(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.get(), &frameDrop);
    Shoot(QStringLiteral("item9-drop-on-frame"));
}

// The two-component mode on the RSN 8883 pair: the five curves, and the polar view of the
// rotated peaks at the period under the pointer.
TEST_F(Shots, TwoComponentModeWithPolarView) {
    const QString peer = QStringLiteral(TRAVIK_SAMPLE_DATA_DIR "/formats/peer/");
    platform.fileAnswers.push_back({peer + QStringLiteral("RSN8883_14383980_13849090.AT2"),
                                    peer + QStringLiteral("RSN8883_14383980_13849360.AT2")});
    Child<QAction>(form.get(), "ImportTimeHistoryRecords1")->trigger();
    Settle(300);
    Child<QPushButton>(form->findChild<TForm2*>(), "btn1")->click();
    Settle(300);
    form->resize(1400, 860);
    Child<QTabWidget>(form.get(), "pgc1")->setCurrentIndex(1);
    SpectraPage* page = form->findChild<SpectraPage*>();
    Child<QComboBox>(page, "cbb7")->setCurrentIndex(4);
    Child<QCheckBox>(page, "chkLogX")->setChecked(true);
    Child<QCheckBox>(page, "chkTwoComponents")->setChecked(true);
    Child<QPushButton>(page, "btnRotate")->click();
    Settle(300);
    while (form->Document().Work().IsBusy()) {
        Settle(200);
    }
    // The pointer over the chart near 0.3 s.
    auto* chart = Child<travik::figures::FigureView>(page, "cht4");
    Settle(300);
    QPoint at = chart->viewport()->rect().center();
    for (int x = 0; x < chart->viewport()->width(); ++x) {
        const std::optional<QPointF> value = chart->ValueAt(QPoint(x, at.y()));
        if (value && value->x() >= 0.3) {
            at.setX(x);
            break;
        }
    }
    emit chart->PointerMoved(at);
    Settle(800);
    const QString prefix = qEnvironmentVariable("TRAVIK_SHOTS", QStringLiteral("/tmp/shot-"));
    form->grab().save(prefix + QStringLiteral("two-component-mode.png"));
}

}  // namespace
