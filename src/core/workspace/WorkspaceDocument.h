#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/analysis/AnalysisSettings.h"
#include "core/analysis/DampingValues.h"
#include "core/records/FilterSettings.h"
#include "core/records/RecordFileReader.h"
#include "core/records/TimeHistory.h"

namespace travik {

// The marker and the version a workspace file carries. A file of a later version opens with
// a warning (what it adds is ignored); one without the marker is refused.
inline constexpr const char* kWorkspaceFormatMarker = "travik-workspace";
inline constexpr int kWorkspaceVersion = 1;
inline constexpr const char* kWorkspaceExtension = ".travik";

// What the user set for one record of a file: whether it is checked, its baseline
// correction and its filter.
struct WorkspaceRecordSetup {
    bool checked = true;
    BaselineCorrectionType baseline = BaselineCorrectionType::None;
    std::optional<FilterSettings> filter;
    bool operator==(const WorkspaceRecordSetup&) const = default;
};

// One record file of a workspace, with how it is read and what became of its records.
// Opening re-reads the file and recomputes: no motion or spectrum is stored.
struct WorkspaceFileEntry {
    // As stored: relative to the workspace file's folder when the record lies below it,
    // else absolute (ResolveRecordPath makes it a path to open).
    std::string path;
    // Bytes of the file when the workspace was saved; a different size on opening is read
    // with a warning. Nothing when unknown.
    std::optional<std::uintmax_t> size;
    RecordReadOptions read;
    // One per record the file gave, in its order.
    std::vector<WorkspaceRecordSetup> records;
};

// A workspace: the record files and the settings of a session, as a value.
struct WorkspaceDocument {
    std::vector<WorkspaceFileEntry> files;
    AnalysisSettings analysis;
    // Damping values (percent), in the damping edits' order.
    std::vector<double> dampingPercents{kDefaultDampingPercents.begin(),
                                        kDefaultDampingPercents.end()};
    // The figures' choices (axes, tripartite/ADRS, statistics, target spectrum) as the
    // windows name and write them; the command line does not read them.
    std::map<std::string, std::string> figures;
};

// A workspace read from a file: the document, or the refusal naming the file; warnings
// (a later version, an unknown field) name it too.
struct WorkspaceReadResult {
    std::string fileName;
    std::optional<WorkspaceDocument> document;
    std::string error;
    std::vector<std::string> warnings;
    bool ok() const { return document.has_value(); }
};

}  // namespace travik
