#include "core/analysis/AnalysisWork.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

#include "TestRecords.h"
#include "core/analysis/SpectraComputation.h"

namespace travik {
namespace {

using test::MakeRecord;

TEST(AnalysisWork, StepsAreSamplesTimesSubStepsTimesDampingValues) {
    const TimeHistory record = MakeRecord(std::vector<double>(100, 0.1), 0.01, "r.txt");
    AnalysisSettings settings;  // maxDtOverT 0.02
    // Sub-steps trunc(dt / (T ratio) + 1): T = 0.5 gives 0.01 / 0.01 + 1 = 2, T = 1 gives
    // trunc(1.5) = 1, T = 1e-9 gives 5e8 + 1, more than the integrators run (nothing).
    EXPECT_EQ(EstimateOscillatorSteps(record, settings, 3, {0.0, 0.5, 1.0, 1e-9}),
              (2 + 1 + 0) * 100 * 3);
    EXPECT_EQ(EstimateOscillatorSteps(record, settings, 3, {0.0}), 0);
    // The defaults on a 10-minute record at 200 samples per second: 300 periods of one
    // sub-step each except where 0.005 / (T 0.02) >= 1, that is T <= 0.25 (13 periods).
    const TimeHistory longRecord = MakeRecord(std::vector<double>(120000, 0.1), 0.005, "l.txt");
    std::vector<double> periods{0.0};
    for (int k = 1; k <= 300; ++k) {
        periods.push_back(0.02 * k);
    }
    double subSteps = 0;
    for (int k = 1; k <= 300; ++k) {
        subSteps += static_cast<int>(0.005 / (0.02 * k * 0.02) + 1);
    }
    EXPECT_EQ(EstimateOscillatorSteps(longRecord, settings, 1, periods), subSteps * 120000);
}

TEST(AnalysisWork, AnnouncementRoundsToTwoFigures) {
    EXPECT_EQ(AnalysisWorkAnnouncement(2.345e10, 1e8),
              "This analysis takes about 2.3E10 oscillator steps, about 230 s on this machine.");
    EXPECT_EQ(AnalysisWorkAnnouncement(4.4e12, 2e9),
              "This analysis takes about 4.4E12 oscillator steps, about 2200 s on this machine.");
}

TEST(AnalysisWork, MeasuredSpeedIsAPlausibleRate) {
    const double perSecond = MeasureOscillatorStepsPerSecond(AnalysisSettings{});
    // Anything from a slow emulator to a fast vector unit; what matters is a finite rate.
    EXPECT_GT(perSecond, 1e5);
    EXPECT_LT(perSecond, 1e12);
}

TEST(AnalysisWork, ProgressIsReportedWithoutChangingAnyValue) {
    std::vector<double> samples;
    for (int i = 0; i < 400; ++i) {
        samples.push_back((i % 37 - 18) / 60.0);
    }
    const TimeHistory record = MakeRecord(samples, 0.01, "p.txt");
    std::vector<double> periods{0.0};
    for (int k = 1; k <= 150; ++k) {
        periods.push_back(0.03 * k);
    }
    periods.push_back(1e-9);  // a failing run among them
    const std::vector<double> damping{0.0, 0.05, 0.2};
    const AnalysisSettings settings;

    const SpectraResult plain = ComputeSpectra(record, settings, damping, periods);
    // Work in oscillator steps (400 samples x sub-steps) plus one per run.
    const double runCount = static_cast<double>(damping.size() * (periods.size() - 1));
    const double expectedTotal =
        EstimateOscillatorSteps(record, settings, damping.size(), periods) + runCount;
    std::vector<std::size_t> done;
    std::vector<std::size_t> totals;
    const SpectraResult followed = ComputeSpectra(record, settings, damping, periods,
                                                  [&](std::size_t work, std::size_t total) {
                                                      done.push_back(work);
                                                      totals.push_back(total);
                                                  });
    ASSERT_FALSE(done.empty());  // a few times a second, and at the end
    for (std::size_t i = 1; i < done.size(); ++i) {
        EXPECT_GT(done[i], done[i - 1]);
        EXPECT_EQ(totals[i], totals[0]);
    }
    EXPECT_EQ(static_cast<double>(totals[0]), expectedTotal);
    EXPECT_EQ(done.back(), totals[0]);
    EXPECT_EQ(followed.columns, plain.columns);
    EXPECT_EQ(followed.computed, plain.computed);
    EXPECT_EQ(followed.failures.size(), 3u);
}

}  // namespace
}  // namespace travik
