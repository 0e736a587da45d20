#include "ui/presentation/DetailedDataWindow.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>
#include <string>

#include "core/text/NumberFormat.h"
#include "ui/app/BackgroundWork.h"
#include "ui/app/FormHelpers.h"
#include "ui/app/PlatformServices.h"
#include "ui/app/ScreenFit.h"
#include "ui/app/StringGrid.h"
#include "ui/presentation/GridClipboard.h"

namespace {

constexpr int kDesignedColumns = 7;
constexpr int kDesignedRows = 5;
constexpr int kColumns = 8;
constexpr const char* kNotCorrected = "--";
// A selection of up to this many rows is copied at once; a longer one (a whole long record)
// is copied off the window's thread.
constexpr int kRowsCopiedAtOnce = 20000;

struct Column {
    const char* header;
    int width;
};

constexpr Column kColumnDesign[kColumns] = {
    {"No.", 56},
    {"Time [sec]", 100},
    {"Acceleration [g]", 100},
    {"Corrected Acc. [g]", 100},
    {"Velocity [cm/sec]", 100},
    {"Corrected Vel. [cm/sec]", 100},
    {"Displacement [cm]", 100},
    {"Corrected Disp. [cm]", 100},
};

}  // namespace

TForm4::TForm4(const travik::RecordList& records, PlatformServices& platform, BackgroundWork& work,
               char decimalSeparator, QWidget* parent)
    : QDialog(parent),
      records_(records),
      platform_(platform),
      work_(work),
      decimalSeparator_(decimalSeparator) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Detailed Data of Time History Records"));
    KeepOnScreen(this);
    // An ordinary window: a dialog the program opens later must be able to come in front
    // of it, or it would open hidden behind it and block the program.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setModal(false);

    lbl11 = Named(new QLabel(QStringLiteral("Selected Time History Records")), "lbl11");
    cbb4 = Named(new QComboBox, "cbb4");
    cbb4->setEditable(false);
    cbb4->setMinimumWidth(260);
    strngrd1 = Named(new StringGrid(kDesignedColumns, kDesignedRows), "strngrd1");
    strngrd1->setMinimumSize(735, 427);
    strngrd1->setContextMenuPolicy(Qt::CustomContextMenu);
    strngrd1->SetColumnCount(kColumns);
    int gridWidth = 0;
    for (int column = 0; column < kColumns; ++column) {
        const QString header = QString::fromLatin1(kColumnDesign[column].header);
        strngrd1->SetCell(column, 0, header);
        // The designed width, widened where the platform font needs more for the header.
        const int needed = strngrd1->fontMetrics().horizontalAdvance(header) + 14;
        const int width = std::max(kColumnDesign[column].width, needed);
        strngrd1->SetColumnWidth(column, width);
        gridWidth += width;
    }
    btn1 = Named(new QPushButton(QStringLiteral("Close")), "btn1");
    // Enter in the grid must not close the window.
    btn1->setAutoDefault(false);

    pm2 = Named(new QMenu(this), "pm2");
    CopySelection1 =
        Named(pm2->addAction(QStringLiteral("Copy Selection ( Ctrl+C )")), "CopySelection1");
    SelectAll1 = Named(pm2->addAction(QStringLiteral("Select All ( Ctrl+A )")), "SelectAll1");

    auto* selectorRow = new QHBoxLayout;
    selectorRow->addWidget(lbl11);
    selectorRow->addWidget(cbb4);
    selectorRow->addStretch(1);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(btn1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 8);
    layout->addLayout(selectorRow);
    layout->addWidget(strngrd1, 1);
    layout->addLayout(buttonRow);
    // Room for every column and the vertical scroll bar, so that no horizontal one is needed.
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    resize(std::max(755, gridWidth + scrollBar + 2 * strngrd1->View()->frameWidth() + 24), 503);

    connect(cbb4, &QComboBox::currentIndexChanged, this, &TForm4::cbb4Change);
    connect(btn1, &QPushButton::clicked, this, &TForm4::btn1Click);
    connect(CopySelection1, &QAction::triggered, this, &TForm4::CopySelection1Click);
    connect(SelectAll1, &QAction::triggered, this, &TForm4::SelectAll1Click);
    connect(strngrd1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { pm2->popup(strngrd1->mapToGlobal(at)); });

    // Key preview: the window sees every key of its controls first.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
}

bool TForm4::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // A key not taken by a control travels on to its parents; act only where it began.
        const QWidget* focus = focusWidget();
        if (watched == focus || (focus == nullptr && watched == this)) {
            FormKeyDown(key->key(), key->modifiers());
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TForm4::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    if (!modifiers.testFlag(Qt::ControlModifier)) {
        return;
    }
    if (key == Qt::Key_A) {
        SelectAll1Click();
    } else if (key == Qt::Key_C) {
        CopySelection1Click();
    }
}

