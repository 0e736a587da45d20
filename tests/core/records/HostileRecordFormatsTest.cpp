// Hostile headers of the named formats: counts that give no sample or overflow, time steps
// that overflow. Each must be refused with its line and field, never read as an empty or
// shifted record.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/RecordFileReader.h"
#include "records/RecordFormat.h"

namespace travik {
namespace {

RecordFileResult ReadText(const std::string& text, RecordFormat format,
                          const std::string& name = "f.txt") {
    RecordReadOptions options;
    options.format = format;
    return ReadRecordBytes(text, name, options);
}

std::string KnetText(const std::string& frequency, const std::string& duration) {
    const std::vector<std::string> header = {"Origin Time       2014/12/31 23:49:00",
                                             "Lat.              35.785",
                                             "Long.             139.887",
                                             "Depth. (km)       84",
                                             "Mag.              4.2",
                                             "Station Code      CHB003",
                                             "Station Lat.      35.7943",
                                             "Station Long.     140.0564",
                                             "Station Height(m) 28",
                                             "Record Time       2014/12/31 23:50:11",
                                             "Sampling Freq(Hz) " + frequency,
                                             "Duration Time(s)  " + duration,
                                             "Dir.              U-D",
                                             "Scale Factor      980.665(gal)/10000",
                                             "Max. Acc. (gal)   1",
                                             "Last Correction   2014/12/31 23:50:12",
                                             "Memo."};
    std::string text;
    for (const std::string& line : header) {
        text += line + "\n";
    }
    return text + "     100      200     -300\n";
}

TEST(HostileRecordFormats, KnetDurationsGivingNoSampleOrTooManyAreRefusedOnTheirLine) {
    // 0.001 s at 100 Hz rounds to no sample at all.
    const RecordFileResult none = ReadText(KnetText("100Hz", "0.001"), RecordFormat::Automatic, "K.UD");
    EXPECT_FALSE(none.ok());
    EXPECT_TRUE(none.records.empty());
    EXPECT_EQ(none.message,
              "FILE: K.UD. ERROR Line: 12. ERROR: the duration \"0.001\" at the sampling frequency "
              "gives no sample");
    // 1e17 s at 100 Hz would announce more values than a whole number holds.
    const RecordFileResult huge = ReadText(KnetText("100Hz", "1e17"), RecordFormat::Knet, "K.UD");
    EXPECT_FALSE(huge.ok());
    EXPECT_EQ(huge.message,
              "FILE: K.UD. ERROR Line: 12. ERROR: the duration \"1e17\" at the sampling frequency "
              "gives more samples than a record can hold");
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
              "FILE: K.UD. ERROR Line: 11. ERROR: the time step in \"Sampling Freq(Hz)\" is not "
              "a finite number of seconds (it overflows)");
}

TEST(HostileRecordFormats, ABrokenAt2CountOrStepIsNamedUnderAutomatic) {
    const auto at2 = [](const std::string& countLine) {
        return "PEER NGA STRONG MOTION DATABASE RECORD\n"
               "Test, 1/1/2000, Station, 90\n"
               "ACCELERATION TIME SERIES IN UNITS OF G\n" +
               countLine + "\n  .1000000E-01 -.2000000E-01\n";
    };
    const RecordFileResult nan = ReadText(at2("NPTS=      2, DT=   nan SEC"),
                                          RecordFormat::Automatic, "r.AT2");
    EXPECT_EQ(nan.format, RecordFormat::PeerNga);
    EXPECT_EQ(nan.message, "FILE: r.AT2. ERROR Line: 4. ERROR: no time step in the header line "
                           "\"NPTS= 2, DT= nan SEC\"");
    const RecordFileResult huge = ReadText(at2("NPTS= 18446744073709551616, DT= .0050 SEC"),
                                           RecordFormat::Automatic, "r.AT2");
    EXPECT_EQ(huge.format, RecordFormat::PeerNga);
    EXPECT_EQ(huge.message, "FILE: r.AT2. ERROR Line: 4. ERROR: no point count (NPTS) in the "
                            "header line \"NPTS= 18446744073709551616, DT= .0050 SEC\"");
    const RecordFileResult good =
        ReadText(at2("NPTS=      2, DT=   .0050 SEC"), RecordFormat::Automatic, "r.AT2");
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

}  // namespace
}  // namespace travik
