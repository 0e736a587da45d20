#include "ui/presentation/GridClipboard.h"

std::optional<QString> SelectionText(const GridSelection& selection, const CellText& cell,
                                     const std::function<bool(int rowsDone)>& keepGoing) {
    QString text;
    for (int row = selection.top; row <= selection.bottom; ++row) {
        for (int column = selection.left; column < selection.right; ++column) {
            text += cell(column, row);
            text += QLatin1Char('\t');
        }
        text += cell(selection.right, row);
        text += QLatin1Char('\n');
        if (!keepGoing(row - selection.top + 1)) {
            return std::nullopt;
        }
    }
    return text;
}

QString GridSelectionText(const StringGrid& grid) {
    return *SelectionText(
        grid.Selection(), [&grid](int column, int row) { return grid.Cell(column, row); },
        [](int) { return true; });
}

void CopyGridSelection(const StringGrid& grid, PlatformServices& platform) {
    platform.SetClipboardText(GridSelectionText(grid));
}

void SelectWholeGrid(StringGrid& grid) {
    grid.SetSelection({0, 0, grid.ColumnCount() - 1, grid.RowCount() - 1});
}
