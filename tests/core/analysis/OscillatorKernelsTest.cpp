// The vector kernels must give every value of the one-oscillator code to the last bit, on
// every instruction set compiled in that this processor runs, and whatever the threads.
#include "core/analysis/OscillatorKernels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdint>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "core/analysis/CalculationErrors.h"
#include "core/analysis/OscillatorIntegrators.h"
#include "core/analysis/OscillatorStreams.h"
#include "core/analysis/SpectraComputation.h"
#include "core/records/CorrectedSet.h"
#include "core/records/TimeHistory.h"

namespace travik {
namespace {

constexpr double kG = 980.0;

// `count` samples of a record of data/ (one value per line) from sample `first` on: the
// strong motion, short enough to keep the test quick even under a sanitizer.
TimeHistory SampleRecord(const std::string& fileName, double timeStep, std::size_t first,
                         std::size_t count) {
    std::ifstream in(std::string(TRAVIK_SAMPLE_DATA_DIR) + "/" + fileName);
    TimeHistory record(fileName, timeStep);
    double value = 0;
    for (std::size_t k = 0; k < first + count && in >> value; ++k) {
        if (k >= first) {
            record.AppendAcceleration(value);
        }
    }
    return record;
}

// Restores the automatic choice of instruction set however a test ends.
struct AutomaticTargetAfterwards {
    ~AutomaticTargetAfterwards() {
        kernels::UseKernelTarget(0);
        kernels::UseVectorsInFlight(0);
        kernels::UseStreams(true);
    }
};

struct Case {
    std::string name;
    IntegrationMethod method;
    AnalysisSettings settings;
    double maxDtOverT;
    std::vector<double> dampingRatios;
    std::vector<double> periods;
};

// Periods from 0.005 s (hundreds of sub-steps at 0.02 s) to 20 s (one), in an order that
// mixes sub-step counts inside groups.
const std::vector<double> kPeriods = {0.3,  0.005, 2.0,  0.013, 0.05, 1.0,  0.021, 0.1, 0.02,
                                      0.07, 5.0,   0.15, 0.04,  0.5,  0.03, 20.0,  0.2, 0.06,
                                      0.7,  0.011, 3.3,  0.09,  0.25, 0.45, 0.017};

std::vector<Case> Cases() {
    AnalysisSettings linearAcceleration;
    linearAcceleration.beta = 1.0 / 6.0;
    std::vector<Case> cases;
    // Many oscillators per sub-step count (full groups of one count) and few (mixed ones),
    // sub-stepped and not (a ratio of 10 gives one sub-step for every period here).
    cases.push_back({"exact, sub-stepped, five ratios",
                     IntegrationMethod::PiecewiseExact,
                     {},
                     0.02,
                     {0.0, 0.02, 0.05, 0.2, 0.7},
                     kPeriods});
    cases.push_back({"exact, sub-stepped, one ratio",
                     IntegrationMethod::PiecewiseExact,
                     {},
                     0.02,
                     {0.05},
                     kPeriods});
    cases.push_back({"exact, not sub-stepped",
                     IntegrationMethod::PiecewiseExact,
                     {},
                     10.0,
                     {0.01, 0.05, 0.3},
                     kPeriods});
    cases.push_back({"Newmark, sub-stepped, four ratios",
                     IntegrationMethod::Newmark,
                     {},
                     0.02,
                     {0.0, 0.05, 0.1, 0.9},
                     kPeriods});
    cases.push_back({"Newmark linear acceleration, one ratio",
                     IntegrationMethod::Newmark,
                     linearAcceleration,
                     0.05,
                     {0.02},
                     kPeriods});
    cases.push_back(
        {"Newmark, not sub-stepped", IntegrationMethod::Newmark, {}, 10.0, {0.05, 0.2}, kPeriods});
    return cases;
}

void ExpectSameBits(double expected, double actual, const char* what, const OscillatorRun& run) {
    EXPECT_EQ(std::bit_cast<std::uint64_t>(expected), std::bit_cast<std::uint64_t>(actual))
        << what << " of damping " << run.dampingRatio << ", period " << run.period << ": "
        << expected << " expected, " << actual << " computed";
}

void ExpectBatchEqualsOneAtATime(const TimeHistory& record, const Case& c,
                                 const BatchOptions& options) {
    std::vector<OscillatorRun> runs;
    for (const double zeta : c.dampingRatios) {
        for (const double period : c.periods) {
            runs.push_back({zeta, period});
        }
    }
    const bool corrected = record.IsCorrected();
    ASSERT_TRUE(ComputeOscillatorPeaksBatch(c.settings, record, kG, c.maxDtOverT, corrected,
                                            c.method, runs, options));
    for (const OscillatorRun& run : runs) {
        double sd = 0, sv = 0, sa = 0;
        const bool computed =
            ComputeOscillatorPeaks(c.settings, record, kG, c.maxDtOverT, run.dampingRatio,
                                   run.period, sd, sv, sa, corrected, c.method);
        ASSERT_TRUE(computed);
        ASSERT_TRUE(run.computed);
        ExpectSameBits(sd, run.sd, "Sd", run);
        ExpectSameBits(sv, run.sv, "Sv", run);
        ExpectSameBits(sa, run.sa, "Sa", run);
    }
}

std::vector<TimeHistory> Records() {
    std::vector<TimeHistory> records;
    records.push_back(SampleRecord("elcentro-1940-chopra-ns.txt", 0.02, 0, 400));
    records.push_back(SampleRecord("peer-chinohills-rsn8883-360.txt", 0.005, 5400, 400));
    TimeHistory corrected = SampleRecord("eqsig-test-motion.txt", 0.01, 1200, 400);
    EXPECT_TRUE(ApplyBaselineCorrection(corrected, BaselineCorrectionType::Parabolic, kG));
    records.push_back(std::move(corrected));
    return records;
}

TEST(OscillatorKernels, EveryInstructionSetGivesTheOneAtATimeDigitsOnRealRecords) {
    const AutomaticTargetAfterwards restore;
    const std::vector<kernels::KernelTarget> targets = kernels::AvailableKernelTargets();
    ASSERT_FALSE(targets.empty());
    const std::vector<TimeHistory> records = Records();
    BatchOptions oneThread;
    oneThread.threads = 1;
    for (const kernels::KernelTarget& target : targets) {
        kernels::UseKernelTarget(target.id);
        // The instruction set's own choice of vectors in flight, then each count forced:
        // groups of one to four vectors, uniform and mixed, must all keep every digit.
        for (const std::size_t vectors : {0, 1, 2, 3, 4}) {
            kernels::UseVectorsInFlight(vectors);
            ASSERT_GE(kernels::GroupWidth(), 1U);
            ASSERT_LE(kernels::GroupWidth(), kernels::kMaxGroupLanes);
            if (vectors != 0) {
                ASSERT_EQ(kernels::GroupWidth(), vectors * kernels::VectorLanes());
            }
            for (const TimeHistory& record : records) {
                for (const Case& c : Cases()) {
                    SCOPED_TRACE(target.name + ", " + std::to_string(vectors) + " vectors, " +
                                 record.SourceFileName() + ", " + c.name);
                    ExpectBatchEqualsOneAtATime(record, c, oneThread);
                }
            }
        }
    }
}

// The groups advanced each by itself, as they were before streams (and as the benchmark
// compares them), keep every digit too.
TEST(OscillatorKernels, GroupsAdvancedAloneGiveTheOneAtATimeDigits) {
    const AutomaticTargetAfterwards restore;
    kernels::UseStreams(false);
    const std::vector<TimeHistory> records = Records();
    BatchOptions oneThread;
    oneThread.threads = 1;
    for (const kernels::KernelTarget& target : kernels::AvailableKernelTargets()) {
        kernels::UseKernelTarget(target.id);
        for (const std::size_t vectors : {0, 1, 4}) {
            kernels::UseVectorsInFlight(vectors);
            for (const Case& c : Cases()) {
                SCOPED_TRACE(target.name + ", " + std::to_string(vectors) + " vectors, " + c.name);
                ExpectBatchEqualsOneAtATime(records[0], c, oneThread);
            }
        }
    }
}

// The period whose run at `timeStep` and `ratio` takes n sub-steps per sample:
// dt / (T ratio) + 1 = n + 0.5.
double PeriodOfSubSteps(int n, double timeStep, double ratio) {
    return timeStep / (ratio * (static_cast<double>(n) - 0.5));
}

// Streams cut the record into blocks of samples and deal vectors of every count up to the
// largest they take to a few streams: records that end just before, on and after a block's
// end (short blocks where many counts are present, long ones where few are), half-filled
// vectors of one count beside full ones, every count from 1 to one past the largest
// streamed, more streams than vectors, and counts streamed beside counts that are not.
TEST(OscillatorKernels, StreamsKeepTheDigitsAcrossBlockEndsAndEveryCount) {
    const AutomaticTargetAfterwards restore;
    ASSERT_TRUE(kernels::StreamsInUse());
    const double timeStep = 0.01;
    const double ratio = 0.02;
    const TimeHistory full = SampleRecord("eqsig-test-motion.txt", timeStep, 1200, 300);
    std::vector<Case> cases;
    // Streams take a count whose oscillators fill at least half of their vectors: four
    // damping values give four oscillators of each count, half a vector of eight lanes.
    const std::vector<double> fourRatios = {0.0, 0.02, 0.05, 0.2};
    std::vector<double> everyCount;
    for (int n = 1; n <= kernels::kMaxStreamSubSteps + 1; ++n) {
        everyCount.push_back(PeriodOfSubSteps(n, timeStep, ratio));
    }
    cases.push_back(
        {"every count", IntegrationMethod::PiecewiseExact, {}, ratio, fourRatios, everyCount});
    cases.push_back(
        {"every count, Newmark", IntegrationMethod::Newmark, {}, ratio, fourRatios, everyCount});
    // The most sub-steps streams take, in half a vector, beside many vectors of one.
    std::vector<double> loneLong = {PeriodOfSubSteps(kernels::kMaxStreamSubSteps, timeStep, ratio)};
    for (int k = 0; k < 90; ++k) {
        loneLong.push_back(0.6 + 0.05 * k);
    }
    cases.push_back({"one long beside many short",
                     IntegrationMethod::PiecewiseExact,
                     {},
                     ratio,
                     fourRatios,
                     loneLong});
    cases.push_back({"two vectors",
                     IntegrationMethod::PiecewiseExact,
                     {},
                     ratio,
                     fourRatios,
                     {PeriodOfSubSteps(3, timeStep, ratio), 2.0}});
    // Two damping values: the count with two periods fills half a vector of eight and is
    // streamed, the counts of one period each run in groups beside the streams.
    const double seven = PeriodOfSubSteps(7, timeStep, ratio);
    cases.push_back(
        {"some counts streamed, others not",
         IntegrationMethod::PiecewiseExact,
         {},
         ratio,
         {0.02, 0.05},
         {seven, seven * 1.01, PeriodOfSubSteps(3, timeStep, ratio),
          PeriodOfSubSteps(30, timeStep, ratio), PeriodOfSubSteps(70, timeStep, ratio), 1.5}});
    // Blocks of 16 samples for every count from 1 to 64 (2,080 sub-steps in all), of 256
    // for the others.
    ASSERT_EQ(kernels::StreamBlockSamples(64 * 65 / 2), 16U);
    ASSERT_EQ(kernels::StreamBlockSamples(64 + 1), 256U);
    for (const kernels::KernelTarget& target : kernels::AvailableKernelTargets()) {
        kernels::UseKernelTarget(target.id);
        for (const std::size_t samples : {2, 16, 17, 18, 33, 129, 256, 257, 258, 300}) {
            TimeHistory record("part.txt", timeStep);
            for (std::size_t k = 0; k < samples; ++k) {
                record.AppendAcceleration(full.RawAcceleration()[k]);
            }
            for (const std::size_t vectors : {0, 2, 3}) {
                kernels::UseVectorsInFlight(vectors);
                for (const Case& c : cases) {
                    SCOPED_TRACE(target.name + ", " + std::to_string(samples) + " samples, " +
                                 std::to_string(vectors) + " vectors, " + c.name);
                    BatchOptions options;
                    options.threads = 1;
                    ExpectBatchEqualsOneAtATime(record, c, options);
                }
            }
        }
    }
}

bool Offers(const std::vector<kernels::KernelTarget>& targets, const std::string& name) {
    return std::any_of(
        targets.begin(), targets.end(),
        [&name](const kernels::KernelTarget& target) { return target.name == name; });
}

#if defined(__x86_64__) || defined(__i386__)
// The program's own detection of instruction sets must agree with the compiler's run-time
// library, which asks the processor and the operating system independently.
TEST(OscillatorKernels, DetectsTheInstructionSetsTheCompilersRuntimeSees) {
    const std::vector<kernels::KernelTarget> targets = kernels::AvailableKernelTargets();
    const bool avx2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma") &&
                      __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2");
    const bool avx512 = avx2 && __builtin_cpu_supports("avx512f") &&
                        __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512dq") &&
                        __builtin_cpu_supports("avx512bw");
    EXPECT_EQ(Offers(targets, "AVX2"), avx2);
    EXPECT_EQ(Offers(targets, "AVX3"), avx512);
    EXPECT_EQ(Offers(targets, "SSE4"),
              __builtin_cpu_supports("sse4.2") && __builtin_cpu_supports("pclmul"));
    // The portable path is always there, and the best comes first.
    EXPECT_TRUE(Offers(targets, "EMU128") || Offers(targets, "SCALAR"));
    if (avx512) {
        EXPECT_EQ(targets.front().name, "AVX3");
    }
}
#endif

TEST(OscillatorKernels, ResultsDoNotDependOnTheThreadCount) {
    const TimeHistory record = SampleRecord("elcentro-1940-chopra-ns.txt", 0.02, 0, 400);
    for (const Case& c : Cases()) {
        for (const int threads : {2, 3, 7}) {
            SCOPED_TRACE(c.name + ", " + std::to_string(threads) + " threads");
            BatchOptions options;
            options.threads = threads;
            ExpectBatchEqualsOneAtATime(record, c, options);
        }
    }
}

TEST(OscillatorKernels, ProgressRisesToOneAndACancelledBatchComputesNothing) {
    const TimeHistory record = SampleRecord("elcentro-1940-chopra-ns.txt", 0.02, 0, 400);
    // Four damping values: counts of four oscillators or more run as streams, the others in
    // groups of their own; the report adds both up.
    std::vector<OscillatorRun> runs;
    for (const double zeta : {0.02, 0.05, 0.1, 0.2}) {
        for (const double period : kPeriods) {
            runs.push_back({zeta, period});
        }
    }
    const AnalysisSettings settings;

    std::vector<double> reported;
    BatchOptions options;
    options.threads = 2;
    options.progress = [&reported](double fraction) { reported.push_back(fraction); };
    EXPECT_TRUE(ComputeOscillatorPeaksBatch(settings, record, kG, 0.02, false,
                                            IntegrationMethod::PiecewiseExact, runs, options));
    ASSERT_FALSE(reported.empty());
    for (std::size_t k = 1; k < reported.size(); ++k) {
        EXPECT_GT(reported[k], reported[k - 1]);
    }
    EXPECT_DOUBLE_EQ(reported.back(), 1.0);

    const std::atomic<bool> cancel{true};
    options.cancel = &cancel;
    options.progress = nullptr;
    EXPECT_FALSE(ComputeOscillatorPeaksBatch(settings, record, kG, 0.02, false,
                                             IntegrationMethod::PiecewiseExact, runs, options));
    for (const OscillatorRun& run : runs) {
        EXPECT_FALSE(run.computed);
    }
}

// A thread keeps its batch's memory for the next batch. A batch started from another's
// progress report (on the watching thread, while helpers still advance the first one's
// groups) must plan in memory of its own; both give the one-at-a-time digits, and so does a
// smaller batch of the other method afterwards in the memory the first left.
TEST(OscillatorKernels, ABatchStartedFromAnothersProgressReportLeavesItsPlanAlone) {
    const TimeHistory record = SampleRecord("elcentro-1940-chopra-ns.txt", 0.02, 0, 400);
    const std::vector<Case> cases = Cases();
    const Case& outer = cases[0];
    const Case& inner = cases[3];
    ASSERT_EQ(inner.method, IntegrationMethod::Newmark);
    std::vector<OscillatorRun> runs;
    for (const double zeta : outer.dampingRatios) {
        for (const double period : outer.periods) {
            runs.push_back({zeta, period});
        }
    }
    BatchOptions watched;
    watched.threads = 2;
    bool nested = false;
    watched.progress = [&](double) {
        if (!nested) {
            nested = true;
            BatchOptions oneThread;
            oneThread.threads = 1;
            ExpectBatchEqualsOneAtATime(record, inner, oneThread);
        }
    };
    ASSERT_TRUE(ComputeOscillatorPeaksBatch(outer.settings, record, kG, outer.maxDtOverT, false,
                                            outer.method, runs, watched));
    EXPECT_TRUE(nested);
    for (const OscillatorRun& run : runs) {
        double sd = 0, sv = 0, sa = 0;
        ASSERT_TRUE(ComputeOscillatorPeaks(outer.settings, record, kG, outer.maxDtOverT,
                                           run.dampingRatio, run.period, sd, sv, sa, false,
                                           outer.method));
        ExpectSameBits(sd, run.sd, "Sd", run);
        ExpectSameBits(sv, run.sv, "Sv", run);
        ExpectSameBits(sa, run.sa, "Sa", run);
    }
    BatchOptions oneThread;
    oneThread.threads = 1;
    ExpectBatchEqualsOneAtATime(record, cases[4], oneThread);
}

// A run of many sub-steps per sample is one group that takes long by itself: the report moves
// on inside it, comes from the calling thread, and a cancel stops it part of the way through.
TEST(OscillatorKernels, ProgressMovesWithinALongGroupAndACancelStopsItThere) {
    const TimeHistory record = SampleRecord("elcentro-1940-chopra-ns.txt", 0.02, 0, 1500);
    const AnalysisSettings settings;
    // dt / (T ratio) + 1 = 40,001 sub-steps per sample for each of two oscillators.
    std::vector<OscillatorRun> runs = {{0.05, 0.5}, {0.1, 0.5}};
    std::vector<double> reported;
    const std::thread::id caller = std::this_thread::get_id();
    bool fromCaller = true;
    BatchOptions options;
    options.threads = 2;
    options.progress = [&](double fraction) {
        reported.push_back(fraction);
        fromCaller = fromCaller && std::this_thread::get_id() == caller;
    };
    ASSERT_TRUE(ComputeOscillatorPeaksBatch(settings, record, kG, 1e-6, false,
                                            IntegrationMethod::PiecewiseExact, runs, options));
    ASSERT_GE(reported.size(), 2u) << "the run takes a few tenths of a second";
    EXPECT_GT(reported.front(), 0.0);
    EXPECT_LT(reported.front(), 1.0);
    for (std::size_t k = 1; k < reported.size(); ++k) {
        EXPECT_GT(reported[k], reported[k - 1]);
    }
    EXPECT_EQ(reported.back(), 1.0);
    EXPECT_TRUE(fromCaller);

    std::atomic<bool> cancel{false};
    options.cancel = &cancel;
    reported.clear();
    options.progress = [&](double fraction) {
        reported.push_back(fraction);
        cancel.store(true);
    };
    EXPECT_FALSE(ComputeOscillatorPeaksBatch(settings, record, kG, 1e-6, false,
                                             IntegrationMethod::PiecewiseExact, runs, options));
    ASSERT_FALSE(reported.empty());
    EXPECT_LT(reported.back(), 0.5) << "stopped soon after the cancel, not at the group's end";
    for (const OscillatorRun& run : runs) {
        EXPECT_FALSE(run.computed);
    }
}

TEST(OscillatorKernels, SpectraAreTheSameOnOneThreadAndOnManyAndACancelledOneHoldsNothing) {
    const TimeHistory record = SampleRecord("eqsig-test-motion.txt", 0.01, 1200, 400);
    const std::vector<double> dampingRatios = {0.02, 0.05, 0.2};
    const std::vector<double> periods = {0.0, 0.01, 0.05, 0.1, 0.5, 1.0, 3.0};
    BatchOptions one;
    one.threads = 1;
    const SpectraResult alone = ComputeSpectra(record, {}, dampingRatios, periods, one);
    const SpectraResult shared = ComputeSpectra(record, {}, dampingRatios, periods);
    EXPECT_FALSE(alone.cancelled);
    EXPECT_EQ(alone.columns, shared.columns);
    EXPECT_EQ(alone.computed, shared.computed);

    const std::atomic<bool> cancel{true};
    BatchOptions cancelled;
    cancelled.cancel = &cancel;
    const SpectraResult stopped = ComputeSpectra(record, {}, dampingRatios, periods, cancelled);
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_TRUE(stopped.failures.empty());
    for (std::size_t d = 0; d < dampingRatios.size(); ++d) {
        EXPECT_FALSE(stopped.DampingComputed(d));
    }
    // The window shows no calculation error for a run the user stopped.
    int messages = 0;
    ReportIncompleteDampings(stopped, [&messages](const std::string&) { ++messages; });
    EXPECT_EQ(messages, 0);
}

}  // namespace
}  // namespace travik
