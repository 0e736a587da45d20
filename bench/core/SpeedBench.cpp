// The spectra at the machine's limit, measured side by side in one run:
//  - the standard job (4,000 samples at 0.01 s, the 300 default periods, damping 5, 10, 15,
//    20 and 30 %) by the previous scalar batch, by the vector kernels on each instruction
//    set, and by a hand-written AVX-512 layout of the same arithmetic, on one thread;
//  - the standard job on one and two threads;
//  - nine damping values on a record of 10^6 samples at 0.005 s with every core;
//  - a 10^7-sample record file imported, integrated and parabolic-corrected.
// Every layout's numbers are checked bit for bit against the one-oscillator code first.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ArithmeticBound.h"
#include "HandWrittenAvx512.h"
#include "PlainSpectrum.h"
#include "PreviousBatch.h"
#include "core/analysis/OscillatorIntegrators.h"
#include "core/analysis/OscillatorKernels.h"
#include "core/analysis/OscillatorStreams.h"
#include "core/analysis/PeriodList.h"
#include "core/analysis/SpectraComputation.h"
#include "core/export/ReportHeader.h"
#include "core/export/SpectraReport.h"
#include "core/records/CorrectedSet.h"
#include "core/records/FreeFormatReader.h"
#include "core/records/RecordFileReader.h"

