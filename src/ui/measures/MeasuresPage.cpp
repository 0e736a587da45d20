#include "ui/measures/MeasuresPage.h"

#include <QAction>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QShowEvent>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <stdexcept>
#include <string>

#include "core/export/ExportMessages.h"
#include "core/export/MeasuresReport.h"
#include "core/export/ReportHeader.h"
#include "core/text/NumberFormat.h"
#include "ui/app/ChartImages.h"
#include "ui/app/CheckedExport.h"
#include "ui/app/PlatformServices.h"
#include "ui/app/RecordCheckList.h"
#include "ui/app/StringGrid.h"
#include "ui/app/Workspace.h"
#include "ui/figures/FigureView.h"
#include "ui/figures/MeasureFigures.h"
#include "ui/presentation/ColumnWidths.h"
#include "ui/presentation/GridClipboard.h"

namespace {

// On screen a measure that is not available is a dash; its reason is in the note.
const QString kNotAvailableText = QStringLiteral("\u2014");

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// About six significant digits for the eye; the reports keep every digit.
QString ValueText(const travik::Measure& measure) {
    return measure.Available() ? Text(travik::FormatShown(measure.value, DecimalSeparator()))
                               : kNotAvailableText;
}

}  // namespace

MeasuresPage::MeasuresPage(Workspace& workspace, PlatformServices& platform, QWidget* parent)
    : QWidget(parent), workspace_(workspace), platform_(platform) {
    auto* pageLayout = new QHBoxLayout(this);
    pageLayout->setContentsMargins(4, 4, 4, 4);

    grpMeasuresRecords =
        Named(new QGroupBox(QStringLiteral("Time History Records")), "grpMeasuresRecords");
    grpMeasuresRecords->setFixedWidth(212);
    auto* left = new QVBoxLayout(grpMeasuresRecords);
    lstMeasures = Named(new RecordCheckList, "lstMeasures");
    lstMeasures->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* counters = new QFormLayout;
    edtMeasuresChecked = MakeCounter("edtMeasuresChecked");
    edtMeasuresRecords = MakeCounter("edtMeasuresRecords");
    counters->addRow(QStringLiteral("Number of Checked"), edtMeasuresChecked);
    counters->addRow(QStringLiteral("Number of Records"), edtMeasuresRecords);
    btnMeasuresExport =
        Named(new QPushButton(QStringLiteral("Export Checked")), "btnMeasuresExport");
    left->addWidget(lstMeasures, 1);
    left->addLayout(counters);
    left->addWidget(btnMeasuresExport);

    pgcMeasures = Named(new QTabWidget, "pgcMeasures");
    pgcMeasures->addTab(CreateSelectedRecordTab(), QStringLiteral("Selected Record"));

    const std::vector<travik::MeasureRow> rows =
        travik::MeasureRows(travik::GroundMotionMeasures{});
    grdMeasuresChecked =
        Named(new StringGrid(1 + static_cast<int>(rows.size()), 1), "grdMeasuresChecked");
    grdMeasuresChecked->SetCell(0, 0, QStringLiteral("Record"));
    grdMeasuresChecked->SetColumnWidth(0, 180);
    for (std::size_t k = 0; k < rows.size(); ++k) {
        grdMeasuresChecked->SetCell(
            static_cast<int>(k) + 1, 0,
            QStringLiteral("%1 [%2]").arg(QString::fromLatin1(rows[k].name),
                                          QString::fromLatin1(rows[k].unit)));
        grdMeasuresChecked->SetColumnWidth(static_cast<int>(k) + 1, 120);
    }
    pgcMeasures->addTab(grdMeasuresChecked, QStringLiteral("Checked Records"));

    pmMeasures = Named(new QMenu(this), "pmMeasures");
    CopyMeasures =
        Named(pmMeasures->addAction(QStringLiteral("Copy Selection ( Ctrl+C )")), "CopyMeasures");
    SelectAllMeasures =
        Named(pmMeasures->addAction(QStringLiteral("Select All ( Ctrl+A )")), "SelectAllMeasures");

    pageLayout->addWidget(grpMeasuresRecords);
    pageLayout->addWidget(pgcMeasures, 1);

    connect(lstMeasures, &QListWidget::currentRowChanged, this, &MeasuresPage::lstMeasuresClick);
    connect(lstMeasures, &QListWidget::itemChanged, this, &MeasuresPage::lstMeasuresChange);
    connect(&workspace_.Checks(), &CheckMarks::changed, this, &MeasuresPage::ChecksChanged);
    connect(lstMeasures, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        emit checkListMenuRequested(lstMeasures->mapToGlobal(at));
    });
    connect(btnMeasuresExport, &QPushButton::clicked, this, &MeasuresPage::btnMeasuresExportClick);
    connect(CopyMeasures, &QAction::triggered, this, &MeasuresPage::CopyMeasuresClick);
    connect(SelectAllMeasures, &QAction::triggered, this, &MeasuresPage::SelectAllMeasuresClick);
    connect(grdMeasures, &StringGrid::KeyDown, this, &MeasuresPage::grdMeasuresKeyDown);
    connect(grdMeasuresChecked, &StringGrid::KeyDown, this,
            &MeasuresPage::grdMeasuresCheckedKeyDown);
    for (StringGrid* grid : {grdMeasures, grdMeasuresChecked}) {
        grid->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(grid, &QWidget::customContextMenuRequested, this, [this, grid](const QPoint& at) {
            menuGrid_ = grid;
            pmMeasures->popup(grid->mapToGlobal(at));
        });
    }
    connect(&workspace_, &Workspace::recordsReplaced, this, &MeasuresPage::RecordsReplaced);
    connect(&workspace_, &Workspace::recordCorrected, this, &MeasuresPage::RecordChanged);
    connect(&workspace_, &Workspace::settingsChanged, this, &MeasuresPage::SettingsChanged);
}

