#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <vector>

#include "core/records/RecordFileReader.h"
#include "ui/app/FormHelpers.h"
#include "ui/app/Workspace.h"

class QAction;
class QMenu;
class QMimeData;
class QTabWidget;
class PageCommands;
class PlatformServices;
class RecordsPage;
class RecentRecords;
class SettingsMemory;
class SpectraPage;
class StatusFields;
class MeasuresPage;
class TForm2;
class TForm3;
class WorkspaceFiles;

// The main window: the frame around the pages. It owns the workspace the pages share, the
// menus, the page control and the status bar, opens the import, settings and about windows
// and passes what they return to the workspace. Each page owns its controls and handlers.
class TForm1 : public QMainWindow {
    Q_OBJECT
  public:
    explicit TForm1(PlatformServices& platform, QWidget* parent = nullptr);
    ~TForm1() override;

    // Opens files named on the command line: a workspace (.travik, the first file), else
    // record files, each read with its format detected as a dropped file is.
    void OpenGivenFiles(const std::vector<std::string>& paths);

    Workspace& Document() { return workspace_; }
    const Workspace& Document() const { return workspace_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private slots:
    void FormResize();
    void pgc1Change(int index);
    void FormDestroy();
    void AboutDIVU1Click();
    void ImportTimeHistoryRecords1Click();
    void Setting1Click();
    void CheckAll1Click();
    void InvertCheck1Click();
    void InvertCheck2Click();

  private:
    // Adds a page to pgc1 with its caption and the status-bar tip shown while it is current.
    void AddPage(QWidget* page, const char* name, const QString& caption, const QString& tip);
    void CreateMenus();
    // Opens "Input File Parameters", with these files chosen and previewed when there are any.
    void OpenImport(const QStringList& dropped);
    // Files or folders dropped anywhere on the window: the import window with them chosen.
    void FilesDropped(const QMimeData& dropped);
    // Reads the files as one import off the window's thread and hands the records to the
    // workspace (added to the loaded ones when `append`); reader messages as warnings.
    void ImportFiles(std::vector<std::string> paths, const travik::RecordReadOptions& options,
                     bool append);
    // The page in view, which answers the menus' page commands.
    PageCommands* PageShown() const;
    // The check-list menu's command on the list of the page shown.
    void ChangeRecordChecksOfPageShown(CheckChange change);

    PlatformServices& platform_;
    Workspace workspace_;

    QMenu* File1 = nullptr;
    QAction* SaveChartAs1 = nullptr;  // the current page's chart as an image
    QMenu* Options1 = nullptr;
    QMenu* Help1 = nullptr;
    QAction* ImportTimeHistoryRecords1 = nullptr;  // "Import Time History Records"
    QAction* Setting1 = nullptr;                   // "Analysis Settings"
    QAction* about_ = nullptr;                     // AboutDIVU1, "About TRAVIK"
    QMenu* pm1 = nullptr;                          // record check lists of every page
    QAction* checkAll_ = nullptr;                  // CheckAll1, "Check All"
    QAction* checkNone_ = nullptr;                 // InvertCheck1, "Check None"
    QAction* invertCheck_ = nullptr;               // InvertCheck2, "Invert Check"

    QTabWidget* pgc1 = nullptr;
    RecordsPage* records_ = nullptr;    // ts1, "Time History Records"
    SpectraPage* spectra_ = nullptr;    // ts2, "Elastic Response Spectra"
    MeasuresPage* measures_ = nullptr;  // ts3, "Ground Motion Parameters"
    std::vector<QString> pageTips_;     // per page of pgc1

    StatusFields* statusFields_ = nullptr;      // rzstsbr1 and its fields
    SettingsMemory* memory_ = nullptr;          // what is remembered between runs
    RecentRecords* recent_ = nullptr;           // File → Recent Records
    WorkspaceFiles* workspaceFiles_ = nullptr;  // File → Open/Save Workspace…

    QPointer<TForm2> Form2;
    QPointer<TForm3> Form3;
    bool centred_ = false;
    bool destroyed_ = false;
};
