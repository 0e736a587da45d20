#include "core/workspace/WorkspaceJson.h"

#include <gtest/gtest.h>

#include <string>

namespace travik {
namespace {

WorkspaceDocument TwoFileDocument() {
    WorkspaceDocument document;
    WorkspaceFileEntry free;
    free.path = "records/elcentro.txt";
    free.size = 12345;
    free.read.format = RecordFormat::Free;
    free.read.free.timeStep = 0.02;
    free.read.free.scalingFactor = 0.1;
    free.read.free.linesToSkip = 3;
    free.read.free.delimiter = Delimiter::Space;
    free.read.free.accelerationColumn = 2;
    free.read.free.decimalSeparator = ',';
    FilterSettings filter;
    filter.band = FilterBand::HighPass;
    filter.lowCorner = 0.07;
    filter.order = 2;
    filter.acausal = true;
    free.records.push_back({false, BaselineCorrectionType::Parabolic, filter});
    document.files.push_back(free);
    WorkspaceFileEntry peer;
    peer.path = "/data/peer/RSN6.AT2";
    peer.read.format = RecordFormat::PeerNga;
    peer.read.timeStepOverride = 0.005;
    peer.records.push_back({true, BaselineCorrectionType::Linear, std::nullopt});
    peer.records.push_back({true, BaselineCorrectionType::None, std::nullopt});
    document.files.push_back(peer);
    document.analysis.g = 981.0;
    document.analysis.maxPeriod = 4.0;
    document.analysis.method = IntegrationMethod::Newmark;
    document.analysis.beta = 1.0 / 6.0;
    document.dampingPercents = {-1.0, 0.0, 5.0, 7.3};
    document.figures = {{"axes", "log-log"}, {"statistics", "mean"}};
    return document;
}

TEST(WorkspaceJsonTest, ADocumentReadsBackAsItWasWritten) {
    const WorkspaceDocument written = TwoFileDocument();
    const WorkspaceReadResult read = ParseWorkspaceJson(WorkspaceToJson(written), "a.travik");
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_TRUE(read.warnings.empty());
    const WorkspaceDocument& document = *read.document;
    ASSERT_EQ(document.files.size(), 2U);
    const WorkspaceFileEntry& free = document.files[0];
    EXPECT_EQ(free.path, "records/elcentro.txt");
    EXPECT_EQ(free.size, std::optional<std::uintmax_t>(12345));
    EXPECT_EQ(free.read.format, RecordFormat::Free);
    EXPECT_EQ(free.read.free.timeStep, 0.02);
    EXPECT_EQ(free.read.free.scalingFactor, 0.1);
    EXPECT_EQ(free.read.free.linesToSkip, 3);
    EXPECT_EQ(free.read.free.delimiter, Delimiter::Space);
    EXPECT_EQ(free.read.free.accelerationColumn, 2);
    EXPECT_EQ(free.read.free.decimalSeparator, ',');
    EXPECT_FALSE(free.read.timeStepOverride.has_value());
    EXPECT_EQ(free.records, written.files[0].records);
    const WorkspaceFileEntry& peer = document.files[1];
    EXPECT_EQ(peer.read.format, RecordFormat::PeerNga);
    EXPECT_EQ(peer.read.timeStepOverride, std::optional<double>(0.005));
    EXPECT_FALSE(peer.size.has_value());
    EXPECT_EQ(peer.records, written.files[1].records);
    EXPECT_EQ(document.analysis.g, 981.0);
    EXPECT_EQ(document.analysis.maxPeriod, 4.0);
    EXPECT_EQ(document.analysis.method, IntegrationMethod::Newmark);
    // Every digit of a double survives the text.
    EXPECT_EQ(document.analysis.beta, 1.0 / 6.0);
    EXPECT_EQ(document.dampingPercents, written.dampingPercents);
    EXPECT_EQ(document.figures, written.figures);
}

TEST(WorkspaceJsonTest, TheTextCarriesTheMarkerAndTheVersionFirst) {
    const std::string text = WorkspaceToJson(WorkspaceDocument{});
    EXPECT_EQ(text.rfind("{\n  \"format\": \"travik-workspace\",\n  \"version\": 1,", 0), 0U)
        << text;
    EXPECT_EQ(text.back(), '\n');
}

TEST(WorkspaceJsonTest, AMinimalWorkspaceTakesTheProgramDefaults) {
    const WorkspaceReadResult read = ParseWorkspaceJson(
        R"({"format": "travik-workspace", "version": 1, "files": [{"path": "a.txt"}]})",
        "m.travik");
    ASSERT_TRUE(read.ok()) << read.error;
    const WorkspaceDocument& document = *read.document;
    EXPECT_EQ(document.analysis.g, 980.0);
    EXPECT_EQ(document.analysis.minPeriod, 0.02);
    EXPECT_EQ(document.analysis.maxPeriod, 6.0);
    EXPECT_EQ(document.dampingPercents.size(), 9U);
    EXPECT_EQ(document.dampingPercents[0], 5.0);
    EXPECT_EQ(document.files[0].read.free.timeStep, 0.01);
    EXPECT_TRUE(document.files[0].records.empty());
}

struct RefusedCase {
    const char* text;
    const char* expected;  // the message after "Cannot open the workspace w.travik: "
};

TEST(WorkspaceJsonTest, BadWorkspacesAreRefusedNamingTheFileAndTheField) {
    const RefusedCase cases[] = {
        {"{\"format\": \"travik-workspace\", \"version\": 1", "it is not valid JSON"},
        {"", "it is not valid JSON"},
        {"[1, 2]", "it is not an object"},
        {R"({"version": 1})", "it lacks \"format\": \"travik-workspace\""},
        {R"({"format": "other", "version": 1})", "it lacks \"format\": \"travik-workspace\""},
        {R"({"format": "travik-workspace"})", "version is missing"},
        {R"({"format": "travik-workspace", "version": "1"})",
         "its \"version\" is not a whole number from 1 up"},
        {R"({"format": "travik-workspace", "version": 1.5})",
         "its \"version\" is not a whole number from 1 up"},
        {R"({"format": "travik-workspace", "version": 1, "files": {}})", "files is not a list"},
        {R"({"format": "travik-workspace", "version": 1, "files": [{"size": 3}]})",
         "files[0].path is missing or empty"},
        {R"({"format": "travik-workspace", "version": 1, "files": [{"path": "a", "size": -3}]})",
         "files[0].size is not a whole number of bytes"},
        {R"({"format": "travik-workspace", "version": 1,
             "files": [{"path": "a", "reading": {"format": "wav"}}]})",
         "files[0].reading.format \"wav\" is no record format"},
        {R"({"format": "travik-workspace", "version": 1,
             "files": [{"path": "a", "reading": {"linesToSkip": 101}}]})",
         "files[0].reading.linesToSkip is not a whole number from 0 to 100"},
        {R"({"format": "travik-workspace", "version": 1,
             "files": [{"path": "a", "records": [{"baseline": "cubic"}]}]})",
         "files[0].records[0].baseline is not one of the values it may take"},
        {R"({"format": "travik-workspace", "version": 1,
             "files": [{"path": "a", "records": [{"filter": {"order": 9}}]}]})",
         "files[0].records[0].filter.order is not a whole number from 1 to 8"},
        {R"({"format": "travik-workspace", "version": 1, "analysis": {"g": "980"}})",
         "analysis.g is not a finite number"},
        {R"({"format": "travik-workspace", "version": 1, "damping": [5, 100]})",
         "damping holds a value that is not a percentage below 100"},
        {R"({"format": "travik-workspace", "version": 1, "damping": []})",
         "damping is not a list of 1 to 9 values"},
        {R"({"format": "travik-workspace", "version": 1, "figures": {"axes": 3}})",
         "figures.axes is not a text"},
    };
    for (const RefusedCase& refused : cases) {
        const WorkspaceReadResult read = ParseWorkspaceJson(refused.text, "w.travik");
        EXPECT_FALSE(read.ok()) << refused.text;
        EXPECT_EQ(read.error,
                  std::string("Cannot open the workspace w.travik: ") + refused.expected)
            << refused.text;
    }
}

