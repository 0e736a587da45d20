#include "core/spectra/TargetSpectrumReader.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

namespace travik {
namespace {

// A target text and the message it must be refused with, read as the file "t.txt".
struct Case {
    const char* text;
    const char* message;
};

template <std::size_t N>
void ExpectRefusals(const Case (&cases)[N]) {
    for (const Case& c : cases) {
        try {
            ParseTargetSpectrum(c.text, "t.txt");
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const TargetSpectrumError& error) {
            EXPECT_STREQ(error.what(), c.message) << c.text;
        }
    }
}

TEST(TargetSpectrumText, AcceptsEverySeparatorCommentsAndLineEnds) {
    const TargetSpectrum t = ParseTargetSpectrum(
        "\xEF\xBB\xBF# period (s), Sa (g)\r\n"
        "0,0.4\r\n"
        "  # indented comment\n"
        "0.1;0.7\r"
        "0.2\t1.0\n"
        "\n"
        "0.5   1.0\n"
        "1.0 ,\t0.6",
        "target.txt");
    EXPECT_EQ(t.name, "target.txt");
    EXPECT_EQ(t.periods, (std::vector<double>{0, 0.1, 0.2, 0.5, 1.0}));
    EXPECT_EQ(t.sa, (std::vector<double>{0.4, 0.7, 1.0, 1.0, 0.6}));
}

TEST(TargetSpectrumText, RefusesBadInputNamingFileAndLine) {
    const Case cases[] = {
        {"", "t.txt: no period and Sa pairs found"},
        {"# only a comment\n\n", "t.txt: no period and Sa pairs found"},
        {"# T Sa\n0.1 0.5\n",
         "t.txt, line 2: only one period and Sa pair; a target spectrum "
         "needs at least two"},
        {"0.1 0.5\n0.2 abc\n", "t.txt, line 2: \"abc\" is not a number"},
        {"0.1 0.5\n0.2 0.6 0.7\n",
         "t.txt, line 2: expected two numbers, a period in s and Sa in g, but found \"0.2 0.6 "
         "0.7\""},
        {"0.1\n",
         "t.txt, line 1: expected two numbers, a period in s and Sa in g, but found "
         "\"0.1\""},
        {"0.1 0.5\r\n0.2 -0.6\r\n",
         "t.txt, line 2: periods and spectral accelerations cannot be negative"},
        {"-0.1 0.5\n0.2 0.6\n",
         "t.txt, line 1: periods and spectral accelerations cannot be negative"},
        {"0.1 0.5\n\n0.3 0.6\n0.2 0.7\n",
         "t.txt, line 4: the period 0.2 s is not greater than the period 0.3 s of line 3; "
         "periods must be in ascending order"},
        {"0.1 0.5\n0.1 0.7\n",
         "t.txt, line 2: the period 0.1 s is not greater than the period 0.1 s of line 1; "
         "periods must be in ascending order"},
        {"0,1 0,5\n",
         "t.txt, line 1: expected two numbers, a period in s and Sa in g, but "
         "found \"0,1 0,5\""},
    };
    ExpectRefusals(cases);
}

TEST(TargetSpectrumFile, IsReadWholeAndNamedAfterTheFile) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "travik-target-spectrum-test.csv";
    {
        std::ofstream out(path, std::ios::binary);
        out << "0.0,0.3\n0.5,0.75\n4.0,0.05\n";
    }
    const TargetSpectrum t = ReadTargetSpectrumFile(path);
    EXPECT_EQ(t.name, "travik-target-spectrum-test.csv");
    EXPECT_EQ(t.sa.size(), 3u);
    std::filesystem::remove(path);
    EXPECT_THROW(ReadTargetSpectrumFile(path), TargetSpectrumError);
}

// Values that no axis can be built from, and spectra that cannot be compared with.
TEST(TargetSpectrumText, RefusesValuesBeyondWhatASpectrumHolds) {
    const Case cases[] = {
        {"0.1 1.1e308\n0.2 0.5\n", "t.txt, line 1: Sa 1.1E308 g is outside 0 and 1E-12 to 100 g"},
        {"0.1 0.5\n0.2 1e-320\n",
         "t.txt, line 2: Sa 9.99988867182683E-321 g is outside 0 and "
         "1E-12 to 100 g"},
        {"0.1 0.5\n1e5 0.5\n", "t.txt, line 2: the period 100000 s is longer than 1000 s"},
        {"0.1 0\n0.2 0\n",
         "t.txt: every Sa is 0; a target spectrum needs a value greater than zero"},
    };
    ExpectRefusals(cases);
    // The bounds themselves are accepted.
    const TargetSpectrum edges = ParseTargetSpectrum("0 0\n1000 100\n", "t.txt");
    EXPECT_EQ(edges.sa.back(), 100.0);
}

// A bad line is quoted escaped and cut: no escape sequence reaches the terminal, and a
// line of megabytes is not echoed whole.
TEST(TargetSpectrumText, QuotesABadLineEscapedAndCut) {
    try {
        ParseTargetSpectrum("0.1 0.5\nx\x1B]0;owned\x07 \x1B[2J\n", "t.txt");
        ADD_FAILURE() << "accepted";
    } catch (const TargetSpectrumError& error) {
        EXPECT_STREQ(error.what(),
                     "t.txt, line 2: expected two numbers, a period in s and Sa in "
                     "g, but found \"x\\x1B]0;owned\\x07 \\x1B[2J\"");
    }
    const std::string longLine = "0.1 0.5\n" + std::string(60000, 'x') + " y\n";
    try {
        ParseTargetSpectrum(longLine, "t.txt");
        ADD_FAILURE() << "accepted";
    } catch (const TargetSpectrumError& error) {
        EXPECT_LT(std::string(error.what()).size(), 200u) << error.what();
    }
    const std::string hugeLine = "0.1 0.5\n" + std::string(1 << 20, '7') + "\n";
    try {
        ParseTargetSpectrum(hugeLine, "t.txt");
        ADD_FAILURE() << "accepted";
    } catch (const TargetSpectrumError& error) {
        EXPECT_LT(std::string(error.what()).size(), 200u) << error.what();
    }
}

// A named pipe would block for ever and a device never end: both are refused unread.
TEST(TargetSpectrumFile, RefusesWhatIsNotARegularFile) {
    const std::filesystem::path fifo =
        std::filesystem::temp_directory_path() / "travik-target-spectrum-test.fifo";
    std::filesystem::remove(fifo);
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_THROW(ReadTargetSpectrumFile(fifo), TargetSpectrumError);
    std::filesystem::remove(fifo);
    try {
        ReadTargetSpectrumFile("/dev/zero");
        ADD_FAILURE() << "accepted /dev/zero";
    } catch (const TargetSpectrumError& error) {
        EXPECT_NE(std::string(error.what()).find("not a regular file but a character device"),
                  std::string::npos)
            << error.what();
    }
}

}  // namespace
}  // namespace travik
