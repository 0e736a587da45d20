#include "ui/spectra/SpectraFigurePanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <memory>

#include "core/analysis/DampingValues.h"
#include "core/analysis/SpectraComputation.h"
#include "core/export/ReportHeader.h"
#include "core/export/SuiteStatisticsReport.h"
#include "core/spectra/TargetSpectrumReader.h"
#include "core/text/NumberFormat.h"
#include "ui/app/ChartImages.h"
#include "ui/app/FormHelpers.h"
#include "ui/app/PlatformServices.h"
#include "ui/app/ScreenFit.h"
#include "ui/app/Workspace.h"
#include "ui/figures/FigureExport.h"
#include "ui/figures/FigureView.h"
#include "ui/spectra/SpectrumReadout.h"

using travik::figures::AxisScale;
using travik::figures::ChartFigure;
using travik::figures::FigureView;
using travik::figures::SpectrumCurve;
using travik::figures::TargetChoice;

namespace {

// Resolution of the checked records' progress bar.
constexpr int kProgressSteps = 1000;

QString Format(double value, const char* pattern) {
    return QString::fromStdString(travik::FormatNumber(value, pattern, DecimalSeparator()));
}

QCheckBox* Tick(const char* name, const QString& text, bool checked) {
    auto* box = Named(new QCheckBox(text), name);
    box->setChecked(checked);
    return box;
}

}  // namespace

SpectraFigurePanel::SpectraFigurePanel(Workspace& workspace, PlatformServices& platform,
                                       QWidget* parent)
    : QWidget(parent), workspace_(workspace), platform_(platform) {
    setObjectName(QStringLiteral("pnlFigures"));
    axisControls_ = new QWidget(this);
    logX_ = Tick("chkLogX", QStringLiteral("Log X"), false);
    logY_ = Tick("chkLogY", QStringLiteral("Log Y"), false);
    show_ = Named(new QComboBox, "cbbShow");
    show_->addItems({QStringLiteral("Selected record"), QStringLiteral("Checked records")});
    damping_ = Named(new QComboBox, "cbbShowDamping");
    damping_->setToolTip(QStringLiteral("The damping value of the checked records' spectra"));
    mean_ = Tick("chkMean", QStringLiteral("Mean"), true);
    median_ = Tick("chkMedian", QStringLiteral("Median"), false);
    sigma_ = Tick("chkSigma", QStringLiteral("Mean ± σ"), false);
    logMean_ = Tick("chkLogMean", QStringLiteral("Log-normal mean"), false);
    logSigma_ = Tick("chkLogSigma", QStringLiteral("Log-normal ± σ(ln)"), false);
    addTarget_ = Named(new QPushButton(QStringLiteral("Add target…")), "btnAddTarget");
    clearTarget_ = Named(new QPushButton(QStringLiteral("Clear target")), "btnClearTarget");
    clearTarget_->setEnabled(false);
    ratio_ = Named(new QLabel, "lblTargetRatio");
    progress_ = Named(new QProgressBar, "prgChecked");
    progress_->setVisible(false);
    progress_->setMaximumWidth(180);

    auto* first = new QHBoxLayout;
    first->setContentsMargins(0, 0, 0, 0);
    first->addWidget(logX_);
    first->addWidget(logY_);
    first->addSpacing(12);
    first->addWidget(new QLabel(QStringLiteral("Show")));
    first->addWidget(show_);
    first->addWidget(damping_);
    first->addWidget(progress_);
    first->addSpacing(12);
    first->addWidget(addTarget_);
    first->addWidget(clearTarget_);
    first->addStretch(1);
    auto* second = new QHBoxLayout;
    second->setContentsMargins(0, 0, 0, 0);
    for (QCheckBox* box : {mean_, median_, sigma_, logMean_, logSigma_}) {
        second->addWidget(box);
    }
    second->addSpacing(12);
    second->addWidget(ratio_);
    second->addStretch(1);
    auto* rows = new QVBoxLayout(axisControls_);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->addLayout(first);
    rows->addLayout(second);

    view_ = Named(new FigureView, "cht4");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);

    menu_ = new QMenu(this);
    menu_->addAction(QStringLiteral("Save Chart As…"), this, &SpectraFigurePanel::SaveChartAs);
    menu_->addAction(QStringLiteral("Copy Chart"), this, &SpectraFigurePanel::CopyChart);
    menu_->addAction(QStringLiteral("Print Chart…"), this, &SpectraFigurePanel::PrintChart);
    menu_->addSeparator();
    menu_->addAction(QStringLiteral("Reset Zoom"), this, [this] { Refresh(); });

    connect(view_, &FigureView::MenuRequested, this,
            [this](const QPoint& at) { menu_->popup(at); });

    const auto redraw = [this] { Refresh(); };
    for (QCheckBox* box : {logX_, logY_, mean_, median_, sigma_, logMean_, logSigma_}) {
        connect(box, &QCheckBox::toggled, this, redraw);
    }
    connect(show_, &QComboBox::currentIndexChanged, this, redraw);
    // Another damping chosen: the checked records are analysed at it and drawn again.
    connect(damping_, &QComboBox::currentIndexChanged, this, [this] {
        chosenRatio_ = damping_->currentData().toDouble();
        FollowDampingChoice();
    });
    // While a job runs no other can start: the list waits, so that it never names a damping
    // other than the one drawn.
    connect(&workspace_.Work(), &BackgroundWork::busyChanged, damping_,
            [this](bool busy) { damping_->setEnabled(!busy); });
    connect(addTarget_, &QPushButton::clicked, this, &SpectraFigurePanel::AddTargetClick);
    connect(clearTarget_, &QPushButton::clicked, this, &SpectraFigurePanel::ClearTarget);
    // The progress of the checked records beside the show list, while they are analysed; a
    // cancelled analysis leaves the last suite as it was.
    connect(&workspace_.Work(), &BackgroundWork::progressChanged, this, [this](double fraction) {
        if (analysing_ && fraction >= 0) {
            progress_->setValue(static_cast<int>(fraction * kProgressSteps));
        }
    });
    connect(&workspace_.Work(), &BackgroundWork::ended, this, [this](bool cancelled) {
        if (analysing_ && cancelled) {
            WorkEnded();
        }
    });
    Refresh();
}

