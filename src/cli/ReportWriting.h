#pragma once

#include <functional>
#include <ostream>
#include <string_view>

#include "ImportOptions.h"
#include "core/export/ReportFile.h"

namespace travik::cli {

// Writes the report of one record line by line into the sink; returns false when the
// record gets no report after all (nothing of it is then left on disk).
using RecordReportWriter = std::function<bool(const ReportLineSink&, const TimeHistory&)>;

// Writes one report per imported record into the output folder, streaming each to its
// file as it is formatted, and prints each written path on `out`. The first report that
// cannot be written ends the run (its error goes to `err`). Returns the command's exit
// code: failure also when the import stopped at a bad file, a baseline correction failed
// or a record got no report, after the reports of the good records.
int WriteRecordReports(const ImportOutcome& outcome, const ImportOptions& options,
                       std::string_view suffix, const RecordReportWriter& writeReport,
                       std::ostream& out, std::ostream& err);

}  // namespace travik::cli
