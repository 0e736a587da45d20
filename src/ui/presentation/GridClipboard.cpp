#include "presentation/GridClipboard.h"

QString GridSelectionText(const StringGrid& grid) {
    const GridSelection selection = grid.Selection();
    QString text;
    for (int row = selection.top; row <= selection.bottom; ++row) {
        for (int column = selection.left; column < selection.right; ++column) {
            text += grid.Cell(column, row);
            text += QLatin1Char('\t');
        }
        text += grid.Cell(selection.right, row);
        text += QLatin1Char('\n');
    }
    return text;
}

void CopyGridSelection(const StringGrid& grid, PlatformServices& platform) {
    platform.SetClipboardText(GridSelectionText(grid));
}

void SelectWholeGrid(StringGrid& grid) {
    grid.SetSelection({0, 0, grid.ColumnCount() - 1, grid.RowCount() - 1});
}
