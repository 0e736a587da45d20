#include "core/suite/PairMembers.h"

#include <cstddef>
#include <optional>
#include <utility>

#include "core/rotation/RotatedSpectra.h"

namespace travik {
namespace {

// The member of one pair, or nothing when an oscillator could not be computed.
std::optional<SuiteMember> MemberOf(const ComponentPair& pair, const RotatedSpectraResult& result,
                                    const std::vector<double>& periods) {
    SuiteMember member;
    member.name = pair.h1->SourceFileName();
    member.station = pair.h1->SourceFileName();
    // Only the measure's percentile is asked for, so it is the first of each list.
    member.pga = result.pga.percentiles.front();
    const std::vector<RotatedSpectrumPoint>& points = result.damping.front().points;
    std::size_t next = 0;
    for (const double t : periods) {
        if (!(t > 0)) {
            member.sa.push_back(member.pga);
            continue;
        }
        if (next >= points.size() || !points[next].computed) {
            return std::nullopt;
        }
        member.sa.push_back(points[next++].psa.percentiles.front());
    }
    return member;
}

}  // namespace

PairMembers PairMembersOf(const std::vector<const ComponentPair*>& pairs,
                          const AnalysisSettings& settings, double dampingRatio,
                          const std::vector<double>& periods, ScalingMeasure measure,
                          const SuiteProgress& progress, const std::atomic<bool>* cancel) {
    RotatedSpectraOptions options;
    options.dampingRatios = {dampingRatio};
    for (const double t : periods) {
        if (t > 0) {
            options.periods.push_back(t);
        }
    }
    options.percentiles = {MeasurePercentile(measure)};
    options.threads = 0;

    PairMembers out;
    const int count = static_cast<int>(pairs.size());
    for (int i = 0; i < count; ++i) {
        if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) {
            out.cancelled = true;
            break;
        }
        const ComponentPair& pair = *pairs[static_cast<std::size_t>(i)];
        const std::optional<RotatedSpectraResult> result =
            ComputeRotatedSpectra(settings, *pair.h1, *pair.h2, options);
        std::optional<SuiteMember> member;
        if (result) {
            member = MemberOf(pair, *result, periods);
        }
        if (member) {
            out.members.push_back(std::move(*member));
        } else {
            out.failedPairs.push_back(pair.h1->SourceFileName());
        }
        if (progress) {
            progress(i + 1, count);
        }
    }
    return out;
}

}  // namespace travik
