#include "core/spectra/SuiteStatistics.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace travik {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Mean and sample standard deviation in two passes, which keeps the rounding of a sum of
// squares of large, nearly equal values out of the deviation.
void MeanAndSigma(const std::vector<double>& values, double& mean, double& sigma) {
    double sum = 0;
    for (const double v : values) {
        sum += v;
    }
    const double n = static_cast<double>(values.size());
    mean = sum / n;
    double squares = 0;
    for (const double v : values) {
        squares += (v - mean) * (v - mean);
    }
    sigma = values.size() > 1 ? std::sqrt(squares / (n - 1)) : 0.0;
}

}  // namespace

SuiteStatistics ComputeSuiteStatistics(const std::vector<double>& periods,
                                       const std::vector<std::vector<double>>& curves) {
    SuiteStatistics s;
    s.periods = periods;
    if (curves.empty()) {
        return s;
    }
    for (const std::vector<double>& curve : curves) {
        if (curve.size() != periods.size()) {
            return s;
        }
    }
    s.recordCount = static_cast<int>(curves.size());
    std::vector<double> values(curves.size());
    std::vector<double> logs(curves.size());
    for (std::size_t k = 0; k < periods.size(); ++k) {
        bool allPositive = true;
        for (std::size_t r = 0; r < curves.size(); ++r) {
            values[r] = curves[r][k];
            allPositive = allPositive && values[r] > 0;
            logs[r] = allPositive ? std::log(values[r]) : 0.0;
        }
        double mean = 0;
        double sigma = 0;
        MeanAndSigma(values, mean, sigma);
        s.mean.push_back(mean);
        s.median.push_back(Median(values));
        s.sigma.push_back(sigma);
        s.meanPlusSigma.push_back(mean + sigma);
        s.meanMinusSigma.push_back(mean - sigma);
        if (allPositive) {
            double logMean = 0;
            double logSigma = 0;
            MeanAndSigma(logs, logMean, logSigma);
            s.logMean.push_back(std::exp(logMean));
            s.sigmaLn.push_back(logSigma);
            s.logMeanPlusSigma.push_back(std::exp(logMean + logSigma));
            s.logMeanMinusSigma.push_back(std::exp(logMean - logSigma));
        } else {
            s.logMean.push_back(kNaN);
            s.sigmaLn.push_back(kNaN);
            s.logMeanPlusSigma.push_back(kNaN);
            s.logMeanMinusSigma.push_back(kNaN);
        }
    }
    return s;
}

TargetRatio CompareMeanToTarget(const std::vector<double>& periods, const std::vector<double>& mean,
                                const TargetSpectrum& target, double minPeriod, double maxPeriod) {
    TargetRatio ratio;
    double sum = 0;
    const std::size_t count = std::min(periods.size(), mean.size());
    for (std::size_t k = 0; k < count; ++k) {
        const double t = periods[k];
        if (t < minPeriod || t > maxPeriod) {
            continue;
        }
        const double sa = InterpolateTarget(target, t);
        if (!(sa > 0) || !std::isfinite(mean[k])) {
            continue;
        }
        const double r = mean[k] / sa;
        if (ratio.periodCount == 0 || r < ratio.minRatio) {
            ratio.minRatio = r;
            ratio.minAtPeriod = t;
        }
        if (ratio.periodCount == 0 || r > ratio.maxRatio) {
            ratio.maxRatio = r;
            ratio.maxAtPeriod = t;
        }
        sum += r;
        ++ratio.periodCount;
    }
    ratio.valid = ratio.periodCount > 0;
    if (ratio.valid) {
        ratio.meanRatio = sum / ratio.periodCount;
    }
    return ratio;
}

}  // namespace travik
