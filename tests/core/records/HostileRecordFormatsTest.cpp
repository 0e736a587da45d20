// Hostile headers of the named formats: counts that give no sample or overflow, time steps
// that overflow. Each must be refused with its line and field, never read as an empty or
// shifted record.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "RecordTexts.h"
#include "core/export/ReportHeader.h"
#include "core/records/ChannelNames.h"
#include "core/records/RecordFileReader.h"
#include "core/records/RecordFormat.h"

namespace travik {
namespace {

using record_texts::KnetText;
using record_texts::ReadText;

std::string ReadSample(const std::string& name) {
    return record_texts::ReadBytes(std::string(TRAVIK_SAMPLE_DATA_DIR) + "/formats/" + name);
}

// A PEER NGA AT2 file of two samples with the given count line.
std::string At2Text(const std::string& countLine) {
    return "PEER NGA STRONG MOTION DATABASE RECORD\n"
           "Test, 1/1/2000, Station, 90\n"
           "ACCELERATION TIME SERIES IN UNITS OF G\n" +
           countLine + "\n  .1000000E-01 -.2000000E-01\n";
}

TEST(HostileRecordFormats, KnetDurationsGivingNoSampleOrTooManyAreRefusedOnTheirLine) {
    // 0.001 s at 100 Hz rounds to no sample at all.
    const RecordFileResult none =
        ReadText(KnetText("100Hz", "0.001"), RecordFormat::Automatic, "K.UD");
    EXPECT_FALSE(none.ok());
    EXPECT_TRUE(none.records.empty());
    EXPECT_EQ(none.message,
              "FILE: K.UD. ERROR Line: 12. ERROR: K-NET/KiK-net ASCII: the duration \"0.001\" at "
              "the sampling frequency gives no sample");
    // 1e17 s at 100 Hz would announce more values than a whole number holds.
    const RecordFileResult huge = ReadText(KnetText("100Hz", "1e17"), RecordFormat::Knet, "K.UD");
    EXPECT_FALSE(huge.ok());
    EXPECT_EQ(huge.message,
              "FILE: K.UD. ERROR Line: 12. ERROR: K-NET/KiK-net ASCII: the duration \"1e17\" at "
              "the sampling frequency gives more samples than a record can hold");
    // 0.005 s at 100 Hz rounds up to one sample, which is read; the rest is extra.
    const RecordFileResult one = ReadText(KnetText("100Hz", "0.005"), RecordFormat::Knet, "K.UD");
    ASSERT_TRUE(one.ok()) << one.message;
    EXPECT_EQ(one.records[0].record->SampleCount(), 1);
}

TEST(HostileRecordFormats, ASamplingFrequencyWhoseStepOverflowsIsNamedSo) {
    const RecordFileResult result =
        ReadText(KnetText("4e-320Hz", "0.03"), RecordFormat::Knet, "K.UD");
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(result.message,
              "FILE: K.UD. ERROR Line: 11. ERROR: K-NET/KiK-net ASCII: the time step in "
              "\"Sampling Freq(Hz)\" is not a finite number of seconds (it overflows)");
}

TEST(HostileRecordFormats, ABrokenAt2CountOrStepIsNamedUnderAutomatic) {
    const RecordFileResult nan =
        ReadText(At2Text("NPTS=      2, DT=   nan SEC"), RecordFormat::Automatic, "r.AT2");
    EXPECT_EQ(nan.format, RecordFormat::PeerNga);
    EXPECT_EQ(nan.message,
              "FILE: r.AT2. ERROR Line: 4. ERROR: PEER NGA AT2: the time step \"nan\" in the "
              "header line \"NPTS= 2, DT= nan SEC\" is not a number");
    const RecordFileResult huge = ReadText(At2Text("NPTS= 18446744073709551616, DT= .0050 SEC"),
                                           RecordFormat::Automatic, "r.AT2");
    EXPECT_EQ(huge.format, RecordFormat::PeerNga);
    EXPECT_EQ(huge.message,
              "FILE: r.AT2. ERROR Line: 4. ERROR: PEER NGA AT2: the point count "
              "NPTS=18446744073709551616 is more than a record can hold");
    const RecordFileResult good =
        ReadText(At2Text("NPTS=      2, DT=   .0050 SEC"), RecordFormat::Automatic, "r.AT2");
    ASSERT_TRUE(good.ok()) << good.message;
    EXPECT_EQ(good.records[0].record->SampleCount(), 2);
}

TEST(HostileRecordFormats, EveryFormatRefusesARecordWithoutSamples) {
    const std::string peer =
        "PEER NGA STRONG MOTION DATABASE RECORD\n"
        "Test, 1/1/2000, Station, 90\n"
        "ACCELERATION TIME SERIES IN UNITS OF G\n"
        "NPTS=      0, DT=   .0050 SEC\n";
    const RecordFileResult result = ReadText(peer, RecordFormat::Automatic, "r.AT2");
    EXPECT_FALSE(result.ok());
    EXPECT_TRUE(result.records.empty());
    EXPECT_NE(result.message.find("NPTS=0 is not greater than zero"), std::string::npos)
        << result.message;
}

// Texts from a file's contents become safe name parts: no separator, no "..", no control
// character, bounded.
TEST(ChannelNames, ReduceFileContentsToSafeNameParts) {
    EXPECT_EQ(SafeFileNamePart("N/S"), "N_S");
    EXPECT_EQ(SafeFileNamePart("../../etc/passwd"), "etc_passwd");
    EXPECT_EQ(SafeFileNamePart(".."), "");
    EXPECT_EQ(SafeFileNamePart("360.5 Deg"), "360_5_Deg");
    EXPECT_EQ(SafeFileNamePart("\x1B[2J\x07Up\xC2\x9B\xE2\x80\xAE"), "2J_Up");
    EXPECT_EQ(SafeFileNamePart("a\\b:c*d?e"), "a_b_c_d_e");
    EXPECT_EQ(SafeFileNamePart(std::string(1000, 'x')), std::string(kMaxSafeNamePartBytes, 'x'));
    EXPECT_EQ(SafeFileNamePart(std::string(23, 'x') + "/yy"), std::string(23, 'x'));
    EXPECT_EQ(SafeFileNamePart("-1+"), "-1+");
}

TEST(ChannelNames, SeveralChannelsAreNamedByStemChannelAndOrientation) {
    EXPECT_EQ(ChannelRecordNames("CIWLT.V2", {{"1", "90 Deg"}, {"2", "360 Deg"}, {"3", "Up"}}),
              (std::vector<std::string>{"CIWLT_ch1_090", "CIWLT_ch2_360", "CIWLT_ch3_Up"}));
    EXPECT_EQ(ChannelRecordNames("CE36456.V2", {{"1", "0 DEG"}, {"2", ""}}),
              (std::vector<std::string>{"CE36456_ch1_000", "CE36456_ch2"}));
    // One channel keeps the file's name, and with it today's report names.
    EXPECT_EQ(ChannelRecordNames("X.V2", {{"1", "N/S"}}), (std::vector<std::string>{"X.V2"}));
    // Hostile texts: separators, "..", a dot that would shift the extension, repeats.
    const std::vector<std::string> hostile = ChannelRecordNames(
        "Q.v2", {{"1", "../../out"}, {"1", "../../out"}, {"", "N.S"}, {"1/2", "a"}});
    EXPECT_EQ(hostile,
              (std::vector<std::string>{"Q_ch1_out", "Q_ch1_out_2", "Q_ch3_N_S", "Q_ch1_2_a"}));
    for (const std::string& name : hostile) {
        EXPECT_EQ(name.find_first_of("/\\."), std::string::npos) << name;
        EXPECT_EQ(ReportFileBase(name), name);
    }
}

// Whatever a record's name holds, its report stays in the folder, within the name limit.
TEST(ChannelNames, ReportFileBasesNeverLeaveTheFolder) {
    EXPECT_EQ(ReportFileBase("a/../../b.txt"), "a_.._.._b");
    EXPECT_EQ(ReportFileBase("..txt"), "record");
    EXPECT_EQ(ReportFileBase("..."), "record");
    EXPECT_EQ(ReportFileBase("."), "");
    EXPECT_EQ(ReportFileBase(""), "");
    EXPECT_EQ(ReportFileBase("\x1B]0;x\x07.txt"), "_]0;x_");
    EXPECT_EQ(ReportFileBase(std::string(300, 'r') + ".txt").size(), 200u);
    std::string accented;
    for (int i = 0; i < 150; ++i) {
        accented += "\xC3\xA9";
    }
    const std::string cut = ReportFileBase(accented + ".txt");
    EXPECT_EQ(cut.size(), 200u);
    EXPECT_EQ(cut, accented.substr(0, 200));
}

// The V2 header's own g divides the values in cm/s^2: with 981 there instead of 980.665,
// every sample is 980.665 / 981 of what it was, and the units say so.
TEST(ReaderBranches, CsmipV2ValuesAreDividedByTheHeadersOwnG) {
    const std::string original = ReadSample("csmip/CIWLT.V2");
    std::string changed = original;
    const std::size_t at = changed.find(" 980.66500");
    ASSERT_NE(at, std::string::npos);
    changed.replace(at, 10, " 981.00000");
    const RecordFileResult before = ReadText(original, RecordFormat::Csmip, "CIWLT.V2");
    const RecordFileResult after = ReadText(changed, RecordFormat::Csmip, "CIWLT.V2");
    ASSERT_TRUE(before.ok()) << before.message;
    ASSERT_TRUE(after.ok()) << after.message;
    EXPECT_EQ(after.records[0].unitsFrom, "cm/s^2 (g = 981 cm/s^2)");
    const auto& a = before.records[0].record->RawAcceleration();
    const auto& b = after.records[0].record->RawAcceleration();
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); i += 97) {
        EXPECT_NEAR(b[i], a[i] * 980.665 / 981.0, 1e-15) << i;
    }
    // The other channels keep their own header's g.
    EXPECT_EQ(after.records[1].unitsFrom, "cm/s^2 (g = 980.665 cm/s^2)");
}

