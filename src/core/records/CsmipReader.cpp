// CSMIP volume files of the California Geological Survey: V2 (corrected acceleration,
// velocity and displacement) and V1 (uncorrected acceleration). A file holds one or more
// channels one after another, each ending with a line that starts with "/&". Per channel
// the reader takes: the channel number and orientation ("Chan  1:  90 Deg"), the line that
// announces the acceleration block, which gives the point count, the time step (V2
// "15050 points of accel data equally spaced at  .020 sec, in cm/sec2. (8f10.6)") or the
// sampling rate (V1 "13200 Accelerogram points at 200 pts/sec in units of g . Format:
// (8f9.6)"), the units and the Fortran layout of the values (older files, which give the
// units as "(UNITS: CM/SEC/SEC)" and no layout, use 8f10); and, for values in cm/s^2,
// the value of g that CGS wrote in the V2 real header (field 52), else 980.665 cm/s^2.
// Velocity and displacement blocks are skipped: the program integrates the acceleration
// itself.
#include <optional>
#include <string>
#include <vector>

#include "core/records/FormatParsing.h"

namespace travik {
namespace {

using namespace format_detail;

// A channel's header may be long (V2: 25 text, 7 integer and 13 real lines); this many
// lines without the data line means the file is not laid out as expected.
constexpr std::size_t kMaxHeaderLines = 80;

// V2 layout: 25 text lines, 7 lines of 16I5 integers, then 13 lines of 8F10 reals.
constexpr std::size_t kV2RealHeaderFirstLine = 32;  // from 0, within the channel
constexpr std::size_t kV2GravityField = 51;         // from 0
constexpr FortranLayout kStandardLayout{8, 10};

struct DataLine {
    long long count = 0;
    std::optional<double> timeStep;
    std::string_view stepText;  // V2: the header's text of the time step
    std::string units;
    FortranLayout layout;
};

// The digits the line begins with (empty for none).
std::string_view LeadingDigits(std::string_view line) {
    line = Trim(line);
    std::size_t end = 0;
    while (end < line.size() && line[end] >= '0' && line[end] <= '9') {
        ++end;
    }
    return line.substr(0, end);
}

// The first whitespace-delimited word after `key`.
std::string_view WordAfter(std::string_view line, std::string_view key) {
    const std::size_t at = Upper(line).find(Upper(key));
    if (at == std::string::npos) {
        return {};
    }
    std::string_view rest = line.substr(at + key.size());
    while (!rest.empty() && rest.front() == ' ') {
        rest.remove_prefix(1);
    }
    std::size_t end = 0;
    while (end < rest.size() && rest[end] != ' ' && rest[end] != ',') {
        ++end;
    }
    return rest.substr(0, end);
}

bool IsV2DataLine(std::string_view line) {
    return ContainsNoCase(line, "points of accel data");
}

bool IsV1DataLine(std::string_view line) {
    return ContainsNoCase(line, "accelerogram points at");
}

DataLine ParseDataLine(std::string_view line, std::size_t lineNumber) {
    DataLine data;
    const std::string_view digits = LeadingDigits(line);
    if (digits.empty()) {
        Fail(lineNumber, "no point count at the start of \"" + Squeeze(line) + "\"");
    }
    data.count = RequireCount(digits, lineNumber, "the point count ");
    if (IsV2DataLine(line)) {
        data.stepText = WordAfter(line, "spaced at");
        data.timeStep = ParseReal(data.stepText);
        // "... in cm/sec2. (8f10.6)"; older files "... .020 SEC.  (UNITS: CM/SEC/SEC)".
        std::string_view units = WordAfter(line, "(units:");
        if (units.empty()) {
            units = WordAfter(line, " in ");
        }
        while (!units.empty() && (units.back() == '.' || units.back() == ')')) {
            units.remove_suffix(1);
        }
        data.units = std::string(units);
    } else {
        const std::optional<double> rate = ParseReal(WordAfter(line, "points at"));
        if (rate && *rate > 0.0) {
            data.timeStep = 1.0 / *rate;
        } else if (rate) {
            data.timeStep = *rate;  // refused below as not positive
        }
        data.units = std::string(WordAfter(line, "units of"));
    }
    // Files that name no format use the program's standard one, eight fields of ten.
    data.layout = FindFortranLayout(line).value_or(kStandardLayout);
    return data;
}

// Units of the values and how many of them make one g.
double UnitsPerG(const std::string& units, double fileGravity, std::size_t lineNumber) {
    const std::string upper = Upper(units);
    if (upper == "G") {
        return 1.0;
    }
    if (upper == "CM/SEC2" || upper == "CM/SEC/SEC" || upper == "CM/S2" || upper == "CM/S/S" ||
        upper == "GAL") {
        return fileGravity;
    }
    Fail(lineNumber, "unknown units \"" + units + "\" of the acceleration values");
}

double FileGravity(const std::vector<std::string>& header) {
    const std::size_t line = kV2RealHeaderFirstLine + kV2GravityField / 8;
    if (header.size() <= line) {
        return kStandardGravity;
    }
    const std::optional<double> g = ParseReal(FixedField(header[line], kV2GravityField % 8, 10));
    // A plausible g in cm/s^2; anything else means the field holds something else.
    return (g && *g > 970.0 && *g < 990.0) ? *g : kStandardGravity;
}

// Velocity and displacement follow a channel's acceleration; "/&" ends the channel. A
// channel left open, or a file that ends inside its velocity, is said so; the title line
// of the next channel is never taken for part of this one.
void SkipToChannelEnd(LineSource& lines, const std::string& fileName,
                      const std::string& channelNumber, FormatReadResult& result) {
    std::string_view line;
    while (lines.Next(line)) {
        if (Trim(line).starts_with("/&")) {
            return;
        }
        if (ContainsNoCase(line, "accelerogram") && !IsDataLine(line, ValueLayout{})) {
            lines.PutBack();
            break;
        }
    }
    if (lines.Failed()) {
        return;
    }
    result.warnings.push_back(WarningMessage(
        fileName, lines.LineNumber(),
        "channel " + channelNumber +
            " is not closed by \"/&\": its velocity or displacement may be cut short"));
}

// The channel count of "(3 Chns of  3 at Sta)" in the first header, if it gives one.
std::optional<long long> AnnouncedChannels(const std::vector<std::string>& header) {
    for (const std::string& text : header) {
        const std::size_t chns = Upper(text).find(" CHNS OF");
        const std::size_t open = text.rfind('(', chns);
        if (chns != std::string::npos && open != std::string::npos) {
            return ParseInteger(Trim(std::string_view(text).substr(open + 1, chns - open - 1)));
        }
    }
    return std::nullopt;
}

}  // namespace

bool IsCsmipFile(std::span<const std::string_view> firstLines) {
    if (firstLines.empty() || !ContainsNoCase(firstLines[0], "accelerogram") ||
        ContainsNoCase(firstLines[0], "(Format v")) {
        return false;
    }
    for (const std::string_view line : firstLines) {
        if (StartsWithNoCase(Trim(line), "Chan ") && line.find(':') != std::string_view::npos) {
            return true;
        }
    }
    return false;
}

FormatReadResult ReadCsmip(LineSource& lines, const std::string& fileName) {
    return ReadWithMessages(lines, fileName, [&](FormatReadResult& result) {
        std::string_view line;
        std::size_t channelIndex = 0;
        std::vector<ChannelLabel> labels;
        std::vector<std::string> firstHeader;
        while (lines.Next(line)) {
            if (Trim(line).empty()) {
                continue;
            }
            ++channelIndex;
            const std::size_t firstLine = lines.LineNumber();
            if (ContainsNoCase(line, "spectra")) {
                Fail(firstLine, "this is a spectra file, not an acceleration record");
            }
            if (!ContainsNoCase(line, "accelerogram")) {
                Fail(firstLine, "channel " + std::to_string(channelIndex) +
                                    " does not begin with an accelerogram title line");
            }
            std::vector<std::string> header{std::string(line)};
            const bool firstChannel = channelIndex == 1;
            std::string channelNumber = std::to_string(channelIndex);
            std::string orientation;
            bool haveChannel = false;
            while (true) {
                line = RequireLine(
                    lines, "the acceleration data of channel " + std::to_string(channelIndex));
                if (IsV2DataLine(line) || IsV1DataLine(line)) {
                    break;
                }
                const std::string_view trimmed = Trim(line);
                if (!haveChannel && StartsWithNoCase(trimmed, "Chan")) {
                    const std::size_t colon = trimmed.find(':');
                    if (colon != std::string_view::npos) {
                        channelNumber = Squeeze(trimmed.substr(4, colon - 4));
                        orientation = Squeeze(trimmed.substr(colon + 1));
                        haveChannel = true;
                    }
                }
                header.emplace_back(line);
                if (header.size() > kMaxHeaderLines) {
                    Fail(firstLine, "no line announcing the acceleration points in the " +
                                        std::to_string(kMaxHeaderLines) +
                                        " header lines of channel " + std::to_string(channelIndex));
                }
            }
            if (firstChannel) {
                firstHeader = header;
            }
            const std::size_t dataLineNumber = lines.LineNumber();
            const DataLine data = ParseDataLine(line, dataLineNumber);
            std::string quoted = Squeeze(line);
            quoted.insert(quoted.begin(), '"');
            quoted.push_back('"');
            const double timeStep = IsV2DataLine(line)
                                        ? RequireTimeStepText(data.stepText, dataLineNumber, quoted)
                                        : RequireTimeStep(data.timeStep, dataLineNumber, quoted);
            const double unitsPerG = UnitsPerG(data.units, FileGravity(header), dataLineNumber);
            const std::string what = "channel " + channelNumber + "'s data line";
            const std::vector<double> values = ReadValueBlock(
                lines, static_cast<std::size_t>(data.count),
                ValueLayout{data.layout.width, data.layout.perLine}, false, fileName, what, result);

            const std::string label =
                orientation.empty() ? channelNumber : channelNumber + " (" + orientation + ")";
            labels.push_back({channelNumber, orientation});
            result.records.push_back(MakeRecord(
                fileName, timeStep, values, unitsPerG, label,
                unitsPerG == 1.0 ? "g" : "cm/s^2 (g = " + FormatNumber(unitsPerG) + " cm/s^2)"));
            result.records.back().orientation = orientation;
            SkipToChannelEnd(lines, fileName, channelNumber, result);
        }
        if (result.records.empty()) {
            Fail(lines.LineNumber() + 1, "the file holds no channel");
        }
        const std::optional<long long> announced = AnnouncedChannels(firstHeader);
        if (announced && static_cast<long long>(result.records.size()) < *announced) {
            result.warnings.push_back(
                WarningMessage(fileName, lines.LineNumber(),
                               "the header announces " + std::to_string(*announced) +
                                   " channels; " + std::to_string(result.records.size()) +
                                   " read, the rest is missing from the file"));
        }
        RenameChannels(fileName, labels, result);
    });
}

}  // namespace travik
