// USGS SMC strong-motion files: 11 text lines (the first gives the data type, e.g.
// "2 CORRECTED ACCELEROGRAM"), 48 integers (8I10, -32768 where a value is unknown), 50
// reals (5E15.7, 1.7E+38 where unknown), comment lines beginning with "|", then the
// acceleration in cm/s^2 in E format. Taken from the file: the point count (integer 17),
// the number of comment lines (integer 16), the sampling rate (real 2, samples per second),
// the component (text "component=") and, when a comment says the data values were "scaled by
// the factor" F (files converted from records in g), that factor as the g to divide by;
// otherwise cm/s^2 are converted with 980.665.
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "core/records/FormatParsing.h"

namespace travik {
namespace {

using namespace format_detail;

constexpr std::size_t kTextLines = 11;
constexpr std::size_t kIntegerLines = 6;
constexpr std::size_t kIntegersPerLine = 8;
constexpr std::size_t kIntegerWidth = 10;
constexpr std::size_t kRealLines = 10;
constexpr std::size_t kRealsPerLine = 5;
constexpr std::size_t kRealWidth = 15;
constexpr long long kUnknownInteger = -32768;
constexpr double kUnknownRealAbove = 1.0e38;  // the format writes 1.7E+38 for unknown

constexpr std::size_t kCommentCountField = 15;
constexpr std::size_t kPointCountField = 16;
constexpr std::size_t kSamplingRateField = 1;

bool IsIntegerLine(std::string_view line) {
    for (std::size_t i = 0; i < kIntegersPerLine; ++i) {
        if (!ParseInteger(FixedField(line, i, kIntegerWidth))) {
            return false;
        }
    }
    return true;
}

bool IsRealLine(std::string_view line) {
    for (std::size_t i = 0; i < kRealsPerLine; ++i) {
        if (!ParseReal(FixedField(line, i, kRealWidth))) {
            return false;
        }
    }
    return true;
}

bool IsTypeLine(std::string_view line) {
    line = Trim(line);
    return line.size() > 2 && line[0] >= '0' && line[0] <= '9' && line[1] == ' ';
}

}  // namespace

bool IsSmcFile(std::span<const std::string_view> firstLines) {
    if (firstLines.size() < kTextLines + kIntegerLines + kRealLines || !IsTypeLine(firstLines[0])) {
        return false;
    }
    for (std::size_t i = 0; i < kIntegerLines; ++i) {
        if (!IsIntegerLine(firstLines[kTextLines + i])) {
            return false;
        }
    }
    for (std::size_t i = 0; i < kRealLines; ++i) {
        if (!IsRealLine(firstLines[kTextLines + kIntegerLines + i])) {
            return false;
        }
    }
    return true;
}

namespace {

// The data type line and the text header; refuses files that hold no acceleration and gives
// the component the header names (empty when it names none).
std::string ReadSmcTextHeader(LineSource& lines) {
    const std::string_view typeLine = RequireLine(lines, "the data type line");
    const std::string type = Upper(typeLine);
    for (const char* other : {"VELOCITY", "DISPLACEMENT", "SPECTR"}) {
        if (type.find(other) != std::string::npos) {
            Fail(1, "the file holds \"" + Squeeze(typeLine) + "\", not acceleration");
        }
    }
    if (!IsTypeLine(typeLine)) {
        Fail(1, "the first line \"" + Squeeze(typeLine) +
                    "\" does not give the data type of an SMC file");
    }
    std::string component;
    for (std::size_t i = 1; i < kTextLines; ++i) {
        const std::string_view text = RequireLine(lines, "the text header");
        const std::size_t at = Upper(text).find("COMPONENT=");
        if (at != std::string::npos) {
            component = Squeeze(text.substr(at + 10));
        }
    }
    return component;
}

}  // namespace

FormatReadResult ReadSmc(LineSource& lines, const std::string& fileName) {
    return ReadWithMessages(lines, fileName, [&](FormatReadResult& result) {
        const std::string component = ReadSmcTextHeader(lines);

        std::vector<long long> integers;
        for (std::size_t i = 0; i < kIntegerLines; ++i) {
            const std::string_view text = RequireLine(lines, "the integer header");
            for (std::size_t k = 0; k < kIntegersPerLine; ++k) {
                const std::optional<long long> value =
                    ParseInteger(FixedField(text, k, kIntegerWidth));
                if (!value) {
                    Fail(lines.LineNumber(),
                         "integer header field " + std::to_string(integers.size() + 1) + " '" +
                             std::string(Trim(FixedField(text, k, kIntegerWidth))) +
                             "' is not a whole number");
                }
                integers.push_back(*value);
            }
        }
        const std::size_t integerHeaderLine = kTextLines + 1;
        std::vector<double> reals;
        for (std::size_t i = 0; i < kRealLines; ++i) {
            const std::string_view text = RequireLine(lines, "the real header");
            for (std::size_t k = 0; k < kRealsPerLine; ++k) {
                const std::optional<double> value = ParseReal(FixedField(text, k, kRealWidth));
                if (!value) {
                    Fail(lines.LineNumber(),
                         "real header field " + std::to_string(reals.size() + 1) + " '" +
                             std::string(Trim(FixedField(text, k, kRealWidth))) +
                             "' is not a number");
                }
                reals.push_back(*value);
            }
        }
        const std::size_t realHeaderLine = kTextLines + kIntegerLines + 1;

        const long long count = integers[kPointCountField];
        if (count == kUnknownInteger || count <= 0) {
            Fail(integerHeaderLine + kPointCountField / kIntegersPerLine,
                 "no point count in integer header field 17 (" + std::to_string(count) + ")");
        }
        const long long comments = integers[kCommentCountField];
        if (comments < 0 || comments == kUnknownInteger) {
            Fail(integerHeaderLine + kCommentCountField / kIntegersPerLine,
                 "the number of comment lines (integer header field 16) is " +
                     std::to_string(comments));
        }
        const double rate = reals[kSamplingRateField];
        std::optional<double> timeStep;
        if (std::isfinite(rate) && rate < kUnknownRealAbove) {
            timeStep = rate > 0.0 ? 1.0 / rate : rate;
        }
        const double dt =
            RequireTimeStep(timeStep, realHeaderLine, "real header field 2 (samples per second)");

        double unitsPerG = kStandardGravity;
        std::string unitsFrom = "cm/s^2";
        for (long long i = 0; i < comments; ++i) {
            const std::string_view text = RequireLine(lines, "the comment lines");
            if (!Trim(text).starts_with('|')) {
                Fail(lines.LineNumber(), "the integer header announces " +
                                             std::to_string(comments) +
                                             " comment lines, but this line does not begin "
                                             "with \"|\"");
            }
            const std::size_t at = Upper(text).find("SCALED BY THE FACTOR");
            if (at != std::string::npos) {
                const std::optional<double> factor = ParseReal(
                    Trim(text.substr(at + 20)).substr(0, Trim(text.substr(at + 20)).find(' ')));
                if (factor && *factor > 0.0) {
                    unitsPerG = *factor;
                    unitsFrom = "cm/s^2 (g x " + FormatNumber(*factor) + ")";
                }
            }
        }

        const std::vector<double> values =
            ReadValueBlock(lines, static_cast<std::size_t>(count), ValueLayout{}, true, fileName,
                           "integer header field 17", result);
        result.records.push_back(MakeRecord(fileName, dt, values, unitsPerG, component, unitsFrom));
        result.records.back().orientation = component;
    });
}

}  // namespace travik
