#include "ui/records/RecordsPage.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "core/export/ExportMessages.h"
#include "core/export/ReportHeader.h"
#include "core/export/TimeHistoryReport.h"
#include "core/records/CorrectedSet.h"
#include "ui/app/BackgroundWork.h"
#include "ui/app/ChartImages.h"
#include "ui/app/CheckedExport.h"
#include "ui/app/PlatformServices.h"
#include "ui/app/RecordCheckList.h"
#include "ui/app/Workspace.h"
#include "ui/figures/FigureView.h"
#include "ui/figures/RecordFigures.h"
#include "ui/presentation/DetailedDataWindow.h"
#include "ui/records/FilterDialog.h"

namespace {

using travik::figures::FigureView;

// Shares of the graph height: the acceleration chart gets 34 % and the other two charts
// share the rest equally. Before the window's first resize the splits are 37 % and 70 % of
// the rest.
constexpr int kLeftColumnWidth = 212;
constexpr int kUpperSplitPercent = 34;
constexpr int kLowerSplitPercent = 50;
constexpr int kInitialUpperSplitPercent = 37;
constexpr int kInitialLowerSplitPercent = 70;
// Each chart is at least this tall (pixels): a plot of about a hundred pixels, beside which
// the longest value-axis title ("Displacement [cm]") runs whole, with the time axis below.
constexpr int kChartMinimumHeight = 150;

FigureView* CreateTimeHistoryChart(const char* name, QWidget* parent) {
    auto* view = Named(new FigureView(parent), name);
    view->setMinimumHeight(kChartMinimumHeight);
    return view;
}

}  // namespace

RecordsPage::RecordsPage(Workspace& workspace, PlatformServices& platform, QWidget* parent)
    : QWidget(parent), workspace_(workspace), platform_(platform) {
    auto* pageLayout = new QHBoxLayout(this);
    pageLayout->setContentsMargins(4, 4, 4, 4);

    CreateRecordColumn();
    CreateGraph();
    // The user may widen the left column to read long record names.
    splLeft = Named(new QSplitter(Qt::Horizontal), "splLeft");
    splLeft->addWidget(grp1);
    splLeft->addWidget(grp2);
    splLeft->setStretchFactor(0, 0);
    splLeft->setStretchFactor(1, 1);
    splLeft->setChildrenCollapsible(false);
    splLeft->setSizes({kLeftColumnWidth, 4 * kLeftColumnWidth});
    pageLayout->addWidget(splLeft, 1);

    FigureView* const charts[] = {cht1, cht2, cht3};
    for (int k = 0; k < 3; ++k) {
        connect(charts[k], &FigureView::MenuRequested, this,
                [this, k](const QPoint& at) { PopUpChartMenu(k, at); });
    }
    connect(btn1, &QPushButton::clicked, this, &RecordsPage::btn1Click);
    connect(btn7, &QPushButton::clicked, this, &RecordsPage::btn7Click);
    connect(btn2, &QPushButton::clicked, this, &RecordsPage::btn2Click);
    connect(btn4, &QPushButton::clicked, this, &RecordsPage::btn4Click);
    connect(btnFilter, &QPushButton::clicked, this, &RecordsPage::btnFilterClick);
    connect(btn3, &QPushButton::clicked, this, &RecordsPage::btn3Click);
    connect(lst1, &QListWidget::currentRowChanged, this, &RecordsPage::lst1Click);
    connect(lst1, &QListWidget::itemChanged, this, &RecordsPage::lst1Change);
    connect(&workspace_.Checks(), &CheckMarks::changed, this, &RecordsPage::ChecksChanged);
    connect(lst1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { emit checkListMenuRequested(lst1->mapToGlobal(at)); });
    connect(&workspace_, &Workspace::recordsReplaced, this, &RecordsPage::RecordsReplaced);
    connect(&workspace_, &Workspace::recordCorrected, this, [this](int index) {
        if (Form4) {
            Form4->RecordChanged(index);
        }
    });
    // While long work runs, nothing that would start more of it or change what it reads.
    connect(&workspace_.Work(), &BackgroundWork::busyChanged, this, [this](bool busy) {
        for (QPushButton* button : {btn1, btn7, btn4, btn3, btnFilter}) {
            button->setEnabled(!busy);
        }
    });
}

