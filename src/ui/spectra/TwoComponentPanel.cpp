#include "ui/spectra/TwoComponentPanel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <string>
#include <utility>

#include "core/export/ExportMessages.h"
#include "core/export/RotDReport.h"
#include "core/rotation/ComponentOrientation.h"
#include "core/rotation/PairProposals.h"
#include "core/text/NumberFormat.h"
#include "core/text/ShownText.h"
#include "ui/app/CheckedExport.h"
#include "ui/app/FormHelpers.h"
#include "ui/app/PlatformServices.h"
#include "ui/app/Workspace.h"
#include "ui/figures/FigureView.h"
#include "ui/figures/PolarFigures.h"

namespace {

constexpr const char* kNoPairChosenMessage =
    "Choose a pair of horizontal components first (H1 and H2, then Add Pair).";
constexpr const char* kNoPairCheckedMessage = "Check the pairs to export first.";
// The panel's width beside the chart, and the polar view's height: a little more than its
// width, for the title above a plot of about equal sides.
constexpr int kPanelWidth = 300;
constexpr int kPolarHeight = 330;

QString Shown(const std::string& text) {
    return QString::fromStdString(travik::ShownText(text));
}

// The records as the pairing sees them: each with its file and the reading it came from.
std::vector<travik::LoadedComponent> LoadedComponents(const Workspace& workspace) {
    std::vector<travik::LoadedComponent> loaded;
    const RecordSources& sources = workspace.Sources();
    for (int i = 0; i < workspace.Records().Count(); ++i) {
        const auto at = static_cast<std::size_t>(i);
        travik::LoadedComponent component;
        component.record = &workspace.Records().At(i);
        component.reading = at;
        if (at < sources.size() && sources[at]) {
            component.path = sources[at]->path;
            // The channels of one reading share its source.
            for (std::size_t j = 0; j < at; ++j) {
                if (sources[j] == sources[at]) {
                    component.reading = j;
                    break;
                }
            }
        }
        loaded.push_back(std::move(component));
    }
    return loaded;
}

}  // namespace

TwoComponentPanel::TwoComponentPanel(Workspace& workspace, PlatformServices& platform,
                                     DampingSource dampingRatios, QWidget* parent)
    : QWidget(parent),
      workspace_(workspace),
      platform_(platform),
      dampingRatios_(std::move(dampingRatios)) {
    setObjectName(QStringLiteral("pnlTwoComponents"));
    setFixedWidth(kPanelWidth);
    CreateControls();
    ConnectHandlers();
    ShowPolar();
}