std::optional<QString> SpectraFigurePanel::ReadoutAt(const QPoint& viewportPixel) const {
    const std::optional<QPointF> value = view_->ValueAt(viewportPixel);
    if (!value) {
        return std::nullopt;
    }
    const QRectF r = view_->ShownRange();
    return ReadoutText(*value, r.left(), r.right(), r.top(), r.bottom(), DecimalSeparator());
}

void SpectraFigurePanel::ShowNoCurves() {
    view_->SetFigure(BuildFigure(false));
}

void SpectraFigurePanel::SetAxisChoices(AbscissaChoice abscissa, OrdinateChoice ordinate) {
    abscissa_ = abscissa;
    ordinate_ = ordinate;
    Refresh();
}

bool SpectraFigurePanel::ShowsCheckedRecords() const {
    return show_->currentIndex() == 1;
}

void SpectraFigurePanel::Reset() {
    suite_.reset();
    Refresh();
    emit SuiteChanged();
}

bool SpectraFigurePanel::IsAnalysing() const {
    return analysing_;
}

void SpectraFigurePanel::AnalyseChecked(const std::vector<int>& recordIndexes,
                                        const std::vector<double>& enteredRatios) {
    if (analysing_) {
        return;
    }
    enteredRatios_ = enteredRatios;
    FillDampingList();
    AnalyseSuite(recordIndexes);
}

void SpectraFigurePanel::FillDampingList() {
    std::vector<double> ratios = enteredRatios_;
    const std::optional<double> targetRatio = target_ ? targetRatio_ : std::nullopt;
    if (targetRatio) {
        ratios.push_back(*targetRatio);
    }
    travik::SortAndRemoveRepeatedRatios(ratios);
    const bool chosenListed =
        chosenRatio_ && std::find(ratios.begin(), ratios.end(), *chosenRatio_) != ratios.end();
    const std::optional<double> pick =
        chosenListed ? chosenRatio_ : travik::ComparisonDampingRatio(enteredRatios_, targetRatio);
    const QSignalBlocker blocker(damping_);
    damping_->clear();
    for (const double zeta : ratios) {
        QString text = Format(zeta * 100, "0.###") + QStringLiteral(" %");
        if (targetRatio && zeta == *targetRatio) {
            text += QStringLiteral(" (target)");
        }
        damping_->addItem(text, zeta);
        if (pick && zeta == *pick) {
            damping_->setCurrentIndex(damping_->count() - 1);
        }
    }
}

