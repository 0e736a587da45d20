#include "core/spectra/SpectrumAccuracy.h"

#include "core/analysis/OscillatorIntegrators.h"
#include "core/text/NumberFormat.h"

namespace travik {
namespace {

// Above this step ratio the sub-steps are long enough to clip short-period peaks.
constexpr double kCoarseDtOverT = 0.1;
// Samples per cycle below which a period is called short for the record.
constexpr double kSamplesPerCycle = 10;
// Fraction of 1 / f_c below which a high-pass filtered record still drives the oscillator.
constexpr double kHighPassUsableFraction = 0.8;

}  // namespace

std::vector<PeriodAccuracy> ComputePeriodAccuracy(double timeStep,
                                                  const std::vector<double>& periods,
                                                  double maxDtOverT) {
    std::vector<PeriodAccuracy> rows;
    rows.reserve(periods.size());
    for (const double t : periods) {
        PeriodAccuracy row;
        row.period = t;
        if (t > 0) {
            row.subSteps = OscillatorSubStepCount(timeStep, t, maxDtOverT);
            row.dtOverT = timeStep / t;
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<UntrustedBand> UntrustedPeriodBands(const RecordSpan& record,
                                                const AnalysisSettings& settings,
                                                char decimalSeparator) {
    std::vector<UntrustedBand> bands;
    const auto seconds = [decimalSeparator](double t) {
        return FormatNumber(t, "0.###", decimalSeparator) + " s";
    };
    if (settings.method == IntegrationMethod::Newmark || settings.maxDtOverT > kCoarseDtOverT) {
        UntrustedBand band;
        band.reason = UntrustedReason::ShortPeriod;
        band.fromPeriod = 0;
        band.toPeriod = kSamplesPerCycle * record.timeStep;
        band.explanation = "Below " + seconds(band.toPeriod) +
                           " (10 dt) the record has fewer than ten samples per cycle and the " +
                           (settings.method == IntegrationMethod::Newmark
                                ? std::string("Newmark integration")
                                : std::string("coarse integration step (dt/T above 0.1)")) +
                           " may miss or distort the peak.";
        bands.push_back(band);
    }
    if (record.sampleCount > 1) {
        UntrustedBand band;
        band.reason = UntrustedReason::LongPeriod;
        band.fromPeriod = (record.sampleCount - 1) * record.timeStep / 2;
        band.explanation = "Above " + seconds(band.fromPeriod) +
                           " (half the record's duration) the largest response may come after "
                           "the record ends, in free vibration, which the analysis does not "
                           "follow.";
        bands.push_back(band);
    }
    if (record.highPassCornerHz && *record.highPassCornerHz > 0) {
        UntrustedBand band;
        band.reason = UntrustedReason::HighPassCorner;
        band.fromPeriod = kHighPassUsableFraction / *record.highPassCornerHz;
        band.explanation = "Above " + seconds(band.fromPeriod) + " (0.8 / " +
                           FormatNumber(*record.highPassCornerHz, "0.###", decimalSeparator) +
                           " Hz) the high-pass filter has removed most of the ground motion "
                           "that drives these periods.";
        bands.push_back(band);
    }
    return bands;
}

bool IsUntrusted(const std::vector<UntrustedBand>& bands, double period) {
    for (const UntrustedBand& band : bands) {
        // "Below 10 dt" and "above half the duration": the limits themselves are trusted.
        const bool inside = band.reason == UntrustedReason::ShortPeriod ? period < band.toPeriod
                                                                        : period > band.fromPeriod;
        if (inside) {
            return true;
        }
    }
    return false;
}

}  // namespace travik