// Every unit code a COSMOS file may give for acceleration, and how many of it make one g.
TEST(ReaderBranches, CosmosUnitCodesEachScaleToG) {
    const std::string original = ReadSample("cosmos/Cosmos12TimeSeriesTest.v1");
    const std::size_t line = original.find("Integer-header");
    const std::size_t field = original.find('\n', line) + 1 + 16;
    ASSERT_EQ(original.substr(field, 8), "       4");
    const RecordFileResult reference = ReadText(original, RecordFormat::Cosmos, "c.v1");
    ASSERT_TRUE(reference.ok()) << reference.message;
    // Values in the file's unit; cm/s^2 over standard gravity is the reference in g.
    struct Code {
        const char* text;
        double perG;
        const char* name;
    };
    const Code codes[] = {{"       2", 1.0, "g"},
                          {"       4", 980.665, "cm/s^2"},
                          {"       7", 980.665 / 2.54, "in/s^2"},
                          {"      10", 980.665, "gal"},
                          {"      11", 1000.0, "mg"}};
    for (const Code& code : codes) {
        std::string changed = original;
        changed.replace(field, 8, code.text);
        const RecordFileResult result = ReadText(changed, RecordFormat::Cosmos, "c.v1");
        ASSERT_TRUE(result.ok()) << code.text << result.message;
        EXPECT_EQ(result.records[0].unitsFrom, code.name);
        const auto& g = reference.records[0].record->RawAcceleration();
        const auto& read = result.records[0].record->RawAcceleration();
        ASSERT_EQ(read.size(), g.size());
        for (std::size_t i = 0; i < g.size(); i += 131) {
            const double fileValue = g[i] * 980.665;  // the number written in the file
            EXPECT_NEAR(read[i], fileValue / code.perG, 1e-12 * std::fabs(fileValue) + 1e-300)
                << code.name << " sample " << i;
        }
    }
    std::string unknown = original;
    unknown.replace(field, 8, "       5");
    EXPECT_FALSE(ReadText(unknown, RecordFormat::Cosmos, "c.v1").ok());
}

