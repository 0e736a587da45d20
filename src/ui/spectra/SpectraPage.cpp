#include "ui/spectra/SpectraPage.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <new>
#include <optional>
#include <string>

#include "core/analysis/AnalysisWork.h"
#include "core/analysis/DampingValues.h"
#include "core/analysis/SpectraComputation.h"
#include "core/export/ExportMessages.h"
#include "core/export/ReportHeader.h"
#include "core/export/SpectraReport.h"
#include "core/export/SuiteStatisticsReport.h"
#include "core/spectra/SpectrumAccuracy.h"
#include "core/text/NumberFormat.h"
#include "core/text/ShownText.h"
#include "ui/app/CheckedExport.h"
#include "ui/app/PlatformServices.h"
#include "ui/app/RecordCheckList.h"
#include "ui/app/StringGrid.h"
#include "ui/app/Workspace.h"
#include "ui/figures/FigureView.h"
#include "ui/figures/RotatedFigures.h"
#include "ui/presentation/GridClipboard.h"
#include "ui/presentation/SpectrumTables.h"
#include "ui/spectra/RotatedTable.h"
#include "ui/spectra/SpectraFigurePanel.h"
#include "ui/spectra/SpectraJob.h"
#include "ui/spectra/TwoComponentPanel.h"
#include "ui/suite/ScaleToTarget.h"
#include "ui/suite/ScalingPanel.h"

namespace {

constexpr const char* kNoRecordToAnalyseMessage =
    "There is no record to analyse: import a record first (File - Import Time History "
    "Records).";
constexpr const char* kEmptyReadout = "X : 0      Y : 0";
constexpr int kLeftColumnWidth = 227;

// The kind shown by each table, in the order strngrd1 .. strngrd5 (pages 1 .. 5 of pgc2).
constexpr std::array<travik::SpectrumKind, 5> kTableKinds = {
    travik::SpectrumKind::Displacement, travik::SpectrumKind::Velocity,
    travik::SpectrumKind::Acceleration, travik::SpectrumKind::PseudoVelocity,
    travik::SpectrumKind::PseudoAcceleration};

// The page of pgc2 with the checked records' statistics, after the five tables, and the
// page of a pair's rotated spectra after it.
constexpr int kStatisticsPage = 6;
constexpr int kRotatedPage = 7;

}  // namespace

