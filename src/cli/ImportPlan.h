#pragma once

#include <optional>

#include "analysis/AnalysisSettings.h"
#include "records/FilterSettings.h"
#include "records/RecordFileReader.h"
#include "records/TimeHistory.h"

namespace travik::cli {

// The import options checked and converted: how every file of one import is read and
// prepared.
struct ImportPlan {
    RecordReadOptions read;
    double gravity = AnalysisSettings{}.g;  // cm/sec^2
    BaselineCorrectionType baseline = BaselineCorrectionType::None;
    std::optional<FilterSettings> filter;
};

}  // namespace travik::cli
