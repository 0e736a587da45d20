// PEER NGA strong-motion database records (.AT2): four header lines, then the
// acceleration in g, written in E format, usually five values to a line, any number on the
// last one. Taken from the file: the point count and time step (line 4, in either the
// NGA-West2 form "NPTS=  5372, DT=   .0100 SEC" or the older "3930   0.00500   NPTS, DT"),
// the units (line 3, which must name acceleration in g) and the component (the last
// comma-separated field of line 2).
#include <optional>

#include "core/records/FormatParsing.h"

namespace travik {
namespace {

using namespace format_detail;

// The texts of the two fields; each is checked by the reader so that its fault names it.
struct CountAndStep {
    std::string_view count;
    std::string_view timeStep;
};

// The number that follows `key` (e.g. "NPTS=") on the line.
std::string_view ValueAfter(std::string_view line, std::string_view key) {
    const std::string upper = Upper(line);
    const std::size_t at = upper.find(key);
    if (at == std::string::npos) {
        return {};
    }
    std::string_view rest = line.substr(at + key.size());
    rest = Trim(rest);
    std::size_t end = 0;
    while (end < rest.size() && rest[end] != ',' && static_cast<unsigned char>(rest[end]) > 32) {
        ++end;
    }
    const std::string_view value = rest.substr(0, end);
    // "DT=  SEC": the unit where the number should be; the field is empty.
    return Upper(value) == "SEC" ? std::string_view() : value;
}

std::optional<CountAndStep> ParseCountLine(std::string_view line) {
    const std::string upper = Upper(line);
    if (upper.find("NPTS=") != std::string::npos && upper.find("DT=") != std::string::npos) {
        return CountAndStep{ValueAfter(line, "NPTS="), ValueAfter(line, "DT=")};
    }
    // Older files: "3930   0.00500   NPTS, DT" (the two numbers come first).
    const std::size_t names = upper.find("NPTS");
    if (names == std::string::npos || upper.find("DT", names) == std::string::npos) {
        return std::nullopt;
    }
    std::string_view head = Trim(line.substr(0, names));
    std::vector<std::string_view> fields;
    std::size_t pos = 0;
    while (pos < head.size()) {
        while (pos < head.size() && (head[pos] == ' ' || head[pos] == '\t' || head[pos] == ',')) {
            ++pos;
        }
        const std::size_t start = pos;
        while (pos < head.size() && head[pos] != ' ' && head[pos] != '\t' && head[pos] != ',') {
            ++pos;
        }
        if (pos > start) {
            fields.push_back(head.substr(start, pos - start));
        }
    }
    if (fields.size() != 2) {
        return std::nullopt;
    }
    return CountAndStep{fields[0], fields[1]};
}

}  // namespace

bool IsPeerNgaFile(std::span<const std::string_view> firstLines) {
    if (firstLines.size() < 4) {
        return false;
    }
    const std::optional<CountAndStep> counts = ParseCountLine(firstLines[3]);
    // The count line's shape and the units line decide; the values themselves are checked by
    // the reader, so that a broken NPTS or DT is named as such rather than read as free text.
    return counts && ContainsNoCase(firstLines[2], "UNITS OF");
}

FormatReadResult ReadPeerNga(LineSource& lines, const std::string& fileName) {
    return ReadWithMessages(lines, fileName, [&](FormatReadResult& result) {
        RequireLine(lines, "the title line");
        const std::string_view titleLine = RequireLine(lines, "the event and station line");
        const std::size_t comma = titleLine.rfind(',');
        const std::string component =
            comma == std::string_view::npos ? std::string() : Squeeze(titleLine.substr(comma + 1));

        const std::string_view unitsLine = RequireLine(lines, "the units line");
        const std::string upperUnits = Upper(unitsLine);
        if (upperUnits.find("ACCELERATION") == std::string::npos) {
            Fail(lines.LineNumber(),
                 "the record is not an acceleration time series: \"" + Squeeze(unitsLine) + "\"");
        }
        const std::size_t unitsAt = upperUnits.find("UNITS OF");
        const std::string unit =
            unitsAt == std::string::npos ? std::string() : Squeeze(unitsLine.substr(unitsAt + 8));
        const std::string upperUnit = Upper(unit);
        if (!(upperUnit == "G" || upperUnit.starts_with("G ") || upperUnit.starts_with("G.") ||
              upperUnit.starts_with("G,"))) {
            Fail(lines.LineNumber(),
                 "unknown units \"" + unit + "\": the reader takes acceleration in units of G");
        }

        const std::string_view countLine = RequireLine(lines, "the NPTS and DT line");
        const std::optional<CountAndStep> counts = ParseCountLine(countLine);
        const std::string quoted = "the header line \"" + Squeeze(countLine) + "\"";
        if (!counts || counts->count.empty()) {
            Fail(lines.LineNumber(), "no point count (NPTS) in " + quoted);
        }
        const long long count =
            RequireCount(counts->count, lines.LineNumber(), "the point count NPTS=");
        const double timeStep = RequireTimeStepText(counts->timeStep, lines.LineNumber(), quoted);

        const std::vector<double> values =
            ReadValueBlock(lines, static_cast<std::size_t>(count), ValueLayout{}, true, fileName,
                           "the header", result);
        result.records.push_back(MakeRecord(fileName, timeStep, values, 1.0, component, "g"));
        result.records.back().orientation = component;
    });
}

}  // namespace travik
