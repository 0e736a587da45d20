#include "records/FreeFormatReader.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <optional>
#include <utility>

#include "records/RecordFile.h"
#include "text/NumberFormat.h"
#include "text/NumberParse.h"
#include "text/ShownText.h"

namespace travik {
namespace {

bool IsFieldBlank(char c) {
    const auto code = static_cast<unsigned char>(c);
    return code >= 1 && code <= 32;
}

bool IsSeparator(char c, Delimiter delimiter) {
    return delimiter == Delimiter::Comma ? c == ',' : IsFieldBlank(c);
}

// A field that opens with a double quote runs to the next lone double quote; a doubled
// quote inside stands for one quote character. Returns the position after the closing
// quote (or the end of the line when the quote is never closed).
std::size_t ReadQuotedField(std::string_view line, std::size_t pos, std::string& field) {
    ++pos;  // the opening quote
    while (pos < line.size()) {
        if (line[pos] == '"') {
            if (pos + 1 < line.size() && line[pos + 1] == '"') {
                field.push_back('"');
                pos += 2;
                continue;
            }
            return pos + 1;
        }
        field.push_back(line[pos++]);
    }
    return pos;
}

void AppendUtf8(std::uint32_t codePoint, std::string& out) {
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

// UTF-16 code units to UTF-8 (a NUL unit becomes a NUL byte). An unpaired surrogate or a
// dangling odd byte becomes U+FFFD, so a damaged file still shows where it went wrong.
std::string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    constexpr std::uint32_t kReplacement = 0xFFFD;
    const auto unitAt = [&](std::size_t i) -> std::uint32_t {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (std::uint32_t{first} << 8 | second)
                         : (std::uint32_t{second} << 8 | first);
    };
    std::string out;
    out.reserve(bytes.size() / 2);
    std::size_t i = 0;
    while (i + 1 < bytes.size()) {
        const std::uint32_t unit = unitAt(i);
        i += 2;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < bytes.size()) {
            const std::uint32_t low = unitAt(i);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                i += 2;
                AppendUtf8(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00), out);
                continue;
            }
        }
        AppendUtf8(unit >= 0xD800 && unit <= 0xDFFF ? kReplacement : unit, out);
    }
    if (i < bytes.size()) {
        AppendUtf8(kReplacement, out);
    }
    return out;
}

std::string FileNameOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

// File names are shown as ShownText shows them: a name is whatever bytes the file system
// holds, and raw control bytes must not reach a terminal or a message box.
std::string LoadMessage(const std::string& fileName, const std::string& errorText) {
    return "FILE : " + ShownText(fileName) + " , ERROR: " + errorText;
}

std::string LineMessage(const std::string& fileName, std::size_t lineNumber,
                        const std::string& errorText) {
    return "FILE: " + ShownText(fileName) + ". ERROR Line: " + std::to_string(lineNumber) +
           ". ERROR: " + errorText;
}

std::string NoDataMessage(const std::string& fileName) {
    return "FILE: " + ShownText(fileName) +
           ", WARNING: Skipline is too large, there is no data to read!";
}

std::string QuotedFullPath(const std::string& path) {
    return QuotedRecordFilePath(path);
}

// UTF-16 written without a byte-order mark, as some loggers do: every character of the
// first kilobytes is ASCII, with its zero high byte after it (little-endian) or before it
// (big-endian). Plain text never holds NULs at every other byte, so the pattern is safe to
// trust. Zero pairs at the end (padding) are not part of the pattern.
enum class Utf16Guess { No, LittleEndian, BigEndian };

Utf16Guess GuessUtf16WithoutMark(std::string_view bytes) {
    constexpr std::size_t kBytesExamined = 4096;
    const std::size_t end = std::min(bytes.size(), kBytesExamined) & ~std::size_t{1};
    bool little = true;
    bool big = true;
    std::size_t pairs = 0;
    for (std::size_t i = 0; i < end && (little || big); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        if (first == 0 && second == 0) {
            if (bytes.find_first_not_of('\0', i) == std::string_view::npos) {
                break;
            }
            return Utf16Guess::No;
        }
        little = little && second == 0 && first < 0x80;
        big = big && first == 0 && second < 0x80;
        ++pairs;
    }
    if (pairs == 0) {
        return Utf16Guess::No;
    }
    return little ? Utf16Guess::LittleEndian : big ? Utf16Guess::BigEndian : Utf16Guess::No;
}

// Line number (from 1) of the character at `offset`, with the line breaks of SplitTextLines.
std::size_t LineNumberAt(std::string_view text, std::size_t offset) {
    std::size_t line = 1;
    for (std::size_t pos = 0; pos < offset; ++pos) {
        if (text[pos] == '\n' ||
            (text[pos] == '\r' && (pos + 1 >= text.size() || text[pos + 1] != '\n'))) {
            ++line;
        }
    }
    return line;
}

