#pragma once

#include <cstddef>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "core/records/RecordPreparation.h"

namespace travik::cli {

// A workspace given with --workspace, as the commands use it: its files (in the import's
// `files`), how each of them is read and each of its records prepared, and its analysis.
struct WorkspaceImport {
    std::string path;
    std::vector<std::string> files;  // the record files present, resolved, in its order
    // Per file of the import: the file's reading with no correction, and the plan of each
    // record the workspace stored for it.
    std::vector<ImportPlan> filePlans;
    std::vector<std::vector<ImportPlan>> recordPlans;
    // Lines for stderr before any record is read: files missing, sizes changed, fields of a
    // later version ignored.
    std::vector<std::string> notes;
    bool filesMissing = false;  // the command ends with kExitFailure after its reports
    // The workspace's analysis: its settings, damping ratios (sorted, one of each) and
    // periods (s, 0 first), as the spectra commands take them.
    AnalysisSettings settings;
    std::vector<double> dampingRatios;
    std::vector<double> periods;
};

// Where --workspace puts what it reads: the option's text, the command's record files and
// g (replaced by the workspace's), and the workspace itself.
struct WorkspaceTargets {
    std::string& path;
    std::vector<std::string>& files;
    std::string& gravity;
    std::shared_ptr<const WorkspaceImport>& workspace;
};

// Adds `--workspace FILE` beside the positional FILE option of a command that reads
// records: either one is required, not both. Once parsed, the workspace is read into
// `targets` (a refused workspace is a rejected option, its message naming the file).
void AddWorkspaceOption(CLI::App& command, WorkspaceTargets targets, CLI::Option* files);

// Reads the workspace at `path` as --workspace does; throws CLI::ValidationError with the
// message when it is refused.
WorkspaceImport LoadWorkspaceImport(const std::string& path);

// The plan a record file is read with: the workspace's for that file, else `common`.
const ImportPlan& PlanOfFile(const WorkspaceImport* workspace, const ImportPlan& common,
                             std::size_t file);

// The plan a record is prepared with (its correction and filter): the workspace's for the
// record `record` of file `file`, else `common`. A file giving more records than the
// workspace knows prepares the others with no correction.
const ImportPlan& PlanOfRecord(const WorkspaceImport* workspace, const ImportPlan& common,
                               std::size_t file, std::size_t record);

// Prints the workspace's notes on `err`; true when files of it are missing. Nothing
// without a workspace.
bool TellWorkspaceNotes(const WorkspaceImport* workspace, std::ostream& err);

}  // namespace travik::cli
