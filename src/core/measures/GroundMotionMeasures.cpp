#include "core/measures/GroundMotionMeasures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <span>
#include <utility>

#include "core/analysis/AnalysisWork.h"
#include "core/analysis/SpectraComputation.h"
#include "core/text/NumberFormat.h"

namespace travik {
namespace {

using Series = std::span<const double>;

// The peak |x| and the index of its first occurrence.
std::pair<double, std::size_t> Peak(Series series) {
    double peak = -1.0;
    std::size_t at = 0;
    for (std::size_t i = 0; i < series.size(); ++i) {
        if (std::fabs(series[i]) > peak) {
            peak = std::fabs(series[i]);
            at = i;
        }
    }
    return {peak, at};
}

void SetPeak(Series series, double dt, Measure& value, Measure& time) {
    const auto [peak, at] = Peak(series);
    value = Measure::Of(peak);
    time = Measure::Of(static_cast<double>(at) * dt);
}

// Time at which the non-decreasing curve first reaches `level`, linear between samples.
double CrossingTime(const std::vector<double>& curve, double level, double dt) {
    const auto it = std::lower_bound(curve.begin(), curve.end(), level);
    const std::size_t k = static_cast<std::size_t>(it - curve.begin());
    if (k == 0) {
        return 0.0;
    }
    if (k >= curve.size()) {
        return static_cast<double>(curve.size() - 1) * dt;
    }
    const double rise = curve[k] - curve[k - 1];
    const double fraction = rise > 0.0 ? (level - curve[k - 1]) / rise : 0.0;
    return (static_cast<double>(k - 1) + fraction) * dt;
}

double PeakAbs(Series a) {
    double peak = 0.0;
    for (const double value : a) {
        peak = std::max(peak, std::fabs(value));
    }
    return peak;
}

// The running trapezoidal integral of (factor a)^2 over the samples.
void FillHusid(Series a, double dt, double factor, std::vector<double>& husid) {
    husid.assign(a.size(), 0.0);
    for (std::size_t i = 1; i < a.size(); ++i) {
        const double previous = factor * a[i - 1];
        const double current = factor * a[i];
        husid[i] = husid[i - 1] + 0.5 * dt * (previous * previous + current * current);
    }
}

void SetSignificantDuration(const GroundMotionMeasures& m, double high, Measure& duration,
                            Measure& start, Measure& end) {
    const double t5 = CrossingTime(m.husid, 0.05, m.timeStep);
    const double tEnd = CrossingTime(m.husid, high, m.timeStep);
    start = Measure::Of(t5);
    end = Measure::Of(tEnd);
    duration = Measure::Of(tEnd - t5);
}

// Trapezoidal integral of f(|a|) over the samples [first, last].
template <typename F>
double IntegrateAbs(Series a, std::size_t first, std::size_t last, double dt, F f) {
    double sum = 0.0;
    for (std::size_t i = first; i < last; ++i) {
        sum += 0.5 * dt * (f(std::fabs(a[i])) + f(std::fabs(a[i + 1])));
    }
    return sum;
}

void ComputeCavs(Series a, double dt, double g, GroundMotionMeasures& m) {
    const std::size_t last = a.size() - 1;
    const auto identity = [](double x) { return x; };
    m.cav = Measure::Of(IntegrateAbs(a, 0, last, dt, identity));
    const double threshold = kCav5Threshold / g;
    m.cav5 = Measure::Of(
        IntegrateAbs(a, 0, last, dt, [threshold](double x) { return x >= threshold ? x : 0.0; }));

    if (static_cast<double>(a.size()) * dt < 1.0) {
        m.standardisedCav =
            Measure::NotAvailable("the record is shorter than one second (its window)");
        return;
    }
    // Window of sample i: the whole seconds of t_i (a nanosecond's tolerance keeps
    // 300 * 0.01 in the third window). Each step belongs to its first sample's window.
    const auto window = [dt](std::size_t i) {
        return static_cast<long long>(std::floor(static_cast<double>(i) * dt + 1e-9));
    };
    double sum = 0.0;
    std::size_t first = 0;
    while (first < last) {
        std::size_t end = first;
        double peak = 0.0;
        while (end < a.size() && window(end) == window(first)) {
            peak = std::max(peak, std::fabs(a[end]));
            ++end;
        }
        // Steps from `first` to `end` (the next window's first sample, or the last one).
        const std::size_t stop = std::min(end, last);
        if (peak > kStandardisedCavThreshold) {
            sum += IntegrateAbs(a, first, stop, dt, identity);
        }
        first = stop;
        if (end >= a.size()) {
            break;
        }
    }
    m.standardisedCav = Measure::Of(sum);
}

void ComputeSpectrumIntensities(const TimeHistory& record, const MeasureSettings& settings,
                                GroundMotionMeasures& m) {
    const AnalysisSettings analysis = IntensitySpectrumSettings(settings);
    const std::vector<double> periods = IntensityPeriods();
    const SpectraResult spectra = ComputeSpectra(record, analysis, {kSpectrumDamping}, periods);
    if (!spectra.failures.empty()) {
        const std::string reason = "the 5 % spectrum could not be computed at T = " +
                                   FormatGeneral(spectra.failures.front().period) + " s";
        m.housnerSi = m.asi = m.vsi = m.tp = Measure::NotAvailable(reason);
        return;
    }
    const DOUBLEVECTOR& psv = spectra.Columns(SpectrumKind::PseudoVelocity)[0];
    const DOUBLEVECTOR& psa = spectra.Columns(SpectrumKind::PseudoAcceleration)[0];
    const DOUBLEVECTOR& sv = spectra.Columns(SpectrumKind::Velocity)[0];
    const DOUBLEVECTOR& sa = spectra.Columns(SpectrumKind::Acceleration)[0];
    // Trapezoidal rule over the grid points from `from` to `to` (row 0 is the period 0).
    const auto integrate = [&](double from, double to, const DOUBLEVECTOR& value) {
        double sum = 0.0;
        for (std::size_t k = 1; k + 1 < periods.size(); ++k) {
            if (periods[k] >= from - 1e-9 && periods[k + 1] <= to + 1e-9) {
                sum += 0.5 * (periods[k + 1] - periods[k]) * (value[k] + value[k + 1]);
            }
        }
        return sum;
    };
    m.housnerSi = Measure::Of(integrate(0.1, 2.5, psv));
    m.asi = Measure::Of(integrate(0.1, 0.5, sa));
    m.vsi = Measure::Of(integrate(0.1, 2.5, sv));
    const auto largest = std::max_element(psa.begin() + 1, psa.end());
    m.tp = Measure::Of(periods[static_cast<std::size_t>(largest - psa.begin())]);
    for (const double value : psa) {
        if (!std::isfinite(value)) {
            m.housnerSi = m.asi = m.vsi = m.tp =
                Measure::NotAvailable("the 5 % spectrum is not a finite number");
            return;
        }
    }
}

void ComputeMeanPeriod(GroundMotionMeasures& m) {
    double weighted = 0.0;
    double total = 0.0;
    const FourierSpectrum& fs = m.fourier;
    for (std::size_t k = 0; k < fs.frequencies.size(); ++k) {
        const double f = fs.frequencies[k];
        if (f >= kMeanPeriodLowFrequency && f <= kMeanPeriodHighFrequency) {
            const double c2 = fs.amplitudes[k] * fs.amplitudes[k];
            weighted += c2 / f;
            total += c2;
        }
    }
    if (!(total > 0.0)) {
        m.tm = Measure::NotAvailable(
            "no Fourier amplitude between 0.25 and 20 Hz (record too short, too coarse or "
            "zero there)");
        return;
    }
    m.tm = Measure::Of(weighted / total);
}

// The table's rows: name, unit and the member holding the measure.
struct RowDefinition {
    const char* name;
    const char* unit;
    Measure GroundMotionMeasures::*member;
};

constexpr std::array<RowDefinition, 24> kRows = {{
    {"PGA", "g", &GroundMotionMeasures::pga},
    {"Time of PGA", "s", &GroundMotionMeasures::pgaTime},
    {"PGV", "cm/sec", &GroundMotionMeasures::pgv},
    {"Time of PGV", "s", &GroundMotionMeasures::pgvTime},
    {"PGD", "cm", &GroundMotionMeasures::pgd},
    {"Time of PGD", "s", &GroundMotionMeasures::pgdTime},
    {"Arias intensity", "m/sec", &GroundMotionMeasures::arias},
    {"D5-75", "s", &GroundMotionMeasures::d575},
    {"D5-75 start", "s", &GroundMotionMeasures::d575Start},
    {"D5-75 end", "s", &GroundMotionMeasures::d575End},
    {"D5-95", "s", &GroundMotionMeasures::d595},
    {"D5-95 start", "s", &GroundMotionMeasures::d595Start},
    {"D5-95 end", "s", &GroundMotionMeasures::d595End},
    {"Bracketed duration", "s", &GroundMotionMeasures::bracketed},
    {"Bracketed duration start", "s", &GroundMotionMeasures::bracketedStart},
    {"Bracketed duration end", "s", &GroundMotionMeasures::bracketedEnd},
    {"CAV", "g*s", &GroundMotionMeasures::cav},
    {"CAV5", "g*s", &GroundMotionMeasures::cav5},
    {"Standardised CAV", "g*s", &GroundMotionMeasures::standardisedCav},
    {"Housner SI", "cm", &GroundMotionMeasures::housnerSi},
    {"ASI", "g*s", &GroundMotionMeasures::asi},
    {"VSI", "cm", &GroundMotionMeasures::vsi},
    {"Tp", "s", &GroundMotionMeasures::tp},
    {"Tm", "s", &GroundMotionMeasures::tm},
}};

void MarkAllUnavailable(GroundMotionMeasures& m, const std::string& reason) {
    for (const RowDefinition& row : kRows) {
        m.*row.member = Measure::NotAvailable(reason);
    }
}

}  // namespace

AnalysisSettings IntensitySpectrumSettings(const MeasureSettings& settings) {
    AnalysisSettings analysis;
    analysis.g = settings.g;
    analysis.maxDtOverT = settings.maxDtOverT;
    analysis.method = IntegrationMethod::PiecewiseExact;
    return analysis;
}

std::vector<double> IntensityPeriods() {
    std::vector<double> periods = {0.0};
    for (int i = 0; i < kIntensityPeriodCount; ++i) {
        // Periods as hundredths: 0.1, 0.5 and 2.5 s are grid points exactly as written.
        periods.push_back(static_cast<double>(i + 2) / 100.0);
    }
    return periods;
}

double EstimateMeasuresOscillatorSteps(const TimeHistory& record, const MeasureSettings& settings) {
    return EstimateOscillatorSteps(record, IntensitySpectrumSettings(settings), 1,
                                   IntensityPeriods());
}

Measure Measure::Of(double value) {
    if (!std::isfinite(value)) {
        return NotAvailable("the value is not a finite number");
    }
    Measure measure;
    measure.value = value;
    return measure;
}

Measure Measure::NotAvailable(std::string reason) {
    Measure measure;
    measure.unavailable = std::move(reason);
    return measure;
}

MeasureSettings MeasureSettings::FromAnalysis(const AnalysisSettings& analysis) {
    MeasureSettings settings;
    settings.g = analysis.g;
    settings.maxDtOverT = analysis.maxDtOverT;
    return settings;
}

std::optional<std::string> MeasureSettings::Check() const {
    if (!std::isfinite(g) || !(g > 0.0)) {
        return "g must be greater than 0 cm/sec^2 (is " + FormatGeneral(g) + ")";
    }
    if (!std::isfinite(bracketThreshold) || !(bracketThreshold > 0.0)) {
        return "The bracketed duration threshold must be greater than 0 g (is " +
               FormatGeneral(bracketThreshold) + ")";
    }
    if (!std::isfinite(maxDtOverT) || !(maxDtOverT > 0.0)) {
        return "Max dt/T must be greater than 0 (is " + FormatGeneral(maxDtOverT) + ")";
    }
    return std::nullopt;
}

namespace {

// Why no measure of the record can be computed, if so.
std::optional<std::string> WhyNothingCanBeMeasured(const TimeHistory& record,
                                                   const MeasureSettings& settings,
                                                   const DOUBLEVECTOR& a) {
    if (auto problem = settings.Check()) {
        return problem;
    }
    const double dt = record.TimeStep();
    if (!std::isfinite(dt) || !(dt > 0.0)) {
        return "the time step is not greater than 0 s";
    }
    if (!std::isfinite(1.0 / dt)) {
        // The sampling frequency overflows: no Fourier spectrum, and nothing else either.
        return "the time step " + FormatGeneral(dt) +
               " s is too small: its sampling frequency overflows";
    }
    const std::size_t n = static_cast<std::size_t>(record.SampleCount());
    if (n < 2 || a.size() < n) {
        return "the record has fewer than two samples";
    }
    for (const double value : a) {
        if (!std::isfinite(value)) {
            return "the record holds a sample that is not a finite number";
        }
    }
    return std::nullopt;
}

// Arias intensity, the Husid curve and the significant durations D5-75 and D5-95.
void SetAriasAndDurations(std::span<const double> a, double dt, double g, GroundMotionMeasures& m) {
    FillHusid(a, dt, 1.0, m.husid);
    double integralG2 = m.husid.back();  // g^2 * s
    const double gMetres = g / 100.0;
    m.arias = Measure::Of(std::numbers::pi / (2.0 * gMetres) * integralG2 * gMetres * gMetres);
    if (!std::isfinite(integralG2)) {
        // The squares overflow (amplitudes beyond 1e154 g): the curve's shape, and so the
        // durations, do not depend on a common factor, which is chosen to keep them finite.
        m.arias = Measure::NotAvailable("the Arias intensity overflows");
        FillHusid(a, dt, 1.0 / PeakAbs(a), m.husid);
        integralG2 = m.husid.back();
    }
    if (integralG2 > 0.0) {
        for (double& value : m.husid) {
            value /= integralG2;
        }
        SetSignificantDuration(m, 0.75, m.d575, m.d575Start, m.d575End);
        SetSignificantDuration(m, 0.95, m.d595, m.d595Start, m.d595End);
    } else {
        const Measure none = Measure::NotAvailable("the record has no energy (Arias intensity 0)");
        m.d575 = m.d575Start = m.d575End = m.d595 = m.d595Start = m.d595End = none;
    }
}

// The bracketed duration: from the first to the last sample with |a| >= the threshold (g).
void SetBracketedDuration(std::span<const double> a, double dt, double threshold,
                          GroundMotionMeasures& m) {
    const std::size_t n = a.size();
    std::size_t firstAbove = n;
    std::size_t lastAbove = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (std::fabs(a[i]) >= threshold) {
            firstAbove = std::min(firstAbove, i);
            lastAbove = i;
        }
    }
    if (firstAbove < n) {
        m.bracketed = Measure::Of(static_cast<double>(lastAbove - firstAbove) * dt);
        m.bracketedStart = Measure::Of(static_cast<double>(firstAbove) * dt);
        m.bracketedEnd = Measure::Of(static_cast<double>(lastAbove) * dt);
    } else {
        m.bracketed = Measure::Of(0.0);
        m.bracketedStart = m.bracketedEnd =
            Measure::NotAvailable("|a| never reaches " + FormatGeneral(threshold) + " g");
    }
}

}  // namespace

