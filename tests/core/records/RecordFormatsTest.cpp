#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "RecordTexts.h"
#include "core/records/LineSource.h"
#include "core/records/RecordFileReader.h"
#include "core/records/RecordFormat.h"

namespace travik {
namespace {

// The one-column conversions of the same records (data/README.md) carry ten significant
// digits, so every sample must agree to a relative 1e-9.
constexpr double kConversionTolerance = 1e-9;

std::string Sample(const std::string& name) {
    return std::string(TRAVIK_SAMPLE_DATA_DIR) + "/" + name;
}

using record_texts::KnetText;
using record_texts::ReadBytes;
using record_texts::ReadText;

std::vector<double> ReadConversion(const std::string& name) {
    std::ifstream in(Sample(name));
    std::vector<double> values;
    double value = 0.0;
    while (in >> value) {
        values.push_back(value);
    }
    return values;
}

RecordReadOptions As(RecordFormat format) {
    RecordReadOptions options;
    options.format = format;
    return options;
}

void ExpectSameSamples(const TimeHistory& record, const std::vector<double>& expected) {
    ASSERT_EQ(record.SampleCount(), static_cast<int>(expected.size())) << record.SourceFileName();
    const DOUBLEVECTOR& read = record.RawAcceleration();
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const double scale = std::max(std::fabs(expected[i]), std::fabs(read[i]));
        ASSERT_LE(std::fabs(read[i] - expected[i]), kConversionTolerance * scale)
            << record.SourceFileName() << " sample " << i << ": " << read[i] << " vs "
            << expected[i];
    }
}

struct RealSample {
    std::string file;
    RecordFormat format;
    std::vector<std::string> names;        // record names, one per channel
    std::vector<std::string> conversions;  // one-column files of the same records
    double timeStep;
};

const std::vector<RealSample>& RealSamples() {
    static const std::vector<RealSample> samples{
        {"formats/peer/RSN6_IMPVALL.I_I-ELC180-hor1.AT2",
         RecordFormat::PeerNga,
         {"RSN6_IMPVALL.I_I-ELC180-hor1.AT2"},
         {"elcentro-1940-rsn6-180.txt"},
         0.01},
        {"formats/peer/RSN6_IMPVALL.I_I-ELC270-hor2.AT2",
         RecordFormat::PeerNga,
         {"RSN6_IMPVALL.I_I-ELC270-hor2.AT2"},
         {"elcentro-1940-rsn6-270.txt"},
         0.01},
        {"formats/peer/RSN8883_14383980_13849090.AT2",
         RecordFormat::PeerNga,
         {"RSN8883_14383980_13849090.AT2"},
         {"peer-chinohills-rsn8883-090.txt"},
         0.005},
        {"formats/peer/RSN8883_14383980_13849360.AT2",
         RecordFormat::PeerNga,
         {"RSN8883_14383980_13849360.AT2"},
         {"peer-chinohills-rsn8883-360.txt"},
         0.005},
        {"formats/csmip/CIWLT.V2",
         RecordFormat::Csmip,
         {"CIWLT_ch1_090", "CIWLT_ch2_360", "CIWLT_ch3_Up"},
         {"cgs-lahabra-wlt-090.txt", "cgs-lahabra-wlt-360.txt", "cgs-lahabra-wlt-up.txt"},
         0.02},
        {"formats/smc/A-CAT090.AT2.smc",
         RecordFormat::Smc,
         {"A-CAT090.AT2.smc"},
         {"boore-whittier-cat-090.txt"},
         0.02},
        {"formats/smc/A-CAT180.AT2.smc",
         RecordFormat::Smc,
         {"A-CAT180.AT2.smc"},
         {"boore-whittier-cat-180.txt"},
         0.02},
    };
    return samples;
}

TEST(RecordFormats, RealFilesReadAsTheirOneColumnConversions) {
    for (const RealSample& sample : RealSamples()) {
        for (const RecordFormat chosen : {sample.format, RecordFormat::Automatic}) {
            SCOPED_TRACE(sample.file + " as " + std::string(RecordFormatKey(chosen)));
            const RecordFileResult result = ReadRecordFile(Sample(sample.file), As(chosen));
            ASSERT_TRUE(result.ok()) << result.message;
            EXPECT_TRUE(result.warnings.empty());
            EXPECT_EQ(result.format, sample.format);
            ASSERT_EQ(result.records.size(), sample.names.size());
            for (std::size_t c = 0; c < sample.names.size(); ++c) {
                const TimeHistory& record = *result.records[c].record;
                EXPECT_EQ(record.SourceFileName(), sample.names[c]);
                EXPECT_EQ(record.TimeStep(), sample.timeStep);
                ExpectSameSamples(record, ReadConversion(sample.conversions[c]));
            }
        }
    }
}

TEST(RecordFormats, FilesWithoutAConversionMatchThePeaksTheirHeadersPublish) {
    struct Case {
        std::string file;
        RecordFormat format;
        int samples;
        double timeStep;
        double peakGal;    // the header's peak, cm/s^2
        double tolerance;  // its print precision, cm/s^2
        double peakTime;   // s; negative when the header gives none
    };
    // K-NET headers print "Max. Acc. (gal)" of the record with its mean removed, to three
    // decimals; COSMOS headers "Max = -6.852 cm/sec2 at 76.215 sec"; the SMC file "pk = 104.4".
    const std::vector<Case> cases{
        {"formats/knet/CHB0031412312349.EW", RecordFormat::Knet, 6000, 0.01, 8.000, 5e-4, -1},
        {"formats/knet/CHB0031412312349.NS", RecordFormat::Knet, 6000, 0.01, 8.131, 5e-4, -1},
        {"formats/knet/CHB0031412312349.UD", RecordFormat::Knet, 6000, 0.01, 2.425, 5e-4, -1},
        {"formats/knet/NGNH311106302345.EW1", RecordFormat::Knet, 12000, 0.01, 0.192, 5e-4, -1},
        {"formats/knet/NGNH311106302345.EW2", RecordFormat::Knet, 12000, 0.01, 0.708, 5e-4, -1},
        {"formats/cosmos/AKBMR--n.1000hyfh.BNZ.--.acc.V2c", RecordFormat::Cosmos, 42000, 0.005,
         6.852, 5e-4, 76.215},
        {"formats/cosmos/Cosmos12TimeSeriesTest.v1", RecordFormat::Cosmos, 7000, 0.01, 161.962,
         5e-4, 27.85},
        {"formats/smc/0111a.smc", RecordFormat::Smc, 6001, 0.005, 104.4, 0.05, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const RecordFileResult result = ReadRecordFile(Sample(c.file), As(RecordFormat::Automatic));
        ASSERT_TRUE(result.ok()) << result.message;
        EXPECT_EQ(result.format, c.format);
        ASSERT_EQ(result.records.size(), 1u);
        const TimeHistory& record = *result.records[0].record;
        EXPECT_EQ(record.SampleCount(), c.samples);
        EXPECT_EQ(record.TimeStep(), c.timeStep);
        const RecordPeak peak = FindPeakAcceleration(record);
        EXPECT_NEAR(std::fabs(peak.value) * 980.665, c.peakGal, c.tolerance);
        if (c.peakTime >= 0) {
            EXPECT_NEAR(peak.time, c.peakTime, 1e-9);
        }
    }
}

TEST(RecordFormats, CsmipV1AndOlderV2FilesMatchThePeaksOfTheirHeaders) {
    struct Channel {
        std::string name;
        int samples;
        double peak;  // as the channel header prints it
        double unitsPerG;
        double tolerance;
        double time;
    };
    struct Case {
        std::string file;
        double timeStep;
        std::vector<Channel> channels;
    };
    // V1 "Max = .079 g , at 30.590 sec."; older V2 "PEAK ACCELERATION = -267.957 CM/SEC/SEC
    // AT 10.940 SEC." (g = 980.665 in its real header).
    const std::vector<Case> cases{
        {"formats/csmip/CE89146.V1",
         0.005,
         {{"CE89146_ch1_360", 13200, 0.079, 1.0, 5e-4, 30.59},
          {"CE89146_ch2_Up", 13200, 0.021, 1.0, 5e-4, 30.59},
          {"CE89146_ch3_090", 13200, -0.045, 1.0, 5e-4, 30.575}}},
        {"formats/csmip/CE36456.V2",
         0.02,
         {{"CE36456_ch1_090", 3251, -267.957, 980.665, 5e-4, 10.94},
          {"CE36456_ch2_UP", 3250, -94.805, 980.665, 5e-4, 11.68},
          {"CE36456_ch3_000", 3250, -256.231, 980.665, 5e-4, 7.74}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const RecordFileResult result = ReadRecordFile(Sample(c.file), As(RecordFormat::Automatic));
        ASSERT_TRUE(result.ok()) << result.message;
        EXPECT_EQ(result.format, RecordFormat::Csmip);
        ASSERT_EQ(result.records.size(), c.channels.size());
        for (std::size_t i = 0; i < c.channels.size(); ++i) {
            const Channel& expected = c.channels[i];
            const TimeHistory& record = *result.records[i].record;
            EXPECT_EQ(record.SourceFileName(), expected.name);
            EXPECT_EQ(record.SampleCount(), expected.samples);
            EXPECT_EQ(record.TimeStep(), c.timeStep);
            const RecordPeak peak = FindPeakAcceleration(record);
            EXPECT_NEAR(peak.value * expected.unitsPerG, expected.peak, expected.tolerance);
            EXPECT_NEAR(peak.time, expected.time, 1e-9);
        }
    }
}

TEST(RecordFormats, KnetCountsAreScaledAndTheMeanRemoved) {
    const std::string text = KnetText("50Hz", "0.06");
    // 3 counts of 9.80665 gal each: 1, 2, -3 hundredths of g, mean 0 already.
    const RecordFileResult result = ReadText(text, RecordFormat::Automatic, "K.UD");
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(result.format, RecordFormat::Knet);
    const TimeHistory& record = *result.records[0].record;
    EXPECT_EQ(record.TimeStep(), 0.02);
    ASSERT_EQ(record.SampleCount(), 3);
    EXPECT_NEAR(record.RawAcceleration()[0], 0.01, 1e-15);
    EXPECT_NEAR(record.RawAcceleration()[2], -0.03, 1e-15);
    EXPECT_EQ(result.records[0].channel, "U-D");

    // An offset of 50 counts is removed with the mean.
    std::string shifted = text;
    shifted.replace(shifted.find("     100      200     -300"), 26, "     150      250     -250");
    const RecordFileResult moved = ReadText(shifted, RecordFormat::Knet, "K.UD");
    ASSERT_TRUE(moved.ok()) << moved.message;
    EXPECT_NEAR(moved.records[0].record->RawAcceleration()[1], 0.02, 1e-15);
}

TEST(RecordFormats, BothAt2HeaderDialectsGiveCountAndTimeStep) {
    const std::string west2 =
        "PEER NGA STRONG MOTION DATABASE RECORD\n"
        "Test, 1/1/2000, Station, 90\n"
        "ACCELERATION TIME SERIES IN UNITS OF G\n"
        "NPTS=      7, DT=   .0050 SEC\n"
        "  .1000000E-01 -.2000000E-01  .3000000E-01  .4000000E-01  .5000000E-01\n"
        "  .6000000E-01 -.7000000E-01\n";
    const std::string older =
        "PEER STRONG MOTION DATABASE RECORD. PROCESSING BY PACIFIC ENGINEERING.\n"
        "IMPERIAL VALLEY 10/15/79 2316, EL CENTRO ARRAY #6, 230\n"
        "ACCELERATION TIME HISTORY IN UNITS OF G.  FILTER POINTS:  HP=0.1 Hz LP=40.0 Hz\n"
        "   7   0.00500   NPTS, DT\n"
        "  .1000000E-01 -.2000000E-01  .3000000E-01  .4000000E-01  .5000000E-01\n"
        "  .6000000E-01 -.7000000E-01\n";
    for (const std::string& text : {west2, older}) {
        EXPECT_EQ(DetectRecordFormat(text), RecordFormat::PeerNga);
        const RecordFileResult result = ReadText(text, RecordFormat::Automatic, "r.AT2");
        ASSERT_TRUE(result.ok()) << result.message;
        const TimeHistory& record = *result.records[0].record;
        EXPECT_EQ(record.TimeStep(), 0.005);
        ASSERT_EQ(record.SampleCount(), 7);
        EXPECT_EQ(record.RawAcceleration()[6], -0.07);
        EXPECT_EQ(record.RawAcceleration()[1], -0.02);
    }
    EXPECT_EQ(ReadText(older, RecordFormat::PeerNga).records[0].channel, "230");
}

TEST(RecordFormats, DetectionGoesByContentAndLooksAtTheFirst64KiBOnly) {
    for (const RealSample& sample : RealSamples()) {
        EXPECT_EQ(DetectRecordFormat(ReadBytes(Sample(sample.file))), sample.format) << sample.file;
        for (const std::string& conversion : sample.conversions) {
            EXPECT_EQ(DetectRecordFormat(ReadBytes(Sample(conversion))), RecordFormat::Free);
        }
    }
    EXPECT_EQ(DetectRecordFormat(""), RecordFormat::Free);
    EXPECT_EQ(DetectRecordFormat("t,a\n0,0.1\n0.01,0.2\n"), RecordFormat::Free);

    const std::string at2 = ReadBytes(Sample(RealSamples()[0].file));
    EXPECT_EQ(DetectRecordFormat("\xEF\xBB\xBF" + at2), RecordFormat::PeerNga);
    // A header pushed beyond the first 64 KiB is not looked at.
    EXPECT_EQ(DetectRecordFormat(std::string(kDetectionPrefixBytes, '\n') + at2),
              RecordFormat::Free);
}

TEST(RecordFormats, MessagesNameFileLineAndFault) {
    const std::string header =
        "PEER NGA STRONG MOTION DATABASE RECORD\n"
        "Test, 1/1/2000, Station, 90\n"
        "ACCELERATION TIME SERIES IN UNITS OF G\n";
    struct Case {
        std::string text;
        RecordFormat format;
        std::string message;
    };
    const std::vector<Case> cases{
        {header + "NPTS=      4, DT=   .0100 SEC\n  .1E-01  .2E-01\n  .3E-01\n",
         RecordFormat::PeerNga,
         "FILE: f.txt. ERROR Line: 6. ERROR: PEER NGA AT2: the header announces 4 values; the "
         "file ends after 3"},
        {header + "NPTS=      2, DT=   0.000 SEC\n  .1E-01  .2E-01\n", RecordFormat::PeerNga,
         "FILE: f.txt. ERROR Line: 4. ERROR: PEER NGA AT2: the time step 0 s in the header line "
         "\"NPTS= 2, DT= 0.000 SEC\" is not greater than zero"},
        {header + "NPTS=      2, DT=   -.01 SEC\n  .1E-01  .2E-01\n", RecordFormat::PeerNga,
         "FILE: f.txt. ERROR Line: 4. ERROR: PEER NGA AT2: the time step -0.01 s in the header "
         "line \"NPTS= 2, DT= -.01 SEC\" is not greater than zero"},
        {header + "NPTS=      2, DT=  SEC\n  .1E-01  .2E-01\n", RecordFormat::PeerNga,
         "FILE: f.txt. ERROR Line: 4. ERROR: PEER NGA AT2: no time step in the header line "
         "\"NPTS= 2, DT= SEC\""},
        {header + "NPTS=      2, DT=  .01 SEC\n  .1E-01  x.2E-01\n", RecordFormat::PeerNga,
         "FILE: f.txt. ERROR Line: 5. ERROR: PEER NGA AT2: 'x.2E-01' is not a valid floating "
         "point value (the header announces 2 values; 0 found before this line)"},
        {header + "NPTS=      2, DT=  .01 SEC\n  .1E-01  .2E-01\nEND\n", RecordFormat::PeerNga,
         "FILE: f.txt. ERROR Line: 6. ERROR: PEER NGA AT2: text after the 2 values the header "
         "announces"},
        {"PEER NGA STRONG MOTION DATABASE RECORD\nTest, 1/1/2000, Station, 90\n"
         "ACCELERATION TIME SERIES IN UNITS OF CM/S/S\nNPTS=      1, DT=   .0100 SEC\n 1.0\n",
         RecordFormat::PeerNga,
         "FILE: f.txt. ERROR Line: 3. ERROR: PEER NGA AT2: unknown units \"CM/S/S\": the reader "
         "takes "
         "acceleration in units of G"},
        {"PEER NGA STRONG MOTION DATABASE RECORD\nTest, 1/1/2000, Station, 90\n"
         "VELOCITY TIME SERIES IN UNITS OF CM/S\nNPTS=      1, DT=   .0100 SEC\n 1.0\n",
         RecordFormat::PeerNga,
         "FILE: f.txt. ERROR Line: 3. ERROR: PEER NGA AT2: the record is not an acceleration "
         "time series: \"VELOCITY TIME SERIES IN UNITS OF CM/S\""},
        {"", RecordFormat::PeerNga,
         "FILE: f.txt. ERROR Line: 1. ERROR: no PEER NGA AT2 header was found (the file ends "
         "where the title line should follow); the file looks like Free Type: choose "
         "Automatic to have each file's format recognised"},
        {"0.1\n0.2\n", RecordFormat::Smc,
         "FILE: f.txt. ERROR Line: 1. ERROR: no USGS SMC header was found (the first line \"0.1\" "
         "does not give the data type of an SMC file); the file looks like Free Type: choose "
         "Automatic to have each file's format recognised"},
        {"1 VELOCITY\n", RecordFormat::Smc,
         "FILE: f.txt. ERROR Line: 1. ERROR: no USGS SMC header was found (the file holds \"1 "
         "VELOCITY\", not acceleration); the file looks like Free Type: choose Automatic to "
         "have each file's format recognised"},
        {"0.1\n", RecordFormat::Knet,
         "FILE: f.txt. ERROR Line: 2. ERROR: no K-NET/KiK-net ASCII header was found (the file "
         "ends where the 17 header lines should follow); the file looks like Free Type: "
         "choose Automatic to have each file's format recognised"},
        {"0.1\n", RecordFormat::Cosmos,
         "FILE: f.txt. ERROR Line: 1. ERROR: no COSMOS V1/V2 header was found (a COSMOS channel "
         "begins with a title line that names the format, e.g. \"(Format v01.20 with 13 text "
         "lines)\"); the file looks like Free Type: choose Automatic to have each file's "
         "format recognised"},
        {"0.1\n", RecordFormat::Csmip,
         "FILE: f.txt. ERROR Line: 1. ERROR: no CSMIP/CGS V1/V2 header was found (channel 1 does "
         "not begin with an accelerogram title line); the file looks like Free Type: choose "
         "Automatic to have each file's format recognised"},
        {std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), RecordFormat::Automatic,
         "FILE: f.txt. ERROR Line: 3. ERROR: binary data: this is not the text of a record "
         "file"},
        {"", RecordFormat::Automatic,
         "FILE: f.txt, WARNING: Skipline is too large, there is no data to read!"},
    };
    for (const Case& c : cases) {
        const RecordFileResult result = ReadText(c.text, c.format);
        EXPECT_FALSE(result.ok());
        EXPECT_TRUE(result.records.empty());
        EXPECT_EQ(result.message, c.message);
    }
}

TEST(RecordFormats, AFileOfOneFormatReadAsAnotherIsRefusedWithItsLine) {
    const std::string at2 = Sample("formats/peer/RSN6_IMPVALL.I_I-ELC180-hor1.AT2");
    const RecordFileResult asSmc = ReadRecordFile(at2, As(RecordFormat::Smc));
    EXPECT_EQ(asSmc.message,
              "FILE: RSN6_IMPVALL.I_I-ELC180-hor1.AT2. ERROR Line: 1. ERROR: no USGS SMC header "
              "was found (the first line \"PEER NGA STRONG MOTION DATABASE RECORD\" does not "
              "give the data type of an SMC file); the file looks like PEER NGA AT2: choose "
              "Automatic to have each file's format recognised");
    const RecordFileResult asFree = ReadRecordFile(at2, As(RecordFormat::Free));
    EXPECT_EQ(asFree.message,
              "FILE: RSN6_IMPVALL.I_I-ELC180-hor1.AT2. ERROR Line: 1. ERROR: 'PEER NGA STRONG "
              "MOTION DATABASE RECORD' is not a valid floating point value");
    const RecordFileResult knetAsPeer =
        ReadRecordFile(Sample("formats/knet/CHB0031412312349.EW"), As(RecordFormat::PeerNga));
    EXPECT_EQ(knetAsPeer.message,
              "FILE: CHB0031412312349.EW. ERROR Line: 3. ERROR: no PEER NGA AT2 header was found "
              "(the record is not an acceleration time series: \"Long. 139.887\"); the file looks "
              "like K-NET/KiK-net ASCII: choose Automatic to have each file's format recognised");
}

TEST(RecordFormats, MoreValuesThanAnnouncedReadTheAnnouncedCountWithAWarning) {
    const std::string text =
        "PEER NGA STRONG MOTION DATABASE RECORD\nTest, 1/1/2000, Station, 90\n"
        "ACCELERATION TIME SERIES IN UNITS OF G\nNPTS=      3, DT=   .0100 SEC\n"
        "  .1E-01  .2E-01  .3E-01  .4E-01\n  .5E-01\n\n";
    const RecordFileResult result = ReadText(text, RecordFormat::PeerNga);
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(result.records[0].record->SampleCount(), 3);
    ASSERT_EQ(result.warnings.size(), 1u);
    EXPECT_EQ(result.warnings[0],
              "FILE: f.txt. Line: 5. WARNING: the header announces 3 values but holds 5; the "
              "first 3 are read");
}

TEST(RecordFormats, ChannelsOfACsmipFileFailTogether) {
    // Cut the V2 file inside channel 2's acceleration: nothing of the file is read.
    std::string bytes = ReadBytes(Sample("formats/csmip/CIWLT.V2"));
    std::size_t at = bytes.find("points of accel data", bytes.find("Chan  2"));
    ASSERT_NE(at, std::string::npos);
    bytes.resize(bytes.find('\n', at + 2000) + 1);
    const RecordFileResult result = ReadRecordBytes(bytes, "CIWLT.V2", As(RecordFormat::Csmip));
    EXPECT_TRUE(result.records.empty());
    EXPECT_NE(result.message.find("FILE: CIWLT.V2. ERROR Line: "), std::string::npos);
    EXPECT_NE(result.message.find("channel 2's data line announces 15029 values; the file ends "
                                  "after "),
              std::string::npos)
        << result.message;
}

TEST(RecordFormats, CosmosRawCountsAreRefused) {
    std::string bytes = ReadBytes(Sample("formats/cosmos/Cosmos12TimeSeriesTest.v1"));
    // Integer header field 3 (physical units) 4 -> 50 (counts).
    const std::size_t line = bytes.find("Integer-header");
    const std::size_t field = bytes.find('\n', line) + 1 + 16;
    ASSERT_EQ(bytes.substr(field, 8), "       4");
    bytes.replace(field, 8, "      50");
    const RecordFileResult result = ReadRecordBytes(bytes, "c.v1", As(RecordFormat::Automatic));
    EXPECT_EQ(result.message,
              "FILE: c.v1. ERROR Line: 15. ERROR: COSMOS V1/V2: the values are raw counts (units "
              "code 50), not acceleration: read the V1 or V2 file of this record");
}

TEST(RecordFormats, AnOverriddenTimeStepReplacesTheHeadersWithAWarning) {
    RecordReadOptions options = As(RecordFormat::Automatic);
    options.timeStepOverride = 0.02;
    const RecordFileResult result =
        ReadRecordFile(Sample("formats/peer/RSN6_IMPVALL.I_I-ELC180-hor1.AT2"), options);
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(result.records[0].record->TimeStep(), 0.02);
    EXPECT_EQ(result.records[0].record->SampleCount(), 5372);
    ASSERT_EQ(result.warnings.size(), 1u);
    EXPECT_EQ(result.warnings[0],
              "FILE: RSN6_IMPVALL.I_I-ELC180-hor1.AT2, WARNING: "
              "RSN6_IMPVALL.I_I-ELC180-hor1.AT2: the time step 0.01 s of the file is replaced "
              "by 0.02 s");

    options.timeStepOverride = 0.0;
    EXPECT_EQ(options.Check(), "the time step must be greater than zero");
}

TEST(RecordFormats, ImportStopsAtTheFirstFailingFileAndKeepsTheRecordsBefore) {
    RecordList records;
    std::vector<std::string> failures;
    const bool all = ImportRecordFilesAs(
        {Sample("formats/csmip/CIWLT.V2"), Sample("missing.AT2"),
         Sample("formats/smc/A-CAT090.AT2.smc")},
        As(RecordFormat::Automatic), 980.0, records, nullptr,
        [&failures](const std::string& message) { failures.push_back(message); });
    EXPECT_FALSE(all);
    ASSERT_EQ(records.Count(), 3);
    EXPECT_TRUE(records.At(2).IsIntegrated());
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].rfind("FILE : missing.AT2 , ERROR: Cannot open file \"", 0), 0u);
}

TEST(RecordFormats, ALargeFileThatIsNotARecordIsRefusedAtItsFirstLines) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "travik-garbage-record.bin";
    {
        std::ofstream out(path, std::ios::binary);
        std::string block(1 << 20, 'x');
        for (std::size_t i = 0; i < block.size(); i += 97) {
            block[i] = '\n';
        }
        for (int i = 0; i < 8; ++i) {
            out << block;
        }
    }
    for (const RecordFormat format : {RecordFormat::Automatic, RecordFormat::Free,
                                      RecordFormat::PeerNga, RecordFormat::Cosmos}) {
        const RecordFileResult result = ReadRecordFile(path.string(), As(format));
        EXPECT_FALSE(result.ok());
        EXPECT_NE(result.message.find("ERROR Line: "), std::string::npos) << result.message;
    }
    std::filesystem::remove(path);
}

