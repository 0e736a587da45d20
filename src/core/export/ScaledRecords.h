#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <vector>

#include "core/records/TimeHistory.h"
#include "core/suite/SuiteScaling.h"

namespace travik {

// Writes each selected motion of `scaling` (its members in the order of `records`), its
// acceleration times its total factor, as "<stem>_x<factor>.AT2" into `folder`. Every file
// is whole or absent: a write failure raises ReportWriteError, the files before it stay.
// `progress` hears the count of motions done and the count of them; a set `*cancel` stops
// before the next file. Returns the files written, in the order of the motions.
std::vector<std::filesystem::path> WriteScaledRecords(
    const std::vector<const TimeHistory*>& records, const SuiteScaling& scaling,
    const std::filesystem::path& folder, const std::function<void(int, int)>& progress = {},
    const std::atomic<bool>* cancel = nullptr);

}  // namespace travik