GroundMotionMeasures ComputeGroundMotionMeasures(const TimeHistory& record,
                                                 const MeasureSettings& settings) {
    GroundMotionMeasures m;
    m.sourceFileName = record.SourceFileName();
    m.timeStep = record.TimeStep();
    m.sampleCount = record.SampleCount();
    m.usedCorrected = record.IsCorrected();
    m.correctionType =
        record.IsCorrected() ? record.CorrectionType() : BaselineCorrectionType::None;
    m.filter = record.IsCorrected() ? record.Filter() : std::nullopt;
    m.settings = settings;

    const DOUBLEVECTOR& a = record.Acceleration(m.usedCorrected);
    if (const std::optional<std::string> problem = WhyNothingCanBeMeasured(record, settings, a)) {
        MarkAllUnavailable(m, *problem);
        return m;
    }
    const double dt = record.TimeStep();
    const std::size_t n = static_cast<std::size_t>(record.SampleCount());

    // Velocity and displacement: the record's own, else integrated here the same way.
    const DOUBLEVECTOR& ownVelocity =
        m.usedCorrected ? record.CorrectedVelocity() : record.RawVelocity();
    const DOUBLEVECTOR& ownDisplacement =
        m.usedCorrected ? record.CorrectedDisplacement() : record.RawDisplacement();
    TimeHistory integrated(record.SourceFileName(), dt);
    const bool haveOwn = ownVelocity.size() == n && ownDisplacement.size() == n;
    if (!haveOwn) {
        for (const double value : a) {
            integrated.AppendAcceleration(value);
        }
        IntegrateMotion(integrated, settings.g, MotionSet::Raw);
    }
    const DOUBLEVECTOR& v = haveOwn ? ownVelocity : integrated.RawVelocity();
    const DOUBLEVECTOR& d = haveOwn ? ownDisplacement : integrated.RawDisplacement();

    SetPeak(a, dt, m.pga, m.pgaTime);
    SetPeak(v, dt, m.pgv, m.pgvTime);
    SetPeak(d, dt, m.pgd, m.pgdTime);
    SetAriasAndDurations(Series(a).first(n), dt, settings.g, m);
    SetBracketedDuration(Series(a).first(n), dt, settings.bracketThreshold, m);
    ComputeCavs(a, dt, settings.g, m);
    ComputeSpectrumIntensities(record, settings, m);
    m.fourier = ComputeFourierSpectrum(a, dt, settings.g,
                                       settings.smoothFourier ? kKonnoOhmachiBandwidth : 0.0);
    ComputeMeanPeriod(m);
    return m;
}

std::vector<MeasureRow> MeasureRows(const GroundMotionMeasures& m) {
    std::vector<MeasureRow> rows;
    rows.reserve(kRows.size());
    for (const RowDefinition& row : kRows) {
        rows.push_back({row.name, row.unit, &(m.*row.member)});
    }
    return rows;
}

}  // namespace travik