void SpectraFigurePanel::FollowDampingChoice() {
    if (damping_->count() == 0 || analysing_) {
        return;
    }
    const double zeta = damping_->currentData().toDouble();
    if (suite_ && suite_->dampingRatio == zeta) {
        return;
    }
    AnalyseSuite(workspace_.Checks().CheckedIndexes());
}

void SpectraFigurePanel::AnalyseSuite(const std::vector<int>& recordIndexes) {
    if (recordIndexes.empty() || damping_->count() == 0) {
        suite_.reset();
        Refresh();
        emit SuiteChanged();
        return;
    }
    // The worker analyses copies, so that a new import cannot pull records from under it.
    auto records = std::make_shared<std::vector<travik::TimeHistory>>();
    for (const int index : recordIndexes) {
        records->push_back(workspace_.Records().At(index));
    }
    const travik::AnalysisSettings settings = workspace_.Settings();
    const std::vector<double> periods = settings.Periods();
    const double zeta = damping_->currentData().toDouble();
    progress_->setRange(0, kProgressSteps);
    progress_->setValue(0);
    progress_->setVisible(records->size() > 1);
    analysing_ = true;
    // The workspace's one long job: the status bar shows its progress and Cancel, no other
    // job runs beside it, and closing the window waits for it.
    const bool started = workspace_.Work().Start<travik::SuiteSpectra>(
        QStringLiteral("Analysing %1 checked records").arg(records->size()),
        [records, settings, zeta, periods](BackgroundWork::Control& control) {
            std::vector<const travik::TimeHistory*> pointers;
            for (const travik::TimeHistory& record : *records) {
                pointers.push_back(&record);
            }
            return travik::ComputeSuiteSpectra(
                pointers, settings, zeta, periods,
                [&control](int done, int total) {
                    control.Progress(total > 0 ? static_cast<double>(done) / total : 0.0);
                },
                control.CancelFlag());
        },
        [this, records](travik::SuiteSpectra&& suite) {
            suiteRecords_ = records;
            SuiteFinished(std::move(suite));
        });
    if (!started) {
        analysing_ = false;
        progress_->setVisible(false);
    }
}

void SpectraFigurePanel::WorkEnded() {
    analysing_ = false;
    progress_->setVisible(false);
}

void SpectraFigurePanel::SuiteFinished(travik::SuiteSpectra&& suite) {
    WorkEnded();
    suite_ = std::move(suite);
    if (!suite_->failedRecords.empty()) {
        QString names;
        for (const std::string& name : suite_->failedRecords) {
            names += QStringLiteral("\n") + QString::fromStdString(name);
        }
        platform_.ShowMessage(window(), PlatformServices::MessageKind::Warning,
                              QStringLiteral("No spectrum could be computed for:") + names);
    }
    Refresh();
    emit SuiteChanged();
}

std::optional<QString> SpectraFigurePanel::WriteStatisticsReport(const QString& folder) const {
    if (!suite_ || suite_->recordNames.empty() || !suiteRecords_ || suiteRecords_->empty()) {
        return std::nullopt;
    }
    travik::ReportLines lines;
    travik::BuildSuiteStatisticsReport(lines, suiteRecords_->front(), suite_->statistics,
                                       travik::kSoftwareEdition, travik::TodayLocalDate());
    travik::ReportPathPlanner planner;
    try {
        travik::WriteReport(planner.Next(ToPath(folder), suiteRecords_->front().SourceFileName(),
                                         travik::kSuiteStatisticsReportSuffix),
                            lines);
    } catch (const travik::ReportWriteError& error) {
        return QString::fromStdString(error.what());
    }
    return std::nullopt;
}

bool SpectraFigurePanel::ApplyTargetChoice(const TargetChoice& choice) {
    const double longest = std::max(workspace_.Settings().maxPeriod, 0.1);
    try {
        switch (choice.source) {
            case TargetChoice::Source::File:
                target_ = travik::ReadTargetSpectrumFile(ToPath(choice.file));
                targetRatio_.reset();
                break;
            case TargetChoice::Source::Asce:
                target_ = travik::SampleAsceTwoPeriod(choice.asce, longest);
                targetRatio_ = travik::kAsceDesignDampingRatio;
                break;
            case TargetChoice::Source::Eurocode:
                target_ = travik::SampleEurocodeElastic(choice.eurocode, longest);
                targetRatio_ = travik::EurocodeDampingRatio(choice.eurocode);
                break;
        }
    } catch (const travik::TargetSpectrumError& error) {
        platform_.ShowMessage(window(), PlatformServices::MessageKind::Warning,
                              QString::fromStdString(error.what()));
        return false;
    }
    targetChoice_ = choice;
    clearTarget_->setEnabled(true);
    // The statistics are compared with the target at its own damping.
    chosenRatio_.reset();
    TargetDampingChanged();
    return true;
}