// The selected record: the table at the left, the two charts at the right.
QWidget* MeasuresPage::CreateSelectedRecordTab() {
    auto* selected = new QSplitter(Qt::Horizontal);
    selected->setObjectName(QStringLiteral("splMeasures"));
    grdMeasures = Named(new StringGrid(4, 1, selected), "grdMeasures");
    grdMeasures->SetCell(0, 0, QStringLiteral("Measure"));
    grdMeasures->SetCell(1, 0, QStringLiteral("Value"));
    grdMeasures->SetCell(2, 0, QStringLiteral("Unit"));
    grdMeasures->SetCell(3, 0, QStringLiteral("Note"));
    grdMeasures->SetColumnWidth(0, 160);
    grdMeasures->SetColumnWidth(1, 130);
    grdMeasures->SetColumnWidth(2, 55);
    grdMeasures->SetColumnWidth(3, 320);
    grdMeasures->setMinimumWidth(260);
    auto* charts = new QSplitter(Qt::Vertical);
    // The charts are figures: what a saved image holds is what the page shows.
    chtHusid = Named(new travik::figures::FigureView, "chtHusid");
    chtFourier = Named(new travik::figures::FigureView, "chtFourier");
    auto* husidView = chtHusid;
    auto* fourierView = chtFourier;
    husidView->setMinimumHeight(150);
    fourierView->setMinimumHeight(150);
    charts->addWidget(husidView);
    charts->addWidget(fourierView);
    charts->setChildrenCollapsible(false);
    charts->setSizes({1000, 1000});  // the two charts share the height equally
    selected->addWidget(grdMeasures);
    selected->addWidget(charts);
    selected->setChildrenCollapsible(false);
    // Room for name, value and unit; the charts take the rest.
    selected->setSizes({370, 630});
    selected->setStretchFactor(1, 1);
    return selected;
}

MeasuresPage::~MeasuresPage() = default;

void MeasuresPage::ChangeRecordChecks(CheckChange change) {
    workspace_.Checks().Change(change);
}

void MeasuresPage::ChecksChanged() {
    workspace_.Checks().ShowIn(*lstMeasures);
    edtMeasuresChecked->setText(QString::number(workspace_.Checks().CheckedCount()));
    FillCheckedTable();
}

