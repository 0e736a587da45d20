#pragma once

#include <QColor>
#include <QString>
#include <array>
#include <cstddef>
#include <vector>

#include "core/records/ColumnThinning.h"
#include "core/records/TimeHistory.h"
#include "ui/figures/ChartFigure.h"

namespace travik::figures {

// The records page's colours: the record as read in pink, its corrected version in grey,
// and the marks of the first sample, the maximum and the minimum in red, green and yellow.
inline const QColor kRawRecordColor(255, 128, 255);
inline const QColor kCorrectedRecordColor(128, 128, 128);
inline const QColor kFirstMarkColor(255, 0, 0);
inline const QColor kMaximumMarkColor(0, 255, 0);
inline const QColor kMinimumMarkColor(255, 255, 0);
inline constexpr qreal kRecordMarkSize = 9.0;  // logical pixels

// The three time-history charts of a record: acceleration (g), velocity (cm/sec) and
// displacement (cm) against time (s), as the records page shows them and as its saved
// image and the command line's record plot draw them. Each chart holds, in drawing order,
// the raw line, the corrected line when the record is corrected, then three marks: the
// first sample, the maximum and the minimum of the series drawn in front (the corrected
// one once the record is corrected, and the legend then says "of corrected"), each at the
// time of the first sample holding that value. Lines are thinned to what `columns` pixel columns
// can show (ThinToColumns).
std::array<ChartFigure, 3> TimeHistoryCharts(const TimeHistory& record,
                                             std::size_t columns = kDefaultFigureColumns);

// The marks of a time-history chart: its curves drawn as round marks, in order.
std::vector<const Curve*> RecordMarks(const ChartFigure& chart);

}  // namespace travik::figures