void TForm4::CopySelection1Click() {
    const GridSelection selection = strngrd1->Selection();
    const int rows = selection.bottom - selection.top + 1;
    if (rows <= kRowsCopiedAtOnce || shownRecord_ < 0 || shownRecord_ >= records_.Count()) {
        CopyGridSelection(*strngrd1, platform_);
        return;
    }
    // A million rows take seconds to format: off the window's thread, as a job of the
    // program's, so that no import or correction changes the record meanwhile.
    const travik::TimeHistory& record = records_.At(shownRecord_);
    QStringList header;
    for (int column = 0; column < strngrd1->ColumnCount(); ++column) {
        header.push_back(strngrd1->Cell(column, 0));
    }
    const char separator = decimalSeparator_;
    PlatformServices* platform = &platform_;
    const bool started = work_.Start<std::optional<QString>>(
        QStringLiteral("Copying %1 rows of %2")
            .arg(rows)
            .arg(QString::fromStdString(record.SourceFileName())),
        [&record, header, selection, separator, rows](BackgroundWork::Control& control) {
            return SelectionText(
                selection,
                [&](int column, int row) {
                    if (row == 0) {
                        return column < header.size() ? header[column] : QString();
                    }
                    return SampleCellText(record, column, row, separator);
                },
                [&control, rows](int done) {
                    if (done % 4096 == 0) {
                        control.Progress(static_cast<double>(done) / rows);
                    }
                    return !control.Cancelled();
                });
        },
        [platform](std::optional<QString>&& text) {
            if (text) {
                platform->SetClipboardText(*text);
            }
        });
    if (!started) {
        platform_.ShowMessage(this, PlatformServices::MessageKind::Information,
                              QStringLiteral("Other work is running; copy again when it has "
                                             "finished."));
    }
}

// The header and every sample; the blank rows below them hold no data, and copied they
// would add an empty row wherever the text is pasted.
void TForm4::SelectAll1Click() {
    const bool shown = shownRecord_ >= 0 && shownRecord_ < records_.Count();
    const int lastRow = shown ? records_.At(shownRecord_).SampleCount() : 0;
    strngrd1->SetSelection(
        {0, 0, strngrd1->ColumnCount() - 1, std::min(lastRow, strngrd1->RowCount() - 1)});
}

void TForm4::BlankRow(int row) {
    for (int column = 0; column < strngrd1->ColumnCount(); ++column) {
        strngrd1->SetCell(column, row, QString());
    }
}

void TForm4::ResetDetailedData() {
    {
        const QSignalBlocker blocker(cbb4);
        cbb4->clear();
    }
    shownRecord_ = -1;
    strngrd1->SetCellSource(strngrd1->RowCount(), [](int, int) { return QString(); });
}

void TForm4::FillRecordSelector() {
    {
        const QSignalBlocker blocker(cbb4);
        ::FillRecordSelector(cbb4, records_);
        cbb4->setCurrentIndex(records_.IsEmpty() ? -1 : 0);
    }
}

void TForm4::ShowRecordData() {
    const int index = cbb4->currentIndex();
    if (index < 0 || index >= records_.Count()) {
        return;
    }
    shownRecord_ = index;
    // Header row, one row per sample and a trailing row; cells are written when shown.
    strngrd1->SetCellSource(records_.At(index).SampleCount() + 2,
                            [this](int column, int row) { return SampleText(column, row); });
}

QString TForm4::SampleText(int column, int row) const {
    if (shownRecord_ < 0 || shownRecord_ >= records_.Count()) {
        return {};
    }
    return SampleCellText(records_.At(shownRecord_), column, row, decimalSeparator_);
}

QString TForm4::SampleCellText(const travik::TimeHistory& record, int column, int row,
                               char decimalSeparator) {
    const int i = row - 1;
    if (i < 0 || i >= record.SampleCount()) {
        return {};
    }
    const auto at = static_cast<std::size_t>(i);
    const auto format = [decimalSeparator](double value, const char* pattern) {
        return QString::fromStdString(travik::FormatNumber(value, pattern, decimalSeparator));
    };
    constexpr const char* kSample = "0.00000000";
    const bool corrected = record.IsCorrected();
    switch (column) {
        case 0:
            return QString::number(i + 1);
        case 1:
            // The product, not a running sum: the time of sample i is i * dt.
            return format(i * record.TimeStep(), "0.00000");
        case 2:
            return format(record.RawAcceleration()[at], kSample);
        case 3:
            return corrected ? format(record.CorrectedAcceleration()[at], kSample)
                             : QString::fromLatin1(kNotCorrected);
        case 4:
            return format(record.RawVelocity()[at], kSample);
        case 5:
            return corrected ? format(record.CorrectedVelocity()[at], kSample)
                             : QString::fromLatin1(kNotCorrected);
        case 6:
            return format(record.RawDisplacement()[at], kSample);
        case 7:
            return corrected ? format(record.CorrectedDisplacement()[at], kSample)
                             : QString::fromLatin1(kNotCorrected);
        default:
            return {};
    }
}

void TForm4::RecordsReplaced() {
    ResetDetailedData();
    FillRecordSelector();
    ShowRecordData();
}

void TForm4::RecordChanged(int index) {
    if (index == shownRecord_) {
        ShowRecordData();
    }
}

QPoint TForm4::BesidePosition(const QRect& owner, const QSize& outer, const QRect& available) {
    const int top = std::clamp(owner.top(), available.top(),
                               std::max(available.top(), available.bottom() + 1 - outer.height()));
    if (owner.right() + 1 + outer.width() <= available.right() + 1) {
        return {owner.right() + 1, top};
    }
    if (owner.left() - outer.width() >= available.left()) {
        return {owner.left() - outer.width(), top};
    }
    // No room beside it: over the right part of the owner, where the charts are, never over
    // the controls on its left.
    return {std::max(available.left(), available.right() + 1 - outer.width()), top};
}

void TForm4::PlaceBeside(const QWidget& window) {
    const QScreen* screen = window.screen();
    if (screen == nullptr) {
        return;
    }
    // The frame adds the title bar and borders to the size asked for.
    const QSize frame = isVisible() ? frameGeometry().size() - geometry().size() : QSize(0, 0);
    move(BesidePosition(window.frameGeometry(), size() + frame, screen->availableGeometry()));
}

void TForm4::cbb4Change() {
    ShowRecordData();
}

void TForm4::btn1Click() {
    close();
}
