// The window with a million-sample record: opening "Detailed Data", importing the record,
// and how long the window keeps the user waiting while nine damping values are analysed.
#include <benchmark/benchmark.h>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

#include "ui/app/BackgroundWork.h"
#include "ui/app/PlatformServices.h"
#include "ui/app/StringGrid.h"
#include "ui/frame/MainWindow.h"
#include "ui/presentation/DetailedDataWindow.h"
#include "ui/records/InputFileForm.h"
#include "ui/records/RecordsPage.h"
#include "ui/spectra/SpectraPage.h"

namespace {

constexpr int kSamples = 1000000;
constexpr double kTimeStep = 0.005;  // s

// Answers every file dialog with the same record and ignores everything else.
class FixedAnswers final : public PlatformServices {
  public:
    void ShowMessage(QWidget*, MessageKind, const QString& text) override { lastMessage = text; }
    QStringList ChooseRecordFiles(QWidget*, const QString&) override { return files; }
    QString ChooseFolder(QWidget*, const QString&) override { return {}; }
    void SetClipboardText(const QString& text) override { clipboardText = text; }
    void OpenWebPage(const QUrl&) override {}
    bool Confirm(QWidget*, const QString&) override { return true; }

    QStringList files;
    QString lastMessage;
    QString clipboardText;
};

double Motion(int i) {
    const double t = i * kTimeStep;
    return 0.3 * std::exp(-0.002 * t) * (std::sin(6.0 * t) + 0.4 * std::sin(17.0 * t));
}

QString WriteLongRecord(const QTemporaryDir& folder) {
    const QString path = QDir(folder.path()).filePath("long.txt");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return {};
    }
    QByteArray text;
    text.reserve(kSamples * 16);
    for (int i = 0; i < kSamples; ++i) {
        text += QByteArray::number(Motion(i), 'g', 10);
        text += '\n';
    }
    file.write(text);
    return path;
}

// The record given to the workspace directly, integrated as an import would.
void LoadLongRecord(Workspace& workspace) {
    auto record = std::make_unique<travik::TimeHistory>("long.txt", kTimeStep);
    for (int i = 0; i < kSamples; ++i) {
        record->AppendAcceleration(Motion(i));
    }
    travik::IntegrateMotion(*record, workspace.Settings().g, travik::MotionSet::Raw);
    record->SetIntegrated(true);
    travik::RecordList records;
    records.Append(std::move(record));
    workspace.ReplaceRecords(std::move(records));
}

template <class T>
T* Find(const QObject* root, const char* name) {
    return root->findChild<T*>(QString::fromLatin1(name));
}

