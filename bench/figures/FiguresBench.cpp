// Targets: redrawing the spectrum chart after switching axes (9 curves of 300 points with
// shading) under 30 ms; "Checked records" with 50 records of 16,000 samples, 5 % damping
// and the default settings, analysed and drawn, under 2 s on two cores.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QGraphicsLayout>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <memory>

#include "core/analysis/PeriodList.h"
#include "core/analysis/SpectraComputation.h"
#include "ui/figures/SpectrumFigures.h"

namespace {

using namespace travik;
using namespace travik::figures;

TimeHistory Motion(int seed, int samples, double dt) {
    TimeHistory record("record" + std::to_string(seed) + ".txt", dt);
    for (int i = 0; i < samples; ++i) {
        const double t = i * dt;
        record.AppendAcceleration(0.2 * std::exp(-0.04 * t) *
                                  (std::sin((4.0 + seed * 0.1) * t) + 0.5 * std::sin(15.0 * t)));
    }
    return record;
}

std::vector<double> DefaultPeriods() {
    const AnalysisSettings settings;
    return settings.Periods();
}

// What the chart view does after the axis lists change: build the figure and the chart,
// lay it out at the view's size and paint it.
void DrawOnce(QChartView& view, const std::vector<SpectrumCurve>& curves,
              const SpectrumChartOptions& options, QImage& canvas) {
    QChart* chart = BuildChart(SpectrumChart(curves, options));
    QChart* old = view.chart();
    view.setChart(chart);
    delete old;
    chart->resize(view.size());
    chart->layout()->activate();
    QPainter painter(&canvas);
    view.render(&painter);
}

void BM_RedrawAfterAxisSwitch(benchmark::State& state) {
    const TimeHistory record = Motion(1, 4000, 0.01);
    std::vector<double> dampings = {0.01, 0.02, 0.03, 0.05, 0.07, 0.1, 0.15, 0.2, 0.3};
    const std::vector<double> periods = DefaultPeriods();  // 300 periods and the period 0
    const SpectraResult result = ComputeSpectra(record, AnalysisSettings{}, dampings, periods);
    std::vector<SpectrumCurve> curves;
    for (std::size_t d = 0; d < dampings.size(); ++d) {
        curves.push_back(CurveOfResult(result, d, '.'));
    }
    AnalysisSettings newmark;
    newmark.method = IntegrationMethod::Newmark;
    SpectrumChartOptions options;
    options.bands = UntrustedPeriodBands({0.01, 4000, 0.1}, newmark);
    QChartView view;
    view.resize(1000, 650);
    QImage canvas(view.size(), QImage::Format_ARGB32_Premultiplied);
    // 0 linear, 1 log-log, 2 tripartite, 3 ADRS.
    const int mode = static_cast<int>(state.range(0));
    options.xScale = options.yScale = mode == 1 ? AxisScale::Log : AxisScale::Linear;
    options.plot = mode == 2   ? SpectrumPlot::Tripartite
                   : mode == 3 ? SpectrumPlot::Adrs
                               : SpectrumPlot::Choice;
    for (auto _ : state) {
        DrawOnce(view, curves, options, canvas);
    }
}
BENCHMARK(BM_RedrawAfterAxisSwitch)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void BM_CheckedRecordsFiftyBySixteenThousand(benchmark::State& state) {
    std::vector<TimeHistory> records;
    for (int i = 0; i < 50; ++i) {
        records.push_back(Motion(i, 16000, 0.005));
    }
    std::vector<const TimeHistory*> pointers;
    for (const TimeHistory& r : records) {
        pointers.push_back(&r);
    }
    const std::vector<double> periods = DefaultPeriods();
    QChartView view;
    view.resize(1000, 650);
    QImage canvas(view.size(), QImage::Format_ARGB32_Premultiplied);
    StatisticsChoice show;
    show.meanPlusMinusSigma = true;
    for (auto _ : state) {
        const SuiteSpectra suite = ComputeSuiteSpectra(pointers, AnalysisSettings{}, 0.05, periods);
        DrawOnce(view, CurvesOfSuite(suite, show), SpectrumChartOptions{}, canvas);
    }
}
BENCHMARK(BM_CheckedRecordsFiftyBySixteenThousand)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