// The left column (grp1): the record check list, its counters and the record commands.
void RecordsPage::CreateRecordColumn() {
    grp1 = Named(new QGroupBox(QStringLiteral("Time History Records")), "grp1");
    grp1->setMinimumWidth(kLeftColumnWidth);
    auto* left = new QVBoxLayout(grp1);
    btn1 = Named(new QPushButton(QStringLiteral("Import Data")), "btn1");
    btn7 = Named(new QPushButton(QStringLiteral("Clear Data")), "btn7");
    lst1 = Named(new RecordCheckList, "lst1");
    lst1->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* counters = new QFormLayout;
    lbl3 = Named(new QLabel(QStringLiteral("Number of Checked")), "lbl3");
    edt3 = MakeCounter("edt3");
    lbl1 = Named(new QLabel(QStringLiteral("Number of Records")), "lbl1");
    edt1 = MakeCounter("edt1");
    counters->addRow(lbl3, edt3);
    counters->addRow(lbl1, edt1);
    btn2 = Named(new QPushButton(QStringLiteral("Detailed Data")), "btn2");
    grp3 = Named(new QGroupBox(QStringLiteral("Base Line Correction")), "grp3");
    auto* correction = new QVBoxLayout(grp3);
    rb1 = Named(new QRadioButton(QStringLiteral("Linear")), "rb1");
    rb2 = Named(new QRadioButton(QStringLiteral("Parabolic")), "rb2");
    rb3 = Named(new QRadioButton(QStringLiteral("No Baseline Correction")), "rb3");
    rb1->setChecked(true);
    btn4 = Named(new QPushButton(QStringLiteral("Apply Baseline Correction")), "btn4");
    correction->addWidget(rb1);
    correction->addWidget(rb2);
    correction->addWidget(rb3);
    correction->addWidget(btn4);
    btnFilter = Named(new QPushButton(QStringLiteral("Filter\u2026")), "btnFilter");
    btnFilter->setToolTip(
        QStringLiteral("Butterworth filter of the selected record, after its "
                       "baseline correction"));
    correction->addWidget(btnFilter);
    btn3 = Named(new QPushButton(QStringLiteral("Export Checked Data")), "btn3");
    left->addWidget(btn1);
    left->addWidget(btn7);
    left->addWidget(lst1, 1);
    left->addLayout(counters);
    left->addWidget(btn2);
    left->addWidget(grp3);
    left->addWidget(btn3);
}

// The graph (grp2): the three time-history charts in two splitters.
void RecordsPage::CreateGraph() {
    grp2 = Named(new QGroupBox(QStringLiteral("Graph")), "grp2");
    auto* right = new QVBoxLayout(grp2);
    right->setContentsMargins(0, 0, 0, 0);
    spl1 = Named(new QSplitter(Qt::Vertical), "spl1");
    spl2 = Named(new QSplitter(Qt::Vertical), "spl2");
    cht1 = CreateTimeHistoryChart("cht1", spl1);
    cht2 = CreateTimeHistoryChart("cht2", spl2);
    cht3 = CreateTimeHistoryChart("cht3", spl2);
    spl1->addWidget(cht1);
    spl1->addWidget(spl2);
    spl2->addWidget(cht2);
    spl2->addWidget(cht3);
    ClearTimeHistoryCharts();
    for (QSplitter* splitter : {spl1, spl2}) {
        splitter->setChildrenCollapsible(false);
    }
    spl1->setSizes({kInitialUpperSplitPercent * 100, (100 - kInitialUpperSplitPercent) * 100});
    spl2->setSizes({kInitialLowerSplitPercent * 100, (100 - kInitialLowerSplitPercent) * 100});
    right->addWidget(spl1);
}

RecordsPage::~RecordsPage() {
    // The detailed-data window reads the workspace's records; it goes first.
    delete Form4.data();
}

void RecordsPage::ChangeRecordChecks(CheckChange change) {
    workspace_.Checks().Change(change);
}

void RecordsPage::ChecksChanged() {
    workspace_.Checks().ShowIn(*lst1);
    edt3->setText(QString::number(workspace_.Checks().CheckedCount()));
}

void RecordsPage::FitChartSplits() {
    spl1->setSizes({kUpperSplitPercent * 100, (100 - kUpperSplitPercent) * 100});
    spl2->setSizes({kLowerSplitPercent * 100, (100 - kLowerSplitPercent) * 100});
}

// An import or "Clear Data": the new list, nothing checked, the first record (if any)
// selected and drawn; the detailed-data window forgets what it showed.
void RecordsPage::RecordsReplaced() {
    const travik::RecordList& records = workspace_.Records();
    FillRecordCheckList(lst1, records);
    edt1->setText(QString::number(records.Count()));
    ChecksChanged();
    ClearTimeHistoryCharts();
    if (Form4) {
        Form4->RecordsReplaced();
    }
    if (!records.IsEmpty()) {
        const QSignalBlocker blocker(lst1);
        lst1->setCurrentRow(0);
    }
    ShowSelectedRecord();
}

