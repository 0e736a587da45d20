#include "ui/suite/ScalingPanel.h"

#include <QAction>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <string>

#include "core/export/ReportHeader.h"
#include "core/export/ScalingReport.h"
#include "core/suite/ScalingShortfalls.h"
#include "core/text/NumberFormat.h"
#include "core/text/ShownText.h"
#include "ui/app/ChartImages.h"
#include "ui/app/FormHelpers.h"
#include "ui/app/StringGrid.h"
#include "ui/figures/FigureView.h"
#include "ui/figures/ScalingFigures.h"
#include "ui/presentation/GridClipboard.h"

namespace {

// The columns of the report's table of motions.
constexpr std::array<const char*, 7> kColumns = {
    "Record", "Individual factor", "Suite factor", "Total factor", "ln MSE", "Selected", "Rank"};

// The report's seven digits with the window's decimal separator.
QString Digits(double value, char decimalSeparator) {
    std::string text = travik::FormatSevenDigits(value);
    std::replace(text.begin(), text.end(), '.', decimalSeparator);
    return QString::fromStdString(text);
}

QString OutcomeText(const travik::SuiteScaling& scaling) {
    QString text = QStringLiteral("%1 of %2 records selected; suite factor %3.")
                       .arg(scaling.SelectedCount())
                       .arg(scaling.members.size())
                       .arg(QString::fromStdString(travik::FormatSevenDigits(scaling.suiteFactor)));
    if (scaling.options.rule != travik::SuiteRule::None) {
        text += scaling.ruleMet ? QStringLiteral(" The suite meets the rule.")
                                : QStringLiteral(" The suite does NOT meet the rule.");
    }
    for (const std::string& line : travik::ScalingShortfalls(scaling)) {
        text += QLatin1Char('\n') + QString::fromStdString(line);
    }
    return text;
}

}  // namespace