namespace travik {
namespace {

constexpr double kG = 980.0;
const std::vector<double> kStandardDampings = {0.05, 0.1, 0.15, 0.2, 0.3};
const std::vector<double> kNineDampings = {0.0, 0.02, 0.03, 0.05, 0.07, 0.1, 0.15, 0.2, 0.3};
const std::vector<double> kOneDamping = {0.05};
const std::vector<double> kTwoDampings = {0.02, 0.05};

// The damping set of a benchmark argument: 5 for the standard five values, else 1 or 2.
const std::vector<double>& Dampings(std::int64_t count) {
    return count == 1 ? kOneDamping : count == 2 ? kTwoDampings : kStandardDampings;
}

TimeHistory Record(int samples, double timeStep) {
    TimeHistory record("bench.txt", timeStep);
    for (const double sample : bench::SyntheticRecord(samples)) {
        record.AppendAcceleration(sample);
    }
    return record;
}

std::vector<double> DefaultPeriods() {
    return BuildPeriodList(0.02, 6, 0.02);
}

std::vector<OscillatorRun> Runs(const std::vector<double>& dampings,
                                const std::vector<double>& periods) {
    std::vector<OscillatorRun> runs;
    for (const double zeta : dampings) {
        for (std::size_t k = 1; k < periods.size(); ++k) {
            runs.push_back({zeta, periods[k]});
        }
    }
    return runs;
}

// Oscillator sub-steps of a job (the work whatever the layout).
double StepsOf(const TimeHistory& record, const std::vector<OscillatorRun>& runs) {
    double steps = 0;
    for (const OscillatorRun& run : runs) {
        steps += (record.SampleCount() - 1) *
                 static_cast<int>(record.TimeStep() / (run.period * 0.02) + 1);
    }
    return steps;
}

bool SameBits(double x, double y) {
    return std::bit_cast<std::uint64_t>(x) == std::bit_cast<std::uint64_t>(y);
}

// The one-oscillator code's values of every run.
std::vector<OscillatorRun> Reference(const TimeHistory& record, std::vector<OscillatorRun> runs) {
    const AnalysisSettings settings;
    for (OscillatorRun& run : runs) {
        run.computed =
            ComputeOscillatorPeaks(settings, record, kG, 0.02, run.dampingRatio, run.period, run.sd,
                                   run.sv, run.sa, false, IntegrationMethod::PiecewiseExact);
    }
    return runs;
}

bool SameAsReference(const std::vector<OscillatorRun>& reference,
                     const std::vector<OscillatorRun>& runs) {
    for (std::size_t k = 0; k < runs.size(); ++k) {
        if (!SameBits(reference[k].sd, runs[k].sd) || !SameBits(reference[k].sv, runs[k].sv) ||
            !SameBits(reference[k].sa, runs[k].sa)) {
            return false;
        }
    }
    return true;
}

void SetRate(benchmark::State& state, double steps) {
    state.counters["steps/s"] =
        benchmark::Counter(steps, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_StandardJobPreviousBatch(benchmark::State& state) {
    const TimeHistory record = Record(4000, 0.01);
    std::vector<OscillatorRun> runs = Runs(Dampings(state.range(0)), DefaultPeriods());
    const std::vector<OscillatorRun> reference = Reference(record, runs);
    const AnalysisSettings settings;
    for (auto _ : state) {
        bench::PreviousOscillatorPeaksBatch(settings, record, kG, 0.02, false,
                                            IntegrationMethod::PiecewiseExact, runs);
        benchmark::DoNotOptimize(runs.data());
    }
    if (!SameAsReference(reference, runs)) {
        state.SkipWithError("digits differ from the one-oscillator code");
    }
    SetRate(state, StepsOf(record, runs));
}

// The vector kernels on one instruction set (0: the automatic choice), with at most
// `vectors` in flight (0: the instruction set's own choice), on `threads`.
void StandardJobKernels(benchmark::State& state, std::int64_t target, std::size_t vectors,
                        int threads) {
    kernels::UseKernelTarget(target);
    kernels::UseVectorsInFlight(vectors);
    const TimeHistory record = Record(4000, 0.01);
    std::vector<OscillatorRun> runs = Runs(Dampings(state.range(0)), DefaultPeriods());
    const std::vector<OscillatorRun> reference = Reference(record, runs);
    const AnalysisSettings settings;
    BatchOptions options;
    options.threads = threads;
    for (auto _ : state) {
        ComputeOscillatorPeaksBatch(settings, record, kG, 0.02, false,
                                    IntegrationMethod::PiecewiseExact, runs, options);
        benchmark::DoNotOptimize(runs.data());
    }
    kernels::UseKernelTarget(0);
    kernels::UseVectorsInFlight(0);
    if (!SameAsReference(reference, runs)) {
        state.SkipWithError("digits differ from the one-oscillator code");
    }
    SetRate(state, StepsOf(record, runs));
}

void BM_StandardJobHandWrittenAvx512(benchmark::State& state) {
    const TimeHistory record = Record(4000, 0.01);
    const std::vector<double> periods = DefaultPeriods();
    const std::vector<double> positive(periods.begin() + 1, periods.end());
    const std::vector<double>& dampings = Dampings(state.range(0));
    std::vector<OscillatorRun> runs = Runs(dampings, periods);
    const std::vector<OscillatorRun> reference = Reference(record, runs);
    std::vector<bench::HandPeaks> peaks;
    for (auto _ : state) {
        if (!bench::HandWrittenAvx512Spectra(record.RawAcceleration(), 0.01, kG, 0.02, dampings,
                                             positive, peaks)) {
            state.SkipWithError("this processor has no AVX-512");
            return;
        }
        benchmark::DoNotOptimize(peaks.data());
    }
    for (std::size_t k = 0; k < runs.size(); ++k) {
        runs[k].sd = peaks[k].sd;
        runs[k].sv = peaks[k].sv;
        runs[k].sa = peaks[k].sa;
    }
    if (!SameAsReference(reference, runs)) {
        state.SkipWithError("digits differ from the one-oscillator code");
    }
    SetRate(state, StepsOf(record, runs));
}
// Argument: how many damping values (5: the standard job; 1 and 2: few oscillators per
// sub-step count).
// The arithmetic bound of the piecewise-exact step on this machine: the kernels' very
// instruction mix (10 multiplies, 7 adds, 3 absolute values and 3 maxima per 8 lanes) on
// eight independent vectors, so that no chain of dependent operations makes the arithmetic
// units wait. The kernels' share of this rate is what latency leaves them.
void BM_ArithmeticBoundAvx512(benchmark::State& state) {
    constexpr std::int64_t kSteps = 1 << 20;
    bench::BoundResult result;
    for (auto _ : state) {
        result = bench::ExactStepThroughputAvx512(kSteps);
        if (!result.ran) {
            state.SkipWithError("this processor has no AVX-512");
            return;
        }
        benchmark::DoNotOptimize(result.checksum);
    }
    SetRate(state, static_cast<double>(kSteps) * result.lanesPerStep);
}
BENCHMARK(BM_ArithmeticBoundAvx512)->Unit(benchmark::kMillisecond);

// Seconds of this thread's processor time: on a shared machine, what the work itself took.
double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : 0.5 * (values[middle - 1] + values[middle]);
}

// The standard job's share of the arithmetic bound, with the groups advanced as streams and
// each by itself, side by side: every iteration times the bound's throughput loop and both
// layouts back to back on one thread (processor time of the thread), and the counters are
// the medians of the rates and of each layout's rate over the bound measured beside it.
void BM_StandardJobShareOfBound(benchmark::State& state) {
    constexpr std::int64_t kBoundSteps = 1 << 18;
    const TimeHistory record = Record(4000, 0.01);
    std::vector<OscillatorRun> runs = Runs(Dampings(state.range(0)), DefaultPeriods());
    const std::vector<OscillatorRun> reference = Reference(record, runs);
    const double steps = StepsOf(record, runs);
    const AnalysisSettings settings;
    BatchOptions options;
    options.threads = 1;
    std::vector<double> bound, alone, streams, shareAlone, shareStreams;
    bool same = true;
    const auto job = [&](bool useStreams) {
        kernels::UseStreams(useStreams);
        const double begin = ThreadSeconds();
        ComputeOscillatorPeaksBatch(settings, record, kG, 0.02, false,
                                    IntegrationMethod::PiecewiseExact, runs, options);
        const double rate = steps / (ThreadSeconds() - begin);
        same = same && SameAsReference(reference, runs);
        return rate;
    };
    for (auto _ : state) {
        double begin = ThreadSeconds();
        const bench::BoundResult result = bench::ExactStepThroughputAvx512(kBoundSteps);
        if (!result.ran) {
            state.SkipWithError("this processor has no AVX-512");
            return;
        }
        benchmark::DoNotOptimize(result.checksum);
        bound.push_back(static_cast<double>(kBoundSteps) * result.lanesPerStep /
                        (ThreadSeconds() - begin));
        alone.push_back(job(false));
        streams.push_back(job(true));
        shareAlone.push_back(alone.back() / bound.back());
        shareStreams.push_back(streams.back() / bound.back());
    }
    kernels::UseStreams(true);
    if (!same) {
        state.SkipWithError("digits differ from the one-oscillator code");
    }
    state.counters["bound_Gsteps/s"] = Median(bound) * 1e-9;
    state.counters["groups_alone_Gsteps/s"] = Median(alone) * 1e-9;
    state.counters["streams_Gsteps/s"] = Median(streams) * 1e-9;
    state.counters["share_groups_alone"] = Median(shareAlone);
    state.counters["share_streams"] = Median(shareStreams);
}
// Argument: the damping values, as for the kernels below (5: the standard job).
BENCHMARK(BM_StandardJobShareOfBound)
    ->Arg(5)
    ->Arg(1)
    ->Arg(2)
    ->Iterations(21)
    ->Unit(benchmark::kMillisecond);

// The kernels where every group shares one sub-step count: 32 periods at each count from
// 1 to the argument's (5 damping values), on the automatic choice of instruction set.
void BM_UniformGroupsKernels(benchmark::State& state) {
    const TimeHistory record = Record(4000, 0.01);
    std::vector<double> periods = {0.0};
    const int largest = static_cast<int>(state.range(0));
    for (int n = 1; n <= largest; ++n) {
        // dt / (0.02 T) + 1 = n + 0.5 gives n sub-steps, away from the rounding edge.
        const double base = 0.01 / (0.02 * (static_cast<double>(n) - 0.5));
        for (int k = 0; k < 32; ++k) {
            periods.push_back(base * (1.0 - 0.001 * k));
        }
    }
    std::vector<OscillatorRun> runs = Runs({0.05}, periods);
    const AnalysisSettings settings;
    BatchOptions batch;
    batch.threads = 1;
    for (auto _ : state) {
        ComputeOscillatorPeaksBatch(settings, record, kG, 0.02, false,
                                    IntegrationMethod::PiecewiseExact, runs, batch);
        benchmark::DoNotOptimize(runs.data());
    }
    SetRate(state, StepsOf(record, runs));
}
BENCHMARK(BM_UniformGroupsKernels)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_StandardJobHandWrittenAvx512)->Arg(5)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StandardJobPreviousBatch)->Arg(5)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// Whole spectra (the five column sets) of the standard job on `threads` threads.
void BM_StandardJobSpectraThreads(benchmark::State& state) {
    const TimeHistory record = Record(4000, 0.01);
    const std::vector<double> periods = DefaultPeriods();
    BatchOptions options;
    options.threads = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const SpectraResult result =
            ComputeSpectra(record, AnalysisSettings{}, kStandardDampings, periods, options);
        benchmark::DoNotOptimize(result.columns.data());
    }
    SetRate(state, StepsOf(record, Runs(kStandardDampings, periods)));
}
// Fifteen repetitions, reported with their median and best: the second core of a virtual
// machine is sometimes slow to wake, and other work on the machine only ever adds time.
BENCHMARK(BM_StandardJobSpectraThreads)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(15)
    ->ComputeStatistics("best",
                        [](const std::vector<double>& times) {
                            return *std::min_element(times.begin(), times.end());
                        })
    ->ReportAggregatesOnly(true);