SpectraPage::SpectraPage(Workspace& workspace, PlatformServices& platform, QWidget* parent)
    : QWidget(parent), workspace_(workspace), platform_(platform) {
    auto* pageLayout = new QHBoxLayout(this);
    pageLayout->setContentsMargins(4, 4, 4, 4);
    // The user may widen the left column to read long record names.
    splLeft = Named(new QSplitter(Qt::Horizontal), "splLeft");
    splLeft->setChildrenCollapsible(false);
    splLeft->addWidget(CreateRecordPanel());
    pageLayout->addWidget(splLeft, 1);

    pgc2 = Named(new QTabWidget, "pgc2");
    pgc2->addTab(CreateGraphTab(), QStringLiteral("Graph"));
    const char* const gridNames[] = {"strngrd1", "strngrd2", "strngrd3", "strngrd4", "strngrd5"};
    const char* const captions[] = {"Displacement", "Velocity", "Acceleration", "Pseudo-Velocity",
                                    "Pseudo-Accelertion"};
    for (std::size_t k = 0; k < grids.size(); ++k) {
        auto* tab = new QWidget;
        tab->setObjectName(QStringLiteral("ts%1").arg(4 + k));
        auto* layout = new QVBoxLayout(tab);
        layout->setContentsMargins(2, 2, 2, 2);
        // Designed with ten columns and a handful of rows; an analysis resizes it.
        grids[k] = Named(new StringGrid(10, 5), gridNames[k]);
        grids[k]->setContextMenuPolicy(Qt::CustomContextMenu);
        layout->addWidget(grids[k]);
        pgc2->addTab(tab, QString::fromLatin1(captions[k]));
    }
    auto* statisticsTab = Named(new QWidget, "tsStatistics");
    auto* statisticsLayout = new QVBoxLayout(statisticsTab);
    statisticsLayout->setContentsMargins(2, 2, 2, 2);
    statistics_ = Named(new StringGrid(10, 5), "strngrd6");
    statistics_->setContextMenuPolicy(Qt::CustomContextMenu);
    statistics_->setToolTip(QStringLiteral(
        "Statistics of the checked records (Show: Checked records) for the Y-axis spectrum"));
    statisticsLayout->addWidget(statistics_);
    pgc2->addTab(statisticsTab, QStringLiteral("Statistics"));
    auto* rotatedTab = Named(new QWidget, "tsRotated");
    auto* rotatedLayout = new QVBoxLayout(rotatedTab);
    rotatedLayout->setContentsMargins(2, 2, 2, 2);
    rotated_ = Named(new StringGrid(10, 5), "strngrdRotated");
    rotated_->setContextMenuPolicy(Qt::CustomContextMenu);
    rotated_->setToolTip(QStringLiteral(
        "The rotated spectra of the pair chosen in the two-component mode (Compute Rotated)"));
    rotatedLayout->addWidget(rotated_);
    pgc2->addTab(rotatedTab, QStringLiteral("Rotated"));
    scaling_ = new ScalingPanel(platform_);
    pgc2->addTab(scaling_, QStringLiteral("Scaling"));
    scaleToTarget_ = new ScaleToTarget(
        workspace_, platform_, *scaling_, [this] { return CheckedRows(lst3); }, this);
    splLeft->addWidget(pgc2);
    splLeft->setStretchFactor(0, 0);
    splLeft->setStretchFactor(1, 1);
    splLeft->setSizes({kLeftColumnWidth, 4 * kLeftColumnWidth});
    pgc2->setCurrentIndex(0);

    pm2 = Named(new QMenu(this), "pm2");
    CopySelection1 =
        Named(pm2->addAction(QStringLiteral("Copy Selection ( Ctrl+C )")), "CopySelection1");
    SelectAll1 = Named(pm2->addAction(QStringLiteral("Select All ( Ctrl+A )")), "SelectAll1");

    ConnectHandlers();
}

QWidget* SpectraPage::CreateRecordPanel() {
    grp4 = Named(new QGroupBox(QStringLiteral("Time History Records")), "grp4");
    auto* left = new QVBoxLayout(grp4);
    // At least the designed width, and never narrower than the damping edits need: a fixed
    // minimum would let the splitter squeeze them over each other.
    left->addStrut(kLeftColumnWidth);

    auto* recordRow = new QHBoxLayout;
    lbl12 = Named(new QLabel(QStringLiteral("Record")), "lbl12");
    cbb4 = Named(new QComboBox, "cbb4");
    cbb4->setEditable(false);
    cbb4->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbb4->setMinimumContentsLength(8);
    recordRow->addWidget(lbl12);
    recordRow->addWidget(cbb4, 1);
    left->addLayout(recordRow);

    lst3 = Named(new RecordCheckList, "lst3");
    lst3->setContextMenuPolicy(Qt::CustomContextMenu);
    left->addWidget(lst3, 1);

    auto* counters = new QFormLayout;
    lbl16 = Named(new QLabel(QStringLiteral("Number of Checked")), "lbl16");
    edt15 = MakeCounter("edt15");
    lbl17 = Named(new QLabel(QStringLiteral("Number of Records")), "lbl17");
    edt14 = MakeCounter("edt14");
    counters->addRow(lbl16, edt15);
    counters->addRow(lbl17, edt14);
    left->addLayout(counters);

    grp5 = Named(new QGroupBox(QStringLiteral("Viscous Damping Values (%)")), "grp5");
    auto* damping = new QGridLayout(grp5);
    lbl14 = Named(new QLabel(QStringLiteral("No.of Damping Values")), "lbl14");
    cbb6 = Named(new QComboBox, "cbb6");
    for (int count = 1; count <= travik::kMaxDampingValues; ++count) {
        cbb6->addItem(QString::number(count));
    }
    cbb6->setCurrentIndex(0);
    auto* countRow = new QHBoxLayout;
    countRow->addWidget(lbl14, 1);
    countRow->addWidget(cbb6);
    damping->addLayout(countRow, 0, 0, 1, 3);
    // Three columns of equal width, each edit wide enough for "100.000".
    const int editWidth =
        QLineEdit().fontMetrics().horizontalAdvance(QStringLiteral("100.000")) + 14;
    for (int column = 0; column < 3; ++column) {
        damping->setColumnStretch(column, 1);
        damping->setColumnMinimumWidth(column, editWidth);
    }
    for (int i = 0; i < static_cast<int>(edits.size()); ++i) {
        const auto at = static_cast<std::size_t>(i);
        const QString text = QString::fromStdString(
            travik::FormatGeneral(travik::kDefaultDampingPercents[at], DecimalSeparator()));
        edits[at] = new QLineEdit(text);
        edits[at]->setObjectName(QStringLiteral("edt%1").arg(16 + i));
        edits[at]->setEnabled(i == 0);
        edits[at]->setMinimumWidth(editWidth);
        edits[at]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        damping->addWidget(edits[at], 1 + i / 3, i % 3);
    }
    left->addWidget(grp5);

    btn11 = Named(new QPushButton(QStringLiteral("Analyze and Refresh")), "btn11");
    btn10 = Named(new QPushButton(QStringLiteral("Export Checked")), "btn10");
    chkAccuracyColumns =
        Named(new QCheckBox(QStringLiteral("Write accuracy columns")), "chkAccuracyColumns");
    chkAccuracyColumns->setToolTip(
        QStringLiteral("Write the sub-step count n and dt/T after the period column"));
    left->addWidget(btn11);
    left->addWidget(btn10);
    btnScale = Named(new QPushButton(QStringLiteral("Scale to Target…")), "btnScale");
    btnScale->setToolTip(QStringLiteral(
        "Scale the checked records to a target spectrum, with the suite rule of the code"));
    left->addWidget(btnScale);
    left->addWidget(chkAccuracyColumns);
    return grp4;
}

