// Speed of the oscillator integrators and of whole spectra, against a plain port.
#include <benchmark/benchmark.h>

#include <vector>

#include "PlainSpectrum.h"
#include "core/analysis/OscillatorIntegrators.h"
#include "core/analysis/PeriodList.h"
#include "core/analysis/SpectraComputation.h"

namespace travik {
namespace {

// The standard workload: 4000 samples at 0.01 s, damping 5, 10, 15, 20 and 30 %, the
// default 300 periods: 7.7 million oscillator steps.
constexpr int kSamples = 4000;
constexpr double kTimeStep = 0.01;
const std::vector<double> kDampings = {0.05, 0.1, 0.15, 0.2, 0.3};

TimeHistory BenchRecord() {
    TimeHistory record("bench.txt", kTimeStep);
    for (const double sample : bench::SyntheticRecord(kSamples)) {
        record.AppendAcceleration(sample);
    }
    return record;
}

std::vector<double> DefaultPeriods() {
    return BuildPeriodList(0.02, 6, 0.02);
}

double StepsOf(const std::vector<double>& periods) {
    double steps = 0;
    for (std::size_t k = 1; k < periods.size(); ++k) {
        steps += (kSamples - 1) * static_cast<int>(kTimeStep / (periods[k] * 0.02) + 1);
    }
    return steps * static_cast<double>(kDampings.size());
}

void OscillatorPeaks(benchmark::State& state, IntegrationMethod method) {
    const TimeHistory record = BenchRecord();
    const double period = static_cast<double>(state.range(0)) / 100;
    const AnalysisSettings settings;
    double sd = 0, sv = 0, sa = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ComputeOscillatorPeaks(settings, record, 980, 0.02, 0.05, period,
                                                        sd, sv, sa, false, method));
    }
    const int n = static_cast<int>(kTimeStep / (period * 0.02) + 1);
    state.counters["steps/s"] = benchmark::Counter(static_cast<double>((kSamples - 1) * n),
                                                   benchmark::Counter::kIsIterationInvariantRate);
}

void BM_OscillatorPeaksExact(benchmark::State& state) {
    OscillatorPeaks(state, IntegrationMethod::PiecewiseExact);
}
BENCHMARK(BM_OscillatorPeaksExact)->Arg(2)->Arg(100);

void BM_OscillatorPeaksNewmark(benchmark::State& state) {
    OscillatorPeaks(state, IntegrationMethod::Newmark);
}
BENCHMARK(BM_OscillatorPeaksNewmark)->Arg(2)->Arg(100);

void BM_PlainPortOscillatorPeaks(benchmark::State& state) {
    const std::vector<double> samples = bench::SyntheticRecord(kSamples);
    const double period = static_cast<double>(state.range(0)) / 100;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            bench::PlainOscillatorPeaks(samples, kTimeStep, 980, 0.02, 0.05, period));
    }
}
BENCHMARK(BM_PlainPortOscillatorPeaks)->Arg(2)->Arg(100);

void BM_WholeSpectrumPlainPort(benchmark::State& state) {
    const std::vector<double> samples = bench::SyntheticRecord(kSamples);
    const std::vector<double> periods = DefaultPeriods();
    for (auto _ : state) {
        for (const double zeta : kDampings) {
            for (std::size_t k = 1; k < periods.size(); ++k) {
                benchmark::DoNotOptimize(
                    bench::PlainOscillatorPeaks(samples, kTimeStep, 980, 0.02, zeta, periods[k]));
            }
        }
    }
    state.counters["steps/s"] =
        benchmark::Counter(StepsOf(periods), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_WholeSpectrumPlainPort)->Unit(benchmark::kMillisecond);

void WholeSpectrum(benchmark::State& state, IntegrationMethod method) {
    const TimeHistory record = BenchRecord();
    AnalysisSettings settings;
    settings.method = method;
    const std::vector<double> periods = DefaultPeriods();
    for (auto _ : state) {
        const SpectraResult result = ComputeSpectra(record, settings, kDampings, periods);
        benchmark::DoNotOptimize(result.columns.data());
    }
    state.counters["steps/s"] =
        benchmark::Counter(StepsOf(periods), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_WholeSpectrumAnalysis(benchmark::State& state) {
    WholeSpectrum(state, IntegrationMethod::PiecewiseExact);
}
BENCHMARK(BM_WholeSpectrumAnalysis)->Unit(benchmark::kMillisecond);

void BM_WholeSpectrumAnalysisNewmark(benchmark::State& state) {
    WholeSpectrum(state, IntegrationMethod::Newmark);
}
BENCHMARK(BM_WholeSpectrumAnalysisNewmark)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace travik

BENCHMARK_MAIN();
