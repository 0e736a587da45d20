#include "ui/presentation/ColumnWidths.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QTableView>
#include <algorithm>

namespace {

// Room around a cell's text, pixels: the cell's margins and the grid line.
constexpr int kCellPadding = 16;

}  // namespace

void WidenColumnsToText(StringGrid& grid) {
    if (grid.HasCellSource()) {
        return;
    }
    // The fixed row and column are drawn by the view's headers in their own fonts.
    const QFontMetrics cells = grid.View()->fontMetrics();
    const QFontMetrics headings = grid.View()->horizontalHeader()->fontMetrics();
    const QFontMetrics rowHeadings = grid.View()->verticalHeader()->fontMetrics();
    for (int column = 0; column < grid.ColumnCount(); ++column) {
        int widest = 0;
        for (int row = 0; row < grid.RowCount(); ++row) {
            const QFontMetrics& metrics = row == 0 ? headings : column == 0 ? rowHeadings : cells;
            widest = std::max(widest, metrics.horizontalAdvance(grid.Cell(column, row)));
        }
        if (widest + kCellPadding > grid.ColumnWidth(column)) {
            grid.SetColumnWidth(column, widest + kCellPadding);
        }
    }
}
