#include "core/suite/SuiteMembers.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

namespace travik {

std::vector<SuiteMember> SuiteMembersOf(const std::vector<const TimeHistory*>& records,
                                        const SuiteSpectra& suite) {
    const auto psa = static_cast<std::size_t>(SpectrumKind::PseudoAcceleration);
    std::vector<SuiteMember> members;
    if (suite.curves[psa].size() != records.size()) {
        return members;
    }
    for (std::size_t i = 0; i < records.size(); ++i) {
        const TimeHistory& record = *records[i];
        SuiteMember member;
        member.name = record.SourceFileName();
        member.station = record.SourceFileName();
        // The PGA of the series the spectra are computed from (corrected or filtered).
        for (const double a : record.Acceleration(record.IsCorrected())) {
            member.pga = std::max(member.pga, std::fabs(a));
        }
        member.sa = suite.curves[psa][i];
        members.push_back(std::move(member));
    }
    return members;
}

}  // namespace travik
