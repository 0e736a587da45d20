#include "text/NumberParse.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

namespace travik {
namespace {

struct ParseCase {
    const char* text;
    char separator;
    std::optional<double> expected;
};

class StrictParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(StrictParseTest, AcceptsOnlyPlainDecimalNumbers) {
    const ParseCase& c = GetParam();
    const std::optional<double> value = TryParseNumber(c.text, c.separator);
    ASSERT_EQ(value.has_value(), c.expected.has_value()) << "'" << c.text << "'";
    if (value) {
        EXPECT_DOUBLE_EQ(*value, *c.expected) << "'" << c.text << "'";
    }
}

const std::string kHugeInteger = "1" + std::string(400, '0');
const std::string kTinyFraction = "0." + std::string(400, '0') + "1";

INSTANTIATE_TEST_SUITE_P(
    Table, StrictParseTest,
    ::testing::Values(
        ParseCase{"", '.', std::nullopt}, ParseCase{"   ", '.', std::nullopt},
        ParseCase{"+", '.', std::nullopt}, ParseCase{"-", '.', std::nullopt},
        ParseCase{"1e", '.', std::nullopt}, ParseCase{"1e+", '.', std::nullopt},
        ParseCase{"E5", '.', std::nullopt}, ParseCase{"--1", '.', std::nullopt},
        ParseCase{"1e5.5", '.', std::nullopt}, ParseCase{"0x10", '.', std::nullopt},
        ParseCase{"1 000", '.', std::nullopt}, ParseCase{"1,000.5", '.', std::nullopt},
        ParseCase{"inf", '.', std::nullopt}, ParseCase{"INF", '.', std::nullopt},
        ParseCase{"nan", '.', std::nullopt}, ParseCase{"abc", '.', std::nullopt},
        ParseCase{"1.5abc", '.', std::nullopt}, ParseCase{"1e400", '.', std::nullopt},
        ParseCase{"-1e400", '.', std::nullopt}, ParseCase{"1.8e308", '.', std::nullopt},
        ParseCase{kHugeInteger.c_str(), '.', std::nullopt},
        // Comma against point: the separator decides.
        ParseCase{"1,5", '.', std::nullopt}, ParseCase{"1,5", ',', 1.5}, ParseCase{"2?5", '?', 2.5},
        ParseCase{"3.", '.', 3.0}, ParseCase{".5", '.', 0.5}, ParseCase{"-.5", '.', -0.5},
        ParseCase{"+2", '.', 2.0}, ParseCase{"00012", '.', 12.0}, ParseCase{"1e+3", '.', 1000.0},
        ParseCase{"1E-3", '.', 0.001}, ParseCase{"1.5e-1", '.', 0.15},
        ParseCase{"  -0.25  ", '.', -0.25}, ParseCase{"\t1.5e-1\r", '.', 0.15},
        ParseCase{"1.7976931348623157e308", '.', 1.7976931348623157e308},
        // Below the smallest double the value is zero, not an error.
        ParseCase{"1e-400", '.', 0.0}, ParseCase{kTinyFraction.c_str(), '.', 0.0},
        // A lone separator stands for zero, since a digit or the separator suffices.
        ParseCase{".", '.', 0.0}, ParseCase{".e5", '.', 0.0}));

// Where the user's separator is not the full stop, the full stop is accepted as well, so
// that files and habits written with it still read; but never both in one number, and
// never as a thousands separator, so that no text changes its meaning.
class FullStopBesideSeparatorTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(FullStopBesideSeparatorTest, AcceptsTheFullStopButNoThousandsSeparator) {
    const ParseCase& c = GetParam();
    const std::optional<double> value = TryParseNumber(c.text, c.separator);
    ASSERT_EQ(value.has_value(), c.expected.has_value())
        << "'" << c.text << "' with separator '" << c.separator << "'";
    if (value) {
        EXPECT_DOUBLE_EQ(*value, *c.expected) << "'" << c.text << "'";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, FullStopBesideSeparatorTest,
    ::testing::Values(
        ParseCase{"0.01", ',', 0.01}, ParseCase{"0,01", ',', 0.01},
        ParseCase{"-1.5e-1", ',', -0.15}, ParseCase{".5", ',', 0.5}, ParseCase{"3.", ',', 3.0},
        ParseCase{"2.5", '?', 2.5}, ParseCase{"2?5", '?', 2.5},
        // Only one separator in a number: a second one is a thousands group.
        ParseCase{"1.000,5", ',', std::nullopt}, ParseCase{"1,000.5", ',', std::nullopt},
        ParseCase{"1.000.000", ',', std::nullopt}, ParseCase{"1,000,000", ',', std::nullopt},
        ParseCase{"1.5.", ',', std::nullopt}, ParseCase{"1 000,5", ',', std::nullopt},
        ParseCase{"1'000.5", ',', std::nullopt}, ParseCase{"1.5e3.0", ',', std::nullopt},
        ParseCase{"1,5e3,0", ',', std::nullopt},
        // With the full stop as the user's separator the comma stays foreign.
        ParseCase{"1,5", '.', std::nullopt}, ParseCase{"0,01", '.', std::nullopt}));

TEST(StrictParseTest, ErrorTextNamesTheTrimmedField) {
    try {
        ParseNumberOrThrow("  abc \t");
        FAIL() << "no error raised";
    } catch (const ConversionError& error) {
        EXPECT_STREQ(error.what(), "'abc' is not a valid floating point value");
    }
    try {
        ParseNumberOrThrow("");
        FAIL() << "no error raised";
    } catch (const ConversionError& error) {
        EXPECT_STREQ(error.what(), "'' is not a valid floating point value");
    }
    EXPECT_DOUBLE_EQ(ParseNumberOrThrow("-0.25"), -0.25);
}

TEST(StrictParseTest, EditMessageQuotesTheTextAsTyped) {
    EXPECT_EQ(NotAValidFloatingNumberMessage("abc"), "\"abc\" is not a valid floating number!");
    EXPECT_EQ(NotAValidFloatingNumberMessage(" 1 2 "), "\" 1 2 \" is not a valid floating number!");
    EXPECT_EQ(NotAValidFloatingNumberMessage(""), "\"\" is not a valid floating number!");
}

TEST(StrictParseTest, NegativeZeroKeepsItsSign) {
    const std::optional<double> value = TryParseNumber("-0");
    ASSERT_TRUE(value);
    EXPECT_TRUE(std::signbit(*value));
}

}  // namespace
}  // namespace travik
