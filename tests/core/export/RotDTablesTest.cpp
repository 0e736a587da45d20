#include "core/export/RotDTables.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace travik {
namespace {

// A hand-made result: two periods of one damping value, the second not computed.
RotatedSpectraResult TwoPeriods() {
    RotatedSpectraResult result;
    result.options.periods = {0.1, 0.2};
    result.options.percentiles = {100.0, 0.0, 50.0};  // any order: columns are found by value
    RotatedDampingSpectra damping;
    damping.dampingRatio = 0.05;
    RotatedSpectrumPoint first;
    first.computed = true;
    first.psa.percentiles = {0.75, 0.125, 0.5};
    first.psa.maxAngle = 37;
    first.psa.h1 = 0.25;
    first.psa.h2 = 0.625;
    damping.points = {first, RotatedSpectrumPoint{}};
    damping.gmrotI50 = {0.4375, 0.0};
    result.damping = {damping};
    return result;
}

TEST(RotDTables, OneRowPerComputedOscillatorWithEveryDigitAndQuotedNames) {
    EXPECT_EQ(RotDTableHeading(),
              "h1_record,h1_channel,h2_record,h2_channel,damping_percent,period_s,RotD00_g,"
              "RotD50_g,RotD100_g,RotD100_angle_deg,GMRotI50_g,H1_PSa_g,H2_PSa_g");
    EXPECT_EQ(RotDTableRows("a,b.V2", "1", "a,b.V2", "3", TwoPeriods()),
              "\"a,b.V2\",1,\"a,b.V2\",3,5,0.1,0.125,0.5,0.75,37,0.4375,0.25,0.625\n");
}

TEST(RotDTables, AResultWithoutTheMedianCannotFillTheTable) {
    RotatedSpectraResult result = TwoPeriods();
    result.options.percentiles = {0.0, 100.0, 90.0};
    EXPECT_THROW(RotDTableRows("a", "", "b", "", result), std::invalid_argument);
}

}  // namespace
}  // namespace travik
