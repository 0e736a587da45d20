#include "core/records/FormatParsing.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>

#include "core/text/NumberFormat.h"
#include "core/text/NumberParse.h"

namespace travik::format_detail {
namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

char UpperChar(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsExponentLetter(char c) {
    return c == 'E' || c == 'e' || c == 'D' || c == 'd';
}

// Splits the values of one line; returns the first field that is not a number, if any.
std::optional<std::string> SplitValues(std::string_view line, const ValueLayout& layout,
                                       std::vector<double>& values) {
    const auto take = [&values](std::string_view field) -> bool {
        const std::optional<double> value = ParseReal(field);
        if (!value) {
            return false;
        }
        values.push_back(*value);
        return true;
    };
    if (layout.width == 0) {
        std::size_t pos = 0;
        while (pos < line.size()) {
            while (pos < line.size() && IsBlank(line[pos])) {
                ++pos;
            }
            if (pos == line.size()) {
                break;
            }
            const std::size_t start = pos++;
            while (pos < line.size() && !IsBlank(line[pos]) &&
                   !((line[pos] == '-' || line[pos] == '+') && !IsExponentLetter(line[pos - 1]))) {
                ++pos;
            }
            const std::string_view field = line.substr(start, pos - start);
            if (!take(field)) {
                return std::string(field);
            }
        }
        return std::nullopt;
    }
    for (std::size_t i = 0; i * layout.width < line.size(); ++i) {
        const std::string_view field = Trim(FixedField(line, i, layout.width));
        if (field.empty()) {
            if (Trim(line.substr(i * layout.width)).empty()) {
                break;
            }
            return std::string("(an empty field)");
        }
        if (i >= layout.perLine) {
            return std::string(field);
        }
        if (!take(field)) {
            return std::string(field);
        }
    }
    return std::nullopt;
}

}  // namespace

bool StartsWithUtf16Mark(std::string_view bytes) {
    return bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
}

bool StartsWithUtf32Mark(std::string_view bytes) {
    using namespace std::string_view_literals;
    return bytes.starts_with("\xFF\xFE\0\0"sv) || bytes.starts_with("\0\0\xFE\xFF"sv);
}

// Text files hold no NUL and few control characters; a UTF-16 file (which has NULs) is
// recognised by its byte-order mark.
std::optional<std::size_t> FindBinaryLine(std::string_view prefix) {
    if (StartsWithUtf16Mark(prefix)) {
        return std::nullopt;
    }
    std::size_t controls = 0;
    std::size_t line = 1;
    for (const char c : prefix) {
        const auto code = static_cast<unsigned char>(c);
        if (code == 0) {
            return line;
        }
        if (c == '\n') {
            ++line;
        } else if (code < 32 && c != '\t' && c != '\r' && c != '\f' && c != '\v') {
            ++controls;
        }
    }
    // A stray escape or two in a short text file is a bad character, said so by the
    // reader on its line, not binary data.
    constexpr std::size_t kFewControls = 3;
    if (controls > kFewControls && controls * 100 > prefix.size()) {
        return std::size_t{1};
    }
    return std::nullopt;
}

void Fail(std::size_t line, std::string text) {
    throw FormatFault{line, std::move(text)};
}

std::string FaultMessage(const std::string& fileName, std::size_t line, const std::string& text) {
    return "FILE: " + fileName + ". ERROR Line: " + std::to_string(line) + ". ERROR: " + text;
}

std::string WarningMessage(const std::string& fileName, std::size_t line, const std::string& text) {
    return "FILE: " + fileName + ". Line: " + std::to_string(line) + ". WARNING: " + text;
}

std::string_view RequireLine(LineSource& lines, std::string_view expected) {
    std::string_view line;
    if (!lines.Next(line)) {
        Fail(lines.LineNumber() + 1,
             "the file ends where " + std::string(expected) + " should follow");
    }
    return line;
}

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        c = UpperChar(c);
    }
    return upper;
}

bool ContainsNoCase(std::string_view text, std::string_view part) {
    return Upper(text).find(Upper(part)) != std::string::npos;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && Upper(text.substr(0, prefix.size())) == Upper(prefix);
}

std::string_view Trim(std::string_view text) {
    return TrimControlAndBlanks(text);
}

std::string Squeeze(std::string_view text) {
    std::string out;
    bool blank = false;
    for (const char c : Trim(text)) {
        if (IsBlank(c)) {
            blank = true;
            continue;
        }
        if (blank && !out.empty()) {
            out.push_back(' ');
        }
        blank = false;
        out.push_back(c);
    }
    return out;
}

