// Rotated spectra of a 16,396-sample pair (RSN 8883, dt 0.005 s) at PEER's 111 periods, one
// damping value, one thread, beside the two single-component spectra at the same periods
// and sub-steps (by the vector batch and by the one-oscillator integrator). The argument is
// the largest sub-step as a thousandth of the period. BM_RotatedOverTwoSingleComponents
// times both side by side, alternating, in thread CPU time, and reports their ratio.
#include <benchmark/benchmark.h>

#include <time.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/analysis/OscillatorIntegrators.h"
#include "core/rotation/RotatedSpectra.h"

namespace travik {
namespace {

std::vector<double> LoadColumn(const std::string& name) {
    std::ifstream in(std::string(TRAVIK_TEST_DATA_DIR) + "/" + name);
    std::vector<double> values;
    double value = 0;
    while (in >> value) {
        values.push_back(value);
    }
    return values;
}

std::vector<double> PeerPeriods() {
    std::ifstream in(std::string(TRAVIK_TEST_DATA_DIR) + "/peer-chinohills-rsn8883-spectra.csv");
    std::vector<double> periods;
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        periods.push_back(std::stod(line.substr(0, line.find(','))));
    }
    return periods;
}

TimeHistory Record(const std::string& name) {
    TimeHistory record(name, 0.005);
    for (const double sample : LoadColumn(name)) {
        record.AppendAcceleration(sample);
    }
    return record;
}

struct Pair {
    TimeHistory h1 = Record("peer-chinohills-rsn8883-360.txt");
    TimeHistory h2 = Record("peer-chinohills-rsn8883-090.txt");
    std::vector<double> periods = PeerPeriods();
};

const Pair& ThePair() {
    static const Pair pair;
    return pair;
}

AnalysisSettings Settings(const benchmark::State& state) {
    AnalysisSettings settings;
    settings.maxDtOverT = static_cast<double>(state.range(0)) / 1000.0;
    return settings;
}

void Rotated(const Pair& pair, const AnalysisSettings& settings) {
    RotatedSpectraOptions options;
    options.dampingRatios = {0.05};
    options.periods = pair.periods;
    options.threads = 1;
    benchmark::DoNotOptimize(ComputeRotatedSpectra(settings, pair.h1, pair.h2, options));
}

void TwoSingleComponents(const Pair& pair, const AnalysisSettings& settings) {
    BatchOptions batch;
    batch.threads = 1;
    for (const TimeHistory* record : {&pair.h1, &pair.h2}) {
        std::vector<OscillatorRun> runs;
        for (const double period : pair.periods) {
            runs.push_back({0.05, period});
        }
        ComputeOscillatorPeaksBatch(settings, *record, settings.g, settings.maxDtOverT, false,
                                    settings.method, runs, batch);
        benchmark::DoNotOptimize(runs.data());
    }
}

void BM_RotatedSpectra(benchmark::State& state) {
    const AnalysisSettings settings = Settings(state);
    for (auto _ : state) {
        Rotated(ThePair(), settings);
    }
}

void BM_TwoSingleComponentBatches(benchmark::State& state) {
    const AnalysisSettings settings = Settings(state);
    for (auto _ : state) {
        TwoSingleComponents(ThePair(), settings);
    }
}

double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Both jobs in turn within each iteration, so that whatever else the machine runs weighs on
// both alike; the counters give each one's CPU milliseconds per job and their ratio.
void BM_RotatedOverTwoSingleComponents(benchmark::State& state) {
    const AnalysisSettings settings = Settings(state);
    double rotated = 0;
    double single = 0;
    for (auto _ : state) {
        const double start = ThreadSeconds();
        Rotated(ThePair(), settings);
        const double middle = ThreadSeconds();
        TwoSingleComponents(ThePair(), settings);
        rotated += middle - start;
        single += ThreadSeconds() - middle;
    }
    const auto jobs = static_cast<double>(state.iterations());
    state.counters["rotated_ms"] = rotated / jobs * 1e3;
    state.counters["single_ms"] = single / jobs * 1e3;
    state.counters["ratio"] = rotated / single;
}

void BM_TwoSingleComponentOneByOne(benchmark::State& state) {
    const Pair& pair = ThePair();
    const AnalysisSettings settings = Settings(state);
    for (auto _ : state) {
        for (const TimeHistory* record : {&pair.h1, &pair.h2}) {
            for (const double period : pair.periods) {
                double sd = 0, sv = 0, sa = 0;
                ComputeOscillatorPeaks(settings, *record, settings.g, settings.maxDtOverT, 0.05,
                                       period, sd, sv, sa, false, settings.method);
                benchmark::DoNotOptimize(sd);
            }
        }
    }
}

BENCHMARK(BM_RotatedSpectra)->Arg(100)->Arg(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TwoSingleComponentBatches)->Arg(100)->Arg(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TwoSingleComponentOneByOne)->Arg(100)->Arg(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RotatedOverTwoSingleComponents)->Arg(100)->Arg(20)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace travik

BENCHMARK_MAIN();
