#pragma once

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "ExitCodes.h"
#include "core/analysis/AnalysisSettings.h"
#include "core/records/FilterSettings.h"
#include "core/records/FreeFormatReader.h"
#include "core/records/RecordFileReader.h"
#include "core/records/RecordPreparation.h"
#include "core/records/TimeHistory.h"
#include "core/text/NumberFormat.h"

namespace travik::cli {

struct WorkspaceImport;

// Numbers on the command line always use the full stop, whatever the locale.
inline constexpr char kCommandLineDecimalPoint = '.';

// A default of the core's structs as the command line writes it.
inline std::string DefaultText(double value) {
    return FormatGeneral(value, kCommandLineDecimalPoint);
}

// The reading options shared by `records` and `spectra`, with the import dialog's defaults
// (those of the reading parameters and of the settings' g). Numbers are kept as texts and
// converted by the program's own strict conversion.
struct ImportOptions {
    std::string format = "free";  // auto, free or a named format (RecordFormatFromKey)
    std::string timeStep = DefaultText(FreeFormatParameters{}.timeStep);
    std::string scalingFactor = DefaultText(FreeFormatParameters{}.scalingFactor);
    int linesToSkip = FreeFormatParameters{}.linesToSkip;
    std::string delimiter =
        FreeFormatParameters{}.delimiter == Delimiter::Space ? "space" : "comma";
    int accelerationColumn = FreeFormatParameters{}.accelerationColumn;
    std::string baseline = "none";
    std::string gravity = DefaultText(AnalysisSettings{}.g);
    std::string outputFolder = ".";
    std::vector<std::string> files;
    const CLI::Option* timeStepOption = nullptr;  // tells whether --dt was given
    const CLI::Option* scaleOption = nullptr;     // tells whether --scale was given
    // Butterworth filter after the baseline correction: none, lowpass, highpass, bandpass.
    std::string filter = "none";
    std::string corners;                 // Hz: "F" (low- or high-pass) or "F1,F2" (band-pass)
    int order = FilterSettings{}.order;  // per corner, 1 to 8
    bool acausal = FilterSettings{}.acausal;
    // --workspace: the workspace file, and once read what it says (its files are then
    // `files`); the reading, correction and filter options above are not used.
    std::string workspacePath;
    std::shared_ptr<const WorkspaceImport> workspace;
};

void AddImportOptions(CLI::App& command, ImportOptions& options);

// The options that say how files are read (--format, --dt, --scale, --skip, --delimiter,
// --column), shared by every command that reads records.
void AddReadingOptions(CLI::App& command, ImportOptions& options);

// The reading options as the core takes them; false (with the message on `err`) when an
// option value is refused. Warns on `err` about options that a named format ignores.
bool MakeReadOptions(const ImportOptions& options, RecordReadOptions& read, std::ostream& err);

// Converts and checks the options in ImportRecords' order; false (with the message on
// `err`) when one is refused.
bool MakeImportPlan(const ImportOptions& options, ImportPlan& plan, std::ostream& err);

// The line refusing a filter that does not fit the record, naming the option and the
// file, or nothing.
std::optional<std::string> FilterMisfitLine(const ImportPlan& plan, const TimeHistory& record);

// The lines as the command line prints them, each ending in a line break.
std::string AsLines(const std::vector<std::string>& lines);

struct ImportOutcome {
    int exitCode = kExitOk;         // kExitBadOption when an option was rejected (nothing read)
    bool readerFailed = false;      // a file failed; the records before it were read
    bool correctionFailed = false;  // some record could not be baseline-corrected and
                                    // stays uncorrected (a warning naming it went to `err`)
    RecordList records;             // the records read, integrated and baseline-corrected
    std::vector<std::size_t> recordFiles;   // per record, its file's index in the files
    std::optional<std::size_t> failedFile;  // the file whose reader failed (its records are kept)
};

// Converts the options, reads the files as one import (stopping at the first failing
// file, whose warning goes to `err` as one line) and applies the requested baseline
// correction and filter to every record read. A filter that does not fit a record (a corner
// at or above its Nyquist frequency, a record shorter than the pads) is a rejected option:
// exitCode is kExitBadOption and the message names the option and the file. A reader failure leaves
// exitCode at kExitOk and sets readerFailed, so the records read before it can still be reported.
ImportOutcome ImportRecords(const ImportOptions& options, std::ostream& err);

// The parts of a comma-separated option text.
std::vector<std::string> SplitAtCommas(const std::string& text);

}  // namespace travik::cli
