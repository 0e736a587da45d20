#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/export/ReportHeader.h"
#include "core/records/TimeHistory.h"
#include "ui/app/BackgroundWork.h"

class QListWidget;
class QWidget;
class PlatformServices;
class Workspace;

// The steps both exports of checked records share.

// True when one to kMaxExportNumber records are checked in `list`; otherwise shows the
// refusal (nothing checked, or `limitMessage`) over `window` and returns false.
bool ExportCountAccepted(const QListWidget* list, const std::string& limitMessage,
                         PlatformServices& platform, QWidget* window);

// Asks for the export folder, starting in the one chosen last (the program's folder the
// first time); false when the user cancelled. Remembers the choice in the workspace.
bool ChooseExportFolder(Workspace& workspace, PlatformServices& platform, QWidget* window,
                        QString& folder);

// Asks, listing them, before reports already in `folder` would be replaced by those of the
// records at `rows` (one report per record and suffix, named as the writing names them);
// true when none exists or the user answers Yes.
bool ReplacingReportsAccepted(const std::vector<int>& rows, const travik::RecordList& records,
                              const QString& folder, const std::vector<const char*>& suffixes,
                              PlatformServices& platform, QWidget* window);

// Tells in the main window's status bar how many reports were written into which folder,
// beside the "Done!" box the exports end with.
void ShowReportsWritten(QWidget* window, std::size_t count, const QString& folder);

// Builds and writes the report of every record checked in `list`, in record order, into
// `folder`; stops at the first report that cannot be built or written and returns its
// error text. Reports written before it stay.
// The rows of `list` whose items are checked, in list order.
std::vector<int> CheckedRows(const QListWidget* list);

// As WriteCheckedReports for the records at `indexes`, away from any list, so that it can
// run off the window's thread. With `control`, progress goes there after every report and a
// cancel stops before the next one (the reports written stay).
std::optional<QString> WriteReportsOf(
    const std::vector<int>& indexes, const travik::RecordList& records, const QString& folder,
    const char* suffix,
    const std::function<void(travik::ReportLines&, const travik::TimeHistory&)>& buildReport,
    BackgroundWork::Control* control = nullptr);

std::optional<QString> WriteCheckedReports(
    const QListWidget* list, const travik::RecordList& records, const QString& folder,
    const char* suffix,
    const std::function<void(travik::ReportLines&, const travik::TimeHistory&)>& buildReport);
