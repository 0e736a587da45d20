#include "core/analysis/PeriodList.h"

#include <cmath>

namespace travik {

std::vector<double> BuildPeriodList(double minPeriod, double maxPeriod, double periodStep) {
    std::vector<double> periods{0.0};
    // Repeated addition, not minPeriod + i * step: the list carries the accumulated
    // rounding (the default list ends at 5.99999999999996, not 6).
    for (double t = minPeriod; t < maxPeriod;) {
        periods.push_back(t);
        const double next = t + periodStep;
        // A step too small to move t (or not positive) would never reach the end.
        if (!(next > t)) {
            break;
        }
        t = next;
    }
    // The range's end is added unless the last period already lies within 10 % of it.
    const double last = periods.back();
    if (std::fabs(last - maxPeriod) / std::fabs(maxPeriod) > 0.1) {
        periods.push_back(maxPeriod);
    }
    return periods;
}

}  // namespace travik