QWidget* SpectraPage::CreateGraphTab() {
    auto* tab = Named(new QWidget, "ts3");
    auto* layout = new QVBoxLayout(tab);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* choices = new QHBoxLayout;
    lbl13 = Named(new QLabel(QStringLiteral("X-Axis")), "lbl13");
    cbb5 = Named(new QComboBox, "cbb5");
    cbb5->addItems(
        {QStringLiteral("Period"), QStringLiteral("Frequency"), QStringLiteral("Displacement")});
    lbl15 = Named(new QLabel(QStringLiteral("Y-Axis")), "lbl15");
    cbb7 = Named(new QComboBox, "cbb7");
    cbb7->addItems({QStringLiteral("Displacement"), QStringLiteral("Velocity"),
                    QStringLiteral("Acceleration"), QStringLiteral("Pseudo-Velocity"),
                    QStringLiteral("Pseudo-Acceleration")});
    // The two fixed pairs: PSv on the four-way paper, and Sa against Sd.
    cbb7->addItems({QStringLiteral("Tripartite"), QStringLiteral("Sa–Sd")});
    lbl2 = Named(new QLabel(QString::fromLatin1(kEmptyReadout)), "lbl2");
    SetLabelLook(lbl2, kCounterColor, false);
    lbl2->setMinimumWidth(320);
    choices->addWidget(lbl13);
    choices->addWidget(cbb5);
    choices->addSpacing(12);
    choices->addWidget(lbl15);
    choices->addWidget(cbb7);
    choices->addSpacing(12);
    chkTwoComponents = Named(new QCheckBox(QStringLiteral("Two components")), "chkTwoComponents");
    chkTwoComponents->setToolTip(
        QStringLiteral("Two horizontal components as one ground motion: RotD50, RotD100, "
                       "GMRotI50 and the two components, with a polar view of the rotated peaks"));
    choices->addWidget(chkTwoComponents);
    choices->addSpacing(24);
    choices->addWidget(lbl2);
    choices->addStretch(1);
    layout->addLayout(choices);

    // The spectrum chart (cht4) is the figure panel's: the one drawing of the spectra, on the
    // screen and in every saved image.
    figures_ = new SpectraFigurePanel(workspace_, platform_, tab);
    layout->addWidget(figures_->AxisControls());
    auto* chartRow = new QHBoxLayout;
    chartRow->addWidget(figures_, 1);
    twoComponents_ =
        new TwoComponentPanel(workspace_, platform_, [this] { return SortedDampingRatios(); });
    twoComponents_->setVisible(false);
    chartRow->addWidget(twoComponents_);
    layout->addLayout(chartRow, 1);
    return tab;
}

