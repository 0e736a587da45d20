// Draws the user guide's screenshots: the program on the offscreen platform doing the
// guide's tasks over the sample records, each view saved as a PNG into the folder given.
// Run by scripts/guide-screenshots; not a test.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <iostream>

#include "ScriptedPlatform.h"
#include "ui/app/BackgroundWork.h"
#include "ui/frame/MainWindow.h"
#include "ui/records/InputFileForm.h"

namespace {

template <class T>
T* Find(QWidget& window, const char* name) {
    return window.findChild<T*>(QString::fromLatin1(name));
}

bool Shoot(TForm1& form, const QDir& out, const char* name) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QTest::qWait(200);
    const QString path = out.filePath(QString::fromLatin1(name));
    if (!form.grab().save(path)) {
        std::cerr << "cannot write " << path.toStdString() << '\n';
        return false;
    }
    std::cout << path.toStdString() << '\n';
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 3) {
        std::cerr << "usage: guide_screenshots DATA_FOLDER OUT_FOLDER\n";
        return 2;
    }
    const QDir data(QString::fromLocal8Bit(argv[1]));
    const QDir out(QString::fromLocal8Bit(argv[2]));
    BackgroundWork::SetDefaultMode(BackgroundWork::Mode::Inline);
    ScriptedPlatform platform;
    TForm1 form(platform);
    form.resize(1200, 760);
    form.show();
    auto* pages = Find<QTabWidget>(form, "pgc1");

    // Task 1: import the El Centro record at 0.02 s and correct its baseline.
    platform.fileAnswers.push_back({data.filePath("elcentro-1940-chopra-ns.txt")});
    Find<QPushButton>(form, "btn1")->click();
    auto* dialog = form.findChild<TForm2*>();
    Find<QLineEdit>(*dialog, "edt1")->setText(QStringLiteral("0.02"));
    Find<QPushButton>(*dialog, "btn1")->click();
    Find<QListWidget>(form, "lst1")->setCurrentRow(0);
    Find<QRadioButton>(form, "rb1")->setChecked(true);
    Find<QPushButton>(form, "btn4")->click();
    bool ok = Shoot(form, out, "records.png");

    // Task 1, continued: its spectra at three damping values.
    pages->setCurrentIndex(1);
    Find<QComboBox>(form, "cbb6")->setCurrentIndex(2);
    Find<QPushButton>(form, "btn11")->click();
    ok = Shoot(form, out, "spectra.png") && ok;

    // Task 2: the ground-motion measures of the corrected record.
    pages->setCurrentIndex(2);
    ok = Shoot(form, out, "measures.png") && ok;

    // Task 3: the sample workspace opened, its records read and corrected again.
    form.OpenGivenFiles({QFile::encodeName(data.filePath("sample.travik")).toStdString()});
    pages->setCurrentIndex(0);
    ok = Shoot(form, out, "workspace.png") && ok;
    for (const auto& message : platform.messages) {
        std::cerr << message.text.toStdString() << '\n';
    }
    return ok ? 0 : 1;
}
