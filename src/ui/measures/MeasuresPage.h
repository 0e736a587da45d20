#pragma once

#include <QWidget>
#include <optional>
#include <vector>

#include "core/measures/GroundMotionMeasures.h"
#include "ui/app/FormHelpers.h"
#include "ui/app/PageCommands.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QSplitter;
class QTabWidget;
class PlatformServices;
class StringGrid;
class Workspace;
namespace travik::figures {
class FigureView;
}

// The "Ground Motion Parameters" page: the selected record's measures as a table (name,
// value, unit, note), its Husid curve with the 5, 75 and 95 % marks and its Fourier
// amplitude spectrum, raw and smoothed, on log-log axes; a table of the checked records
// side by side; copying out of both tables and the measures export of the checked records.
class MeasuresPage final : public QWidget, public PageCommands {
    Q_OBJECT
  public:
    MeasuresPage(Workspace& workspace, PlatformServices& platform, QWidget* parent = nullptr);
    ~MeasuresPage() override;

    // The check-list menu's commands, on this page's list.
    void ChangeRecordChecks(CheckChange change) override;
    // The Husid and Fourier charts of the selected record, one above the other.
    void SaveChartAs() override;

  signals:
    // The check list asks for its menu at this global position.
    void checkListMenuRequested(const QPoint& globalPosition);

  private slots:
    void lstMeasuresClick();
    void lstMeasuresChange();
    void btnMeasuresExportClick();
    void CopyMeasuresClick();
    void SelectAllMeasuresClick();
    void grdMeasuresKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void grdMeasuresCheckedKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void RecordsReplaced();
    // The shared check marks changed, here or on another page.
    void ChecksChanged();
    void RecordChanged(int index);
    void SettingsChanged();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // The measures of a record include a 5 % spectrum, which takes long on a long record:
    // they are computed when the page is in view, not on every import or settings change.
    bool DeferredWhileHidden();
    bool stale_ = false;
    // The measures of record `index`, computed once per record, correction and settings.
    const travik::GroundMotionMeasures& MeasuresOf(int index);
    QWidget* CreateSelectedRecordTab();
    void ShowSelectedRecord();
    void ClearSelectedRecord();
    void FillCheckedTable();
    StringGrid* TargetGrid() const;
    void GridKeyDown(StringGrid& grid, int key, Qt::KeyboardModifiers modifiers);

    Workspace& workspace_;
    PlatformServices& platform_;
    std::vector<std::optional<travik::GroundMotionMeasures>> measures_;  // per record
    StringGrid* menuGrid_ = nullptr;  // the table the context menu was opened on

    QGroupBox* grpMeasuresRecords = nullptr;            // "Time History Records", left column
    QListWidget* lstMeasures = nullptr;                 // record check list
    QLineEdit* edtMeasuresChecked = nullptr;            // "Number of Checked"
    QLineEdit* edtMeasuresRecords = nullptr;            // "Number of Records"
    QPushButton* btnMeasuresExport = nullptr;           // "Export Checked"
    QTabWidget* pgcMeasures = nullptr;                  // "Selected Record", "Checked Records"
    StringGrid* grdMeasures = nullptr;                  // the selected record's measures
    StringGrid* grdMeasuresChecked = nullptr;           // one row per checked record
    travik::figures::FigureView* chtHusid = nullptr;    // Husid curve and its marks
    travik::figures::FigureView* chtFourier = nullptr;  // Fourier amplitude spectrum
    QMenu* pmMeasures = nullptr;
    QAction* CopyMeasures = nullptr;
    QAction* SelectAllMeasures = nullptr;
};
