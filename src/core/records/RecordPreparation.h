#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/analysis/AnalysisSettings.h"
#include "core/records/BaselineCorrection.h"
#include "core/records/FilterSettings.h"
#include "core/records/RecordFileReader.h"
#include "core/records/TimeHistory.h"

namespace travik {

// How every file of one import is read and prepared: the reading options (format and its
// parameters), g for the integration, then the baseline correction and the filter.
struct ImportPlan {
    RecordReadOptions read;
    double gravity = AnalysisSettings{}.g;  // cm/sec^2
    BaselineCorrectionType baseline = BaselineCorrectionType::None;
    std::optional<FilterSettings> filter;
};

// What reading one file said: its warnings, then its failure if it failed, one line each
// (no line breaks), in the order they arose.
struct FileReading {
    bool ok = true;
    std::vector<std::string> messages;
};

// Reads one file and integrates its records, appending them to `records`. The records a
// several-record file gave before its failing one are kept.
FileReading ReadRecordFileInto(const ImportPlan& plan, const std::string& path,
                               RecordList& records);

// Why the plan's filter cannot be applied to the record (a corner at or above its Nyquist
// frequency, a record shorter than the pads), or nothing.
std::optional<FilterProblem> FilterMisfit(const ImportPlan& plan, const TimeHistory& record);

// What preparing one record said. A record the baseline fit is not defined for stays
// uncorrected (corrected is false) and the message names it.
struct RecordPreparation {
    bool corrected = true;
    std::optional<std::string> message;  // one line, no line break
    // The filter's resolution warning, naming the record; one line, after `message`.
    std::optional<std::string> filterWarning;
};

// Applies the baseline correction, then the filter (which must fit: see FilterMisfit).
RecordPreparation PrepareRecord(const ImportPlan& plan, TimeHistory& record);

// One file turned into prepared records: read and integrated, then, when the filter fits
// every record of the file, corrected and filtered. Messages are in the order of the steps.
struct PreparedFile {
    FileReading reading;
    RecordList records;
    std::optional<FilterProblem> misfit;  // the first record the filter does not fit
    std::string misfitRecord;             // its source name
    bool correctionFailed = false;        // some record stays uncorrected
    std::vector<std::string> preparationMessages;
};

PreparedFile PrepareRecordFile(const ImportPlan& plan, const std::string& path);

}  // namespace travik
