#include "core/export/ExportMessages.h"

#include "core/text/NumberFormat.h"

namespace travik {

std::string TimeHistoryExportLimitMessage(int limit) {
    return "INFORMATION: Maximum Export Number ( " + FormatInteger(limit) + " ) was exceeded !";
}

std::string SpectraExportLimitMessage(int limit) {
    return "INFORMATION: Maximum Export Number ( " + FormatInteger(limit) + " ) was exceeded!";
}

}  // namespace travik
