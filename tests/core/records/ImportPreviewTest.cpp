#include "core/records/ImportPreview.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace travik {
namespace {

std::string Sample(const std::string& name) {
    return std::string(TRAVIK_SAMPLE_DATA_DIR) + "/" + name;
}

RecordReadOptions Automatic(char decimalSeparator = '.') {
    RecordReadOptions options;
    options.format = RecordFormat::Automatic;
    options.free.decimalSeparator = decimalSeparator;
    return options;
}

TEST(ImportPreview, ShowsTheHeaderAndWhatAnAt2FileWillReadAs) {
    const ImportPreview preview =
        PreviewRecordFile(Sample("formats/peer/RSN6_IMPVALL.I_I-ELC180-hor1.AT2"), Automatic());
    ASSERT_EQ(preview.lines.size(), kPreviewLines);
    EXPECT_EQ(preview.lines[0].text, "PEER NGA STRONG MOTION DATABASE RECORD");
    for (std::size_t i = 0; i < preview.lines.size(); ++i) {
        EXPECT_EQ(preview.lines[i].header, i < 4) << i;
        EXPECT_FALSE(preview.lines[i].column);
    }
    // Count, time step and PGA as PEER publishes them, to six significant digits (the
    // file's -0.2807955 is the double just below -0.28079550, so it rounds down); the first
    // values are the file's 0.0009984852, 0.0009991426, 0.0009997266, 0.001000268 and
    // 0.001000757 so rounded.
    const std::vector<std::string> expected{
        "Format: PEER NGA AT2 (detected)",
        "Records: 1",
        "Samples: 5372",
        "Time step: 0.01 s",
        "Duration: 53.71 s",
        "Units: g",
        "PGA: -0.280795 g at 2.18 s",
        "First values (g): 0.000998485; 0.000999143; 0.000999727; 0.00100027; 0.00100076"};
    EXPECT_EQ(preview.summary, expected);
    EXPECT_TRUE(preview.warnings.empty());
}

TEST(ImportPreview, AFreeFormatStepNotEnteredYetGivesNoTimesButANamedFormatKeepsItsOwn) {
    RecordReadOptions options;
    options.free.timeStep = 0.01;  // the stand-in the values are read with
    const ImportPreview free =
        PreviewRecordBytes("0.1\n-0.3\n0.2\n", "f.txt", options, FreeTimeStep::NotEntered);
    const std::vector<std::string> expected{"Format: Free Type",
                                            "Records: 1",
                                            "Samples: 3",
                                            "Time step: not entered yet",
                                            "Units: g",
                                            "PGA: -0.3 g",
                                            "First values (g): 0.1; -0.3; 0.2"};
    EXPECT_EQ(free.summary, expected);
    const ImportPreview entered = PreviewRecordBytes("0.1\n-0.3\n0.2\n", "f.txt", options);
    EXPECT_EQ(entered.summary[3], "Time step: 0.01 s");
    EXPECT_EQ(entered.summary[4], "Duration: 0.02 s");
    EXPECT_EQ(entered.summary[6], "PGA: -0.3 g at 0.01 s");

    const ImportPreview named =
        PreviewRecordFile(Sample("formats/peer/RSN6_IMPVALL.I_I-ELC180-hor1.AT2"), Automatic(),
                          FreeTimeStep::NotEntered);
    EXPECT_EQ(named.summary[3], "Time step: 0.01 s");
    EXPECT_EQ(named.summary[6], "PGA: -0.280795 g at 2.18 s");
}

TEST(ImportPreview, WritesNumbersWithTheUsersDecimalSeparator) {
    const ImportPreview preview =
        PreviewRecordFile(Sample("formats/csmip/CIWLT.V2"), Automatic('?'));
    ASSERT_GE(preview.summary.size(), 4u);
    EXPECT_EQ(preview.summary[0], "Format: CSMIP/CGS V1/V2 (detected)");
    EXPECT_EQ(preview.summary[1], "Records: 3 (the first: CIWLT_ch1_090)");
    EXPECT_EQ(preview.summary[3], "Time step: 0?02 s");
    // 25 text, 7 integer and 13 real header lines and the data line come before the values.
    EXPECT_EQ(preview.read.headerLines, 46u);
    EXPECT_TRUE(preview.lines.back().header);
}

TEST(ImportPreview, MarksSkippedLinesAndTheAccelerationColumnOfFreeFormat) {
    RecordReadOptions options;
    options.free.linesToSkip = 2;
    options.free.accelerationColumn = 2;
    const ImportPreview preview =
        PreviewRecordBytes("t,a\ns,g\n  0.00,0.10\n0.01, -0.25\n", "f.txt", options);
    ASSERT_EQ(preview.lines.size(), 4u);
    EXPECT_TRUE(preview.lines[0].header);
    EXPECT_TRUE(preview.lines[1].header);
    EXPECT_FALSE(preview.lines[2].header);
    EXPECT_EQ(preview.lines[2].column, std::make_pair(std::size_t{7}, std::size_t{4}));
    EXPECT_EQ(preview.lines[3].column, std::make_pair(std::size_t{5}, std::size_t{6}));
    EXPECT_EQ(preview.summary[0], "Format: Free Type");
    EXPECT_EQ(preview.summary[2], "Samples: 2");

    options.free.delimiter = Delimiter::Space;
    options.free.accelerationColumn = 3;
    const ImportPreview spaced = PreviewRecordBytes("h\nh\n1  2\t 3\n", "f.txt", options);
    EXPECT_EQ(spaced.lines[2].column, std::make_pair(std::size_t{6}, std::size_t{1}));
}

TEST(ImportPreview, SaysThatAScalingFactorMultipliesTheFilesValues) {
    RecordReadOptions options;
    options.free.scalingFactor = 0.02;
    const ImportPreview scaled = PreviewRecordBytes("10\n-5\n", "f.txt", options);
    ASSERT_GE(scaled.summary.size(), 7u);
    EXPECT_EQ(scaled.summary[5], "Units: file values \u00d7 0.02, read as g");
    // 10 × 0.02 = 0.2 g: a product, as the line says.
    EXPECT_EQ(scaled.summary[7], "First values (g): 0.2; -0.1");
    options.free.decimalSeparator = ',';
    options.free.scalingFactor = 2.5;
    EXPECT_EQ(PreviewRecordBytes("1\n", "f.txt", options).summary[5],
              "Units: file values \u00d7 2,5, read as g");
    options.free.scalingFactor = 1.0;
    EXPECT_EQ(PreviewRecordBytes("1\n", "f.txt", options).summary[5], "Units: g");
}

TEST(ImportPreview, AFaultyFileShowsItsMessageInsteadOfASummary) {
    const ImportPreview preview = PreviewRecordBytes("1\n2\nx\n", "f.txt", Automatic());
    const std::vector<std::string> expected{
        "Format: Free Type (detected)",
        "FILE: f.txt. ERROR Line: 3. ERROR: 'x' is not a valid floating point value"};
    EXPECT_EQ(preview.summary, expected);
}

TEST(SeparatorHints, SayWhenDelimiterAndDecimalSeparatorAreMixedUp) {
    FreeFormatParameters comma;
    FreeFormatParameters space;
    space.delimiter = Delimiter::Space;
    FreeFormatParameters decimalComma;
    decimalComma.decimalSeparator = ',';
    struct Case {
        std::vector<std::string_view> lines;
        FreeFormatParameters parameters;
        std::string hint;  // empty: none
    };
    const std::vector<Case> cases{
        {{"0,01  -0,25", "0,02  0,5"},
         comma,
         "The values look like numbers with a decimal comma (\"0,01\"), but the delimiter is "
         "Comma, so each comma splits a number in two. Choose Space as the delimiter and the "
         "decimal comma in your number settings, or convert the file."},
        {{"-0,25"},
         space,
         "The values look like numbers with a decimal comma (\"-0,25\"), but your decimal "
         "separator is the point. Choose the decimal comma in your number settings, or "
         "convert the file."},
        {{"0.01,-0.25"},
         space,
         "The columns look separated by commas (\"0.01,-0.25\"), but the delimiter is Space, "
         "so the whole line is one field. Choose Comma as the delimiter."},
        {{"0,01;5"},
         decimalComma,
         "Your numbers use the decimal comma, and the delimiter is Comma too: every comma "
         "starts a new field, so \"0,01;5\" is not read as you may expect. Choose Space as the "
         "delimiter."},
        {{"0.01,-0.25", "0.02,0.5"}, comma, ""},
        {{"0.01  -0.25"}, space, ""},
        {{"t,a"}, comma, ""},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> hints = SeparatorHints(c.lines, c.parameters);
        if (c.hint.empty()) {
            EXPECT_TRUE(hints.empty()) << c.lines[0];
        } else {
            ASSERT_EQ(hints.size(), 1u) << c.lines[0];
            EXPECT_EQ(hints[0], c.hint);
        }
    }
}

TEST(RecordFilesInFolder, TakesRecordFilesSortedByNameAndLeavesOtherFilesOut) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "travik-record-folder";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "inner");
    std::filesystem::copy_file(Sample("formats/peer/RSN6_IMPVALL.I_I-ELC180-hor1.AT2"),
                               folder / "b.AT2");
    std::filesystem::copy_file(Sample("formats/knet/CHB0031412312349.EW"), folder / "C.EW");
    const auto write = [&](const char* name, const std::string& text) {
        std::ofstream(folder / name, std::ios::binary) << text;
    };
    write("a.txt", "0.1\n-0.2\n");
    write("README.md", "# Records\nsee below\n");
    write(".hidden.txt", "0.1\n");
    write("image.png", std::string("\x89PNG\r\n\x1A\n\0\0", 10));
    write("inner/d.txt", "0.3\n");

    const std::vector<std::string> files = RecordFilesInFolder(folder.string(), {});
    std::vector<std::string> names;
    for (const std::string& file : files) {
        names.push_back(std::filesystem::path(file).filename().string());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"C.EW", "a.txt", "b.AT2"}));
    EXPECT_TRUE(RecordFilesInFolder((folder / "inner" / "none").string(), {}).empty());
    EXPECT_EQ(NoRecordFilesMessage((folder / "inner").string()),
              "FOLDER: inner, WARNING: there is no record file in it to read!");
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace travik
