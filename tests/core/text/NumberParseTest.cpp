#include "core/text/NumberParse.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
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

// Long digit strings and long exponents: the value of the whole text decides, not what a
// reader that stopped early would see. Expected values are worked by hand from the text
// (the digits shift the decimal point by their count).
TEST(StrictParseTest, LongTextsGiveTheirExactValue) {
    const std::string zeros99999(99999, '0');
    const std::string zeros100001(100001, '0');
    // 5e-100000 scaled by 10^1000000 overflows; by 10^100000 it is 5.
    EXPECT_FALSE(TryParseNumber("0." + zeros99999 + "5e1000000"));
    EXPECT_EQ(TryParseNumber("0." + zeros99999 + "5e100000"), 5.0);
    // 10^100001 scaled by 10^-1000000 underflows to zero; by 10^-100001 it is 1.
    EXPECT_EQ(TryParseNumber("1" + zeros100001 + "e-1000000"), 0.0);
    EXPECT_EQ(TryParseNumber("1" + zeros100001 + "e-100001"), 1.0);
    EXPECT_EQ(TryParseNumber("-1" + zeros100001 + "e-100000"), -10.0);
    // Exponents with more digits than any integer type holds.
    EXPECT_FALSE(TryParseNumber("1e99999999999999999999999999"));
    EXPECT_EQ(TryParseNumber("1e-99999999999999999999999999"), 0.0);
    EXPECT_EQ(TryParseNumber("0e99999999999999999999999999"), 0.0);
    EXPECT_EQ(TryParseNumber("1e" + std::string(100000, '0') + "5"), 100000.0);
    // Trailing zeros of the fraction change nothing.
    EXPECT_EQ(TryParseNumber("0.25" + std::string(200000, '0')), 0.25);
}

TEST(StrictParseTest, EdgesOfTheDoubleRangeRoundAsTheyShould) {
    const double largest = std::numeric_limits<double>::max();
    const double smallest = std::numeric_limits<double>::denorm_min();
    // 1.7976931348623158e308 rounds down to the largest double; ...59e308 lies past the
    // midpoint to the next power of two and overflows.
    EXPECT_EQ(TryParseNumber("1.7976931348623158e308"), largest);
    EXPECT_FALSE(TryParseNumber("1.7976931348623159e308"));
    EXPECT_EQ(TryParseNumber("179769313486231570000" + std::string(288, '0')), largest);
    // Subnormals are values, not underflow: 4.9e-324 is the smallest one, and half of it
    // (2.4703282292062327...e-324) is the point below which a value rounds to zero.
    EXPECT_EQ(TryParseNumber("4.9e-324"), smallest);
    EXPECT_EQ(TryParseNumber("2.4703282292062328e-324"), smallest);
    EXPECT_EQ(TryParseNumber("2.4703282292062327e-324"), 0.0);
    EXPECT_EQ(TryParseNumber("0.000" + std::string(320, '0') + "49"), smallest);
    EXPECT_EQ(TryParseNumber("2.2250738585072014e-308"), std::numeric_limits<double>::min());
}

TEST(StrictParseTest, MessagesCutLongFieldsAndShowHiddenBytes) {
    const std::string longField(10'000'000, '7');
    const std::string shown = std::string(64, '7') + "\xE2\x80\xA6";  // "…" is U+2026
    try {
        ParseNumberOrThrow(longField + "x");
        FAIL() << "no error raised";
    } catch (const ConversionError& error) {
        EXPECT_EQ(std::string(error.what()), "'" + shown + "' is not a valid floating point value");
    }
    EXPECT_EQ(NotAValidFloatingNumberMessage(std::string(65, 'a')),
              "\"" + std::string(64, 'a') + "\xE2\x80\xA6\" is not a valid floating number!");
    // 64 characters exactly are not cut; multi-byte characters count as one.
    EXPECT_EQ(NotAValidFloatingNumberMessage(std::string(64, 'a')),
              "\"" + std::string(64, 'a') + "\" is not a valid floating number!");
    try {
        ParseNumberOrThrow("1\x01\xFF\x1B[2J");
        FAIL() << "no error raised";
    } catch (const ConversionError& error) {
        EXPECT_STREQ(error.what(),
                     "'1\\x01\xEF\xBF\xBD\\x1B[2J' is not a valid floating point value");
    }
}

TEST(StrictParseTest, NegativeZeroKeepsItsSign) {
    const std::optional<double> value = TryParseNumber("-0");
    ASSERT_TRUE(value);
    EXPECT_TRUE(std::signbit(*value));
}

TEST(PlainWholeNumberTest, TakesOnlyPlainDecimalDigits) {
    EXPECT_EQ(TryParsePlainWholeNumber("0", 100), 0ULL);
    EXPECT_EQ(TryParsePlainWholeNumber("8", 100), 8ULL);
    EXPECT_EQ(TryParsePlainWholeNumber("300", 1000), 300ULL);
    EXPECT_EQ(TryParsePlainWholeNumber("100", 100), 100ULL);
    // Octal, hexadecimal and binary spellings, signs, blanks and decimals are refused.
    for (const char* text : {"010", "0300", "00", "0x8", "0X8", "0o10", "0b1000", "+8", "-8", " 8",
                             "8 ", "8.0", "8e0", "", "1'000", "Ù¨"}) {
        EXPECT_FALSE(TryParsePlainWholeNumber(text, 1000)) << text;
    }
    EXPECT_FALSE(TryParsePlainWholeNumber("101", 100));
    EXPECT_EQ(TryParsePlainWholeNumber("18446744073709551615", ~0ULL), ~0ULL);
    EXPECT_FALSE(TryParsePlainWholeNumber("18446744073709551616", ~0ULL));
    EXPECT_FALSE(TryParsePlainWholeNumber("99999999999999999999999", ~0ULL));
}

}  // namespace
}  // namespace travik
