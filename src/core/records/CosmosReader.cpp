// COSMOS strong-motion volume files (V1 uncorrected, V2 corrected acceleration; format
// v01.20): per channel a text header whose first line states its length ("(Format v01.20
// with 13 text lines)"), an integer header and a real header, each announced by a line
// giving the number of values, of lines and the Fortran format, comment lines beginning
// with "|", then a line announcing the data ("7000 acceleration pts, approx 70 secs,
// units=cm/sec2(04),Format=(8F10.5)"), the values and an end-of-data line. Several channels
// may follow one another. Taken from the file: the data type (integer 2: 1 = acceleration),
// the physical units (integer 3: 2 g, 4 cm/s^2, 10 gal, 11 mg, 7 in/s^2), the sampling
// interval (real 62, milliseconds), the point count and layout from the data line, and the
// channel number and orientation from text line 9. Values in cm/s^2 are converted to g with
// 980.665 cm/s^2.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/records/FormatParsing.h"

namespace travik {
namespace {

using namespace format_detail;

constexpr long long kDataTypeField = 1;   // from 0
constexpr long long kUnitsField = 2;      // from 0
constexpr long long kIntervalField = 61;  // from 0; milliseconds
constexpr long long kUnknown = -999;
constexpr std::size_t kChannelTextLine = 8;  // from 0

struct Block {
    std::size_t values = 0;
    std::size_t lines = 0;
    FortranLayout layout;
};

std::optional<long long> LeadingInteger(std::string_view line) {
    line = Trim(line);
    std::size_t end = 0;
    while (end < line.size() && line[end] >= '0' && line[end] <= '9') {
        ++end;
    }
    return ParseInteger(line.substr(0, end));
}

// " 100 Integer-header values follow on  10 lines, Format= (10I8)"
Block ParseBlockLine(std::string_view line, std::size_t lineNumber, std::string_view what) {
    const std::optional<long long> values = LeadingInteger(line);
    const std::size_t on = Upper(line).find(" ON ");
    std::optional<long long> count;
    if (on != std::string::npos) {
        count = LeadingInteger(line.substr(on + 4));
    }
    const std::size_t format = Upper(line).find("FORMAT");
    std::optional<FortranLayout> layout;
    if (format != std::string::npos) {
        layout = FindFortranLayout(line.substr(format));
    }
    if (!values || !count || !layout || *values < 0 || *count < 0) {
        Fail(lineNumber, "the " + std::string(what) + " line \"" + Squeeze(line) +
                             "\" does not give the number of values, of lines and the format");
    }
    return Block{static_cast<std::size_t>(*values), static_cast<std::size_t>(*count), *layout};
}

std::vector<double> ReadHeaderBlock(LineSource& lines, const Block& block, std::string_view what) {
    std::vector<double> values;
    for (std::size_t i = 0; i < block.lines; ++i) {
        const std::string_view line = RequireLine(lines, std::string(what) + " values");
        ParseValues(line, lines.LineNumber(), ValueLayout{block.layout.width, block.layout.perLine},
                    values);
    }
    if (values.size() < block.values) {
        Fail(lines.LineNumber(), "the " + std::string(what) + " announces " +
                                     std::to_string(block.values) + " values; " +
                                     std::to_string(values.size()) + " found");
    }
    return values;
}

struct Units {
    double perG;
    std::string name;
};

std::optional<Units> UnitsFromCode(long long code) {
    switch (code) {
        case 2:
            return Units{1.0, "g"};
        case 4:
            return Units{kStandardGravity, "cm/s^2"};
        case 10:
            return Units{kStandardGravity, "gal"};
        case 11:
            return Units{1000.0, "mg"};
        case 7:
            return Units{kStandardGravity / 2.54, "in/s^2"};
        default:
            return std::nullopt;
    }
}

struct Channel {
    std::string label;
    std::string number;       // as the header gives it, or the channel's position
    std::string orientation;  // as the header gives it; may be empty
    double timeStep;
    std::vector<double> values;
    Units units;
};

// The title line (already read, `line`) and the text header it announces.
std::vector<std::string> ReadTextHeader(LineSource& lines, std::string_view line) {
    const std::size_t firstLine = lines.LineNumber();
    const std::string title = Upper(line);
    if (title.find("(FORMAT V") == std::string::npos) {
        Fail(firstLine,
             "a COSMOS channel begins with a title line that names the "
             "format, e.g. \"(Format v01.20 with 13 text lines)\"");
    }
    for (const char* other : {"VELOCITY", "DISPLACEMENT", "SPECTR"}) {
        if (title.substr(0, title.find('(')).find(other) != std::string::npos) {
            Fail(firstLine, "the channel holds \"" + Squeeze(line.substr(0, line.find('('))) +
                                "\", not acceleration");
        }
    }
    const std::size_t with = title.find("WITH ");
    const std::optional<long long> textLines =
        with == std::string::npos ? std::nullopt : LeadingInteger(line.substr(with + 5));
    if (!textLines || *textLines < 1 || *textLines > 100) {
        Fail(firstLine, "the title line does not give the number of text lines");
    }
    std::vector<std::string> text{std::string(line)};
    for (long long i = 1; i < *textLines; ++i) {
        text.emplace_back(RequireLine(lines, "the text header"));
    }
    return text;
}

// The integer and real headers and the comment lines after them.
struct NumericHeaders {
    std::vector<double> integers;
    std::vector<double> reals;
    std::size_t integerLine = 0;  // the line announcing each block
    std::size_t realLine = 0;
    std::size_t realsPerLine = 0;
};

NumericHeaders ReadNumericHeaders(LineSource& lines) {
    NumericHeaders headers;
    const Block integerBlock = ParseBlockLine(RequireLine(lines, "the integer header"),
                                              lines.LineNumber(), "integer-header");
    headers.integerLine = lines.LineNumber();
    headers.integers = ReadHeaderBlock(lines, integerBlock, "integer header");
    const Block realBlock =
        ParseBlockLine(RequireLine(lines, "the real header"), lines.LineNumber(), "real-header");
    headers.realLine = lines.LineNumber();
    headers.realsPerLine = realBlock.layout.perLine;
    headers.reals = ReadHeaderBlock(lines, realBlock, "real header");
    const std::string_view commentLine = RequireLine(lines, "the comment count line");
    const std::optional<long long> comments = LeadingInteger(commentLine);
    if (!comments || !ContainsNoCase(commentLine, "comment")) {
        Fail(lines.LineNumber(), "expected the line announcing the comment lines, found \"" +
                                     Squeeze(commentLine) + "\"");
    }
    for (long long i = 0; i < *comments; ++i) {
        RequireLine(lines, "the comment lines");
    }
    return headers;
}

// The units of the values and the time step (s), from the numeric headers.
std::pair<Units, double> UnitsAndTimeStep(const NumericHeaders& headers) {
    if (headers.integers.size() <= static_cast<std::size_t>(kUnitsField) ||
        headers.reals.size() <= static_cast<std::size_t>(kIntervalField)) {
        Fail(headers.realLine, "the headers are too short for the data type, units and interval");
    }
    const auto dataType = static_cast<long long>(headers.integers[kDataTypeField]);
    if (dataType != 1 && dataType != kUnknown) {
        Fail(headers.integerLine + 1, "integer header field 2 gives data type " +
                                          std::to_string(dataType) +
                                          "; only acceleration (1) is read");
    }
    const auto unitsCode = static_cast<long long>(headers.integers[kUnitsField]);
    if (unitsCode == 50) {
        Fail(headers.integerLine + 1,
             "the values are raw counts (units code 50), not "
             "acceleration: read the V1 or V2 file of this record");
    }
    const std::optional<Units> units = UnitsFromCode(unitsCode);
    if (!units) {
        Fail(headers.integerLine + 1, "unknown physical units code " + std::to_string(unitsCode) +
                                          " in integer header field 3");
    }
    const double interval = headers.reals[kIntervalField];
    std::optional<double> timeStep;
    if (interval != static_cast<double>(kUnknown)) {
        timeStep = interval / 1000.0;
    }
    const double dt = RequireTimeStep(
        timeStep,
        headers.realLine + 1 + static_cast<std::size_t>(kIntervalField) / headers.realsPerLine,
        "real header field 62 (sampling interval, ms)");
    return {*units, dt};
}

// The channel's number and orientation from its text header, "Sta Chan   1: 340 deg (Rcrdr
// Chan  1) ..." (also written "Sta Cha:  1:"); the channel's position where none is given.
void NameChannel(const std::vector<std::string>& text, std::size_t position, Channel& channel) {
    channel.label = std::to_string(position);
    channel.number = channel.label;
    if (text.size() <= kChannelTextLine) {
        return;
    }
    const std::string_view chan = text[kChannelTextLine];
    const std::size_t at = Upper(chan).find("STA CHA");
    std::size_t pos = at == std::string::npos ? chan.size() : at + 7;
    if (pos < chan.size() && (chan[pos] == 'n' || chan[pos] == 'N')) {
        ++pos;
    }
    if (pos < chan.size() && chan[pos] == ':') {
        ++pos;
    }
    const std::size_t colon = chan.find(':', pos);
    if (colon == std::string_view::npos) {
        return;
    }
    const std::string number = Squeeze(chan.substr(pos, colon - pos));
    const std::size_t open = chan.find('(', colon);
    const std::string orientation = Squeeze(chan.substr(
        colon + 1, open == std::string_view::npos ? std::string_view::npos : open - colon - 1));
    if (!number.empty() && number != "?") {
        channel.label = number;
        channel.number = number;
    }
    channel.orientation = orientation;
    if (!orientation.empty()) {
        channel.label += " (" + orientation + ")";
    }
}

// One channel, from its title line (already read, `line`) to its end-of-data line.
Channel ReadChannel(LineSource& lines, std::string_view line, std::size_t position,
                    const std::string& fileName, FormatReadResult& result) {
    const std::vector<std::string> text = ReadTextHeader(lines, line);
    const NumericHeaders headers = ReadNumericHeaders(lines);
    const auto [units, dt] = UnitsAndTimeStep(headers);

    const std::string_view dataLine = RequireLine(lines, "the data line");
    const std::size_t dataLineNumber = lines.LineNumber();
    const std::optional<long long> count = LeadingInteger(dataLine);
    const std::size_t formatAt = Upper(dataLine).find("FORMAT");
    const std::optional<FortranLayout> layout =
        formatAt == std::string::npos ? std::nullopt : FindFortranLayout(dataLine.substr(formatAt));
    if (!count || *count <= 0 || !layout) {
        Fail(dataLineNumber, "the data line \"" + Squeeze(dataLine) +
                                 "\" does not give the point count and the format");
    }
    Channel channel{{}, {}, {}, dt, {}, units};
    NameChannel(text, position, channel);
    channel.values = ReadValueBlock(lines, static_cast<std::size_t>(*count),
                                    ValueLayout{layout->width, layout->perLine}, false, fileName,
                                    "the data line of channel " + std::to_string(position), result);
    // The end-of-data line closes the channel.
    std::string_view next;
    bool more = lines.Next(next);
    while (more && Trim(next).empty()) {
        more = lines.Next(next);
    }
    if (more && ContainsNoCase(next, "(Format v")) {
        lines.PutBack();
    }
    return channel;
}

}  // namespace

bool IsCosmosFile(std::span<const std::string_view> firstLines) {
    if (firstLines.empty() || !ContainsNoCase(firstLines[0], "(Format v")) {
        return false;
    }
    for (const std::string_view line : firstLines) {
        if (ContainsNoCase(line, "Integer-header values follow")) {
            return true;
        }
    }
    return false;
}

FormatReadResult ReadCosmos(LineSource& lines, const std::string& fileName) {
    return ReadWithMessages(lines, fileName, [&](FormatReadResult& result) {
        std::vector<Channel> channels;
        std::string_view line;
        while (lines.Next(line)) {
            if (!Trim(line).empty()) {
                channels.push_back(ReadChannel(lines, line, channels.size() + 1, fileName, result));
            }
        }
        if (channels.empty()) {
            Fail(lines.LineNumber() + 1, "the file holds no channel");
        }
        std::vector<ChannelLabel> labels;
        for (const Channel& channel : channels) {
            labels.push_back({channel.number, channel.orientation});
        }
        const std::vector<std::string> names = ChannelRecordNames(fileName, labels);
        for (std::size_t i = 0; i < channels.size(); ++i) {
            const Channel& channel = channels[i];
            result.records.push_back(MakeRecord(names[i], channel.timeStep, channel.values,
                                                channel.units.perG, channel.label,
                                                channel.units.name));
            result.records.back().orientation = channel.orientation;
        }
    });
}

}  // namespace travik