void TwoComponentPanel::CreateControls() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Pairs (checked: exported)")));
    pairList_ = Named(new QListWidget, "lstPairs");
    pairList_->setToolTip(QStringLiteral(
        "Two horizontal components taken as one ground motion, H1 + H2: proposed for the "
        "channels of one file and for K-NET EW/NS files of one station and time"));
    layout->addWidget(pairList_, 1);

    auto* components = new QGridLayout;
    h1_ = Named(new QComboBox, "cbbH1");
    h2_ = Named(new QComboBox, "cbbH2");
    for (QComboBox* box : {h1_, h2_}) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(12);
    }
    auto* h1Label = new QLabel(QStringLiteral("H1"));
    h1Label->setBuddy(h1_);
    auto* h2Label = new QLabel(QStringLiteral("H2"));
    h2Label->setBuddy(h2_);
    components->addWidget(h1Label, 0, 0);
    components->addWidget(h1_, 0, 1);
    components->addWidget(h2Label, 1, 0);
    components->addWidget(h2_, 1, 1);
    components->setColumnStretch(1, 1);
    layout->addLayout(components);

    auto* editing = new QHBoxLayout;
    propose_ = Named(new QPushButton(QStringLiteral("Propose")), "btnProposePairs");
    propose_->setToolTip(QStringLiteral("Propose the pairs of the loaded records anew"));
    add_ = Named(new QPushButton(QStringLiteral("Add Pair")), "btnAddPair");
    remove_ = Named(new QPushButton(QStringLiteral("Remove")), "btnRemovePair");
    for (QPushButton* button : {propose_, add_, remove_}) {
        editing->addWidget(button);
    }
    layout->addLayout(editing);
    note_ = Named(new QLabel, "lblPairNote");
    note_->setWordWrap(true);
    layout->addWidget(note_);

    auto* work = new QHBoxLayout;
    rotate_ = Named(new QPushButton(QStringLiteral("Compute Rotated")), "btnRotate");
    rotate_->setToolTip(QStringLiteral(
        "RotD00, RotD50, RotD100, GMRotI50 and the two components' PSa of the chosen pair"));
    export_ = Named(new QPushButton(QStringLiteral("Export RotD")), "btnExportRotD");
    export_->setToolTip(QStringLiteral("Write <H1>_RotD.csv of every checked pair"));
    work->addWidget(rotate_);
    work->addWidget(export_);
    layout->addLayout(work);

    auto* polarChoice = new QHBoxLayout;
    polarPeriod_ = Named(new QComboBox, "cbbPolarPeriod");
    polarPeriod_->setToolTip(QStringLiteral(
        "The period of the polar view; it follows the pointer over the spectrum chart"));
    polarDamping_ = Named(new QComboBox, "cbbPolarDamping");
    polarChoice->addWidget(new QLabel(QStringLiteral("Polar")));
    polarChoice->addWidget(polarPeriod_, 1);
    polarChoice->addWidget(polarDamping_);
    layout->addLayout(polarChoice);
    polar_ = Named(new travik::figures::FigureView, "chtPolar");
    polar_->setFixedHeight(kPolarHeight);
    polar_->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(polar_);
}

void TwoComponentPanel::ConnectHandlers() {
    connect(&workspace_, &Workspace::recordsReplaced, this, &TwoComponentPanel::RecordsReplaced);
    connect(propose_, &QPushButton::clicked, this, &TwoComponentPanel::ProposeClick);
    connect(add_, &QPushButton::clicked, this, &TwoComponentPanel::AddPairClick);
    connect(remove_, &QPushButton::clicked, this, &TwoComponentPanel::RemovePairClick);
    connect(rotate_, &QPushButton::clicked, this, &TwoComponentPanel::RotateClick);
    connect(export_, &QPushButton::clicked, this, &TwoComponentPanel::ExportClick);
    connect(pairList_, &QListWidget::currentRowChanged, this, &TwoComponentPanel::PairChosen);
    connect(h1_, &QComboBox::activated, this, &TwoComponentPanel::ComponentChosen);
    connect(h2_, &QComboBox::activated, this, &TwoComponentPanel::ComponentChosen);
    connect(polarPeriod_, &QComboBox::currentIndexChanged, this, &TwoComponentPanel::ShowPolar);
    connect(polarDamping_, &QComboBox::currentIndexChanged, this, &TwoComponentPanel::ShowPolar);
    connect(&workspace_.Work(), &BackgroundWork::busyChanged, this, &TwoComponentPanel::SetBusy);
}

void TwoComponentPanel::SetBusy(bool busy) {
    // While a pair is computed or exported, nothing that would change what it reads.
    for (QWidget* control : std::initializer_list<QWidget*>{pairList_, h1_, h2_, propose_, add_,
                                                            remove_, rotate_, export_}) {
        control->setEnabled(!busy);
    }
}

// ---- Pairs -------------------------------------------------------------------------------

void TwoComponentPanel::RecordsReplaced() {
    for (QComboBox* box : {h1_, h2_}) {
        const QSignalBlocker blocker(box);
        FillRecordSelector(box, workspace_.Records());
        box->setCurrentIndex(-1);
    }
    ProposeClick();
}

void TwoComponentPanel::ProposeClick() {
    {
        const QSignalBlocker blocker(pairList_);
        pairList_->clear();
        pairs_.clear();
    }
    for (const travik::ProposedPair& pair :
         travik::ProposeComponentPairs(LoadedComponents(workspace_))) {
        AddPair(static_cast<int>(pair.h1), static_cast<int>(pair.h2), true);
    }
    pairList_->setCurrentRow(pairs_.empty() ? -1 : 0);
    if (pairs_.empty()) {
        PairChosen();
    }
}