const travik::GroundMotionMeasures& MeasuresPage::MeasuresOf(int index) {
    std::optional<travik::GroundMotionMeasures>& slot =
        measures_.at(static_cast<std::size_t>(index));
    if (!slot) {
        slot = travik::ComputeGroundMotionMeasures(
            workspace_.Records().At(index),
            travik::MeasureSettings::FromAnalysis(workspace_.Settings()));
    }
    return *slot;
}

void MeasuresPage::SaveChartAs() {
    const int index = lstMeasures->currentRow();
    if (index < 0 || index >= workspace_.Records().Count()) {
        return;
    }
    SaveFiguresAs(platform_, window(), {chtHusid->ShownFigure(), chtFourier->ShownFigure()},
                  QString::fromStdString(
                      travik::ReportBaseName(workspace_.Records().At(index).SourceFileName())) +
                      QStringLiteral("_GM"));
}

void MeasuresPage::RecordsReplaced() {
    const travik::RecordList& records = workspace_.Records();
    measures_.assign(static_cast<std::size_t>(records.Count()), std::nullopt);
    FillRecordCheckList(lstMeasures, records);
    edtMeasuresRecords->setText(QString::number(records.Count()));
    if (!records.IsEmpty()) {
        const QSignalBlocker blocker(lstMeasures);
        lstMeasures->setCurrentRow(0);
    }
    ChecksChanged();
    ShowSelectedRecord();
}

void MeasuresPage::RecordChanged(int index) {
    if (index >= 0 && static_cast<std::size_t>(index) < measures_.size()) {
        measures_[static_cast<std::size_t>(index)].reset();
    }
    if (index == lstMeasures->currentRow()) {
        ShowSelectedRecord();
    }
    if (index >= 0 && index < lstMeasures->count() &&
        lstMeasures->item(index)->checkState() == Qt::Checked) {
        FillCheckedTable();
    }
}

void MeasuresPage::SettingsChanged() {
    for (auto& slot : measures_) {
        slot.reset();
    }
    ShowSelectedRecord();
    FillCheckedTable();
}

void MeasuresPage::lstMeasuresClick() {
    ShowSelectedRecord();
}

void MeasuresPage::lstMeasuresChange() {
    workspace_.Checks().TakeFrom(*lstMeasures);
}

void MeasuresPage::ClearSelectedRecord() {
    grdMeasures->SetRowCount(1);
    chtHusid->SetFigure(travik::figures::HusidFigure({}));
    chtFourier->SetFigure(travik::figures::FourierFigure({}));
}

bool MeasuresPage::DeferredWhileHidden() {
    if (isVisible()) {
        return false;
    }
    stale_ = true;
    return true;
}

void MeasuresPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (stale_) {
        stale_ = false;
        ShowSelectedRecord();
        FillCheckedTable();
    }
}

void MeasuresPage::ShowSelectedRecord() {
    ClearSelectedRecord();
    if (DeferredWhileHidden()) {
        return;
    }
    const int index = lstMeasures->currentRow();
    if (index < 0 || index >= workspace_.Records().Count()) {
        return;
    }
    const travik::GroundMotionMeasures& m = MeasuresOf(index);
    const std::vector<travik::MeasureRow> rows = travik::MeasureRows(m);
    grdMeasures->BeginUpdate();
    grdMeasures->SetRowCount(1 + static_cast<int>(rows.size()));
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const int row = static_cast<int>(k) + 1;
        grdMeasures->SetCell(0, row, QString::fromLatin1(rows[k].name));
        grdMeasures->SetCell(1, row, ValueText(*rows[k].measure));
        grdMeasures->SetCell(2, row, QString::fromLatin1(rows[k].unit));
        grdMeasures->SetCell(3, row, Text(rows[k].measure->unavailable));
    }
    grdMeasures->EndUpdate();
    WidenColumnsToText(*grdMeasures);

    chtHusid->SetFigure(travik::figures::HusidFigure(m));
    chtFourier->SetFigure(travik::figures::FourierFigure(m));
}

