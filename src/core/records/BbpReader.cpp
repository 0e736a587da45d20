// Acceleration files of the SCEC broadband platform (.bbp): '#' comment lines, then rows of
// time (s) and the N-S, E-W and U-D accelerations in cm/s^2, fields separated by blanks or
// commas. The units are the platform's convention for acceleration files, whatever a comment
// says; its velocity and displacement files look the same and cannot be told apart by
// content, so only acceleration files are meant to be read. The time step is the spacing of
// the time column, which must be even.
#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "core/records/FormatParsing.h"

namespace travik {
namespace {

using namespace format_detail;

constexpr std::size_t kColumns = 4;
// Printed times carry a few digits only: spacings within this fraction of the first are even.
constexpr double kEvenSpacing = 1e-4;

bool IsComment(std::string_view line) {
    const std::string_view trimmed = Trim(line);
    return !trimmed.empty() && trimmed.front() == '#';
}

// The numbers of a data row, commas read as blanks; nothing when a field is no number.
std::optional<std::vector<double>> RowValues(std::string_view line) {
    std::string text(line);
    for (char& c : text) {
        if (c == ',') {
            c = ' ';
        }
    }
    std::vector<double> values;
    std::size_t at = 0;
    while (true) {
        at = text.find_first_not_of(" \t\r", at);
        if (at == std::string::npos) {
            break;
        }
        const std::size_t end = std::min(text.find_first_of(" \t\r", at), text.size());
        const std::optional<double> value = ParseReal(std::string_view(text).substr(at, end - at));
        if (!value) {
            return std::nullopt;
        }
        values.push_back(*value);
        at = end;
    }
    return values;
}

}  // namespace

bool IsBbpFile(std::span<const std::string_view> firstLines) {
    if (firstLines.empty() || !IsComment(firstLines.front())) {
        return false;
    }
    std::size_t rows = 0;
    for (const std::string_view line : firstLines) {
        if (IsComment(line)) {
            if (rows > 0) {
                return false;
            }
            continue;
        }
        const auto values = RowValues(line);
        if (!values || values->size() != kColumns) {
            return false;
        }
        ++rows;
    }
    return rows >= 2;
}

FormatReadResult ReadBbp(LineSource& lines, const std::string& fileName) {
    return ReadWithMessages(lines, fileName, [&](FormatReadResult& result) {
        std::vector<double> channels[3];
        std::string_view line;
        double firstTime = 0.0;
        double previousTime = 0.0;
        double dt = 0.0;
        std::size_t rows = 0;
        while (lines.Next(line)) {
            if (Trim(line).empty() || (rows == 0 && IsComment(line))) {
                continue;
            }
            const std::size_t number = lines.LineNumber();
            const auto values = RowValues(line);
            if (!values || values->size() != kColumns) {
                Fail(number, "expected four numbers (time, N-S, E-W, U-D)");
            }
            const double time = (*values)[0];
            if (rows == 0) {
                firstTime = time;
                result.firstDataLine = number;
            } else if (rows == 1) {
                dt = RequireTimeStep(time - firstTime, number, "the time column");
            } else if (std::fabs(time - previousTime - dt) > kEvenSpacing * dt) {
                Fail(number, "uneven time step: " + FormatNumber(time - previousTime) +
                                 " s after " + FormatNumber(dt) + " s");
            }
            previousTime = time;
            for (std::size_t c = 0; c < 3; ++c) {
                channels[c].push_back((*values)[c + 1]);
            }
            ++rows;
        }
        if (rows < 2) {
            Fail(lines.LineNumber() + 1, "at least two rows are needed for the time step");
        }
        static constexpr const char* kNames[] = {"N-S", "E-W", "U-D"};
        std::vector<ChannelLabel> labels;
        for (std::size_t c = 0; c < 3; ++c) {
            result.records.push_back(
                MakeRecord(fileName, dt, channels[c], kStandardGravity, kNames[c], "cm/s^2"));
            result.records.back().orientation = kNames[c];
            labels.push_back({std::to_string(c + 1), kNames[c]});
        }
        RenameChannels(fileName, labels, result);
    });
}

}  // namespace travik
