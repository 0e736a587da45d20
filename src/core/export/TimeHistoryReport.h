#pragma once

#include <string_view>

#include "core/export/ReportHeader.h"

namespace travik {

// Empties `lines` and fills them with the time-history report of the record: header,
// column line, one line per sample (raw and corrected sets; "--" when not corrected).
// Numbers always use the full stop, whatever the locale: the file is comma-separated.
void BuildTimeHistoryReport(ReportLines& lines, const TimeHistory& record, std::string_view edition,
                            const ReportDate& date);

// The same lines, handed to `sink` one by one as they are formatted.
void WriteTimeHistoryReport(const ReportLineSink& sink, const TimeHistory& record,
                            std::string_view edition, const ReportDate& date);

}  // namespace travik
