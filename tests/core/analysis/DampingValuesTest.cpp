#include "core/analysis/DampingValues.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace travik {
namespace {

using ::testing::ElementsAre;

const std::vector<std::string> kDefaultEdits = {"5",  "10", "15", "20", "30",
                                                "35", "40", "50", "60"};

std::vector<double> ReadSorted(const std::vector<std::string>& edits, int count) {
    std::vector<double> ratios;
    EXPECT_TRUE(ReadDampingRatios(edits, count, '.', ratios).ok);
    SortAndRemoveRepeatedRatios(ratios);
    return ratios;
}

TEST(DampingValues, PercentagesBecomeSortedDistinctFractions) {
    EXPECT_THAT(ReadSorted(kDefaultEdits, 1), ElementsAre(0.05));

    std::vector<double> ratios;
    ASSERT_TRUE(ReadDampingRatios({"5", "5", "10"}, 3, '.', ratios).ok);
    EXPECT_THAT(ratios, ElementsAre(0.05, 0.05, 0.1));
    SortAndRemoveRepeatedRatios(ratios);
    EXPECT_THAT(ratios, ElementsAre(0.05, 0.1));

    EXPECT_THAT(ReadSorted({"20", "10"}, 2), ElementsAre(0.1, 0.2));
    EXPECT_EQ(ReadSorted(kDefaultEdits, 9).size(), 9u);
}

TEST(DampingValues, OnlyTheUpperBoundIsChecked) {
    EXPECT_THAT(ReadSorted({"0", "-5", "99.99"}, 3), ElementsAre(-0.05, 0.0, 0.9999));

    std::vector<double> ratios{0.7};
    const DampingReadResult result = ReadDampingRatios({"5", "100", "10"}, 3, '.', ratios);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "Damping Ratio must be less than 1!");
    EXPECT_EQ(result.failingEdit, 1);
    EXPECT_THAT(ratios, ElementsAre(0.05)) << "the list keeps the ratios read before";
}

TEST(DampingValues, TextsThatAreNotNumbersNameThemselvesAndTheirEdit) {
    std::vector<double> ratios;
    DampingReadResult result = ReadDampingRatios({"abc", "10"}, 2, '.', ratios);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "\"abc\" is not a valid floating number!");
    EXPECT_EQ(result.failingEdit, 0);
    EXPECT_TRUE(ratios.empty());

    result = ReadDampingRatios({"5", "1.000,5"}, 2, ',', ratios);
    EXPECT_EQ(result.message, "\"1.000,5\" is not a valid floating number!");
    EXPECT_EQ(result.failingEdit, 1);
}

TEST(DampingValues, EditsBeyondTheCountAreNotRead) {
    EXPECT_THAT(ReadSorted({"5", "garbage", "1000"}, 1), ElementsAre(0.05));
    std::vector<double> ratios;
    ASSERT_TRUE(ReadDampingRatios({"12,5", "garbage"}, 1, ',', ratios).ok);
    EXPECT_THAT(ratios, ElementsAre(0.125));
}

}  // namespace
}  // namespace travik
