#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "analysis/AnalysisSettings.h"
#include "analysis/SpectrumStore.h"
#include "app/ChartAdapter.h"
#include "app/PlatformServices.h"
#include "app/StringGrid.h"
#include "export/ReportHeader.h"
#include "records/TimeHistory.h"

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QSplitter;
class QStatusBar;
class QTabWidget;
class QWidget;

class TForm2;
class TForm3;
class TForm4;

// The folder-selection dialog of the exports: it opens in the program's folder the first
// time and in the folder chosen last afterwards, for the life of the main window.
struct FolderSelection {
    QString selectedFolder;
};

// The main window. It owns the records, the analysis settings and the spectrum results for
// the life of the process; the records page ("Time History Records") and the window frame
// are defined in Unit1.cpp, the spectra page ("Elastic Response Spectra") in Unit1Spectra.cpp.
class TForm1 : public QMainWindow {
    Q_OBJECT
  public:
    explicit TForm1(PlatformServices& platform, QWidget* parent = nullptr);
    ~TForm1() override;

    // ---- Owned data -----------------------------------------------------------------------
    travik::RecordList RecordList;
    travik::SpectrumStore SpectrumStore;
    travik::AnalysisSettings AnalysisSettings;
    QString SoftwareEdition;
    int MaxExportNumber = 0;

    // ---- Menu bar -------------------------------------------------------------------------
    QMenu* File1 = nullptr;
    QMenu* Options1 = nullptr;
    QMenu* Help1 = nullptr;
    QAction* ImportTimeHistoryRecords1 = nullptr;  // "Import Time History Records"
    QAction* Setting1 = nullptr;                   // "Analysis Settings"
    QAction* AboutDIVU1 = nullptr;                 // "About TRAVIK"

    // ---- Popup menus ----------------------------------------------------------------------
    QMenu* pm1 = nullptr;  // record check lists of both pages
    QAction* CheckAll1 = nullptr;
    QAction* InvertCheck1 = nullptr;  // "Check None"
    QAction* InvertCheck2 = nullptr;  // "Invert Check"
    QMenu* pm2 = nullptr;             // the five result tables
    QAction* CopySelection1 = nullptr;
    QAction* SelectAll1 = nullptr;

    // ---- Page control ---------------------------------------------------------------------
    QTabWidget* pgc1 = nullptr;
    QWidget* ts1 = nullptr;  // "Time History Records"
    QWidget* ts2 = nullptr;  // "Elastic Response Spectra"

    // ---- Records page ---------------------------------------------------------------------
    QGroupBox* grp1 = nullptr;    // "Time History Records", left column
    QPushButton* btn1 = nullptr;  // "Import Data"
    QPushButton* btn7 = nullptr;  // "Clear Data"
    QListWidget* lst1 = nullptr;  // record check list
    QLabel* lbl3 = nullptr;       // "Number of Checked"
    QLineEdit* edt3 = nullptr;
    QLabel* lbl1 = nullptr;  // "Number of Records"
    QLineEdit* edt1 = nullptr;
    QPushButton* btn2 = nullptr;   // "Detailed Data"
    QGroupBox* grp3 = nullptr;     // "Base Line Correction"
    QRadioButton* rb1 = nullptr;   // "Linear"
    QRadioButton* rb2 = nullptr;   // "Parabolic"
    QRadioButton* rb3 = nullptr;   // "No Baseline Correction"
    QPushButton* btn4 = nullptr;   // "Apply Baseline Correction"
    QPushButton* btn3 = nullptr;   // "Export Checked Data"
    QGroupBox* grp2 = nullptr;     // "Graph", right area
    QSplitter* spl1 = nullptr;     // acceleration chart above, the other two below
    QSplitter* spl2 = nullptr;     // velocity chart above, displacement below
    ChartAdapter* cht1 = nullptr;  // acceleration
    ChartAdapter* cht2 = nullptr;  // velocity
    ChartAdapter* cht3 = nullptr;  // displacement

    // ---- Spectra page (behaviour in Unit1Spectra.cpp) ------------------------------------
    QGroupBox* grp4 = nullptr;  // "Time History Records", left column
    QLabel* lbl12 = nullptr;    // "Record"
    QComboBox* cbb4 = nullptr;
    QListWidget* lst3 = nullptr;
    QLabel* lbl16 = nullptr;  // "Number of Checked"
    QLineEdit* edt15 = nullptr;
    QLabel* lbl17 = nullptr;  // "Number of Records"
    QLineEdit* edt14 = nullptr;
    QGroupBox* grp5 = nullptr;  // "Viscous Damping Values (%)"
    QLabel* lbl14 = nullptr;    // "No.of Damping Values"
    QComboBox* cbb6 = nullptr;  // "1" .. "9"
    QLineEdit* edt16 = nullptr;
    QLineEdit* edt17 = nullptr;
    QLineEdit* edt18 = nullptr;
    QLineEdit* edt19 = nullptr;
    QLineEdit* edt20 = nullptr;
    QLineEdit* edt21 = nullptr;
    QLineEdit* edt22 = nullptr;
    QLineEdit* edt23 = nullptr;
    QLineEdit* edt24 = nullptr;
    QPushButton* btn11 = nullptr;  // "Analyze and Refresh"
    QPushButton* btn10 = nullptr;  // "Export Checked"
    QTabWidget* pgc2 = nullptr;    // "Graph" and the five tables
    QLabel* lbl13 = nullptr;       // "X-Axis"
    QComboBox* cbb5 = nullptr;
    QLabel* lbl15 = nullptr;  // "Y-Axis"
    QComboBox* cbb7 = nullptr;
    QLabel* lbl2 = nullptr;        // mouse readout
    ChartAdapter* cht4 = nullptr;  // spectrum chart
    StringGrid* strngrd1 = nullptr;
    StringGrid* strngrd2 = nullptr;
    StringGrid* strngrd3 = nullptr;
    StringGrid* strngrd4 = nullptr;
    StringGrid* strngrd5 = nullptr;

