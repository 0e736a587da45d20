#include "core/suite/ScalingShortfalls.h"

#include <cstddef>

#include "core/export/ScalingReport.h"
#include "core/text/NumberFormat.h"

namespace travik {

std::vector<std::string> ScalingShortfalls(const SuiteScaling& scaling) {
    std::vector<std::string> lines;
    for (const std::string& warning : scaling.warnings) {
        lines.push_back("Warning: " + warning);
    }
    if (!scaling.failingPeriods.empty()) {
        std::string line = "The factor limits keep the suite mean below 90 % of the target at";
        for (std::size_t i = 0; i < scaling.failingPeriods.size(); ++i) {
            line += (i == 0 ? " " : ", ") + FormatGeneral(scaling.failingPeriods[i]);
        }
        lines.push_back(line + " s");
    }
    if (scaling.pgaFails) {
        lines.push_back("The factor limits keep the mean PGA " +
                        FormatSevenDigits(scaling.meanPga) +
                        " g below a_g S = " + FormatSevenDigits(scaling.targetPga) + " g");
    }
    return lines;
}

}  // namespace travik
