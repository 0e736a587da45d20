#include "core/records/RecordFileReader.h"
#include "core/records/RecordFile.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <optional>
#include <utility>

#include "core/records/FormatParsing.h"
#include "core/records/LineSource.h"
#include "core/records/RecordFile.h"
#include "core/records/RecordIntegration.h"
#include "core/text/NumberFormat.h"
#include "core/text/ShownText.h"

namespace travik {
namespace {

using format_detail::FaultMessage;
using format_detail::WarningMessage;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePointer = std::unique_ptr<std::FILE, FileCloser>;

std::string FileNameOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

// The free-format reader's load message, so that every format reports an unreadable file
// alike.
std::string LoadMessage(const std::string& path, const char* error) {
    return "FILE : " + ShownText(FileNameOf(path)) + " , ERROR: Cannot open file " +
           QuotedRecordFilePath(path) + ". " + error;
}

// The file's values are multiplied by the scaling factor to give g; said so plainly, as a
// product (a "g / factor" would read as a division).
FormatRecord FreeRecord(std::unique_ptr<TimeHistory> record,
                        const FreeFormatParameters& parameters) {
    FormatRecord made;
    made.record = std::move(record);
    made.unitsFrom = parameters.scalingFactor == 1.0
                         ? "g"
                         : "file values \u00d7 " +
                               FormatGeneral(parameters.scalingFactor, parameters.decimalSeparator);
    return made;
}

RecordFileResult FromFree(ReadResult read, const std::string& fileName,
                          const FreeFormatParameters& parameters) {
    RecordFileResult result;
    result.fileName = fileName;
    result.format = RecordFormat::Free;
    result.headerLines = static_cast<std::size_t>(std::max(parameters.linesToSkip, 0));
    if (!read.ok()) {
        result.message = std::move(read.message);
        return result;
    }
    result.records.push_back(FreeRecord(std::move(read.record), parameters));
    return result;
}

void ApplyTimeStepOverride(RecordFileResult& result, const RecordReadOptions& options) {
    if (!result.ok() || result.format == RecordFormat::Free || !options.timeStepOverride) {
        return;
    }
    const double timeStep = *options.timeStepOverride;
    for (FormatRecord& made : result.records) {
        const TimeHistory& old = *made.record;
        if (old.TimeStep() == timeStep) {
            continue;
        }
        result.warnings.push_back("FILE: " + result.fileName +
                                  ", WARNING: " + old.SourceFileName() + ": the time step " +
                                  FormatGeneral(old.TimeStep()) + " s of the file is replaced by " +
                                  FormatGeneral(timeStep) + " s");
        auto replaced = std::make_unique<TimeHistory>(old.SourceFileName(), timeStep);
        for (const double value : old.RawAcceleration()) {
            replaced->AppendAcceleration(value);
        }
        made.record = std::move(replaced);
    }
}

// Longest reader message or warning shown: a few lines of a message box.
constexpr std::size_t kMaxReaderMessageCharacters = 1000;

// The reader's fault, with the format it was read as: a file that looks like a format but
// breaks one of its fields is told from a file of another format, for which the user is
// pointed to detection by content.
std::string NamedFormatFault(const RecordFormatReader& reader, const FormatReadResult& read,
                             std::string_view prefix, const std::string& fileName) {
    const std::string formatName(RecordFormatName(reader.format));
    if (RecognisesRecordFormat(reader.format, prefix)) {
        return FaultMessage(fileName, read.faultLine, formatName + ": " + read.fault);
    }
    return FaultMessage(fileName, read.faultLine,
                        "no " + formatName + " header was found (" + read.fault +
                            "); the file looks like " +
                            std::string(RecordFormatName(DetectRecordFormat(prefix))) +
                            ": choose Automatic to have each file's format recognised");
}

// `prefix`: the beginning of the file, for telling what it looks like.
RecordFileResult ReadNamed(const RecordFormatReader& reader, LineSource& lines,
                           const std::string& fileName, std::string_view prefix) {
    FormatReadResult read = reader.read(lines, fileName);
    RecordFileResult result;
    result.fileName = fileName;
    result.format = reader.format;
    result.records = std::move(read.records);
    // A reader quotes header text in its messages; the file may hold any bytes there, so
    // what reaches the user is made showable and kept to a readable length.
    for (const std::string& warning : read.warnings) {
        result.warnings.push_back(ShownTextCut(warning, kMaxReaderMessageCharacters));
    }
    if (!read.ok()) {
        result.message = ShownTextCut(NamedFormatFault(reader, read, prefix, fileName),
                                      kMaxReaderMessageCharacters);
    }
    result.headerLines = read.firstDataLine > 0 ? read.firstDataLine - 1 : 0;
    return result;
}

RecordFileResult Refused(const std::string& fileName, RecordFormat format, std::string message) {
    RecordFileResult result;
    result.fileName = fileName;
    result.format = format;
    result.message = std::move(message);
    return result;
}

RecordFormat Choose(std::string_view prefix, RecordFormat requested) {
    return requested == RecordFormat::Automatic ? DetectRecordFormat(prefix) : requested;
}

}  // namespace

std::string RecordReadOptions::Check() const {
    if (timeStepOverride && (!std::isfinite(*timeStepOverride) || !(*timeStepOverride > 0.0))) {
        return "the time step must be greater than zero";
    }
    return {};
}

RecordFileResult ReadRecordBytes(std::string_view bytes, const std::string& fileName,
                                 const RecordReadOptions& options) {
    if (format_detail::StartsWithUtf32Mark(bytes)) {
        return Refused(fileName, options.format,
                       FaultMessage(fileName, 1,
                                    "the file is UTF-32 text (it begins with a UTF-32 byte-order "
                                    "mark), which is not read: save it as UTF-8 or ASCII text"));
    }
    if (IsUtf16RecordText(bytes)) {
        // Agencies' files saved as UTF-16 by an editor or a logger, with or without a mark:
        // every format is read from the text as UTF-8, as free format always was.
        const std::string text = DecodeRecordText(bytes);
        if (!IsUtf16RecordText(text)) {
            return ReadRecordBytes(text, fileName, options);
        }
    }
    const std::string_view prefix = bytes.substr(0, kDetectionPrefixBytes);
    const RecordFormat format = Choose(prefix, options.format);
    if (options.format == RecordFormat::Automatic && format == RecordFormat::Free) {
        if (const std::optional<std::size_t> line = format_detail::FindBinaryLine(prefix)) {
            return Refused(fileName, format,
                           FaultMessage(fileName, *line,
                                        "binary data: this is not the text of a record file"));
        }
    }
    RecordFileResult result;
    if (const RecordFormatReader* reader = FindRecordFormatReader(format)) {
        LineSource lines(bytes);
        result = ReadNamed(*reader, lines, fileName, prefix);
    } else {
        result = FromFree(ReadFreeFormatText(DecodeRecordText(bytes), fileName, options.free),
                          fileName, options.free);
    }
    ApplyTimeStepOverride(result, options);
    return result;
}

RecordFileResult ReadRecordFile(const std::string& path, const RecordReadOptions& options) {
    const std::string fileName = FileNameOf(path);
    try {
        if (std::optional<std::string> refusal = CheckRecordFileEntry(path)) {
            return Refused(fileName, options.format,
                           "FILE : " + ShownText(fileName) + " , ERROR: " + *refusal);
        }
        FilePointer file(std::fopen(path.c_str(), "rb"));
        if (!file) {
            const int error = errno;
            return Refused(fileName, options.format, LoadMessage(path, std::strerror(error)));
        }
        std::string prefix(kDetectionPrefixBytes, '\0');
        prefix.resize(std::fread(prefix.data(), 1, prefix.size(), file.get()));
        if (std::ferror(file.get()) != 0) {
            // A folder opens on some systems and fails only when read.
            const int error = errno;
            return Refused(fileName, options.format, LoadMessage(path, std::strerror(error)));
        }
        const bool whole = std::feof(file.get()) != 0 || prefix.size() < kDetectionPrefixBytes;
        if (whole) {
            return ReadRecordBytes(prefix, fileName, options);
        }
        if (format_detail::StartsWithUtf32Mark(prefix)) {
            return ReadRecordBytes(prefix, fileName, options);
        }
        if (IsUtf16RecordText(prefix)) {
            // UTF-16 is decoded whole before any format reads it (the entry check has
            // bounded its size).
            std::string bytes = std::move(prefix);
            char block[1 << 16];
            std::size_t got = 0;
            while ((got = std::fread(block, 1, sizeof block, file.get())) > 0) {
                bytes.append(block, got);
            }
            if (std::ferror(file.get()) != 0) {
                const int error = errno;
                return Refused(fileName, options.format, LoadMessage(path, std::strerror(error)));
            }
            return ReadRecordBytes(bytes, fileName, options);
        }

        const RecordFormat format = Choose(prefix, options.format);
        if (const RecordFormatReader* reader = FindRecordFormatReader(format)) {
            std::rewind(file.get());
            LineSource lines(file.get());
            RecordFileResult result = ReadNamed(*reader, lines, fileName, prefix);
            ApplyTimeStepOverride(result, options);
            return result;
        }
        if (options.format == RecordFormat::Automatic) {
            if (const std::optional<std::size_t> line = format_detail::FindBinaryLine(prefix)) {
                return Refused(fileName, format,
                               FaultMessage(fileName, *line,
                                            "binary data: this is not the text of a record file"));
            }
        }
        // Free format reads the whole file at once. Its lines are read in order and the
        // first bad one ends the reading, so a fault among the complete lines of the
        // beginning is the fault of the whole file: refuse it without reading the rest.
        const std::string text = DecodeRecordText(prefix);
        const std::size_t lastBreak = text.find_last_of("\r\n");
        if (lastBreak != std::string::npos) {
            ReadResult early = ReadFreeFormatText(std::string_view(text).substr(0, lastBreak + 1),
                                                  fileName, options.free);
            if (!early.ok() && early.message.find("ERROR Line:") != std::string::npos) {
                return FromFree(std::move(early), fileName, options.free);
            }
        }
        file.reset();
        return FromFree(ReadFreeFormatFile(path, options.free), fileName, options.free);
    } catch (const std::bad_alloc&) {
        return Refused(fileName, options.format,
                       LoadMessage(path, "Not enough memory to read the file"));
    }
}

bool ImportRecordFilesAs(const std::vector<std::string>& paths, const RecordReadOptions& options,
                         double gravity, RecordList& records,
                         const std::function<void(const std::string&)>& showWarning,
                         const std::function<void(const std::string&)>& showFailure) {
    for (const std::string& path : paths) {
        RecordFileResult result = ReadRecordFile(path, options);
        for (const std::string& warning : result.warnings) {
            if (showWarning) {
                showWarning(warning);
            }
        }
        if (!result.ok()) {
            if (showFailure) {
                showFailure(result.message);
            }
            return false;
        }
        for (FormatRecord& made : result.records) {
            if (std::optional<std::string> failure =
                    IntegrateImportedRecord(*made.record, gravity)) {
                if (showFailure) {
                    showFailure(*failure);
                }
                return false;
            }
            made.record->SetOrientation(made.orientation);
            records.Append(std::move(made.record));
        }
    }
    return true;
}

RecordPeak FindPeakAcceleration(const TimeHistory& record) {
    RecordPeak peak;
    const DOUBLEVECTOR& values = record.RawAcceleration();
    std::size_t at = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (std::fabs(values[i]) > std::fabs(values[at])) {
            at = i;
        }
    }
    if (!values.empty()) {
        peak.value = values[at];
        peak.time = static_cast<double>(at) * record.TimeStep();
    }
    return peak;
}

