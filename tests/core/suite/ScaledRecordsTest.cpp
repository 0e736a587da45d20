#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/export/ScaledRecords.h"
#include "core/suite/ScalingShortfalls.h"
#include "core/suite/SuiteMembers.h"

namespace travik {
namespace {

namespace fs = std::filesystem;

TimeHistory Record(const std::string& name, const std::vector<double>& values) {
    TimeHistory record(name, 0.01);
    for (const double value : values) {
        record.AppendAcceleration(value);
    }
    return record;
}

std::string Contents(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

class ScaledRecordsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder =
            fs::temp_directory_path() /
            ("scaled_records_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        records = {Record("a.txt", {0.1, -0.2}), Record("b.txt", {0.5}), Record("c.txt", {0.3})};
        scaling.scaled.resize(3);
        scaling.scaled[0] = {2.0, 1.0, 2.0, 0.0, true, 1};
        scaling.scaled[1] = {1.0, 1.0, 1.0, 0.0, false, 3};
        scaling.scaled[2] = {0.5, 1.5, 0.75, 0.0, true, 2};
    }
    void TearDown() override { fs::remove_all(folder); }

    std::vector<const TimeHistory*> Pointers() const {
        return {&records[0], &records[1], &records[2]};
    }

    fs::path folder;
    std::vector<TimeHistory> records;
    SuiteScaling scaling;
};

// Only the selected records, each times its total factor: a.txt 0.1 x 2 = 0.2 and
// -0.2 x 2 = -0.4; c.txt 0.3 x 0.75 = 0.225.
TEST_F(ScaledRecordsTest, WritesTheSelectedRecordsTimesTheirTotalFactors) {
    const std::vector<fs::path> written = WriteScaledRecords(Pointers(), scaling, folder);
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(written[0].filename().string(), "a_x2.0000.AT2");
    EXPECT_EQ(written[1].filename().string(), "c_x0.7500.AT2");
    EXPECT_FALSE(fs::exists(folder / "b_x1.0000.AT2"));
    const std::string a = Contents(written[0]);
    EXPECT_NE(a.find("NPTS=  2, DT=  0.01 SEC\r\n  0.2000000E+00 -0.4000000E+00\r\n"),
              std::string::npos)
        << a;
    EXPECT_NE(Contents(written[1]).find("  0.2250000E+00\r\n"), std::string::npos);
}

// A cancel heard after the first record stops before the next file: one whole file, nothing
// else in the folder.
TEST_F(ScaledRecordsTest, ACancelStopsBeforeTheNextFile) {
    std::atomic<bool> cancel{false};
    std::vector<int> done;
    const std::vector<fs::path> written = WriteScaledRecords(
        Pointers(), scaling, folder,
        [&](int count, int total) {
            done.push_back(count);
            EXPECT_EQ(total, 3);
            cancel = true;
        },
        &cancel);
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(done, std::vector<int>{1});
    int files = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        EXPECT_EQ(entry.path().filename().string(), "a_x2.0000.AT2");
        ++files;
    }
    EXPECT_EQ(files, 1);
}

TEST(ScalingShortfalls, NameTheWarningsThePeriodsAndThePga) {
    SuiteScaling scaling;
    EXPECT_TRUE(ScalingShortfalls(scaling).empty());
    scaling.warnings = {"The suite holds 2 motions."};
    scaling.failingPeriods = {0.25, 1.5};
    scaling.pgaFails = true;
    scaling.meanPga = 0.31234567;
    scaling.targetPga = 0.375;
    const std::vector<std::string> expected = {
        "Warning: The suite holds 2 motions.",
        "The factor limits keep the suite mean below 90 % of the target at 0.25, 1.5 s",
        "The factor limits keep the mean PGA 0.3123457 g below a_g S = 0.375 g"};
    EXPECT_EQ(ScalingShortfalls(scaling), expected);
}

// The PGA is that of the series analysed (the corrected one once corrected); the spectrum is
// the PSa row of the record's own index.
TEST(SuiteMembers, TakeTheRecordsPsaAndPga) {
    const TimeHistory a = Record("a.txt", {0.1, -0.3, 0.2});
    const TimeHistory b = Record("dir/b.txt", {0.05});
    SuiteSpectra suite;
    const auto psa = static_cast<std::size_t>(SpectrumKind::PseudoAcceleration);
    const auto sa = static_cast<std::size_t>(SpectrumKind::Acceleration);
    suite.curves[psa] = {{1.0, 2.0}, {3.0, 4.0}};
    suite.curves[sa] = {{9.0, 9.0}, {9.0, 9.0}};
    const std::vector<SuiteMember> members = SuiteMembersOf({&a, &b}, suite);
    ASSERT_EQ(members.size(), 2u);
    EXPECT_EQ(members[0].name, "a.txt");
    EXPECT_EQ(members[0].station, "a.txt");
    EXPECT_DOUBLE_EQ(members[0].pga, 0.3);
    EXPECT_EQ(members[0].sa, (std::vector<double>{1.0, 2.0}));
    EXPECT_EQ(members[1].sa, (std::vector<double>{3.0, 4.0}));
    EXPECT_DOUBLE_EQ(members[1].pga, 0.05);
    suite.curves[psa].pop_back();  // a failed record leaves its row out
    EXPECT_TRUE(SuiteMembersOf({&a, &b}, suite).empty());
}

}  // namespace
}  // namespace travik
