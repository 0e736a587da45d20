// One file turned into prepared records: read, integrated, then corrected and filtered as
// the plan says, with every message returned rather than printed.
#include "core/records/RecordPreparation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace travik {
namespace {

namespace fs = std::filesystem;

class RecordPreparationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("travik-preparation-" +
                   std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        plan_.read.format = RecordFormat::Free;
        plan_.read.free.timeStep = 0.01;  // Nyquist frequency 50 Hz
        plan_.read.free.delimiter = Delimiter::Comma;
        plan_.read.free.accelerationColumn = 1;
        plan_.read.free.linesToSkip = 0;
        plan_.read.free.scalingFactor = 1.0;
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string Write(const std::string& name, const std::string& text) {
        const fs::path path = folder_ / name;
        std::ofstream(path) << text;
        return path.string();
    }

    fs::path folder_;
    ImportPlan plan_;
};

TEST_F(RecordPreparationTest, CorrectsTheBaselineOfEveryRecordRead) {
    plan_.baseline = BaselineCorrectionType::Linear;
    const PreparedFile file = PrepareRecordFile(plan_, Write("ramp.txt", "0.1\n0.2\n0.3\n0.1\n"));
    ASSERT_TRUE(file.reading.ok);
    EXPECT_TRUE(file.reading.messages.empty());
    ASSERT_EQ(file.records.Count(), 1);
    EXPECT_TRUE(file.records.At(0).IsIntegrated());
    EXPECT_TRUE(file.records.At(0).IsCorrected());
    EXPECT_EQ(file.records.At(0).CorrectionType(), BaselineCorrectionType::Linear);
    EXPECT_FALSE(file.correctionFailed);
    EXPECT_TRUE(file.preparationMessages.empty());
}

TEST_F(RecordPreparationTest, NamesTheRecordWhoseBaselineCannotBeFitted) {
    // One sample: no baseline can be fitted through a single point in time.
    plan_.baseline = BaselineCorrectionType::Parabolic;
    const PreparedFile file = PrepareRecordFile(plan_, Write("single.txt", "0.1\n"));
    ASSERT_EQ(file.records.Count(), 1);
    EXPECT_TRUE(file.correctionFailed);
    EXPECT_FALSE(file.records.At(0).IsCorrected());
    ASSERT_EQ(file.preparationMessages.size(), 1U);
    EXPECT_EQ(file.preparationMessages[0], "FILE: " + file.records.At(0).SourceFileName() +
                                               ", WARNING: Base Line Correction Failed!");
}

TEST_F(RecordPreparationTest, LeavesTheRecordsUnchangedWhenTheFilterDoesNotFit) {
    plan_.baseline = BaselineCorrectionType::Linear;
    FilterSettings lowPass;
    lowPass.band = FilterBand::LowPass;
    lowPass.highCorner = 60.0;  // above the 50 Hz Nyquist frequency of a 0.01 s step
    plan_.filter = lowPass;
    const PreparedFile file = PrepareRecordFile(plan_, Write("ramp.txt", "0.1\n0.2\n0.3\n0.1\n"));
    ASSERT_TRUE(file.misfit.has_value());
    EXPECT_EQ(file.misfit->field, FilterField::HighCorner);
    EXPECT_EQ(file.misfitRecord, file.records.At(0).SourceFileName());
    EXPECT_FALSE(file.records.At(0).IsCorrected());
    EXPECT_TRUE(file.preparationMessages.empty());
}

TEST_F(RecordPreparationTest, ReturnsTheReadersFailureAsItsLastMessage) {
    RecordList records;
    const FileReading reading =
        ReadRecordFileInto(plan_, (folder_ / "missing.txt").string(), records);
    EXPECT_FALSE(reading.ok);
    ASSERT_FALSE(reading.messages.empty());
    EXPECT_NE(reading.messages.back().find("missing.txt"), std::string::npos);
    EXPECT_EQ(records.Count(), 0);
}

TEST_F(RecordPreparationTest, FiltersWithoutABaselineCorrection) {
    FilterSettings highPass;
    highPass.band = FilterBand::HighPass;
    highPass.lowCorner = 1.0;
    highPass.order = 2;
    plan_.filter = highPass;
    std::string text;
    for (int i = 0; i < 400; ++i) {
        text += (i % 2 == 0 ? "0.1\n" : "-0.1\n");
    }
    const PreparedFile file = PrepareRecordFile(plan_, Write("wave.txt", text));
    ASSERT_EQ(file.records.Count(), 1);
    EXPECT_FALSE(file.misfit.has_value());
    EXPECT_TRUE(file.records.At(0).IsCorrected());
    EXPECT_EQ(file.records.At(0).CorrectionType(), BaselineCorrectionType::None);
    EXPECT_TRUE(file.records.At(0).Filter().has_value());
}

}  // namespace
}  // namespace travik
