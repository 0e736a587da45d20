#include "ui/app/StringGrid.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace string_grid_detail {

// Holds every cell of the grid, fixed ones included, and shows row 0 as the column header
// and column 0 as the row header of a table view; the view's own cells are the others.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    GridModel(int columns, int rows, QObject* parent) : QAbstractTableModel(parent) {
        columns_ = std::max(columns, 1);
        rows_ = std::max(rows, 1);
        cells_.assign(static_cast<std::size_t>(rows_),
                      std::vector<QString>(static_cast<std::size_t>(columns_)));
    }

    int Rows() const { return rows_; }
    int Columns() const { return columns_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : rows_ - 1;
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : columns_ - 1;
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) {
            return {};
        }
        if (role == Qt::DisplayRole) {
            return Text(index.column() + 1, index.row() + 1);
        }
        if (role == Qt::TextAlignmentRole) {
            return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
        }
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role == Qt::DisplayRole) {
            return orientation == Qt::Horizontal ? Text(section + 1, 0) : Text(0, section + 1);
        }
        if (role == Qt::TextAlignmentRole) {
            return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
        }
        return {};
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

    QString Text(int column, int row) const {
        if (column < 0 || row < 0 || column >= columns_ || row >= rows_) {
            return {};
        }
        if (source_ && row > 0) {
            return source_(column, row);
        }
        return cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    }

    // Rows from 1 on come from `source` when asked for; only the fixed row stays stored.
    void SetSource(int rows, StringGrid::CellSource source) {
        beginResetModel();
        source_ = std::move(source);
        rows_ = std::max(rows, 1);
        cells_.resize(source_ ? 1 : static_cast<std::size_t>(rows_),
                      std::vector<QString>(static_cast<std::size_t>(columns_)));
        cells_.shrink_to_fit();
        endResetModel();
    }

    bool HasSource() const { return static_cast<bool>(source_); }

    void SetText(int column, int row, const QString& text) {
        if (column < 0 || row < 0 || column >= columns_ || row >= rows_) {
            return;
        }
        if (source_ && row > 0) {
            return;  // the source decides these cells
        }
        QString& cell = cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
        if (cell == text) {
            return;
        }
        cell = text;
        if (batchDepth_ > 0) {
            changedInBatch_ = true;
            return;
        }
        if (row == 0 && column == 0) {
            emit CornerChanged();
        } else if (row == 0) {
            emit headerDataChanged(Qt::Horizontal, column - 1, column - 1);
        } else if (column == 0) {
            emit headerDataChanged(Qt::Vertical, row - 1, row - 1);
        } else {
            const QModelIndex changed = index(row - 1, column - 1);
            emit dataChanged(changed, changed, {Qt::DisplayRole});
        }
    }

    void ClearTexts() {
        for (auto& row : cells_) {
            for (QString& cell : row) {
                cell.clear();
            }
        }
        AnnounceAllChanged();
    }

    void SetRows(int rows) {
        rows = std::max(rows, 1);
        if (source_) {
            SetSource(rows, source_);
            return;
        }
        if (rows > rows_) {
            beginInsertRows(QModelIndex(), rows_ - 1, rows - 2);
            cells_.resize(static_cast<std::size_t>(rows),
                          std::vector<QString>(static_cast<std::size_t>(columns_)));
            rows_ = rows;
            endInsertRows();
        } else if (rows < rows_) {
            beginRemoveRows(QModelIndex(), rows - 1, rows_ - 2);
            cells_.resize(static_cast<std::size_t>(rows));
            rows_ = rows;
            endRemoveRows();
        }
    }

    void SetColumns(int columns) {
        columns = std::max(columns, 1);
        if (columns == columns_) {
            return;
        }
        if (columns > columns_) {
            beginInsertColumns(QModelIndex(), columns_ - 1, columns - 2);
        } else {
            beginRemoveColumns(QModelIndex(), columns - 1, columns_ - 2);
        }
        for (auto& row : cells_) {
            row.resize(static_cast<std::size_t>(columns));
        }
        const bool growing = columns > columns_;
        columns_ = columns;
        if (growing) {
            endInsertColumns();
        } else {
            endRemoveColumns();
        }
    }

    void BeginBatch() { ++batchDepth_; }
    void EndBatch() {
        if (batchDepth_ > 0 && --batchDepth_ == 0 && changedInBatch_) {
            AnnounceAllChanged();
        }
    }

  signals:
    void CornerChanged();

  private:
    void AnnounceAllChanged() {
        changedInBatch_ = false;
        if (batchDepth_ > 0) {
            changedInBatch_ = true;
            return;
        }
        emit CornerChanged();
        if (columns_ > 1) {
            emit headerDataChanged(Qt::Horizontal, 0, columns_ - 2);
        }
        if (rows_ > 1) {
            emit headerDataChanged(Qt::Vertical, 0, rows_ - 2);
        }
        if (rows_ > 1 && columns_ > 1) {
            emit dataChanged(index(0, 0), index(rows_ - 2, columns_ - 2), {Qt::DisplayRole});
        }
    }

    int columns_ = 1;
    int rows_ = 1;
    std::vector<std::vector<QString>> cells_;  // [row][column]; only row 0 with a source
    StringGrid::CellSource source_;
    int batchDepth_ = 0;
    bool changedInBatch_ = false;
};