void RecordsPage::btn1Click() {
    emit importRequested();
}

// The charts as shown (zoomed, if the user zoomed) are what is saved, copied or printed.
void RecordsPage::PopUpChartMenu(int chart, const QPoint& globalPosition) {
    const int index = lst1->currentRow();
    if (index < 0 || index >= workspace_.Records().Count()) {
        return;
    }
    const travik::TimeHistory& record = workspace_.Records().At(index);
    const FigureView* charts[] = {cht1, cht2, cht3};
    const std::vector<travik::figures::ChartFigure> figure = {charts[chart]->ShownFigure()};
    const QString name = QString::fromStdString(travik::ReportBaseName(record.SourceFileName()));
    QMenu menu(this);
    menu.addAction(QStringLiteral("Save Chart As…"), this, [&] {
        SaveFiguresAs(platform_, window(), figure, name + QStringLiteral("_TH"));
    });
    menu.addAction(QStringLiteral("Copy Chart"), this, [&] { CopyFigures(platform_, figure); });
    menu.addAction(QStringLiteral("Print Chart…"), this,
                   [&] { PrintFigures(platform_, window(), figure); });
    menu.exec(globalPosition);
}

void RecordsPage::SaveChartAs() {
    const int index = lst1->currentRow();
    if (index < 0 || index >= workspace_.Records().Count()) {
        return;
    }
    const travik::TimeHistory& record = workspace_.Records().At(index);
    SaveFiguresAs(platform_, window(),
                  {cht1->ShownFigure(), cht2->ShownFigure(), cht3->ShownFigure()},
                  QString::fromStdString(travik::ReportBaseName(record.SourceFileName())) +
                      QStringLiteral("_TH"));
}

void RecordsPage::btn7Click() {
    // Records corrected and filtered by hand are work: they go only when the user says so.
    const int count = workspace_.Records().Count();
    if (count > 0 &&
        !platform_.Confirm(window(), QStringLiteral("Discard the %1 loaded record(s) and their "
                                                    "results?")
                                         .arg(count))) {
        return;
    }
    workspace_.Clear();
}

// Empty charts keep their axis titles, so the page shows what will be drawn where.
void RecordsPage::ClearTimeHistoryCharts() {
    const std::array<travik::figures::ChartFigure, 3> empty =
        travik::figures::TimeHistoryCharts(travik::TimeHistory(std::string(), 0.01));
    FigureView* charts[] = {cht1, cht2, cht3};
    for (std::size_t k = 0; k < 3; ++k) {
        travik::figures::ChartFigure figure = empty[k];
        figure.title.clear();
        figure.curves.clear();
        charts[k]->SetFigure(figure);
    }
}

void RecordsPage::ShowSelectedRecord() {
    const int index = lst1->currentRow();
    if (index < 0 || index >= workspace_.Records().Count()) {
        return;
    }
    const std::array<travik::figures::ChartFigure, 3> figures =
        travik::figures::TimeHistoryCharts(workspace_.Records().At(index));
    FigureView* charts[] = {cht1, cht2, cht3};
    for (std::size_t k = 0; k < 3; ++k) {
        charts[k]->SetFigure(figures[k]);
    }
}

void RecordsPage::lst1Click() {
    if (lst1->currentRow() < 0) {
        return;
    }
    ClearTimeHistoryCharts();
    ShowSelectedRecord();
}

void RecordsPage::lst1Change() {
    workspace_.Checks().TakeFrom(*lst1);
}

void RecordsPage::btn4Click() {
    const int index = lst1->currentRow();
    if (index < 0 || index >= workspace_.Records().Count()) {
        return;
    }
    travik::BaselineCorrectionType type = travik::BaselineCorrectionType::None;
    if (rb1->isChecked()) {
        type = travik::BaselineCorrectionType::Linear;
    } else if (rb2->isChecked()) {
        type = travik::BaselineCorrectionType::Parabolic;
    }
    // The fit runs on a copy off the window's thread; the record takes its corrected series
    // when it is done, so the charts and tables never see a half-corrected record.
    struct Correction {
        std::unique_ptr<travik::TimeHistory> record;
        bool ok = false;
    };
    const travik::TimeHistory& record = workspace_.Records().At(index);
    const double g = workspace_.Settings().g;
    workspace_.Work().Start<Correction>(
        QStringLiteral("Correcting the baseline of %1")
            .arg(QString::fromStdString(record.SourceFileName())),
        [&record, type, g](BackgroundWork::Control&) {
            Correction correction{std::make_unique<travik::TimeHistory>(record)};
            correction.ok = travik::ApplyBaselineCorrection(*correction.record, type, g);
            return correction;
        },
        [this, index](Correction&& correction) {
            workspace_.TakeCorrection(index, *correction.record);
            if (!correction.ok) {
                platform_.ShowMessage(
                    window(), PlatformServices::MessageKind::Warning,
                    QString::fromLatin1(travik::kBaselineCorrectionFailedMessage));
            }
            ClearTimeHistoryCharts();
            ShowSelectedRecord();
        });
}

