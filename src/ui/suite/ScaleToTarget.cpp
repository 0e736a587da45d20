#include "ui/suite/ScaleToTarget.h"

#include <QDir>
#include <algorithm>
#include <filesystem>
#include <utility>

#include "core/analysis/SpectraComputation.h"
#include "core/export/ReportFile.h"
#include "core/export/ReportHeader.h"
#include "core/export/ScaledRecords.h"
#include "core/export/ScalingReport.h"
#include "core/spectra/SuiteSpectra.h"
#include "core/suite/PairMembers.h"
#include "core/suite/SuiteMembers.h"
#include "core/text/ShownText.h"
#include "ui/app/CheckedExport.h"
#include "ui/app/FormHelpers.h"
#include "ui/app/PlatformServices.h"
#include "ui/app/RecordSource.h"
#include "ui/app/Workspace.h"
#include "ui/suite/ScaleDialog.h"
#include "ui/suite/ScalingPanel.h"
#include "ui/suite/SuitePairs.h"

namespace {

constexpr const char* kNothingCheckedMessage =
    "Check the records to scale on the list first: the suite is made of the checked records.";
constexpr const char* kNothingScaledMessage =
    "There is no scaled suite yet: press \"Scale to Target…\" first.";

// The spectra take nearly all of the time; the scaling itself the last few percent.
constexpr double kSpectraShare = 0.95;

// The dialog's first values with the window's decimal separator.
ScaleFields FirstFields(char separator) {
    ScaleFields fields;
    for (std::string* text :
         {&fields.sds, &fields.sd1, &fields.longPeriod, &fields.ag, &fields.xi, &fields.minPeriod,
          &fields.maxPeriod, &fields.fundamentalPeriod, &fields.damping, &fields.minFactor,
          &fields.maxFactor, &fields.scalingPeriod}) {
        std::replace(text->begin(), text->end(), '.', separator);
    }
    return fields;
}

std::vector<double> AnalysisPeriods(const travik::AnalysisSettings& settings) {
    return settings.Periods();
}

struct ScalingJobResult {
    ScaledSuite suite;
    std::vector<std::string> failedRecords;
};

std::vector<const travik::TimeHistory*> Pointers(const std::vector<travik::TimeHistory>& records) {
    std::vector<const travik::TimeHistory*> pointers;
    for (const travik::TimeHistory& record : records) {
        pointers.push_back(&record);
    }
    return pointers;
}

}  // namespace

std::vector<travik::ScaledMotion> ScaledSuite::Motions() const {
    std::vector<travik::ScaledMotion> out;
    for (const std::vector<std::size_t>& motion : motions) {
        const travik::TimeHistory& first = records->at(motion.front());
        out.push_back(motion.size() > 1 ? travik::MotionOfPair(first, records->at(motion[1]))
                                        : travik::MotionOfRecord(first));
    }
    return out;
}

ScaleToTarget::ScaleToTarget(Workspace& workspace, PlatformServices& platform, ScalingPanel& panel,
                             std::function<std::vector<int>()> checkedRows, QWidget* window)
    : QObject(&panel),
      workspace_(workspace),
      platform_(platform),
      panel_(panel),
      checkedRows_(std::move(checkedRows)),
      window_(window),
      runDialog_([](ScaleDialog& dialog) { return dialog.exec() == QDialog::Accepted; }) {
    setObjectName(QStringLiteral("ScaleToTarget"));
    connect(&panel_, &ScalingPanel::WriteRecordsRequested, this,
            &ScaleToTarget::WriteScaledRecords);
    connect(&panel_, &ScalingPanel::WriteReportRequested, this, &ScaleToTarget::WriteReport);
    connect(&workspace_.Work(), &BackgroundWork::busyChanged, &panel_, &ScalingPanel::SetBusy);
}

void ScaleToTarget::Warn(const std::string& message) {
    platform_.ShowMessage(window_, PlatformServices::MessageKind::Warning,
                          QString::fromStdString(message));
}

