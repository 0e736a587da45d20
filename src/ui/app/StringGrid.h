#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

class QTableView;
class QKeyEvent;

namespace string_grid_detail {
class GridModel;
class GridView;
}  // namespace string_grid_detail

// A rectangular cell range, column and row indexes from 0, both ends inclusive.
struct GridSelection {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    friend bool operator==(const GridSelection&, const GridSelection&) = default;
};

// A read-only string grid: row 0 and column 0 are the fixed header row and column, which
// stay in view while scrolling and take part in selection and copying. Cells are addressed
// (column, row). Word wrap is off.
//
// The fixed row is shown as the view's column header and the fixed column as its row header,
// cell (0, 0) in the corner; the user resizes columns by dragging the header's dividers and
// selects ranges of the other cells with the mouse or Shift and the arrow keys.
class StringGrid : public QWidget {
    Q_OBJECT
  public:
    explicit StringGrid(int columnCount, int rowCount, QWidget* parent = nullptr);
    ~StringGrid() override;

    int RowCount() const;
    int ColumnCount() const;
    void SetRowCount(int rows);
    void SetColumnCount(int columns);
    void SetColumnWidth(int column, int pixels);
    int ColumnWidth(int column) const;

    QString Cell(int column, int row) const;
    void SetCell(int column, int row, const QString& text);
    // Empties every cell text, sizes kept.
    void ClearCells();

    // The texts of the cells below the fixed row, made when the view or a copy asks for
    // them, so that a grid over a million samples costs what the screen shows. The grid
    // then has `rows` rows (the fixed one included) and stores only the fixed row; SetCell
    // below it does nothing. A null source returns to stored, empty cells.
    using CellSource = std::function<QString(int column, int row)>;
    void SetCellSource(int rows, CellSource source);
    bool HasCellSource() const;

    // Between these two calls cell and size changes are not shown one by one; the view is
    // refreshed once at the end. Use them around filling a long table.
    void BeginUpdate();
    void EndUpdate();

    GridSelection Selection() const;
    // Fixed cells may be included; nothing is clamped beyond the grid's size.
    void SetSelection(const GridSelection& selection);

    bool HasFocus() const;

    // The scrolling view that shows the cells (for layout, mouse tests and screenshots).
    QTableView* View() const;

  signals:
    // Raised before the grid's own key handling; the key is never consumed.
    void KeyDown(int key, Qt::KeyboardModifiers modifiers);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    friend class string_grid_detail::GridView;
    void ForgetProgramSelection();

    string_grid_detail::GridModel* model_;
    string_grid_detail::GridView* view_;
    // A selection set by the program that covers fixed cells; it stands until the user
    // changes the selection of the ordinary cells.
    std::optional<GridSelection> programSelection_;
    bool applyingSelection_ = false;
    int fixedColumnWidth_ = 64;
    const QKeyEvent* keyInView_ = nullptr;  // the key event the view is handling
};
