#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/records/TimeHistory.h"

namespace travik {

enum class Delimiter { Comma, Space };

inline constexpr const char* kTimeStepNotPositiveMessage = "Time Step must be greater than zero!";

// The reading parameters of one import; the same apply to every file of it.
struct FreeFormatParameters {
    double timeStep = 0.01;      // s, > 0
    double scalingFactor = 1.0;  // every value read is multiplied by it
    int linesToSkip = 0;         // 0 to 100
    Delimiter delimiter = Delimiter::Comma;
    int accelerationColumn = 1;   // 1 to 100, counted from 1
    char decimalSeparator = '.';  // of the user's number format

    // The import's check before any file is opened (the dialog and the command line give
    // the same message): the message of the first parameter out of range, nothing when all
    // can be used. A time step of zero or less gives a record without a time axis: its
    // charts collapse and every oscillator run fails.
    std::optional<std::string> Validate() const;
};

// Either a record or the message of the failure (the warning shown to the user).
struct ReadResult {
    std::unique_ptr<TimeHistory> record;
    std::string message;
    bool ok() const { return record != nullptr; }
};

// Splits an already trimmed line into fields (quoted fields, comma or blank separation).
std::vector<std::string> SplitDelimitedLine(std::string_view line, Delimiter delimiter);

// Decodes a whole file's bytes into UTF-8 text: byte-order marks of UTF-8, UTF-16 LE and
// UTF-16 BE are honoured and removed; UTF-16 without a mark is recognised by its pattern
// (ASCII characters with a zero byte beside each); other bytes are taken as UTF-8. NULs at
// the very end are dropped; any other NUL stays in the text (the reader refuses it).
std::string DecodeRecordText(std::string_view bytes);

// True when `bytes` are UTF-16 text as DecodeRecordText recognises it: after a byte-order
// mark, or without one when its first kilobytes are ASCII characters in two-byte units.
bool IsUtf16RecordText(std::string_view bytes);

// Splits text into lines at CR LF, LF and lone CR; a break at the very end starts no line.
std::vector<std::string_view> SplitTextLines(std::string_view text);

// Reads a record from decoded text; `fileName` is the name shown in messages and stored in
// the record (no folder). A NUL anywhere in the text, or a sample that is not finite once
// scaled, stops the reading with a message naming the line.
ReadResult ReadFreeFormatText(std::string_view text, const std::string& fileName,
                              const FreeFormatParameters& parameters);

// Reads one record file: a regular file no larger than kMaxRecordFileBytes.
ReadResult ReadFreeFormatFile(const std::string& path, const FreeFormatParameters& parameters);

}  // namespace travik