// A fixed-width data line with one field more than its Fortran layout is refused on its
// line: read on, every later sample would shift by one.
TEST(ReaderBranches, AFixedWidthLineWithAnExtraFieldIsRefusedOnItsLine) {
    struct Sample {
        const char* file;
        RecordFormat format;
        const char* firstDataMark;  // text on the line before the first data line
    };
    for (const Sample& sample :
         {Sample{"csmip/CIWLT.V2", RecordFormat::Csmip, "points of accel data"},
          Sample{"cosmos/Cosmos12TimeSeriesTest.v1", RecordFormat::Cosmos, "acceleration pts"}}) {
        std::string bytes = ReadSample(sample.file);
        const std::size_t mark = bytes.find(sample.firstDataMark);
        ASSERT_NE(mark, std::string::npos) << sample.file;
        const std::size_t dataStart = bytes.find('\n', mark) + 1;
        std::size_t dataEnd = bytes.find('\n', dataStart);
        if (dataEnd > dataStart && bytes[dataEnd - 1] == '\r') {
            --dataEnd;
        }
        const std::size_t lineNumber =
            static_cast<std::size_t>(std::count(bytes.begin(), bytes.begin() + dataStart, '\n')) +
            1;
        const std::string lastField = bytes.substr(dataEnd - 10, 10);
        bytes.insert(dataEnd, lastField);
        const RecordFileResult result = ReadText(bytes, sample.format, "f");
        EXPECT_FALSE(result.ok()) << sample.file;
        EXPECT_TRUE(result.records.empty());
        EXPECT_NE(result.message.find("ERROR Line: " + std::to_string(lineNumber) + "."),
                  std::string::npos)
            << sample.file << ": " << result.message;
    }
}

