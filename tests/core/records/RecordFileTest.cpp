// Files that are not what a record reader expects: pipes, devices, oversized and large
// files, checked through the reader's file entry point.
#include "core/records/RecordFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/records/FreeFormatReader.h"
#include "core/records/RecordFileReader.h"
#include "core/text/NumberFormat.h"

namespace travik {
namespace {

namespace fs = std::filesystem;

class RecordFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("travik-record-file-" +
                   std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }

    fs::path folder_;
};

TEST_F(RecordFileTest, NamedPipeIsRefusedWithoutWaitingForAWriter) {
    const std::string pipe = PathOf("pipe.txt");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    // Opening a pipe for reading would block this test forever; the check comes first.
    EXPECT_EQ(ReadFreeFormatFile(pipe, FreeFormatParameters{}).message,
              "FILE : pipe.txt , ERROR: Cannot open file \"" + pipe +
                  "\". It is not a regular file but a named pipe (FIFO).");
}

TEST_F(RecordFileTest, DevicesAreRefusedBeforeAnyByteIsRead) {
    // /dev/zero and /dev/urandom never end: read whole, they would exhaust the memory.
    EXPECT_EQ(ReadFreeFormatFile("/dev/zero", FreeFormatParameters{}).message,
              "FILE : zero , ERROR: Cannot open file \"/dev/zero\". It is not a regular file but "
              "a character device.");
    EXPECT_EQ(CheckRecordFileEntry("/dev/urandom"),
              "Cannot open file \"/dev/urandom\". It is not a regular file but a character "
              "device.");
}

TEST_F(RecordFileTest, LinkToARegularFileIsRead) {
    const std::string target = PathOf("target.txt");
    std::ofstream(target) << "0.25\n";
    const std::string link = PathOf("link.txt");
    fs::create_symlink(target, link);
    const ReadResult result = ReadFreeFormatFile(link, FreeFormatParameters{});
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(result.record->SourceFileName(), "link.txt");
}

TEST_F(RecordFileTest, FileAboveTheSizeLimitIsRefusedBeforeReading) {
    const std::string big = PathOf("huge.txt");
    std::ofstream(big) << "0.1\n";
    // Sparse: the size is on record, the blocks are not.
    fs::resize_file(big, kMaxRecordFileBytes + 1);
    EXPECT_EQ(ReadFreeFormatFile(big, FreeFormatParameters{}).message,
              "FILE : huge.txt , ERROR: Cannot open file \"" + big + "\". It holds 2147483649 " +
                  "bytes, more than the 2147483648 bytes a record file may have.");
    // Exactly at the limit passes the check; a smaller limit applies as given.
    fs::resize_file(big, kMaxRecordFileBytes);
    EXPECT_FALSE(CheckRecordFileEntry(big));
    EXPECT_TRUE(CheckRecordFileEntry(big, 1000));
}

TEST_F(RecordFileTest, MissingFileIsLeftToTheSystemsOwnMessage) {
    EXPECT_FALSE(CheckRecordFileEntry(PathOf("absent.txt")));
}

TEST_F(RecordFileTest, SeveralMegabyteRecordIsReadToItsLastSample) {
    // Far more than one read buffer: a reader that kept only its first block, or lost a
    // block boundary, gets the count or the last value wrong. Sample i is the text of
    // (i mod 1000 - 500) thousandths, so the expected values are plain decimal literals.
    constexpr int kSamples = 600'000;
    const std::string path = PathOf("long.txt");
    {
        std::ofstream file(path, std::ios::binary);
        for (int i = 0; i < kSamples; ++i) {
            const int milli = i % 1000 - 500;
            const std::string digits = FormatInteger(1000 + (milli < 0 ? -milli : milli));
            file << FormatInteger(i) << ", " << (milli < 0 ? "-0." : "0.") << digits.substr(1)
                 << "\r\n";
        }
    }
    ASSERT_GT(fs::file_size(path), std::uintmax_t{8} << 20);
    FreeFormatParameters parameters;
    parameters.accelerationColumn = 2;
    const ReadResult result = ReadFreeFormatFile(path, parameters);
    ASSERT_TRUE(result.ok()) << result.message;
    ASSERT_EQ(result.record->SampleCount(), kSamples);
    EXPECT_EQ(result.record->RawAcceleration().back(), 0.499);  // (599999 mod 1000) = 999
    EXPECT_EQ(result.record->RawAcceleration()[5461], -0.039);
    EXPECT_EQ(result.record->RawAcceleration()[kSamples / 2], -0.5);
}

// Found by fuzzing: a header that announces trillions of values made the reader ask for
// room for all of them at once. The file's own values decide, and the message says what
// the header claimed.
TEST(RecordFormatHeaders, AnAbsurdAnnouncedCountIsAFaultNotAnAllocation) {
    const std::string text =
        "PEER NGA STRONG MOTION DATABASE RECORD\n"
        "Test, 1/1/2000, Station, 90\n"
        "ACCELERATION TIME SERIES IN UNITS OF G\n"
        "NPTS= 33333333333333, DT=   .0100 SEC\n"
        "  .1E-01  .2E-01\n";
    RecordReadOptions options;
    options.format = RecordFormat::PeerNga;
    const RecordFileResult result = ReadRecordBytes(text, "f.AT2", options);
    EXPECT_EQ(result.message,
              "FILE: f.AT2. ERROR Line: 5. ERROR: PEER NGA AT2: the header announces "
              "33333333333333 values; the file ends after 2");
    EXPECT_TRUE(result.records.empty());
}

// Header text is the file's to choose: bytes that are not UTF-8 reach no message raw.
TEST(RecordFormatHeaders, HeaderBytesInMessagesAreShowable) {
    const std::string text =
        "PEER NGA STRONG MOTION DATABASE RECORD\n"
        "Test, 1/1/2000, Station, 90\n"
        "ACCELERATION TIME SERIES IN UNITS OF\xE0\xB8\xF5\n"
        "NPTS=      2, DT=   .0100 SEC\n"
        "  .1E-01  .2E-01\n";
    RecordReadOptions options;
    options.format = RecordFormat::PeerNga;
    const RecordFileResult result = ReadRecordBytes(text, "f.AT2", options);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.message.find('\xF5'), std::string::npos) << result.message;
    EXPECT_NE(result.message.find("\xEF\xBF\xBD"), std::string::npos) << result.message;
}

}  // namespace
}  // namespace travik
