#pragma once

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <vector>

#include "core/records/TimeHistory.h"
#include "core/suite/SuiteScaling.h"

namespace travik {

// A suite member's components as its spectra were computed from them: one record as read,
// or the two components of a pair, cut to the shorter and corrected only when both are (as
// the pair is rotated).
struct ScaledMotion {
    std::vector<const TimeHistory*> components;
    bool corrected = false;
    std::size_t samples = 0;  // of each component
};

ScaledMotion MotionOfRecord(const TimeHistory& record);
ScaledMotion MotionOfPair(const TimeHistory& h1, const TimeHistory& h2);

// Writes every component of each selected motion of `scaling` (its members in the order of
// `motions`), its acceleration times the motion's total factor, as "<stem>_x<factor>.AT2"
// into `folder`. Every file is whole or absent: a write failure raises ReportWriteError, the
// files before it stay. `progress` hears the count of motions done and the count of them; a
// set `*cancel` stops before the next motion. Returns the files written, in the order of the
// motions and their components.
std::vector<std::filesystem::path> WriteScaledMotions(
    const std::vector<ScaledMotion>& motions, const SuiteScaling& scaling,
    const std::filesystem::path& folder, const std::function<void(int, int)>& progress = {},
    const std::atomic<bool>* cancel = nullptr);

// The same for a suite of single records.
std::vector<std::filesystem::path> WriteScaledRecords(
    const std::vector<const TimeHistory*>& records, const SuiteScaling& scaling,
    const std::filesystem::path& folder, const std::function<void(int, int)>& progress = {},
    const std::atomic<bool>* cancel = nullptr);

}  // namespace travik