// A channel left open is read, said so, and never swallows the channels after it; a file
// that ends inside a channel's velocity says what was read and what is missing.
TEST(ReaderBranches, CsmipChannelsLeftOpenAreSaidSoAndNothingIsSwallowed) {
    const std::string original = ReadSample("csmip/CIWLT.V2");
    const std::size_t close = original.find("/&  ----------  End of data for channel  1");
    ASSERT_NE(close, std::string::npos);
    std::string open = original;
    open.erase(close, original.find('\n', close) + 1 - close);
    const RecordFileResult all = ReadText(open, RecordFormat::Csmip, "CIWLT.V2");
    ASSERT_TRUE(all.ok()) << all.message;
    EXPECT_EQ(all.records.size(), 3u);
    ASSERT_EQ(all.warnings.size(), 1u);
    EXPECT_NE(all.warnings[0].find("channel 1 is not closed by \"/&\""), std::string::npos)
        << all.warnings[0];

    // The file ends in channel 1's velocity block: one channel of the three announced.
    const std::string cut = original.substr(0, close - 2000);
    const RecordFileResult one = ReadText(cut, RecordFormat::Automatic, "CIWLT.V2");
    ASSERT_TRUE(one.ok()) << one.message;
    EXPECT_EQ(one.records.size(), 1u);
    ASSERT_EQ(one.warnings.size(), 2u);
    EXPECT_NE(one.warnings[1].find("the header announces 3 channels; 1 read, the rest is missing"),
              std::string::npos)
        << one.warnings[1];
}

