// Which records of the files read form the two horizontal components of a motion.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/rotation/ComponentPairs.h"

namespace travik {
namespace {

// Records made by hand, kept alive for the pairing's pointers.
class Records {
  public:
    TimeHistory* Make(const std::string& name, const std::string& orientation, int samples = 4,
                      double timeStep = 0.01) {
        auto record = std::make_unique<TimeHistory>(name, timeStep);
        for (int i = 0; i < samples; ++i) {
            record->AppendAcceleration(0.01 * i);
        }
        record->SetOrientation(orientation);
        made_.push_back(std::move(record));
        return made_.back().get();
    }

  private:
    std::vector<std::unique_ptr<TimeHistory>> made_;
};

TEST(ComponentPairs, SingleComponentFilesAreTakenTwoByTwoInOrder) {
    Records r;
    const auto* a = r.Make("a.AT2", "360");
    const auto* b = r.Make("b.AT2", "90");
    const auto* c = r.Make("c.txt", "");
    const auto* d = r.Make("d.txt", "");
    const ComponentPairing pairing =
        PairComponents({{"a.AT2", {a}}, {"b.AT2", {b}}, {"c.txt", {c}}, {"d.txt", {d}}});
    EXPECT_FALSE(pairing.unpaired);
    ASSERT_EQ(pairing.motions.size(), 2u);
    const ComponentPair& first = pairing.motions[0];
    EXPECT_EQ(first.h1, a);
    EXPECT_EQ(first.h2, b);
    EXPECT_EQ(first.firstFile, 0u);
    ASSERT_TRUE(first.AzimuthsKnown());
    EXPECT_EQ(*first.azimuth1, 0);
    EXPECT_EQ(*first.azimuth2, 90);
    EXPECT_FALSE(first.refusal);
    EXPECT_TRUE(first.warnings.empty());
    const ComponentPair& second = pairing.motions[1];
    EXPECT_EQ(second.h1, c);
    EXPECT_EQ(second.h2, d);
    EXPECT_EQ(second.firstFile, 2u);
    EXPECT_FALSE(second.azimuth1);
    EXPECT_FALSE(second.refusal);
}

TEST(ComponentPairs, AFileOfSeveralChannelsIsOneMotionWithoutItsVertical) {
    Records r;
    const auto* up = r.Make("W_ch1_Up", "Up");
    const auto* ew = r.Make("W_ch2_090", "90 Deg");
    const auto* ns = r.Make("W_ch3_360", "360 Deg");
    const auto* single1 = r.Make("s1.AT2", "");
    const auto* single2 = r.Make("s2.AT2", "");
    // A single-component file waiting for its partner is not disturbed by a whole motion.
    const ComponentPairing pairing =
        PairComponents({{"s1.AT2", {single1}}, {"W.V2", {up, ew, ns}}, {"s2.AT2", {single2}}});
    ASSERT_EQ(pairing.motions.size(), 2u);
    const ComponentPair& channels = pairing.motions[0];
    EXPECT_EQ(channels.h1, ew);  // the first horizontal channel in the file's order
    EXPECT_EQ(channels.h2, ns);
    EXPECT_EQ(channels.firstFile, 1u);
    EXPECT_EQ(*channels.azimuth1, 90);
    EXPECT_EQ(*channels.azimuth2, 0);
    EXPECT_FALSE(channels.refusal);
    EXPECT_EQ(pairing.motions[1].h1, single1);
    EXPECT_EQ(pairing.motions[1].h2, single2);
    EXPECT_EQ(pairing.motions[1].firstFile, 0u);
}

TEST(ComponentPairs, BroadbandPlatformChannelsPairNorthAndEast) {
    Records r;
    const auto* ns = r.Make("sim_ch1_N-S", "N-S");
    const auto* ew = r.Make("sim_ch2_E-W", "E-W");
    const auto* ud = r.Make("sim_ch3_U-D", "U-D");
    const ComponentPairing pairing = PairComponents({{"sim.bbp", {ns, ew, ud}}});
    ASSERT_EQ(pairing.motions.size(), 1u);
    EXPECT_EQ(pairing.motions[0].h1, ns);
    EXPECT_EQ(pairing.motions[0].h2, ew);
    EXPECT_FALSE(pairing.motions[0].refusal);
}

TEST(ComponentPairs, DifferentTimeStepsRefuseThatMotionOnly) {
    Records r;
    const auto* a = r.Make("a.txt", "", 4, 0.01);
    const auto* b = r.Make("b.txt", "", 4, 0.005);
    const auto* c = r.Make("c.txt", "", 4, 0.01);
    const auto* d = r.Make("d.txt", "", 4, 0.01);
    const ComponentPairing pairing =
        PairComponents({{"a.txt", {a}}, {"b.txt", {b}}, {"c.txt", {c}}, {"d.txt", {d}}});
    ASSERT_EQ(pairing.motions.size(), 2u);
    ASSERT_TRUE(pairing.motions[0].refusal);
    EXPECT_EQ(*pairing.motions[0].refusal,
              "Components have different time steps: 0.01 s and 0.005 s");
    EXPECT_FALSE(pairing.motions[1].refusal);
}

TEST(ComponentPairs, DifferentLengthsAreCutToTheShorterWithAWarning) {
    Records r;
    const auto* a = r.Make("a.txt", "", 16396);
    const auto* b = r.Make("b.txt", "", 16000);
    const ComponentPairing pairing = PairComponents({{"a.txt", {a}}, {"b.txt", {b}}});
    ASSERT_EQ(pairing.motions.size(), 1u);
    EXPECT_FALSE(pairing.motions[0].refusal);
    ASSERT_EQ(pairing.motions[0].warnings.size(), 1u);
    EXPECT_EQ(pairing.motions[0].warnings[0],
              "Components have different lengths: 16396 and 16000 samples; both are cut to "
              "the shorter, 16000 samples");
}

TEST(ComponentPairs, OnlyOneCorrectedComponentIsSaidToBeRotatedAsRead) {
    Records r;
    const auto* a = r.Make("a.txt", "");
    auto* b = r.Make("b.txt", "");
    b->SetCorrected(true);
    const ComponentPairing pairing = PairComponents({{"a.txt", {a}}, {"b.txt", {b}}});
    ASSERT_EQ(pairing.motions.size(), 1u);
    EXPECT_FALSE(pairing.motions[0].refusal);
    ASSERT_EQ(pairing.motions[0].warnings.size(), 1u);
    EXPECT_EQ(pairing.motions[0].warnings[0],
              "Only H2 is baseline-corrected or filtered: both components are rotated as read");
}

TEST(ComponentPairs, KnownAzimuthsMustBeAtRightAnglesWithinOneDegree) {
    Records r;
    const auto* a = r.Make("a.AT2", "0");
    const auto* b = r.Make("b.AT2", "45");
    const auto* c = r.Make("c.AT2", "10");
    const auto* d = r.Make("d.AT2", "281");
    const auto* e = r.Make("e.AT2", "10");
    const auto* f = r.Make("f.AT2", "");  // unknown: taken as given
    const ComponentPairing pairing =
        PairComponents({{"a", {a}}, {"b", {b}}, {"c", {c}}, {"d", {d}}, {"e", {e}}, {"f", {f}}});
    ASSERT_EQ(pairing.motions.size(), 3u);
    ASSERT_TRUE(pairing.motions[0].refusal);
    EXPECT_EQ(*pairing.motions[0].refusal,
              "Components are not at right angles: azimuths 0 degrees and 45 degrees "
              "(rotation needs two horizontal components 90 +/- 1 degrees apart)");
    EXPECT_FALSE(pairing.motions[1].refusal);  // 10 and 281: 89 degrees the other way
    EXPECT_FALSE(pairing.motions[2].refusal);
    EXPECT_FALSE(pairing.motions[2].AzimuthsKnown());
}

TEST(ComponentPairs, AVerticalSingleComponentIsRefused) {
    Records r;
    const auto* a = r.Make("X.NS", "N-S");
    const auto* b = r.Make("X.UD", "U-D");
    const ComponentPairing pairing = PairComponents({{"X.NS", {a}}, {"X.UD", {b}}});
    ASSERT_EQ(pairing.motions.size(), 1u);
    ASSERT_TRUE(pairing.motions[0].refusal);
    EXPECT_EQ(*pairing.motions[0].refusal,
              "The component X.UD is vertical (U-D): a pair needs two horizontal components");
}

TEST(ComponentPairs, AFileOfChannelsWithoutTwoHorizontalsIsRefused) {
    Records r;
    const auto* a = r.Make("F_ch1", "");
    const auto* b = r.Make("F_ch2", "");
    const auto* c = r.Make("F_ch3", "");
    const ComponentPairing pairing = PairComponents({{"F.v2", {a, b, c}}});
    ASSERT_EQ(pairing.motions.size(), 1u);
    ASSERT_TRUE(pairing.motions[0].refusal);
    EXPECT_EQ(*pairing.motions[0].refusal,
              "The file holds 3 channels of which 3 horizontal: a pair needs exactly two "
              "horizontal channels");
    EXPECT_EQ(pairing.motions[0].h1, a);
}

TEST(ComponentPairs, AnOddNumberOfSingleComponentFilesNamesTheLast) {
    Records r;
    const auto* a = r.Make("a.txt", "");
    const auto* b = r.Make("b.txt", "");
    const auto* w1 = r.Make("W_ch1", "90 Deg");
    const auto* w2 = r.Make("W_ch2", "360 Deg");
    const auto* c = r.Make("c.txt", "");
    const ComponentPairing pairing = PairComponents(
        {{"in/a.txt", {a}}, {"in/b.txt", {b}}, {"in/W.V2", {w1, w2}}, {"in/c.txt", {c}}});
    ASSERT_TRUE(pairing.unpaired);
    EXPECT_EQ(*pairing.unpaired,
              "An odd number of single-component files: in/c.txt has no second horizontal "
              "component");
    EXPECT_EQ(pairing.motions.size(), 2u);
    EXPECT_EQ(pairing.files.size(), 4u);
}

}  // namespace
}  // namespace travik
