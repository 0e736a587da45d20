#include "ui/frame/WorkspaceFiles.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QSettings>
#include <QStringList>
#include <filesystem>
#include <memory>

#include "core/text/ShownText.h"
#include "core/workspace/WorkspaceFile.h"
#include "ui/app/FormHelpers.h"
#include "ui/app/PlatformServices.h"
#include "ui/app/StartFolders.h"
#include "ui/app/Workspace.h"
#include "ui/frame/SessionControls.h"
#include "ui/frame/WorkspaceRecords.h"

namespace {

constexpr const char* kFolderKey = "folders/workspace";

std::filesystem::path LocalPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString Lines(const std::vector<std::string>& lines) {
    QStringList texts;
    for (const std::string& line : lines) {
        texts << QString::fromStdString(line);
    }
    return texts.join(QLatin1Char('\n'));
}

}  // namespace

WorkspaceFiles::WorkspaceFiles(QMainWindow& window, Workspace& workspace, QMenu& fileMenu,
                               QAction* before, PlatformServices& platform)
    : QObject(&window), window_(window), workspace_(workspace), platform_(platform) {
    open_ = Named(new QAction(QStringLiteral("Open Workspace…"), &fileMenu), "OpenWorkspace1");
    save_ = Named(new QAction(QStringLiteral("Save Workspace…"), &fileMenu), "SaveWorkspace1");
    save_->setShortcut(QKeySequence::Save);
    fileMenu.insertAction(before, open_);
    fileMenu.insertAction(before, save_);
    if (const QSettings* store = platform_.RememberedSettingsStore()) {
        lastFolder_ = store->value(QString::fromLatin1(kFolderKey)).toString();
    }
    connect(open_, &QAction::triggered, this, &WorkspaceFiles::OpenClick);
    connect(save_, &QAction::triggered, this, &WorkspaceFiles::SaveClick);
    connect(&workspace_.Work(), &BackgroundWork::busyChanged, this, [this](bool busy) {
        open_->setEnabled(!busy);
        save_->setEnabled(!busy);
    });
}

void WorkspaceFiles::SaveClick() {
    const QString path = platform_.ChooseWorkspaceFile(&window_, true, StartFolder(lastFolder_));
    if (!path.isEmpty()) {
        SaveTo(path);
    }
}

void WorkspaceFiles::OpenClick() {
    const QString path = platform_.ChooseWorkspaceFile(&window_, false, StartFolder(lastFolder_));
    if (!path.isEmpty()) {
        OpenFrom(path);
    }
}

void WorkspaceFiles::RememberFolder(const QString& workspacePath) {
    lastFolder_ = QFileInfo(workspacePath).absolutePath();
    if (QSettings* store = platform_.RememberedSettingsStore()) {
        store->setValue(QString::fromLatin1(kFolderKey), lastFolder_);
    }
}

bool WorkspaceFiles::SaveTo(const QString& path) {
    const auto warn = [this](const QString& text) {
        platform_.ShowMessage(&window_, PlatformServices::MessageKind::Warning, text);
    };
    travik::WorkspaceDocument document;
    QString dampingError;
    const std::optional<std::vector<double>> damping =
        CaptureDampingPercents(window_, dampingError);
    if (!damping) {
        warn(dampingError);
        return false;
    }
    document.dampingPercents = *damping;
    document.analysis = workspace_.Settings();
    document.figures = CaptureFigureChoices(window_);
    std::vector<std::string> leftOut;
    const std::filesystem::path file = LocalPath(path);
    document.files = StoredFileEntries(file, workspace_.Records(), workspace_.Sources(),
                                       CaptureCheckMarks(window_), leftOut);
    if (const std::optional<std::string> failure = travik::WriteWorkspaceFile(file, document)) {
        warn(QString::fromStdString(*failure));
        return false;
    }
    RememberFolder(path);
    if (!leftOut.empty()) {
        warn(QStringLiteral("These records were read from no file and are not in %1:\n%2")
                 .arg(path, Lines(leftOut)));
    }
    return true;
}

void WorkspaceFiles::OpenFrom(const QString& path) {
    const std::filesystem::path file = LocalPath(path);
    auto read = std::make_shared<travik::WorkspaceReadResult>(travik::ReadWorkspaceFile(file));
    if (!read->ok()) {
        platform_.ShowMessage(&window_, PlatformServices::MessageKind::Warning,
                              QString::fromStdString(read->error));
        return;
    }
    RememberFolder(path);
    workspace_.Work().Start<ReopenedRecords>(
        QStringLiteral("Opening %1").arg(QFileInfo(path).fileName()),
        [file, read](BackgroundWork::Control& control) {
            return ReopenWorkspaceRecords(file, *read->document,
                                          [&control] { return control.Cancelled(); });
        },
        [this, read, path](ReopenedRecords&& reopened) {
            const travik::WorkspaceDocument& document = *read->document;
            workspace_.SetSettings(document.analysis);
            workspace_.ReplaceRecords(std::move(reopened.records), std::move(reopened.sources));
            // Through the shared marks, which every page's list shows.
            CheckMarks& checks = workspace_.Checks();
            for (std::size_t i = 0; i < reopened.checks.size(); ++i) {
                if (static_cast<int>(i) < checks.Count()) {
                    checks.SetChecked(static_cast<int>(i), reopened.checks[i]);
                }
            }
            ApplyDampingPercents(window_, document.dampingPercents);
            ApplyFigureChoices(window_, document.figures);
            std::vector<std::string> notes = read->warnings;
            notes.insert(notes.end(), reopened.messages.begin(), reopened.messages.end());
            if (!notes.empty()) {
                platform_.ShowMessage(&window_, PlatformServices::MessageKind::Warning,
                                      Lines(notes));
            }
            emit opened(path);
        });
}
