#include <gtest/gtest.h>

#include <limits>

#include "app/core/json.h"
#include "app/core/project.h"

namespace rallinox {
namespace {

Project readText(const std::string& text) { return projectFromJson(JsonValue::parse(text)); }

Project fullProject() {
    Project p;
    p.id = "p1700000000123";
    p.name = "\xd0\x9c\xd0\xb0\xd1\x82\xd1\x87 \"final\"";
    p.videoPath = "/home/user/Videos/match 1.mp4";
    p.videoDurationSec = 5400.25;
    p.videoFps = 29.97002997002997;
    p.videoWidth = 1920;
    p.videoHeight = 1080;
    p.createdUnix = 1700000000;
    p.state = ProjectState::Ready;
    p.settings = {1.2000000476837158, 2.5, 0.75};
    p.rallies = {
        {3, 10.5, 20.25, "", "", true, Winner::None, false},
        {1, 30.0, 41.0, "Ace", "manual", false, Winner::Home, true},
        {7, 50.1, 60.2, "", "split", true, Winner::Away, false},
    };
    p.hints = {
        {HintKind::Missed, 1, 2, 0, false},
        {HintKind::Doubtful, 3, 4, 0, true},
        {HintKind::Joined, 5, 9, 7.5, false},
    };
    p.stats = {120.5, 90.25, 162000, 1795.5, 44.8, "software"};
    p.match = {"Lions", "Tigers", 3, 21, 15, 1, false};
    p.nextRallyId = 8;
    return p;
}

TEST(ProjectFile, EmptyObjectReadsAsDefaults) {
    const Project p = readText("{}");
    EXPECT_EQ(p, Project{});
    EXPECT_EQ(p.name, "");
    EXPECT_EQ(p.state, ProjectState::New);
    EXPECT_TRUE(p.rallies.empty());
    EXPECT_EQ(p.settings.startPaddingSec, 1.5);
    EXPECT_EQ(p.settings.endPaddingSec, 3.0);
    EXPECT_EQ(p.settings.minRallySec, 1.5);
    EXPECT_EQ(p.match.homeName, "Home");
    EXPECT_EQ(p.match.awayName, "Away");
    EXPECT_EQ(p.match.bestOf, 5);
    EXPECT_EQ(p.match.setPoints, 25);
    EXPECT_EQ(p.match.decidingSetPoints, 15);
    EXPECT_EQ(p.match.winBy, 2);
    EXPECT_TRUE(p.match.homeOnLeft);
    EXPECT_EQ(p.nextRallyId, 1);
}

TEST(ProjectFile, NonObjectDocumentsReadAsDefaults) {
    EXPECT_EQ(readText("[]"), Project{});
    EXPECT_EQ(readText("42"), Project{});
    EXPECT_EQ(readText("null"), Project{});
}

TEST(ProjectFile, WriteThenReadGivesAnEqualProject) {
    const Project original = fullProject();  // rallies already sorted by start
    EXPECT_EQ(projectFromJson(JsonValue::parse(projectToJson(original).dump(2))), original);
    EXPECT_EQ(projectFromJson(JsonValue::parse(projectToJson(Project{}).dump(2))), Project{});
}

TEST(ProjectFile, WrittenDocumentLayout) {
    Project p;
    p.id = "p1";
    p.rallies = {{1, 2, 3, "", "", true, Winner::None, false}};
    p.nextRallyId = 2;
    EXPECT_EQ(projectToJson(p).dump(2),
              "{\n"
              "  \"createdUnix\": 0,\n"
              "  \"hints\": [],\n"
              "  \"id\": \"p1\",\n"
              "  \"match\": {\n"
              "    \"awayName\": \"Away\",\n"
              "    \"bestOf\": 5,\n"
              "    \"decidingSetPoints\": 15,\n"
              "    \"homeName\": \"Home\",\n"
              "    \"homeOnLeft\": true,\n"
              "    \"setPoints\": 25,\n"
              "    \"winBy\": 2\n"
              "  },\n"
              "  \"name\": \"\",\n"
              "  \"nextRallyId\": 2,\n"
              "  \"rallies\": [\n"
              "    {\n"
              "      \"endSec\": 3,\n"
              "      \"id\": 1,\n"
              "      \"name\": \"\",\n"
              "      \"selected\": true,\n"
              "      \"source\": \"\",\n"
              "      \"startSec\": 2\n"
              "    }\n"
              "  ],\n"
              "  \"settings\": {\n"
              "    \"endPaddingSec\": 3,\n"
              "    \"minRallySec\": 1.5,\n"
              "    \"startPaddingSec\": 1.5\n"
              "  },\n"
              "  \"state\": \"new\",\n"
              "  \"version\": 1,\n"
              "  \"videoDurationSec\": 0,\n"
              "  \"videoFps\": 0,\n"
              "  \"videoHeight\": 0,\n"
              "  \"videoPath\": \"\",\n"
              "  \"videoWidth\": 0\n"
              "}");
}

TEST(ProjectFile, OptionalKeysAreWrittenOnlyWhenMeaningful) {
    const JsonValue doc = projectToJson(fullProject());
    const JsonValue& rallies = doc.get("rallies");
    EXPECT_EQ(rallies.at(0).get("winner").kind(), JsonKind::Null);
    EXPECT_EQ(rallies.at(0).get("setStart").kind(), JsonKind::Null);
    EXPECT_EQ(rallies.at(1).get("winner").asString(""), "home");
    EXPECT_EQ(rallies.at(1).get("setStart").asBool(false), true);
    EXPECT_EQ(rallies.at(2).get("winner").asString(""), "away");
    EXPECT_EQ(doc.get("stats").get("decoder").asString(""), "software");
    EXPECT_EQ(doc.get("hints").at(2).get("kind").asString(""), "joined");

    Project noStats = fullProject();
    noStats.stats.totalSec = 0;
    EXPECT_EQ(projectToJson(noStats).get("stats").kind(), JsonKind::Null);
}

TEST(ProjectFile, RalliesAreReadAsTheyStandWithIdsDefaultingToTheirPosition) {
    const Project p = readText("{\"rallies\": [{\"startSec\": 9}, {\"startSec\": 3}], \"nextRallyId\": -4}");
    ASSERT_EQ(p.rallies.size(), 2u);
    EXPECT_EQ(p.rallies[0].startSec, 9);
    EXPECT_EQ(p.rallies[0].id, 1);
    EXPECT_EQ(p.rallies[1].startSec, 3);
    EXPECT_EQ(p.rallies[1].id, 2);
    EXPECT_EQ(p.nextRallyId, -4);
    EXPECT_EQ(readText("{\"rallies\": [{\"id\": 1e300}]}").rallies[0].id, std::numeric_limits<int64_t>::max());
}

TEST(ProjectFile, MatchRulesAreKeptInRange) {
    const auto match = [](const std::string& body) { return readText("{\"match\": {" + body + "}}").match; };
    EXPECT_EQ(match("\"bestOf\": 7").bestOf, 5);
    EXPECT_EQ(match("\"bestOf\": 3").bestOf, 3);
    EXPECT_EQ(match("\"bestOf\": 1.9").bestOf, 1);
    EXPECT_EQ(match("\"setPoints\": 3").setPoints, 5);
    EXPECT_EQ(match("\"setPoints\": 99").setPoints, 50);
    EXPECT_EQ(match("\"decidingSetPoints\": 51").decidingSetPoints, 50);
    EXPECT_EQ(match("\"winBy\": 0").winBy, 1);
    EXPECT_EQ(match("\"winBy\": 3").winBy, 2);
    EXPECT_EQ(match("\"setPoints\": 1e30").setPoints, 50);
    EXPECT_EQ(match("\"homeName\": 5, \"homeOnLeft\": 0").homeName, "Home");
    EXPECT_TRUE(match("\"homeOnLeft\": 0").homeOnLeft);
}

TEST(ProjectFile, TolerantFieldReading) {
    const Project p = readText(
        "{\"state\": \"analysing\", \"videoWidth\": 1920.7, \"videoHeight\": \"1080\", \"settings\": {\"endPaddingSec\": 2},"
        " \"rallies\": [{\"selected\": 0, \"winner\": \"HOME\", \"setStart\": 1, \"name\": null}, 5],"
        " \"hints\": [{\"kind\": \"other\", \"done\": true}, {\"kind\": \"doubtful\"}], \"stats\": [1]}");
    EXPECT_EQ(p.state, ProjectState::New);
    EXPECT_EQ(p.videoWidth, 1920);
    EXPECT_EQ(p.videoHeight, 0);
    EXPECT_EQ(p.settings.startPaddingSec, 1.5);
    EXPECT_EQ(p.settings.endPaddingSec, 2);
    ASSERT_EQ(p.rallies.size(), 2u);
    const Rally& odd = p.rallies[0].id == 1 ? p.rallies[0] : p.rallies[1];
    EXPECT_TRUE(odd.selected);
    EXPECT_EQ(odd.winner, Winner::None);
    EXPECT_FALSE(odd.setStart);
    EXPECT_EQ(odd.name, "");
    ASSERT_EQ(p.hints.size(), 2u);
    EXPECT_EQ(p.hints[0].kind, HintKind::Missed);
    EXPECT_TRUE(p.hints[0].done);
    EXPECT_EQ(p.hints[1].kind, HintKind::Doubtful);
    EXPECT_EQ(p.stats, AnalysisStats{});
    EXPECT_EQ(readText("{\"rallies\": {\"id\": 3}}").rallies.size(), 0u);
}

TEST(ProjectFile, StateNames) {
    EXPECT_STREQ(stateName(ProjectState::New), "new");
    EXPECT_STREQ(stateName(ProjectState::Analysing), "analysing");
    EXPECT_STREQ(stateName(ProjectState::Ready), "ready");
    EXPECT_STREQ(stateName(ProjectState::Failed), "failed");
    EXPECT_STREQ(stateName(static_cast<ProjectState>(9)), "new");
    EXPECT_EQ(stateFromName("ready"), ProjectState::Ready);
    EXPECT_EQ(stateFromName("failed"), ProjectState::Failed);
    EXPECT_EQ(stateFromName("Ready"), ProjectState::New);
    EXPECT_EQ(readText("{\"state\": \"ready\"}").state, ProjectState::Ready);
    EXPECT_EQ(readText("{\"state\": \"failed\"}").state, ProjectState::Failed);
}

TEST(ProjectFile, RallyDisplayName) {
    Rally rally;
    EXPECT_EQ(rallyDisplayName(rally, 0), "Rally 1");
    EXPECT_EQ(rallyDisplayName(rally, 41), "Rally 42");
    rally.name = "Long one";
    EXPECT_EQ(rallyDisplayName(rally, 3), "Long one");
}

}  // namespace
}  // namespace rallinox
