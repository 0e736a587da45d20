#include "core/export/ReportFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "core/export/ReportHeader.h"
#include "core/export/TemporaryFiles.h"
#include "core/export/TimeHistoryReport.h"

namespace travik {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ReportFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("travik-report-file-" +
                   std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }
    std::size_t EntriesInFolder() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
    }
    fs::path folder_;
};

TEST_F(ReportFileTest, StreamedReportHasTheBytesOfTheReportBuiltWhole) {
    TimeHistory record("north, 2.txt", 0.005);
    for (int i = 0; i < 70000; ++i) {  // several write buffers of lines
        record.AppendAcceleration((i % 101 - 50) / 250.0);
    }
    IntegrateMotion(record, 980, MotionSet::Raw);
    const ReportDate date{2026, 12, 9};

    ReportLines lines;
    BuildTimeHistoryReport(lines, record, kSoftwareEdition, date);
    std::string whole;
    for (const std::string& line : lines) {
        whole += line + "\r\n";
    }
    {
        ReportFile file(folder_ / "streamed.csv");
        WriteTimeHistoryReport(file.Sink(), record, kSoftwareEdition, date);
        file.Commit();
    }
    EXPECT_EQ(ReadBytes(folder_ / "streamed.csv"), whole);
    EXPECT_EQ(EntriesInFolder(), 1u);  // no temporary left beside it
}

TEST_F(ReportFileTest, AnAbandonedReportLeavesTheEarlierOneAndNoTemporary) {
    const fs::path path = folder_ / "r_TH.csv";
    WriteReport(path, {"earlier"});
    {
        ReportFile file(path);
        file.WriteLine("half of a new report");
        // No Commit: a failed analysis, or an exception thrown while formatting.
    }
    EXPECT_EQ(ReadBytes(path), "earlier\r\n");
    EXPECT_EQ(EntriesInFolder(), 1u);

    try {
        ReportFile file(path);
        file.WriteLine("line");
        throw std::runtime_error("formatting failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(ReadBytes(path), "earlier\r\n");
    EXPECT_EQ(EntriesInFolder(), 1u);
}

// A report finished ahead of its turn (written by a worker, put in place later in the
// order of the records) stays out of sight until committed, and leaves nothing behind when
// an earlier failure abandons it.
TEST_F(ReportFileTest, AClosedReportAppearsOnlyWhenCommitted) {
    const fs::path path = folder_ / "r_RS.csv";
    WriteReport(path, {"earlier"});
    {
        ReportFile file(path);
        file.WriteLine("new");
        file.Close();
        EXPECT_EQ(ReadBytes(path), "earlier\r\n");
        file.Commit();
        file.Commit();  // a second time changes nothing
    }
    EXPECT_EQ(ReadBytes(path), "new\r\n");
    EXPECT_EQ(EntriesInFolder(), 1u);

    {
        ReportFile file(path);
        file.WriteLine("abandoned");
        file.Close();
    }
    EXPECT_EQ(ReadBytes(path), "new\r\n");
    EXPECT_EQ(EntriesInFolder(), 1u);
}

// A name that fits the folder's limit (255 bytes here) gets a temporary name that fits too,
// however long: the temporary one is never longer than the report's own.
TEST_F(ReportFileTest, ANameAtTheFolderLimitStillGetsATemporary) {
    for (const std::size_t length : {std::size_t{255}, std::size_t{250}, std::size_t{240}}) {
        const std::string name = std::string(length - 7, 'n') + "_TH.csv";
        WriteReport(folder_ / name, {"long"});
        EXPECT_EQ(ReadBytes(folder_ / name), "long\r\n") << length;
    }
    // Multi-byte characters are never cut in the middle (the name stays valid UTF-8).
    const std::string accented = "\xC3\xA9";  // e acute, two bytes
    std::string name;
    while (name.size() + 2 + 7 <= 255) {
        name += accented;
    }
    name += "_TH.csv";
    WriteReport(folder_ / name, {"accented"});
    EXPECT_EQ(ReadBytes(folder_ / name), "accented\r\n");
    EXPECT_EQ(EntriesInFolder(), 4u);
}

// What a signal handler does on Ctrl-C: the hidden temporary of a report being written is
// removed, the earlier report of that name stays.
TEST_F(ReportFileTest, TemporariesOfReportsBeingWrittenCanBeRemovedAtOnce) {
    const fs::path path = folder_ / "r_TH.csv";
    WriteReport(path, {"earlier"});
    ReportFile first(path);
    first.WriteLine("half");
    ReportFile second(folder_ / "s_TH.csv");
    second.WriteLine("half");
    EXPECT_EQ(EntriesInFolder(), 3u);
    TemporaryFiles::RemoveAll();
    EXPECT_EQ(EntriesInFolder(), 1u);
    EXPECT_EQ(ReadBytes(path), "earlier\r\n");
    // A committed report is no longer a temporary: removing them all leaves it.
    {
        ReportFile third(folder_ / "t_TH.csv");
        third.WriteLine("done");
        third.Commit();
    }
    TemporaryFiles::RemoveAll();
    EXPECT_EQ(ReadBytes(folder_ / "t_TH.csv"), "done\r\n");
}

TEST_F(ReportFileTest, FolderThatDoesNotExistFailsAtCreation) {
    const fs::path path = folder_ / "missing" / "r_TH.csv";
    try {
        ReportFile file(path);
        FAIL() << "no error raised";
    } catch (const ReportWriteError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot create file \"" + path.string() + "\". No such file or directory");
    }
}

}  // namespace
}  // namespace travik
