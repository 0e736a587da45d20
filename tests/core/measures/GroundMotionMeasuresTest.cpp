#include "core/measures/GroundMotionMeasures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "MeasuresTestData.h"
#include "core/records/RecordFilter.h"

namespace travik {
namespace {

using test::LoadPairs;
using test::LoadSampleRecord;
using test::MakeRecord;

constexpr double kPi = std::numbers::pi;

const Measure& Find(const GroundMotionMeasures& m, const std::string& name) {
    for (const MeasureRow& row : MeasureRows(m)) {
        if (row.name == name) {
            return *row.measure;
        }
    }
    throw std::runtime_error("no measure " + name);
}

void ExpectEveryMeasureFiniteOrExplained(const GroundMotionMeasures& m) {
    for (const MeasureRow& row : MeasureRows(m)) {
        if (row.measure->Available()) {
            EXPECT_TRUE(std::isfinite(row.measure->value)) << row.name;
        } else {
            EXPECT_FALSE(row.measure->unavailable.empty()) << row.name;
        }
    }
}

std::vector<double> Sine(double amplitude, double frequency, double dt, int samples) {
    std::vector<double> a(static_cast<std::size_t>(samples));
    for (int i = 0; i < samples; ++i) {
        a[static_cast<std::size_t>(i)] = amplitude * std::sin(2 * kPi * frequency * i * dt);
    }
    return a;
}

TEST(GroundMotionMeasures, LaHabraRecordMatchesTheNumpyScipyReference) {
    // make_measures_reference.py steps the oscillators once per sample: no sub-steps here.
    MeasureSettings settings;
    settings.g = 980.665;
    settings.maxDtOverT = 10.0;
    const TimeHistory record = LoadSampleRecord("cgs-lahabra-wlt-090.txt", 0.02);
    const GroundMotionMeasures m = ComputeGroundMotionMeasures(record, settings);
    const auto rows = LoadPairs("lahabra_measures.csv");
    ASSERT_EQ(rows.size(), 16u);
    for (const auto& [name, expected] : rows) {
        const Measure& measure = Find(m, name);
        ASSERT_TRUE(measure.Available()) << name << ": " << measure.unavailable;
        // The spectra differ by the program's 6.2831852 for 2 pi (1.2e-8) and the rounding
        // of two recurrences; everything else is the same sums in another order.
        const bool spectral = name == "Housner SI" || name == "ASI" || name == "VSI";
        EXPECT_NEAR(measure.value, expected, std::fabs(expected) * (spectral ? 1e-7 : 1e-10))
            << name;
    }
    ExpectEveryMeasureFiniteOrExplained(m);
}

TEST(GroundMotionMeasures, LaHabraPeaksAgreeWithTheCgsHeader) {
    // CIWLT.V2, channel 1: peak acceleration 82.584 cm/s^2 at 14.840 s, velocity -6.863
    // cm/s at 14.680 s, displacement -0.836 cm at 17.580 s. CGS's velocity is not the
    // trapezoidal integral from rest of the listed acceleration (within 2.4 % of the peak,
    // see the data set's provenance), and its displacement starts at -0.003 cm.
    MeasureSettings settings;
    settings.g = 980.665;
    const GroundMotionMeasures m =
        ComputeGroundMotionMeasures(LoadSampleRecord("cgs-lahabra-wlt-090.txt", 0.02), settings);
    EXPECT_NEAR(m.pga.value * 980.665, 82.584, 0.0005);
    EXPECT_DOUBLE_EQ(m.pgaTime.value, 14.84);
    EXPECT_NEAR(m.pgv.value, 6.863, 0.024 * 6.863);
    EXPECT_NEAR(m.pgvTime.value, 14.68, 1e-9);
    EXPECT_NEAR(m.pgd.value + 0.003, 0.836, 0.005 * 0.836);
    EXPECT_NEAR(m.pgdTime.value, 17.58, 1e-9);
}

TEST(GroundMotionMeasures, HarmonicRecordHasClosedFormAriasCavPeaksAndDurations) {
    // a = 0.2 g sin(2 pi 2 t) for 10 s: twenty whole periods of 100 samples.
    const double amplitude = 0.2;
    const double f = 2.0;
    const double dt = 0.005;
    const double duration = 10.0;
    const GroundMotionMeasures m =
        ComputeGroundMotionMeasures(MakeRecord(Sine(amplitude, f, dt, 2001), dt), {});
    const double g = 980.0;

    // Ia = pi / (2 g) * (A g)^2 * T / 2; the sampled sum of sin^2 over whole periods is
    // exactly half the sample count.
    const double gm = g / 100;
    EXPECT_NEAR(m.arias.value, kPi / (2 * gm) * std::pow(amplitude * gm, 2) * duration / 2, 1e-12);
    // CAV = A T 2 / pi; the trapezoidal rule is low by about (pi / 50)^2 / 12 relative.
    EXPECT_NEAR(m.cav.value, amplitude * duration * 2 / kPi, 5e-4 * m.cav.value);
    // All one-second windows exceed 0.025 g: the standardised CAV is the CAV.
    EXPECT_NEAR(m.standardisedCav.value, m.cav.value, 1e-12);
    EXPECT_DOUBLE_EQ(m.pga.value, amplitude);
    // From rest: v = A g / (2 pi f) (1 - cos 2 pi f t), d = A g / (2 pi f) (t - sin / (2 pi f)).
    EXPECT_NEAR(m.pgv.value, amplitude * g / (kPi * f), 5e-4 * m.pgv.value);
    EXPECT_NEAR(m.pgd.value, amplitude * g / (2 * kPi * f) * duration, 1e-3 * m.pgd.value);

    // Husid curve H(t) = t / T - sin(4 pi f t) / (4 pi f T): its crossings by bisection.
    const auto crossing = [&](double level) {
        double lo = 0.0;
        double hi = duration;
        for (int i = 0; i < 80; ++i) {
            const double mid = 0.5 * (lo + hi);
            const double h =
                mid / duration - std::sin(4 * kPi * f * mid) / (4 * kPi * f * duration);
            (h < level ? lo : hi) = mid;
        }
        return lo;
    };
    EXPECT_NEAR(m.d595Start.value, crossing(0.05), 1e-4);
    EXPECT_NEAR(m.d575End.value, crossing(0.75), 1e-4);
    EXPECT_NEAR(m.d595End.value, crossing(0.95), 1e-4);
    EXPECT_NEAR(m.d595.value, crossing(0.95) - crossing(0.05), 2e-4);
    EXPECT_NEAR(m.d575.value, crossing(0.75) - crossing(0.05), 2e-4);

    // |a| >= 0.05 g first at the sample after asin(0.25) / (2 pi f), last at its mirror.
    const int first = static_cast<int>(std::ceil(std::asin(0.25) / (2 * kPi * f * dt)));
    EXPECT_NEAR(m.bracketedStart.value, first * dt, 1e-12);
    EXPECT_NEAR(m.bracketedEnd.value, (2000 - first) * dt, 1e-12);
    EXPECT_NEAR(m.bracketed.value, (2000 - 2 * first) * dt, 1e-12);
    ExpectEveryMeasureFiniteOrExplained(m);
}

// Amplitudes beyond 1e154 g overflow the Arias integral; the durations depend only on the
// shape of the Husid curve, so they stay those of the harmonic's closed form, and the
// intensity says why it is missing instead of letting the durations collapse to 0.
TEST(GroundMotionMeasures, DurationsSurviveAnAriasIntensityThatOverflows) {
    const double f = 2.0;
    const double dt = 0.005;
    const double duration = 10.0;
    const GroundMotionMeasures m =
        ComputeGroundMotionMeasures(MakeRecord(Sine(1e160, f, dt, 2001), dt), {});
    EXPECT_FALSE(m.arias.Available());
    EXPECT_EQ(m.arias.unavailable, "the Arias intensity overflows");
    const auto crossing = [&](double level) {
        double lo = 0.0;
        double hi = duration;
        for (int i = 0; i < 80; ++i) {
            const double mid = 0.5 * (lo + hi);
            const double h =
                mid / duration - std::sin(4 * kPi * f * mid) / (4 * kPi * f * duration);
            (h < level ? lo : hi) = mid;
        }
        return lo;
    };
    ASSERT_TRUE(m.d595.Available()) << m.d595.unavailable;
    EXPECT_NEAR(m.d595.value, crossing(0.95) - crossing(0.05), 2e-4);
    EXPECT_NEAR(m.d575.value, crossing(0.75) - crossing(0.05), 2e-4);
    EXPECT_GT(m.d575.value, 5.0);
}

// The work of the spectrum intensities, announced before long runs: per period of the grid
// 0.02 to 4 s, the samples times the sub-steps trunc(dt / (T ratio) + 1); the period 0
// costs nothing.
TEST(GroundMotionMeasures, EstimatedWorkIsThatOfTheIntensityGrid) {
    const double dt = 0.01;
    const TimeHistory record = MakeRecord(Sine(0.1, 2.0, dt, 5000), dt);
    for (const double ratio : {0.02, 1e-5}) {
        MeasureSettings settings;
        settings.maxDtOverT = ratio;
        double expected = 0.0;
        for (int hundredths = 2; hundredths <= 400; ++hundredths) {
            const double period = hundredths / 100.0;
            expected += 5000.0 * std::trunc(dt / (period * ratio) + 1);
        }
        EXPECT_NEAR(EstimateMeasuresOscillatorSteps(record, settings), expected, 1e-9 * expected)
            << ratio;
    }
}

// A subnormal time step has no sampling frequency a double can hold: every measure says so
// instead of the Fourier grid asking for an endless vector.
TEST(GroundMotionMeasures, ASubnormalTimeStepGivesReasonsNotACrash) {
    const double dt = 1e-310;
    const GroundMotionMeasures m =
        ComputeGroundMotionMeasures(MakeRecord(Sine(0.1, 2.0, 0.01, 200), dt), {});
    EXPECT_FALSE(m.pga.Available());
    // 1e-310 is held as the nearest subnormal, 9.99999999999997e-311.
    EXPECT_EQ(m.tm.unavailable,
              "the time step 9.99999999999997E-311 s is too small: its sampling frequency "
              "overflows");
}

TEST(GroundMotionMeasures, Cav5CountsOnlyAccelerationAboveFiveGals) {
    // A = 0.01 g = 9.8 cm/s^2: |a| >= 5 cm/s^2 where |sin| >= s0 = 5 / 9.8, so
    // CAV5 = CAV * sqrt(1 - s0^2) for whole half periods. Fine steps keep the trapezoidal
    // rule's error at the 80 threshold crossings below 0.3 %.
    const double dt = 0.0005;
    const GroundMotionMeasures m =
        ComputeGroundMotionMeasures(MakeRecord(Sine(0.01, 2.0, dt, 20001), dt), {});
    const double s0 = 5.0 / 9.8;
    EXPECT_NEAR(m.cav5.value, m.cav.value * std::sqrt(1 - s0 * s0), 3e-3 * m.cav5.value);
    // Every window's peak is below 0.025 g.
    EXPECT_DOUBLE_EQ(m.standardisedCav.value, 0.0);
}

TEST(GroundMotionMeasures, StandardisedCavCountsOnlySecondsAbove0025g) {
    // Three strong seconds (0.1 g), then seven weak ones (0.02 g).
    const double dt = 0.01;
    std::vector<double> a = Sine(0.1, 2.0, dt, 1001);
    for (std::size_t i = 300; i < a.size(); ++i) {
        a[i] *= 0.2;
    }
    const GroundMotionMeasures m = ComputeGroundMotionMeasures(MakeRecord(a, dt), {});
    double strong = 0.0;
    for (std::size_t i = 0; i < 300; ++i) {
        strong += 0.5 * dt * (std::fabs(a[i]) + std::fabs(a[i + 1]));
    }
    EXPECT_NEAR(m.standardisedCav.value, strong, 1e-14);
    // The seven weak seconds still count in the plain CAV: 0.02 g * 7 s * 2 / pi, less the
    // trapezoidal rule's (pi / 25)^2 / 12 at 25 steps per half period.
    EXPECT_NEAR(m.cav.value - strong, 0.02 * 7 * 2 / kPi, 2e-4);

    const GroundMotionMeasures shortRecord =
        ComputeGroundMotionMeasures(MakeRecord(Sine(0.1, 2.0, dt, 99), dt), {});
    EXPECT_FALSE(shortRecord.standardisedCav.Available());
    EXPECT_EQ(shortRecord.standardisedCav.unavailable,
              "the record is shorter than one second (its window)");
    EXPECT_TRUE(shortRecord.cav.Available());
}

TEST(GroundMotionMeasures, FourierPeakAndMeanPeriodOfABinCentredSine) {
    // 20 whole periods in 2048 samples: all amplitude in the bin of f0 = 20 / (2048 dt),
    // |X| dt = A g N dt / 2; Tm = 1 / f0 since no other bin has amplitude.
    const double dt = 0.005;
    const double f0 = 20.0 / (2048 * dt);
    const GroundMotionMeasures m =
        ComputeGroundMotionMeasures(MakeRecord(Sine(0.1, f0, dt, 2048), dt), {});
    ASSERT_EQ(m.fourier.fftLength, 2048);
    ASSERT_EQ(m.fourier.frequencies.size(), 1024u);
    EXPECT_DOUBLE_EQ(m.fourier.frequencies[19], f0);
    EXPECT_NEAR(m.fourier.amplitudes[19], 0.1 * 980 * 2048 * dt / 2, 1e-9);
    EXPECT_NEAR(m.fourier.amplitudes[18], 0.0, 1e-9);
    EXPECT_NEAR(m.tm.value, 1 / f0, 1e-12);
    // The 5 % spectrum peaks at the forcing period (0.512 s) on the 0.01 s grid.
    EXPECT_NEAR(m.tp.value, 1 / f0, 0.0105);
}

// Peaks of the 5 % oscillator after a velocity impulse v0 (free vibration from u = 0,
// du/dt = -v0), sampled finely: relative displacement, relative velocity, total acceleration.
struct ImpulsePeaks {
    double sd, sv, sa;
};

ImpulsePeaks FreeVibrationPeaks(double period, double v0) {
    const double zeta = 0.05;
    const double w = 2 * kPi / period;
    const double wd = w * std::sqrt(1 - zeta * zeta);
    ImpulsePeaks p{0, 0, 0};
    for (int i = 0; i <= 20000; ++i) {
        const double t = period * i / 10000.0;
        const double decay = std::exp(-zeta * w * t);
        const double u = -v0 / wd * decay * std::sin(wd * t);
        const double du = -v0 * decay * (std::cos(wd * t) - zeta * w / wd * std::sin(wd * t));
        p.sd = std::max(p.sd, std::fabs(u));
        p.sv = std::max(p.sv, std::fabs(du));
        p.sa = std::max(p.sa, std::fabs(w * w * u + 2 * zeta * w * du));
    }
    return p;
}

TEST(GroundMotionMeasures, SpectrumIntensitiesOfAnImpulseMatchFreeVibration) {
    // One sample of 1 g at 0.5 s, steps of 0.5 ms: a velocity impulse v0 = g dt.
    const double dt = 0.0005;
    std::vector<double> a(8001, 0.0);
    a[1000] = 1.0;
    const GroundMotionMeasures m = ComputeGroundMotionMeasures(MakeRecord(a, dt), {});
    const double v0 = 980.0 * dt;

    // PSv is the same at every period: v0 exp(-zeta atan(sqrt(1 - zeta^2) / zeta) /
    // sqrt(1 - zeta^2)); Sv is v0 itself (at the impulse).
    const double zeta = 0.05;
    const double root = std::sqrt(1 - zeta * zeta);
    const double psv = v0 * std::exp(-zeta * std::atan(root / zeta) / root);
    // The pulse lasts two steps, not an instant: about omega dt / 2 relative at 0.1 s.
    EXPECT_NEAR(m.housnerSi.value, 2.4 * psv, 2e-3 * 2.4 * psv);
    EXPECT_NEAR(m.vsi.value, 2.4 * v0, 3e-3 * 2.4 * v0);

    double asi = 0.0;
    for (int i = 10; i < 50; ++i) {
        const double t0 = i / 100.0;
        const double t1 = (i + 1) / 100.0;
        asi += 0.5 * (t1 - t0) * (FreeVibrationPeaks(t0, v0).sa + FreeVibrationPeaks(t1, v0).sa);
    }
    EXPECT_NEAR(m.asi.value, asi / 980.0, 3e-3 * asi / 980.0);
}

TEST(GroundMotionMeasures, MeasuresTheCorrectedSetOfAFilteredRecord) {
    TimeHistory record = LoadSampleRecord("elcentro-1940-chopra-ns.txt", 0.02);
    FilterSettings filter;
    filter.lowCorner = 0.2;  // 30 s of pads fit the 31.2 s record
    filter.highCorner = 10.0;
    ASSERT_TRUE(ApplyFilter(record, filter, 980.0).ok);
    const GroundMotionMeasures m = ComputeGroundMotionMeasures(record, {});
    EXPECT_TRUE(m.usedCorrected);
    ASSERT_TRUE(m.filter.has_value());
    EXPECT_EQ(*m.filter, filter);
    double peak = 0.0;
    for (const double value : record.CorrectedAcceleration()) {
        peak = std::max(peak, std::fabs(value));
    }
    EXPECT_DOUBLE_EQ(m.pga.value, peak);
    EXPECT_LT(m.pga.value, record.PeakAcceleration());
    ExpectEveryMeasureFiniteOrExplained(m);
}

TEST(GroundMotionMeasures, RecordsWithoutMotionGiveReasonsInsteadOfNumbers) {
    const GroundMotionMeasures empty = ComputeGroundMotionMeasures(TimeHistory("e.txt", 0.01), {});
    for (const MeasureRow& row : MeasureRows(empty)) {
        EXPECT_EQ(row.measure->unavailable, "the record has fewer than two samples") << row.name;
    }

    const GroundMotionMeasures zeros =
        ComputeGroundMotionMeasures(MakeRecord(std::vector<double>(500, 0.0), 0.01), {});
    EXPECT_DOUBLE_EQ(zeros.arias.value, 0.0);
    EXPECT_DOUBLE_EQ(zeros.cav.value, 0.0);
    EXPECT_DOUBLE_EQ(zeros.bracketed.value, 0.0);
    EXPECT_EQ(zeros.d595.unavailable, "the record has no energy (Arias intensity 0)");
    EXPECT_EQ(zeros.bracketedStart.unavailable, "|a| never reaches 0.05 g");
    EXPECT_FALSE(zeros.tm.Available());
    ExpectEveryMeasureFiniteOrExplained(zeros);

    MeasureSettings bad;
    bad.bracketThreshold = -1;
    const GroundMotionMeasures rejected =
        ComputeGroundMotionMeasures(MakeRecord(Sine(0.1, 2.0, 0.01, 500), 0.01), bad);
    EXPECT_EQ(rejected.pga.unavailable,
              "The bracketed duration threshold must be greater than 0 g (is -1)");
    bad = {};
    bad.g = 0;
    EXPECT_EQ(bad.Check(), "g must be greater than 0 cm/sec^2 (is 0)");
    bad = {};
    bad.maxDtOverT = std::nan("");
    EXPECT_TRUE(bad.Check().has_value());
    EXPECT_FALSE(MeasureSettings{}.Check().has_value());
}

TEST(GroundMotionMeasures, ResultCarriesItsInputs) {
    MeasureSettings settings;
    settings.bracketThreshold = 0.1;
    TimeHistory record = MakeRecord(Sine(0.3, 1.0, 0.01, 300), 0.01, "named.txt");
    const GroundMotionMeasures m = ComputeGroundMotionMeasures(record, settings);
    EXPECT_EQ(m.sourceFileName, "named.txt");
    EXPECT_DOUBLE_EQ(m.timeStep, 0.01);
    EXPECT_EQ(m.sampleCount, 300);
    EXPECT_FALSE(m.usedCorrected);
    EXPECT_DOUBLE_EQ(m.settings.bracketThreshold, 0.1);
    EXPECT_EQ(m.husid.size(), 300u);
    EXPECT_DOUBLE_EQ(m.husid.front(), 0.0);
    EXPECT_DOUBLE_EQ(m.husid.back(), 1.0);
}

}  // namespace
}  // namespace travik