// Cell (0, 0), drawn like a header section in the view's corner.
class CornerCell : public QWidget {
  public:
    CornerCell(const GridModel* model, QWidget* parent) : QWidget(parent), model_(model) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        QStyleOptionHeader option;
        option.initFrom(this);
        option.rect = rect();
        option.text = model_->Text(0, 0);
        option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        option.position = QStyleOptionHeader::OnlyOneSection;
        option.orientation = Qt::Horizontal;
        style()->drawControl(QStyle::CE_Header, &option, &painter, this);
    }

  private:
    const GridModel* model_;
};

// The table view of the grid: reports every key to the grid before handling it, and has no
// key commands of its own for copying or selecting all (the windows provide those).
class GridView : public QTableView {
  public:
    GridView(StringGrid* grid, GridModel* model)
        : QTableView(grid), grid_(grid), corner_(new CornerCell(model, this)) {
        setModel(model);
        QObject::connect(model, &GridModel::CornerChanged, corner_, [this] { corner_->update(); });
    }

    void HandleKey(QKeyEvent* event) { keyPressEvent(event); }

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        grid_->keyInView_ = event;
        emit grid_->KeyDown(event->key(), event->modifiers());
        if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::SelectAll)) {
            event->accept();
        } else {
            QTableView::keyPressEvent(event);
        }
        if (event->isAccepted()) {
            grid_->keyInView_ = nullptr;  // it will not be passed on to the grid
        }
    }

    void updateGeometries() override {
        QTableView::updateGeometries();
        if (corner_ == nullptr) {
            return;
        }
        const QHeaderView* rows = verticalHeader();
        const QHeaderView* columns = horizontalHeader();
        corner_->setGeometry(rows->x(), columns->y(), rows->width(), columns->height());
        corner_->raise();
        corner_->show();
    }

  private:
    StringGrid* grid_;
    CornerCell* corner_ = nullptr;
};

}  // namespace string_grid_detail

using string_grid_detail::GridModel;
using string_grid_detail::GridView;

StringGrid::StringGrid(int columnCount, int rowCount, QWidget* parent)
    : QWidget(parent),
      model_(new GridModel(columnCount, rowCount, this)),
      view_(new GridView(this, model_)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    setFocusProxy(view_);

    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    view_->setSelectionBehavior(QAbstractItemView::SelectItems);
    view_->setWordWrap(false);
    view_->setTextElideMode(Qt::ElideNone);
    view_->setCornerButtonEnabled(false);
    view_->setShowGrid(true);
    view_->setTabKeyNavigation(false);
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    const int rowHeight = std::max(24, fontMetrics().height() + 8);
    QHeaderView* columnsHeader = view_->horizontalHeader();
    columnsHeader->setDefaultSectionSize(64);
    columnsHeader->setMinimumSectionSize(8);
    columnsHeader->setSectionResizeMode(QHeaderView::Interactive);
    columnsHeader->setStretchLastSection(false);
    columnsHeader->setSectionsClickable(false);
    columnsHeader->setHighlightSections(false);
    columnsHeader->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    columnsHeader->setTextElideMode(Qt::ElideNone);
    columnsHeader->setFixedHeight(rowHeight);

    QHeaderView* rowsHeader = view_->verticalHeader();
    rowsHeader->setDefaultSectionSize(rowHeight);
    rowsHeader->setMinimumSectionSize(8);
    rowsHeader->setSectionResizeMode(QHeaderView::Fixed);
    rowsHeader->setSectionsClickable(false);
    rowsHeader->setHighlightSections(false);
    rowsHeader->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    rowsHeader->setTextElideMode(Qt::ElideNone);
    rowsHeader->setFixedWidth(fixedColumnWidth_);

    QItemSelectionModel* selection = view_->selectionModel();
    connect(selection, &QItemSelectionModel::selectionChanged, this,
            [this] { ForgetProgramSelection(); });
    connect(selection, &QItemSelectionModel::currentChanged, this,
            [this] { ForgetProgramSelection(); });
}

