#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/records/FormatReaders.h"
#include "core/records/FreeFormatReader.h"
#include "core/records/RecordFormat.h"
#include "core/records/TimeHistory.h"

namespace travik {

// How the files of one import are read.
struct RecordReadOptions {
    RecordFormat format = RecordFormat::Free;  // Automatic detects each file's format
    FreeFormatParameters free;                 // for files read as free format
    // Replaces the time step a named format's header gives (s, > 0); free format always
    // takes free.timeStep.
    std::optional<double> timeStepOverride;

    // Empty when the options can be used, else what is wrong with them.
    std::string Check() const;
};

// What became of one file: its format (the detected one for Automatic), its records, the
// warnings (more values than announced, a replaced time step), or the message of the fault
// that kept every record of the file out.
struct RecordFileResult {
    std::string fileName;
    RecordFormat format = RecordFormat::Free;
    std::vector<FormatRecord> records;
    std::vector<std::string> warnings;
    std::string message;
    std::size_t headerLines = 0;  // lines above the first value of the first record
    bool ok() const { return message.empty(); }
};

// Reads a file whose bytes are in memory (the preview, tests). `fileName` names it.
RecordFileResult ReadRecordBytes(std::string_view bytes, const std::string& fileName,
                                 const RecordReadOptions& options);

// Reads one file. Detection looks at its first 64 KiB only; named formats are read line by
// line and stop at the first fault, so a large file that is not a record is refused after
// reading its beginning.
RecordFileResult ReadRecordFile(const std::string& path, const RecordReadOptions& options);

// Reads the files in order as one import: each record is integrated with `gravity`
// (cm/sec^2) and appended to `records`; each warning goes to `showWarning`. At the first
// failing file its message goes to `showFailure` and the remaining files are not read (the
// records read before stay). Returns true when every file was read.
bool ImportRecordFilesAs(const std::vector<std::string>& paths, const RecordReadOptions& options,
                         double gravity, RecordList& records,
                         const std::function<void(const std::string&)>& showWarning,
                         const std::function<void(const std::string&)>& showFailure);

// Peak values of a record, for summaries.
struct RecordPeak {
    double value = 0.0;  // g, signed: the sample of largest magnitude (the first of equals)
    double time = 0.0;   // s
};
RecordPeak FindPeakAcceleration(const TimeHistory& record);

// A summary of the records of one file, one block per record: file, format, channel,
// samples, time step, duration, units the values were converted from, PGA and its time.
std::vector<std::string> DescribeRecordFile(const RecordFileResult& result);

}  // namespace travik
