#include "core/suite/RecordScaling.h"

#include <algorithm>
#include <cmath>

namespace travik {

RangeWeights WeighRange(const std::vector<double>& periods, double minPeriod, double maxPeriod,
                        ScalingWeights weights) {
    RangeWeights range;
    for (std::size_t k = 0; k < periods.size(); ++k) {
        if (periods[k] > 0 && WithinRange(periods[k], minPeriod, maxPeriod)) {
            range.indices.push_back(k);
        }
    }
    const std::size_t n = range.indices.size();
    range.weights.assign(n, 1.0);
    if (weights == ScalingWeights::Uniform || n < 2) {
        return range;
    }
    const auto lnT = [&](std::size_t i) { return std::log(periods[range.indices[i]]); };
    for (std::size_t i = 0; i < n; ++i) {
        const double below = i > 0 ? 0.5 * (lnT(i) - lnT(i - 1)) : 0.0;
        const double above = i + 1 < n ? 0.5 * (lnT(i + 1) - lnT(i)) : 0.0;
        range.weights[i] = below + above;
    }
    return range;
}

double ClampFactor(double factor, const ScalingOptions& options) {
    if (options.minFactor) {
        factor = std::max(factor, *options.minFactor);
    }
    if (options.maxFactor) {
        factor = std::min(factor, *options.maxFactor);
    }
    return factor;
}

double ScalingError(const std::vector<double>& sa, const std::vector<double>& targetSa,
                    const RangeWeights& range, double factor) {
    const double lnF = std::log(factor);
    double sum = 0.0;
    double weight = 0.0;
    for (std::size_t i = 0; i < range.indices.size(); ++i) {
        const std::size_t k = range.indices[i];
        const double residual = std::log(targetSa[k]) - lnF - std::log(sa[k]);
        sum += range.weights[i] * residual * residual;
        weight += range.weights[i];
    }
    return sum / weight;
}

RecordFit FitRecord(const std::vector<double>& sa, const std::vector<double>& targetSa,
                    const RangeWeights& range, std::optional<double> atFactor,
                    const ScalingOptions& options) {
    double factor = 0.0;
    if (atFactor) {
        factor = *atFactor;
    } else {
        double sum = 0.0;
        double weight = 0.0;
        for (std::size_t i = 0; i < range.indices.size(); ++i) {
            const std::size_t k = range.indices[i];
            sum += range.weights[i] * std::log(targetSa[k] / sa[k]);
            weight += range.weights[i];
        }
        factor = std::exp(sum / weight);
    }
    RecordFit fit;
    fit.factor = ClampFactor(factor, options);
    fit.clamped = fit.factor != factor;
    fit.mse = ScalingError(sa, targetSa, range, fit.factor);
    return fit;
}

double InterpolateLogLog(const std::vector<double>& periods, const std::vector<double>& sa,
                         double period) {
    const auto first = std::upper_bound(periods.begin(), periods.end(), 0.0);
    if (first == periods.end() || !WithinRange(period, *first, periods.back())) {
        return NAN;
    }
    period = std::clamp(period, *first, periods.back());
    const auto upper = std::lower_bound(first, periods.end(), period);
    const auto i = static_cast<std::size_t>(upper - periods.begin());
    if (periods[i] == period) {
        return sa[i];
    }
    const double w = std::log(period / periods[i - 1]) / std::log(periods[i] / periods[i - 1]);
    return std::exp(std::log(sa[i - 1]) + w * std::log(sa[i] / sa[i - 1]));
}

}  // namespace travik