StringGrid::~StringGrid() = default;

int StringGrid::RowCount() const {
    return model_->Rows();
}

int StringGrid::ColumnCount() const {
    return model_->Columns();
}

void StringGrid::SetRowCount(int rows) {
    if (rows != model_->Rows()) {
        model_->SetRows(rows);
        programSelection_.reset();
    }
}

void StringGrid::SetColumnCount(int columns) {
    if (columns != model_->Columns()) {
        model_->SetColumns(columns);
        programSelection_.reset();
    }
}

void StringGrid::SetColumnWidth(int column, int pixels) {
    if (column < 0 || column >= ColumnCount()) {
        return;
    }
    pixels = std::max(pixels, 0);
    if (column == 0) {
        fixedColumnWidth_ = pixels;
        view_->verticalHeader()->setFixedWidth(pixels);
    } else {
        view_->setColumnWidth(column - 1, pixels);
    }
}

int StringGrid::ColumnWidth(int column) const {
    if (column == 0) {
        return fixedColumnWidth_;
    }
    if (column < 0 || column >= ColumnCount()) {
        return 0;
    }
    return view_->columnWidth(column - 1);
}

QString StringGrid::Cell(int column, int row) const {
    return model_->Text(column, row);
}

void StringGrid::SetCell(int column, int row, const QString& text) {
    model_->SetText(column, row, text);
}

void StringGrid::ClearCells() {
    model_->ClearTexts();
}

void StringGrid::SetCellSource(int rows, CellSource source) {
    model_->SetSource(rows, std::move(source));
    programSelection_.reset();
}

bool StringGrid::HasCellSource() const {
    return model_->HasSource();
}

void StringGrid::BeginUpdate() {
    model_->BeginBatch();
}

void StringGrid::EndUpdate() {
    model_->EndBatch();
}

GridSelection StringGrid::Selection() const {
    if (programSelection_) {
        return *programSelection_;
    }
    const QItemSelectionModel* selectionModel = view_->selectionModel();
    const QItemSelection selected = selectionModel->selection();
    if (!selected.isEmpty()) {
        // The view keeps one contiguous range; its bounding box is the grid's selection.
        GridSelection box{selected.front().left(), selected.front().top(), selected.front().right(),
                          selected.front().bottom()};
        for (const QItemSelectionRange& range : selected) {
            box.left = std::min(box.left, range.left());
            box.top = std::min(box.top, range.top());
            box.right = std::max(box.right, range.right());
            box.bottom = std::max(box.bottom, range.bottom());
        }
        return {box.left + 1, box.top + 1, box.right + 1, box.bottom + 1};
    }
    const QModelIndex current = selectionModel->currentIndex();
    if (current.isValid()) {
        return {current.column() + 1, current.row() + 1, current.column() + 1, current.row() + 1};
    }
    return {1, 1, 1, 1};
}

void StringGrid::SetSelection(const GridSelection& selection) {
    applyingSelection_ = true;
    QItemSelectionModel* selectionModel = view_->selectionModel();
    // The view shows the part of the range that covers ordinary cells.
    const int left = std::max(std::min(selection.left, selection.right), 1) - 1;
    const int top = std::max(std::min(selection.top, selection.bottom), 1) - 1;
    const int right = std::min(std::max(selection.left, selection.right), ColumnCount() - 1) - 1;
    const int bottom = std::min(std::max(selection.top, selection.bottom), RowCount() - 1) - 1;
    if (left <= right && top <= bottom) {
        const QModelIndex topLeft = model_->index(top, left);
        selectionModel->setCurrentIndex(topLeft, QItemSelectionModel::NoUpdate);
        selectionModel->select(QItemSelection(topLeft, model_->index(bottom, right)),
                               QItemSelectionModel::ClearAndSelect);
    } else {
        selectionModel->clearSelection();
    }
    applyingSelection_ = false;
    programSelection_ = selection;
}

bool StringGrid::HasFocus() const {
    return view_->hasFocus();
}

QTableView* StringGrid::View() const {
    return view_;
}

void StringGrid::keyPressEvent(QKeyEvent* event) {
    if (event == keyInView_) {
        // The view has handled this key already and passed it on.
        keyInView_ = nullptr;
        QWidget::keyPressEvent(event);
        return;
    }
    view_->HandleKey(event);
    keyInView_ = nullptr;
}

void StringGrid::ForgetProgramSelection() {
    if (!applyingSelection_) {
        programSelection_.reset();
    }
}

#include "StringGrid.moc"
