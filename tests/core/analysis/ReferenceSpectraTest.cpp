// Spectra of recorded accelerograms compared with values published by independent
// programs (see data/README.md for sources and the settings that reproduce them).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "TestRecords.h"
#include "core/analysis/OscillatorIntegrators.h"

namespace travik {
namespace {

using test::LoadColumn;
using test::LoadCsv;
using test::MakeRecord;

struct Spectrum {
    double sd, sv, sa, psa;
};

Spectrum Compute(const TimeHistory& record, double g, double maxDtOverT, double zeta,
                 double period) {
    Spectrum s{};
    EXPECT_TRUE(ComputeOscillatorPeaks({}, record, g, maxDtOverT, zeta, period, s.sd, s.sv, s.sa,
                                       false, IntegrationMethod::PiecewiseExact));
    const double omega = kTwoPi / period;
    s.psa = omega * omega * s.sd / g;
    return s;
}

double RelativeDifference(double actual, double reference) {
    return std::fabs(actual - reference) / std::fabs(reference);
}

// PEER NGA-West2 pseudo-accelerations, reproduced with sub-steps of at most T / 10.
TEST(ReferenceSpectra, PeerChinoHillsPseudoAccelerationWithinOneTenThousandth) {
    const auto rows = LoadCsv("peer-chinohills-rsn8883-spectra.csv");
    ASSERT_EQ(rows.size(), 111u);
    const char* files[] = {"peer-chinohills-rsn8883-360.txt", "peer-chinohills-rsn8883-090.txt"};
    for (int component = 0; component < 2; ++component) {
        const std::vector<double> samples = LoadColumn(files[component]);
        ASSERT_EQ(samples.size(), 16396u);
        const TimeHistory record = MakeRecord(samples, 0.005);
        for (const auto& row : rows) {
            const double period = std::stod(row[0]);
            const double reference = std::stod(row[1 + component]);
            EXPECT_LT(RelativeDifference(Compute(record, 980, 0.1, 0.05, period).psa, reference),
                      1e-4)
                << files[component] << " T=" << period;
        }
    }
}

// D. M. Boore's program reads peaks at the samples only: no sub-steps (maxDtOverT 3).
TEST(ReferenceSpectra, BooreWhittierAccelerationsWithoutSubSteps) {
    const auto rows = LoadCsv("boore-whittier-cat-spectra.csv");
    ASSERT_EQ(rows.size(), 112u);
    const char* files[] = {"boore-whittier-cat-090.txt", "boore-whittier-cat-180.txt"};
    for (int component = 0; component < 2; ++component) {
        const TimeHistory record = MakeRecord(LoadColumn(files[component]), 0.02);
        ASSERT_EQ(record.SampleCount(), 1646);
        std::vector<double> differences;
        for (const auto& row : rows) {
            const double period = std::stod(row[0]);
            // Reference in cm/s^2 from records scaled by 981.
            const double sa = std::stod(row[1 + 2 * component]) / 981;
            const double psa = std::stod(row[2 + 2 * component]) / 981;
            const Spectrum s = Compute(record, 981, 3, 0.05, period);
            // The reference's periods are printed rounded to four decimals: up to 0.3 %.
            EXPECT_LT(RelativeDifference(s.sa, sa), 3e-3) << files[component] << " T=" << period;
            EXPECT_LT(RelativeDifference(s.psa, psa), 3e-3) << files[component] << " T=" << period;
            differences.push_back(RelativeDifference(s.sa, sa));
            differences.push_back(RelativeDifference(s.psa, psa));
        }
        std::nth_element(differences.begin(), differences.begin() + differences.size() / 2,
                         differences.end());
        EXPECT_LT(differences[differences.size() / 2], 2e-5) << files[component];
    }
}

// California Geological Survey spectra (inches, three significant digits), all five
// damping ratios, with g = 980.665 as in the survey's files.
TEST(ReferenceSpectra, CgsLaHabraAllQuantitiesWithinThePrintRounding) {
    const TimeHistory record = MakeRecord(LoadColumn("cgs-lahabra-wlt-090.txt"), 0.02);
    ASSERT_EQ(record.SampleCount(), 15050);
    const double g = 980.665, inch = 2.54;
    int compared = 0;
    for (const auto& row : LoadCsv("cgs-lahabra-wlt-spectra.csv")) {
        if (row[0] != "090") {
            continue;
        }
        const double zeta = std::stod(row[1]);
        const double period = std::stod(row[2]);
        const Spectrum s = Compute(record, g, 0.1, zeta, period);
        const double omega = kTwoPi / period;
        const std::string where = "zeta=" + row[1] + " T=" + row[2];
        EXPECT_LT(RelativeDifference(s.sd / inch, std::stod(row[3])), 5e-3) << where;
        EXPECT_LT(RelativeDifference(s.sv / inch, std::stod(row[4])), 5e-3) << where;
        EXPECT_LT(RelativeDifference(s.sa, std::stod(row[5])), 5e-3) << where;
        EXPECT_LT(RelativeDifference(omega * s.sd / inch, std::stod(row[6])), 5e-3) << where;
        ++compared;
    }
    EXPECT_EQ(compared, 5 * 86);
}

}  // namespace
}  // namespace travik
