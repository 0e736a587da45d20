#pragma once

#include <string>
#include <string_view>

#include "core/workspace/WorkspaceDocument.h"

namespace travik {

// The workspace as JSON text (UTF-8, two-space indents, a final line end). Numbers are
// written with the shortest digits that read back to the same double.
std::string WorkspaceToJson(const WorkspaceDocument& document);

// Reads a workspace's JSON text; `fileName` names it in every message. Refuses text that is
// not JSON, lacks the marker or an integer version, or holds a value today's checks refuse
// (the message names the field); fields it does not know are ignored with a warning.
WorkspaceReadResult ParseWorkspaceJson(std::string_view text, const std::string& fileName);

}  // namespace travik
