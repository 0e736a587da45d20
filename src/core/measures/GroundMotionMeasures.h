#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/analysis/AnalysisSettings.h"
#include "core/measures/FourierSpectrum.h"
#include "core/records/TimeHistory.h"

namespace travik {

// One measure: a finite value, or not available with the reason.
struct Measure {
    double value = 0.0;
    std::string unavailable;  // empty when the value is available

    bool Available() const { return unavailable.empty(); }
    static Measure Of(double value);
    static Measure NotAvailable(std::string reason);
};

// The settings of the ground-motion measures; member initialisers are the defaults.
struct MeasureSettings {
    double g = 980.0;                // gravitational acceleration, cm/sec^2, > 0
    double bracketThreshold = 0.05;  // g, > 0: level of the bracketed duration
    double maxDtOverT = 0.02;        // largest oscillator step / period, > 0 (spectra)
    bool smoothFourier = true;       // Konno-Ohmachi smoothing of the Fourier spectrum

    // The measure settings of an analysis: its g and maximum step ratio.
    static MeasureSettings FromAnalysis(const AnalysisSettings& analysis);
    // The message of the first setting out of range, naming it, or nothing.
    std::optional<std::string> Check() const;
};

// Fixed parameters of the definitions.
inline constexpr double kCav5Threshold = 5.0;               // cm/sec^2 (Kramer and Mitchell)
inline constexpr double kStandardisedCavThreshold = 0.025;  // g (EPRI, 1991)
inline constexpr double kSpectrumDamping = 0.05;            // fraction of critical
inline constexpr double kKonnoOhmachiBandwidth = 40.0;      // b
inline constexpr double kMeanPeriodLowFrequency = 0.25;     // Hz (Rathje et al., 1998)
inline constexpr double kMeanPeriodHighFrequency = 20.0;    // Hz
// The intensities' own period grid: 0.02 s to 4 s every 0.01 s.
inline constexpr double kIntensityFirstPeriod = 0.02;  // s
inline constexpr double kIntensityPeriodStep = 0.01;   // s
inline constexpr int kIntensityPeriodCount = 399;

// The ground-motion measures of one record, with the inputs they were computed from.
// Every integral over time is the trapezoidal rule over the samples; every time is
// measured from the first sample (t_i = i * dt).
struct GroundMotionMeasures {
    std::string sourceFileName;
    double timeStep = 0.0;  // s
    int sampleCount = 0;
    bool usedCorrected = false;  // the corrected set (baseline and/or filter) was measured
    BaselineCorrectionType correctionType = BaselineCorrectionType::None;
    std::optional<FilterSettings> filter;
    MeasureSettings settings;

    // PGA = max |a| (g); PGV = max |v| (cm/sec); PGD = max |d| (cm); each with the time
    // (s) of its first occurrence.
    Measure pga, pgaTime, pgv, pgvTime, pgd, pgdTime;
    // Arias intensity Ia = pi / (2 g) * integral of a^2 dt, a in m/sec^2, g in m/sec^2
    // (m/sec).
    Measure arias;
    // Husid curve: running integral of a^2 over its total, per sample (0 to 1).
    std::vector<double> husid;
    // Significant durations: time between the Husid curve's 5 % and 75 % (95 %) crossings,
    // each crossing interpolated linearly between samples (s); start and end times (s).
    Measure d575, d575Start, d575End, d595, d595Start, d595End;
    // Bracketed duration: from the first to the last sample with |a| >= the threshold (s).
    Measure bracketed, bracketedStart, bracketedEnd;
    // CAV = integral of |a| dt (g*s). CAV5 (Kramer and Mitchell, 2006): the same with |a|
    // counted only where it is at least 5 cm/sec^2 (g*s). Standardised CAV (EPRI, 1991):
    // the sum over the record's one-second windows [k, k+1) s whose peak |a| exceeds
    // 0.025 g of that window's integral of |a| dt (g*s).
    Measure cav, cav5, standardisedCav;
    // From the 5 % damped piecewise-exact spectrum on the grid above (trapezoidal rule in
    // the period): Housner SI = integral of PSv dT, 0.1-2.5 s (cm); ASI = integral of Sa dT
    // (peak total acceleration), 0.1-0.5 s (g*s); VSI = integral of Sv dT (peak relative
    // velocity), 0.1-2.5 s (cm); Tp = period of the largest PSa on the grid (s).
    Measure housnerSi, asi, vsi, tp;
    // Mean period (Rathje et al., 1998): sum of C^2 / f over sum of C^2, C the Fourier
    // amplitudes at the frequencies f from 0.25 to 20 Hz (s).
    Measure tm;
    FourierSpectrum fourier;
};

// Computes every measure of the record's acceleration: the corrected set when the record
// is corrected, else the raw one. Velocity and displacement are the record's own series of
// that set when it holds them, else integrated the same way. Bad settings make every
// measure not available with the check's message.
GroundMotionMeasures ComputeGroundMotionMeasures(const TimeHistory& record,
                                                 const MeasureSettings& settings);

// The settings and period grid (0, then kIntensityFirstPeriod on) of the 5 % spectrum the
// spectrum intensities are computed from.
AnalysisSettings IntensitySpectrumSettings(const MeasureSettings& settings);
std::vector<double> IntensityPeriods();

// The oscillator steps ComputeGroundMotionMeasures takes for the record (its spectrum
// intensities), to announce long work as an analysis is announced.
double EstimateMeasuresOscillatorSteps(const TimeHistory& record, const MeasureSettings& settings);

// One line of the measures table: the name shown and written, the measure and its unit.
struct MeasureRow {
    const char* name;
    const char* unit;
    const Measure* measure;
};

// The measures in the order of the page's table and the report.
std::vector<MeasureRow> MeasureRows(const GroundMotionMeasures& measures);

}  // namespace travik
