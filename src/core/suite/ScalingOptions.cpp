#include "core/suite/ScalingOptions.h"

#include <charconv>
#include <cmath>

#include "core/text/NumberFormat.h"

namespace travik {
namespace {

// Ten significant digits: analysis periods built by adding a step again and again carry
// rounding in their last digits (5.99999999999996 for 6), which a message should not show.
std::string Seconds(double t) {
    if (!std::isfinite(t)) {
        return FormatGeneral(t) + " s";
    }
    char text[32];
    const std::to_chars_result end =
        std::to_chars(text, text + sizeof text, t, std::chars_format::general, 10);
    return std::string(text, end.ptr) + " s";
}

// The smallest analysis period above zero; the period 0 holds the peak ground acceleration
// and is no period a range or a log-log interpolation can start from.
double SmallestPositive(const std::vector<double>& periods) {
    for (const double t : periods) {
        if (t > 0) {
            return t;
        }
    }
    return NAN;
}

std::string CheckFactors(const ScalingOptions& o) {
    if (o.minFactor && !(std::isfinite(*o.minFactor) && *o.minFactor > 0)) {
        return "The factor limits need fmin > 0, not " + FormatGeneral(*o.minFactor);
    }
    if (o.maxFactor && !(std::isfinite(*o.maxFactor) && *o.maxFactor > 0)) {
        return "The factor limits need fmax > 0, not " + FormatGeneral(*o.maxFactor);
    }
    if (o.minFactor && o.maxFactor && *o.minFactor > *o.maxFactor) {
        return "The factor limits need fmin <= fmax: " + FormatGeneral(*o.minFactor) + " > " +
               FormatGeneral(*o.maxFactor);
    }
    return {};
}

}  // namespace

bool WithinRange(double period, double minPeriod, double maxPeriod) {
    return period >= minPeriod * (1 - kPeriodTolerance) &&
           period <= maxPeriod * (1 + kPeriodTolerance);
}

double MeasurePercentile(ScalingMeasure measure) {
    switch (measure) {
        case ScalingMeasure::RotD50:
            return 50.0;
        case ScalingMeasure::RotD100:
            return 100.0;
        case ScalingMeasure::Psa:
            break;
    }
    return NAN;
}

int MinimumMotions(SuiteRule rule) {
    switch (rule) {
        case SuiteRule::Asce7:
            return 11;
        case SuiteRule::Ec8:
            return 3;
        case SuiteRule::None:
            break;
    }
    return 0;
}

std::string ScalingOptions::Check(const std::vector<double>& periods, int recordCount) const {
    const double smallest = SmallestPositive(periods);
    if (std::isnan(smallest)) {
        return "No analysis period above zero to scale at";
    }
    const double largest = periods.back();
    if (!std::isfinite(minPeriod) || !std::isfinite(maxPeriod) || !(minPeriod < maxPeriod)) {
        return "The period range needs Tmin < Tmax: " + Seconds(minPeriod) + " is not below " +
               Seconds(maxPeriod);
    }
    if (minPeriod < smallest * (1 - kPeriodTolerance)) {
        return "Tmin " + Seconds(minPeriod) + " lies below the smallest analysis period " +
               Seconds(smallest);
    }
    if (maxPeriod > largest * (1 + kPeriodTolerance)) {
        return "Tmax " + Seconds(maxPeriod) + " lies above the largest analysis period " +
               Seconds(largest);
    }
    if (std::string problem = CheckFactors(*this); !problem.empty()) {
        return problem;
    }
    if (atPeriod && !WithinRange(*atPeriod, smallest, largest)) {
        return "The scaling period " + Seconds(*atPeriod) + " lies outside the analysis periods " +
               Seconds(smallest) + " to " + Seconds(largest);
    }
    if (selectCount < 0 || selectCount > recordCount) {
        return "Cannot select " + FormatInteger(selectCount) + " records out of " +
               FormatInteger(recordCount) + " given";
    }
    if (maxPerStation < 0) {
        return "The records per station must be at least 1, not " + FormatInteger(maxPerStation);
    }
    return {};
}

}  // namespace travik
