#pragma once

// Helpers shared by the named-format readers (not part of the core's public interface).

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/records/ChannelNames.h"
#include "core/records/FormatReaders.h"
#include "core/records/LineSource.h"

namespace travik::format_detail {

// Standard gravity (cm/s^2), used to turn cm/s^2 into g where a file names no g of its own.
inline constexpr double kStandardGravity = 980.665;

// A fault found while reading: the line it was found on and what is wrong. Readers throw it
// and ReadWithMessages turns it into the user's message.
struct FormatFault {
    std::size_t line;
    std::string text;
};
[[noreturn]] void Fail(std::size_t line, std::string text);

// "FILE: <name>. ERROR Line: <n>. ERROR: <text>", as the free-format reader words it.
std::string FaultMessage(const std::string& fileName, std::size_t line, const std::string& text);
// "FILE: <name>. Line: <n>. WARNING: <text>".
std::string WarningMessage(const std::string& fileName, std::size_t line, const std::string& text);

// Faults when any record read has no sample: every analysis needs at least one.
void RequireSamples(const FormatReadResult& result, std::size_t line);

// Runs a reader body; a FormatFault or a failure of the line source becomes the message.
template <typename Body>
FormatReadResult ReadWithMessages(LineSource& lines, const std::string& fileName, Body body) {
    FormatReadResult result;
    try {
        body(result);
        if (lines.Failed()) {
            Fail(lines.LineNumber() + 1, lines.Error());
        }
        RequireSamples(result, lines.LineNumber());
    } catch (const FormatFault& fault) {
        result.records.clear();
        result.warnings.clear();
        result.faultLine = fault.line;
        result.fault = lines.Failed() ? lines.Error() : fault.text;
        result.message = FaultMessage(fileName, result.faultLine, result.fault);
    }
    return result;
}

// The next line, or a fault saying the file ends where `expected` should follow.
std::string_view RequireLine(LineSource& lines, std::string_view expected);

std::string Upper(std::string_view text);
bool ContainsNoCase(std::string_view text, std::string_view part);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
std::string_view Trim(std::string_view text);
// Collapses runs of blanks to one and trims: for labels taken from fixed-width headers.
std::string Squeeze(std::string_view text);

std::optional<double> ParseReal(std::string_view text);
std::optional<long long> ParseInteger(std::string_view text);
std::string FormatNumber(double value);  // general form, full stop, up to 15 digits

// Field `index` (from 0) of a line cut into fields of `width` characters; empty past the end.
std::string_view FixedField(std::string_view line, std::size_t index, std::size_t width);

// A Fortran edit descriptor such as (8f10.6), (10I8), (5E15.7), found anywhere in a text.
struct FortranLayout {
    std::size_t perLine = 0;
    std::size_t width = 0;
};
std::optional<FortranLayout> FindFortranLayout(std::string_view text);

// How the values of a data line are separated: by blanks and signs (E-format numbers may
// touch, as in "1.5E+0-2.2E+0"), or in fixed-width fields.
struct ValueLayout {
    std::size_t width = 0;    // 0: separated by blanks and signs
    std::size_t perLine = 0;  // fixed width only: fields per line
};

// Appends the numbers of one data line; faults at the first field that is not a number.
void ParseValues(std::string_view line, std::size_t lineNumber, const ValueLayout& layout,
                 std::vector<double>& values);

// Reads exactly `count` values that start on the next line. `what` names the block in the
// fault ("the header announces 5372 values; the file ends after 5000"). When `toEnd` is
// set, the values must end the file: more values are counted, the announced ones kept and a
// warning added to `result`; text after them is a fault. Otherwise the block ends at the next line
// that is not a data line (it is put back), and extra data lines are counted the same way.
std::vector<double> ReadValueBlock(LineSource& lines, std::size_t count, const ValueLayout& layout,
                                   bool toEnd, const std::string& fileName, std::string_view what,
                                   FormatReadResult& result);

// True when the line holds only numbers in the given layout (and at least one).
bool IsDataLine(std::string_view line, const ValueLayout& layout);

// The line of the first sign that a file's beginning is binary data (a NUL, or more than
// 1 % control characters); nothing for text, UTF-16 text with a byte-order mark included.
bool StartsWithUtf16Mark(std::string_view bytes);
// UTF-32's byte-order marks (the little-endian one begins with UTF-16's).
bool StartsWithUtf32Mark(std::string_view bytes);
std::optional<std::size_t> FindBinaryLine(std::string_view prefix);

// A time step (s) from the header: must be a finite number greater than zero.
double RequireTimeStep(std::optional<double> timeStep, std::size_t line, std::string_view source);
// The same from the header's text of it, so that a field that is there but is no number
// ("nan", "1.2.3") is named as such rather than as missing.
double RequireTimeStepText(std::string_view text, std::size_t line, std::string_view source);

// A point count from the header's text of it (`text` not empty): a whole number greater
// than zero that a count can hold. `what` leads the fault, e.g. "the point count NPTS=".
long long RequireCount(std::string_view text, std::size_t line, std::string_view what);

// Builds the record named `name`: each value divided by `unitsPerG` (1 for values in g,
// the g in cm/s^2 for values in cm/s^2).
FormatRecord MakeRecord(std::string name, double timeStep, const std::vector<double>& values,
                        double unitsPerG, std::string channel, std::string unitsFrom);

// Gives the records read from one file's channels their names (ChannelRecordNames); each
// record keeps its samples and time step.
void RenameChannels(std::string_view fileName, const std::vector<ChannelLabel>& labels,
                    FormatReadResult& result);

}  // namespace travik::format_detail
