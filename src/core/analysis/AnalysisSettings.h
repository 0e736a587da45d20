#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace travik {

enum class IntegrationMethod : std::int32_t { PiecewiseExact = 0, Newmark = 1 };

// The edit that gets the keyboard focus after a rejected update, in the window's order.
enum class SettingsField { None, MinPeriod, MaxPeriod, PeriodStep, MaxDtOverT, Beta, Gamma, G };

// Why a set of settings cannot be used, and the field to correct.
struct SettingsProblem {
    std::string message;
    SettingsField field = SettingsField::None;
};

// The numerical parameters of every spectrum computation; member initialisers are the
// program defaults (the only place they are written).
struct AnalysisSettings {
    double g = 980.0;          // gravitational acceleration, cm/sec^2, > 0
    double minPeriod = 0.02;   // s, > 0
    double maxPeriod = 6.0;    // s, > minPeriod
    double periodStep = 0.02;  // s, 0 < step <= maxPeriod - minPeriod
    IntegrationMethod method = IntegrationMethod::PiecewiseExact;
    double maxDtOverT = 0.02;  // largest integration step as a fraction of the period, > 0
    double beta = 0.25;        // Newmark beta; no range check
    double gamma = 0.5;        // Newmark gamma; no range check

    // The first range this breaks, checked field by field in the order of SettingsField
    // with the window's messages; nothing when the settings can be used.
    std::optional<SettingsProblem> Validate() const;

    // The analysis periods these settings give (s), the period 0 first (BuildPeriodList).
    std::vector<double> Periods() const;
};

// The texts of the settings window's edits (and of the command line's options).
struct AnalysisSettingsTexts {
    std::string minPeriod;
    std::string maxPeriod;
    std::string periodStep;
    IntegrationMethod method = IntegrationMethod::PiecewiseExact;
    std::string maxDtOverT;
    std::string beta;
    std::string gamma;
    std::string g;
};

struct SettingsUpdateResult {
    bool accepted = false;
    std::string message;                        // the warning text when rejected
    SettingsField focus = SettingsField::None;  // the edit to focus when rejected
    AnalysisSettings settings;                  // the stored settings after the update
};

// Refusal of a gravitational acceleration that is not greater than zero, wherever g is
// entered (settings window, either command).
inline constexpr const char* kGravityNotPositiveMessage =
    "Gravitational acceleration must be greater than zero! ";

// Largest gravitational acceleration accepted (cm/sec²), a thousand times the Earth's. It
// converts records in g to the units of the motions; beyond it no unit system is meant, and
// the motions and spectra would be written as numbers of hundreds of digits.
inline constexpr double kMaxGravity = 1e6;

// The refusal of g (cm/sec²), wherever g is entered (settings window, either command), or
// nothing when g is greater than zero and at most kMaxGravity.
std::optional<std::string> CheckGravity(double g);

// Most periods one spectrum may have, the period 0 included. A list this long is already
// far finer than any record resolves; a longer one is a mistyped step or range, and built
// blindly it would exhaust the memory before the first oscillator ran.
inline constexpr std::size_t kMaxPeriodCount = 100'000;

// The number of periods BuildPeriodList gives for the range and step (s), counted without
// building the list: exactly when the range holds up to about 2 * kMaxPeriodCount steps,
// otherwise an estimate (possibly infinite) that is certainly too many.
double PeriodCountOf(double minPeriod, double maxPeriod, double periodStep);

// The work-limit check of the period range and step: the refusal message when they give
// more than kMaxPeriodCount periods, or nothing. Validate makes it right after the period
// step's own checks (focus on the period step); expects those passed.
std::optional<std::string> CheckPeriodCount(double minPeriod, double maxPeriod, double periodStep);

// Texts of the settings as the window shows them (general number form).
AnalysisSettingsTexts SettingsToTexts(const AnalysisSettings& settings, char decimalSeparator);

// The "Update" check: reads and checks the texts in the window's order (a text that is no
// number, then the ranges of Validate, field by field) and stops at the first failure. On
// acceptance `settings` is `current` with every field replaced, beta and gamma only when the method
// is Newmark; on rejection it is `current` unchanged.
SettingsUpdateResult UpdateAnalysisSettings(const AnalysisSettingsTexts& texts,
                                            const AnalysisSettings& current, char decimalSeparator);

}  // namespace travik
