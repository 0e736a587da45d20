#include "core/text/ShownText.h"

#include <gtest/gtest.h>

#include <string>

namespace travik {
namespace {

TEST(ShownTextTest, KeepsPrintableTextAndValidUtf8AsItIs) {
    EXPECT_EQ(ShownText("record 1.txt"), "record 1.txt");
    EXPECT_EQ(ShownText("K\xC3\xB6ln \xE5\x9C\xB0\xE9\x9C\x87 \xF0\x9F\x8C\x8B"),
              "K\xC3\xB6ln \xE5\x9C\xB0\xE9\x9C\x87 \xF0\x9F\x8C\x8B");
    EXPECT_EQ(ShownText(""), "");
}

TEST(ShownTextTest, EscapesControlCharactersAndDirectionOverrides) {
    EXPECT_EQ(ShownText(std::string("a\0b", 3)), "a\\x00b");
    EXPECT_EQ(ShownText("\t\r\n\x1B\x7F"), "\\x09\\x0D\\x0A\\x1B\\x7F");
    EXPECT_EQ(ShownText("\xC2\x85"), "\\x85");                              // NEL, a C1 control
    EXPECT_EQ(ShownText("evil\xE2\x80\xAEtxt.exe"), "evil\\u202Etxt.exe");  // RLO
}

TEST(ShownTextTest, ReplacesEveryByteThatIsNotUtf8) {
    const std::string replacement = "\xEF\xBF\xBD";
    EXPECT_EQ(ShownText("a\xFF"
                        "b"),
              "a" + replacement + "b");
    EXPECT_EQ(ShownText("\xC0\xAF"), replacement + replacement);                    // overlong "/"
    EXPECT_EQ(ShownText("\xED\xA0\x80"), replacement + replacement + replacement);  // surrogate
    EXPECT_EQ(ShownText("\xE2\x82"), replacement + replacement);                    // cut short
    // Above U+10FFFF: four bytes, none of them a character.
    EXPECT_EQ(ShownText("\xF4\x90\x80\x80"), replacement + replacement + replacement + replacement);
}

TEST(ShownTextTest, CutsAfterTheGivenNumberOfCharacters) {
    const std::string ellipsis = "\xE2\x80\xA6";
    EXPECT_EQ(ShownTextCut("abcdef", 3), "abc" + ellipsis);
    EXPECT_EQ(ShownTextCut("abc", 3), "abc");
    // Characters, not bytes: three two-byte letters stay whole.
    EXPECT_EQ(ShownTextCut("\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F", 3),
              "\xC3\xA4\xC3\xB6\xC3\xBC" + ellipsis);
    EXPECT_EQ(ShownTextCut(std::string(1'000'000, 'x')).size(), kMaxQuotedCharacters + 3);
}

TEST(ShownTextTest, CsvFieldQuotesOnlyWhatWouldBreakTheLine) {
    EXPECT_EQ(CsvField("elcentro.txt"), "elcentro.txt");
    EXPECT_EQ(CsvField("run 1, north.txt"), "\"run 1, north.txt\"");
    EXPECT_EQ(CsvField("the \"big\" one.txt"), "\"the \"\"big\"\" one.txt\"");
    EXPECT_EQ(CsvField("a\nb"), "\"a\nb\"");
    EXPECT_EQ(CsvField(""), "");
}

}  // namespace
}  // namespace travik
