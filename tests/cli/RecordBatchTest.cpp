#include "RecordBatch.h"
#include "RecordSpill.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace travik::cli {
namespace {

namespace fs = std::filesystem;

std::unique_ptr<TimeHistory> Record(const std::string& name, double dt,
                                    const std::vector<double>& samples) {
    auto record = std::make_unique<TimeHistory>(name, dt);
    for (const double value : samples) {
        record->AppendAcceleration(value);
    }
    return record;
}

TEST(RecordSpill, GivesBackEveryBitOfTheRecordsInAnyOrder) {
    RecordSpill spill;
    RecordList first;
    const std::vector<double> odd = {
        0.0, -0.0, 1e-310, -3.25, std::numeric_limits<double>::max(), 0.1 + 0.2};
    first.Append(Record("a.txt", 0.01, odd));
    first.Append(Record("a.txt (2)", 0.005, {}));
    RecordList second;
    second.Append(Record(std::string("b\0\xff.v2", 7), 0.02, {0.5}));
    const auto one = spill.Put(first);
    const auto two = spill.Put(second);
    ASSERT_TRUE(one && two);

    RecordList back;
    ASSERT_TRUE(spill.Take(*two, back));
    ASSERT_TRUE(spill.Take(*one, back));
    ASSERT_EQ(back.Count(), 3);
    EXPECT_EQ(back.At(0).SourceFileName(), std::string("b\0\xff.v2", 7));
    EXPECT_EQ(back.At(0).RawAcceleration(), std::vector<double>{0.5});
    EXPECT_EQ(back.At(1).SourceFileName(), "a.txt");
    EXPECT_EQ(back.At(1).TimeStep(), 0.01);
    ASSERT_EQ(back.At(1).SampleCount(), 6);
    for (std::size_t i = 0; i < odd.size(); ++i) {
        EXPECT_EQ(std::signbit(back.At(1).RawAcceleration()[i]), std::signbit(odd[i]));
        EXPECT_EQ(back.At(1).RawAcceleration()[i], odd[i]);
    }
    EXPECT_EQ(back.At(1).MaxAcceleration(), std::numeric_limits<double>::max());
    EXPECT_EQ(back.At(1).MinAcceleration(), -3.25);
    EXPECT_EQ(back.At(2).SourceFileName(), "a.txt (2)");
    EXPECT_EQ(back.At(2).SampleCount(), 0);
    EXPECT_FALSE(back.At(1).IsIntegrated());
    // A place that runs past what was written is refused.
    RecordList none;
    EXPECT_FALSE(spill.Take({one->offset, one->bytes + two->bytes + 1}, none));
    EXPECT_EQ(none.Count(), 0);
}

// A free-format file beyond what the survey keeps in memory, 0.01 s, each value `value`.
void WriteRecord(const fs::path& path, std::size_t samples, const char* value) {
    std::ofstream out(path, std::ios::binary);
    for (std::size_t i = 0; i < samples; ++i) {
        out << value << '\n';
    }
}

struct Batch {
    fs::path folder;
    fs::path file;
    ImportOptions options;

    explicit Batch(const std::string& name) {
        folder = fs::temp_directory_path() / ("travik-batch-" + name);
        fs::remove_all(folder);
        fs::create_directories(folder);
        file = folder / "long.txt";
        WriteRecord(file, kKeptSamples + 1000, "0.25");
        options.files = {file.string()};
        options.outputFolder = folder.string();
    }
    ~Batch() { fs::remove_all(folder); }

    // The report pass writes each record's first sample and sample count.
    int Report(const ImportSurvey& survey, std::ostream& err) const {
        std::ostringstream out;
        return WriteSurveyedReports(
            options, survey, "_X.csv", 1,
            [](const ReportLineSink& sink, const RecordTask& task) {
                const TimeHistory& record = task.record;
                sink(std::to_string(record.RawAcceleration().front()) + " " +
                     std::to_string(record.SampleCount()) + " " +
                     std::to_string(record.RawVelocity().back()));
                return true;
            },
            out, err);
    }
    std::string ReportText() const {
        std::ifstream in(folder / "long_X.csv");
        std::string line;
        std::getline(in, line);
        return line;
    }
};

// The report pass takes a long record from the spill, not from the file's text: a file
// rewritten with other values of the same length and time stamp is still reported as it
// was read (here proof that it was not parsed again).
TEST(RecordBatch, TheReportPassDoesNotParseALongRecordAgain) {
    Batch batch("spill");
    std::ostringstream err;
    const ImportSurvey survey = SurveyImport(batch.options, 1, nullptr, err);
    ASSERT_EQ(survey.exitCode, kExitOk) << err.str();
    ASSERT_EQ(survey.spilled.size(), 1u);
    ASSERT_TRUE(survey.spilled[0].has_value());
    EXPECT_FALSE(survey.kept[0]);

    const fs::file_time_type stamp = fs::last_write_time(batch.file);
    WriteRecord(batch.file, kKeptSamples + 1000, "0.75");
    fs::last_write_time(batch.file, stamp);
    EXPECT_EQ(batch.Report(survey, err), kExitOk) << err.str();
    // 0.25 g for (n - 1) steps of 0.01 s at 980 cm/sec^2.
    const double velocity = 0.25 * 980.0 * 0.01 * static_cast<double>(kKeptSamples + 999);
    EXPECT_EQ(batch.ReportText().substr(0, 9), "0.250000 ");
    EXPECT_NEAR(std::stod(batch.ReportText().substr(batch.ReportText().rfind(' '))), velocity,
                1e-6 * velocity);
}

// A file that changed since the survey is read again, and the change is told.
TEST(RecordBatch, AChangedLongRecordIsReadAgainAndRefused) {
    Batch batch("changed");
    std::ostringstream err;
    const ImportSurvey survey = SurveyImport(batch.options, 1, nullptr, err);
    ASSERT_EQ(survey.exitCode, kExitOk) << err.str();
    WriteRecord(batch.file, kKeptSamples + 999, "0.25");
    EXPECT_EQ(batch.Report(survey, err), kExitFailure);
    EXPECT_NE(err.str().find("long.txt, ERROR: The file changed while its reports were being "
                             "written: its reports are not written"),
              std::string::npos)
        << err.str();
    EXPECT_FALSE(fs::exists(batch.folder / "long_X.csv"));
}

}  // namespace
}  // namespace travik::cli
