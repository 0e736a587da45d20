#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/records/RecordFileReader.h"

namespace travik {

// What the import dialog shows before anything is imported: the first lines of the first
// chosen file, which of them are header, where the acceleration field of a free-format line
// is, and a summary of what will be read. Every text is made here; the dialog only draws it.
struct PreviewLine {
    std::string text;
    bool header = false;
    // Free format: the characters [first, first + length) of `text` hold the acceleration.
    std::optional<std::pair<std::size_t, std::size_t>> column;
};

struct ImportPreview {
    std::vector<PreviewLine> lines;
    RecordFileResult read;              // the file read as the import would read it
    std::vector<std::string> summary;   // "Format: ...", "Records: ...", ...; or the fault
    std::vector<std::string> warnings;  // separator hints and the reader's warnings
};

inline constexpr std::size_t kPreviewLines = 40;

// Whether the user has entered the free format's time step yet. A free-format file states
// none, so until then the summary gives no time step, duration or time of the peak (the
// options' step is only a stand-in to read the values with).
enum class FreeTimeStep { Entered, NotEntered };

// Builds the preview of a file's bytes (`fileName` names it in messages).
ImportPreview PreviewRecordBytes(std::string_view bytes, const std::string& fileName,
                                 const RecordReadOptions& options,
                                 FreeTimeStep timeStep = FreeTimeStep::Entered);

// Builds the preview of a file: its first lines from its first 64 KiB, the summary from
// reading it as the import would.
ImportPreview PreviewRecordFile(const std::string& path, const RecordReadOptions& options,
                                FreeTimeStep timeStep = FreeTimeStep::Entered);

// Plain-words hints when a free-format file's lines suggest that the delimiter and the
// decimal separator are mixed up: numbers with a decimal comma read with the comma
// delimiter, comma-separated columns read with the blank delimiter, or a decimal comma
// that is also the delimiter. `lines` are the file's data lines.
std::vector<std::string> SeparatorHints(const std::vector<std::string_view>& lines,
                                        const FreeFormatParameters& parameters);

// The files of a folder that look like record files (a named format, or text whose first
// lines read as free format with `parameters`), sorted by name; hidden files and folders
// inside are left out.
std::vector<std::string> RecordFilesInFolder(const std::string& folder,
                                             const FreeFormatParameters& parameters);

// The notice for a folder in which RecordFilesInFolder finds nothing to import.
std::string NoRecordFilesMessage(const std::string& folder);

}  // namespace travik