void RecordsPage::btnFilterClick() {
    const int index = lst1->currentRow();
    if (index < 0 || index >= workspace_.Records().Count()) {
        return;
    }
    const travik::TimeHistory& record = workspace_.Records().At(index);
    auto* dialog =
        new FilterDialog(record.IsCorrected() ? record.Filter() : std::nullopt, record.TimeStep(),
                         record.SampleCount(), DecimalSeparator(), platform_, window());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::ApplicationModal);
    connect(dialog, &FilterDialog::FilterChosen, this,
            [this, index](const std::optional<travik::FilterSettings>& filter) {
                FilterRecord(index, filter);
            });
    dialog->show();
}

// The filter runs on a copy off the window's thread, as the baseline correction does; the
// record takes the filtered series when it is done, and a refused filter changes nothing.
void RecordsPage::FilterRecord(int index, const std::optional<travik::FilterSettings>& filter) {
    struct Filtered {
        std::unique_ptr<travik::TimeHistory> record;
        travik::FilterOutcome outcome;
    };
    const travik::TimeHistory& record = workspace_.Records().At(index);
    const double g = workspace_.Settings().g;
    workspace_.Work().Start<Filtered>(
        QStringLiteral("Filtering %1").arg(QString::fromStdString(record.SourceFileName())),
        [&record, filter, g](BackgroundWork::Control&) {
            Filtered filtered{std::make_unique<travik::TimeHistory>(record), {}};
            filtered.outcome = travik::ApplyFilter(*filtered.record, filter, g);
            return filtered;
        },
        [this, index](Filtered&& filtered) {
            if (filtered.outcome.ok) {
                workspace_.TakeFiltered(index, std::move(*filtered.record));
            } else {
                platform_.ShowMessage(window(), PlatformServices::MessageKind::Warning,
                                      QString::fromStdString(filtered.outcome.problem.message));
            }
            ClearTimeHistoryCharts();
            ShowSelectedRecord();
        });
}

void RecordsPage::btn2Click() {
    if (Form4) {
        Form4->show();
        Form4->raise();
        Form4->activateWindow();
        return;
    }
    try {
        Form4 = new TForm4(workspace_.Records(), platform_, workspace_.Work(), DecimalSeparator(),
                           window());
        Form4->setAttribute(Qt::WA_DeleteOnClose);
        Form4->ResetDetailedData();
        Form4->FillRecordSelector();
        Form4->ShowRecordData();
        Form4->PlaceBeside(*window());
        Form4->show();
    } catch (...) {
        delete Form4.data();
        Form4 = nullptr;
        throw;
    }
}

void RecordsPage::btn3Click() {
    if (!ExportCountAccepted(lst1, travik::TimeHistoryExportLimitMessage(travik::kMaxExportNumber),
                             platform_, window())) {
        return;
    }
    QString folder;
    if (!ChooseExportFolder(workspace_, platform_, window(), folder) ||
        !ReplacingReportsAccepted(CheckedRows(lst1), workspace_.Records(), folder,
                                  {travik::kTimeHistoryReportSuffix}, platform_, window())) {
        return;
    }
    const travik::ReportDate date = travik::TodayLocalDate();
    const travik::RecordList& records = workspace_.Records();
    const std::size_t count = CheckedRows(lst1).size();
    workspace_.Work().Start<std::optional<QString>>(
        QStringLiteral("Writing the time-history reports"),
        [checked = CheckedRows(lst1), &records, folder, date](BackgroundWork::Control& control) {
            const std::string edition = travik::kSoftwareEdition;
            return WriteReportsOf(
                checked, records, folder, travik::kTimeHistoryReportSuffix,
                [&](travik::ReportLines& lines, const travik::TimeHistory& record) {
                    travik::BuildTimeHistoryReport(lines, record, edition, date);
                },
                &control);
        },
        [this, count, folder](std::optional<QString>&& error) {
            if (error) {
                platform_.ShowMessage(window(), PlatformServices::MessageKind::Warning, *error);
            } else {
                ShowReportsWritten(window(), count, folder);
                platform_.ShowMessage(window(), PlatformServices::MessageKind::Information,
                                      QString::fromLatin1(travik::kExportDoneMessage));
            }
        });
}
