#include "core/export/ScaledRecords.h"

#include <algorithm>
#include <string>

#include "core/export/At2Writer.h"
#include "core/export/ReportFile.h"
#include "core/export/ReportHeader.h"

namespace travik {
namespace {

std::filesystem::path WriteComponent(const TimeHistory& record, const ScaledMotion& motion,
                                     double factor, const std::filesystem::path& folder,
                                     ReportPathPlanner& planner) {
    const DOUBLEVECTOR& source = record.Acceleration(motion.corrected);
    const std::size_t n = std::min(motion.samples, source.size());
    At2Record at2{record.SourceFileName(), {}, factor, record.TimeStep(), {}};
    at2.acceleration.reserve(n);
    for (std::size_t k = 0; k < n; ++k) {
        at2.acceleration.push_back(source[k] * factor);
    }
    // "<stem>_x1.2345.AT2": the name planner adds the suffix after the stem.
    const std::filesystem::path path =
        planner.Next(folder, record.SourceFileName(), At2FileName("", factor));
    ReportFile file(path);
    WriteAt2(file.Sink(), at2);
    file.Commit();
    return path;
}

}  // namespace

ScaledMotion MotionOfRecord(const TimeHistory& record) {
    return {{&record},
            record.IsCorrected(),
            static_cast<std::size_t>(std::max(record.SampleCount(), 0))};
}

ScaledMotion MotionOfPair(const TimeHistory& h1, const TimeHistory& h2) {
    const int shorter = std::min(h1.SampleCount(), h2.SampleCount());
    return {{&h1, &h2},
            h1.IsCorrected() && h2.IsCorrected(),
            static_cast<std::size_t>(std::max(shorter, 0))};
}

std::vector<std::filesystem::path> WriteScaledMotions(const std::vector<ScaledMotion>& motions,
                                                      const SuiteScaling& scaling,
                                                      const std::filesystem::path& folder,
                                                      const std::function<void(int, int)>& progress,
                                                      const std::atomic<bool>* cancel) {
    std::vector<std::filesystem::path> written;
    ReportPathPlanner planner;
    const int count = static_cast<int>(motions.size());
    for (std::size_t i = 0; i < motions.size() && i < scaling.scaled.size(); ++i) {
        if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) {
            break;
        }
        const ScaledMember& scaled = scaling.scaled[i];
        const ScaledMotion& motion = motions[i];
        if (scaled.selected) {
            for (const TimeHistory* record : motion.components) {
                written.push_back(
                    WriteComponent(*record, motion, scaled.totalFactor, folder, planner));
            }
        }
        if (progress) {
            progress(static_cast<int>(i) + 1, count);
        }
    }
    return written;
}

std::vector<std::filesystem::path> WriteScaledRecords(
    const std::vector<const TimeHistory*>& records, const SuiteScaling& scaling,
    const std::filesystem::path& folder, const std::function<void(int, int)>& progress,
    const std::atomic<bool>* cancel) {
    std::vector<ScaledMotion> motions;
    motions.reserve(records.size());
    for (const TimeHistory* record : records) {
        motions.push_back(MotionOfRecord(*record));
    }
    return WriteScaledMotions(motions, scaling, folder, progress, cancel);
}

}  // namespace travik
