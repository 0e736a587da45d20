#include "core/records/ButterworthFilter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "core/export/ReportHeader.h"
#include "core/records/CorrectedSet.h"
#include "core/records/RecordFilter.h"

namespace travik {
namespace {

// The filters of make_butterworth_reference.py, by its names.
struct Config {
    FilterSettings settings;
    double timeStep;
};

FilterSettings Settings(FilterBand band, double low, double high, int order, bool acausal) {
    FilterSettings s;
    s.band = band;
    s.lowCorner = low;
    s.highCorner = high;
    s.order = order;
    s.acausal = acausal;
    return s;
}

std::map<std::string, Config> ReferenceConfigs() {
    return {
        {"lp25o4", {Settings(FilterBand::LowPass, 0, 25.0, 4, false), 0.01}},
        {"hp0.1o2", {Settings(FilterBand::HighPass, 0.1, 0, 2, false), 0.02}},
        {"bp0.1-25o4", {Settings(FilterBand::BandPass, 0.1, 25.0, 4, false), 0.01}},
        {"bp0.5-2o8", {Settings(FilterBand::BandPass, 0.5, 2.0, 8, false), 0.005}},
        {"lp5o3", {Settings(FilterBand::LowPass, 0, 5.0, 3, false), 0.01}},
        {"bp1-10o1", {Settings(FilterBand::BandPass, 1.0, 10.0, 1, false), 0.01}},
        {"hp0.5o5", {Settings(FilterBand::HighPass, 0.5, 0, 5, false), 0.01}},
    };
}

// The test signal of the reference script: slow and fast sines, a pulse and a drift.
std::vector<double> TestSignal(int n, double dt) {
    std::vector<double> x(static_cast<std::size_t>(n));
    const double pi = std::numbers::pi;
    for (int i = 0; i < n; ++i) {
        const double t = i * dt;
        x[static_cast<std::size_t>(i)] =
            0.1 * std::sin(2 * pi * 0.05 * t) + 0.2 * std::sin(2 * pi * 1.3 * t + 0.3) +
            0.05 * std::sin(2 * pi * (0.4 / dt) * t) +
            0.3 * std::exp(-((t - 10.0) / 0.5) * ((t - 10.0) / 0.5)) + 0.001 * t;
    }
    return x;
}

std::vector<std::vector<std::string>> ReadCsv(const std::string& name) {
    std::ifstream in(std::string(TRAVIK_TEST_DATA_DIR) + "/" + name);
    std::vector<std::vector<std::string>> rows;
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::stringstream stream(line);
        std::string field;
        while (std::getline(stream, field, ',')) {
            fields.push_back(field);
        }
        rows.push_back(fields);
    }
    return rows;
}

TEST(ButterworthFilter, MagnitudeResponseMatchesScipyDesigns) {
    const auto configs = ReferenceConfigs();
    const auto rows = ReadCsv("butterworth_gain.csv");
    ASSERT_GT(rows.size(), 90u);
    for (const auto& row : rows) {
        const Config& config = configs.at(row[0]);
        const auto design = DesignButterworth(config.settings, config.timeStep);
        ASSERT_TRUE(design.has_value()) << row[0];
        const double expected = std::stod(row[2]);
        EXPECT_NEAR(FilterGain(*design, std::stod(row[1])), expected, 1e-12 + 1e-9 * expected)
            << row[0] << " at " << row[1] << " Hz";
    }
}

// The cascade multiplied out: numerator and denominator in powers of z^-1.
std::pair<std::vector<double>, std::vector<double>> TransferFunction(
    const std::vector<SecondOrderSection>& sections) {
    std::vector<double> b = {1.0};
    std::vector<double> a = {1.0};
    const auto multiply = [](const std::vector<double>& p, const std::vector<double>& q) {
        std::vector<double> r(p.size() + q.size() - 1, 0.0);
        for (std::size_t i = 0; i < p.size(); ++i) {
            for (std::size_t j = 0; j < q.size(); ++j) {
                r[i + j] += p[i] * q[j];
            }
        }
        return r;
    };
    for (const SecondOrderSection& s : sections) {
        b = multiply(b, {s.b0, s.b1, s.b2});
        a = multiply(a, {1.0, s.a1, s.a2});
    }
    return {b, a};
}

TEST(ButterworthFilter, CoefficientsMatchScipyButterTransferFunctions) {
    const auto configs = ReferenceConfigs();
    std::map<std::string, std::pair<std::vector<double>, std::vector<double>>> expected;
    for (const auto& row : ReadCsv("butterworth_ba.csv")) {
        auto& [b, a] = expected[row[0]];
        (row[1] == "b" ? b : a).push_back(std::stod(row[3]));
    }
    ASSERT_EQ(expected.size(), 6u);
    for (const auto& [name, ba] : expected) {
        const auto design = DesignButterworth(configs.at(name).settings, configs.at(name).timeStep);
        ASSERT_TRUE(design.has_value());
        auto [b, a] = TransferFunction(design->sections);
        // A first-order section brings a zero coefficient of z^-2 along.
        b.resize(ba.first.size());
        a.resize(ba.second.size());
        double scale = 0.0;
        for (const double value : ba.second) {
            scale = std::max(scale, std::fabs(value));
        }
        for (std::size_t i = 0; i < b.size(); ++i) {
            EXPECT_NEAR(b[i], ba.first[i], 1e-10 * scale) << name << " b" << i;
        }
        for (std::size_t i = 0; i < a.size(); ++i) {
            EXPECT_NEAR(a[i], ba.second[i], 1e-10 * scale) << name << " a" << i;
        }
    }
}

TEST(ButterworthFilter, SecondOrderLowPassAtAQuarterOfTheSamplingRateHasTheTextbookCoefficients) {
    // fc = fs / 4: tan(pi fc / fs) = 1, so b = [1, 2, 1] / (2 + sqrt 2), a1 = 0,
    // a2 = (2 - sqrt 2) / (2 + sqrt 2).
    const auto design = DesignButterworth(Settings(FilterBand::LowPass, 0, 25.0, 2, false), 0.01);
    ASSERT_TRUE(design.has_value());
    ASSERT_EQ(design->sections.size(), 1u);
    const SecondOrderSection& s = design->sections[0];
    const double root2 = std::sqrt(2.0);
    EXPECT_NEAR(s.b0, 1 / (2 + root2), 1e-15);
    EXPECT_NEAR(s.b1, 2 / (2 + root2), 1e-15);
    EXPECT_NEAR(s.b2, 1 / (2 + root2), 1e-15);
    EXPECT_NEAR(s.a1, 0.0, 1e-15);
    EXPECT_NEAR(s.a2, (2 - root2) / (2 + root2), 1e-15);
}

TEST(ButterworthFilter, PaddedCausalAndAcausalOutputsMatchScipySosfilt) {
    const auto configs = ReferenceConfigs();
    const auto rows = ReadCsv("butterworth_series.csv");
    ASSERT_EQ(rows.size(), 5600u);
    std::map<std::string, std::vector<double>> outputs;
    for (const auto& [name, config] : configs) {
        for (const bool acausal : {false, true}) {
            FilterSettings settings = config.settings;
            settings.acausal = acausal;
            const auto design = DesignButterworth(settings, config.timeStep);
            ASSERT_TRUE(design.has_value());
            outputs[name + (acausal ? ",acausal" : ",causal")] =
                FilterSeries(*design, TestSignal(8000, config.timeStep));
        }
    }
    for (const auto& row : rows) {
        const std::vector<double>& output = outputs.at(row[0] + "," + row[1]);
        const std::size_t index = std::stoul(row[2]);
        ASSERT_EQ(output.size(), 8000u);
        EXPECT_NEAR(output[index], std::stod(row[3]), 1e-10)
            << row[0] << " " << row[1] << " sample " << index;
    }
}

TEST(ButterworthFilter, CornersAreMinusThreeDecibelsCausalAndMinusSixAcausal) {
    for (const int order : {1, 2, 4, 8}) {
        for (const bool acausal : {false, true}) {
            const double expected = acausal ? 0.5 : 1.0 / std::sqrt(2.0);
            const auto band =
                DesignButterworth(Settings(FilterBand::BandPass, 0.1, 25.0, order, acausal), 0.01);
            const auto low =
                DesignButterworth(Settings(FilterBand::LowPass, 0.0, 12.5, order, acausal), 0.005);
            const auto high =
                DesignButterworth(Settings(FilterBand::HighPass, 0.05, 0.0, order, acausal), 0.02);
            ASSERT_TRUE(band && low && high);
            EXPECT_NEAR(FilterGain(*band, 0.1), expected, 1e-9) << order;
            EXPECT_NEAR(FilterGain(*band, 25.0), expected, 1e-9) << order;
            EXPECT_NEAR(FilterGain(*low, 12.5), expected, 1e-9) << order;
            EXPECT_NEAR(FilterGain(*high, 0.05), expected, 1e-9) << order;
            EXPECT_NEAR(FilterGain(*low, 0.0), 1.0, 1e-12);
            EXPECT_NEAR(FilterGain(*high, 25.0), 1.0, 1e-12);
            // The decibel figures themselves: 20 log10 of the gain.
            EXPECT_NEAR(20 * std::log10(FilterGain(*low, 12.5)), acausal ? -6.0206 : -3.0103, 1e-4);
        }
    }
}

TEST(ButterworthFilter, BooresPadIsOnePointFiveOrderOverCornerSplitInTwo) {
    FilterSettings settings;  // band-pass 0.1-25 Hz, order 4
    EXPECT_DOUBLE_EQ(settings.PadDuration(), 60.0);
    EXPECT_EQ(PadSampleCount(settings, 0.01), 3000);
    settings.band = FilterBand::LowPass;
    settings.highCorner = 10.0;
    settings.order = 2;
    EXPECT_DOUBLE_EQ(settings.PadDuration(), 0.3);
    EXPECT_EQ(PadSampleCount(settings, 0.02), 8);  // 0.15 s rounded up to whole steps
}

TEST(ButterworthFilter, ChecksNameTheParameterAndTheValue) {
    struct Case {
        FilterSettings settings;
        double dt;
        int samples;
        FilterField field;
        std::string message;
    };
    const std::vector<Case> cases = {
        {Settings(FilterBand::BandPass, 0.1, 25, 0, true), 0.01, 10000, FilterField::Order,
         "Filter order must be from 1 to 8 (is 0)"},
        {Settings(FilterBand::BandPass, 0.1, 25, 9, true), 0.01, 10000, FilterField::Order,
         "Filter order must be from 1 to 8 (is 9)"},
        {Settings(FilterBand::BandPass, 0.1, 50, 4, true), 0.01, 10000, FilterField::HighCorner,
         "High corner frequency 50 Hz must be below the Nyquist frequency 50 Hz of the record"},
        {Settings(FilterBand::HighPass, 30, 0, 4, true), 0.02, 10000, FilterField::LowCorner,
         "Low corner frequency 30 Hz must be below the Nyquist frequency 25 Hz of the record"},
        {Settings(FilterBand::BandPass, 5, 2, 4, true), 0.01, 10000, FilterField::HighCorner,
         "High corner frequency 2 Hz must be above the low corner frequency 5 Hz"},
        {Settings(FilterBand::BandPass, 5, 5, 4, true), 0.01, 10000, FilterField::HighCorner,
         "High corner frequency 5 Hz must be above the low corner frequency 5 Hz"},
        {Settings(FilterBand::HighPass, 0, 0, 4, true), 0.01, 10000, FilterField::LowCorner,
         "Low corner frequency must be greater than 0 Hz (is 0)"},
        {Settings(FilterBand::HighPass, 1e-6, 0, 4, true), 0.01, 5999, FilterField::Record,
         "Zero pads too long to compute: the zero pads of order 4 at 1E-6 Hz take 1.5 x order / "
         "corner = 6000000 s, 600000000 samples at 0.01 s; with the record's 5999 samples that "
         "is more than the 134217728 a filtered record may hold"},
    };
    for (const Case& c : cases) {
        const auto problem = c.settings.Check(c.dt, c.samples);
        ASSERT_TRUE(problem.has_value()) << c.message;
        EXPECT_EQ(problem->field, c.field);
        EXPECT_EQ(problem->message, c.message);
    }
    EXPECT_FALSE(Settings(FilterBand::BandPass, 0.1, 25, 4, true).Check(0.01, 6000));
    EXPECT_FALSE(Settings(FilterBand::BandPass, 0.1, 25, 4, true).Check(0.01, 5999));
    EXPECT_FALSE(Settings(FilterBand::LowPass, 99, 49.9, 8, false).Check(0.01, 100));
}

TEST(ButterworthFilter, DescribesItselfForTheReportHeader) {
    EXPECT_EQ(Settings(FilterBand::BandPass, 0.1, 25, 4, true).Describe(),
              "Butterworth band-pass 0.1-25 Hz, order 4, acausal");
    EXPECT_EQ(Settings(FilterBand::LowPass, 0.1, 12.5, 2, false).Describe(),
              "Butterworth low-pass 12.5 Hz, order 2, causal");
    EXPECT_EQ(Settings(FilterBand::HighPass, 0.05, 25, 8, true).Describe(),
              "Butterworth high-pass 0.05 Hz, order 8, acausal");
}

// A 70 s record: a slow drift and a 2 Hz sine, so that a 0.1 Hz high-pass changes it.
TimeHistory DriftingRecord() {
    TimeHistory record("drift.txt", 0.01);
    for (int i = 0; i < 7000; ++i) {
        const double t = i * 0.01;
        record.AppendAcceleration(0.002 * t + 0.1 * std::sin(2 * std::numbers::pi * 2.0 * t));
    }
    IntegrateMotion(record, 980.0, MotionSet::Raw);
    record.SetIntegrated(true);
    return record;
}

std::string HeaderBaselineLine(const TimeHistory& record) {
    ReportLines lines;
    AppendReportHeader(lines, record, "x", ReportDate{2026, 1, 2});
    return lines.back();
}

TEST(ButterworthFilter, RecordFilterRunsOverTheBaselineCorrectionAndIsNamedInTheHeader) {
    TimeHistory record = DriftingRecord();
    const std::vector<double> raw = record.RawAcceleration();
    ASSERT_TRUE(ApplyBaselineCorrection(record, BaselineCorrectionType::Linear, 980.0));
    const std::vector<double> corrected = record.CorrectedAcceleration();
    EXPECT_EQ(HeaderBaselineLine(record), "Baseline Correction Type: Linear");

    const FilterSettings filter = Settings(FilterBand::BandPass, 0.1, 25, 4, true);
    const FilterOutcome outcome = ApplyFilter(record, filter, 980.0);
    ASSERT_TRUE(outcome.ok) << outcome.problem.message;
    const auto design = DesignButterworth(filter, 0.01);
    ASSERT_TRUE(design);
    EXPECT_EQ(record.CorrectedAcceleration(), FilterSeries(*design, corrected));
    EXPECT_EQ(record.RawAcceleration(), raw);
    EXPECT_TRUE(record.IsCorrected());
    EXPECT_EQ(record.CorrectionType(), BaselineCorrectionType::Linear);
    EXPECT_EQ(record.CorrectedVelocity().size(), raw.size());
    EXPECT_EQ(HeaderBaselineLine(record),
              "Baseline Correction Type: Linear; Butterworth band-pass 0.1-25 Hz, order 4, "
              "acausal");

    // A new baseline fit keeps the filter and filters the new fit.
    ASSERT_TRUE(ApplyBaselineCorrection(record, BaselineCorrectionType::Parabolic, 980.0));
    TimeHistory parabolic = DriftingRecord();
    ASSERT_TRUE(ApplyBaselineCorrection(parabolic, BaselineCorrectionType::Parabolic, 980.0));
    EXPECT_EQ(record.CorrectedAcceleration(),
              FilterSeries(*design, parabolic.CorrectedAcceleration()));
    EXPECT_EQ(HeaderBaselineLine(record),
              "Baseline Correction Type: Parabolic; Butterworth band-pass 0.1-25 Hz, order 4, "
              "acausal");

    // No baseline: the filter runs over the raw acceleration.
    ASSERT_TRUE(ApplyBaselineCorrection(record, BaselineCorrectionType::None, 980.0));
    EXPECT_TRUE(record.IsCorrected());
    EXPECT_EQ(record.CorrectedAcceleration(), FilterSeries(*design, raw));
    EXPECT_EQ(HeaderBaselineLine(record),
              "Baseline Correction Type: No Baseline Correction; Butterworth band-pass 0.1-25 "
              "Hz, order 4, acausal");

    // Removing the filter of an otherwise uncorrected record drops the corrected set.
    ASSERT_TRUE(ApplyFilter(record, std::nullopt, 980.0).ok);
    EXPECT_FALSE(record.IsCorrected());
    EXPECT_FALSE(record.Filter().has_value());
    EXPECT_EQ(HeaderBaselineLine(record), "Baseline Correction Type: No Baseline Correction");
}

TEST(ButterworthFilter, RemovingTheFilterRestoresTheBaselineCorrectionAlone) {
    TimeHistory record = DriftingRecord();
    ASSERT_TRUE(ApplyBaselineCorrection(record, BaselineCorrectionType::Linear, 980.0));
    const std::vector<double> corrected = record.CorrectedAcceleration();
    ASSERT_TRUE(ApplyFilter(record, Settings(FilterBand::HighPass, 0.2, 0, 2, false), 980.0).ok);
    EXPECT_NE(record.CorrectedAcceleration(), corrected);
    ASSERT_TRUE(ApplyFilter(record, std::nullopt, 980.0).ok);
    EXPECT_EQ(record.CorrectedAcceleration(), corrected);
    EXPECT_EQ(HeaderBaselineLine(record), "Baseline Correction Type: Linear");
}

TEST(ButterworthFilter, RejectedFilterLeavesTheRecordUnchanged) {
    TimeHistory record = DriftingRecord();
    ASSERT_TRUE(ApplyBaselineCorrection(record, BaselineCorrectionType::Linear, 980.0));
    const std::vector<double> corrected = record.CorrectedAcceleration();
    // 1e-6 Hz of order 4 needs 6,000,000 s of pads: more than can be computed.
    const FilterOutcome outcome =
        ApplyFilter(record, Settings(FilterBand::HighPass, 1e-6, 0, 4, true), 980.0);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.problem.field, FilterField::Record);
    EXPECT_EQ(record.CorrectedAcceleration(), corrected);
    EXPECT_FALSE(record.Filter().has_value());
}

TEST(ButterworthFilter, HighPassRemovesTheDriftAndKeepsTheSine) {
    TimeHistory record = DriftingRecord();
    ASSERT_TRUE(ApplyFilter(record, Settings(FilterBand::HighPass, 0.2, 0, 4, true), 980.0).ok);
    // In the middle, far from the ends, only the 2 Hz sine (gain 1 to 1e-8) is left.
    const double pi = std::numbers::pi;
    for (int i = 3000; i < 4000; i += 37) {
        EXPECT_NEAR(record.CorrectedAcceleration()[static_cast<std::size_t>(i)],
                    0.1 * std::sin(2 * pi * 2.0 * i * 0.01), 2e-4)
            << i;
    }
}

}  // namespace
}  // namespace travik
