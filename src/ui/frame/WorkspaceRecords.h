#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/records/TimeHistory.h"
#include "core/workspace/WorkspaceDocument.h"
#include "ui/app/RecordSource.h"

// The records of an opened workspace, read again and prepared as it says, with what the
// window needs to show them as they were saved.
struct ReopenedRecords {
    travik::RecordList records;
    RecordSources sources;     // one per record
    std::vector<bool> checks;  // one per record
    // Files missing (named), sizes changed, reader warnings and failures, corrections and
    // filters that could not be applied (naming the record), in the workspace's order.
    std::vector<std::string> messages;
};

// Reads every record file of `document` (saved at `workspacePath`) that is there, each with
// its reading parameters and g of the workspace's analysis, and corrects and filters each
// record as stored; records a file gives beyond those stored are taken as read, checked.
// `cancelled` is asked between files.
template <class Cancelled>
ReopenedRecords ReopenWorkspaceRecords(const std::filesystem::path& workspacePath,
                                       const travik::WorkspaceDocument& document,
                                       Cancelled cancelled);

// One file of the workspace into `into` (ReopenWorkspaceRecords's step).
void ReopenWorkspaceFile(const std::filesystem::path& workspacePath,
                         const travik::WorkspaceFileEntry& entry, double gravity,
                         ReopenedRecords& into);

template <class Cancelled>
ReopenedRecords ReopenWorkspaceRecords(const std::filesystem::path& workspacePath,
                                       const travik::WorkspaceDocument& document,
                                       Cancelled cancelled) {
    ReopenedRecords reopened;
    for (const travik::WorkspaceFileEntry& entry : document.files) {
        if (cancelled()) {
            break;
        }
        ReopenWorkspaceFile(workspacePath, entry, document.analysis.g, reopened);
    }
    return reopened;
}

// The workspace of what the window holds: one file entry per reading of a file (records of
// no file are left out and named in `leftOut`), paths stored relative to `workspacePath`'s
// folder when below it.
travik::WorkspaceFileEntry StoredFileEntry(const std::filesystem::path& workspacePath,
                                           const RecordSource& source);
std::vector<travik::WorkspaceFileEntry> StoredFileEntries(
    const std::filesystem::path& workspacePath, const travik::RecordList& records,
    const RecordSources& sources, const std::vector<bool>& checks,
    std::vector<std::string>& leftOut);
