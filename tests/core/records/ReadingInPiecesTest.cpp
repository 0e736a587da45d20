// A record file is read and parsed a piece at a time; whatever falls on the pieces' edges,
// the result must be that of reading the whole text at once.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "core/records/FreeFormatReader.h"
#include "core/text/NumberParse.h"

namespace travik {
namespace {

// The reader's piece size; the cases below put line breaks on and around its edge.
constexpr std::size_t kPiece = 65536;

FreeFormatParameters Params(int skip, int column = 1, Delimiter delimiter = Delimiter::Comma) {
    FreeFormatParameters p;
    p.linesToSkip = skip;
    p.accelerationColumn = column;
    p.delimiter = delimiter;
    return p;
}

std::filesystem::path WriteTemporary(const std::string& name, const std::string& bytes) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "travik-reading-in-pieces";
    std::filesystem::create_directories(folder);
    const std::filesystem::path path = folder / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

void ExpectFileReadsLikeItsText(const std::string& name, const std::string& bytes,
                                const FreeFormatParameters& parameters) {
    SCOPED_TRACE(name);
    const std::filesystem::path path = WriteTemporary(name, bytes);
    const ReadResult fromFile = ReadFreeFormatFile(path.string(), parameters);
    const ReadResult fromText = ReadFreeFormatText(DecodeRecordText(bytes), name, parameters);
    std::filesystem::remove(path);
    EXPECT_EQ(fromFile.message, fromText.message);
    ASSERT_EQ(fromFile.ok(), fromText.ok());
    if (fromText.ok()) {
        EXPECT_EQ(fromFile.record->RawAcceleration(), fromText.record->RawAcceleration());
    }
}

std::string Samples(int count, const char* lineEnd) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += std::to_string(0.001 * (i % 97) - 0.03) + lineEnd;
    }
    return text;
}

TEST(ReadingInPieces, BreaksOnAndAcrossThePiecesEdgesGiveTheWholeTextsRecord) {
    const std::string header(kPiece - 1, 'h');  // its line break is the piece's last byte
    ExpectFileReadsLikeItsText("crlf_split_by_the_edge.txt",
                               header + "\r\n" + Samples(20000, "\r\n"), Params(1));
    ExpectFileReadsLikeItsText("lone_cr_on_the_edge.txt", header + "\r" + Samples(20000, "\r"),
                               Params(1));
    ExpectFileReadsLikeItsText("lf_on_the_edge.txt", header + "\n" + Samples(20000, "\n"),
                               Params(1));
    ExpectFileReadsLikeItsText(
        "line_across_the_edge.txt",
        std::string(kPiece - 4, 'h') + "\n0.123456789\n" + Samples(30000, "\n"), Params(1));
    ExpectFileReadsLikeItsText("mixed_breaks_no_final_one.txt",
                               Samples(9000, "\r\n") + Samples(9000, "\r") + "0.5\n\n\n0.25",
                               Params(0));
    ExpectFileReadsLikeItsText("utf8_mark_and_many_pieces.txt",
                               "\xEF\xBB\xBF" + Samples(100000, "\n"), Params(0));
    ExpectFileReadsLikeItsText("nul_after_the_first_piece.txt",
                               Samples(20000, "\n") + std::string(1, '\0') + "junk\n1\n",
                               Params(0));
    ExpectFileReadsLikeItsText("nul_padding_after_the_first_piece.txt",
                               Samples(20000, "\n") + std::string(kPiece + 3, '\0'), Params(0));
    ExpectFileReadsLikeItsText("nul_early_then_data.txt",
                               "0.1\n" + std::string(1, '\0') + Samples(20000, "\n"), Params(0));
    ExpectFileReadsLikeItsText("blank_lines_after_the_data.txt",
                               Samples(20000, "\r\n") + std::string(kPiece, '\n') + " \t\r\n",
                               Params(0));
    ExpectFileReadsLikeItsText("empty.txt", "", Params(0));
    ExpectFileReadsLikeItsText("only_breaks.txt", std::string(kPiece + 5, '\n'), Params(0));
}

TEST(ReadingInPieces, AFailingLineBeyondTheFirstPieceIsNamedByItsNumber) {
    ExpectFileReadsLikeItsText("bad_line_late.txt", Samples(15000, "\r\n") + "0.1x\r\n0.2\r\n",
                               Params(0));
    ExpectFileReadsLikeItsText("blank_line_late.txt", Samples(15000, "\n") + "\n0.2\n", Params(0));
    ExpectFileReadsLikeItsText(
        "bad_line_before_a_nul_with_data.txt",
        Samples(15000, "\n") + "0.1x\n" + Samples(15000, "\n") + std::string(1, '\0') + "1\n",
        Params(0));
    FreeFormatParameters scaled = Params(0);
    scaled.scalingFactor = 1e300;
    ExpectFileReadsLikeItsText("overflow_late.txt", Samples(15000, "\n") + "1e10\n", scaled);
}

// The reader picks a field out of a line in place; it must be the field the line splitter
// gives, for every column, in both modes, quoted or not.
TEST(ReadingInPieces, FieldsPickedInPlaceAreThoseOfTheLineSplitter) {
    const std::vector<std::string> lines = {"1,2,3",
                                            "1,,3",
                                            ",2",
                                            "2,",
                                            " 1 , 2 ,3 ",
                                            "1 2\t3",
                                            "1  \t 2",
                                            "\"1,5\",2",
                                            "\"2\"3,4",
                                            "1,\"a\"\"b\",3",
                                            "5",
                                            "  5  ",
                                            "1;2,3",
                                            "a,b,c",
                                            "\"\"",
                                            "1\x01"
                                            "2",
                                            "\"4\" 5 \"6\"",
                                            "x\"y\",7",
                                            "1,2,3,4,5,6"};
    for (const Delimiter delimiter : {Delimiter::Comma, Delimiter::Space}) {
        for (const std::string& line : lines) {
            const std::vector<std::string> fields =
                SplitDelimitedLine(TrimControlAndBlanks(line), delimiter);
            for (int column = 1; column <= static_cast<int>(fields.size()) + 1; ++column) {
                SCOPED_TRACE("[" + line + "] column " + std::to_string(column));
                const ReadResult read =
                    ReadFreeFormatText(line, "f.txt", Params(0, column, delimiter));
                if (column > static_cast<int>(fields.size())) {
                    EXPECT_EQ(read.message,
                              "FILE: f.txt. ERROR Line: 1. ERROR: List index out of bounds (" +
                                  std::to_string(column - 1) + ")");
                    continue;
                }
                const std::optional<double> value =
                    TryParseNumber(fields[static_cast<std::size_t>(column - 1)]);
                ASSERT_EQ(read.ok(), value.has_value()) << read.message;
                if (value) {
                    EXPECT_EQ(read.record->RawAcceleration(), std::vector<double>{*value});
                }
            }
        }
    }
}

}  // namespace
}  // namespace travik
