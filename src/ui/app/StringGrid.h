#pragma once

#include <QString>
#include <QWidget>
#include <vector>

// A rectangular cell range, column and row indexes from 0, both ends inclusive.
struct GridSelection {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// A read-only string grid: row 0 and column 0 are the fixed header row and column, which
// stay in view while scrolling and take part in selection and copying. Cells are addressed
// (column, row). Word wrap is off.
class StringGrid : public QWidget {
    Q_OBJECT
public:
    explicit StringGrid(int columnCount, int rowCount, QWidget* parent = nullptr);

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

    GridSelection Selection() const;
    // Fixed cells may be included; nothing is clamped beyond the grid's size.
    void SetSelection(const GridSelection& selection);

    bool HasFocus() const;

signals:
    // Raised before the grid's own key handling; the key is never consumed.
    void KeyDown(int key, Qt::KeyboardModifiers modifiers);
};
