#include "WorkspaceOptions.h"

#include <charconv>
#include <filesystem>
#include <memory>

#include "core/analysis/DampingValues.h"
#include "core/analysis/SpectraComputation.h"
#include "core/workspace/WorkspaceFile.h"

namespace travik::cli {
namespace {

// The shortest text that reads back to the same double ('.' as the decimal point).
std::string ExactText(double value) {
    char buffer[64];
    const std::to_chars_result written = std::to_chars(buffer, buffer + sizeof buffer, value);
    return {buffer, written.ptr};
}

void TakeAnalysis(WorkspaceImport& analysis, const WorkspaceDocument& document) {
    analysis.settings = document.analysis;
    // As the damping edits convert their percentages.
    for (const double percent : document.dampingPercents) {
        analysis.dampingRatios.push_back(percent * 0.01);
    }
    SortAndRemoveRepeatedRatios(analysis.dampingRatios);
    analysis.periods = analysis.settings.Periods();
}

void AddFile(WorkspaceImport& import, const WorkspaceFileEntry& entry,
             const std::filesystem::path& path, double gravity) {
    import.files.push_back(path.string());
    ImportPlan file;
    file.read = entry.read;
    file.gravity = gravity;
    import.filePlans.push_back(file);
    std::vector<ImportPlan>& records = import.recordPlans.emplace_back();
    for (const WorkspaceRecordSetup& setup : entry.records) {
        ImportPlan record = file;
        record.baseline = setup.baseline;
        record.filter = setup.filter;
        records.push_back(record);
    }
}

}  // namespace

WorkspaceImport LoadWorkspaceImport(const std::string& path) {
    const WorkspaceReadResult read = ReadWorkspaceFile(path);
    if (!read.ok()) {
        throw CLI::ValidationError(read.error);
    }
    WorkspaceImport import;
    import.path = path;
    import.notes = read.warnings;
    const WorkspaceDocument& document = *read.document;
    for (const WorkspaceFileEntry& entry : document.files) {
        const RecordFileCheck check = CheckRecordFile(path, entry);
        if (check.message) {
            import.notes.push_back(*check.message);
        }
        if (!check.present) {
            import.filesMissing = true;
            continue;
        }
        AddFile(import, entry, check.path, document.analysis.g);
    }
    TakeAnalysis(import, document);
    return import;
}

void AddWorkspaceOption(CLI::App& command, WorkspaceTargets targets, CLI::Option* files) {
    CLI::Option* workspace =
        command
            .add_option(
                "--workspace", targets.path,
                "A TRAVIK workspace (.travik) in place of FILE: every record of it, checked "
                "or not, read and corrected as it says, with its analysis settings and "
                "damping values")
            ->excludes(files);
    command.parse_complete_callback([targets, files, workspace] {
        if (workspace->count() == 0) {
            if (files->count() == 0) {
                throw CLI::RequiredError("FILE");
            }
            return;
        }
        auto import = std::make_shared<WorkspaceImport>(LoadWorkspaceImport(targets.path));
        targets.files = import->files;
        targets.gravity = ExactText(import->settings.g);
        targets.workspace = std::move(import);
    });
}

const ImportPlan& PlanOfFile(const WorkspaceImport* workspace, const ImportPlan& common,
                             std::size_t file) {
    if (workspace == nullptr || file >= workspace->filePlans.size()) {
        return common;
    }
    return workspace->filePlans[file];
}

const ImportPlan& PlanOfRecord(const WorkspaceImport* workspace, const ImportPlan& common,
                               std::size_t file, std::size_t record) {
    if (workspace == nullptr || file >= workspace->recordPlans.size()) {
        return common;
    }
    const std::vector<ImportPlan>& records = workspace->recordPlans[file];
    return record < records.size() ? records[record] : workspace->filePlans[file];
}

bool TellWorkspaceNotes(const WorkspaceImport* workspace, std::ostream& err) {
    if (workspace == nullptr) {
        return false;
    }
    for (const std::string& note : workspace->notes) {
        err << note << '\n';
    }
    return workspace->filesMissing;
}

}  // namespace travik::cli