void SpectraFigurePanel::ClearTarget() {
    target_.reset();
    clearTarget_->setEnabled(false);
    TargetDampingChanged();
}

void SpectraFigurePanel::TargetDampingChanged() {
    FillDampingList();
    if (ShowsCheckedRecords() && suite_) {
        FollowDampingChoice();
    }
    Refresh();
}

void SpectraFigurePanel::AddTargetClick() {
    travik::figures::TargetDialog dialog(targetChoice_, DecimalSeparator(), window());
    KeepOnScreen(&dialog);
    connect(&dialog, &travik::figures::TargetDialog::BrowseRequested, &dialog, [this, &dialog] {
        const QStringList files = platform_.ChooseRecordFiles(&dialog, QString());
        if (!files.isEmpty()) {
            dialog.SetFile(files.front());
        }
    });
    if (dialog.exec() == QDialog::Accepted) {
        ApplyTargetChoice(dialog.Choice());
    }
}

ChartFigure SpectraFigurePanel::BuildFigure(bool withCurves) const {
    travik::figures::SpectrumChartOptions o;
    o.plot = ordinate_ == OrdinateChoice::Tripartite ? travik::figures::SpectrumPlot::Tripartite
             : ordinate_ == OrdinateChoice::Adrs     ? travik::figures::SpectrumPlot::Adrs
                                                     : travik::figures::SpectrumPlot::Choice;
    o.abscissa = static_cast<int>(abscissa_);
    o.ordinate = static_cast<int>(KindOf(ordinate_));
    o.tripartiteAgainstFrequency = abscissa_ == AbscissaChoice::Frequency;
    o.xScale = logX_->isChecked() ? AxisScale::Log : AxisScale::Linear;
    o.yScale = logY_->isChecked() ? AxisScale::Log : AxisScale::Linear;
    const travik::SpectraResult& result = workspace_.Spectra();
    o.g = workspace_.Settings().g;

    std::vector<SpectrumCurve> curves;
    travik::RecordSpan span{result.timeStep, result.sampleCount, result.highPassCornerHz};
    if (rotated_) {
        curves = rotated_->curves;
        o.title = rotated_->title;
        o.g = rotated_->g;
    } else if (ShowsCheckedRecords() && suite_) {
        travik::figures::StatisticsChoice show;
        show.mean = mean_->isChecked();
        show.median = median_->isChecked();
        show.meanPlusMinusSigma = sigma_->isChecked();
        show.logMean = logMean_->isChecked();
        show.logMeanPlusMinusSigma = logSigma_->isChecked();
        curves = travik::figures::CurvesOfSuite(*suite_, show);
        o.title = QStringLiteral("%1 checked records, damping %2%")
                      .arg(suite_->recordNames.size())
                      .arg(Format(suite_->dampingRatio * 100, "0.###"));
        o.g = suite_->settings.g;
        // The shading every record shares: that of the shortest.
        if (suiteRecords_ && !suiteRecords_->empty()) {
            const travik::TimeHistory* shortest = &suiteRecords_->front();
            for (const travik::TimeHistory& r : *suiteRecords_) {
                if (r.SampleCount() * r.TimeStep() <
                    shortest->SampleCount() * shortest->TimeStep()) {
                    shortest = &r;
                }
            }
            // ... and the highest high-pass corner: above 0.8 / corner no record's spectrum
            // can be trusted for all of them.
            std::optional<double> corner;
            for (const travik::TimeHistory& r : *suiteRecords_) {
                const std::optional<double> own =
                    r.IsCorrected() && r.Filter() ? r.Filter()->HighPassCorner() : std::nullopt;
                if (own && (!corner || *own > *corner)) {
                    corner = own;
                }
            }
            span = {shortest->TimeStep(), shortest->SampleCount(), corner};
        }
        o.bands = travik::UntrustedPeriodBands(span, suite_->settings, DecimalSeparator());
    } else if (!result.periods.empty()) {
        for (std::size_t d = 0; d < result.dampingRatios.size(); ++d) {
            // A damping ratio is shown whole or not at all.
            if (!result.DampingComputed(d)) {
                continue;
            }
            curves.push_back(travik::figures::CurveOfResult(result, d, DecimalSeparator()));
        }
        o.title = QFileInfo(QString::fromStdString(result.recordName)).fileName();
        o.g = result.settings.g;
        o.bands = travik::UntrustedPeriodBands(span, result.settings, DecimalSeparator());
    }
    if (target_) {
        curves.push_back(travik::figures::CurveOfTarget(*target_, o.g));
    }
    if (!withCurves) {
        curves.clear();
    }
    ChartFigure figure = travik::figures::SpectrumChart(curves, o);
    return figure;
}

