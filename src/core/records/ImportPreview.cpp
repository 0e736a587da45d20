#include "core/records/ImportPreview.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "core/records/FormatParsing.h"
#include "core/text/NumberFormat.h"
#include "core/text/NumberParse.h"

namespace travik {
namespace {

constexpr std::size_t kFirstValues = 5;

bool IsFieldBlank(char c) {
    const auto code = static_cast<unsigned char>(c);
    return code >= 1 && code <= 32;
}

// Where field `index` of a free-format line lies in the untrimmed line, splitting as the
// reader does (quoted fields are rare in record files and are not followed here).
std::optional<std::pair<std::size_t, std::size_t>> FieldSpan(std::string_view line,
                                                             Delimiter delimiter, int index) {
    std::size_t start = 0;
    std::size_t end = line.size();
    while (start < end && static_cast<unsigned char>(line[start]) <= 32) {
        ++start;
    }
    while (end > start && static_cast<unsigned char>(line[end - 1]) <= 32) {
        --end;
    }
    if (start == end || index < 0) {
        return std::nullopt;
    }
    std::size_t pos = start;
    for (int field = 0;; ++field) {
        std::size_t fieldEnd = pos;
        if (delimiter == Delimiter::Comma) {
            while (fieldEnd < end && line[fieldEnd] != ',') {
                ++fieldEnd;
            }
        } else {
            while (fieldEnd < end && !IsFieldBlank(line[fieldEnd])) {
                ++fieldEnd;
            }
        }
        if (field == index) {
            return std::make_pair(pos, fieldEnd - pos);
        }
        if (fieldEnd >= end) {
            return std::nullopt;
        }
        pos = fieldEnd + 1;
        if (delimiter == Delimiter::Space) {
            while (pos < end && IsFieldBlank(line[pos])) {
                ++pos;
            }
        }
    }
}

std::vector<std::string_view> BlankTokens(std::string_view line) {
    std::vector<std::string_view> tokens;
    std::size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && IsFieldBlank(line[pos])) {
            ++pos;
        }
        const std::size_t start = pos;
        while (pos < line.size() && !IsFieldBlank(line[pos])) {
            ++pos;
        }
        if (pos > start) {
            tokens.push_back(line.substr(start, pos - start));
        }
    }
    return tokens;
}

std::vector<std::string_view> CommaFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(line.substr(
            start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (comma == std::string_view::npos) {
            return fields;
        }
        start = comma + 1;
    }
}

// Every token is a number when read with `separator`, and at least one has a comma.
bool AllNumbersWithDecimalComma(const std::vector<std::string_view>& tokens) {
    bool anyComma = false;
    for (const std::string_view token : tokens) {
        if (!TryParseNumber(token, ',')) {
            return false;
        }
        anyComma = anyComma || token.find(',') != std::string_view::npos;
    }
    return anyComma;
}

std::string Quoted(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted.push_back('"');
    quoted.append(text);
    quoted.push_back('"');
    return quoted;
}

std::vector<std::string> Summary(const RecordFileResult& read, const RecordReadOptions& options,
                                 FreeTimeStep timeStep) {
    const char point = options.free.decimalSeparator;
    std::string format = "Format: " + std::string(RecordFormatName(read.format));
    if (options.format == RecordFormat::Automatic) {
        format += " (detected)";
    }
    std::vector<std::string> summary{format};
    if (!read.ok()) {
        summary.push_back(read.message);
        return summary;
    }
    const FormatRecord& first = read.records.front();
    const TimeHistory& record = *first.record;
    std::string records = "Records: " + FormatInteger(static_cast<long long>(read.records.size()));
    if (read.records.size() > 1) {
        records += " (the first: " + record.SourceFileName() + ")";
    }
    summary.push_back(records);
    const RecordPeak peak = FindPeakAcceleration(record);
    const double duration = static_cast<double>(record.SampleCount() - 1) * record.TimeStep();
    summary.push_back("Samples: " + FormatInteger(record.SampleCount()));
    const bool timed = timeStep == FreeTimeStep::Entered || read.format != RecordFormat::Free;
    // About six significant digits for the eye, as the window's tables show them; the
    // time step edit keeps every digit.
    if (timed) {
        summary.push_back("Time step: " + FormatShown(record.TimeStep(), point) + " s");
        summary.push_back("Duration: " + FormatShown(duration, point) + " s");
    } else {
        summary.push_back("Time step: not entered yet");
    }
    summary.push_back("Units: " + first.unitsFrom + (first.unitsFrom == "g" ? "" : ", read as g"));
    summary.push_back("PGA: " + FormatShown(peak.value, point) + " g" +
                      (timed ? " at " + FormatShown(peak.time, point) + " s" : ""));
    std::string values = "First values (g):";
    const DOUBLEVECTOR& samples = record.RawAcceleration();
    for (std::size_t i = 0; i < std::min(kFirstValues, samples.size()); ++i) {
        values += (i == 0 ? " " : "; ") + FormatShown(samples[i], point);
    }
    summary.push_back(values);
    return summary;
}

