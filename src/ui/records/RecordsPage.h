#pragma once

#include <QPointer>
#include <QWidget>
#include <optional>

#include "core/records/FilterSettings.h"
#include "ui/app/FormHelpers.h"
#include "ui/app/PageCommands.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSplitter;
class PlatformServices;
class TForm4;
class Workspace;

namespace travik {
class TimeHistory;
}
namespace travik::figures {
class FigureView;
}

// The "Time History Records" page: the record check list, baseline correction, the
// time-history export, the detailed-data window and the acceleration, velocity and
// displacement charts of the selected record.
class RecordsPage final : public QWidget, public PageCommands {
    Q_OBJECT
  public:
    RecordsPage(Workspace& workspace, PlatformServices& platform, QWidget* parent = nullptr);
    ~RecordsPage() override;

    // The check-list menu's commands, on this page's list.
    void ChangeRecordChecks(CheckChange change) override;
    // Puts the chart splits back to their shares of the graph's height.
    void FitChartSplits();
    // File -> Save Chart As: the three charts of the selected record, stacked, as an image.
    void SaveChartAs() override;

  signals:
    // "Import Data": the frame runs the import.
    void importRequested();
    // The check list asks for its menu at this global position.
    void checkListMenuRequested(const QPoint& globalPosition);

  private slots:
    void btn1Click();
    void btn7Click();
    void lst1Click();
    void lst1Change();
    void btn2Click();
    void btn4Click();
    void btnFilterClick();
    void btn3Click();
    void RecordsReplaced();
    // The shared check marks changed, here or on another page.
    void ChecksChanged();

  private:
    void CreateRecordColumn();
    // Sets or removes the filter of record `index` as a background job.
    void FilterRecord(int index, const std::optional<travik::FilterSettings>& filter);
    void CreateGraph();
    void ClearTimeHistoryCharts();
    void ShowSelectedRecord();
    // The popup menu of time-history chart `chart` (0 to 2) at a global position.
    void PopUpChartMenu(int chart, const QPoint& globalPosition);

    Workspace& workspace_;
    PlatformServices& platform_;

    QGroupBox* grp1 = nullptr;    // "Time History Records", left column
    QPushButton* btn1 = nullptr;  // "Import Data"
    QPushButton* btn7 = nullptr;  // "Clear Data"
    QListWidget* lst1 = nullptr;  // record check list
    QLabel* lbl3 = nullptr;       // "Number of Checked"
    QLineEdit* edt3 = nullptr;
    QLabel* lbl1 = nullptr;  // "Number of Records"
    QLineEdit* edt1 = nullptr;
    QPushButton* btn2 = nullptr;       // "Detailed Data"
    QGroupBox* grp3 = nullptr;         // "Base Line Correction"
    QRadioButton* rb1 = nullptr;       // "Linear"
    QRadioButton* rb2 = nullptr;       // "Parabolic"
    QRadioButton* rb3 = nullptr;       // "No Baseline Correction"
    QPushButton* btn4 = nullptr;       // "Apply Baseline Correction"
    QPushButton* btnFilter = nullptr;  // "Filter…": the Butterworth filter of the record
    QPushButton* btn3 = nullptr;       // "Export Checked Data"
    QSplitter* splLeft = nullptr;      // left column beside the graph, widened by the user
    QGroupBox* grp2 = nullptr;         // "Graph", right area
    QSplitter* spl1 = nullptr;         // acceleration chart above, the other two below
    QSplitter* spl2 = nullptr;         // velocity chart above, displacement below
    travik::figures::FigureView* cht1 = nullptr;  // acceleration
    travik::figures::FigureView* cht2 = nullptr;  // velocity
    travik::figures::FigureView* cht3 = nullptr;  // displacement

    // "Detailed Data of Time History Records", none while closed.
    QPointer<TForm4> Form4;
};
