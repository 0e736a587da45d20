#include "ui/app/CheckedExport.h"

#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QMainWindow>
#include <QStatusBar>
#include <QStringList>
#include <exception>
#include <filesystem>

#include "core/export/ExportMessages.h"
#include "ui/app/FormHelpers.h"
#include "ui/app/PlatformServices.h"
#include "ui/app/StartFolders.h"
#include "ui/app/Workspace.h"

bool ExportCountAccepted(const QListWidget* list, const std::string& limitMessage,
                         PlatformServices& platform, QWidget* window) {
    const int checked = CountChecked(list);
    if (checked == 0) {
        platform.ShowMessage(window, PlatformServices::MessageKind::Information,
                             QString::fromLatin1(travik::kNothingCheckedMessage));
        return false;
    }
    if (checked > travik::kMaxExportNumber) {
        platform.ShowMessage(window, PlatformServices::MessageKind::Information,
                             QString::fromStdString(limitMessage));
        return false;
    }
    return true;
}

bool ChooseExportFolder(Workspace& workspace, PlatformServices& platform, QWidget* window,
                        QString& folder) {
    const QString chosen = platform.ChooseFolder(window, StartFolder(workspace.ExportFolder()));
    if (chosen.isEmpty()) {
        return false;
    }
    workspace.SetExportFolder(chosen);
    folder = chosen;
    return true;
}

std::vector<int> CheckedRows(const QListWidget* list) {
    std::vector<int> rows;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->checkState() == Qt::Checked) {
            rows.push_back(i);
        }
    }
    return rows;
}

std::optional<QString> WriteReportsOf(
    const std::vector<int>& indexes, const travik::RecordList& records, const QString& folder,
    const char* suffix,
    const std::function<void(travik::ReportLines&, const travik::TimeHistory&)>& buildReport,
    BackgroundWork::Control* control) {
    travik::ReportPathPlanner planner;
    try {
        travik::ReportLines lines;
        std::size_t done = 0;
        for (const int i : indexes) {
            if (control != nullptr && control->Cancelled()) {
                break;
            }
            if (i < 0 || i >= records.Count()) {
                continue;
            }
            const travik::TimeHistory& record = records.At(i);
            buildReport(lines, record);
            travik::WriteReport(planner.Next(ToPath(folder), record.SourceFileName(), suffix),
                                lines);
            if (control != nullptr) {
                control->Progress(static_cast<double>(++done) /
                                  static_cast<double>(indexes.size()));
            }
        }
    } catch (const std::exception& error) {
        return QString::fromStdString(error.what());
    }
    return std::nullopt;
}

std::optional<QString> WriteCheckedReports(
    const QListWidget* list, const travik::RecordList& records, const QString& folder,
    const char* suffix,
    const std::function<void(travik::ReportLines&, const travik::TimeHistory&)>& buildReport) {
    return WriteReportsOf(CheckedRows(list), records, folder, suffix, buildReport);
}

bool ReplacingReportsAccepted(const std::vector<int>& rows, const travik::RecordList& records,
                              const QString& folder, const std::vector<const char*>& suffixes,
                              PlatformServices& platform, QWidget* window) {
    QStringList existing;
    for (const char* suffix : suffixes) {
        travik::ReportPathPlanner planner;  // the writing's own naming, repeats included
        for (const int row : rows) {
            if (row < 0 || row >= records.Count()) {
                continue;
            }
            const std::filesystem::path path =
                planner.Next(ToPath(folder), records.At(row).SourceFileName(), suffix);
            std::error_code error;
            if (std::filesystem::exists(path, error)) {
                existing << QString::fromStdString(path.filename().string());
            }
        }
    }
    if (existing.isEmpty()) {
        return true;
    }
    return platform.Confirm(
        window, QStringLiteral("These reports already exist in %1:\n%2\n"
                               "Replace them?")
                    .arg(QDir::toNativeSeparators(folder), existing.join(QLatin1Char('\n'))));
}

void ShowReportsWritten(QWidget* window, std::size_t count, const QString& folder) {
    auto* main = qobject_cast<QMainWindow*>(window);
    if (main == nullptr) {
        return;
    }
    constexpr int kShownMilliseconds = 15000;
    main->statusBar()->showMessage(
        QStringLiteral("%1 %2 written to %3")
            .arg(count)
            .arg(count == 1 ? QStringLiteral("report") : QStringLiteral("reports"),
                 QDir::toNativeSeparators(folder)),
        kShownMilliseconds);
}