// An agency's file saved as UTF-16 with a byte-order mark reads as its UTF-8 text does.
TEST(HostileRecordFormats, Utf16FilesOfNamedFormatsAreDecodedFirst) {
    const std::string text = KnetText("100Hz", "0.03");
    std::string utf16 = "\xFF\xFE";
    for (const char c : text) {
        utf16 += c;
        utf16 += '\0';
    }
    const RecordFileResult result = ReadText(utf16, RecordFormat::Automatic, "K.UD");
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(result.format, RecordFormat::Knet);
    const RecordFileResult plain = ReadText(text, RecordFormat::Automatic, "K.UD");
    EXPECT_EQ(result.records[0].record->RawAcceleration(),
              plain.records[0].record->RawAcceleration());
}

// Text in other encodings: UTF-16 without a mark is recognised by its pattern and read;
// UTF-32 is refused with the encoding named, never read as binary data or as free format.
TEST(HostileRecordFormats, OtherEncodingsAreReadOrRefusedByName) {
    const std::string text = KnetText("100Hz", "0.03");
    std::string utf16 = "";
    std::string utf32 = std::string("\xFF\xFE\0\0", 4);
    for (const char c : text) {
        utf16 += c;
        utf16 += '\0';
        utf32 += c;
        utf32 += std::string(3, '\0');
    }
    const RecordFileResult unmarked = ReadText(utf16, RecordFormat::Automatic, "K.UD");
    ASSERT_TRUE(unmarked.ok()) << unmarked.message;
    EXPECT_EQ(unmarked.format, RecordFormat::Knet);
    EXPECT_EQ(unmarked.records[0].record->SampleCount(), 3);
    const std::string refusal =
        "FILE: K.UD. ERROR Line: 1. ERROR: the file is UTF-32 text (it begins with a UTF-32 "
        "byte-order mark), which is not read: save it as UTF-8 or ASCII text";
    for (const RecordFormat format :
         {RecordFormat::Automatic, RecordFormat::Free, RecordFormat::Knet}) {
        const RecordFileResult result = ReadText(utf32, format, "K.UD");
        EXPECT_EQ(result.message, refusal);
        EXPECT_TRUE(result.records.empty());
    }
}

// Header fields that are there but broken are named with the format and the field, whether
// the format was chosen or recognised; no such file is ever read as free format.
TEST(HostileRecordFormats, BrokenHeaderFieldsNameTheFormatAndTheField) {
    struct Case {
        std::string text;
        std::string fault;
    };
    const std::vector<Case> cases{
        {At2Text("NPTS=     2a, DT=   .0050 SEC"),
         "Line: 4. ERROR: PEER NGA AT2: the point count NPTS=2a is not a whole number"},
        {At2Text("NPTS= -3, DT=   .0050 SEC"),
         "Line: 4. ERROR: PEER NGA AT2: the point count NPTS=-3 is not greater than zero"},
        {At2Text("  99999999999999999999   0.005   NPTS, DT"),
         "Line: 4. ERROR: PEER NGA AT2: the point count NPTS=99999999999999999999 is more than a "
         "record can hold"},
        {At2Text("  2   inf   NPTS, DT"),
         "Line: 4. ERROR: PEER NGA AT2: the time step \"inf\" in the header line \"2 inf NPTS, "
         "DT\" is not a number"},
        {At2Text("NPTS=      2, DT=  1e400 SEC"),
         "Line: 4. ERROR: PEER NGA AT2: the time step \"1e400\" in the header line \"NPTS= 2, "
         "DT= 1e400 SEC\" is not a number"},
    };
    for (const Case& c : cases) {
        for (const RecordFormat format : {RecordFormat::Automatic, RecordFormat::PeerNga}) {
            const RecordFileResult result = ReadText(c.text, format, "r.AT2");
            EXPECT_EQ(result.format, RecordFormat::PeerNga);
            EXPECT_EQ(result.message, "FILE: r.AT2. ERROR " + c.fault);
        }
    }

    const std::string v2 = ReadSample("csmip/CIWLT.V2");
    const std::size_t dataLine = v2.rfind('\n', v2.find("points of accel data")) + 1;
    std::string hugeCount = v2;
    hugeCount.replace(dataLine, 6, "99999999999999999999");
    EXPECT_EQ(ReadText(hugeCount, RecordFormat::Automatic, "C.V2").message,
              "FILE: C.V2. ERROR Line: 46. ERROR: CSMIP/CGS V1/V2: the point count "
              "99999999999999999999 is more than a record can hold");
    std::string nanStep = v2;
    nanStep.replace(nanStep.find(".020 sec", dataLine), 4, "nan ");
    EXPECT_EQ(
        ReadText(nanStep, RecordFormat::Automatic, "C.V2").message,
        "FILE: C.V2. ERROR Line: 46. ERROR: CSMIP/CGS V1/V2: the time step \"nan\" in \"15050 "
        "points of accel data equally spaced at nan sec, in cm/sec2. (8f10.6)\" is not a "
        "number");
}

