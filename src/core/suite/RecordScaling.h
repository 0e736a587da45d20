#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "core/suite/ScalingOptions.h"

namespace travik {

// The analysis periods inside [minPeriod, maxPeriod] (s): their indices into `periods`
// and their weights in a record's fit.
struct RangeWeights {
    std::vector<std::size_t> indices;
    std::vector<double> weights;
};

// Uniform weights are 1. Logarithmic weights give each period half the ln T distance to
// each neighbour inside the range, so a period list that is dense at short periods does
// not make the fit lean on them; the first and last get only their inner half (a range
// holding a single period weighs it 1).
RangeWeights WeighRange(const std::vector<double>& periods, double minPeriod, double maxPeriod,
                        ScalingWeights weights);

// A record's own factor and the error left after it.
struct RecordFit {
    double factor = 1.0;  // after the limits
    double mse = 0.0;     // weighted mean of (ln St - ln(f S))^2 over the range
    bool clamped = false;
};

// The least-squares factor in logarithms, ln f = sum w ln(St / S) / sum w, over the range
// (`sa` and `targetSa` one value per analysis period, g, > 0 inside the range), or the
// factor `atFactor` when given, then held within the limits.
RecordFit FitRecord(const std::vector<double>& sa, const std::vector<double>& targetSa,
                    const RangeWeights& range, std::optional<double> atFactor,
                    const ScalingOptions& options);

// The error of factor `factor` over the range.
double ScalingError(const std::vector<double>& sa, const std::vector<double>& targetSa,
                    const RangeWeights& range, double factor);

// The spectrum at `period` (s) interpolated linearly in ln T and ln S between the
// analysis periods that bracket it (values > 0). NaN outside the positive periods.
double InterpolateLogLog(const std::vector<double>& periods, const std::vector<double>& sa,
                         double period);

// `factor` held within the options' limits.
double ClampFactor(double factor, const ScalingOptions& options);

}  // namespace travik
