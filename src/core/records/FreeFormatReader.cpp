#include "core/records/FreeFormatReader.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "core/records/RecordFile.h"
#include "core/records/RecordIntegration.h"
#include "core/text/NumberFormat.h"
#include "core/text/NumberParse.h"
#include "core/text/ShownText.h"

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

std::string CannotOpenText(const std::string& path, int error) {
    return "Cannot open file " + QuotedFullPath(path) + ". " + std::strerror(error);
}

std::string GrewTooLargeText(const std::string& path) {
    return "Cannot open file " + QuotedFullPath(path) +
           ". It grew beyond the size a record file may have while it was read.";
}

// Appends the rest of an open file to `bytes`. Returns false with the error text of the
// failed operation.
bool ReadRest(std::FILE* file, const std::string& path, std::string& bytes,
              std::string& errorText) {
    char buffer[65536];
    for (;;) {
        const std::size_t count = std::fread(buffer, 1, sizeof buffer, file);
        bytes.append(buffer, count);
        if (bytes.size() > kMaxRecordFileBytes) {
            errorText = GrewTooLargeText(path);  // grew while being read
            return false;
        }
        if (count < sizeof buffer) {
            if (std::ferror(file)) {
                // A folder opens on some systems and fails only when read.
                errorText = CannotOpenText(path, errno);
                return false;
            }
            return true;
        }
    }
}

}  // namespace

