#pragma once

#include <string>

namespace travik {

inline constexpr const char* kNothingCheckedMessage = "Check the Time History Record first!";
inline constexpr const char* kExportDoneMessage = "Done!";

// Refusal when more records are checked than one export may write. The time-history
// export writes a blank before the exclamation mark, the spectra export does not.
std::string TimeHistoryExportLimitMessage(int limit);
std::string SpectraExportLimitMessage(int limit);

}  // namespace travik
