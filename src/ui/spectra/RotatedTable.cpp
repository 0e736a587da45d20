#include "ui/spectra/RotatedTable.h"

#include "core/export/RotDReport.h"

namespace {

constexpr int kColumnWidth = 96;

}  // namespace

void FillRotatedTable(StringGrid& grid, const RotatedMotion* motion, char decimalSeparator) {
    if (motion == nullptr || !motion->result) {
        grid.ClearCells();
        return;
    }
    const travik::RotDTable table =
        travik::BuildRotDTable(motion->pair, *motion->result, decimalSeparator);
    const int columns = static_cast<int>(table.titles.size());
    const int rows = static_cast<int>(table.rows.size());
    grid.BeginUpdate();
    grid.ClearCells();
    grid.SetRowCount(rows + 1);
    grid.SetColumnCount(columns);
    for (int c = 0; c < columns; ++c) {
        const auto column = static_cast<std::size_t>(c);
        grid.SetColumnWidth(c, kColumnWidth);
        grid.SetCell(c, 0, QString::fromStdString(table.titles[column]));
        for (int r = 0; r < rows; ++r) {
            const std::vector<std::string>& cells = table.rows[static_cast<std::size_t>(r)];
            grid.SetCell(c, r + 1,
                         column < cells.size() ? QString::fromStdString(cells[column]) : QString());
        }
    }
    grid.EndUpdate();
}
