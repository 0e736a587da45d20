#include "ui/frame/WorkspaceRecords.h"

#include <memory>
#include <system_error>

#include "core/records/RecordPreparation.h"
#include "core/text/ShownText.h"
#include "core/workspace/WorkspaceFile.h"

namespace {

// A record is stored with the correction and filter its corrected series carries.
travik::WorkspaceRecordSetup SetupOf(const travik::TimeHistory& record, bool checked) {
    travik::WorkspaceRecordSetup setup;
    setup.checked = checked;
    if (record.IsCorrected()) {
        setup.baseline = record.CorrectionType();
        setup.filter = record.Filter();
    }
    return setup;
}

}  // namespace

void ReopenWorkspaceFile(const std::filesystem::path& workspacePath,
                         const travik::WorkspaceFileEntry& entry, double gravity,
                         ReopenedRecords& into) {
    const travik::RecordFileCheck check = travik::CheckRecordFile(workspacePath, entry);
    if (check.message) {
        into.messages.push_back(*check.message);
    }
    if (!check.present) {
        return;
    }
    travik::ImportPlan plan;
    plan.read = entry.read;
    plan.gravity = gravity;
    travik::RecordList read;
    const travik::FileReading reading = travik::ReadRecordFileInto(plan, check.path.string(), read);
    into.messages.insert(into.messages.end(), reading.messages.begin(), reading.messages.end());
    auto source = std::make_shared<RecordSource>(check.path.string(), entry.read);
    for (int i = 0; i < read.Count(); ++i) {
        const auto at = static_cast<std::size_t>(i);
        const travik::WorkspaceRecordSetup setup =
            at < entry.records.size() ? entry.records[at] : travik::WorkspaceRecordSetup{};
        travik::ImportPlan prepared = plan;
        prepared.baseline = setup.baseline;
        prepared.filter = setup.filter;
        travik::TimeHistory& record = read.At(i);
        if (const auto misfit = travik::FilterMisfit(prepared, record)) {
            // The record is kept with its baseline correction only, and the user told why.
            into.messages.push_back("FILE: " + travik::ShownText(record.SourceFileName()) +
                                    ", WARNING: the filter is not applied: " + misfit->message);
            prepared.filter.reset();
        }
        const travik::RecordPreparation preparation = travik::PrepareRecord(prepared, record);
        if (preparation.message) {
            into.messages.push_back(*preparation.message);
        }
        into.sources.push_back(source);
        into.checks.push_back(setup.checked);
    }
    into.records.AppendAll(std::move(read));
}

travik::WorkspaceFileEntry StoredFileEntry(const std::filesystem::path& workspacePath,
                                           const RecordSource& source) {
    travik::WorkspaceFileEntry entry;
    entry.path = travik::StoredRecordPath(workspacePath, source.path);
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(source.path, error);
    if (!error) {
        entry.size = size;
    }
    entry.read = source.read;
    return entry;
}

std::vector<travik::WorkspaceFileEntry> StoredFileEntries(
    const std::filesystem::path& workspacePath, const travik::RecordList& records,
    const RecordSources& sources, const std::vector<bool>& checks,
    std::vector<std::string>& leftOut) {
    std::vector<travik::WorkspaceFileEntry> entries;
    const RecordSource* last = nullptr;
    for (int i = 0; i < records.Count(); ++i) {
        const auto at = static_cast<std::size_t>(i);
        const RecordSource* source = at < sources.size() ? sources[at].get() : nullptr;
        if (source == nullptr) {
            leftOut.push_back(records.At(i).SourceFileName());
            continue;
        }
        if (source != last) {
            entries.push_back(StoredFileEntry(workspacePath, *source));
            last = source;
        }
        const bool checked = at < checks.size() && checks[at];
        entries.back().records.push_back(SetupOf(records.At(i), checked));
    }
    return entries;
}
