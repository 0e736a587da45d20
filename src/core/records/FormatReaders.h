#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/records/LineSource.h"
#include "core/records/RecordFormat.h"
#include "core/records/TimeHistory.h"

namespace travik {

// One record (channel) read from a file of a named format, with what the file said about it.
struct FormatRecord {
    std::unique_ptr<TimeHistory> record;  // acceleration in g, time step (s) from the header
    std::string channel;                  // the file's own channel label; empty for none
    std::string unitsFrom;                // the units of the file's values before conversion to g
    std::string orientation;              // the header's orientation of the channel, or empty
};

// What a reader made of one file: the records, or the message of the first fault (then
// `records` is empty: nothing of a faulty file is used). Warnings name file and line.
struct FormatReadResult {
    std::vector<FormatRecord> records;
    std::vector<std::string> warnings;
    std::string message;
    std::size_t faultLine = 0;  // the line of the fault (from 1) and what is wrong, unwrapped
    std::string fault;
    std::size_t firstDataLine = 0;  // line (from 1) of the first value: the lines above are header
    bool ok() const { return message.empty(); }
};

// One entry of the reader table: a cheap detector over the first lines of a file (at most
// kDetectionLines of them, from the first kDetectionPrefixBytes) and the reader itself,
// which streams the lines and stops at the first fault. `fileName` is the name used in
// messages and record names.
struct RecordFormatReader {
    RecordFormat format;
    bool (*detect)(std::span<const std::string_view> firstLines);
    FormatReadResult (*read)(LineSource& lines, const std::string& fileName);
};

inline constexpr std::size_t kDetectionLines = 40;

// The table of named-format readers, in detection order.
std::span<const RecordFormatReader> RecordFormatReaders();

// The entry for a named format, or nullptr for Free and Automatic.
const RecordFormatReader* FindRecordFormatReader(RecordFormat format);

// The format of a record file judged from its first lines: `bytes` may be the whole file or
// its beginning; only the first kDetectionPrefixBytes are looked at. Each format has its own
// detector; the file's name and extension play no part. A file no detector recognises is
// free format. Never returns Automatic.
RecordFormat DetectRecordFormat(std::string_view bytes);

// True when the detector of the named `format` recognises the beginning of `bytes` (only the
// first kDetectionPrefixBytes are looked at), whether or not another format's detector
// would too. False for Free and Automatic.
bool RecognisesRecordFormat(RecordFormat format, std::string_view bytes);

// The readers (each defined in its own file).
bool IsPeerNgaFile(std::span<const std::string_view> firstLines);
FormatReadResult ReadPeerNga(LineSource& lines, const std::string& fileName);
bool IsCsmipFile(std::span<const std::string_view> firstLines);
FormatReadResult ReadCsmip(LineSource& lines, const std::string& fileName);
bool IsSmcFile(std::span<const std::string_view> firstLines);
FormatReadResult ReadSmc(LineSource& lines, const std::string& fileName);
bool IsKnetFile(std::span<const std::string_view> firstLines);
FormatReadResult ReadKnet(LineSource& lines, const std::string& fileName);
bool IsCosmosFile(std::span<const std::string_view> firstLines);
FormatReadResult ReadCosmos(LineSource& lines, const std::string& fileName);
bool IsBbpFile(std::span<const std::string_view> firstLines);
FormatReadResult ReadBbp(LineSource& lines, const std::string& fileName);

}  // namespace travik
