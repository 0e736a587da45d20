#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/export/ScaledRecords.h"
#include "core/spectra/SuiteSpectra.h"
#include "core/suite/PairMembers.h"

namespace travik {
namespace {

namespace fs = std::filesystem;

const std::vector<double> kPeriods = {0.0, 0.1, 0.5, 1.0};

// A decaying two-tone motion (g), long enough for every period's peak.
TimeHistory Motion(const std::string& name, double scale, int samples = 600) {
    TimeHistory record(name, 0.01);
    for (int i = 0; i < samples; ++i) {
        const double t = 0.01 * i;
        record.AppendAcceleration(scale * std::exp(-0.5 * t) *
                                  (0.3 * std::sin(9.0 * t) + 0.1 * std::sin(2.5 * t + 0.4)));
    }
    return record;
}

// PSa (g) of one record at kPeriods, 5 % damping, by the single-component spectra.
std::vector<double> SinglePsa(const TimeHistory& record) {
    const SuiteSpectra suite = ComputeSuiteSpectra({&record}, AnalysisSettings{}, 0.05, kPeriods);
    return suite.curves[static_cast<std::size_t>(SpectrumKind::PseudoAcceleration)].front();
}

double Pga(const TimeHistory& record) {
    double peak = 0.0;
    for (const double a : record.RawAcceleration()) {
        peak = std::max(peak, std::fabs(a));
    }
    return peak;
}

ComponentPairing Pair(const TimeHistory& h1, const TimeHistory& h2) {
    return PairComponents({{h1.SourceFileName(), {&h1}}, {h2.SourceFileName(), {&h2}}});
}

PairMembers MembersOf(const ComponentPairing& pairing, ScalingMeasure measure) {
    std::vector<const ComponentPair*> pairs;
    for (const ComponentPair& pair : pairing.motions) {
        pairs.push_back(&pair);
    }
    return PairMembersOf(pairs, AnalysisSettings{}, 0.05, kPeriods, measure);
}

// With H2 = H1 the component at angle theta is (cos theta + sin theta) H1: its peaks are
// sqrt(2) |sin(theta + 45)| times those of H1, so RotD100 (at 45 degrees) is sqrt(2) PSa and
// RotD50, the mean of the 90th and 91st sorted peaks (both at |sin 45|), is PSa itself; the
// period 0 holds the same multiples of the PGA.
TEST(PairMembers, EqualComponentsGiveRootTwoAndOneTimesTheirPsa) {
    const TimeHistory h1 = Motion("h1.txt", 1.0);
    const TimeHistory h2 = Motion("h2.txt", 1.0);
    const std::vector<double> psa = SinglePsa(h1);
    const ComponentPairing pairing = Pair(h1, h2);
    const PairMembers rotd100 = MembersOf(pairing, ScalingMeasure::RotD100);
    const PairMembers rotd50 = MembersOf(pairing, ScalingMeasure::RotD50);
    ASSERT_EQ(rotd100.members.size(), 1u);
    ASSERT_EQ(rotd50.members.size(), 1u);
    const SuiteMember& m100 = rotd100.members.front();
    const SuiteMember& m50 = rotd50.members.front();
    EXPECT_EQ(m100.name, "h1.txt");
    EXPECT_EQ(m100.station, "h1.txt");
    ASSERT_EQ(m100.sa.size(), kPeriods.size());
    EXPECT_NEAR(m100.pga, std::sqrt(2.0) * Pga(h1), 1e-12);
    EXPECT_NEAR(m50.pga, Pga(h1), 1e-12);
    EXPECT_NEAR(m100.sa[0], m100.pga, 1e-15);
    for (std::size_t k = 1; k < kPeriods.size(); ++k) {
        EXPECT_NEAR(m100.sa[k] / psa[k], std::sqrt(2.0), 1e-12) << kPeriods[k];
        EXPECT_NEAR(m50.sa[k] / psa[k], 1.0, 1e-12) << kPeriods[k];
    }
}

// A silent H2 leaves H1 as the largest direction: RotD100 is the PSa of H1.
TEST(PairMembers, ASilentSecondComponentLeavesRotD100AtTheFirstsPsa) {
    const TimeHistory h1 = Motion("h1.txt", 1.0);
    const TimeHistory h2 = Motion("h2.txt", 0.0);
    const std::vector<double> psa = SinglePsa(h1);
    const PairMembers members = MembersOf(Pair(h1, h2), ScalingMeasure::RotD100);
    ASSERT_EQ(members.members.size(), 1u);
    for (std::size_t k = 1; k < kPeriods.size(); ++k) {
        EXPECT_NEAR(members.members.front().sa[k], psa[k], 1e-12 * psa[k]) << kPeriods[k];
    }
}

// A cancel heard after the first pair computes no other.
TEST(PairMembers, ACancelStopsBeforeTheNextPair) {
    const TimeHistory a1 = Motion("a1.txt", 1.0), a2 = Motion("a2.txt", 0.5);
    const TimeHistory b1 = Motion("b1.txt", 2.0), b2 = Motion("b2.txt", 0.5);
    const ComponentPairing pairing =
        PairComponents({{"a1", {&a1}}, {"a2", {&a2}}, {"b1", {&b1}}, {"b2", {&b2}}});
    ASSERT_EQ(pairing.motions.size(), 2u);
    std::atomic<bool> cancel{false};
    std::vector<int> heard;
    const PairMembers members = PairMembersOf(
        {&pairing.motions[0], &pairing.motions[1]}, AnalysisSettings{}, 0.05, kPeriods,
        ScalingMeasure::RotD100,
        [&](int done, int total) {
            heard.push_back(done);
            EXPECT_EQ(total, 2);
            cancel = true;
        },
        &cancel);
    EXPECT_TRUE(members.cancelled);
    EXPECT_EQ(heard, std::vector<int>{1});
    ASSERT_EQ(members.members.size(), 1u);
    EXPECT_EQ(members.members.front().name, "a1.txt");
}

std::string Contents(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// Both components of a selected pair are written times the pair's factor, cut to the
// shorter component as the pair was rotated: 0.1 x 2 = 0.2, -0.4 x 2 = -0.8; H2's third
// sample is left out.
TEST(ScaledMotions, APairIsWrittenWithBothComponentsCutToTheShorter) {
    const fs::path folder = fs::temp_directory_path() / "scaled_pair_components";
    fs::remove_all(folder);
    fs::create_directories(folder);
    TimeHistory h1("h1.txt", 0.01), h2("h2.txt", 0.01);
    for (const double a : {0.1, 0.2}) {
        h1.AppendAcceleration(a);
    }
    for (const double a : {-0.4, 0.3, 0.9}) {
        h2.AppendAcceleration(a);
    }
    SuiteScaling scaling;
    scaling.scaled.resize(1);
    scaling.scaled[0].totalFactor = 2.0;
    scaling.scaled[0].selected = true;
    const std::vector<fs::path> written =
        WriteScaledMotions({MotionOfPair(h1, h2)}, scaling, folder);
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(written[0].filename().string(), "h1_x2.0000.AT2");
    EXPECT_EQ(written[1].filename().string(), "h2_x2.0000.AT2");
    EXPECT_NE(
        Contents(written[0]).find("NPTS=  2, DT=  0.01 SEC\r\n  0.2000000E+00  0.4000000E+00\r\n"),
        std::string::npos);
    const std::string second = Contents(written[1]);
    EXPECT_NE(second.find("NPTS=  2, DT=  0.01 SEC\r\n -0.8000000E+00  0.6000000E+00\r\n"),
              std::string::npos)
        << second;
    fs::remove_all(folder);
}

}  // namespace
}  // namespace travik
