#include "core/analysis/PeriodList.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "core/analysis/AnalysisSettings.h"

namespace travik {
namespace {

using ::testing::ElementsAre;

TEST(PeriodList, DefaultsGiveThreeHundredPeriodsEndingJustBelowSix) {
    const std::vector<double> periods = AnalysisSettings{}.Periods();
    ASSERT_EQ(periods.size(), 301u);
    EXPECT_EQ(periods[0], 0.0);
    EXPECT_EQ(periods[1], 0.02);
    // Accumulated by repeated addition, 6 itself is never reached nor appended.
    EXPECT_NEAR(periods[300], 5.99999999999996, 5e-15);
    EXPECT_LT(periods[300], 6.0);
}

TEST(PeriodList, TheEndIsAppendedOnlyWhenTheLastPeriodFallsShortByMoreThanTenPercent) {
    EXPECT_THAT(BuildPeriodList(0.5, 2, 0.5), ElementsAre(0, 0.5, 1, 1.5, 2));

    const std::vector<double> quarters = BuildPeriodList(0.25, 4, 0.25);
    ASSERT_EQ(quarters.size(), 16u);
    EXPECT_EQ(quarters.back(), 3.75);

    EXPECT_THAT(BuildPeriodList(0.02, 0.5, 0.48), ElementsAre(0, 0.02, 0.5));
}

TEST(PeriodList, ALastPeriodExactlyTenPercentShortKeepsTheEndOut) {
    // 1 + 8 = 9 lies exactly 10 % below 10 (|9 - 10| / 10 is the double 0.1 itself): the end
    // is not appended, since only a shortfall of more than 10 % is.
    EXPECT_THAT(BuildPeriodList(1, 10, 8), ElementsAre(0, 1, 9));
    // 0.75 + 8 = 8.75 falls 12.5 % short: the end is appended.
    EXPECT_THAT(BuildPeriodList(0.75, 10, 8), ElementsAre(0, 0.75, 8.75, 10));
}

TEST(PeriodList, AStepTooSmallToAdvanceEndsTheListInsteadOfLoopingForever) {
    EXPECT_THAT(BuildPeriodList(1.0, 2.0, 1e-20), ElementsAre(0, 1, 2));
}

TEST(PeriodList, TheSettingsGiveTheListOfTheirOwnRangeAndStep) {
    AnalysisSettings settings;
    settings.minPeriod = 0.25;
    settings.maxPeriod = 2;
    settings.periodStep = 0.5;
    // 1.75 falls 12.5 % short of 2, so the end is appended.
    EXPECT_THAT(settings.Periods(), ElementsAre(0, 0.25, 0.75, 1.25, 1.75, 2));
}

}  // namespace
}  // namespace travik