QString TwoComponentPanel::PairText(int h1, int h2) const {
    const travik::RecordList& records = workspace_.Records();
    return Shown(records.At(h1).SourceFileName()) + QStringLiteral(" + ") +
           Shown(records.At(h2).SourceFileName());
}

void TwoComponentPanel::AddPair(int h1, int h2, bool checked) {
    auto* item = new QListWidgetItem(PairText(h1, h2));
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    pairs_.push_back({h1, h2, MotionOf(workspace_.Records().At(h1), workspace_.Records().At(h2))});
    const QSignalBlocker blocker(pairList_);
    pairList_->addItem(item);
}

void TwoComponentPanel::AddPairClick() {
    const int h1 = h1_->currentIndex();
    const int h2 = h2_->currentIndex();
    if (h1 < 0 || h2 < 0 || h1 == h2) {
        platform_.ShowMessage(window(), PlatformServices::MessageKind::Information,
                              QString::fromLatin1(kNoPairChosenMessage));
        return;
    }
    AddPair(h1, h2, true);
    pairList_->setCurrentRow(static_cast<int>(pairs_.size()) - 1);
}

void TwoComponentPanel::RemovePairClick() {
    const int row = pairList_->currentRow();
    if (row < 0) {
        return;
    }
    pairs_.erase(pairs_.begin() + row);
    {
        const QSignalBlocker blocker(pairList_);
        delete pairList_->takeItem(row);
    }
    pairList_->setCurrentRow(std::min(row, pairList_->count() - 1));
    PairChosen();
}

TwoComponentPanel::PairEntry* TwoComponentPanel::CurrentEntry() {
    const int row = pairList_->currentRow();
    return row >= 0 && row < static_cast<int>(pairs_.size())
               ? &pairs_[static_cast<std::size_t>(row)]
               : nullptr;
}

const TwoComponentPanel::PairEntry* TwoComponentPanel::CurrentEntry() const {
    return const_cast<TwoComponentPanel*>(this)->CurrentEntry();
}

const RotatedMotion* TwoComponentPanel::Current() const {
    const PairEntry* entry = CurrentEntry();
    return entry != nullptr && entry->motion->result ? entry->motion.get() : nullptr;
}

void TwoComponentPanel::PairChosen() {
    const PairEntry* entry = CurrentEntry();
    const QSignalBlocker block1(h1_);
    const QSignalBlocker block2(h2_);
    h1_->setCurrentIndex(entry != nullptr ? entry->h1 : -1);
    h2_->setCurrentIndex(entry != nullptr ? entry->h2 : -1);
    ShowPairNote();
    FillPolarChoices();
    emit CurrentChanged();
}

// H1 or H2 chosen anew: the chosen pair becomes the new one, its spectra to be computed.
void TwoComponentPanel::ComponentChosen() {
    PairEntry* entry = CurrentEntry();
    const int h1 = h1_->currentIndex();
    const int h2 = h2_->currentIndex();
    if (entry == nullptr || h1 < 0 || h2 < 0 || (h1 == entry->h1 && h2 == entry->h2)) {
        return;
    }
    entry->h1 = h1;
    entry->h2 = h2;
    entry->motion = MotionOf(workspace_.Records().At(h1), workspace_.Records().At(h2));
    pairList_->currentItem()->setText(PairText(h1, h2));
    PairChosen();
}

void TwoComponentPanel::ShowPairNote() {
    const PairEntry* entry = CurrentEntry();
    QString note;
    if (entry != nullptr) {
        const travik::ComponentPair& pair = entry->motion->pair;
        if (h1_->currentIndex() == h2_->currentIndex()) {
            note = QStringLiteral("H1 and H2 are the same record");
        } else if (pair.refusal) {
            note = QString::fromStdString(*pair.refusal);
        } else {
            for (const std::string& warning : pair.warnings) {
                note += (note.isEmpty() ? QString() : QStringLiteral("\n")) +
                        QString::fromStdString(warning);
            }
        }
    }
    note_->setText(note);
    note_->setVisible(!note.isEmpty());
}