    // ---- Status bar -----------------------------------------------------------------------
    QStatusBar* rzstsbr1 = nullptr;
    QLabel* rzfldsts3 = nullptr;  // project credit
    QLabel* rzfldsts1 = nullptr;  // "  Welcome to my Website :"
    QLabel* rzfldsts2 = nullptr;  // web address link
    QLabel* rzfldsts4 = nullptr;  // tips

    // ---- Secondary windows (none while closed) ------------------------------------------
    QPointer<TForm2> Form2;
    QPointer<TForm3> Form3;
    QPointer<TForm4> Form4;
    FolderSelection rzslctfldrdlg1;

    // ---- Shared helpers -------------------------------------------------------------------
    // The decimal separator of the user's number format, for every number text on screen.
    char DecimalSeparator() const;
    // Asks for an export folder; false when the user cancelled. Remembers the choice.
    bool ChooseExportFolder(QString& folder);
    void ShowInformation(const QString& text);
    void ShowWarning(const QString& text);
    void ShowPlain(const QString& text);
    // The web page of the status-bar link and the about window.
    static QUrl ProjectWebAddress();

    // ---- Records page operations (also used by import and the spectra page) ---------------
    void ClearAllRecords();
    void FillRecordLists();
    void ClearTimeHistoryCharts();
    void ShowSelectedRecord();
    // Discards every record and result, as "Clear Data" and a new import do.
    void DiscardRecordsAndResults();
    // After an import: the first record selected in lst1 and cbb4 (none when empty).
    void SelectFirstRecord();

    // ---- Frame and records page handlers --------------------------------------------------
    void FormResize();
    void pgc1Change(int index);
    void FormDestroy();
    void rzfldsts2MouseMove();
    void rzfldsts2MouseLeave();
    void rzfldsts2Click();
    void rzfldsts3MouseMove();
    void rzfldsts3MouseLeave();
    void AboutDIVU1Click();
    void ImportTimeHistoryRecords1Click();
    void Setting1Click();
    void btn1Click();
    void btn7Click();
    void lst1Click();
    void lst1Change();
    void btn2Click();
    void btn4Click();
    void btn3Click();
    void CheckAll1Click();
    void InvertCheck1Click();
    void InvertCheck2Click();

    // ---- Spectra page handlers (defined in Unit1Spectra.cpp) ------------------------------
    void cbb6Change();
    bool ReadDampingRatios(std::vector<double>& list);
    void btn11Click();
    void ClearSpectrumTables();
    void FillSpectrumTables();
    void CreateSpectrumSeries();
    void ClearSpectrumChart();
    void PlotSpectra(int abscissa, int ordinate);
    void cbb5Change();
    void cbb7Change();
    void cht4MouseMove(const QPoint& viewPixel);
    void lst3Click();
    void lst3Change();
    void CopySelection1Click();
    void SelectAll1Click();
    StringGrid* TargetGrid() const;
    void strngrd1KeyDown(int key, Qt::KeyboardModifiers m);
    void strngrd2KeyDown(int key, Qt::KeyboardModifiers m);
    void strngrd3KeyDown(int key, Qt::KeyboardModifiers m);
    void strngrd4KeyDown(int key, Qt::KeyboardModifiers m);
    void strngrd5KeyDown(int key, Qt::KeyboardModifiers m);
    void btn10Click();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    PlatformServices& platform_;

  private:
    QWidget* CreateRecordsPage();
    QWidget* CreateSpectraPage();
    QWidget* CreateSpectraRecordPanel();
    QWidget* CreateSpectraGraphTab();
    void CreateMenus();
    void CreateStatusBar();
    void ConnectHandlers();
    ChartAdapter* CreateTimeHistoryChart(const QString& name, const QString& leftTitle,
                                         QWidget* parent);
    QListWidget* CheckListShown() const;
    void SetAllChecks(QListWidget* list, bool invert, bool checked);
    void RecountChecks(QListWidget* list);
    void DrawRecord(const travik::TimeHistory& record);
    // Reads the damping edits into the store's damping list (sorted, without repeats) and
    // rebuilds its period list from the settings; false after a damping warning.
    bool PrepareDampingAndPeriods();
    // True when one to MaxExportNumber records are checked in `list`; otherwise shows the
    // refusal (nothing checked, or `limitMessage`) and returns false.
    bool ExportCountAccepted(const QListWidget* list, const std::string& limitMessage);
    // Builds and writes the report of every record checked in `list`, in record order, into
    // `folder`; stops at the first report that cannot be built or written and returns its
    // error text. Reports written before it stay.
    std::optional<QString> WriteCheckedReports(
        const QListWidget* list, const QString& folder, const char* suffix,
        const std::function<void(travik::ReportLines&, const travik::TimeHistory&)>& buildReport);

    // The damping, period and frequency lists the shown spectra were computed with. An
    // export rewrites the store's lists without recomputing its columns; redraws pair the
    // columns with these, so a curve never carries another analysis's damping or periods.
    travik::SpectrumStore analysedLists_;

    bool centred_ = false;
    bool destroyed_ = false;
};