void MeasuresPage::FillCheckedTable() {
    if (DeferredWhileHidden()) {
        return;
    }
    grdMeasuresChecked->BeginUpdate();
    grdMeasuresChecked->SetRowCount(1);
    int row = 1;
    for (int i = 0; i < lstMeasures->count() && i < workspace_.Records().Count(); ++i) {
        if (lstMeasures->item(i)->checkState() != Qt::Checked) {
            continue;
        }
        const travik::GroundMotionMeasures& m = MeasuresOf(i);
        grdMeasuresChecked->SetRowCount(row + 1);
        grdMeasuresChecked->SetCell(0, row, Text(m.sourceFileName));
        const std::vector<travik::MeasureRow> rows = travik::MeasureRows(m);
        for (std::size_t k = 0; k < rows.size(); ++k) {
            grdMeasuresChecked->SetCell(static_cast<int>(k) + 1, row, ValueText(*rows[k].measure));
        }
        ++row;
    }
    grdMeasuresChecked->EndUpdate();
    WidenColumnsToText(*grdMeasuresChecked);
}

void MeasuresPage::btnMeasuresExportClick() {
    if (!ExportCountAccepted(lstMeasures,
                             travik::SpectraExportLimitMessage(travik::kMaxExportNumber), platform_,
                             window())) {
        return;
    }
    QString folder;
    if (!ChooseExportFolder(workspace_, platform_, window(), folder) ||
        !ReplacingReportsAccepted(CheckedRows(lstMeasures), workspace_.Records(), folder,
                                  {travik::kMeasuresReportSuffix, travik::kFourierReportSuffix},
                                  platform_, window())) {
        return;
    }
    const travik::ReportDate date = travik::TodayLocalDate();
    const std::string edition = travik::kSoftwareEdition;
    const auto measuresOf = [this](const travik::TimeHistory& record) -> const auto& {
        for (int i = 0; i < workspace_.Records().Count(); ++i) {
            if (&workspace_.Records().At(i) == &record) {
                return MeasuresOf(i);
            }
        }
        throw std::logic_error("record not in the workspace");
    };
    std::optional<QString> error = WriteCheckedReports(
        lstMeasures, workspace_.Records(), folder, travik::kMeasuresReportSuffix,
        [&](travik::ReportLines& lines, const travik::TimeHistory& record) {
            travik::BuildMeasuresReport(lines, record, measuresOf(record), edition, date);
        });
    if (!error) {
        error = WriteCheckedReports(
            lstMeasures, workspace_.Records(), folder, travik::kFourierReportSuffix,
            [&](travik::ReportLines& lines, const travik::TimeHistory& record) {
                travik::BuildFourierReport(lines, record, measuresOf(record), edition, date);
            });
    }
    if (error) {
        platform_.ShowMessage(window(), PlatformServices::MessageKind::Warning, *error);
    } else {
        ShowReportsWritten(window(), 2 * CheckedRows(lstMeasures).size(), folder);
        platform_.ShowMessage(window(), PlatformServices::MessageKind::Information,
                              QString::fromLatin1(travik::kExportDoneMessage));
    }
}

StringGrid* MeasuresPage::TargetGrid() const {
    if (menuGrid_ != nullptr) {
        return menuGrid_;
    }
    return pgcMeasures->currentIndex() == 1 ? grdMeasuresChecked : grdMeasures;
}

void MeasuresPage::CopyMeasuresClick() {
    CopyGridSelection(*TargetGrid(), platform_);
    menuGrid_ = nullptr;
}

void MeasuresPage::SelectAllMeasuresClick() {
    SelectWholeGrid(*TargetGrid());
    menuGrid_ = nullptr;
}

void MeasuresPage::GridKeyDown(StringGrid& grid, int key, Qt::KeyboardModifiers modifiers) {
    // Only the focused table of the page shown takes the keys.
    if (!(modifiers & Qt::ControlModifier) || !grid.HasFocus() || !isVisible()) {
        return;
    }
    menuGrid_ = &grid;
    if (key == Qt::Key_A) {
        SelectAllMeasuresClick();
    } else if (key == Qt::Key_C) {
        CopyMeasuresClick();
    }
    menuGrid_ = nullptr;
}

void MeasuresPage::grdMeasuresKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    GridKeyDown(*grdMeasures, key, modifiers);
}

void MeasuresPage::grdMeasuresCheckedKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    GridKeyDown(*grdMeasuresChecked, key, modifiers);
}
