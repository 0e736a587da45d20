#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "core/workspace/WorkspaceDocument.h"

namespace travik {

// Largest workspace file read (bytes): a workspace lists files and settings, a few
// kilobytes; anything this large is not one, and is refused before it fills the memory.
inline constexpr std::uintmax_t kMaxWorkspaceFileBytes = 16 * 1024 * 1024;

// Reads and checks a workspace file; every message names `path`.
WorkspaceReadResult ReadWorkspaceFile(const std::filesystem::path& path);

// Writes the workspace through a temporary file beside `path` and one rename, so that a
// failure leaves any earlier file of that name intact. Returns the message of the failure
// (naming the file), or nothing.
std::optional<std::string> WriteWorkspaceFile(const std::filesystem::path& path,
                                              const WorkspaceDocument& document);

// The path a workspace at `workspacePath` stores for a record file: relative to the
// workspace's folder when the record lies below it, else absolute; '/' between names.
std::string StoredRecordPath(const std::filesystem::path& workspacePath,
                             const std::filesystem::path& recordPath);

// The path to open for a stored record path (StoredRecordPath's inverse).
std::filesystem::path ResolveRecordPath(const std::filesystem::path& workspacePath,
                                        const std::string& storedPath);

// How a workspace's record file stands before it is read again: missing (the line naming it
// is the message), or there with a warning when its size differs from the stored one.
struct RecordFileCheck {
    std::filesystem::path path;  // resolved
    bool present = false;
    std::optional<std::string> message;  // the refusal when missing, else the size warning
};
RecordFileCheck CheckRecordFile(const std::filesystem::path& workspacePath,
                                const WorkspaceFileEntry& entry);

}  // namespace travik
