#include "core/text/NumberFormat.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>

namespace travik {
namespace {

struct PatternCase {
    double value;
    const char* pattern;
    const char* expected;
};

class NumberPatternTest : public ::testing::TestWithParam<PatternCase> {};

TEST_P(NumberPatternTest, RoundsTheShortestDecimalFormToThePattern) {
    const PatternCase& c = GetParam();
    EXPECT_EQ(FormatNumber(c.value, c.pattern), c.expected) << c.value << " with " << c.pattern;
}

// Expected texts worked by hand from the decimal value a person reads.
INSTANTIATE_TEST_SUITE_P(
    PatternsInUse, NumberPatternTest,
    ::testing::Values(
        // Ties go away from zero on the decimal digits, not on the binary expansion
        // (2.675 is stored as 2.67499999...).
        PatternCase{2.675, "0.00", "2.68"}, PatternCase{-2.675, "0.00", "-2.68"},
        PatternCase{0.5, "0", "1"}, PatternCase{-0.5, "0", "-1"},
        PatternCase{1.0000005, "0.000000", "1.000001"},
        // Damping percentages in headers and titles.
        PatternCase{12.3456, "0.###", "12.346"}, PatternCase{5.0, "0.###", "5"},
        PatternCase{12.5, "0.###", "12.5"}, PatternCase{2.3456, "0.###", "2.346"},
        PatternCase{0.075 * 100, "0.###", "7.5"}, PatternCase{0.1 + 0.2, "0.###", "0.3"},
        PatternCase{0.0004, "0.###", "0"}, PatternCase{9.9996, "0.###", "10"},
        // Spectrum values and periods.
        PatternCase{0.02, "0.000000", "0.020000"}, PatternCase{0.0, "0.000000", "0.000000"},
        PatternCase{5.99999999999996, "0.000000", "6.000000"},
        PatternCase{0.9999995, "0.000000", "1.000000"}, PatternCase{-1.5, "0.000000", "-1.500000"},
        PatternCase{1e20, "0.000000", "100000000000000000000.000000"},
        // A value that rounds to zero carries no minus sign.
        PatternCase{-0.0000001, "0.000000", "0.000000"}, PatternCase{-0.0, "0.000000", "0.000000"},
        PatternCase{-0.0000005, "0.000000", "-0.000001"},
        // Sample times and sample values.
        PatternCase{1000 * 0.01, "0.00000", "10.00000"},
        PatternCase{0.005 * 200, "0.00000", "1.00000"},
        PatternCase{0.0163333333366, "0.00000000", "0.01633333"},
        PatternCase{-0.25, "0.00000000", "-0.25000000"},
        PatternCase{1.23e-300, "0.00000000", "0.00000000"},
        // Chart readout.
        PatternCase{1.5, "0.#########", "1.5"}, PatternCase{0.25, "0.#########", "0.25"},
        PatternCase{1.0 / 3.0, "0.#########", "0.333333333"},
        PatternCase{-123.0000000004, "0.#########", "-123"}));

TEST(NumberFormatTest, NonFiniteValuesAreNamed) {
    EXPECT_EQ(FormatNumber(std::numeric_limits<double>::quiet_NaN(), "0.000000"), "NAN");
    EXPECT_EQ(FormatNumber(std::numeric_limits<double>::infinity(), "0.000000"), "INF");
    EXPECT_EQ(FormatNumber(-std::numeric_limits<double>::infinity(), "0.###"), "-INF");
    EXPECT_EQ(FormatGeneral(std::numeric_limits<double>::quiet_NaN()), "NAN");
}

TEST(NumberFormatTest, TheDecimalSeparatorIsAnArgument) {
    EXPECT_EQ(FormatNumber(2.675, "0.00", ','), "2,68");
    EXPECT_EQ(FormatNumber(2.5, "0.###", '?'), "2?5");
    EXPECT_EQ(FormatNumber(5.0, "0.###", '?'), "5");
    EXPECT_EQ(FormatGeneral(0.02, ','), "0,02");
    EXPECT_EQ(FormatGeneral(1.5e20, '?'), "1?5E20");
}

TEST(NumberFormatTest, GeneralFormKeepsFifteenSignificantDigits) {
    EXPECT_EQ(FormatGeneral(0.02), "0.02");
    EXPECT_EQ(FormatGeneral(980), "980");
    EXPECT_EQ(FormatGeneral(6), "6");
    EXPECT_EQ(FormatGeneral(0.0), "0");
    EXPECT_EQ(FormatGeneral(-2.5), "-2.5");
    EXPECT_EQ(FormatGeneral(0.05), "0.05");
    EXPECT_EQ(FormatGeneral(0.1 + 0.2), "0.3");
    EXPECT_EQ(FormatGeneral(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(FormatGeneral(2.0 / 3.0), "0.666666666666667");
    EXPECT_EQ(FormatGeneral(5.99999999999996), "5.99999999999996");
    EXPECT_EQ(FormatGeneral(123456789012345.0), "123456789012345");
    EXPECT_EQ(FormatGeneral(1e15), "1E15");
    EXPECT_EQ(FormatGeneral(1.5e20), "1.5E20");
    EXPECT_EQ(FormatGeneral(0.00001), "0.00001");
    EXPECT_EQ(FormatGeneral(0.000001), "1E-6");
    EXPECT_EQ(FormatGeneral(-2.5e-7), "-2.5E-7");
}

}  // namespace
}  // namespace travik

namespace travik {
namespace {

// Six significant digits for a person to read, rounded to nearest (worked by hand).
TEST(NumberFormatTest, ShownFormKeepsSixSignificantDigits) {
    EXPECT_EQ(FormatShown(14.2322599656546), "14.2323");
    EXPECT_EQ(FormatShown(1.06660012e-6), "1.0666E-6");
    EXPECT_EQ(FormatShown(0.000123456789), "0.000123457");
    EXPECT_EQ(FormatShown(0.0001), "0.0001");
    EXPECT_EQ(FormatShown(0.00009999), "9.999E-5");
    EXPECT_EQ(FormatShown(123456789.0), "1.23457E8");
    EXPECT_EQ(FormatShown(999999.7), "1E6");
    EXPECT_EQ(FormatShown(654321.4), "654321");
    EXPECT_EQ(FormatShown(-0.5), "-0.5");
    EXPECT_EQ(FormatShown(0.0), "0");
    EXPECT_EQ(FormatShown(100.0), "100");
    EXPECT_EQ(FormatShown(2.5, ','), "2,5");
    EXPECT_EQ(FormatShown(-1.0 / 3.0, ','), "-0,333333");
}

// Values written by every pattern in use and a few others, compared with texts worked out
// by a separate script with Python's decimal module (data/generate_format_cases.py): random
// values over 24 orders of magnitude, values on a six-decimal rounding edge and their
// neighbours, ties, carries through nines, signed zeros, subnormals and the largest double.
TEST(NumberFormatTest, AgreesWithDecimalArithmeticOnThousandsOfValues) {
    std::ifstream cases(TRAVIK_TEST_DATA_DIR "/format_number_cases.txt");
    ASSERT_TRUE(cases) << "format_number_cases.txt is missing";
    std::string line;
    int count = 0;
    while (std::getline(cases, line)) {
        std::istringstream fields(line);
        std::string value, pattern, expected;
        fields >> value >> pattern >> expected;
        EXPECT_EQ(FormatNumber(std::strtod(value.c_str(), nullptr), pattern), expected)
            << value << " with " << pattern;
        ++count;
    }
    EXPECT_GT(count, 2500);
}

}  // namespace
}  // namespace travik