// A format chosen for a file of another kind says that its header was not found, what the
// file looks like, and points to Automatic; the reader's own fault stays in the message.
TEST(HostileRecordFormats, AFormatChosenForAFileWithoutItsHeaderSuggestsAutomatic) {
    const RecordFileResult free =
        ReadText("0.1\n0.2\n0.3\n0.4\n", RecordFormat::PeerNga, "free.txt");
    EXPECT_EQ(free.format, RecordFormat::PeerNga);
    EXPECT_EQ(free.message,
              "FILE: free.txt. ERROR Line: 3. ERROR: no PEER NGA AT2 header was found (the record "
              "is not an acceleration time series: \"0.3\"); the file looks like Free Type: "
              "choose Automatic to have each file's format recognised");
    const RecordFileResult knet = ReadText(KnetText("100Hz", "0.03"), RecordFormat::Cosmos, "K.UD");
    EXPECT_NE(knet.message.find("ERROR: no COSMOS V1/V2 header was found ("), std::string::npos)
        << knet.message;
    EXPECT_NE(knet.message.find("the file looks like K-NET/KiK-net ASCII: choose Automatic"),
              std::string::npos)
        << knet.message;
}

// One stray control character is a bad character on its line, not "binary data".
TEST(HostileRecordFormats, AStrayEscapeIsNotBinaryData) {
    const RecordFileResult result = ReadText("\x1B", RecordFormat::Automatic, "e.txt");
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(result.message.find("binary data"), std::string::npos) << result.message;
    const RecordFileResult binary =
        ReadText(std::string("\x01\x02\x03\x04\x05 1\n", 7), RecordFormat::Automatic, "b.txt");
    EXPECT_NE(binary.message.find("binary data"), std::string::npos) << binary.message;
}

// What `info` prints of a record comes from the file: escaped, so that no escape sequence,
// C1 control or direction override reaches the terminal.
TEST(HostileRecordFormats, DescriptionsEscapeWhatTheFileHolds) {
    std::string text = KnetText("100Hz", "0.03");
    text.replace(text.find("U-D"), 3, "U\x1B]0;x\x07\xC2\x9B\x7F\xE2\x80\xAE");
    const RecordFileResult result = ReadText(text, RecordFormat::Knet, "K\x1B[2J.UD");
    ASSERT_TRUE(result.ok()) << result.message;
    for (const std::string& line : DescribeRecordFile(result)) {
        for (const char c : line) {
            EXPECT_FALSE(static_cast<unsigned char>(c) < 0x20 || c == 0x7F) << line;
        }
        EXPECT_EQ(line.find("\xC2\x9B"), std::string::npos) << line;
        EXPECT_EQ(line.find("\xE2\x80\xAE"), std::string::npos) << line;
    }
    EXPECT_EQ(DescribeRecordFile(result)[3],
              "  channel:              U\\x1B]0;x\\x07\\x9B\\x7F\\u202E");
}

}  // namespace
}  // namespace travik
