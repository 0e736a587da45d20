// Thinning a long series to what a figure's pixel columns can show: every column keeps the
// range of its samples, so no peak is lost.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "core/records/ColumnThinning.h"

namespace travik {
namespace {

TEST(ColumnThinning, ShortSeriesAreKeptWhole) {
    const std::vector<double> values{3, 1, 4, 1, 5, 9, 2, 6};
    const std::vector<std::size_t> kept = ThinToColumns(values, 2);
    EXPECT_EQ(kept, (std::vector<std::size_t>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_TRUE(ThinToColumns(std::vector<double>{}, 10).empty());
}

// Checked against a plain scan of each column: its extremes, first and last are kept, in
// order, at most four per column.
TEST(ColumnThinning, EveryColumnKeepsItsExtremesFirstAndLast) {
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0.0, 1.0);
    const std::size_t n = 100'003;  // not a multiple of the columns
    std::vector<double> values(n);
    for (std::size_t i = 0; i < n; ++i) {
        values[i] = std::sin(0.001 * static_cast<double>(i)) + 0.1 * noise(random);
    }
    values[54'321] = 25.0;  // a lone spike must survive
    const std::size_t columns = 640;
    const std::vector<std::size_t> kept = ThinToColumns(values, columns);
    EXPECT_LE(kept.size(), 4 * columns);
    EXPECT_TRUE(std::is_sorted(kept.begin(), kept.end()));
    EXPECT_EQ(std::adjacent_find(kept.begin(), kept.end()), kept.end());
    EXPECT_NE(std::find(kept.begin(), kept.end(), 54'321u), kept.end());
    for (std::size_t c = 0; c < columns; ++c) {
        const std::size_t first = c * n / columns;
        const std::size_t end = (c + 1) * n / columns;
        double low = values[first];
        double high = values[first];
        for (std::size_t i = first; i < end; ++i) {
            low = std::min(low, values[i]);
            high = std::max(high, values[i]);
        }
        double keptLow = INFINITY;
        double keptHigh = -INFINITY;
        bool haveFirst = false;
        bool haveLast = false;
        for (const std::size_t k : kept) {
            if (k >= first && k < end) {
                keptLow = std::min(keptLow, values[k]);
                keptHigh = std::max(keptHigh, values[k]);
                haveFirst = haveFirst || k == first;
                haveLast = haveLast || k == end - 1;
            }
        }
        ASSERT_EQ(keptLow, low) << "column " << c;
        ASSERT_EQ(keptHigh, high) << "column " << c;
        ASSERT_TRUE(haveFirst && haveLast) << "column " << c;
    }
}

}  // namespace
}  // namespace travik