void SpectraPage::ConnectHandlers() {
    connect(cbb6, &QComboBox::currentIndexChanged, this, &SpectraPage::cbb6Change);
    connect(btn11, &QPushButton::clicked, this, &SpectraPage::btn11Click);
    connect(btn10, &QPushButton::clicked, this, &SpectraPage::btn10Click);
    connect(btnScale, &QPushButton::clicked, scaleToTarget_, &ScaleToTarget::Run);
    connect(scaleToTarget_, &ScaleToTarget::ScalingShown, this,
            [this] { pgc2->setCurrentWidget(scaling_); });
    connect(cbb5, &QComboBox::currentIndexChanged, this, &SpectraPage::cbb5Change);
    connect(cbb7, &QComboBox::currentIndexChanged, this, &SpectraPage::cbb7Change);
    connect(figures_->View(), &travik::figures::FigureView::PointerMoved, this,
            &SpectraPage::cht4MouseMove);
    connect(lst3, &QListWidget::currentRowChanged, this, &SpectraPage::lst3Click);
    connect(lst3, &QListWidget::itemChanged, this, &SpectraPage::lst3Change);
    connect(&workspace_.Checks(), &CheckMarks::changed, this, &SpectraPage::ChecksChanged);
    connect(lst3, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { emit checkListMenuRequested(lst3->mapToGlobal(at)); });
    connect(CopySelection1, &QAction::triggered, this, &SpectraPage::CopySelection1Click);
    connect(SelectAll1, &QAction::triggered, this, &SpectraPage::SelectAll1Click);

    using KeyHandler = void (SpectraPage::*)(int, Qt::KeyboardModifiers);
    const KeyHandler handlers[] = {&SpectraPage::strngrd1KeyDown, &SpectraPage::strngrd2KeyDown,
                                   &SpectraPage::strngrd3KeyDown, &SpectraPage::strngrd4KeyDown,
                                   &SpectraPage::strngrd5KeyDown};
    for (std::size_t k = 0; k < grids.size(); ++k) {
        StringGrid* grid = grids[k];
        connect(grid, &StringGrid::KeyDown, this, handlers[k]);
        connect(grid, &QWidget::customContextMenuRequested, this,
                [this, grid](const QPoint& at) { pm2->popup(grid->mapToGlobal(at)); });
    }
    connect(statistics_, &StringGrid::KeyDown, this, &SpectraPage::strngrd6KeyDown);
    connect(rotated_, &StringGrid::KeyDown, this, &SpectraPage::strngrdRotatedKeyDown);
    connect(rotated_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { pm2->popup(rotated_->mapToGlobal(at)); });
    connect(chkTwoComponents, &QCheckBox::toggled, this, &SpectraPage::ShowRotated);
    connect(twoComponents_, &TwoComponentPanel::CurrentChanged, this, &SpectraPage::ShowRotated);
    connect(statistics_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { pm2->popup(statistics_->mapToGlobal(at)); });
    connect(figures_, &SpectraFigurePanel::SuiteChanged, this, &SpectraPage::FillStatisticsTable);
    connect(&workspace_, &Workspace::recordsReplaced, this, &SpectraPage::RecordsReplaced);
    connect(&workspace_, &Workspace::spectraComputed, this, &SpectraPage::SpectraComputed);
    connect(chkAccuracyColumns, &QCheckBox::toggled, this, [this] {
        if (!workspace_.Spectra().periods.empty()) {
            FillSpectrumTables();
        }
    });
    // While long work runs, nothing that would start more of it or change what it reads.
    connect(&workspace_.Work(), &BackgroundWork::busyChanged, this, [this](bool busy) {
        btn11->setEnabled(!busy);
        btn10->setEnabled(!busy);
        btnScale->setEnabled(!busy);
    });
}

void SpectraPage::ShowPlain(const std::string& message) {
    platform_.ShowMessage(window(), PlatformServices::MessageKind::Plain,
                          QString::fromStdString(message));
}

// ---- Records -----------------------------------------------------------------------------