void ScaleToTarget::Run() {
    const std::vector<int> rows = checkedRows_();
    if (rows.empty()) {
        platform_.ShowMessage(window_, PlatformServices::MessageKind::Information,
                              QString::fromLatin1(kNothingCheckedMessage));
        return;
    }
    const travik::AnalysisSettings& settings = workspace_.Settings();
    const std::vector<double> periods = AnalysisPeriods(settings);
    if (!fields_) {
        fields_ = FirstFields(DecimalSeparator());
    }
    std::vector<const travik::TimeHistory*> checked;
    for (const int row : rows) {
        checked.push_back(&workspace_.Records().At(row));
    }
    const int pairs =
        static_cast<int>(RotatablePairs(PairRecords(checked, SourcesOf(rows))).size());
    ScaleDialog dialog(*fields_, periods, {static_cast<int>(rows.size()), pairs},
                       DecimalSeparator(), platform_, window_);
    const bool accepted = runDialog_(dialog);
    fields_ = dialog.Fields();
    if (!accepted || !dialog.Request().ok() || !dialog.Request().target) {
        return;
    }
    Start(dialog.Request(), rows);
}

std::vector<const RecordSource*> ScaleToTarget::SourcesOf(const std::vector<int>& rows) const {
    std::vector<const RecordSource*> sources;
    const RecordSources& all = workspace_.Sources();
    for (const int row : rows) {
        const auto index = static_cast<std::size_t>(row);
        sources.push_back(index < all.size() ? all[index].get() : nullptr);
    }
    return sources;
}

void ScaleToTarget::Start(const ScaleRequest& request, const std::vector<int>& rows) {
    if (request.options.measure != travik::ScalingMeasure::Psa) {
        StartPairs(request, rows);
        return;
    }
    // The job works on copies, so that a new import cannot pull records from under it.
    auto records = std::make_shared<std::vector<travik::TimeHistory>>();
    for (const int row : rows) {
        records->push_back(workspace_.Records().At(row));
    }
    const travik::AnalysisSettings settings = workspace_.Settings();
    const std::vector<double> periods = AnalysisPeriods(settings);
    workspace_.Work().Start<ScalingJobResult>(
        QStringLiteral("Scaling %1 records to the target").arg(records->size()),
        [records, settings, periods, request](BackgroundWork::Control& control) {
            const std::vector<const travik::TimeHistory*> pointers = Pointers(*records);
            const travik::SuiteSpectra spectra = travik::ComputeSuiteSpectra(
                pointers, settings, request.dampingRatio, periods,
                [&control](int done, int total) {
                    control.Progress(total > 0 ? kSpectraShare * done / total : 0.0);
                },
                control.CancelFlag());
            ScalingJobResult result;
            result.suite.records = records;
            for (std::size_t i = 0; i < records->size(); ++i) {
                result.suite.motions.push_back({i});
            }
            result.suite.g = settings.g;
            result.failedRecords = spectra.failedRecords;
            if (control.Cancelled() || !spectra.failedRecords.empty()) {
                return result;
            }
            result.suite.scaling =
                travik::ScaleSuite(periods, travik::SuiteMembersOf(pointers, spectra),
                                   *request.target, request.options);
            control.Progress(1.0);
            return result;
        },
        [this](ScalingJobResult&& result) {
            Finished(std::move(result.suite), result.failedRecords);
        });
}

