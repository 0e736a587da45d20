#include "presentation/SpectrumTables.h"

#include "text/NumberFormat.h"

namespace {

constexpr int kTableColumnWidth = 80;

QString SixDecimals(double value, char decimalSeparator) {
    return QString::fromStdString(travik::FormatNumber(value, "0.000000", decimalSeparator));
}

}  // namespace

QString SpectrumTableHeading(double dampingRatio, char decimalSeparator) {
    return QStringLiteral("Damp.=%1%")
        .arg(QString::fromStdString(
            travik::FormatNumber(dampingRatio * 100.0, "0.###", decimalSeparator)));
}

void ClearSpectrumTable(StringGrid& grid) {
    grid.ClearCells();
}

void FillSpectrumTable(StringGrid& grid, const travik::SpectraResult& result,
                       travik::SpectrumKind kind, char decimalSeparator, bool subStepColumn) {
    const int first = subStepColumn ? 2 : 1;  // the first damping column
    const std::vector<travik::DOUBLEVECTOR>& columns = result.Columns(kind);
    const std::vector<double>& periods = result.periods;
    const int dampingCount = static_cast<int>(result.dampingRatios.size());
    const int periodCount = static_cast<int>(periods.size());

    grid.BeginUpdate();
    grid.SetRowCount(periodCount + 1);
    grid.SetColumnCount(dampingCount + first);
    for (int column = 0; column < grid.ColumnCount(); ++column) {
        grid.SetColumnWidth(column, kTableColumnWidth);
    }
    grid.SetCell(0, 0, QStringLiteral("Period[sec]"));
    if (subStepColumn) {
        grid.SetCell(1, 0, QStringLiteral("n"));
    }
    for (int j = 0; j < dampingCount; ++j) {
        grid.SetCell(j + first, 0,
                     SpectrumTableHeading(result.dampingRatios[static_cast<std::size_t>(j)],
                                          decimalSeparator));
    }
    // A damping ratio is shown whole or not at all: one whose runs did not all succeed
    // keeps its cells empty.
    std::vector<bool> shown;
    for (int j = 0; j < dampingCount; ++j) {
        const auto column = static_cast<std::size_t>(j);
        shown.push_back(column < columns.size() && result.DampingComputed(column));
    }
    for (int i = 0; i < periodCount; ++i) {
        const auto row = static_cast<std::size_t>(i);
        grid.SetCell(0, i + 1, SixDecimals(periods[row], decimalSeparator));
        if (subStepColumn) {
            const bool integrated = row < result.accuracy.size() && periods[row] > 0;
            grid.SetCell(1, i + 1,
                         integrated ? QString::number(result.accuracy[row].subSteps) : QString());
        }
        for (int j = 0; j < dampingCount; ++j) {
            const auto column = static_cast<std::size_t>(j);
            const bool present = shown[column] && row < columns[column].size();
            grid.SetCell(j + first, i + 1,
                         present ? SixDecimals(columns[column][row], decimalSeparator) : QString());
        }
    }
    grid.EndUpdate();
}