// Reads the whole file. Returns false with the error text of the failed operation.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& errorText) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        const int error = errno;
        errorText = "Cannot open file " + QuotedFullPath(path) + ". " + std::strerror(error);
        return false;
    }
    char buffer[65536];
    bool failed = false;
    bool tooLarge = false;
    int error = 0;
    for (;;) {
        const std::size_t count = std::fread(buffer, 1, sizeof buffer, file);
        bytes.append(buffer, count);
        if (bytes.size() > kMaxRecordFileBytes) {
            tooLarge = true;  // grew while being read
            break;
        }
        if (count < sizeof buffer) {
            if (std::ferror(file)) {
                error = errno;
                failed = true;
            }
            break;
        }
    }
    std::fclose(file);
    if (tooLarge) {
        errorText = "Cannot open file " + QuotedFullPath(path) +
                    ". It grew beyond the size a record file may have while it was read.";
        return false;
    }
    if (failed) {
        // A folder opens on some systems and fails only when read.
        errorText = "Cannot open file " + QuotedFullPath(path) + ". " + std::strerror(error);
        return false;
    }
    return true;
}

// Samples that are numbers can still integrate to motion that is not (a huge time step or
// g): such a record would fill every report with "inf" and every spectrum with nonsense.
bool MotionIsFinite(const TimeHistory& record) {
    const auto finite = [](const DOUBLEVECTOR& series) {
        return std::all_of(series.begin(), series.end(), [](double x) { return std::isfinite(x); });
    };
    const double lastTime = static_cast<double>(record.SampleCount() - 1) * record.TimeStep();
    return std::isfinite(lastTime) && finite(record.RawVelocity()) &&
           finite(record.RawDisplacement());
}

std::string NotFiniteMotionMessage(const TimeHistory& record, double gravity) {
    return "FILE: " + ShownText(record.SourceFileName()) +
           ", ERROR: The times, velocities or displacements of this record are too large for "
           "numbers (time step " +
           FormatGeneral(record.TimeStep()) + " s, g " + FormatGeneral(gravity) +
           " cm/sec^2): check the time step, the scaling factor and g";
}

}  // namespace

std::optional<std::string> FreeFormatParameters::Validate() const {
    if (!(timeStep > 0.0)) {
        return kTimeStepNotPositiveMessage;
    }
    return std::nullopt;
}

std::optional<std::string> IntegrateImportedRecord(TimeHistory& record, double gravity) {
    try {
        IntegrateMotion(record, gravity, MotionSet::Raw);
    } catch (const std::bad_alloc&) {
        return "FILE: " + ShownText(record.SourceFileName()) +
               ", ERROR: Not enough memory to integrate the record";
    }
    if (!MotionIsFinite(record)) {
        return NotFiniteMotionMessage(record, gravity);
    }
    record.SetIntegrated(true);
    return std::nullopt;
}

std::vector<std::string> SplitDelimitedLine(std::string_view line, Delimiter delimiter) {
    std::vector<std::string> fields;
    std::size_t pos = 0;
    if (delimiter == Delimiter::Space) {
        while (pos < line.size() && IsFieldBlank(line[pos])) {
            ++pos;
        }
    }
    if (pos >= line.size()) {
        return fields;
    }
    for (;;) {
        std::string field;
        if (line[pos] == '"') {
            pos = ReadQuotedField(line, pos, field);
        } else {
            while (pos < line.size() && !IsSeparator(line[pos], delimiter)) {
                field.push_back(line[pos++]);
            }
        }
        fields.push_back(std::move(field));
        if (pos >= line.size()) {
            return fields;
        }
        if (!IsSeparator(line[pos], delimiter)) {
            continue;  // text right after a closing quote starts a new field
        }
        if (delimiter == Delimiter::Comma) {
            ++pos;
            if (pos == line.size()) {
                fields.emplace_back();  // a comma at the end closes one more, empty field
                return fields;
            }
        } else {
            while (pos < line.size() && IsFieldBlank(line[pos])) {
                ++pos;
            }
            if (pos == line.size()) {
                return fields;
            }
        }
    }
}

std::string DecodeRecordText(std::string_view bytes) {
    std::string text;
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        text = bytes.substr(3);
    } else if (bytes.starts_with("\xFF\xFE")) {
        text = DecodeUtf16(bytes.substr(2), false);
    } else if (bytes.starts_with("\xFE\xFF")) {
        text = DecodeUtf16(bytes.substr(2), true);
    } else {
        switch (GuessUtf16WithoutMark(bytes)) {
            case Utf16Guess::LittleEndian:
                text = DecodeUtf16(bytes, false);
                break;
            case Utf16Guess::BigEndian:
                text = DecodeUtf16(bytes, true);
                break;
            case Utf16Guess::No:
                text = bytes;
                break;
        }
    }
    // NULs that pad the end of a file (left by some loggers and copy tools) carry nothing.
    const std::size_t lastData = text.find_last_not_of('\0');
    text.resize(lastData == std::string::npos ? 0 : lastData + 1);
    return text;
}