// An import or "Clear Data": the new list, nothing checked, the first record (if any) in the
// record box, no spectra.
void SpectraPage::RecordsReplaced() {
    const travik::RecordList& records = workspace_.Records();
    FillRecordCheckList(lst3, records);
    {
        const QSignalBlocker blocker(cbb4);
        FillRecordSelector(cbb4, records);
        cbb4->setCurrentIndex(-1);
    }
    cbb4->setCurrentIndex(records.IsEmpty() ? -1 : 0);
    edt14->setText(QString::number(records.Count()));
    ChecksChanged();
    ClearSpectrumTables();
    ClearSpectrumChart();
    figures_->Reset();
    scaleToTarget_->Forget();
}

void SpectraPage::ChangeRecordChecks(CheckChange change) {
    workspace_.Checks().Change(change);
}

void SpectraPage::ChecksChanged() {
    workspace_.Checks().ShowIn(*lst3);
    edt15->setText(QString::number(workspace_.Checks().CheckedCount()));
}

void SpectraPage::lst3Click() {
    cbb4->setCurrentIndex(lst3->currentRow());
}

void SpectraPage::lst3Change() {
    workspace_.Checks().TakeFrom(*lst3);
}

// ---- Damping values and analysis ---------------------------------------------------------

void SpectraPage::cbb6Change() {
    const int count = cbb6->currentIndex();
    for (int i = 1; i < static_cast<int>(edits.size()); ++i) {
        edits[static_cast<std::size_t>(i)]->setEnabled(i <= count);
    }
}

std::optional<std::vector<double>> SpectraPage::ReadDampingRatios() {
    std::vector<std::string> texts;
    for (const QLineEdit* edit : edits) {
        texts.push_back(edit->text().toStdString());
    }
    std::vector<double> ratios;
    const travik::DampingReadResult result =
        travik::ReadDampingRatios(texts, cbb6->currentText().toInt(), DecimalSeparator(), ratios);
    if (!result.ok) {
        platform_.ShowMessage(window(), PlatformServices::MessageKind::Warning,
                              QString::fromStdString(result.message));
        if (result.failingEdit >= 0 && result.failingEdit < travik::kMaxDampingValues) {
            edits[static_cast<std::size_t>(result.failingEdit)]->setFocus();
        }
        return std::nullopt;
    }
    return ratios;
}

void SpectraPage::btn11Click() {
    const int recordIndex = cbb4->currentIndex();
    if (recordIndex < 0 || recordIndex >= workspace_.Records().Count()) {
        platform_.ShowMessage(window(), PlatformServices::MessageKind::Information,
                              QString::fromLatin1(kNoRecordToAnalyseMessage));
        return;
    }
    std::optional<std::vector<double>> ratios = ReadDampingRatios();
    if (!ratios) {
        return;
    }
    if (!LongAnalysisAccepted({recordIndex}, *ratios)) {
        return;
    }
    // With the checked records shown, they are analysed once the selected record is: the
    // two analyses are one long job after the other, and Cancel stops both.
    const bool checked = figures_->ShowsCheckedRecords();
    if (checked) {
        ClearSpectrumTables();
        ClearSpectrumChart();
    }
    // The lists are made here and stored only with the spectra computed from them, so that a
    // cancelled analysis leaves the last one as it was. The statistics need the order entered.
    const std::vector<double> entered = *ratios;
    travik::SortAndRemoveRepeatedRatios(*ratios);
    const std::vector<double> sorted = *ratios;
    const travik::AnalysisSettings settings = workspace_.Settings();
    const std::vector<double> periods = settings.Periods();
    const travik::TimeHistory& record = workspace_.Records().At(recordIndex);
    workspace_.Work().Start<std::optional<travik::SpectraResult>>(
        QStringLiteral("Computing the spectra of %1")
            .arg(QString::fromStdString(record.SourceFileName())),
        [&record, settings, ratios = sorted, periods](BackgroundWork::Control& control) {
            return ComputeSpectraAsJob(record, settings, ratios, periods, control);
        },
        [this, checked, rows = CheckedRows(lst3),
         entered](std::optional<travik::SpectraResult>&& result) {
            if (!result) {
                return;
            }
            if (!figures_->ShowsCheckedRecords()) {
                ClearSpectrumTables();
                ClearSpectrumChart();
            }
            workspace_.AcceptSpectra(std::move(*result),
                                     [this](const std::string& message) { ShowPlain(message); });
            if (checked) {
                figures_->AnalyseChecked(rows, entered);
            }
        });
}

