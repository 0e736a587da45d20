// Importing and drawing a long record on the records page: read the file, integrate it,
// fill the record lists and the three time-history charts.
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QChartView>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>
#include <cmath>

#include "ui/app/BackgroundWork.h"
#include "ui/app/PlatformServices.h"
#include "ui/figures/FigureView.h"
#include "ui/frame/MainWindow.h"
#include "ui/records/InputFileForm.h"
#include "ui/records/RecordsPage.h"

namespace {

constexpr int kSamples = 100000;

// Answers every file dialog with the same record and ignores everything else.
class FixedAnswers final : public PlatformServices {
  public:
    void ShowMessage(QWidget*, MessageKind, const QString& text) override { lastMessage = text; }
    QStringList ChooseRecordFiles(QWidget*, const QString&) override { return files; }
    QString ChooseFolder(QWidget*, const QString&) override { return {}; }
    void SetClipboardText(const QString&) override {}
    void OpenWebPage(const QUrl&) override {}
    bool Confirm(QWidget*, const QString&) override { return true; }

    QStringList files;
    QString lastMessage;
};

// A decaying two-tone motion, one value (g) per line.
QString WriteLongRecord(const QTemporaryDir& folder) {
    const QString path = QDir(folder.path()).filePath("long.txt");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return {};
    }
    QByteArray text;
    text.reserve(kSamples * 16);
    for (int i = 0; i < kSamples; ++i) {
        const double t = i * 0.005;
        const double value =
            0.3 * std::exp(-0.02 * t) * (std::sin(6.0 * t) + 0.4 * std::sin(17.0 * t));
        text += QByteArray::number(value, 'g', 10);
        text += '\n';
    }
    file.write(text);
    return path;
}

void Import(TForm1& form) {
    form.findChild<RecordsPage*>()->findChild<QPushButton*>(QStringLiteral("btn1"))->click();
    auto* dialog = form.findChild<TForm2*>();
    dialog->findChild<QLineEdit*>(QStringLiteral("edt1"))->setText(QStringLiteral("0.005"));
    dialog->findChild<QPushButton*>(QStringLiteral("btn1"))->click();
    // Reading runs off the window's thread; the records arrive when it ends.
    form.Document().Work().WaitForFinished();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // The charts rescale their axes once control returns to the event loop.
    QCoreApplication::processEvents();
}

void ImportAndDrawLongRecord(benchmark::State& state) {
    QTemporaryDir folder;
    FixedAnswers platform;
    platform.files = {WriteLongRecord(folder)};
    TForm1 form(platform);
    const bool painted = state.range(0) != 0;
    if (painted) {
        form.show();
    }
    const auto* page = form.findChild<RecordsPage*>();
    using travik::figures::FigureView;
    FigureView* const charts[] = {page->findChild<FigureView*>(QStringLiteral("cht1")),
                                  page->findChild<FigureView*>(QStringLiteral("cht2")),
                                  page->findChild<FigureView*>(QStringLiteral("cht3"))};
    for (auto _ : state) {
        Import(form);
        if (painted) {
            for (FigureView* chart : charts) {
                chart->viewport()->repaint();
            }
        }
    }
    if (form.Document().Records().Count() != 1 || charts[0]->ShownFigure().curves.empty()) {
        state.SkipWithError("the record was not imported and drawn");
    }
    state.SetItemsProcessed(state.iterations() * kSamples);
}
BENCHMARK(ImportAndDrawLongRecord)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("painted")
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    QLocale locale(QLocale::English, QLocale::UnitedStates);
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    QLocale::setDefault(locale);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