std::vector<std::string> DescribeRecordFile(const RecordFileResult& result) {
    std::vector<std::string> lines;
    for (const FormatRecord& made : result.records) {
        const TimeHistory& record = *made.record;
        const RecordPeak peak = FindPeakAcceleration(record);
        const double duration = static_cast<double>(record.SampleCount() - 1) * record.TimeStep();
        // Names and channels come from file names and contents: shown escaped and cut.
        lines.push_back(ShownTextCut(record.SourceFileName(), 255));
        lines.push_back("  file:                 " + ShownTextCut(result.fileName, 255));
        lines.push_back("  format:               " + std::string(RecordFormatName(result.format)));
        lines.push_back("  channel:              " +
                        (made.channel.empty() ? "-" : ShownTextCut(made.channel)));
        lines.push_back("  samples:              " + FormatInteger(record.SampleCount()));
        lines.push_back("  time step:            " + FormatGeneral(record.TimeStep()) + " s");
        lines.push_back("  duration:             " + FormatGeneral(duration) + " s");
        lines.push_back("  units converted from: " + ShownTextCut(made.unitsFrom, 255));
        lines.push_back("  PGA:                  " + FormatGeneral(peak.value) + " g at " +
                        FormatGeneral(peak.time) + " s");
    }
    return lines;
}

}  // namespace travik
