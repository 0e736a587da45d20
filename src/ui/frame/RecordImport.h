#pragma once

#include <QStringList>
#include <string>
#include <vector>

#include "core/records/RecordFileReader.h"

class PlatformServices;
class QWidget;
class Workspace;

// Reads record files as one import off the window's thread, a file at a time so that Cancel
// is heard between two files, and hands the records to the workspace (added to the loaded
// ones when `append`). The readers' messages are shown as warnings over `window`.
void StartRecordImport(Workspace& workspace, PlatformServices& platform, QWidget* window,
                       std::vector<std::string> paths, const travik::RecordReadOptions& options,
                       bool append);

// File names as the windows show them, and back as this machine's paths.
std::vector<std::string> LocalPaths(const QStringList& files);
QStringList FileNames(const std::vector<std::string>& paths);