std::vector<std::string_view> SplitTextLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c != '\r' && c != '\n') {
            ++pos;
            continue;
        }
        lines.push_back(text.substr(start, pos - start));
        pos += (c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ? 2 : 1;
        start = pos;
    }
    if (start < text.size()) {
        lines.push_back(text.substr(start));
    }
    return lines;
}

ReadResult ReadFreeFormatText(std::string_view text, const std::string& fileName,
                              const FreeFormatParameters& parameters) {
    ReadResult result;
    // A NUL with data after it means a binary or damaged file: stop rather than guess
    // which part of it is the record.
    if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos) {
        result.message = LineMessage(fileName, LineNumberAt(text, nul),
                                     "The line holds a NUL character; the file is not a text "
                                     "record or is damaged");
        return result;
    }
    const std::vector<std::string_view> lines = SplitTextLines(text);
    auto record = std::make_unique<TimeHistory>(fileName, parameters.timeStep);
    const std::size_t firstDataLine =
        parameters.linesToSkip > 0 ? static_cast<std::size_t>(parameters.linesToSkip) : 0;
    const int fieldIndex = parameters.accelerationColumn - 1;
    // Editors and exporting programs often leave blank lines after the data; they end the
    // record rather than fail it. A blank line between data lines still fails below.
    std::size_t endOfData = lines.size();
    while (endOfData > firstDataLine && TrimControlAndBlanks(lines[endOfData - 1]).empty()) {
        --endOfData;
    }

    for (std::size_t k = firstDataLine; k < endOfData; ++k) {
        const std::vector<std::string> fields =
            SplitDelimitedLine(TrimControlAndBlanks(lines[k]), parameters.delimiter);
        if (fieldIndex < 0 || static_cast<std::size_t>(fieldIndex) >= fields.size()) {
            result.message = LineMessage(
                fileName, k + 1, "List index out of bounds (" + std::to_string(fieldIndex) + ")");
            return result;
        }
        const std::string& field = fields[static_cast<std::size_t>(fieldIndex)];
        try {
            const double value = ParseNumberOrThrow(field, parameters.decimalSeparator);
            const double scaled = value * parameters.scalingFactor;
            if (!std::isfinite(scaled)) {
                result.message = LineMessage(
                    fileName, k + 1,
                    std::string(1, '\'').append(ShownTextCut(TrimControlAndBlanks(field))) +
                        "' times the scaling factor " + FormatGeneral(parameters.scalingFactor) +
                        " is too large for a number");
                return result;
            }
            record->AppendAcceleration(scaled);
        } catch (const ConversionError& error) {
            result.message = LineMessage(fileName, k + 1, error.what());
            return result;
        }
    }
    if (record->SampleCount() == 0) {
        result.message = NoDataMessage(fileName);
        return result;
    }
    result.record = std::move(record);
    return result;
}

ReadResult ReadFreeFormatFile(const std::string& path, const FreeFormatParameters& parameters) {
    const std::string fileName = FileNameOf(path);
    try {
        if (std::optional<std::string> refusal = CheckRecordFileEntry(path)) {
            ReadResult failure;
            failure.message = LoadMessage(fileName, *refusal);
            return failure;
        }
        std::string bytes;
        std::string errorText;
        if (!ReadWholeFile(path, bytes, errorText)) {
            ReadResult failure;
            failure.message = LoadMessage(fileName, errorText);
            return failure;
        }
        const std::string text = DecodeRecordText(bytes);
        bytes = std::string();  // a large record need not be held twice
        return ReadFreeFormatText(text, fileName, parameters);
    } catch (const std::bad_alloc&) {
        ReadResult failure;
        failure.message =
            LoadMessage(fileName, "Not enough memory to read file " + QuotedFullPath(path));
        return failure;
    }
}

bool ImportRecordFiles(const std::vector<std::string>& paths,
                       const FreeFormatParameters& parameters, double gravity, RecordList& records,
                       const std::function<void(const std::string&)>& showWarning) {
    for (const std::string& path : paths) {
        ReadResult result = ReadFreeFormatFile(path, parameters);
        if (!result.ok()) {
            if (showWarning) {
                showWarning(result.message);
            }
            return false;
        }
        if (std::optional<std::string> failure = IntegrateImportedRecord(*result.record, gravity)) {
            if (showWarning) {
                showWarning(*failure);
            }
            return false;
        }
        records.Append(std::move(result.record));
    }
    return true;
}

}  // namespace travik