TEST(RecordFormats, DamagedFilesGiveAMessageOrRecordsNeverACrash) {
    // Every sample cut short at many places and with bytes overwritten, read as its own
    // format and detected: each reading ends in records or in a message naming the file.
    const std::vector<std::string> files{"formats/peer/RSN6_IMPVALL.I_I-ELC180-hor1.AT2",
                                         "formats/csmip/CIWLT.V2", "formats/smc/A-CAT090.AT2.smc",
                                         "formats/knet/CHB0031412312349.EW",
                                         "formats/cosmos/Cosmos12TimeSeriesTest.v1"};
    const std::vector<RecordFormat> formats{RecordFormat::PeerNga, RecordFormat::Csmip,
                                            RecordFormat::Smc, RecordFormat::Knet,
                                            RecordFormat::Cosmos};
    for (std::size_t f = 0; f < files.size(); ++f) {
        const std::string bytes = ReadBytes(Sample(files[f])).substr(0, 20000);
        for (std::size_t cut = 0; cut < 6000; cut += 61) {
            std::string damaged = bytes.substr(0, cut);
            for (const RecordFormat format : {formats[f], RecordFormat::Automatic}) {
                const RecordFileResult result = ReadRecordBytes(damaged, "d", As(format));
                EXPECT_TRUE(result.ok() || result.message.starts_with("FILE: d")) << result.message;
            }
            damaged = bytes;
            for (const char replacement : {'-', ' ', '\n', 'E'}) {
                damaged[cut] = replacement;
                const RecordFileResult result = ReadRecordBytes(damaged, "d", As(formats[f]));
                EXPECT_TRUE(result.ok() || result.message.starts_with("FILE: d")) << result.message;
            }
        }
    }
}

