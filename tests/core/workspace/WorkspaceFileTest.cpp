#include "core/workspace/WorkspaceFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/workspace/WorkspaceJson.h"

namespace travik {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class WorkspaceFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("travik-workspace-" +
                   std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder_);
        fs::create_directories(folder_ / "records");
    }
    void TearDown() override { fs::remove_all(folder_); }
    fs::path folder_;
};

TEST_F(WorkspaceFileTest, RecordsBelowTheWorkspaceAreStoredRelativeOthersAbsolute) {
    const fs::path workspace = folder_ / "suite.travik";
    EXPECT_EQ(StoredRecordPath(workspace, folder_ / "records" / "a.txt"), "records/a.txt");
    EXPECT_EQ(StoredRecordPath(workspace, folder_ / "b.txt"), "b.txt");
    EXPECT_EQ(StoredRecordPath(workspace, folder_ / "records" / ".." / "c.txt"), "c.txt");
    const fs::path outside = folder_.parent_path() / "elsewhere" / "d.txt";
    EXPECT_EQ(StoredRecordPath(workspace, outside), outside.lexically_normal().generic_string());
    EXPECT_EQ(ResolveRecordPath(workspace, "records/a.txt"), folder_ / "records" / "a.txt");
    EXPECT_EQ(ResolveRecordPath(workspace, outside.string()), outside);
}

TEST_F(WorkspaceFileTest, AWorkspaceWrittenReadsBackAndLeavesNoTemporaryFile) {
    WorkspaceDocument document;
    document.files.push_back({"records/a.txt", 7, {}, {{}}});
    document.dampingPercents = {3.0};
    const fs::path path = folder_ / "suite.travik";
    ASSERT_FALSE(WriteWorkspaceFile(path, document).has_value());
    EXPECT_EQ(ReadBytes(path), WorkspaceToJson(document));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 2);
    const WorkspaceReadResult read = ReadWorkspaceFile(path);
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.document->files[0].size, std::optional<std::uintmax_t>(7));
    EXPECT_EQ(read.document->dampingPercents, std::vector<double>{3.0});
}

TEST_F(WorkspaceFileTest, AWorkspaceThatCannotBeWrittenIsNamedAndChangesNothing) {
    const fs::path nowhere = folder_ / "no-such-folder" / "suite.travik";
    const std::optional<std::string> failure = WriteWorkspaceFile(nowhere, WorkspaceDocument{});
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->rfind("Cannot save the workspace " + nowhere.string() + ": ", 0), 0U);
    EXPECT_FALSE(fs::exists(nowhere.parent_path()));

    // A folder in the workspace's place: the rename fails, the folder and what it holds stay.
    const fs::path taken = folder_ / "taken.travik";
    fs::create_directories(taken);
    WriteBytes(taken / "inside.txt", "kept");
    ASSERT_TRUE(WriteWorkspaceFile(taken, WorkspaceDocument{}).has_value());
    EXPECT_EQ(ReadBytes(taken / "inside.txt"), "kept");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 2);
}

TEST_F(WorkspaceFileTest, AMissingOrBadWorkspaceIsRefusedByName) {
    const fs::path missing = folder_ / "none.travik";
    EXPECT_EQ(ReadWorkspaceFile(missing).error,
              "Cannot open the workspace " + missing.string() + ": there is no such file");
    EXPECT_EQ(ReadWorkspaceFile(folder_).error,
              "Cannot open the workspace " + folder_.string() + ": it is not a file");
    const fs::path bad = folder_ / "bad.travik";
    WriteBytes(bad, "{\"format\": \"travik-workspace\", \"version\": 1,}");
    EXPECT_EQ(ReadWorkspaceFile(bad).error,
              "Cannot open the workspace " + bad.string() + ": it is not valid JSON");
}

TEST_F(WorkspaceFileTest, ARecordFileMissingOrOfAnotherSizeIsNamed) {
    const fs::path workspace = folder_ / "suite.travik";
    WriteBytes(folder_ / "records" / "a.txt", "0.1\n0.2\n");
    WorkspaceFileEntry same{"records/a.txt", 8, {}, {}};
    const RecordFileCheck fine = CheckRecordFile(workspace, same);
    EXPECT_TRUE(fine.present);
    EXPECT_FALSE(fine.message.has_value());

    WorkspaceFileEntry changed{"records/a.txt", 9, {}, {}};
    const RecordFileCheck warned = CheckRecordFile(workspace, changed);
    EXPECT_TRUE(warned.present);
    EXPECT_EQ(warned.message, "WARNING: The record file " +
                                  (folder_ / "records" / "a.txt").string() +
                                  " has 8 bytes, not the 9 it had when the workspace was saved: "
                                  "it may have changed");

    WorkspaceFileEntry unknownSize{"records/a.txt", std::nullopt, {}, {}};
    EXPECT_FALSE(CheckRecordFile(workspace, unknownSize).message.has_value());

    WorkspaceFileEntry gone{"records/gone.txt", 8, {}, {}};
    const RecordFileCheck missing = CheckRecordFile(workspace, gone);
    EXPECT_FALSE(missing.present);
    EXPECT_EQ(missing.message, "The record file " + (folder_ / "records" / "gone.txt").string() +
                                   " of the workspace " + workspace.string() + " is missing");
}

}  // namespace
}  // namespace travik
