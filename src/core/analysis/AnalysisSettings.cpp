#include "analysis/AnalysisSettings.h"

#include <optional>
#include <utility>

#include "text/NumberFormat.h"
#include "text/NumberParse.h"

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

SettingsUpdateResult UpdateAnalysisSettings(const AnalysisSettingsTexts& texts,
                                            const AnalysisSettings& current,
                                            char decimalSeparator) {
    const auto parse = [decimalSeparator](const std::string& text) {
        return TryParseNumber(text, decimalSeparator);
    };

    const std::optional<double> minPeriod = parse(texts.minPeriod);
    if (!minPeriod) {
        return Reject(current, NotAValidFloatingNumberMessage(texts.minPeriod),
                      SettingsField::MinPeriod);
    }
    if (*minPeriod <= 0) {
        return Reject(current, "Min. Period must be greater than zero! ", SettingsField::MinPeriod);
    }

    const std::optional<double> maxPeriod = parse(texts.maxPeriod);
    if (!maxPeriod) {
        return Reject(current, NotAValidFloatingNumberMessage(texts.maxPeriod),
                      SettingsField::MaxPeriod);
    }
    if (*maxPeriod <= 0) {
        return Reject(current, "Max. Period must be greater than zero! ", SettingsField::MaxPeriod);
    }
    if (*maxPeriod <= *minPeriod) {
        return Reject(current, "Max. Period must be greater than Min. Period! ",
                      SettingsField::MaxPeriod);
    }

    const std::optional<double> periodStep = parse(texts.periodStep);
    if (!periodStep) {
        return Reject(current, NotAValidFloatingNumberMessage(texts.periodStep),
                      SettingsField::PeriodStep);
    }
    if (*periodStep <= 0) {
        return Reject(current, "Period Step must be greater than zero! ",
                      SettingsField::PeriodStep);
    }
    // A step equal to the range is accepted: the list then holds both ends.
    if (*periodStep > *maxPeriod - *minPeriod) {
        return Reject(current, "periodstep must be less than [Max. Period - Min. Period] ! ",
                      SettingsField::PeriodStep);
    }

    const IntegrationMethod method = texts.method;

    const std::optional<double> maxDtOverT = parse(texts.maxDtOverT);
    if (!maxDtOverT) {
        return Reject(current, NotAValidFloatingNumberMessage(texts.maxDtOverT),
                      SettingsField::MaxDtOverT);
    }
    if (*maxDtOverT <= 0) {
        return Reject(current, "Maximum dt/T  must be greater than zero! ",
                      SettingsField::MaxDtOverT);
    }

    // Beta and gamma are read only for Newmark's method, so whatever the disabled edits
    // hold cannot block an update of the piecewise exact settings.
    std::optional<double> beta;
    std::optional<double> gamma;
    if (method == IntegrationMethod::Newmark) {
        beta = parse(texts.beta);
        if (!beta) {
            return Reject(current, NotAValidFloatingNumberMessage(texts.beta), SettingsField::Beta);
        }
        gamma = parse(texts.gamma);
        if (!gamma) {
            return Reject(current, NotAValidFloatingNumberMessage(texts.gamma),
                          SettingsField::Gamma);
        }
    }

    const std::optional<double> g = parse(texts.g);
    if (!g) {
        return Reject(current, NotAValidFloatingNumberMessage(texts.g), SettingsField::G);
    }
    if (*g <= 0) {
        return Reject(current, "Gravitational acceleration must be greater than zero! ",
                      SettingsField::G);
    }

    SettingsUpdateResult result;
    result.accepted = true;
    result.settings = current;
    result.settings.g = *g;
    result.settings.minPeriod = *minPeriod;
    result.settings.maxPeriod = *maxPeriod;
    result.settings.periodStep = *periodStep;
    result.settings.method = method;
    result.settings.maxDtOverT = *maxDtOverT;
    if (method == IntegrationMethod::Newmark) {
        result.settings.beta = *beta;
        result.settings.gamma = *gamma;
    }
    return result;
}

}  // namespace travik
