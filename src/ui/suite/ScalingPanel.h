#pragma once

#include <QWidget>

#include "suite/SuiteScaling.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class PlatformServices;
class StringGrid;
namespace travik::figures {
class FigureView;
}

// The scaled suite on the spectra page: the figure of the scaled spectra against the target
// above the panel of mean over target, the table of the motions' factors (copied like every
// table of the program), what falls short of the rule, and the buttons that write the
// scaled records and the report.
class ScalingPanel final : public QWidget {
    Q_OBJECT
  public:
    explicit ScalingPanel(PlatformServices& platform, QWidget* parent = nullptr);

    // Shows a scaled suite; the table's numbers use `decimalSeparator`.
    void Show(const travik::SuiteScaling& scaling, char decimalSeparator);
    // Empties the table and the figures, and disables the write buttons.
    void Clear();
    // Enables the write buttons only while a suite is shown and no long work runs.
    void SetBusy(bool busy);

    StringGrid* Table() const { return grdScaling; }

  signals:
    void WriteRecordsRequested();
    void WriteReportRequested();

  private:
    void grdScalingKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void FitColumns();

    PlatformServices& platform_;
    bool shown_ = false;
    bool busy_ = false;
    travik::figures::FigureView* chtScaling = nullptr;       // scaled spectra and target
    travik::figures::FigureView* chtScalingRatio = nullptr;  // mean / target
    StringGrid* grdScaling = nullptr;
    QLabel* lblScalingOutcome = nullptr;
    QPushButton* btnWriteScaled = nullptr;  // "Write Scaled Records…"
    QPushButton* btnScalingReport = nullptr;
    QMenu* pmScaling = nullptr;
    QAction* CopyScaling = nullptr;
    QAction* SelectAllScaling = nullptr;
};
