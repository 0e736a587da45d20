#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/suite/ScalingOptions.h"

namespace travik {
namespace {

const std::vector<double> kPeriods = {0.0, 0.05, 0.1, 1.0, 4.0};

ScalingOptions Valid() {
    ScalingOptions options;
    options.minPeriod = 0.1;
    options.maxPeriod = 1.0;
    return options;
}

TEST(ScalingOptions, ValidOptionsPassAndTheRangeMayTouchTheAnalysisPeriods) {
    EXPECT_EQ(Valid().Check(kPeriods, 3), "");
    ScalingOptions edges = Valid();
    edges.minPeriod = 0.05;
    edges.maxPeriod = 4.0;
    edges.atPeriod = 4.0;
    edges.minFactor = 0.5;
    edges.maxFactor = 0.5;
    edges.selectCount = 3;
    EXPECT_EQ(edges.Check(kPeriods, 3), "");
}

TEST(ScalingOptions, EveryRefusalNamesTheValueAndTheBound) {
    struct Case {
        void (*change)(ScalingOptions&);
        const char* message;
    };
    const Case cases[] = {
        {[](ScalingOptions& o) { o.minPeriod = 0.04; },
         "Tmin 0.04 s lies below the smallest analysis period 0.05 s"},
        {[](ScalingOptions& o) { o.maxPeriod = 4.5; },
         "Tmax 4.5 s lies above the largest analysis period 4 s"},
        {[](ScalingOptions& o) { o.minPeriod = 1.0; },
         "The period range needs Tmin < Tmax: 1 s is not below 1 s"},
        {[](ScalingOptions& o) { o.minFactor = 0.0; }, "The factor limits need fmin > 0, not 0"},
        {[](ScalingOptions& o) { o.maxFactor = -1.0; }, "The factor limits need fmax > 0, not -1"},
        {[](ScalingOptions& o) {
             o.minFactor = 2.0;
             o.maxFactor = 1.5;
         },
         "The factor limits need fmin <= fmax: 2 > 1.5"},
        {[](ScalingOptions& o) { o.atPeriod = 0.01; },
         "The scaling period 0.01 s lies outside the analysis periods 0.05 s to 4 s"},
        {[](ScalingOptions& o) { o.selectCount = 4; }, "Cannot select 4 records out of 3 given"},
        {[](ScalingOptions& o) { o.maxPerStation = -1; },
         "The records per station must be at least 1, not -1"},
    };
    for (const Case& c : cases) {
        ScalingOptions options = Valid();
        c.change(options);
        EXPECT_EQ(options.Check(kPeriods, 3), c.message);
    }
}

// Analysis periods built by adding 0.02 s three hundred times end at 5.99999999999996 s;
// the message shows the period the user set, 6 s.
TEST(ScalingOptions, MessagesShowPeriodsWithoutTheirRoundingNoise) {
    std::vector<double> periods = {0.0};
    double period = 0.0;
    for (int i = 0; i < 300; ++i) {
        period += 0.02;
        periods.push_back(period);
    }
    ASSERT_NE(periods.back(), 6.0);
    ScalingOptions options = Valid();
    options.maxPeriod = 7.0;
    EXPECT_EQ(options.Check(periods, 3), "Tmax 7 s lies above the largest analysis period 6 s");
    options.maxPeriod = 1.0;
    options.minPeriod = 0.0123456789012;
    EXPECT_EQ(options.Check(periods, 3),
              "Tmin 0.0123456789 s lies below the smallest analysis period 0.02 s");
}

TEST(ScalingOptions, TheRulesAskForElevenAndThreeMotions) {
    EXPECT_EQ(MinimumMotions(SuiteRule::Asce7), 11);
    EXPECT_EQ(MinimumMotions(SuiteRule::Ec8), 3);
    EXPECT_EQ(MinimumMotions(SuiteRule::None), 0);
}

}  // namespace
}  // namespace travik