bool SpectraPage::LongAnalysisAccepted(const std::vector<int>& recordRows,
                                       std::vector<double> dampingRatios) {
    travik::SortAndRemoveRepeatedRatios(dampingRatios);
    const travik::AnalysisSettings& settings = workspace_.Settings();
    const std::vector<double> periods = settings.Periods();
    double steps = 0.0;
    int largest = -1;  // the record of the most work, whose speed is timed
    double largestSteps = -1.0;
    for (const int row : recordRows) {
        const double own = travik::EstimateOscillatorSteps(workspace_.Records().At(row), settings,
                                                           dampingRatios.size(), periods);
        steps += own;
        if (own > largestSteps) {
            largest = row;
            largestSteps = own;
        }
    }
    if (!(steps > travik::kAnnouncedOscillatorSteps)) {
        return true;
    }
    const std::string question =
        travik::AnalysisWorkAnnouncement(
            steps, travik::MeasureOscillatorStepsPerSecond(workspace_.Records().At(largest),
                                                           settings, dampingRatios, periods, 0)) +
        " Start it?";
    return platform_.Confirm(window(), QString::fromStdString(question));
}

void SpectraPage::SpectraComputed() {
    PlotSpectra();
    FillSpectrumTables();
}

void SpectraPage::SaveChartAs() {
    if (pgc2->currentWidget() == scaling_) {
        scaling_->SaveFigure();
        return;
    }
    figures_->SaveChartAs();
}

// ---- Result tables -----------------------------------------------------------------------

void SpectraPage::ClearSpectrumTables() {
    for (StringGrid* grid : grids) {
        ClearSpectrumTable(*grid);
    }
}

void SpectraPage::FillSpectrumTables() {
    for (std::size_t k = 0; k < kTableKinds.size(); ++k) {
        FillSpectrumTable(*grids[k], workspace_.Spectra(), kTableKinds[k], DecimalSeparator(),
                          chkAccuracyColumns->isChecked());
    }
}

void SpectraPage::FillStatisticsTable() {
    const std::optional<travik::SuiteSpectra>& suite = figures_->Suite();
    if (!suite) {
        statistics_->ClearCells();
        return;
    }
    // The four-way chart plots pseudo-velocity, the Sa-Sd chart pseudo-acceleration.
    const travik::SpectrumKind kind = KindOf(OrdinateOfIndex(cbb7->currentIndex()));
    FillSuiteStatisticsTable(*statistics_, suite->statistics, kind, DecimalSeparator());
}

// ---- Spectrum chart ----------------------------------------------------------------------

void SpectraPage::ClearSpectrumChart() {
    figures_->ShowNoCurves();
    // The readout describes the curves; it goes with them.
    lbl2->setText(QString::fromLatin1(kEmptyReadout));
}

void SpectraPage::PlotSpectra() {
    figures_->SetAxisChoices(AbscissaOfIndex(cbb5->currentIndex()),
                             OrdinateOfIndex(cbb7->currentIndex()));
}

void SpectraPage::cbb5Change() {
    ClearSpectrumChart();
    PlotSpectra();
}

void SpectraPage::cbb7Change() {
    // The Sa-Sd chart has spectral displacement on its X axis, whatever the X list held: the
    // list says so and waits, and gets its choice back when another Y is chosen.
    const bool adrs = OrdinateOfIndex(cbb7->currentIndex()) == OrdinateChoice::Adrs;
    const int displacement = static_cast<int>(AbscissaChoice::Displacement);
    if (adrs && cbb5->isEnabled()) {
        abscissaBeforeAdrs_ = cbb5->currentIndex();
        const QSignalBlocker blocker(cbb5);
        cbb5->setCurrentIndex(displacement);
    } else if (!adrs && !cbb5->isEnabled()) {
        const QSignalBlocker blocker(cbb5);
        cbb5->setCurrentIndex(abscissaBeforeAdrs_);
    }
    cbb5->setEnabled(!adrs);
    ClearSpectrumChart();
    PlotSpectra();
    FillStatisticsTable();
}

