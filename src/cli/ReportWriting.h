#pragma once

#include <functional>
#include <ostream>
#include <string_view>

#include "ImportOptions.h"
#include "export/ReportHeader.h"

namespace travik::cli {

// Builds and writes one report per imported record into the output folder, printing each
// written path on `out`. The first report that cannot be written ends the run (its error
// goes to `err`). Returns the command's exit code: failure also when the import stopped at
// a bad file or a baseline correction failed, after the reports of the good records.
int WriteRecordReports(const ImportOutcome& outcome, const ImportOptions& options,
                       std::string_view suffix,
                       const std::function<void(ReportLines&, const TimeHistory&)>& buildReport,
                       std::ostream& out, std::ostream& err);

}  // namespace travik::cli