// ---- Computing and exporting ---------------------------------------------------------------

void TwoComponentPanel::RotateClick() {
    PairEntry* entry = CurrentEntry();
    if (entry == nullptr) {
        platform_.ShowMessage(window(), PlatformServices::MessageKind::Information,
                              QString::fromLatin1(kNoPairChosenMessage));
        return;
    }
    if (entry->motion->pair.refusal || entry->h1 == entry->h2) {
        platform_.ShowMessage(
            window(), PlatformServices::MessageKind::Warning,
            note_->text().isEmpty() ? QString::fromLatin1(kNoPairChosenMessage) : note_->text());
        return;
    }
    const std::optional<std::vector<double>> ratios = dampingRatios_();
    if (!ratios) {
        return;
    }
    struct Outcome {
        std::optional<travik::RotatedSpectraResult> result;
        std::string error;
    };
    const travik::AnalysisSettings settings = workspace_.Settings();
    const travik::RotatedSpectraOptions options = RotatedOptionsFor(settings, *ratios);
    std::shared_ptr<RotatedMotion> motion = entry->motion;
    workspace_.Work().Start<Outcome>(
        QStringLiteral("Computing the rotated spectra of %1").arg(pairList_->currentItem()->text()),
        [motion, settings, options](BackgroundWork::Control& control) {
            Outcome outcome;
            control.Progress(0.0);
            outcome.result = ComputeRotatedAsJob(
                *motion, settings, options, control,
                [&control](double done) { control.Progress(done); }, outcome.error);
            return outcome;
        },
        [this, motion](Outcome&& outcome) {
            if (!outcome.result) {
                platform_.ShowMessage(window(), PlatformServices::MessageKind::Warning,
                                      QString::fromStdString(outcome.error));
                return;
            }
            motion->result = std::move(outcome.result);
            if (const PairEntry* shown = CurrentEntry();
                shown != nullptr && shown->motion == motion) {
                FillPolarChoices();
                emit CurrentChanged();
            }
        });
}

void TwoComponentPanel::ExportClick() {
    std::vector<int> rows = CheckedRows(pairList_);
    if (rows.empty()) {
        platform_.ShowMessage(window(), PlatformServices::MessageKind::Information,
                              QString::fromLatin1(kNoPairCheckedMessage));
        return;
    }
    const std::optional<std::vector<double>> ratios = dampingRatios_();
    if (!ratios) {
        return;
    }
    std::vector<int> firstComponents;
    auto motions = std::make_shared<std::vector<std::shared_ptr<RotatedMotion>>>();
    for (const int row : rows) {
        const PairEntry& entry = pairs_[static_cast<std::size_t>(row)];
        firstComponents.push_back(entry.h1);
        motions->push_back(entry.motion);
    }
    QString folder;
    if (!ChooseExportFolder(workspace_, platform_, window(), folder) ||
        !ReplacingReportsAccepted(firstComponents, workspace_.Records(), folder,
                                  {travik::kRotDReportSuffix}, platform_, window())) {
        return;
    }
    struct Outcome {
        std::optional<QString> error;
        std::vector<std::string> refusals;
    };
    const travik::AnalysisSettings settings = workspace_.Settings();
    const travik::RotatedSpectraOptions options = RotatedOptionsFor(settings, *ratios);
    const travik::ReportDate date = travik::TodayLocalDate();
    workspace_.Work().Start<Outcome>(
        QStringLiteral("Writing the two-component reports"),
        [motions, settings, options, folder, date](BackgroundWork::Control& control) {
            Outcome outcome;
            std::vector<const RotatedMotion*> list;
            for (const auto& motion : *motions) {
                list.push_back(motion.get());
            }
            outcome.error = WriteRotatedReports(list, settings, options, folder, date, control,
                                                outcome.refusals);
            return outcome;
        },
        [this, folder, count = motions->size()](Outcome&& outcome) {
            for (const std::string& refusal : outcome.refusals) {
                platform_.ShowMessage(window(), PlatformServices::MessageKind::Warning,
                                      QString::fromStdString(refusal));
            }
            if (outcome.error) {
                platform_.ShowMessage(window(), PlatformServices::MessageKind::Warning,
                                      *outcome.error);
                return;
            }
            ShowReportsWritten(window(), count - outcome.refusals.size(), folder);
            platform_.ShowMessage(window(), PlatformServices::MessageKind::Information,
                                  QString::fromLatin1(travik::kExportDoneMessage));
        });
}

