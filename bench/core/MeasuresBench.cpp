// Speed of the ground-motion measures and of Konno-Ohmachi smoothing.
#include <benchmark/benchmark.h>

#include <cmath>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/measures/FourierSpectrum.h"
#include "core/measures/GroundMotionMeasures.h"

namespace travik {
namespace {

// The first 16,000 samples (80 s at 0.005 s) of the Chino Hills 360 record.
TimeHistory SixteenThousandSamples() {
    std::ifstream in(std::string(TRAVIK_SAMPLE_DATA_DIR) + "/peer-chinohills-rsn8883-360.txt");
    TimeHistory record("peer-chinohills-rsn8883-360.txt", 0.005);
    double value = 0;
    while (record.SampleCount() < 16000 && in >> value) {
        record.AppendAcceleration(value);
    }
    return record;
}

// Every measure, with the 5 % spectrum on its 399 periods and the smoothed Fourier
// spectrum (16,384 points): the work of one record on the measures page.
void AllMeasuresOf16000Samples(benchmark::State& state) {
    const TimeHistory record = SixteenThousandSamples();
    if (record.SampleCount() != 16000) {
        state.SkipWithError("sample record not found");
        return;
    }
    const MeasureSettings settings;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ComputeGroundMotionMeasures(record, settings));
    }
}
BENCHMARK(AllMeasuresOf16000Samples)->Unit(benchmark::kMillisecond);

// Konno-Ohmachi smoothing (b = 40) of n / 2 FFT frequencies of a record of n samples at
// 0.01 s, amplitudes spread over four decades; reported per frequency, to show the cost
// growing like n (binning) plus bins^2 (at most 500 bins per decade), not like n^2.
void KonnoOhmachi(benchmark::State& state) {
    const std::size_t count = static_cast<std::size_t>(state.range(0)) / 2;
    std::vector<double> f(count);
    std::vector<double> a(count);
    std::mt19937 random(3);
    std::uniform_real_distribution<double> exponent(-2.0, 2.0);
    const double df = 1.0 / (static_cast<double>(state.range(0)) * 0.01);
    for (std::size_t k = 0; k < count; ++k) {
        f[k] = df * static_cast<double>(k + 1);
        a[k] = std::pow(10.0, exponent(random));
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(KonnoOhmachiSmooth(f, a, 40.0));
    }
    state.SetComplexityN(state.range(0));
    state.counters["ns_per_frequency"] = benchmark::Counter(
        static_cast<double>(count),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(KonnoOhmachi)
    ->RangeMultiplier(4)
    ->Range(1 << 14, 1 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

}  // namespace
}  // namespace travik

BENCHMARK_MAIN();
