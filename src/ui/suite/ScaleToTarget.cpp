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
#include "core/suite/SuiteMembers.h"
#include "core/text/ShownText.h"
#include "ui/app/CheckedExport.h"
#include "ui/app/FormHelpers.h"
#include "ui/app/PlatformServices.h"
#include "ui/app/Workspace.h"
#include "ui/suite/ScaleDialog.h"
#include "ui/suite/ScalingPanel.h"

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

}  // namespace

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
    ScaleDialog dialog(*fields_, periods, static_cast<int>(rows.size()), DecimalSeparator(),
                       platform_, window_);
    const bool accepted = runDialog_(dialog);
    fields_ = dialog.Fields();
    if (!accepted || !dialog.Request().ok() || !dialog.Request().target) {
        return;
    }
    Start(dialog.Request(), rows);
}

void ScaleToTarget::Start(const ScaleRequest& request, const std::vector<int>& rows) {
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
            std::vector<const travik::TimeHistory*> pointers;
            for (const travik::TimeHistory& record : *records) {
                pointers.push_back(&record);
            }
            const travik::SuiteSpectra spectra = travik::ComputeSuiteSpectra(
                pointers, settings, request.dampingRatio, periods,
                [&control](int done, int total) {
                    control.Progress(total > 0 ? kSpectraShare * done / total : 0.0);
                },
                control.CancelFlag());
            ScalingJobResult result;
            result.suite.records = records;
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
            std::vector<const travik::TimeHistory*> pointers;
            for (const travik::TimeHistory& record : *suite.records) {
                pointers.push_back(&record);
            }
            WriteOutcome outcome;
            try {
                outcome.written =
                    travik::WriteScaledRecords(
                        pointers, suite.scaling, ToPath(folder),
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
            ToPath(folder), outcome_->records->front(), outcome_->scaling, travik::kSoftwareEdition,
            travik::TodayLocalDate());
        platform_.ShowMessage(
            window_, PlatformServices::MessageKind::Information,
            QStringLiteral("The scaling report was written to %1")
                .arg(QDir::toNativeSeparators(QString::fromStdU16String(path.u16string()))));
    } catch (const travik::ReportWriteError& error) {
        Warn(error.what());
    }
}