// The pairs the checked records form are scaled by their RotD spectra; records in no pair
// are named in a message and left out.
void ScaleToTarget::StartPairs(const ScaleRequest& request, const std::vector<int>& rows) {
    auto records = std::make_shared<std::vector<travik::TimeHistory>>();
    for (const int row : rows) {
        records->push_back(workspace_.Records().At(row));
    }
    const std::vector<const travik::TimeHistory*> pointers = Pointers(*records);
    auto pairing =
        std::make_shared<const travik::ComponentPairing>(PairRecords(pointers, SourcesOf(rows)));
    if (const std::string left = LeftOutOfPairs(*pairing, pointers); !left.empty()) {
        platform_.ShowMessage(window_, PlatformServices::MessageKind::Information,
                              QString::fromStdString(left));
    }
    std::vector<std::vector<std::size_t>> motions;
    for (const travik::ComponentPair* pair : RotatablePairs(*pairing)) {
        motions.push_back({static_cast<std::size_t>(pair->h1 - pointers.front()),
                           static_cast<std::size_t>(pair->h2 - pointers.front())});
    }
    if (motions.empty()) {
        return;
    }
    const travik::AnalysisSettings settings = workspace_.Settings();
    const std::vector<double> periods = AnalysisPeriods(settings);
    workspace_.Work().Start<ScalingJobResult>(
        QStringLiteral("Scaling %1 pairs to the target").arg(motions.size()),
        [records, pairing, motions, settings, periods, request](BackgroundWork::Control& control) {
            const travik::PairMembers members = travik::PairMembersOf(
                RotatablePairs(*pairing), settings, request.dampingRatio, periods,
                request.options.measure,
                [&control](int done, int total) {
                    control.Progress(total > 0 ? kSpectraShare * done / total : 0.0);
                },
                control.CancelFlag());
            ScalingJobResult result;
            result.suite.records = records;
            result.suite.motions = motions;
            result.suite.g = settings.g;
            result.failedRecords = members.failedPairs;
            if (control.Cancelled() || members.cancelled || !members.failedPairs.empty()) {
                return result;
            }
            result.suite.scaling =
                travik::ScaleSuite(periods, members.members, *request.target, request.options);
            control.Progress(1.0);
            return result;
        },
        [this](ScalingJobResult&& result) {
            Finished(std::move(result.suite), result.failedRecords);
        });
}

void ScaleToTarget::Finished(ScaledSuite&& suite, const std::vector<std::string>& failed) {
    if (!failed.empty()) {
        std::string message = "The suite is not scaled: no spectrum for";
        for (std::size_t i = 0; i < failed.size(); ++i) {
            message += (i == 0 ? " " : ", ") + travik::ShownText(failed[i]);
        }
        Warn(message + " (a run could not be computed).");
        return;
    }
    if (suite.scaling.failure != travik::ScalingFailure::None) {
        Warn(suite.scaling.message);
        return;
    }
    outcome_ = std::move(suite);
    panel_.Show(outcome_->scaling, outcome_->g, DecimalSeparator());
    emit ScalingShown();
}

void ScaleToTarget::Forget() {
    outcome_.reset();
    panel_.Clear();
}

bool ScaleToTarget::ChooseFolderForOutcome(QString& folder) {
    if (!outcome_) {
        Warn(kNothingScaledMessage);
        return false;
    }
    return ChooseExportFolder(workspace_, platform_, window_, folder);
}

void ScaleToTarget::WriteScaledRecords() {
    QString folder;
    if (!ChooseFolderForOutcome(folder)) {
        return;
    }
    struct WriteOutcome {
        std::size_t written = 0;
        std::string error;
    };
    workspace_.Work().Start<WriteOutcome>(
        QStringLiteral("Writing the scaled records"),
        [suite = *outcome_, folder](BackgroundWork::Control& control) {
            WriteOutcome outcome;
            try {
                outcome.written =
                    travik::WriteScaledMotions(
                        suite.Motions(), suite.scaling, ToPath(folder),
                        [&control](int done, int total) {
                            control.Progress(total > 0 ? static_cast<double>(done) / total : 0.0);
                        },
                        control.CancelFlag())
                        .size();
            } catch (const travik::ReportWriteError& error) {
                outcome.error = error.what();
            }
            return outcome;
        },
        [this, folder](WriteOutcome&& outcome) {
            if (!outcome.error.empty()) {
                Warn(outcome.error);
                return;
            }
            platform_.ShowMessage(window_, PlatformServices::MessageKind::Information,
                                  QStringLiteral("%1 scaled records written to %2")
                                      .arg(outcome.written)
                                      .arg(QDir::toNativeSeparators(folder)));
        });
}

void ScaleToTarget::WriteReport() {
    QString folder;
    if (!ChooseFolderForOutcome(folder)) {
        return;
    }
    try {
        const std::filesystem::path path = travik::WriteScalingReportFile(
            ToPath(folder), outcome_->records->at(outcome_->motions.front().front()),
            outcome_->scaling, travik::kSoftwareEdition, travik::TodayLocalDate());
        platform_.ShowMessage(
            window_, PlatformServices::MessageKind::Information,
            QStringLiteral("The scaling report was written to %1")
                .arg(QDir::toNativeSeparators(QString::fromStdU16String(path.u16string()))));
    } catch (const travik::ReportWriteError& error) {
        Warn(error.what());
    }
}
