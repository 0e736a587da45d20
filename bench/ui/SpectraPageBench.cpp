// "Analyze and Refresh" on the spectra page: nine damping values, the default periods, a
// 12,000-sample record at 0.005 s, including the chart and the five result tables.
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QChartView>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTabWidget>
#include <cmath>
#include <memory>

#include "core/records/TimeHistory.h"
#include "ui/app/PlatformServices.h"
#include "ui/app/StringGrid.h"
#include "ui/figures/FigureView.h"
#include "ui/frame/MainWindow.h"
#include "ui/spectra/SpectraPage.h"

namespace {

constexpr int kSamples = 12000;
constexpr double kTimeStep = 0.005;

class SilentPlatform final : public PlatformServices {
  public:
    void ShowMessage(QWidget*, MessageKind, const QString&) override {}
    QStringList ChooseRecordFiles(QWidget*, const QString&) override { return {}; }
    QString ChooseFolder(QWidget*, const QString&) override { return {}; }
    void SetClipboardText(const QString&) override {}
    void OpenWebPage(const QUrl&) override {}
    bool Confirm(QWidget*, const QString&) override { return true; }
};

// A decaying two-tone motion of 60 s.
std::unique_ptr<travik::TimeHistory> LongRecord() {
    auto record = std::make_unique<travik::TimeHistory>("long.txt", kTimeStep);
    for (int i = 0; i < kSamples; ++i) {
        const double t = i * kTimeStep;
        record->AppendAcceleration(0.3 * std::exp(-0.05 * t) *
                                   (std::sin(6.0 * t) + 0.4 * std::sin(17.0 * t)));
    }
    travik::IntegrateMotion(*record, 980.0, travik::MotionSet::Raw);
    record->SetIntegrated(true);
    return record;
}

void AnalyzeAndRefreshNineDampingValues(benchmark::State& state) {
    SilentPlatform platform;
    TForm1 form(platform);
    travik::RecordList records;
    records.Append(LongRecord());
    form.Document().ReplaceRecords(std::move(records));
    auto* page = form.findChild<SpectraPage*>();
    page->findChild<QComboBox*>(QStringLiteral("cbb4"))->setCurrentIndex(0);
    page->findChild<QComboBox*>(QStringLiteral("cbb6"))->setCurrentIndex(8);
    auto* analyse = page->findChild<QPushButton*>(QStringLiteral("btn11"));
    auto* chart = page->findChild<travik::figures::FigureView*>(QStringLiteral("cht4"));
    const bool shown = state.range(0) != 0;
    if (shown) {
        form.show();
        form.findChild<QTabWidget*>(QStringLiteral("pgc1"))->setCurrentIndex(1);
        QCoreApplication::processEvents();
    }
    // Loading the record also draws it on the records page; that is not part of the
    // analysis timed here.
    QCoreApplication::processEvents();
    for (auto _ : state) {
        analyse->click();
        // The chart rescales once control returns to the event loop.
        QCoreApplication::processEvents();
        if (shown) {
            chart->viewport()->repaint();
        }
    }
    state.counters["rows"] =
        static_cast<double>(page->findChild<StringGrid*>(QStringLiteral("strngrd5"))->RowCount());
}

BENCHMARK(AnalyzeAndRefreshNineDampingValues)
    ->ArgName("shown")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    // A benchmark needs no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    QLocale english(QLocale::English, QLocale::UnitedStates);
    english.setNumberOptions(QLocale::OmitGroupSeparator);
    QLocale::setDefault(english);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
