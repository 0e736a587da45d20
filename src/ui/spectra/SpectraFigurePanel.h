#pragma once

#include <QString>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "core/spectra/SuiteSpectra.h"
#include "ui/figures/ChartFigure.h"
#include "ui/figures/FigureDialogs.h"
#include "ui/figures/SpectrumFigures.h"
#include "ui/spectra/AxisChoices.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class PlatformServices;
class Workspace;

namespace travik::figures {
class FigureView;
}

// The spectrum chart's extra ways of looking, beside the page's axis lists: log axes,
// the tripartite and Sa-Sd charts, the checked records with their statistics, a target
// spectrum with the mean/target check, the shading of the less trustworthy periods, zoom
// and pan, and saving, copying and printing the chart as an image.
//
// The panel owns the page's spectrum chart (cht4): one figure view, which draws whatever
// is chosen, the selected record's spectra on linear axes included.
class SpectraFigurePanel final : public QWidget {
    Q_OBJECT
  public:
    SpectraFigurePanel(Workspace& workspace, PlatformServices& platform, QWidget* parent = nullptr);

    // The axis lists' choices (cbb5, cbb7).
    void SetAxisChoices(AbscissaChoice abscissa, OrdinateChoice ordinate);
    // The controls placed beside the axis lists.
    QWidget* AxisControls() const { return axisControls_; }
    // The readout under a pixel of the chart, "X : 1.5      Y : 0.25", or nothing outside
    // the plot area and the shown axis ranges.
    std::optional<QString> ReadoutAt(const QPoint& viewportPixel) const;
    // The chart with its axes and title but no curve (while an analysis runs).
    void ShowNoCurves();

    bool ShowsCheckedRecords() const;
    // Analyses the records (by index) as the workspace's long job (progress, Cancel; refused
    // while another job runs), then redraws. The damping list offers `enteredRatios` (the
    // page's values, fractions, in the order entered) and the target's damping; the one
    // analysed is the user's choice in that list, else the target's, else the first entered.
    // Choosing another in the list analyses the checked records at it.
    void AnalyseChecked(const std::vector<int>& recordIndexes,
                        const std::vector<double>& enteredRatios);
    bool IsAnalysing() const;
    // The last suite, if any.
    const std::optional<travik::SuiteSpectra>& Suite() const { return suite_; }
    // Writes <first record>_mean_RS.csv into the folder; the error text when it cannot.
    std::optional<QString> WriteStatisticsReport(const QString& folder) const;

    // Uses a target spectrum from a choice as the target dialog returns it; false (after a
    // warning naming file and line) when a file cannot be read, the target then unchanged.
    bool ApplyTargetChoice(const travik::figures::TargetChoice& choice);
    void ClearTarget();
    const std::optional<travik::TargetSpectrum>& Target() const { return target_; }

    // The two-component mode's chart: a pair's rotated spectra (drawn as the command line's
    // plot rotd draws them) in place of the record's or the checked records' spectra; an
    // empty list of curves while none are computed. Nothing: back to the record's.
    struct RotatedChart {
        std::vector<travik::figures::SpectrumCurve> curves;
        QString title;
        double g = 980.0;   // cm/sec^2, of the settings the spectra were computed with
        QString imageName;  // a saved image's name without its suffix, as plot rotd names it
    };
    void ShowRotated(std::optional<RotatedChart> chart);

    // Redraws from the workspace's spectra, the suite and the target.
    void Refresh();
    // Forgets the suite and the target's ratio (new records).
    void Reset();

    // The chart as an image: what is shown, as a saved figure.
    travik::figures::ChartFigure ShownFigure() const;
    travik::figures::FigureView* View() const { return view_; }
    QMenu* ChartMenu() const { return menu_; }

  public slots:
    void SaveChartAs();
    void CopyChart();
    void PrintChart();

  signals:
    // The suite was analysed anew or forgotten.
    void SuiteChanged();

  private:
    travik::figures::ChartFigure BuildFigure(bool withCurves = true) const;
    // Lists the damping values to choose from and selects the one to analyse at.
    void FillDampingList();
    // Analyses the records at the damping selected in the list.
    void AnalyseSuite(const std::vector<int>& recordIndexes);
    // Analyses the checked records anew when the damping selected is not the suite's.
    void FollowDampingChoice();
    // A target came or went: the damping list and the statistics follow its damping.
    void TargetDampingChanged();
    void UpdateRatio();
    void AddTargetClick();
    void SuiteFinished(travik::SuiteSpectra&& suite);
    void WorkEnded();

    Workspace& workspace_;
    PlatformServices& platform_;
    QWidget* axisControls_ = nullptr;
    QCheckBox* logX_ = nullptr;     // chkLogX
    QCheckBox* logY_ = nullptr;     // chkLogY
    QComboBox* show_ = nullptr;     // cbbShow
    QComboBox* damping_ = nullptr;  // cbbShowDamping
    QCheckBox* mean_ = nullptr;
    QCheckBox* median_ = nullptr;
    QCheckBox* sigma_ = nullptr;
    QCheckBox* logMean_ = nullptr;
    QCheckBox* logSigma_ = nullptr;
    QPushButton* addTarget_ = nullptr;             // btnAddTarget
    QPushButton* clearTarget_ = nullptr;           // btnClearTarget
    QLabel* ratio_ = nullptr;                      // lblTargetRatio
    QProgressBar* progress_ = nullptr;             // prgChecked
    travik::figures::FigureView* view_ = nullptr;  // cht4, the spectrum chart
    QMenu* menu_ = nullptr;

    AbscissaChoice abscissa_ = AbscissaChoice::Period;
    OrdinateChoice ordinate_ = OrdinateChoice::Displacement;
    std::optional<travik::SuiteSpectra> suite_;
    // Copies of the suite's records, analysed off the window's thread.
    std::shared_ptr<std::vector<travik::TimeHistory>> suiteRecords_;
    std::optional<travik::TargetSpectrum> target_;
    std::optional<RotatedChart> rotated_;  // the two-component mode is on
    travik::figures::TargetChoice targetChoice_;
    bool analysing_ = false;             // the checked records are being analysed
    std::vector<double> enteredRatios_;  // the page's damping values at the last analysis
    std::optional<double> chosenRatio_;  // the damping the user chose in the list
    std::optional<double> targetRatio_;  // the damping the target is given for, if it says
};