void SpectraFigurePanel::ShowRotated(std::optional<RotatedChart> chart) {
    rotated_ = std::move(chart);
    Refresh();
}

void SpectraFigurePanel::Refresh() {
    // The four-way paper is log-log by nature.
    logX_->setEnabled(ordinate_ != OrdinateChoice::Tripartite);
    logY_->setEnabled(ordinate_ != OrdinateChoice::Tripartite);
    const bool checked = ShowsCheckedRecords();
    damping_->setVisible(checked);
    for (QCheckBox* box : {mean_, median_, sigma_, logMean_, logSigma_}) {
        box->setVisible(checked);
    }
    view_->SetFigure(BuildFigure());
    UpdateRatio();
}

void SpectraFigurePanel::UpdateRatio() {
    if (!target_) {
        ratio_->clear();
        return;
    }
    const std::size_t psa = static_cast<std::size_t>(travik::SpectrumKind::PseudoAcceleration);
    const std::vector<double>* periods = nullptr;
    const std::vector<double>* values = nullptr;
    QString what;
    if (ShowsCheckedRecords() && suite_ && suite_->statistics.kinds[psa].recordCount > 0) {
        periods = &suite_->periods;
        values = &suite_->statistics.kinds[psa].mean;
        what = QStringLiteral("Mean/target");
    } else if (!workspace_.Spectra().periods.empty() &&
               !workspace_.Spectra().dampingRatios.empty()) {
        periods = &workspace_.Spectra().periods;
        values = &workspace_.Spectra().columns[psa].front();
        what = QStringLiteral("Record/target (first damping)");
    }
    if (periods == nullptr) {
        ratio_->setText(QStringLiteral("Analyse to compare with the target"));
        return;
    }
    const travik::TargetRatio r = travik::CompareMeanToTarget(
        *periods, *values, *target_, targetChoice_.ratioFrom, targetChoice_.ratioTo);
    if (!r.valid) {
        ratio_->setText(what + QStringLiteral(": no period of the range lies on the target"));
        return;
    }
    ratio_->setText(QStringLiteral("%1 (PSa), %2–%3 sec: min %4 at %5 sec, max %6 at %7 sec, "
                                   "mean %8")
                        .arg(what, Format(targetChoice_.ratioFrom, "0.###"),
                             Format(targetChoice_.ratioTo, "0.###"), Format(r.minRatio, "0.00"),
                             Format(r.minAtPeriod, "0.###"), Format(r.maxRatio, "0.00"),
                             Format(r.maxAtPeriod, "0.###"), Format(r.meanRatio, "0.00")));
}

ChartFigure SpectraFigurePanel::ShownFigure() const {
    ChartFigure figure = view_->ShownFigure();
    figure.whiteBackground = true;
    return figure;
}

void SpectraFigurePanel::SaveChartAs() {
    if (rotated_ && !rotated_->imageName.isEmpty()) {
        SaveFiguresAs(platform_, window(), {ShownFigure()}, rotated_->imageName);
        return;
    }
    const std::string& name = workspace_.Spectra().recordName;
    SaveFiguresAs(platform_, window(), {ShownFigure()},
                  QString::fromStdString(travik::ReportBaseName(name.empty() ? "spectra" : name)) +
                      QStringLiteral("_RS"));
}

void SpectraFigurePanel::CopyChart() {
    CopyFigures(platform_, {ShownFigure()});
}

void SpectraFigurePanel::PrintChart() {
    PrintFigures(platform_, window(), {ShownFigure()});
}