// ---- Polar view --------------------------------------------------------------------------

void TwoComponentPanel::FillPolarChoices() {
    const RotatedMotion* motion = Current();
    const int period = polarPeriod_->currentIndex();
    const int damping = polarDamping_->currentIndex();
    {
        const QSignalBlocker block1(polarPeriod_);
        const QSignalBlocker block2(polarDamping_);
        polarPeriod_->clear();
        polarDamping_->clear();
        if (motion != nullptr) {
            polarPeriod_->addItem(QStringLiteral("PGA"), 0.0);
            for (const double t : motion->result->options.periods) {
                polarPeriod_->addItem(
                    QString::fromStdString(travik::FormatGeneral(t, DecimalSeparator())) +
                        QStringLiteral(" s"),
                    t);
            }
            for (const travik::RotatedDampingSpectra& spectra : motion->result->damping) {
                polarDamping_->addItem(
                    QString::fromStdString(travik::FormatNumber(spectra.dampingRatio * 100, "0.###",
                                                                DecimalSeparator())) +
                    QStringLiteral(" %"));
            }
            polarPeriod_->setCurrentIndex(std::clamp(period, 0, polarPeriod_->count() - 1));
            polarDamping_->setCurrentIndex(std::clamp(damping, 0, polarDamping_->count() - 1));
        }
    }
    ShowPolar();
}

void TwoComponentPanel::FollowPeriod(double period) {
    if (Current() == nullptr || !(period >= 0.0) || polarPeriod_->count() == 0) {
        return;
    }
    // The nearest period in the ratio of periods (the chart's spacing), the ground below the
    // shortest.
    int nearest = 0;
    double best = HUGE_VAL;
    for (int i = 1; i < polarPeriod_->count(); ++i) {
        const double distance = std::fabs(std::log(polarPeriod_->itemData(i).toDouble() / period));
        if (distance < best) {
            best = distance;
            nearest = i;
        }
    }
    if (period == 0.0) {
        nearest = 0;
    }
    polarPeriod_->setCurrentIndex(nearest);
}

void TwoComponentPanel::ShowPolar() {
    const RotatedMotion* motion = Current();
    if (motion == nullptr || polarPeriod_->currentIndex() < 0 ||
        polarDamping_->currentIndex() < 0) {
        travik::figures::ChartFigure empty;
        empty.title = QStringLiteral("Rotated peaks");
        empty.xTitle = QStringLiteral("H1 (g)");
        empty.yTitle = QStringLiteral("H2 (g)");
        empty.legend = false;
        empty.view = QRectF(QPointF(-1, -1), QPointF(1, 1));
        polar_->SetFigure(empty);
        return;
    }
    const auto damping = static_cast<std::size_t>(polarDamping_->currentIndex());
    const int row = polarPeriod_->currentIndex();
    const std::optional<std::size_t> period =
        row > 0 ? std::optional<std::size_t>(static_cast<std::size_t>(row - 1)) : std::nullopt;
    const travik::RotatedPeaks& peaks =
        period ? motion->result->damping[damping].points[*period].psa : motion->result->pga;
    std::optional<double> azimuth;
    if (motion->pair.AzimuthsKnown()) {
        azimuth =
            travik::RotatedAzimuth(*motion->pair.azimuth1, *motion->pair.azimuth2, peaks.maxAngle);
    }
    polar_->SetFigure(travik::figures::RotatedPeaksFigure(*motion->result, damping, period, azimuth,
                                                          DecimalSeparator()));
}