ScalingPanel::ScalingPanel(PlatformServices& platform, QWidget* parent)
    : QWidget(parent), platform_(platform) {
    setObjectName(QStringLiteral("pnlScaling"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    // The figure and the table each have a page of their own: at the window's designed size
    // the two stacked panels need all the height there is, or their axis labels collapse.
    tabScaling = Named(new QTabWidget, "tabScaling");
    auto* split = Named(new QSplitter(Qt::Vertical), "splScaling");
    chtScaling = Named(new travik::figures::FigureView, "chtScaling");
    chtScalingRatio = Named(new travik::figures::FigureView, "chtScalingRatio");
    chtScaling->setMinimumHeight(120);
    chtScalingRatio->setMinimumHeight(100);
    split->addWidget(chtScaling);
    split->addWidget(chtScalingRatio);
    split->setChildrenCollapsible(false);
    // Equal heights: the lower panel's legend and axis titles take as much room as the
    // upper one's, for a plot a third as high.
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    split->setSizes({1, 1});
    tabScaling->addTab(split, QStringLiteral("Figure"));
    grdScaling = Named(new StringGrid(static_cast<int>(kColumns.size()), 1), "grdScaling");
    grdScaling->setContextMenuPolicy(Qt::CustomContextMenu);
    tabScaling->addTab(grdScaling, QStringLiteral("Factors"));
    layout->addWidget(tabScaling, 1);

    lblScalingOutcome = Named(new QLabel, "lblScalingOutcome");
    lblScalingOutcome->setWordWrap(true);
    lblScalingOutcome->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(lblScalingOutcome);
    auto* buttons = new QHBoxLayout;
    btnWriteScaled =
        Named(new QPushButton(QStringLiteral("Write Scaled Records…")), "btnWriteScaled");
    btnWriteScaled->setToolTip(
        QStringLiteral("Write each selected record times its total factor as a PEER .AT2 file"));
    btnScalingReport =
        Named(new QPushButton(QStringLiteral("Write Scaling Report…")), "btnScalingReport");
    btnScalingReport->setToolTip(QStringLiteral("Write <first record>_scaling.csv"));
    buttons->addWidget(btnWriteScaled);
    buttons->addWidget(btnScalingReport);
    btnSaveScalingFigure =
        Named(new QPushButton(QStringLiteral("Save Figure…")), "btnSaveScalingFigure");
    buttons->addWidget(btnSaveScalingFigure);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    pmScaling = Named(new QMenu(this), "pmScaling");
    CopyScaling =
        Named(pmScaling->addAction(QStringLiteral("Copy Selection ( Ctrl+C )")), "CopyScaling");
    SelectAllScaling =
        Named(pmScaling->addAction(QStringLiteral("Select All ( Ctrl+A )")), "SelectAllScaling");
    connect(CopyScaling, &QAction::triggered, this,
            [this] { CopyGridSelection(*grdScaling, platform_); });
    connect(SelectAllScaling, &QAction::triggered, this, [this] { SelectWholeGrid(*grdScaling); });
    connect(grdScaling, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { pmScaling->popup(grdScaling->mapToGlobal(at)); });
    connect(grdScaling, &StringGrid::KeyDown, this, &ScalingPanel::grdScalingKeyDown);
    connect(btnWriteScaled, &QPushButton::clicked, this, &ScalingPanel::WriteRecordsRequested);
    connect(btnScalingReport, &QPushButton::clicked, this, &ScalingPanel::WriteReportRequested);
    connect(btnSaveScalingFigure, &QPushButton::clicked, this, &ScalingPanel::SaveFigure);
    Clear();
}

void ScalingPanel::Show(const travik::SuiteScaling& scaling, double g, char decimalSeparator) {
    grdScaling->BeginUpdate();
    grdScaling->ClearCells();
    grdScaling->SetRowCount(1 + static_cast<int>(scaling.members.size()));
    for (std::size_t c = 0; c < kColumns.size(); ++c) {
        grdScaling->SetCell(static_cast<int>(c), 0, QString::fromLatin1(kColumns[c]));
    }
    for (std::size_t r = 0; r < scaling.members.size() && r < scaling.scaled.size(); ++r) {
        const travik::ScaledMember& m = scaling.scaled[r];
        const int row = static_cast<int>(r) + 1;
        grdScaling->SetCell(0, row,
                            QString::fromStdString(travik::ShownText(scaling.members[r].name)));
        grdScaling->SetCell(1, row, Digits(m.individualFactor, decimalSeparator));
        grdScaling->SetCell(2, row, Digits(m.suiteFactor, decimalSeparator));
        grdScaling->SetCell(3, row, Digits(m.totalFactor, decimalSeparator));
        grdScaling->SetCell(4, row, Digits(m.mse, decimalSeparator));
        grdScaling->SetCell(5, row, m.selected ? QStringLiteral("yes") : QStringLiteral("no"));
        grdScaling->SetCell(6, row, QString::number(m.rank));
    }
    FitColumns();
    grdScaling->EndUpdate();
    std::array<travik::figures::ChartFigure, 2> figures = travik::figures::ScalingCharts(scaling);
    for (travik::figures::ChartFigure& figure : figures) {
        figure.g = g;
    }
    figures_.assign(figures.begin(), figures.end());
    imageName_ = QString::fromStdString(travik::ReportFileBase(
                     scaling.members.empty() ? std::string("suite") : scaling.members[0].name)) +
                 QStringLiteral("_scaling");
    // The lower panel's lines explain themselves (0.9 and 1.0 on the axis "Mean / target",
    // the range shaded as above); without a legend its plot keeps room for its labels.
    figures[1].legend = false;
    chtScaling->SetFigure(figures[0]);
    chtScalingRatio->SetFigure(figures[1]);
    lblScalingOutcome->setText(OutcomeText(scaling));
    shown_ = true;
    SetBusy(busy_);
}

// Each column as wide as its widest text, so that no factor loses digits.
void ScalingPanel::FitColumns() {
    const QFontMetrics metrics(grdScaling->View()->font());
    for (int c = 0; c < grdScaling->ColumnCount(); ++c) {
        int widest = 0;
        for (int r = 0; r < grdScaling->RowCount(); ++r) {
            widest = std::max(widest, metrics.horizontalAdvance(grdScaling->Cell(c, r)));
        }
        grdScaling->SetColumnWidth(c, widest + 16);
    }
}

void ScalingPanel::Clear() {
    grdScaling->ClearCells();
    grdScaling->SetRowCount(1);
    for (std::size_t c = 0; c < kColumns.size(); ++c) {
        grdScaling->SetCell(static_cast<int>(c), 0, QString::fromLatin1(kColumns[c]));
    }
    FitColumns();
    chtScaling->SetFigure({});
    chtScalingRatio->SetFigure({});
    figures_.clear();
    lblScalingOutcome->setText(
        QStringLiteral("Check the records on the list, then press \"Scale to Target…\"."));
    shown_ = false;
    SetBusy(busy_);
}

void ScalingPanel::SetBusy(bool busy) {
    busy_ = busy;
    btnWriteScaled->setEnabled(shown_ && !busy);
    btnScalingReport->setEnabled(shown_ && !busy);
    btnSaveScalingFigure->setEnabled(shown_);
}

void ScalingPanel::SaveFigure() {
    if (!figures_.empty()) {
        SaveFiguresAs(platform_, window(), figures_, imageName_);
    }
}

// Ctrl+A and Ctrl+C while the table has the keyboard focus, as on every table.
void ScalingPanel::grdScalingKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    if (!modifiers.testFlag(Qt::ControlModifier) || !grdScaling->HasFocus()) {
        return;
    }
    if (key == Qt::Key_A) {
        SelectWholeGrid(*grdScaling);
    } else if (key == Qt::Key_C) {
        CopyGridSelection(*grdScaling, platform_);
    }
}