TEST(LineSource, StreamedLinesMatchTheTextAcrossBlockBoundaries) {
    // CR LF split across the 64 KiB block boundary, a lone CR and no final break.
    std::string text(65535, 'a');
    text += "\r\nb\rc\n\nlast";
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "travik-line-source.txt";
    {
        std::ofstream out(path, std::ios::binary);
        out << text;
    }
    std::FILE* file = std::fopen(path.string().c_str(), "rb");
    ASSERT_NE(file, nullptr);
    LineSource streamed(file);
    LineSource inMemory(text);
    std::vector<std::string> fromFile;
    std::vector<std::string> fromText;
    std::string_view line;
    while (streamed.Next(line)) {
        fromFile.emplace_back(line);
    }
    while (inMemory.Next(line)) {
        fromText.emplace_back(line);
    }
    std::fclose(file);
    std::filesystem::remove(path);
    const std::vector<std::string> expected{std::string(65535, 'a'), "b", "c", "", "last"};
    EXPECT_EQ(fromFile, expected);
    EXPECT_EQ(fromText, expected);
    EXPECT_FALSE(streamed.Failed());
}

TEST(LineSource, RefusesNulAndOverlongLines) {
    LineSource withNul(std::string_view("a\nb\0c\n", 6));
    std::string_view line;
    EXPECT_TRUE(withNul.Next(line));
    EXPECT_FALSE(withNul.Next(line));
    EXPECT_EQ(withNul.Error(),
              "line 2 holds a NUL character: this is binary data, not a record file");

    const std::string longLine(LineSource::kMaxLineLength + 1, '1');
    LineSource tooLong(longLine);
    EXPECT_FALSE(tooLong.Next(line));
    EXPECT_TRUE(tooLong.Failed());
}

TEST(RecordFormats, NamesAndKeysGoBothWays) {
    for (const RecordFormat format :
         {RecordFormat::Automatic, RecordFormat::Free, RecordFormat::PeerNga, RecordFormat::Csmip,
          RecordFormat::Smc, RecordFormat::Knet, RecordFormat::Cosmos}) {
        EXPECT_EQ(RecordFormatFromKey(RecordFormatKey(format)), format);
        EXPECT_FALSE(RecordFormatName(format).empty());
    }
    EXPECT_FALSE(RecordFormatFromKey("AT2"));
}

}  // namespace
}  // namespace travik