void SpectraPage::cht4MouseMove(const QPoint& viewPixel) {
    if (const auto readout = figures_->ReadoutAt(viewPixel)) {
        lbl2->setText(*readout);
    }
    // The polar view follows the period under the pointer where the X axis is one of time.
    const AbscissaChoice abscissa = AbscissaOfIndex(cbb5->currentIndex());
    const std::optional<QPointF> value = figures_->View()->ValueAt(viewPixel);
    if (!chkTwoComponents->isChecked() || !value || !cbb5->isEnabled() ||
        abscissa == AbscissaChoice::Displacement) {
        return;
    }
    const double x = value->x();
    if (abscissa == AbscissaChoice::Period) {
        twoComponents_->FollowPeriod(std::max(x, 0.0));
    } else if (x > 0) {
        twoComponents_->FollowPeriod(1.0 / x);
    }
}

// ---- Two components ----------------------------------------------------------------------

std::optional<std::vector<double>> SpectraPage::SortedDampingRatios() {
    std::optional<std::vector<double>> ratios = ReadDampingRatios();
    if (ratios) {
        travik::SortAndRemoveRepeatedRatios(*ratios);
    }
    return ratios;
}

void SpectraPage::ShowRotated() {
    const bool on = chkTwoComponents->isChecked();
    twoComponents_->setVisible(on);
    const RotatedMotion* motion = twoComponents_->Current();
    FillRotatedTable(*rotated_, motion, DecimalSeparator());
    if (!on) {
        figures_->ShowRotated(std::nullopt);
        return;
    }
    SpectraFigurePanel::RotatedChart chart;
    chart.g = workspace_.Settings().g;
    if (motion != nullptr) {
        // The curves, title and image name of the command line's plot rotd.
        const travik::RotatedSpectraResult& result = *motion->result;
        chart.g = result.settings.g;
        for (std::size_t d = 0; d < result.damping.size(); ++d) {
            for (travik::figures::SpectrumCurve& curve :
                 travik::figures::RotatedSpectraCurves(result, d, result.settings.g)) {
                chart.curves.push_back(std::move(curve));
            }
        }
        chart.title =
            QString::fromStdString(travik::ShownText(motion->h1->SourceFileName()) + " + " +
                                   travik::ShownText(motion->h2->SourceFileName()));
        chart.imageName =
            QString::fromStdString(travik::ReportFileBase(motion->h1->SourceFileName())) +
            QStringLiteral("_RotD");
    }
    lbl2->setText(QString::fromLatin1(kEmptyReadout));
    figures_->ShowRotated(std::move(chart));
}

// ---- Copying out of the tables -----------------------------------------------------------

StringGrid* SpectraPage::TargetGrid() const {
    const int page = pgc2->currentIndex();
    if (page == kStatisticsPage) {
        return statistics_;
    }
    if (page == kRotatedPage) {
        return rotated_;
    }
    return page >= 2 && page <= 5 ? grids[static_cast<std::size_t>(page - 1)] : grids[0];
}

void SpectraPage::CopySelection1Click() {
    CopyGridSelection(*TargetGrid(), platform_);
}

void SpectraPage::SelectAll1Click() {
    SelectWholeGrid(*TargetGrid());
}

// Ctrl+A and Ctrl+C act on a table only while it is shown (this page current, its tab
// chosen) and has the keyboard focus; the key then goes on to the grid as usual.
void SpectraPage::GridKeyDown(int tablePage, const StringGrid& grid, int key,
                              Qt::KeyboardModifiers modifiers) {
    const bool shownAndFocused =
        isVisibleTo(window()) && pgc2->currentIndex() == tablePage && grid.HasFocus();
    if (!modifiers.testFlag(Qt::ControlModifier) || !shownAndFocused) {
        return;
    }
    if (key == Qt::Key_A) {
        SelectAll1Click();
    } else if (key == Qt::Key_C) {
        CopySelection1Click();
    }
}

void SpectraPage::strngrd1KeyDown(int key, Qt::KeyboardModifiers modifiers) {
    GridKeyDown(1, *grids[0], key, modifiers);
}

void SpectraPage::strngrd2KeyDown(int key, Qt::KeyboardModifiers modifiers) {
    GridKeyDown(2, *grids[1], key, modifiers);
}

