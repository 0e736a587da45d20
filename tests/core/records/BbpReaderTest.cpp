// SCEC broadband-platform acceleration files: detection by content, three channels in
// cm/s^2, the time step from the time column.
#include <gtest/gtest.h>

#include <string>

#include "core/records/FormatReaders.h"
#include "core/records/RecordFileReader.h"
#include "core/records/RecordFormat.h"

namespace travik {
namespace {

const std::string kFile =
    "#    time(sec)      N-S(cm/s/s)      E-W(cm/s/s)      U-D(cm/s/s)\n"
    "# simulated motion\n"
    "   0.000000e+00   1.000000e+00  -2.000000e+00   3.000000e+00\n"
    "   5.000000e-03   9.806650e+01   0.000000e+00  -9.806650e+00\n"
    "1.000000e-02,-4.903325e+02,1.0,2.0\n";

RecordFileResult Read(const std::string& text, RecordFormat format) {
    RecordReadOptions options;
    options.format = format;
    return ReadRecordBytes(text, "sim.bbp", options);
}

TEST(BbpReader, DetectedByContentAndReadAsThreeChannelsInG) {
    EXPECT_EQ(DetectRecordFormat(kFile), RecordFormat::Bbp);
    EXPECT_EQ(RecordFormatFromKey("bbp"), RecordFormat::Bbp);
    const RecordFileResult result = Read(kFile, RecordFormat::Automatic);
    ASSERT_TRUE(result.ok()) << result.message;
    ASSERT_EQ(result.records.size(), 3u);
    const TimeHistory& ns = *result.records[0].record;
    EXPECT_DOUBLE_EQ(ns.TimeStep(), 0.005);
    ASSERT_EQ(ns.SampleCount(), 3);
    // cm/s^2 over standard gravity, 980.665 cm/s^2.
    EXPECT_DOUBLE_EQ(ns.RawAcceleration()[0], 1.0 / 980.665);
    EXPECT_DOUBLE_EQ(ns.RawAcceleration()[1], 0.1);
    EXPECT_DOUBLE_EQ(ns.RawAcceleration()[2], -0.5);
    EXPECT_DOUBLE_EQ(result.records[1].record->RawAcceleration()[0], -2.0 / 980.665);
    EXPECT_DOUBLE_EQ(result.records[2].record->RawAcceleration()[1], -0.01);
}

TEST(BbpReader, FreeFormatColumnsWithoutCommentAreNotTakenForIt) {
    EXPECT_NE(DetectRecordFormat("0 1 2 3\n0.01 1 2 3\n"), RecordFormat::Bbp);
    EXPECT_NE(DetectRecordFormat("# a\n0 1 2\n0.01 1 2\n"), RecordFormat::Bbp);
}

TEST(BbpReader, UnevenTimesAndShortRowsAreRefusedWithTheLine) {
    const RecordFileResult uneven =
        Read("# t\n0 1 2 3\n0.005 1 2 3\n0.011 1 2 3\n", RecordFormat::Bbp);
    EXPECT_EQ(uneven.message,
              "FILE: sim.bbp. ERROR Line: 4. ERROR: SCEC BBP acceleration: uneven time step: "
              "0.006 s after 0.005 s");
    EXPECT_TRUE(uneven.records.empty());
    const RecordFileResult shortRow = Read("# t\n0 1 2 3\n0.005 1 2\n", RecordFormat::Bbp);
    EXPECT_EQ(shortRow.message,
              "FILE: sim.bbp. ERROR Line: 3. ERROR: no SCEC BBP acceleration header was found "
              "(expected four numbers (time, N-S, E-W, U-D)); the file looks like Free Type: "
              "choose Automatic to have each file's format recognised");
}

}  // namespace
}  // namespace travik
