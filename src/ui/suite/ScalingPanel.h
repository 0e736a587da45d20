#pragma once

#include <QWidget>
#include <vector>

#include "ui/figures/ChartFigure.h"

#include "core/suite/SuiteScaling.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTabWidget;
class PlatformServices;
class StringGrid;
namespace travik::figures {
class FigureView;
}

// The scaled suite on the spectra page: the figure of the scaled spectra against the target
// above the panel of mean over target (one page), the table of the motions' factors (copied like
// every table of the program), what falls short of the rule, and the buttons that write the scaled
// records and the report.
class ScalingPanel final : public QWidget {
    Q_OBJECT
  public:
    explicit ScalingPanel(PlatformServices& platform, QWidget* parent = nullptr);

    // Shows a scaled suite (g in cm/sec^2, of its analysis); the table's numbers use
    // `decimalSeparator`.
    void Show(const travik::SuiteScaling& scaling, double g, char decimalSeparator);
    // Empties the table and the figures, and disables the write buttons.
    void Clear();
    // Enables the write buttons only while a suite is shown and no long work runs.
    void SetBusy(bool busy);

    StringGrid* Table() const { return grdScaling; }

  public slots:
    // Saves both panels, with their legends, as one image "<first record>_scaling", as the
    // command line draws it; nothing while no suite is shown.
    void SaveFigure();

  signals:
    void WriteRecordsRequested();
    void WriteReportRequested();

  private:
    void grdScalingKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void FitColumns();

    PlatformServices& platform_;
    bool shown_ = false;
    std::vector<travik::figures::ChartFigure> figures_;  // the two panels, for images
    QString imageName_;
    bool busy_ = false;
    QTabWidget* tabScaling = nullptr;                        // "Figure" and "Factors"
    travik::figures::FigureView* chtScaling = nullptr;       // scaled spectra and target
    travik::figures::FigureView* chtScalingRatio = nullptr;  // mean / target
    StringGrid* grdScaling = nullptr;
    QLabel* lblScalingOutcome = nullptr;
    QPushButton* btnWriteScaled = nullptr;  // "Write Scaled Records…"
    QPushButton* btnScalingReport = nullptr;
    QPushButton* btnSaveScalingFigure = nullptr;
    QMenu* pmScaling = nullptr;
    QAction* CopyScaling = nullptr;
    QAction* SelectAllScaling = nullptr;
};
