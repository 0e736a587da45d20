#pragma once

#include <QWidget>
#include <array>
#include <optional>
#include <vector>

#include "ui/app/FormHelpers.h"
#include "ui/app/PageCommands.h"

class QAction;
class QCheckBox;
class SpectraFigurePanel;
class ScalingPanel;
class ScaleToTarget;
class QComboBox;
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
class TwoComponentPanel;
class Workspace;
namespace travik {
class TimeHistory;
}

// The "Elastic Response Spectra" page: the record panel with the damping values, the
// analysis, the spectrum chart, the five result tables with copying out of them, and the
// response-spectra export.
class SpectraPage final : public QWidget, public PageCommands {
    Q_OBJECT
  public:
    SpectraPage(Workspace& workspace, PlatformServices& platform, QWidget* parent = nullptr);

    // The check-list menu's commands, on this page's list.
    void ChangeRecordChecks(CheckChange change) override;
    // File -> Save Chart As: the spectrum chart as an image, or the scaling figure while its
    // page is shown.
    void SaveChartAs() override;

  signals:
    // The check list asks for its menu at this global position.
    void checkListMenuRequested(const QPoint& globalPosition);

  private slots:
    void cbb6Change();
    void btn11Click();
    void btn10Click();
    void cbb5Change();
    void cbb7Change();
    void cht4MouseMove(const QPoint& viewPixel);
    void lst3Click();
    void lst3Change();
    void CopySelection1Click();
    void SelectAll1Click();
    void strngrd1KeyDown(int key, Qt::KeyboardModifiers modifiers);
    void strngrd2KeyDown(int key, Qt::KeyboardModifiers modifiers);
    void strngrd3KeyDown(int key, Qt::KeyboardModifiers modifiers);
    void strngrd4KeyDown(int key, Qt::KeyboardModifiers modifiers);
    void strngrd5KeyDown(int key, Qt::KeyboardModifiers modifiers);
    void strngrd6KeyDown(int key, Qt::KeyboardModifiers modifiers);
    void strngrdRotatedKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void RecordsReplaced();
    // The shared check marks changed, here or on another page.
    void ChecksChanged();
    void SpectraComputed();

  private:
    QWidget* CreateRecordPanel();
    QWidget* CreateGraphTab();
    void ConnectHandlers();
    // The damping ratios (fractions) of the damping edits in use; nothing after a warning
    // with the focus on the bad edit.
    std::optional<std::vector<double>> ReadDampingRatios();
    // Before an analysis of more than travik::kAnnouncedOscillatorSteps, asks whether to
    // start it, with the estimated time on this machine; false when the user declines.
    // Asks before work of more than kAnnouncedOscillatorSteps over these records' rows.
    bool LongAnalysisAccepted(const std::vector<int>& recordRows,
                              std::vector<double> dampingRatios);
    void ClearSpectrumTables();
    void FillSpectrumTables();
    // The checked records' statistics for the kind on the chart's Y axis.
    void FillStatisticsTable();
    // The two-component mode went on or off, or its pair or spectra changed: the chart and
    // the "Rotated" table follow.
    void ShowRotated();
    // The damping ratios of the edits, sorted and each once, for the two-component mode.
    std::optional<std::vector<double>> SortedDampingRatios();
    void ClearSpectrumChart();
    void PlotSpectra();
    StringGrid* TargetGrid() const;
    // Ctrl+A and Ctrl+C on the table of page `tablePage` of pgc2.
    void GridKeyDown(int tablePage, const StringGrid& grid, int key,
                     Qt::KeyboardModifiers modifiers);
    void ShowPlain(const std::string& message);

    Workspace& workspace_;
    PlatformServices& platform_;

    QSplitter* splLeft = nullptr;  // left column beside the results, widened by the user
    QGroupBox* grp4 = nullptr;     // "Time History Records", left column
    QLabel* lbl12 = nullptr;       // "Record"
    QComboBox* cbb4 = nullptr;
    QListWidget* lst3 = nullptr;
    QLabel* lbl16 = nullptr;  // "Number of Checked"
    QLineEdit* edt15 = nullptr;
    QLabel* lbl17 = nullptr;  // "Number of Records"
    QLineEdit* edt14 = nullptr;
    QGroupBox* grp5 = nullptr;                // "Viscous Damping Values (%)"
    QLabel* lbl14 = nullptr;                  // "No.of Damping Values"
    QComboBox* cbb6 = nullptr;                // "1" .. "9"
    std::array<QLineEdit*, 9> edits{};        // edt16 .. edt24
    QPushButton* btn11 = nullptr;             // "Analyze and Refresh"
    QPushButton* btn10 = nullptr;             // "Export Checked"
    QCheckBox* chkAccuracyColumns = nullptr;  // "Write accuracy columns"
    QPushButton* btnScale = nullptr;          // "Scale to Target…", the checked records
    ScalingPanel* scaling_ = nullptr;         // the scaled suite, its own page of pgc2
    ScaleToTarget* scaleToTarget_ = nullptr;
    SpectraFigurePanel* figures_ = nullptr;  // log axes, suites, targets, images
    QTabWidget* pgc2 = nullptr;              // "Graph" and the five tables
    QLabel* lbl13 = nullptr;                 // "X-Axis"
    QComboBox* cbb5 = nullptr;
    int abscissaBeforeAdrs_ = 0;  // cbb5's choice while the Sa-Sd chart shows displacement
    QLabel* lbl15 = nullptr;      // "Y-Axis"
    QComboBox* cbb7 = nullptr;
    QLabel* lbl2 = nullptr;                       // mouse readout
    QCheckBox* chkTwoComponents = nullptr;        // "Two components": H1 + H2 as one motion
    TwoComponentPanel* twoComponents_ = nullptr;  // its pairs and polar view, beside the chart
    StringGrid* rotated_ = nullptr;               // strngrdRotated, the "Rotated" table
    std::array<StringGrid*, 5> grids{};           // strngrd1 .. strngrd5
    StringGrid* statistics_ = nullptr;            // strngrd6, the checked records' statistics
    QMenu* pm2 = nullptr;                         // the five result tables
    QAction* CopySelection1 = nullptr;
    QAction* SelectAll1 = nullptr;
};
