#pragma once

#include <QObject>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/export/ScaledRecords.h"
#include "core/records/TimeHistory.h"
#include "core/suite/SuiteScaling.h"
#include "ui/suite/ScaleRequest.h"

class QWidget;
class PlatformServices;
struct RecordSource;
class ScaleDialog;
class ScalingPanel;
class Workspace;

// A suite scaled in the window: the scaling and copies of the records it was computed from,
// so that the scaled records and the report are written from what the table shows even
// after the list has changed.
struct ScaledSuite {
    travik::SuiteScaling scaling;
    std::shared_ptr<const std::vector<travik::TimeHistory>> records;
    // Per member of the scaling, the records (indices into `records`) it is made of: one
    // record, or a pair's H1 and H2.
    std::vector<std::vector<std::size_t>> motions;
    double g = 980.665;  // cm/sec^2, of the analysis

    // The members' components as their spectra were computed from them.
    std::vector<travik::ScaledMotion> Motions() const;
};

// "Scale to Target…" over the checked records: asks for the target and the options, computes
// the records' spectra and scales the suite as the workspace's long job (progress, Cancel),
// shows the outcome on the panel, and writes the scaled records and the report on the
// panel's buttons.
class ScaleToTarget final : public QObject {
    Q_OBJECT
  public:
    // Runs the dialog; true when it was accepted. Tests replace it to set the dialog's
    // controls and press its buttons without a modal loop.
    using DialogRunner = std::function<bool(ScaleDialog&)>;

    ScaleToTarget(Workspace& workspace, PlatformServices& platform, ScalingPanel& panel,
                  std::function<std::vector<int>()> checkedRows, QWidget* window);

    void SetDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }
    const std::optional<ScaledSuite>& Outcome() const { return outcome_; }

  signals:
    // A scaled suite is on the panel.
    void ScalingShown();

  public slots:
    void Run();
    void WriteScaledRecords();
    void WriteReport();
    // New records: the outcome stays (it holds its own copies) but the panel says nothing
    // of the new list until the next scaling.
    void Forget();

  private:
    void Start(const ScaleRequest& request, const std::vector<int>& rows);
    void StartPairs(const ScaleRequest& request, const std::vector<int>& rows);
    // The checked records at `rows` and their sources, as the pairing takes them.
    std::vector<const RecordSource*> SourcesOf(const std::vector<int>& rows) const;
    void Finished(ScaledSuite&& suite, const std::vector<std::string>& failed);
    void Warn(const std::string& message);
    // True when a scaling is shown and the user chose the folder to write it to.
    bool ChooseFolderForOutcome(QString& folder);

    Workspace& workspace_;
    PlatformServices& platform_;
    ScalingPanel& panel_;
    std::function<std::vector<int>()> checkedRows_;
    QWidget* window_;
    DialogRunner runDialog_;
    std::optional<ScaleFields> fields_;
    std::optional<ScaledSuite> outcome_;
};
