#include "records/FreeFormatReader.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <optional>
#include <utility>

#include "text/NumberParse.h"

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

// UTF-16 code units to UTF-8, up to the first NUL. An unpaired surrogate or a dangling odd
// byte becomes U+FFFD, so a damaged file still shows where it went wrong.
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
        if (unit == 0) {
            return out;
        }
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

std::string LoadMessage(const std::string& fileName, const std::string& errorText) {
    return "FILE : " + fileName + " , ERROR: " + errorText;
}

std::string LineMessage(const std::string& fileName, std::size_t lineNumber,
                        const std::string& errorText) {
    return "FILE: " + fileName + ". ERROR Line: " + std::to_string(lineNumber) +
           ". ERROR: " + errorText;
}

std::string NoDataMessage(const std::string& fileName) {
    return "FILE: " + fileName + ", WARNING: Skipline is too large, there is no data to read!";
}

std::string QuotedFullPath(const std::string& path) {
    std::error_code ignored;
    const std::filesystem::path full = std::filesystem::absolute(path, ignored);
    return "\"" + (full.empty() ? path : full.string()) + "\"";
}

// Appends the rest of an open file to `bytes`. Returns false with the error text of the
// failed operation.
bool ReadRest(std::FILE* file, const std::string& path, std::string& bytes,
              std::string& errorText) {
    char buffer[65536];
    for (;;) {
        const std::size_t count = std::fread(buffer, 1, sizeof buffer, file);
        bytes.append(buffer, count);
        if (count < sizeof buffer) {
            if (std::ferror(file)) {
                errorText =
                    "Cannot open file " + QuotedFullPath(path) + ". " + std::strerror(errno);
                return false;
            }
            return true;
        }
    }
}

}  // namespace

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
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    } else if (bytes.starts_with("\xFF\xFE")) {
        return DecodeUtf16(bytes.substr(2), false);
    } else if (bytes.starts_with("\xFE\xFF")) {
        return DecodeUtf16(bytes.substr(2), true);
    }
    const std::size_t nul = bytes.find('\0');
    return std::string(nul == std::string_view::npos ? bytes : bytes.substr(0, nul));
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

// Reads a record line by line, as the lines arrive.
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
        const int fieldIndex = parameters_.accelerationColumn - 1;
        const std::optional<std::string_view> field =
            fieldIndex < 0 ? std::nullopt
                           : FieldAt(TrimControlAndBlanks(line), parameters_.delimiter,
                                     static_cast<std::size_t>(fieldIndex), scratch_);
        if (!field) {
            message_ = LineMessage(fileName_, k + 1,
                                   "List index out of bounds (" + std::to_string(fieldIndex) + ")");
            return false;
        }
        try {
            const double value = ParseNumberOrThrow(*field, parameters_.decimalSeparator);
            record_->AppendAcceleration(value * parameters_.scalingFactor);
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
    const std::string& fileName_;
    const FreeFormatParameters& parameters_;
    std::unique_ptr<TimeHistory> record_;
    std::size_t firstDataLine_;
    std::size_t lineIndex_ = 0;
    std::string scratch_;
    std::string message_;
};

// Cuts the bytes into lines at CR LF, LF and lone CR as SplitTextLines does, whatever
// the pieces they arrive in: a line cut by a piece's end waits in `carry_`, and an LF
// opening a piece after one that ended in CR closes no further line.
class LineAssembler {
  public:
    // Feeds each complete line to `line`; stops and returns false when it does.
    template <class LineFunction>
    bool Feed(std::string_view bytes, LineFunction&& line) {
        std::size_t pos = 0;
        if (afterCarriageReturn_ && !bytes.empty() && bytes.front() == '\n') {
            pos = 1;
        }
        afterCarriageReturn_ = false;
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
            if (!line(complete)) {
                return false;
            }
            carry_.clear();
            if (c == '\r' && pos + 1 == bytes.size()) {
                afterCarriageReturn_ = true;
            }
            pos += (c == '\r' && pos + 1 < bytes.size() && bytes[pos + 1] == '\n') ? 2 : 1;
            start = pos;
        }
        carry_.append(bytes.substr(start));
        return true;
    }

    // The last line, when the bytes did not end with a line break.
    template <class LineFunction>
    void Finish(LineFunction&& line) {
        if (!carry_.empty()) {
            line(std::string_view(carry_));
        }
    }

  private:
    std::string carry_;
    bool afterCarriageReturn_ = false;
};

std::string CannotOpenText(const std::string& path, int error) {
    return "Cannot open file " + QuotedFullPath(path) + ". " + std::strerror(error);
}

// Reads and parses the file a piece at a time, so that a long record never exists as
// text in memory: only its samples are kept. UTF-16 files, rare and small, are decoded
// whole first.
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

    RecordLineParser parser(fileName, parameters);
    LineAssembler lines;
    std::vector<char> buffer(std::size_t{1} << 16);
    bool first = true;
    bool going = true;
    const auto takeLine = [&parser](std::string_view line) { return parser.Line(line); };
    while (going) {
        const std::size_t count = std::fread(buffer.data(), 1, buffer.size(), file);
        if (count < buffer.size() && std::ferror(file)) {
            // A folder opens on some systems and fails only when read.
            ReadResult failure;
            failure.message = LoadMessage(fileName, CannotOpenText(path, errno));
            return failure;
        }
        going = count == buffer.size();
        std::string_view bytes(buffer.data(), count);
        if (first) {
            first = false;
            if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
                std::string whole(bytes);
                std::string errorText;
                if (going && !ReadRest(file, path, whole, errorText)) {
                    ReadResult failure;
                    failure.message = LoadMessage(fileName, errorText);
                    return failure;
                }
                return ReadFreeFormatText(DecodeRecordText(whole), fileName, parameters);
            }
            if (bytes.starts_with("\xEF\xBB\xBF")) {
                bytes.remove_prefix(3);
            }
        }
        // A NUL ends the text.
        const std::size_t nul = bytes.find('\0');
        if (nul != std::string_view::npos) {
            bytes = bytes.substr(0, nul);
            going = false;
        }
        if (!lines.Feed(bytes, takeLine)) {
            return parser.Finish();
        }
    }
    lines.Finish(takeLine);
    return parser.Finish();
}

}  // namespace

ReadResult ReadFreeFormatText(std::string_view text, const std::string& fileName,
                              const FreeFormatParameters& parameters) {
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
        return ReadFileAsItGoes(path, fileName, parameters);
    } catch (const std::bad_alloc&) {
        ReadResult failure;
        failure.message =
            LoadMessage(fileName, "Out of memory while reading file " + QuotedFullPath(path));
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
        IntegrateMotion(*result.record, gravity, MotionSet::Raw);
        result.record->SetIntegrated(true);
        records.Append(std::move(result.record));
    }
    return true;
}

}  // namespace travik
