#include "core/records/FreeFormatReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "core/records/RecordFileReader.h"

namespace travik {
namespace {

using Fields = std::vector<std::string>;

std::string DataFile(const std::string& name) {
    return std::string(TRAVIK_TEST_DATA_DIR) + "/" + name;
}

FreeFormatParameters Params(int skip = 0, int column = 1, Delimiter delimiter = Delimiter::Comma,
                            double scale = 1.0) {
    FreeFormatParameters p;
    p.linesToSkip = skip;
    p.accelerationColumn = column;
    p.delimiter = delimiter;
    p.scalingFactor = scale;
    return p;
}

TEST(FreeFormatParameters, TimeStepMustBeGreaterThanZero) {
    EXPECT_EQ(FreeFormatParameters{}.Validate(), std::nullopt);
    for (const double step : {0.0, -0.0, -0.01, -1e300}) {
        FreeFormatParameters p;
        p.timeStep = step;
        EXPECT_EQ(p.Validate(), "Time Step must be greater than zero!") << step;
    }
    FreeFormatParameters tiny;
    tiny.timeStep = 1e-300;
    EXPECT_EQ(tiny.Validate(), std::nullopt);
}

TEST(SplitDelimitedLine, CommaModeKeepsEmptyAndBlankFields) {
    EXPECT_EQ(SplitDelimitedLine("1,,2", Delimiter::Comma), (Fields{"1", "", "2"}));
    EXPECT_EQ(SplitDelimitedLine("1,2,", Delimiter::Comma), (Fields{"1", "2", ""}));
    EXPECT_EQ(SplitDelimitedLine(",1", Delimiter::Comma), (Fields{"", "1"}));
    EXPECT_EQ(SplitDelimitedLine("0.01, -0.25", Delimiter::Comma), (Fields{"0.01", " -0.25"}));
    EXPECT_EQ(SplitDelimitedLine("a b\tc", Delimiter::Comma), (Fields{"a b\tc"}));
    EXPECT_EQ(SplitDelimitedLine(",", Delimiter::Comma), (Fields{"", ""}));
    EXPECT_TRUE(SplitDelimitedLine("", Delimiter::Comma).empty());
}

TEST(SplitDelimitedLine, SpaceModeTreatsEveryControlRunAsOneSeparator) {
    EXPECT_EQ(SplitDelimitedLine("0.01\t\t-0.25   3", Delimiter::Space),
              (Fields{"0.01", "-0.25", "3"}));
    EXPECT_EQ(SplitDelimitedLine("0.01,-0.25", Delimiter::Space), (Fields{"0.01,-0.25"}));
    EXPECT_EQ(SplitDelimitedLine("a\x01\x1f"
                                 "b",
                                 Delimiter::Space),
              (Fields{"a", "b"}));
    // Bytes above 127 (UTF-8 text) are ordinary characters, not separators.
    EXPECT_EQ(SplitDelimitedLine("\xC2\xB0"
                                 "C 1",
                                 Delimiter::Space),
              (Fields{"\xC2\xB0"
                      "C",
                      "1"}));
    EXPECT_TRUE(SplitDelimitedLine("", Delimiter::Space).empty());
}

TEST(SplitDelimitedLine, QuotedFieldsHoldSeparatorsAndDoubledQuotes) {
    EXPECT_EQ(SplitDelimitedLine("\"1,5\",2", Delimiter::Comma), (Fields{"1,5", "2"}));
    EXPECT_EQ(SplitDelimitedLine("\"say \"\"hi\"\"\",x", Delimiter::Comma),
              (Fields{"say \"hi\"", "x"}));
    EXPECT_EQ(SplitDelimitedLine("\"a b\" c", Delimiter::Space), (Fields{"a b", "c"}));
    // Text right after the closing quote starts a new field.
    EXPECT_EQ(SplitDelimitedLine("\"a\"b,c", Delimiter::Comma), (Fields{"a", "b", "c"}));
    EXPECT_EQ(SplitDelimitedLine("\"a\"b c", Delimiter::Space), (Fields{"a", "b", "c"}));
    EXPECT_EQ(SplitDelimitedLine("\"open,end", Delimiter::Comma), (Fields{"open,end"}));
    EXPECT_EQ(SplitDelimitedLine("\"\",1", Delimiter::Comma), (Fields{"", "1"}));
}

TEST(DecodeRecordText, RemovesByteOrderMarksAndTrailingNuls) {
    EXPECT_EQ(DecodeRecordText("\xEF\xBB\xBF"
                               "1\n"),
              "1\n");
    EXPECT_EQ(DecodeRecordText(std::string("\xFF\xFE"
                                           "1\0\n\0",
                                           6)),
              "1\n");
    EXPECT_EQ(DecodeRecordText(std::string("\xFE\xFF\0"
                                           "1\0\n",
                                           6)),
              "1\n");
    // Only NULs at the very end are padding; one followed by data stays for the reader.
    EXPECT_EQ(DecodeRecordText(std::string("1\n\0"
                                           "2\n",
                                           5)),
              std::string("1\n\0"
                          "2\n",
                          5));
    EXPECT_EQ(DecodeRecordText(std::string("1\n\0\0\0", 5)), "1\n");
    EXPECT_EQ(DecodeRecordText(std::string("\0\0", 2)), "");
    EXPECT_EQ(DecodeRecordText(std::string("\xFF\xFE"
                                           "1\0\0\0"
                                           "2\0",
                                           8)),
              std::string("1\0"
                          "2",
                          3));
    EXPECT_EQ(DecodeRecordText(std::string("\xFF\xFE"
                                           "1\0\n\0\0\0\0\0",
                                           10)),
              "1\n");
    // Non-ASCII UTF-16 comes out as UTF-8: degree sign, and a pair of surrogates.
    EXPECT_EQ(DecodeRecordText(std::string("\xFF\xFE\xB0\x00", 4)), "\xC2\xB0");
    EXPECT_EQ(DecodeRecordText(std::string("\xFE\xFF\xD8\x3D\xDE\x00", 6)), "\xF0\x9F\x98\x80");
    // A lone surrogate or odd trailing byte is marked, not dropped silently.
    EXPECT_EQ(DecodeRecordText(std::string("\xFF\xFE\x00\xD8", 4)), "\xEF\xBF\xBD");
    EXPECT_EQ(DecodeRecordText(std::string("\xFF\xFE"
                                           "1\0"
                                           "2",
                                           5)),
              "1\xEF\xBF\xBD");
    EXPECT_EQ(DecodeRecordText(""), "");
}

TEST(DecodeRecordText, RecognisesUtf16WithoutAMarkByItsZeroBytes) {
    EXPECT_EQ(DecodeRecordText(std::string("0\0.\0"
                                           "1\0\n\0-\0"
                                           "2\0",
                                           12)),
              "0.1\n-2");
    EXPECT_EQ(DecodeRecordText(std::string("\0"
                                           "0\0.\0"
                                           "1\0\n\0-\0"
                                           "2",
                                           12)),
              "0.1\n-2");
    // Padding after the text does not hide the pattern.
    EXPECT_EQ(DecodeRecordText(std::string("5\0\n\0\0\0\0\0", 8)), "5\n");
    // One zero byte out of step, or a byte above ASCII: not UTF-16, left as it is.
    EXPECT_EQ(DecodeRecordText(std::string("5\0\0"
                                           "6",
                                           4)),
              std::string("5\0\0"
                          "6",
                          4));
    EXPECT_EQ(DecodeRecordText(std::string("\xC3\0", 2)), "\xC3");
}

TEST(SplitTextLines, BreaksAtCrLfLfAndLoneCr) {
    using Lines = std::vector<std::string_view>;
    EXPECT_EQ(SplitTextLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitTextLines("a\n"), (Lines{"a"}));
    EXPECT_EQ(SplitTextLines("a\n\n"), (Lines{"a", ""}));
    EXPECT_EQ(SplitTextLines("a\r\n\r\nb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitTextLines("a\n\rb"), (Lines{"a", "", "b"}));  // LF then CR: two breaks
    EXPECT_EQ(SplitTextLines("\n"), (Lines{""}));
    EXPECT_TRUE(SplitTextLines("").empty());
}

TEST(ReadFreeFormatText, SkipsHeaderLinesAndTakesTheChosenColumn) {
    const ReadResult result = ReadFreeFormatText("t,a\ns,g\n0.00,0.10\n0.01,-0.25\n", "f.txt",
                                                 Params(2, 2, Delimiter::Comma, 3.0));
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(result.record->SourceFileName(), "f.txt");
    EXPECT_EQ(result.record->TimeStep(), 0.01);
    ASSERT_EQ(result.record->SampleCount(), 2);
    EXPECT_DOUBLE_EQ(result.record->RawAcceleration()[0], 0.10 * 3.0);
    EXPECT_DOUBLE_EQ(result.record->RawAcceleration()[1], -0.25 * 3.0);
    EXPECT_FALSE(result.record->IsIntegrated());
}

TEST(ReadFreeFormatText, ConvertsTrimmedFieldsInBothModes) {
    const ReadResult space =
        ReadFreeFormatText("  0.01\t\t-0.25   3\n", "s.txt", Params(0, 2, Delimiter::Space));
    ASSERT_TRUE(space.ok()) << space.message;
    EXPECT_EQ(space.record->RawAcceleration()[0], -0.25);

    const ReadResult comma = ReadFreeFormatText("0.01, -0.25\n", "c.txt", Params(0, 2));
    ASSERT_TRUE(comma.ok()) << comma.message;
    EXPECT_EQ(comma.record->RawAcceleration()[0], -0.25);

    const ReadResult scaled =
        ReadFreeFormatText("1.5e-1\n", "e.txt", Params(0, 1, Delimiter::Comma, 2.0));
    ASSERT_TRUE(scaled.ok()) << scaled.message;
    EXPECT_DOUBLE_EQ(scaled.record->RawAcceleration()[0], 0.3);
}

TEST(ReadFreeFormatText, HonoursTheDecimalSeparatorOfTheParameters) {
    FreeFormatParameters p = Params(0, 2, Delimiter::Space);
    p.decimalSeparator = ',';
    const ReadResult result = ReadFreeFormatText("0,01 -0,25\n", "d.txt", p);
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(result.record->RawAcceleration()[0], -0.25);
}

TEST(ReadFreeFormatText, ReportsTheFailingLineLetterForLetter) {
    EXPECT_EQ(ReadFreeFormatText("a\nb\n0.01,,-0.25\n", "f.txt", Params(0, 2)).message,
              "FILE: f.txt. ERROR Line: 1. ERROR: List index out of bounds (1)");
    EXPECT_EQ(ReadFreeFormatText("a\nb\n0.01,,-0.25\n", "f.txt", Params(2, 2)).message,
              "FILE: f.txt. ERROR Line: 3. ERROR: '' is not a valid floating point value");
    EXPECT_EQ(ReadFreeFormatText("0.01,-0.25\n", "f.txt", Params(0, 2, Delimiter::Space)).message,
              "FILE: f.txt. ERROR Line: 1. ERROR: List index out of bounds (1)");
    EXPECT_EQ(ReadFreeFormatText("0.1\n 1.5x \n", "g.dat", Params()).message,
              "FILE: g.dat. ERROR Line: 2. ERROR: '1.5x' is not a valid floating point value");
    // A blank line between data lines is a data line without a field, also when blank
    // lines follow the data as well.
    EXPECT_EQ(ReadFreeFormatText("0.1\n\n0.2\n\n \n", "f.txt", Params()).message,
              "FILE: f.txt. ERROR Line: 2. ERROR: List index out of bounds (0)");
    EXPECT_EQ(ReadFreeFormatText("0.1\n \t\n0.2\n", "f.txt", Params(0, 2)).message,
              "FILE: f.txt. ERROR Line: 1. ERROR: List index out of bounds (1)");
}

TEST(ReadFreeFormatText, BlankLinesAfterTheLastDataLineAreIgnored) {
    for (const char* text : {"0.1\n0.2\n\n", "0.1\n0.2\n \t\n", "0.1\r\n0.2\r\n\r\n\r\n",
                             "0.1\n0.2\n\n  \n\t\n\n", "0.1\n0.2\r\r"}) {
        const ReadResult result = ReadFreeFormatText(text, "f.txt", Params());
        ASSERT_TRUE(result.ok()) << result.message;
        EXPECT_EQ(result.record->RawAcceleration(), (std::vector<double>{0.1, 0.2}));
    }
    // Nothing but blank lines after the skipped ones is no data at all.
    EXPECT_EQ(ReadFreeFormatText("h\n\n \n", "f.txt", Params(1)).message,
              "FILE: f.txt, WARNING: Skipline is too large, there is no data to read!");
}

TEST(ReadFreeFormatText, NoDataLineGivesTheSkiplineWarning) {
    const std::string warning =
        "FILE: f.txt, WARNING: Skipline is too large, there is no data to read!";
    EXPECT_EQ(ReadFreeFormatText("", "f.txt", Params()).message, warning);
    EXPECT_EQ(ReadFreeFormatText("h1\nh2\n", "f.txt", Params(2)).message, warning);
    EXPECT_EQ(ReadFreeFormatText("h1\nh2", "f.txt", Params(5)).message, warning);
    // Skipped lines may hold anything.
    EXPECT_TRUE(ReadFreeFormatText("not a number\n0.5\n", "f.txt", Params(1)).ok());
}

struct QuirkFile {
    const char* name;
    std::vector<double> samples;
};

class ReaderQuirks : public ::testing::TestWithParam<QuirkFile> {};

TEST_P(ReaderQuirks, FileGivesItsSamples) {
    const ReadResult result = ReadFreeFormatFile(DataFile(GetParam().name), Params());
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(result.record->SourceFileName(), GetParam().name);
    EXPECT_EQ(result.record->RawAcceleration(), GetParam().samples);
}

INSTANTIATE_TEST_SUITE_P(Files, ReaderQuirks,
                         ::testing::Values(QuirkFile{"bom_utf8.txt", {0.1, -0.2}},
                                           QuirkFile{"bom_utf16le.txt", {0.1, -0.2}},
                                           QuirkFile{"bom_utf16be.txt", {0.1, -0.2}},
                                           QuirkFile{"crlf.txt", {0.1, -0.2, 0.3}},
                                           QuirkFile{"lone_cr.txt", {0.1, -0.2, 0.3}},
                                           QuirkFile{"no_final_newline.txt", {0.1, -0.2, 0.3}},
                                           QuirkFile{"nul_padded_end.txt", {0.1, -0.2}},
                                           QuirkFile{"utf16le_no_bom.txt", {0.1, -0.2, 0.3}},
                                           QuirkFile{"utf16be_no_bom.txt", {0.1, -0.2, 0.3}},
                                           QuirkFile{"blank_lines_after_data.txt", {0.1, -0.2}}),
                         [](const auto& testInfo) {
                             std::string name = testInfo.param.name;
                             return name.substr(0, name.find('.'));
                         });

TEST(ReadFreeFormatFile, NulFollowedByDataStopsTheFileAtItsLine) {
    EXPECT_EQ(ReadFreeFormatFile(DataFile("nul_then_data.txt"), Params()).message,
              "FILE: nul_then_data.txt. ERROR Line: 3. ERROR: The line holds a NUL character; the "
              "file is not a text record or is damaged");
    // Also inside the skipped header, and counted with every kind of line break.
    EXPECT_EQ(ReadFreeFormatText(std::string("h\r\nh\rh\n\0\n1\n", 10), "f.txt", Params(4)).message,
              "FILE: f.txt. ERROR Line: 4. ERROR: The line holds a NUL character; the file is not "
              "a text record or is damaged");
}

TEST(ReadFreeFormatText, SampleThatOverflowsOnceScaledNamesItsLine) {
    EXPECT_EQ(
        ReadFreeFormatText("0.1\n 1e300 \n", "f.txt", Params(0, 1, Delimiter::Comma, 1e10)).message,
        "FILE: f.txt. ERROR Line: 2. ERROR: '1e300' times the scaling factor 10000000000 "
        "is too large for a number");
    EXPECT_TRUE(ReadFreeFormatText("1e300\n", "f.txt", Params(0, 1, Delimiter::Comma, 1e8)).ok());
}

TEST(ReadFreeFormatText, MessagesShowHiddenAndLongTextSafely) {
    const std::string ellipsis = "\xE2\x80\xA6";
    EXPECT_EQ(ReadFreeFormatText(std::string(100, '9') + "x\n", "f.txt", Params()).message,
              "FILE: f.txt. ERROR Line: 1. ERROR: '" + std::string(64, '9') + ellipsis +
                  "' is not a valid floating point value");
    EXPECT_EQ(ReadFreeFormatText("1\x1B[31mred\n", "bad\xFFname\n.txt", Params()).message,
              "FILE: bad\xEF\xBF\xBDname\\x0A.txt. ERROR Line: 1. ERROR: '1\\x1B[31mred' is not a "
              "valid floating point value");
}

TEST(ReadFreeFormatFile, BlankLineAmongDataStopsTheFile) {
    EXPECT_EQ(
        ReadFreeFormatFile(DataFile("blank_line_among_data.txt"), Params()).message,
        "FILE: blank_line_among_data.txt. ERROR Line: 2. ERROR: List index out of bounds (0)");
}

TEST(ReadFreeFormatFile, MissingFileOrFolderGivesTheLoadMessage) {
    const std::string missing = DataFile("no_such_record.txt");
    EXPECT_EQ(ReadFreeFormatFile(missing, Params()).message,
              "FILE : no_such_record.txt , ERROR: Cannot open file \"" + missing +
                  "\". No such file or directory");
    const std::string folder = TRAVIK_TEST_DATA_DIR;
    EXPECT_EQ(ReadFreeFormatFile(folder, Params()).message,
              "FILE : data , ERROR: Cannot open file \"" + folder +
                  "\". It is not a regular file but a folder.");
}

// Free-format files read as one import (ImportRecordFilesAs); each failure goes to `fail`.
bool ImportFreeFiles(const std::vector<std::string>& paths, const FreeFormatParameters& parameters,
                     double gravity, RecordList& records,
                     const std::function<void(const std::string&)>& fail) {
    RecordReadOptions options;
    options.format = RecordFormat::Free;
    options.free = parameters;
    return ImportRecordFilesAs(paths, options, gravity, records, nullptr, fail);
}

TEST(ImportFreeFormatFiles, StopsAtTheFirstFailingFileAndKeepsEarlierRecords) {
    RecordList records;
    std::vector<std::string> warnings;
    const bool ok = ImportFreeFiles(
        {DataFile("crlf.txt"), DataFile("blank_line_among_data.txt"), DataFile("lone_cr.txt")},
        Params(), 980.0, records, [&](const std::string& message) { warnings.push_back(message); });
    EXPECT_FALSE(ok);
    ASSERT_EQ(records.Count(), 1);
    EXPECT_EQ(records.At(0).SourceFileName(), "crlf.txt");
    EXPECT_TRUE(records.At(0).IsIntegrated());
    // 0.5*0.01*980*(0.1-0.2) = -0.49
    EXPECT_NEAR(records.At(0).RawVelocity()[1], -0.49, 1e-12);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(
        warnings[0],
        "FILE: blank_line_among_data.txt. ERROR Line: 2. ERROR: List index out of bounds (0)");
}

TEST(ImportFreeFormatFiles, RefusesARecordWhoseMotionIsNotFinite) {
    const std::string path =
        (std::filesystem::temp_directory_path() / "travik-finite-motion.txt").string();
    {
        std::ofstream file(path);
        file << "0.5\n0.5\n0.5\n";
    }
    RecordList records;
    std::vector<std::string> warnings;
    const auto warn = [&](const std::string& message) { warnings.push_back(message); };
    // Velocity 0.5 * 980 * dt overflows for dt = 1e306 (the first time, 0, is fine).
    FreeFormatParameters hugeStep = Params();
    hugeStep.timeStep = 1e306;
    EXPECT_FALSE(ImportFreeFiles({path}, hugeStep, 980.0, records, warn));
    // Times overflow: 2 * 1e308.
    FreeFormatParameters hugerStep = Params();
    hugerStep.timeStep = 1e308;
    EXPECT_FALSE(ImportFreeFiles({path}, hugerStep, 1e-300, records, warn));
    EXPECT_EQ(records.Count(), 0);
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_EQ(warnings[0],
              "FILE: travik-finite-motion.txt, ERROR: The times, velocities or displacements of "
              "this record are too large for numbers (time step 1E306 s, g 980 cm/sec^2): check "
              "the time step, the scaling factor and g");
    std::filesystem::remove(path);
}

TEST(ImportFreeFormatFiles, AppendsToTheListInTheGivenOrder) {
    RecordList records;
    records.Append(std::make_unique<TimeHistory>("earlier.txt", 0.01));
    int warnings = 0;
    EXPECT_TRUE(ImportFreeFiles({DataFile("lone_cr.txt"), DataFile("crlf.txt")}, Params(), 980.0,
                                records, [&](const std::string&) { ++warnings; }));
    EXPECT_EQ(warnings, 0);
    ASSERT_EQ(records.Count(), 3);
    EXPECT_EQ(records.At(1).SourceFileName(), "lone_cr.txt");
    EXPECT_EQ(records.At(2).SourceFileName(), "crlf.txt");
}

TEST(ReadFreeFormatFile, ReadsTheWholeSampleRecord) {
    const ReadResult result = ReadFreeFormatFile(
        std::string(TRAVIK_SAMPLE_DATA_DIR) + "/elcentro-1940-chopra-ns.txt", Params());
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(result.record->SampleCount(), 1560);
    EXPECT_EQ(result.record->PeakAcceleration(), 0.31882);
}

}  // namespace
}  // namespace travik