std::optional<std::string> FreeFormatParameters::Validate() const {
    if (!(timeStep > 0.0)) {
        return kTimeStepNotPositiveMessage;
    }
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

bool IsUtf16RecordText(std::string_view bytes) {
    return bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF") ||
           GuessUtf16WithoutMark(bytes) != Utf16Guess::No;
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

namespace {

// The field at `index` (from 0) of an already trimmed line, as SplitDelimitedLine would
// give it, or nothing when the line has fewer fields. Lines without quotes, which is every
// line of a numeric record, are split in place; `scratch` holds the field otherwise.
std::optional<std::string_view> FieldAt(std::string_view line, Delimiter delimiter,
                                        std::size_t index, std::string& scratch) {
    if (line.find('"') != std::string_view::npos) {
        std::vector<std::string> fields = SplitDelimitedLine(line, delimiter);
        if (index >= fields.size()) {
            return std::nullopt;
        }
        scratch = std::move(fields[index]);
        return std::string_view(scratch);
    }
    std::size_t pos = 0;
    if (delimiter == Delimiter::Space) {
        // Fields are the runs of characters other than blanks.
        for (std::size_t k = 0;; ++k) {
            while (pos < line.size() && IsFieldBlank(line[pos])) {
                ++pos;
            }
            if (pos >= line.size()) {
                return std::nullopt;
            }
            const std::size_t start = pos;
            while (pos < line.size() && !IsFieldBlank(line[pos])) {
                ++pos;
            }
            if (k == index) {
                return line.substr(start, pos - start);
            }
        }
    }
    // Every comma separates two fields, empty ones included; an empty line has none.
    if (line.empty()) {
        return std::nullopt;
    }
    for (std::size_t k = 0;; ++k) {
        const std::size_t comma = line.find(',', pos);
        if (k == index) {
            return line.substr(pos, comma == std::string_view::npos ? comma : comma - pos);
        }
        if (comma == std::string_view::npos) {
            return std::nullopt;
        }
        pos = comma + 1;
    }
}

// Reads a record line by line, as the lines arrive. Blank lines after the data (editors
// and exporting programs often leave some) end the record rather than fail it; a blank
// line between data lines fails once the next data line shows it was not at the end.
class RecordLineParser {
  public:
    RecordLineParser(const std::string& fileName, const FreeFormatParameters& parameters)
        : fileName_(fileName),
          parameters_(parameters),
          record_(std::make_unique<TimeHistory>(fileName, parameters.timeStep)),
          firstDataLine_(
              parameters.linesToSkip > 0 ? static_cast<std::size_t>(parameters.linesToSkip) : 0) {}

    // Takes the next line; false once a line failed (the message is kept for Finish).
    bool Line(std::string_view line) {
        const std::size_t k = lineIndex_++;
        if (k < firstDataLine_) {
            return true;
        }
        const std::string_view trimmed = TrimControlAndBlanks(line);
        if (trimmed.empty()) {
            if (!firstPendingBlank_) {
                firstPendingBlank_ = k;
            }
            return true;
        }
        if (firstPendingBlank_) {
            // A blank line holds no field at all.
            message_ = OutOfBoundsMessage(*firstPendingBlank_);
            return false;
        }
        const int fieldIndex = parameters_.accelerationColumn - 1;
        const std::optional<std::string_view> field =
            fieldIndex < 0 ? std::nullopt
                           : FieldAt(trimmed, parameters_.delimiter,
                                     static_cast<std::size_t>(fieldIndex), scratch_);
        if (!field) {
            message_ = OutOfBoundsMessage(k);
            return false;
        }
        try {
            const double value = ParseNumberOrThrow(*field, parameters_.decimalSeparator);
            const double scaled = value * parameters_.scalingFactor;
            if (!std::isfinite(scaled)) {
                message_ = LineMessage(
                    fileName_, k + 1,
                    std::string(1, '\'').append(ShownTextCut(TrimControlAndBlanks(*field))) +
                        "' times the scaling factor " + FormatGeneral(parameters_.scalingFactor) +
                        " is too large for a number");
                return false;
            }
            record_->AppendAcceleration(scaled);
        } catch (const ConversionError& error) {
            message_ = LineMessage(fileName_, k + 1, error.what());
            return false;
        }
        return true;
    }

    ReadResult Finish() {
        ReadResult result;
        if (!message_.empty()) {
            result.message = std::move(message_);
        } else if (record_->SampleCount() == 0) {
            result.message = NoDataMessage(fileName_);
        } else {
            result.record = std::move(record_);
        }
        return result;
    }

  private:
    std::string OutOfBoundsMessage(std::size_t k) const {
        return LineMessage(fileName_, k + 1,
                           "List index out of bounds (" +
                               std::to_string(parameters_.accelerationColumn - 1) + ")");
    }

    const std::string& fileName_;
    const FreeFormatParameters& parameters_;
    std::unique_ptr<TimeHistory> record_;
    std::size_t firstDataLine_;
    std::size_t lineIndex_ = 0;
    std::optional<std::size_t> firstPendingBlank_;
    std::string scratch_;
    std::string message_;
};

// Cuts the bytes into lines at CR LF, LF and lone CR as SplitTextLines does, whatever
// the pieces they arrive in: a line cut by a piece's end waits in `carry_`, and an LF
// opening a piece after one that ended in CR closes no further line.
class LineAssembler {
  public:
    // Feeds each complete line to `line`.
    template <class LineFunction>
    void Feed(std::string_view bytes, LineFunction&& line) {
        std::size_t pos = 0;
        if (afterCarriageReturn_ && !bytes.empty() && bytes.front() == '\n') {
            pos = 1;
        }
        if (!bytes.empty()) {
            afterCarriageReturn_ = false;
        }
        std::size_t start = pos;
        while (pos < bytes.size()) {
            const char c = bytes[pos];
            if (c != '\r' && c != '\n') {
                ++pos;
                continue;
            }
            std::string_view complete = bytes.substr(start, pos - start);
            if (!carry_.empty()) {
                carry_.append(complete);
                complete = carry_;
            }
            line(complete);
            ++lines_;
            carry_.clear();
            if (c == '\r' && pos + 1 == bytes.size()) {
                afterCarriageReturn_ = true;
            }
            pos += (c == '\r' && pos + 1 < bytes.size() && bytes[pos + 1] == '\n') ? 2 : 1;
            start = pos;
        }
        carry_.append(bytes.substr(start));
    }

    // The last line, when the bytes did not end with a line break.
    template <class LineFunction>
    void Finish(LineFunction&& line) {
        if (!carry_.empty()) {
            line(std::string_view(carry_));
        }
    }

    // Line breaks seen so far.
    std::size_t Lines() const { return lines_; }

  private:
    std::string carry_;
    bool afterCarriageReturn_ = false;
    std::size_t lines_ = 0;
};

// Reads and parses the file a piece at a time, so that a long record never exists as
// text in memory: only its samples are kept. The rules are those of ReadFreeFormatText on
// the decoded text, and so is the order of the messages: a failed read first, then a NUL
// with data after it, then the first bad line. UTF-16 files (a mark, or NULs among the
// first bytes that may be its pattern), rare and small, are read and decoded whole.
ReadResult ReadFileAsItGoes(const std::string& path, const std::string& fileName,
                            const FreeFormatParameters& parameters) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        ReadResult failure;
        failure.message = LoadMessage(fileName, CannotOpenText(path, errno));
        return failure;
    }
    const auto closeFile = [](std::FILE* f) { std::fclose(f); };
    const std::unique_ptr<std::FILE, decltype(closeFile)> closer(file, closeFile);
    const auto readFailure = [&fileName](const std::string& errorText) {
        ReadResult failure;
        failure.message = LoadMessage(fileName, errorText);
        return failure;
    };

    RecordLineParser parser(fileName, parameters);
    LineAssembler lines;
    bool parsing = true;
    const auto takeLine = [&parser, &parsing](std::string_view line) {
        if (parsing) {
            parsing = parser.Line(line);
        }
    };
    // Set at the first NUL: its line; the text ends there unless data follows it.
    std::optional<std::size_t> nulLine;
    bool dataAfterNul = false;
    std::vector<char> buffer(std::size_t{1} << 16);
    std::uintmax_t total = 0;
    bool first = true;
    for (bool going = true; going;) {
        const std::size_t count = std::fread(buffer.data(), 1, buffer.size(), file);
        if (count < buffer.size() && std::ferror(file)) {
            // A folder opens on some systems and fails only when read.
            return readFailure(CannotOpenText(path, errno));
        }
        total += count;
        if (total > kMaxRecordFileBytes) {
            return readFailure(GrewTooLargeText(path));
        }
        going = count == buffer.size();
        std::string_view bytes(buffer.data(), count);
        if (first) {
            first = false;
            constexpr std::size_t kUtf16Examined = 4096;
            if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF") ||
                bytes.substr(0, kUtf16Examined).find('\0') != std::string_view::npos) {
                std::string whole(bytes);
                std::string errorText;
                if (going && !ReadRest(file, path, whole, errorText)) {
                    return readFailure(errorText);
                }
                return ReadFreeFormatText(DecodeRecordText(whole), fileName, parameters);
            }
            if (bytes.starts_with("\xEF\xBB\xBF")) {
                bytes.remove_prefix(3);
            }
        }
        if (nulLine) {
            dataAfterNul = dataAfterNul || bytes.find_first_not_of('\0') != std::string_view::npos;
            continue;
        }
        const std::size_t nul = bytes.find('\0');
        if (nul == std::string_view::npos) {
            lines.Feed(bytes, takeLine);
            continue;
        }
        // NULs that pad the end of a file carry nothing; data after a NUL means a binary or
        // damaged file.
        lines.Feed(bytes.substr(0, nul), takeLine);
        nulLine = lines.Lines() + 1;
        dataAfterNul = bytes.find_first_not_of('\0', nul) != std::string_view::npos;
    }
    if (dataAfterNul) {
        ReadResult failure;
        failure.message = LineMessage(fileName, *nulLine,
                                      "The line holds a NUL character; the file is not a text "
                                      "record or is damaged");
        return failure;
    }
    lines.Finish(takeLine);
    return parser.Finish();
}

}  // namespace

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
    RecordLineParser parser(fileName, parameters);
    for (const std::string_view line : SplitTextLines(text)) {
        if (!parser.Line(line)) {
            break;
        }
    }
    return parser.Finish();
}

ReadResult ReadFreeFormatFile(const std::string& path, const FreeFormatParameters& parameters) {
    const std::string fileName = FileNameOf(path);
    try {
        if (std::optional<std::string> refusal = CheckRecordFileEntry(path)) {
            ReadResult failure;
            failure.message = LoadMessage(fileName, *refusal);
            return failure;
        }
        return ReadFileAsItGoes(path, fileName, parameters);
    } catch (const std::bad_alloc&) {
        ReadResult failure;
        failure.message =
            LoadMessage(fileName, "Not enough memory to read file " + QuotedFullPath(path));
        return failure;
    }
}

}  // namespace travik
