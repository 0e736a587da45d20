#include "export/ExportMessages.h"

#include "text/NumberFormat.h"

namespace travik {

std::string TimeHistoryExportLimitMessage(int limit) {
    return "INFORMATION: Maximum Export Number ( " + FormatInteger(limit) + " ) was exceeded !";
}

std::string SpectraExportLimitMessage(int limit) {
    return "INFORMATION: Maximum Export Number ( " + FormatInteger(limit) + " ) was exceeded!";
}

}  // namespace travik
