#pragma once

#include <QObject>
#include <QString>

class QAction;
class QMainWindow;
class QMenu;
class PlatformServices;
class Workspace;

// File → Save Workspace… (Ctrl+S) and Open Workspace…: the session as a workspace file
// (.travik) written and read by the core's workspace code. Saving keeps the record files
// with their reading parameters, each record's correction, filter and check mark, the
// analysis settings, the damping values and the spectrum chart's choices; opening reads the
// files again and recomputes, so no result is stored twice.
class WorkspaceFiles final : public QObject {
    Q_OBJECT
  public:
    // Adds the two commands to `fileMenu`, before `before` (at the end when null).
    WorkspaceFiles(QMainWindow& window, Workspace& workspace, QMenu& fileMenu, QAction* before,
                   PlatformServices& platform);

    // Writes the session to `path`; true when written. A failure is shown and leaves any
    // earlier file of that name as it was.
    bool SaveTo(const QString& path);
    // Opens the workspace at `path`: a refused one is shown, naming the file and the field,
    // and changes nothing; missing record files are named and the rest opens.
    void OpenFrom(const QString& path);

  signals:
    // A workspace was opened (its records are in the workspace).
    void opened(const QString& path);

  private:
    void SaveClick();
    void OpenClick();
    // The folder of the workspace saved or opened last, where the dialog starts next time
    // (in this run and the next).
    void RememberFolder(const QString& workspacePath);

    QMainWindow& window_;
    Workspace& workspace_;
    PlatformServices& platform_;
    QAction* save_ = nullptr;  // SaveWorkspace1, "Save Workspace…"
    QAction* open_ = nullptr;  // OpenWorkspace1, "Open Workspace…"
    QString lastFolder_;
};
