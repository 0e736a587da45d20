// Orientations of channels as the record headers write them, and the azimuth of a
// rotated component.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/records/RecordFileReader.h"
#include "core/rotation/ComponentOrientation.h"

namespace travik {
namespace {

struct OrientationCase {
    std::string text;
    bool vertical;
    double azimuth;  // negative: unknown
};

TEST(ComponentOrientation, HeaderTextsGiveAzimuthOrVertical) {
    const std::vector<OrientationCase> cases{
        {"90 Deg", false, 90},
        {"360 Deg", false, 0},
        {"340 deg", false, 340},
        {"360", false, 0},
        {"090", false, 90},
        {" 180 ", false, 180},
        {"22.5", false, 22.5},
        {"S69E", false, 111},
        {"N21W", false, 339},
        {"S00W", false, 180},
        {"N 45 E", false, 45},
        {"N-S", false, 0},
        {"E-W", false, 90},
        {"HNE", false, 90},
        {"HNN", false, 0},
        {"4 (N-S, surface)", false, 0},
        {"5 (E-W, surface)", false, 90},
        {"Up", true, -1},
        {"U-D", true, -1},
        {"UP", true, -1},
        {"Down", true, -1},
        {"Vert", true, -1},
        {"V", true, -1},
        {"HNZ", true, -1},
        {"6 (U-D, surface)", true, -1},
        {"", false, -1},
        {"H1", false, -1},
        {"FN", false, -1},
        {"Other", false, -1},
        {"400", false, -1},
        {"-90", false, -1},
        {"90 feet", false, -1},
        {"N95E", false, -1},
    };
    for (const OrientationCase& c : cases) {
        SCOPED_TRACE("\"" + c.text + "\"");
        const ComponentOrientation orientation = ReadComponentOrientation(c.text);
        EXPECT_EQ(orientation.vertical, c.vertical);
        if (c.azimuth < 0) {
            EXPECT_FALSE(orientation.azimuth.has_value());
        } else {
            ASSERT_TRUE(orientation.azimuth.has_value());
            EXPECT_DOUBLE_EQ(*orientation.azimuth, c.azimuth);
        }
    }
}

TEST(ComponentOrientation, RightAnglesWithinOneDegreeEitherWay) {
    EXPECT_TRUE(AtRightAngles(0, 90));
    EXPECT_TRUE(AtRightAngles(90, 0));
    EXPECT_TRUE(AtRightAngles(360, 90));
    EXPECT_TRUE(AtRightAngles(0, 270));
    EXPECT_TRUE(AtRightAngles(340, 70));
    EXPECT_TRUE(AtRightAngles(10, 101));
    EXPECT_TRUE(AtRightAngles(10, 279));
    EXPECT_FALSE(AtRightAngles(10, 101.5));
    EXPECT_FALSE(AtRightAngles(0, 45));
    EXPECT_FALSE(AtRightAngles(0, 180));
    EXPECT_FALSE(AtRightAngles(0, 0));
}

TEST(ComponentOrientation, RotatedAzimuthTurnsFromH1TowardsH2) {
    // H1 north, H2 east: the angle is the azimuth.
    EXPECT_DOUBLE_EQ(RotatedAzimuth(0, 90, 0), 0);
    EXPECT_DOUBLE_EQ(RotatedAzimuth(0, 90, 30), 30);
    EXPECT_DOUBLE_EQ(RotatedAzimuth(360, 90, 135), 135);
    // H1 east, H2 north (anticlockwise of it): 30 degrees towards north is azimuth 60.
    EXPECT_DOUBLE_EQ(RotatedAzimuth(90, 0, 30), 60);
    EXPECT_DOUBLE_EQ(RotatedAzimuth(90, 0, 120), 150);
    // A direction has two ends: azimuths are given from 0 to below 180.
    EXPECT_DOUBLE_EQ(RotatedAzimuth(340, 70, 50), 30);
    EXPECT_DOUBLE_EQ(RotatedAzimuth(90, 180, 90), 0);
    EXPECT_DOUBLE_EQ(RotatedAzimuth(180, 270, 0), 0);
}

// The readers hand the header's orientation text on to the records they make.
TEST(ComponentOrientation, ReadersKeepTheHeadersOrientationOfEveryChannel) {
    struct FileCase {
        std::string file;
        std::vector<std::string> orientations;
    };
    const std::vector<FileCase> cases{
        {"formats/peer/RSN8883_14383980_13849360.AT2", {"360"}},
        {"formats/peer/RSN8883_14383980_13849090.AT2", {"90"}},
        {"formats/csmip/CIWLT.V2", {"90 Deg", "360 Deg", "Up"}},
        {"formats/knet/CHB0031412312349.EW", {"E-W"}},
        {"formats/knet/CHB0031412312349.UD", {"U-D"}},
        {"formats/smc/0111a.smc", {"360"}},
        {"formats/cosmos/Cosmos12TimeSeriesTest.v1", {"340 deg"}},
        {"formats/bbp/synthetic-pulse.bbp", {"N-S", "E-W", "U-D"}},
    };
    RecordReadOptions options;
    options.format = RecordFormat::Automatic;
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = std::string(TRAVIK_SAMPLE_DATA_DIR) + "/" + c.file;
        const RecordFileResult result = ReadRecordFile(path, options);
        ASSERT_TRUE(result.ok()) << result.message;
        ASSERT_EQ(result.records.size(), c.orientations.size());
        for (std::size_t i = 0; i < c.orientations.size(); ++i) {
            EXPECT_EQ(result.records[i].orientation, c.orientations[i]);
        }
        // ... and an import keeps it with the record.
        RecordList records;
        ASSERT_TRUE(ImportRecordFilesAs({path}, options, 981.0, records, nullptr, nullptr));
        ASSERT_EQ(records.Count(), static_cast<int>(c.orientations.size()));
        for (int i = 0; i < records.Count(); ++i) {
            EXPECT_EQ(records.At(i).Orientation(), c.orientations[static_cast<std::size_t>(i)]);
        }
    }
}

}  // namespace
}  // namespace travik