void SpectraPage::strngrd3KeyDown(int key, Qt::KeyboardModifiers modifiers) {
    GridKeyDown(3, *grids[2], key, modifiers);
}

void SpectraPage::strngrd4KeyDown(int key, Qt::KeyboardModifiers modifiers) {
    GridKeyDown(4, *grids[3], key, modifiers);
}

void SpectraPage::strngrd5KeyDown(int key, Qt::KeyboardModifiers modifiers) {
    GridKeyDown(5, *grids[4], key, modifiers);
}

void SpectraPage::strngrd6KeyDown(int key, Qt::KeyboardModifiers modifiers) {
    GridKeyDown(kStatisticsPage, *statistics_, key, modifiers);
}

void SpectraPage::strngrdRotatedKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    GridKeyDown(kRotatedPage, *rotated_, key, modifiers);
}

// ---- Response-spectra export -------------------------------------------------------------

void SpectraPage::btn10Click() {
    if (!ExportCountAccepted(lst3, travik::SpectraExportLimitMessage(travik::kMaxExportNumber),
                             platform_, window())) {
        return;
    }
    std::optional<std::vector<double>> ratios = ReadDampingRatios();
    if (!ratios) {
        return;
    }
    // Asked before the folder: a "no" leaves nothing chosen for nothing.
    if (!LongAnalysisAccepted(CheckedRows(lst3), *ratios)) {
        return;
    }
    travik::SortAndRemoveRepeatedRatios(*ratios);
    const travik::AnalysisSettings& settings = workspace_.Settings();
    const std::vector<double> periods = settings.Periods();
    QString folder;
    if (!ChooseExportFolder(workspace_, platform_, window(), folder) ||
        !ReplacingReportsAccepted(CheckedRows(lst3), workspace_.Records(), folder,
                                  {travik::kSpectraReportSuffix}, platform_, window())) {
        return;
    }
    const std::size_t count = CheckedRows(lst3).size();

    struct ExportOutcome {
        std::optional<QString> error;
        std::vector<std::string> calculationErrors;
    };
    const travik::ReportDate date = travik::TodayLocalDate();
    const travik::RecordList& records = workspace_.Records();
    const bool writeAccuracy = chkAccuracyColumns->isChecked();
    workspace_.Work().Start<ExportOutcome>(
        QStringLiteral("Writing the spectra reports"),
        [checked = CheckedRows(lst3), &records, folder, date, settings, writeAccuracy,
         dampingRatios = std::move(*ratios), periods](BackgroundWork::Control& control) {
            ExportOutcome outcome;
            const std::string edition = travik::kSoftwareEdition;
            outcome.error = WriteReportsOf(
                checked, records, folder, travik::kSpectraReportSuffix,
                [&](travik::ReportLines& lines, const travik::TimeHistory& record) {
                    travik::BuildSpectraReport(lines, record, settings, dampingRatios, periods,
                                               edition, date, [&](const std::string& message) {
                                                   outcome.calculationErrors.push_back(message);
                                               });
                    if (writeAccuracy) {
                        travik::InsertAccuracyColumns(
                            lines, travik::ComputePeriodAccuracy(record.TimeStep(), periods,
                                                                 settings.maxDtOverT));
                    }
                },
                &control);
            return outcome;
        },
        [this, folder, count](ExportOutcome&& outcome) {
            // Messages of oscillators that could not be computed, then the outcome.
            for (const std::string& message : outcome.calculationErrors) {
                ShowPlain(message);
            }
            // Beside the reports: the statistics of the checked records shown on the chart.
            std::optional<QString> statisticsError;
            if (!outcome.error && figures_->ShowsCheckedRecords()) {
                statisticsError = figures_->WriteStatisticsReport(folder);
            }
            if (outcome.error || statisticsError) {
                platform_.ShowMessage(window(), PlatformServices::MessageKind::Warning,
                                      outcome.error ? *outcome.error : *statisticsError);
            } else {
                ShowReportsWritten(window(), count, folder);
                platform_.ShowMessage(window(), PlatformServices::MessageKind::Information,
                                      QString::fromLatin1(travik::kExportDoneMessage));
            }
        });
}
