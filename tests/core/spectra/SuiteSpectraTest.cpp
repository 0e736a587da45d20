#include "core/spectra/SuiteSpectra.h"

#include <cmath>

#include <gtest/gtest.h>

#include "core/analysis/SpectraComputation.h"

namespace travik {
namespace {

TimeHistory Pulse(const std::string& name, double scale) {
    TimeHistory record(name, 0.01);
    for (int i = 0; i < 400; ++i) {
        record.AppendAcceleration(scale * std::sin(i * 0.13) * std::exp(-i * 0.01));
    }
    return record;
}

TEST(SuiteSpectra, HoldEachRecordsSpectrumAndTheirStatistics) {
    const TimeHistory a = Pulse("a.txt", 0.2);
    const TimeHistory b = Pulse("b.txt", 0.4);  // the same motion twice as strong
    const TimeHistory c = Pulse("c.txt", 0.8);
    const std::vector<double> periods = {0.0, 0.1, 0.5, 1.0, 2.0};
    AnalysisSettings settings;
    std::vector<int> progress;
    const SuiteSpectra suite = ComputeSuiteSpectra(
        {&a, &b, &c}, settings, 0.05, periods,
        [&progress](int done, int total) {
            EXPECT_EQ(total, 3);
            progress.push_back(done);
        },
        nullptr, 2);
    EXPECT_EQ(progress, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(suite.recordNames, (std::vector<std::string>{"a.txt", "b.txt", "c.txt"}));
    EXPECT_TRUE(suite.failedRecords.empty());

    const SpectraResult alone = ComputeSpectra(a, settings, {0.05}, periods);
    const std::size_t sa = static_cast<std::size_t>(SpectrumKind::Acceleration);
    EXPECT_EQ(suite.curves[sa][0], alone.Columns(SpectrumKind::Acceleration)[0]);

    // A linear oscillator scales with its input: the suite is r, 2r, 4r, so the mean is
    // 7r / 3, the median 2r and the geometric mean (8 r^3)^(1/3) = 2r with sigma(ln) = ln 2.
    const SuiteStatistics& s = suite.statistics.kinds[sa];
    for (std::size_t k = 0; k < periods.size(); ++k) {
        const double r = alone.Columns(SpectrumKind::Acceleration)[0][k];
        EXPECT_NEAR(s.mean[k], 7 * r / 3, 1e-12 * r);
        EXPECT_NEAR(s.median[k], 2 * r, 1e-12 * r);
        EXPECT_NEAR(s.logMean[k], 2 * r, 1e-12 * r);
        EXPECT_NEAR(s.sigmaLn[k], std::log(2.0), 1e-12);
    }
}

TEST(SuiteSpectra, StopWhenCancelled) {
    const TimeHistory a = Pulse("a.txt", 0.2);
    std::atomic<bool> cancel{true};
    const SuiteSpectra suite =
        ComputeSuiteSpectra({&a, &a}, AnalysisSettings{}, 0.05, {0.0, 1.0}, {}, &cancel, 1);
    EXPECT_TRUE(suite.cancelled);
    EXPECT_TRUE(suite.recordNames.empty());
}

TEST(SuiteSpectra, NameTheRecordsWhoseRunFailed) {
    const TimeHistory a = Pulse("a.txt", 0.2);
    const TimeHistory empty("empty.txt", 0.01);
    const SuiteSpectra suite =
        ComputeSuiteSpectra({&a, &empty}, AnalysisSettings{}, 0.05, {0.0, 1.0}, {}, nullptr, 1);
    EXPECT_EQ(suite.failedRecords, (std::vector<std::string>{"empty.txt"}));
    EXPECT_EQ(suite.statistics.kinds[0].recordCount, 1);
}

}  // namespace
}  // namespace travik