void BM_NineDampingsMillionSamples(benchmark::State& state) {
    const TimeHistory record = Record(1000000, 0.005);
    const std::vector<double> periods = DefaultPeriods();
    BatchOptions options;
    options.threads = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const SpectraResult result =
            ComputeSpectra(record, AnalysisSettings{}, kNineDampings, periods, options);
        benchmark::DoNotOptimize(result.columns.data());
    }
    SetRate(state, StepsOf(record, Runs(kNineDampings, periods)));
}
BENCHMARK(BM_NineDampingsMillionSamples)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

// What `travik-cli spectra` does for the standard job besides starting and stopping:
// read the file, compute, build and write the report. The file is left in the temporary
// folder for bench/cli/cli_speed.py to time the command line on the very same record.
void BM_StandardJobReadComputeWrite(benchmark::State& state) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path();
    const std::filesystem::path path = folder / "travik-standard-job.txt";
    {
        std::ofstream out(path, std::ios::binary);
        char text[64];
        for (const double sample : bench::SyntheticRecord(4000)) {
            const std::to_chars_result end =
                std::to_chars(text, text + sizeof text, sample, std::chars_format::scientific, 9);
            *end.ptr = '\n';
            out.write(text, end.ptr + 1 - text);
        }
    }
    FreeFormatParameters parameters;
    parameters.timeStep = 0.01;
    const std::vector<double> periods = DefaultPeriods();
    BatchOptions options;
    options.threads = static_cast<int>(state.range(0));
    ReportLines lines;
    for (auto _ : state) {
        const ReadResult read = ReadFreeFormatFile(path.string(), parameters);
        const SpectraResult result =
            ComputeSpectra(*read.record, AnalysisSettings{}, kStandardDampings, periods, options);
        BuildSpectraReport(lines, *read.record, result, kSoftwareEdition, TodayLocalDate(),
                           nullptr);
        WriteReport(folder / "travik-standard-job_RS.csv", lines);
    }
}
BENCHMARK(BM_StandardJobReadComputeWrite)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A long record file imported (read, then integrated), parabolic-corrected and its corrected
// set integrated: what the records page does to it. The file is written once, beforehand.
void BM_ImportIntegrateAndCorrectTenMillionSamples(benchmark::State& state) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "travik-bench-ten-million.txt";
    {
        std::ofstream out(path, std::ios::binary);
        char text[64];
        for (const double sample : bench::SyntheticRecord(10000000)) {
            const std::to_chars_result end =
                std::to_chars(text, text + sizeof text, sample, std::chars_format::scientific, 9);
            *end.ptr = '\n';
            out.write(text, end.ptr + 1 - text);
        }
    }
    RecordReadOptions options;
    options.format = RecordFormat::Free;
    options.free.timeStep = 0.005;
    for (auto _ : state) {
        RecordList records;
        if (!ImportRecordFilesAs({path.string()}, options, kG, records, nullptr, nullptr)) {
            state.SkipWithError("the record file could not be read");
            break;
        }
        benchmark::DoNotOptimize(
            ApplyBaselineCorrection(records.At(0), BaselineCorrectionType::Parabolic, kG));
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_ImportIntegrateAndCorrectTenMillionSamples)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

}  // namespace
}  // namespace travik

int main(int argc, char** argv) {
    using travik::StandardJobKernels;
    benchmark::RegisterBenchmark(
        "BM_StandardJobKernels/auto/threads:1",
        [](benchmark::State& state) { StandardJobKernels(state, 0, 0, 1); })
        ->Arg(5)
        ->Arg(1)
        ->Arg(2)
        ->Unit(benchmark::kMillisecond);
    for (const travik::kernels::KernelTarget& target : travik::kernels::AvailableKernelTargets()) {
        const std::int64_t id = target.id;
        for (std::size_t vectors = 1; vectors <= 4; ++vectors) {
            benchmark::RegisterBenchmark(("BM_StandardJobKernels/" + target.name +
                                          "/vectors:" + std::to_string(vectors) + "/threads:1")
                                             .c_str(),
                                         [id, vectors](benchmark::State& state) {
                                             StandardJobKernels(state, id, vectors, 1);
                                         })
                ->Arg(5)
                ->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
