#include "core/export/ScaledRecords.h"

#include <cstddef>
#include <string>

#include "core/export/At2Writer.h"
#include "core/export/ReportFile.h"
#include "core/export/ReportHeader.h"

namespace travik {

std::vector<std::filesystem::path> WriteScaledRecords(
    const std::vector<const TimeHistory*>& records, const SuiteScaling& scaling,
    const std::filesystem::path& folder, const std::function<void(int, int)>& progress,
    const std::atomic<bool>* cancel) {
    std::vector<std::filesystem::path> written;
    ReportPathPlanner planner;
    const int count = static_cast<int>(records.size());
    for (std::size_t i = 0; i < records.size() && i < scaling.scaled.size(); ++i) {
        if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) {
            break;
        }
        const ScaledMember& scaled = scaling.scaled[i];
        if (scaled.selected) {
            const TimeHistory& record = *records[i];
            At2Record at2{record.SourceFileName(), {}, scaled.totalFactor, record.TimeStep(), {}};
            for (const double a : record.Acceleration(record.IsCorrected())) {
                at2.acceleration.push_back(a * scaled.totalFactor);
            }
            // "<stem>_x1.2345.AT2": the name planner adds the suffix after the stem.
            const std::string name = At2FileName("", scaled.totalFactor);
            const std::filesystem::path path = planner.Next(folder, record.SourceFileName(), name);
            ReportFile file(path);
            WriteAt2(file.Sink(), at2);
            file.Commit();
            written.push_back(path);
        }
        if (progress) {
            progress(static_cast<int>(i) + 1, count);
        }
    }
    return written;
}

}  // namespace travik