std::optional<double> ParseReal(std::string_view text) {
    const std::string_view trimmed = Trim(text);
    // Most values are plain decimal or E-format numbers: convert those directly. Anything
    // else (a plus sign, a D exponent, a value out of range, a stray letter) takes the
    // strict route below, which decides and words the refusal.
    if (!trimmed.empty() && trimmed.find_first_not_of("0123456789.-eE") == std::string_view::npos) {
        double value = 0.0;
        const auto [end, error] =
            std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
        if (error == std::errc() && end == trimmed.data() + trimmed.size()) {
            return value;
        }
    }
    // Fortran writes double-precision exponents with D.
    const std::size_t d = trimmed.find_first_of("Dd");
    if (d != std::string_view::npos) {
        std::string copy(trimmed);
        copy[d] = 'E';
        return TryParseNumber(copy, '.');
    }
    return TryParseNumber(trimmed, '.');
}

std::optional<long long> ParseInteger(std::string_view text) {
    std::string_view trimmed = Trim(text);
    if (!trimmed.empty() && trimmed.front() == '+') {
        trimmed.remove_prefix(1);
    }
    long long value = 0;
    const auto [end, error] =
        std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
    if (trimmed.empty() || error != std::errc() || end != trimmed.data() + trimmed.size()) {
        return std::nullopt;
    }
    return value;
}

std::string FormatNumber(double value) {
    return FormatGeneral(value);
}

std::string_view FixedField(std::string_view line, std::size_t index, std::size_t width) {
    const std::size_t start = index * width;
    if (start >= line.size()) {
        return {};
    }
    return line.substr(start, width);
}

std::optional<FortranLayout> FindFortranLayout(std::string_view text) {
    for (std::size_t open = text.find('('); open != std::string_view::npos;
         open = text.find('(', open + 1)) {
        std::size_t pos = open + 1;
        const auto readCount = [&]() -> std::size_t {
            std::size_t n = 0;
            while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && n < 100000) {
                n = n * 10 + static_cast<std::size_t>(text[pos++] - '0');
            }
            return n;
        };
        const std::size_t perLine = readCount();
        if (perLine == 0 || pos >= text.size()) {
            continue;
        }
        const char kind = UpperChar(text[pos++]);
        if (kind != 'F' && kind != 'E' && kind != 'I' && kind != 'G' && kind != 'D') {
            continue;
        }
        const std::size_t width = readCount();
        if (width == 0 || width > 64) {
            continue;
        }
        return FortranLayout{perLine, width};
    }
    return std::nullopt;
}

void ParseValues(std::string_view line, std::size_t lineNumber, const ValueLayout& layout,
                 std::vector<double>& values) {
    if (const std::optional<std::string> bad = SplitValues(line, layout, values)) {
        Fail(lineNumber, "'" + *bad + "' is not a valid floating point value");
    }
}

bool IsDataLine(std::string_view line, const ValueLayout& layout) {
    std::vector<double> values;
    return !SplitValues(line, layout, values) && !values.empty();
}

std::vector<double> ReadValueBlock(LineSource& lines, std::size_t count, const ValueLayout& layout,
                                   bool toEnd, const std::string& fileName, std::string_view what,
                                   FormatReadResult& result) {
    if (result.firstDataLine == 0) {
        result.firstDataLine = lines.LineNumber() + 1;
    }
    if (count == 0) {
        Fail(lines.LineNumber(),
             std::string(what) + " announces no values: a record needs at least one sample");
    }
    // The count is the header's word, not the file's size: a damaged header may announce
    // billions. Room is made for the values as they arrive beyond a modest first block.
    constexpr std::size_t kTrustedCount = std::size_t{1} << 20;
    std::vector<double> values;
    values.reserve(std::min(count, kTrustedCount));
    const std::string announced =
        std::string(what) + " announces " + std::to_string(count) + " values";
    std::string_view line;
    std::vector<double> lineValues;
    std::size_t extra = 0;
    std::size_t extraLine = 0;
    while (values.size() < count) {
        if (!lines.Next(line)) {
            Fail(lines.LineNumber() + (lines.Failed() ? 1 : 0),
                 lines.Failed()
                     ? lines.Error()
                     : announced + "; the file ends after " + std::to_string(values.size()));
        }
        lineValues.clear();
        const std::optional<std::string> bad = SplitValues(line, layout, lineValues);
        if (bad || lineValues.empty()) {
            std::string text =
                announced + "; " + std::to_string(values.size()) + " found before this line";
            if (toEnd && bad) {
                text = "'" + *bad + "' is not a valid floating point value (" + text + ")";
            }
            Fail(lines.LineNumber(), text);
        }
        const std::size_t room = count - values.size();
        if (lineValues.size() > room) {
            extra += lineValues.size() - room;
            extraLine = lines.LineNumber();
            lineValues.resize(room);
        }
        values.insert(values.end(), lineValues.begin(), lineValues.end());
    }
    while (lines.Next(line)) {
        if (Trim(line).empty()) {
            if (!toEnd) {
                lines.PutBack();
                break;
            }
            continue;
        }
        lineValues.clear();
        if (SplitValues(line, layout, lineValues) || lineValues.empty()) {
            if (toEnd) {
                Fail(lines.LineNumber(),
                     "text after the " + std::to_string(count) + " values the header announces");
            }
            lines.PutBack();
            break;
        }
        if (extra == 0) {
            extraLine = lines.LineNumber();
        }
        extra += lineValues.size();
    }
    if (extra > 0) {
        result.warnings.push_back(
            WarningMessage(fileName, extraLine,
                           announced + " but holds " + std::to_string(count + extra) +
                               "; the first " + std::to_string(count) + " are read"));
    }
    return values;
}