TEST(WorkspaceJsonTest, ValuesTheWindowsRefuseAreRefusedWithTheirMessages) {
    const WorkspaceReadResult step = ParseWorkspaceJson(
        R"({"format": "travik-workspace", "version": 1,
            "files": [{"path": "a", "reading": {"timeStep": 0}}]})",
        "w.travik");
    ASSERT_FALSE(step.ok());
    EXPECT_EQ(step.error, std::string("Cannot open the workspace w.travik: files[0].reading: ") +
                              kTimeStepNotPositiveMessage);
    const WorkspaceReadResult override = ParseWorkspaceJson(
        R"({"format": "travik-workspace", "version": 1,
            "files": [{"path": "a", "reading": {"timeStepOverride": -1}}]})",
        "w.travik");
    EXPECT_EQ(override.error,
              "Cannot open the workspace w.travik: "
              "files[0].reading.timeStepOverride: the time step must be greater "
              "than zero");
    const WorkspaceReadResult gravity = ParseWorkspaceJson(
        R"({"format": "travik-workspace", "version": 1, "analysis": {"g": 0}})", "w.travik");
    ASSERT_FALSE(gravity.ok());
    EXPECT_EQ(gravity.error, std::string("Cannot open the workspace w.travik: analysis.g: ") +
                                 kGravityNotPositiveMessage);
    const WorkspaceReadResult periods = ParseWorkspaceJson(
        R"({"format": "travik-workspace", "version": 1,
            "analysis": {"minPeriod": 3, "maxPeriod": 2}})",
        "w.travik");
    EXPECT_FALSE(periods.ok());
    EXPECT_EQ(periods.error.rfind("Cannot open the workspace w.travik: analysis: ", 0), 0U);
}

TEST(WorkspaceJsonTest, ALaterVersionWithUnknownFieldsOpensWithAWarning) {
    const WorkspaceReadResult read = ParseWorkspaceJson(
        R"({"format": "travik-workspace", "version": 3, "pairs": [],
            "files": [{"path": "a.txt", "rotation": 45}], "damping": [5]})",
        "new.travik");
    ASSERT_TRUE(read.ok()) << read.error;
    ASSERT_EQ(read.warnings.size(), 1U);
    EXPECT_EQ(read.warnings[0],
              "The workspace new.travik was written by a later version of TRAVIK (workspace "
              "version 3); what this version does not know is ignored: files[0].rotation, "
              "pairs");
    EXPECT_EQ(read.document->files[0].path, "a.txt");
    EXPECT_EQ(read.document->dampingPercents, std::vector<double>{5.0});
}

TEST(WorkspaceJsonTest, UnknownFieldsOfThisVersionAreNamedInAWarning) {
    const WorkspaceReadResult read = ParseWorkspaceJson(
        R"({"format": "travik-workspace", "version": 1, "colour": "red"})", "w.travik");
    ASSERT_TRUE(read.ok());
    ASSERT_EQ(read.warnings.size(), 1U);
    EXPECT_EQ(read.warnings[0],
              "The workspace w.travik holds fields this version ignores: "
              "colour");
}

}  // namespace
}  // namespace travik
