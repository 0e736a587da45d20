#include "core/analysis/AnalysisSettings.h"

#include <cmath>
#include <optional>
#include <utility>

#include "core/analysis/PeriodList.h"
#include "core/text/NumberFormat.h"
#include "core/text/NumberParse.h"

namespace travik {
namespace {

SettingsUpdateResult Reject(const AnalysisSettings& current, std::string message,
                            SettingsField focus) {
    SettingsUpdateResult result;
    result.accepted = false;
    result.message = std::move(message);
    result.focus = focus;
    result.settings = current;
    return result;
}

}  // namespace

std::vector<double> AnalysisSettings::Periods() const {
    return BuildPeriodList(minPeriod, maxPeriod, periodStep);
}

AnalysisSettingsTexts SettingsToTexts(const AnalysisSettings& settings, char decimalSeparator) {
    AnalysisSettingsTexts texts;
    texts.minPeriod = FormatGeneral(settings.minPeriod, decimalSeparator);
    texts.maxPeriod = FormatGeneral(settings.maxPeriod, decimalSeparator);
    texts.periodStep = FormatGeneral(settings.periodStep, decimalSeparator);
    texts.method = settings.method;
    texts.maxDtOverT = FormatGeneral(settings.maxDtOverT, decimalSeparator);
    texts.beta = FormatGeneral(settings.beta, decimalSeparator);
    texts.gamma = FormatGeneral(settings.gamma, decimalSeparator);
    texts.g = FormatGeneral(settings.g, decimalSeparator);
    return texts;
}

double PeriodCountOf(double minPeriod, double maxPeriod, double periodStep) {
    const double steps = (maxPeriod - minPeriod) / periodStep;
    if (!(steps <= 2.0 * static_cast<double>(kMaxPeriodCount))) {
        return steps + 2.0;  // the period 0 and the range's end
    }
    // Few enough to count exactly, as BuildPeriodList builds the list: the repeated
    // addition and the 10 % rule decide the last entry, which a division can miss by one.
    double count = 1.0;  // the period 0
    double last = 0.0;
    for (double t = minPeriod; t < maxPeriod;) {
        ++count;
        last = t;
        const double next = t + periodStep;
        if (!(next > t)) {
            break;
        }
        t = next;
    }
    if (std::fabs(last - maxPeriod) / std::fabs(maxPeriod) > 0.1) {
        ++count;
    }
    return count;
}

std::optional<std::string> CheckPeriodCount(double minPeriod, double maxPeriod, double periodStep) {
    const double count = PeriodCountOf(minPeriod, maxPeriod, periodStep);
    if (count <= static_cast<double>(kMaxPeriodCount)) {
        return std::nullopt;
    }
    const std::string counted = std::isfinite(count) && count < 1e15
                                    ? FormatInteger(static_cast<long long>(count))
                                    : "more than 10^15";
    return "Too many periods: the period range and step give " + counted + " periods, at most " +
           FormatInteger(static_cast<long long>(kMaxPeriodCount)) +
           " are allowed! Make the period step larger or the range smaller. ";
}

std::optional<SettingsProblem> AnalysisSettings::Validate() const {
    // Each check reads only its own field and those before it, so a caller that reads the
    // fields one by one can tell which comes first: a bad text or a bad range.
    if (minPeriod <= 0) {
        return SettingsProblem{"Min. Period must be greater than zero! ", SettingsField::MinPeriod};
    }
    if (maxPeriod <= 0) {
        return SettingsProblem{"Max. Period must be greater than zero! ", SettingsField::MaxPeriod};
    }
    if (maxPeriod <= minPeriod) {
        return SettingsProblem{"Max. Period must be greater than Min. Period! ",
                               SettingsField::MaxPeriod};
    }
    if (periodStep <= 0) {
        return SettingsProblem{"Period Step must be greater than zero! ",
                               SettingsField::PeriodStep};
    }
    // A step equal to the range is accepted: the list then holds both ends.
    if (periodStep > maxPeriod - minPeriod) {
        return SettingsProblem{"periodstep must be less than [Max. Period - Min. Period] ! ",
                               SettingsField::PeriodStep};
    }
    if (std::optional<std::string> tooMany = CheckPeriodCount(minPeriod, maxPeriod, periodStep)) {
        return SettingsProblem{std::move(*tooMany), SettingsField::PeriodStep};
    }
    if (maxDtOverT <= 0) {
        return SettingsProblem{"Maximum dt/T  must be greater than zero! ",
                               SettingsField::MaxDtOverT};
    }
    if (std::optional<std::string> badGravity = CheckGravity(g)) {
        return SettingsProblem{std::move(*badGravity), SettingsField::G};
    }
    return std::nullopt;
}

std::optional<std::string> CheckGravity(double g) {
    if (!(g > 0)) {
        return kGravityNotPositiveMessage;
    }
    if (!(g <= kMaxGravity)) {
        return "Gravitational acceleration must be at most " + FormatGeneral(kMaxGravity, '.') +
               " cm/sec2! ";
    }
    return std::nullopt;
}

SettingsUpdateResult UpdateAnalysisSettings(const AnalysisSettingsTexts& texts,
                                            const AnalysisSettings& current,
                                            char decimalSeparator) {
    // Beta and gamma are read only for Newmark's method, so whatever the disabled edits
    // hold cannot block an update of the piecewise exact settings.
    const bool newmark = texts.method == IntegrationMethod::Newmark;
    AnalysisSettings candidate = current;
    candidate.method = texts.method;
    struct Field {
        SettingsField field;
        const std::string* text;
        double* value;
    };
    const Field fields[] = {
        {SettingsField::MinPeriod, &texts.minPeriod, &candidate.minPeriod},
        {SettingsField::MaxPeriod, &texts.maxPeriod, &candidate.maxPeriod},
        {SettingsField::PeriodStep, &texts.periodStep, &candidate.periodStep},
        {SettingsField::MaxDtOverT, &texts.maxDtOverT, &candidate.maxDtOverT},
        {SettingsField::Beta, newmark ? &texts.beta : nullptr, &candidate.beta},
        {SettingsField::Gamma, newmark ? &texts.gamma : nullptr, &candidate.gamma},
        {SettingsField::G, &texts.g, &candidate.g},
    };
    // The first text that is no number; the fields after it keep their current values.
    std::optional<SettingsProblem> unreadable;
    for (const Field& field : fields) {
        if (field.text == nullptr) {
            continue;
        }
        const std::optional<double> value = TryParseNumber(*field.text, decimalSeparator);
        if (!value) {
            unreadable = SettingsProblem{NotAValidFloatingNumberMessage(*field.text), field.field};
            break;
        }
        *field.value = *value;
    }
    // The window checks each field's range right after reading it: a range broken before
    // the unreadable field is reported first.
    std::optional<SettingsProblem> problem = candidate.Validate();
    if (unreadable &&
        (!problem || static_cast<int>(problem->field) >= static_cast<int>(unreadable->field))) {
        problem = unreadable;
    }
    if (problem) {
        return Reject(current, std::move(problem->message), problem->field);
    }
    SettingsUpdateResult result;
    result.accepted = true;
    result.settings = candidate;
    return result;
}

}  // namespace travik
