#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "ui/spectra/RotatedJob.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class PlatformServices;
class Workspace;

namespace travik::figures {
class FigureView;
}

// The spectra page's two-component mode: the pairs of loaded records taken as one ground
// motion each (proposed from the records, changed by the user), the rotated spectra of the
// pair chosen, computed as the workspace's long job, the _RotD.csv reports of the pairs
// checked, and a polar view of the 180 rotated peaks at one period with the RotD100
// direction marked.
class TwoComponentPanel final : public QWidget {
    Q_OBJECT
  public:
    // The page's damping ratios (fractions, sorted, each once); nothing after the page has
    // warned about a bad value.
    using DampingSource = std::function<std::optional<std::vector<double>>()>;

    TwoComponentPanel(Workspace& workspace, PlatformServices& platform, DampingSource dampingRatios,
                      QWidget* parent = nullptr);

    // The pair chosen in the list with its rotated spectra, when they were computed.
    const RotatedMotion* Current() const;
    // The polar view follows the period under the pointer (s; 0 for the ground).
    void FollowPeriod(double period);

  signals:
    // The pair chosen, or its rotated spectra, changed.
    void CurrentChanged();

  private:
    struct PairEntry {
        int h1 = 0;  // record indexes
        int h2 = 0;
        std::shared_ptr<RotatedMotion> motion;  // with its result once computed
    };

    void CreateControls();
    void ConnectHandlers();
    void RecordsReplaced();
    void ProposeClick();
    void AddPairClick();
    void RemovePairClick();
    void RotateClick();
    void ExportClick();
    void PairChosen();
    void ComponentChosen();
    void AddPair(int h1, int h2, bool checked);
    QString PairText(int h1, int h2) const;
    void ShowPairNote();
    void FillPolarChoices();
    void ShowPolar();
    void SetBusy(bool busy);
    PairEntry* CurrentEntry();
    const PairEntry* CurrentEntry() const;

    Workspace& workspace_;
    PlatformServices& platform_;
    DampingSource dampingRatios_;
    std::vector<PairEntry> pairs_;                  // one per row of the pair list
    QListWidget* pairList_ = nullptr;               // lstPairs
    QComboBox* h1_ = nullptr;                       // cbbH1
    QComboBox* h2_ = nullptr;                       // cbbH2
    QPushButton* propose_ = nullptr;                // btnProposePairs
    QPushButton* add_ = nullptr;                    // btnAddPair
    QPushButton* remove_ = nullptr;                 // btnRemovePair
    QPushButton* rotate_ = nullptr;                 // btnRotate
    QPushButton* export_ = nullptr;                 // btnExportRotD
    QLabel* note_ = nullptr;                        // lblPairNote: a refusal or the warnings
    QComboBox* polarPeriod_ = nullptr;              // cbbPolarPeriod
    QComboBox* polarDamping_ = nullptr;             // cbbPolarDamping
    travik::figures::FigureView* polar_ = nullptr;  // chtPolar
};