void ProcessEventsFor(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

// Starts work with `start` and runs the event loop until the work has ended and `settleMs`
// more; returns the longest gap between two turns of a 5 ms timer, which is how long the
// window kept the user waiting.
qint64 LongestWaitDuring(Workspace& workspace, const std::function<void()>& start, int settleMs) {
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 longest = 0;
    QTimer tick;
    tick.setInterval(5);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    tick.start();
    start();
    while (workspace.Work().IsBusy()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    ProcessEventsFor(settleMs);
    return longest;
}

// Click on "Detailed Data" until the window has shown its first screen of samples.
void OpenDetailedDataOnAMillionSamples(benchmark::State& state) {
    FixedAnswers platform;
    TForm1 form(platform);
    LoadLongRecord(form.Document());
    form.show();
    ProcessEventsFor(200);
    auto* button = Find<QPushButton>(form.findChild<RecordsPage*>(), "btn2");
    for (auto _ : state) {
        button->click();
        auto* window = form.findChild<TForm4*>();
        window->repaint();
        benchmark::DoNotOptimize(Find<StringGrid>(window, "strngrd1")->Cell(2, kSamples));
        state.PauseTiming();
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}
BENCHMARK(OpenDetailedDataOnAMillionSamples)->Unit(benchmark::kMillisecond);

// Select All and Copy in "Detailed Data" of a million-sample record: the time until the text
// is on the clipboard, and the longest time the event loop could not answer meanwhile.
void CopyAMillionRowsFromDetailedData(benchmark::State& state) {
    FixedAnswers platform;
    TForm1 form(platform);
    form.Document().Work().SetMode(BackgroundWork::Mode::Threaded);
    LoadLongRecord(form.Document());
    form.show();
    ProcessEventsFor(200);
    Find<QPushButton>(form.findChild<RecordsPage*>(), "btn2")->click();
    auto* window = form.findChild<TForm4*>();
    ProcessEventsFor(100);
    qint64 longest = 0;
    int copied = 0;
    for (auto _ : state) {
        const qint64 wait = LongestWaitDuring(
            form.Document(),
            [window] {
                Find<QAction>(window, "SelectAll1")->trigger();
                Find<QAction>(window, "CopySelection1")->trigger();
            },
            0);
        longest = std::max(longest, wait);
        copied = static_cast<int>(platform.clipboardText.count(QLatin1Char('\n')));
        platform.clipboardText.clear();
    }
    if (copied != kSamples + 2) {
        state.SkipWithError("the rows were not copied");
    }
    state.counters["longest_wait_ms"] = static_cast<double>(longest);
}
BENCHMARK(CopyAMillionRowsFromDetailedData)->Unit(benchmark::kMillisecond)->Iterations(2);

// "Import Data" of one file of a million samples, off the window's thread, until the
// records and their charts are in place.
void ImportAMillionSamples(benchmark::State& state) {
    QTemporaryDir folder;
    FixedAnswers platform;
    platform.files = {WriteLongRecord(folder)};
    TForm1 form(platform);
    form.Document().Work().SetMode(BackgroundWork::Mode::Threaded);
    form.show();
    ProcessEventsFor(200);
    auto* button = Find<QPushButton>(form.findChild<RecordsPage*>(), "btn1");
    for (auto _ : state) {
        button->click();
        auto* dialog = form.findChild<TForm2*>();
        Find<QLineEdit>(dialog, "edt1")->setText(QStringLiteral("0.005"));
        Find<QPushButton>(dialog, "btn1")->click();
        form.Document().Work().WaitForFinished();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    if (form.Document().Records().Count() != 1 ||
        form.Document().Records().At(0).SampleCount() != kSamples) {
        state.SkipWithError("the record was not imported");
    }
    state.SetItemsProcessed(state.iterations() * kSamples);
}
BENCHMARK(ImportAMillionSamples)->Unit(benchmark::kMillisecond)->Iterations(3);

// "Analyze and Refresh" with nine damping values on a million samples: the longest time the
// event loop could not answer (a 5 ms timer's longest gap) from the click until the result is
// drawn, and the analysis' wall time (with 200 ms of drawing time after it).
void EventLoopLatencyDuringNineDampingAnalysis(benchmark::State& state) {
    FixedAnswers platform;
    TForm1 form(platform);
    form.Document().Work().SetMode(BackgroundWork::Mode::Threaded);
    LoadLongRecord(form.Document());
    form.show();
    ProcessEventsFor(500);
    // The user clicks on the spectra page, which shows the result when the work ends.
    auto* page = form.findChild<SpectraPage*>();
    Find<QTabWidget>(&form, "pgc1")->setCurrentWidget(page);
    ProcessEventsFor(200);
    Find<QComboBox>(page, "cbb6")->setCurrentIndex(8);
    qint64 longest = 0;
    for (auto _ : state) {
        // Drawing the result and filling the tables count too.
        const qint64 wait = LongestWaitDuring(
            form.Document(), [page] { Find<QPushButton>(page, "btn11")->click(); }, 200);
        longest = std::max(longest, wait);
    }
    if (form.Document().Spectra().dampingRatios.size() != 9) {
        state.SkipWithError("the analysis did not finish");
    }
    state.counters["longest_wait_ms"] = static_cast<double>(longest);
}
BENCHMARK(EventLoopLatencyDuringNineDampingAnalysis)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

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
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
