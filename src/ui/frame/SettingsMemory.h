#pragma once

#include <QObject>
#include <QString>
#include <optional>

#include "core/analysis/AnalysisSettings.h"

class QAction;
class QMainWindow;
class QMenu;
class QSettings;
class PlatformServices;
class Workspace;

// What the main window remembers between runs, in the platform's settings store: the
// analysis settings after each accepted update, the export folder, the window's geometry
// and, at the end of a run, the damping values, the spectrum chart's choices and the
// splitters' positions. A stored value that today's checks refuse is ignored and the default kept.
// Options → Reset All Settings forgets everything stored.
class SettingsMemory final : public QObject {
    Q_OBJECT
  public:
    // Adds "Reset All Settings" to `optionsMenu`. Nothing is remembered when the platform
    // offers no store.
    SettingsMemory(QMainWindow& window, Workspace& workspace, QMenu& optionsMenu,
                   PlatformServices& platform);

    // Puts the stored settings into the workspace and the window; true when the window's
    // geometry was restored (it is then not centred again).
    bool Restore();
    // Stores what is remembered at the end of a run (the window's geometry, the folders),
    // unless everything was just reset.
    void RememberAtClose();

  private:
    // The damping values, the spectrum chart's choices and the splitters' positions.
    void RestoreControls();
    void RememberControls();
    void StoreSettings(const travik::AnalysisSettings& settings);
    void ResetAll();
    // Writes the store out; a store that cannot be written is reported once, and the
    // program goes on with what it holds.
    void Sync();

    QMainWindow& window_;
    Workspace& workspace_;
    PlatformServices& platform_;
    QSettings* store_ = nullptr;
    QAction* reset_ = nullptr;  // ResetAllSettings1, "Reset All Settings"
    bool resetSinceLastChange_ = false;
    bool failureShown_ = false;
};

// The analysis settings stored in `store` (group "analysis"), or nothing when any of them is
// missing, is no number, or the set fails the settings window's checks.
std::optional<travik::AnalysisSettings> StoredAnalysisSettings(const QSettings& store);