void RequireSamples(const FormatReadResult& result, std::size_t line) {
    for (const FormatRecord& read : result.records) {
        if (!read.record || read.record->SampleCount() == 0) {
            Fail(line, "the file holds a record without samples");
        }
    }
}

double RequireTimeStep(std::optional<double> timeStep, std::size_t line, std::string_view source) {
    if (!timeStep) {
        Fail(line, "no time step in " + std::string(source));
    }
    if (!std::isfinite(*timeStep)) {
        Fail(line, "the time step in " + std::string(source) +
                       " is not a finite number of seconds (it overflows)");
    }
    if (!(*timeStep > 0.0)) {
        Fail(line, "the time step " + FormatNumber(*timeStep) + " s in " + std::string(source) +
                       " is not greater than zero");
    }
    return *timeStep;
}

double RequireTimeStepText(std::string_view text, std::size_t line, std::string_view source) {
    const std::string_view trimmed = Trim(text);
    if (trimmed.empty()) {
        return RequireTimeStep(std::nullopt, line, source);
    }
    const std::optional<double> timeStep = ParseReal(trimmed);
    if (!timeStep) {
        Fail(line, "the time step \"" + std::string(trimmed) + "\" in " + std::string(source) +
                       " is not a number");
    }
    return RequireTimeStep(timeStep, line, source);
}

long long RequireCount(std::string_view text, std::size_t line, std::string_view what) {
    const std::string_view trimmed = Trim(text);
    const std::optional<long long> count = ParseInteger(trimmed);
    if (!count) {
        const std::string_view digits = trimmed.starts_with('+') ? trimmed.substr(1) : trimmed;
        const bool wholeNumber =
            !digits.empty() && digits.find_first_not_of("0123456789") == std::string_view::npos;
        Fail(line,
             std::string(what) + std::string(trimmed) +
                 (wholeNumber ? " is more than a record can hold" : " is not a whole number"));
    }
    if (*count <= 0) {
        Fail(line, std::string(what) + std::to_string(*count) + " is not greater than zero");
    }
    return *count;
}

FormatRecord MakeRecord(std::string name, double timeStep, const std::vector<double>& values,
                        double unitsPerG, std::string channel, std::string unitsFrom) {
    FormatRecord made;
    made.record = std::make_unique<TimeHistory>(std::move(name), timeStep);
    for (const double value : values) {
        made.record->AppendAcceleration(unitsPerG == 1.0 ? value : value / unitsPerG);
    }
    made.channel = std::move(channel);
    made.unitsFrom = std::move(unitsFrom);
    return made;
}

void RenameChannels(std::string_view fileName, const std::vector<ChannelLabel>& labels,
                    FormatReadResult& result) {
    if (labels.size() != result.records.size()) {
        return;
    }
    const std::vector<std::string> names = ChannelRecordNames(fileName, labels);
    for (std::size_t i = 0; i < names.size(); ++i) {
        FormatRecord& read = result.records[i];
        if (read.record->SourceFileName() == names[i]) {
            continue;
        }
        auto renamed = std::make_unique<TimeHistory>(names[i], read.record->TimeStep());
        for (const double value : read.record->RawAcceleration()) {
            renamed->AppendAcceleration(value);
        }
        read.record = std::move(renamed);
    }
}

}  // namespace travik::format_detail
