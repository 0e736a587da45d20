#include "ui/presentation/SpectrumTables.h"

#include <array>
#include <cmath>

#include "core/text/NumberFormat.h"
#include "ui/presentation/ColumnWidths.h"

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
    WidenColumnsToText(grid);
}

void FillSuiteStatisticsTable(StringGrid& grid, const travik::SuiteSpectraStatistics& statistics,
                              travik::SpectrumKind kind, char decimalSeparator) {
    // Column-group prefixes in SpectrumKind order, as in the statistics report.
    static constexpr std::array<const char*, travik::kSpectrumKindCount> kPrefixes = {
        "Disp.", "Vel.", "Acc.", "Pseudo-Vel.", "Pseudo-Acc."};
    static constexpr std::array<const char*, 9> kNames = {
        "Mean",    "Median",   "StdDev",           "Mean+StdDev",     "Mean-StdDev",
        "LogMean", "StdDevLn", "LogMean+StdDevLn", "LogMean-StdDevLn"};
    const auto k = static_cast<std::size_t>(kind);
    const travik::SuiteStatistics& s = statistics.kinds[k];
    if (s.recordCount == 0) {
        grid.ClearCells();
        return;
    }
    const std::array<const std::vector<double>*, 9> columns = {
        &s.mean,          &s.median,           &s.sigma,
        &s.meanPlusSigma, &s.meanMinusSigma,   &s.logMean,
        &s.sigmaLn,       &s.logMeanPlusSigma, &s.logMeanMinusSigma};
    const int periodCount = static_cast<int>(s.periods.size());
    grid.BeginUpdate();
    grid.ClearCells();
    grid.SetRowCount(periodCount + 1);
    grid.SetColumnCount(static_cast<int>(columns.size()) + 1);
    grid.SetColumnWidth(0, kTableColumnWidth);
    grid.SetCell(0, 0, QStringLiteral("Period[sec]"));
    const QString damping =
        QStringLiteral("%1Damp.=%2% ")
            .arg(QLatin1String(kPrefixes[k]),
                 QString::fromStdString(travik::FormatNumber(statistics.dampingRatio * 100.0,
                                                             "0.###", decimalSeparator)));
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const int column = static_cast<int>(c) + 1;
        grid.SetColumnWidth(column, kTableColumnWidth);
        grid.SetCell(column, 0, damping + QLatin1String(kNames[c]));
    }
    for (int i = 0; i < periodCount; ++i) {
        const auto row = static_cast<std::size_t>(i);
        grid.SetCell(0, i + 1, SixDecimals(s.periods[row], decimalSeparator));
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const std::vector<double>& values = *columns[c];
            const bool defined = row < values.size() && std::isfinite(values[row]);
            grid.SetCell(static_cast<int>(c) + 1, i + 1,
                         defined ? SixDecimals(values[row], decimalSeparator) : QString());
        }
    }
    grid.EndUpdate();
    // Headings are long ("Pseudo-Acc.Damp.=5% LogMean+StdDevLn"): each column as wide as
    // its widest text.
    WidenColumnsToText(grid);
}
