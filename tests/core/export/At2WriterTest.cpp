#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/export/At2Writer.h"
#include "core/records/RecordFileReader.h"

namespace travik {
namespace {

TEST(At2Writer, ValuesAreWrittenInFortranE15_7) {
    // The fields as a Fortran E15.7 edit descriptor writes them (worked by hand: seven
    // mantissa digits after "0.", rounded to nearest, exponent of two digits).
    EXPECT_EQ(FormatE15_7(0.001234567), "  0.1234567E-02");
    EXPECT_EQ(FormatE15_7(-0.001234567), " -0.1234567E-02");
    EXPECT_EQ(FormatE15_7(0.123456789), "  0.1234568E+00");
    EXPECT_EQ(FormatE15_7(1.0), "  0.1000000E+01");
    EXPECT_EQ(FormatE15_7(0.99999996), "  0.1000000E+01");
    EXPECT_EQ(FormatE15_7(12.5), "  0.1250000E+02");
    EXPECT_EQ(FormatE15_7(0.0), "  0.0000000E+00");
    EXPECT_EQ(FormatE15_7(-0.0), "  0.0000000E+00");
    EXPECT_EQ(FormatE15_7(3e-12), "  0.3000000E-11");
}

TEST(At2Writer, FileNameCarriesTheFactorToFourDecimals) {
    EXPECT_EQ(At2FileName("RSN12_NORTH", 1.234567), "RSN12_NORTH_x1.2346.AT2");
    EXPECT_EQ(At2FileName("a", 0.5), "a_x0.5000.AT2");
}

TEST(At2Writer, HeaderAndLinesOfFiveValues) {
    At2Record record{"quake.txt", "NORTH", 2.0, 0.005, {0.1, -0.2, 0.3, 0.4, 0.5, 0.6, -0.7}};
    std::vector<std::string> lines;
    WriteAt2([&](std::string_view line) { lines.emplace_back(line); }, record);
    ASSERT_EQ(lines.size(), 6U);
    EXPECT_EQ(lines[1], "Scaled from quake.txt by 2, NORTH");
    EXPECT_EQ(lines[2], "ACCELERATION TIME SERIES IN UNITS OF G");
    EXPECT_EQ(lines[3], "NPTS=  7, DT=  0.005 SEC");
    EXPECT_EQ(lines[4],
              "  0.1000000E+00 -0.2000000E+00  0.3000000E+00  0.4000000E+00  0.5000000E+00");
    EXPECT_EQ(lines[5], "  0.6000000E+00 -0.7000000E+00");
}

TEST(At2Writer, ReadingTheFileBackGivesTheSourceTimesTheFactorToThePrintedDigits) {
    const double factor = 1.37;
    std::vector<double> source;
    for (int i = 0; i < 23; ++i) {
        source.push_back(0.3 * std::sin(0.7 * i) * std::exp(-0.05 * i) + (i == 5 ? 0.0 : 1e-6));
    }
    At2Record record{"quake.txt", "UP", factor, 0.02, {}};
    for (const double v : source) {
        record.acceleration.push_back(v * factor);
    }
    std::string bytes;
    WriteAt2(
        [&](std::string_view line) {
            bytes += line;
            bytes += "\r\n";
        },
        record);
    RecordReadOptions options;
    options.format = RecordFormat::Automatic;
    const RecordFileResult read = ReadRecordBytes(bytes, "quake_x1.3700.AT2", options);
    ASSERT_TRUE(read.ok()) << read.message;
    EXPECT_EQ(read.format, RecordFormat::PeerNga);
    ASSERT_EQ(read.records.size(), 1U);
    EXPECT_EQ(read.records[0].channel, "UP");
    const TimeHistory& back = *read.records[0].record;
    EXPECT_DOUBLE_EQ(back.TimeStep(), 0.02);
    ASSERT_EQ(back.SampleCount(), 23);
    for (int i = 0; i < 23; ++i) {
        const double expected = source[static_cast<std::size_t>(i)] * factor;
        // Seven significant digits: within half a unit of the seventh.
        const double unit = std::pow(10.0, std::floor(std::log10(std::fabs(expected))) - 6);
        EXPECT_LE(std::fabs(back.RawAcceleration()[static_cast<std::size_t>(i)] - expected),
                  0.5 * unit * (1 + 1e-9))
            << i;
    }
}

}  // namespace
}  // namespace travik
