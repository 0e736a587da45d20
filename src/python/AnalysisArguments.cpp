#include "AnalysisArguments.h"

#include <cmath>

#include "NumpyArrays.h"
#include "core/analysis/DampingValues.h"

namespace travik::python {

AnalysisSettings SettingsOf(const std::string& method, double maxDtRatio, double beta, double gamma,
                            double gravity) {
    AnalysisSettings settings;
    if (method == "newmark") {
        settings.method = IntegrationMethod::Newmark;
    } else if (method != "exact") {
        Refuse("method must be exact or newmark, not \"" + method + "\"");
    }
    settings.maxDtOverT = maxDtRatio;
    settings.beta = beta;
    settings.gamma = gamma;
    settings.g = gravity;
    if (const std::optional<SettingsProblem> problem = settings.Validate()) {
        Refuse(problem->message);
    }
    return settings;
}

std::vector<double> PeriodsOf(const std::vector<double>& periods) {
    if (periods.empty() || periods.size() + 1 > kMaxPeriodCount) {
        Refuse("periods: one to " + std::to_string(kMaxPeriodCount - 1) + " periods are needed");
    }
    std::vector<double> withZero = {0.0};
    for (const double period : periods) {
        if (!(period > withZero.back()) || !std::isfinite(period)) {
            Refuse("periods must be greater than zero and in ascending order");
        }
        withZero.push_back(period);
    }
    return withZero;
}

void CheckDamping(const std::vector<double>& damping) {
    if (damping.empty()) {
        Refuse("damping: at least one damping ratio is needed");
    }
    for (const double ratio : damping) {
        if (!(ratio >= 0.0)) {
            Refuse("damping ratios are fractions of critical, 0 or more");
        }
        if (!(ratio < 1.0)) {
            Refuse(kDampingRatioTooLargeMessage);
        }
    }
}

}  // namespace travik::python