ImportPreview BuildPreview(std::string_view prefix, RecordFileResult read,
                           const RecordReadOptions& options, FreeTimeStep timeStep) {
    ImportPreview preview;
    const std::string text = DecodeRecordText(prefix);
    const std::vector<std::string_view> lines = SplitTextLines(text);
    const bool free = read.format == RecordFormat::Free;
    const std::size_t header = read.headerLines;
    std::vector<std::string_view> dataLines;
    for (std::size_t i = 0; i < std::min(kPreviewLines, lines.size()); ++i) {
        PreviewLine line;
        line.text = std::string(lines[i]);
        line.header = i < header;
        if (free && !line.header) {
            line.column =
                FieldSpan(lines[i], options.free.delimiter, options.free.accelerationColumn - 1);
            dataLines.push_back(lines[i]);
        }
        preview.lines.push_back(std::move(line));
    }
    preview.summary = Summary(read, options, timeStep);
    if (free) {
        preview.warnings = SeparatorHints(dataLines, options.free);
    }
    preview.warnings.insert(preview.warnings.end(), read.warnings.begin(), read.warnings.end());
    preview.read = std::move(read);
    return preview;
}

}  // namespace

std::vector<std::string> SeparatorHints(const std::vector<std::string_view>& lines,
                                        const FreeFormatParameters& parameters) {
    std::vector<std::string> hints;
    const bool commaDelimiter = parameters.delimiter == Delimiter::Comma;
    if (commaDelimiter && parameters.decimalSeparator == ',') {
        for (const std::string_view line : lines) {
            if (line.find(',') != std::string_view::npos) {
                hints.push_back(
                    "Your numbers use the decimal comma, and the delimiter is Comma too: every "
                    "comma starts a new field, so " +
                    Quoted(TrimControlAndBlanks(line)) +
                    " is not read as you may expect. Choose Space as the delimiter.");
                break;
            }
        }
        return hints;
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = TrimControlAndBlanks(lines[i]);
        if (line.find(',') == std::string_view::npos) {
            continue;
        }
        const std::vector<std::string_view> tokens = BlankTokens(line);
        if (parameters.decimalSeparator == '.' && AllNumbersWithDecimalComma(tokens)) {
            hints.push_back("The values look like numbers with a decimal comma (" +
                            Quoted(tokens.front()) + ")" +
                            (commaDelimiter
                                 ? ", but the delimiter is Comma, so each comma splits a number "
                                   "in two. Choose Space as the delimiter and the decimal comma "
                                   "in your number settings, or convert the file."
                                 : ", but your decimal separator is the point. Choose the "
                                   "decimal comma in your number settings, or convert the file."));
            break;
        }
        if (!commaDelimiter && tokens.size() == 1) {
            const std::vector<std::string_view> fields = CommaFields(line);
            const bool allNumbers =
                fields.size() > 1 && std::all_of(fields.begin(), fields.end(), [&](auto field) {
                    return TryParseNumber(field, parameters.decimalSeparator).has_value();
                });
            if (allNumbers) {
                hints.push_back("The columns look separated by commas (" + Quoted(line) +
                                "), but the delimiter is Space, so the whole line is one field. "
                                "Choose Comma as the delimiter.");
                break;
            }
        }
    }
    return hints;
}

ImportPreview PreviewRecordBytes(std::string_view bytes, const std::string& fileName,
                                 const RecordReadOptions& options, FreeTimeStep timeStep) {
    return BuildPreview(bytes.substr(0, kDetectionPrefixBytes),
                        ReadRecordBytes(bytes, fileName, options), options, timeStep);
}

ImportPreview PreviewRecordFile(const std::string& path, const RecordReadOptions& options,
                                FreeTimeStep timeStep) {
    std::string prefix(kDetectionPrefixBytes, '\0');
    std::size_t count = 0;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        count = std::fread(prefix.data(), 1, prefix.size(), file);
        std::fclose(file);
    }
    prefix.resize(count);
    return BuildPreview(prefix, ReadRecordFile(path, options), options, timeStep);
}

std::vector<std::string> RecordFilesInFolder(const std::string& folder,
                                             const FreeFormatParameters& parameters) {
    std::vector<std::filesystem::path> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || name.front() == '.' || !entry.is_regular_file(error)) {
            continue;
        }
        std::string prefix(kDetectionPrefixBytes, '\0');
        std::FILE* file = std::fopen(entry.path().string().c_str(), "rb");
        if (file == nullptr) {
            continue;
        }
        prefix.resize(std::fread(prefix.data(), 1, prefix.size(), file));
        std::fclose(file);
        if (DetectRecordFormat(prefix) != RecordFormat::Free) {
            found.push_back(entry.path());
            continue;
        }
        if (prefix.empty() || format_detail::FindBinaryLine(prefix)) {
            continue;
        }
        // Free format: the complete lines of the beginning must read.
        const std::string text = DecodeRecordText(prefix);
        const std::size_t lastBreak = text.find_last_of("\r\n");
        const std::string_view complete =
            (prefix.size() < kDetectionPrefixBytes || lastBreak == std::string::npos)
                ? std::string_view(text)
                : std::string_view(text).substr(0, lastBreak + 1);
        if (ReadFreeFormatText(complete, name, parameters).ok()) {
            found.push_back(entry.path());
        }
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return a.filename().string() < b.filename().string();
    });
    std::vector<std::string> paths;
    for (const auto& path : found) {
        paths.push_back(path.string());
    }
    return paths;
}

std::string NoRecordFilesMessage(const std::string& folder) {
    return "FOLDER: " + std::filesystem::path(folder).filename().string() +
           ", WARNING: there is no record file in it to read!";
}

}  // namespace travik
