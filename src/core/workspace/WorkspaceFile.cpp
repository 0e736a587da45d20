#include "core/workspace/WorkspaceFile.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

#include "core/export/ReportFile.h"
#include "core/workspace/WorkspaceJson.h"

namespace travik {
namespace {

std::string Shown(const std::filesystem::path& path) {
    return path.string();
}

}  // namespace

WorkspaceReadResult ReadWorkspaceFile(const std::filesystem::path& path) {
    WorkspaceReadResult refused;
    refused.fileName = Shown(path);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        refused.error = "Cannot open the workspace " + Shown(path) +
                        (std::filesystem::exists(path, error) ? ": it is not a file"
                                                              : ": there is no such file");
        return refused;
    }
    const std::uintmax_t bytes = std::filesystem::file_size(path, error);
    if (error || bytes > kMaxWorkspaceFileBytes) {
        refused.error = "Cannot open the workspace " + Shown(path) +
                        (error ? ": " + error.message() : ": it is too large to be a workspace");
        return refused;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in.good() && !in.eof()) {
        refused.error = "Cannot open the workspace " + Shown(path) + ": it cannot be read";
        return refused;
    }
    return ParseWorkspaceJson(text.str(), Shown(path));
}

std::optional<std::string> WriteWorkspaceFile(const std::filesystem::path& path,
                                              const WorkspaceDocument& document) {
    try {
        ReportFile file(path);
        file.WriteBytes(WorkspaceToJson(document));
        file.Commit();
    } catch (const ReportWriteError& error) {
        return "Cannot save the workspace " + Shown(path) + ": " + error.what();
    }
    return std::nullopt;
}

std::string StoredRecordPath(const std::filesystem::path& workspacePath,
                             const std::filesystem::path& recordPath) {
    const std::filesystem::path folder =
        std::filesystem::absolute(workspacePath).lexically_normal().parent_path();
    const std::filesystem::path record = std::filesystem::absolute(recordPath).lexically_normal();
    const std::filesystem::path relative = record.lexically_relative(folder);
    const bool below = !relative.empty() && *relative.begin() != "..";
    return (below ? relative : record).generic_string();
}

std::filesystem::path ResolveRecordPath(const std::filesystem::path& workspacePath,
                                        const std::string& storedPath) {
    const std::filesystem::path stored(storedPath);
    if (stored.is_absolute()) {
        return stored;
    }
    return (std::filesystem::absolute(workspacePath).parent_path() / stored).lexically_normal();
}

RecordFileCheck CheckRecordFile(const std::filesystem::path& workspacePath,
                                const WorkspaceFileEntry& entry) {
    RecordFileCheck check;
    check.path = ResolveRecordPath(workspacePath, entry.path);
    std::error_code error;
    if (!std::filesystem::is_regular_file(check.path, error)) {
        check.message = "The record file " + Shown(check.path) + " of the workspace " +
                        Shown(workspacePath) + " is missing";
        return check;
    }
    check.present = true;
    const std::uintmax_t bytes = std::filesystem::file_size(check.path, error);
    if (entry.size && !error && bytes != *entry.size) {
        check.message = "WARNING: The record file " + Shown(check.path) + " has " +
                        std::to_string(bytes) + " bytes, not the " + std::to_string(*entry.size) +
                        " it had when the workspace was saved: it may have changed";
    }
    return check;
}

}  // namespace travik
