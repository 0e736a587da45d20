#include "spectra/TargetSpectrumReader.h"

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

namespace travik {
namespace {

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
    struct Case {
        const char* text;
        const char* message;
    };
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
    for (const Case& c : cases) {
        try {
            ParseTargetSpectrum(c.text, "t.txt");
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const TargetSpectrumError& error) {
            EXPECT_STREQ(error.what(), c.message) << c.text;
        }
    }
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

}  // namespace
}  // namespace travik
