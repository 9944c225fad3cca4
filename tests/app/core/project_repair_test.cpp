// Project files with absurd times and ids, read through the store as the
// application reads them.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

#include "app/core/log.h"
#include "app/core/project_repair.h"
#include "app/core/project_store.h"
#include "edit/rally_editor.h"
#include "tests/support/temp_dir.h"

namespace rallinox {
namespace {

namespace fs = std::filesystem;

class RepairOnLoad : public ::testing::Test {
protected:
    void SetUp() override { openLog(dir / "rallinox.log"); }
    void TearDown() override { closeLog(); }

    // Writes project.json of project "p1" with the given rallies (JSON objects).
    void writeProject(double videoDurationSec, const std::string& rallies, const std::string& more = "") {
        fs::create_directories(store.projectDir("p1"));
        fileText = "{\"videoDurationSec\": " + std::to_string(videoDurationSec) + ", \"rallies\": [" + rallies +
                   "]" + more + "}";
        test::writeFile(store.projectFile("p1"), fileText);
    }

    Project load() {
        std::optional<Project> project = store.load("p1");
        EXPECT_TRUE(project);
        return project.value_or(Project{});
    }

    std::string log() const { return test::readFile(dir / "rallinox.log"); }

    // Every rule the editor and the drawing rely on.
    static void expectSound(const Project& project) {
        const double videoEnd = project.videoDurationSec > 0 ? project.videoDurationSec : kLongestVideoSec;
        std::set<int64_t> ids;
        for (size_t i = 0; i < project.rallies.size(); ++i) {
            const Rally& rally = project.rallies[i];
            EXPECT_TRUE(std::isfinite(rally.startSec) && std::isfinite(rally.endSec));
            EXPECT_GE(rally.startSec, 0);
            EXPECT_LE(rally.endSec, videoEnd);
            EXPECT_LT(rally.startSec, rally.endSec);
            if (i > 0) {
                EXPECT_LE(project.rallies[i - 1].endSec, rally.startSec) << "rally " << i << " overlaps";
            }
            EXPECT_GT(rally.id, 0);
            EXPECT_LT(rally.id, project.nextRallyId);
            EXPECT_TRUE(ids.insert(rally.id).second) << "id " << rally.id << " repeats";
        }
        EXPECT_LT(project.nextRallyId, kRallyIdLimit);
    }

    test::TempDir dir;
    ProjectStore store{dir / "projects"};
    std::string fileText;
};

TEST_F(RepairOnLoad, AbsurdTimesAreMendedLoggedAndTheFileKept) {
    writeProject(3600,
                 "{\"id\": 1, \"startSec\": 1e16, \"endSec\": 1.0000000000000002e16},"
                 "{\"id\": 2, \"startSec\": 3000, \"endSec\": 1e7},"
                 "{\"id\": 3, \"startSec\": 50, \"endSec\": 40},"
                 "{\"id\": 4, \"startSec\": 45, \"endSec\": 60},"
                 "{\"id\": 5, \"startSec\": -1e300, \"endSec\": -1e299},"
                 "{\"id\": 6, \"startSec\": -5, \"endSec\": 8}");
    const Project project = load();
    expectSound(project);
    ASSERT_EQ(project.rallies.size(), 4u);
    EXPECT_EQ(project.rallies[0].id, 6);
    EXPECT_EQ(project.rallies[0].startSec, 0);
    EXPECT_EQ(project.rallies[1].id, 3);
    EXPECT_EQ(project.rallies[1].startSec, 40);
    EXPECT_EQ(project.rallies[1].endSec, 50);
    EXPECT_EQ(project.rallies[2].id, 4);
    EXPECT_EQ(project.rallies[2].startSec, 50);
    EXPECT_EQ(project.rallies[3].id, 2);
    EXPECT_EQ(project.rallies[3].endSec, 3600);
    EXPECT_NE(log().find("[error] project p1 repaired on load: "), std::string::npos) << log();
    EXPECT_NE(log().find("1 x rally end past the video's end moved to its end"), std::string::npos) << log();
    EXPECT_EQ(test::readFile(store.projectFile("p1")), fileText) << "only the user's next change writes the file";
}

TEST_F(RepairOnLoad, RallyOfTenMillionSecondsInAVideoOfUnknownLength) {
    writeProject(0, "{\"id\": 1, \"startSec\": 5, \"endSec\": 10000005}", ", \"nextRallyId\": 2");
    const Project project = load();
    expectSound(project);
    ASSERT_EQ(project.rallies.size(), 1u);
    EXPECT_EQ(project.rallies[0].endSec, kLongestVideoSec);
}

TEST_F(RepairOnLoad, SoundProjectIsNeitherChangedNorLogged) {
    writeProject(600, "{\"id\": 4, \"startSec\": 5, \"endSec\": 9}, {\"id\": 2, \"startSec\": 9, \"endSec\": 12}",
                 ", \"nextRallyId\": 7");
    const Project project = load();
    ASSERT_EQ(project.rallies.size(), 2u);
    EXPECT_EQ(project.rallies[0].id, 4);
    EXPECT_EQ(project.rallies[1].id, 2);
    EXPECT_EQ(project.nextRallyId, 7);
    EXPECT_EQ(log().find("repaired"), std::string::npos) << log();
}

TEST_F(RepairOnLoad, RalliesSharingAnIdAreDeletedOneByOne) {
    writeProject(600,
                 "{\"id\": 1, \"startSec\": 10, \"endSec\": 20, \"name\": \"first\"},"
                 "{\"id\": 1, \"startSec\": 30, \"endSec\": 40, \"name\": \"second\"},"
                 "{\"id\": 1, \"startSec\": 50, \"endSec\": 60, \"name\": \"third\"}",
                 ", \"nextRallyId\": 2");
    Project project = load();
    expectSound(project);
    RallyEditor editor(project);
    ASSERT_TRUE(editor.deleteRally(project.rallies[1].id));
    ASSERT_EQ(project.rallies.size(), 2u);
    EXPECT_EQ(project.rallies[0].name, "first");
    EXPECT_EQ(project.rallies[1].name, "third");
}

TEST_F(RepairOnLoad, IdAtTheEndOfTheRangeDoesNotWrapTheCounter) {
    writeProject(600,
                 "{\"id\": 9223372036854775807, \"startSec\": 10, \"endSec\": 20},"
                 "{\"id\": 3, \"startSec\": 30, \"endSec\": 40}",
                 ", \"nextRallyId\": 9223372036854775807");
    Project project = load();
    expectSound(project);
    RallyEditor editor(project);
    ASSERT_TRUE(editor.splitAt(project.rallies[0].id, 15));
    expectSound(project);
    EXPECT_EQ(project.rallies.size(), 3u);
}

TEST(RepairProject, NextRallyIdIsRaisedAboveEveryRallyId) {
    const auto nextIdAfterRepair = [](int64_t rallyId, int64_t nextRallyId) {
        Project project;
        project.rallies = {{rallyId, 0, 1, "", "", true, Winner::None, false}};
        project.nextRallyId = nextRallyId;
        repairProject(project);
        return project.nextRallyId;
    };
    EXPECT_EQ(nextIdAfterRepair(7, 2), 8);
    EXPECT_EQ(nextIdAfterRepair(7, 20), 20);
    EXPECT_EQ(nextIdAfterRepair(7, -4), 8);
    EXPECT_EQ(nextIdAfterRepair(std::numeric_limits<int64_t>::max(), 1), 2);
}

TEST(RepairProject, TimesThatAreNotNumbers) {
    constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
    constexpr double kInf = std::numeric_limits<double>::infinity();
    Project project;
    project.videoDurationSec = kNan;
    project.settings.endPaddingSec = kInf;
    project.rallies = {{1, kNan, 5, "", "", true, Winner::None, false},
                       {2, 3, kInf, "", "", true, Winner::None, false},
                       {3, 7, 9, "", "", true, Winner::None, false}};
    project.hints = {{HintKind::Missed, kNan, 1, 0, false}, {HintKind::Joined, 4, 2, -kInf, false}};
    project.nextRallyId = 4;
    const std::vector<std::string> changes = repairProject(project);
    EXPECT_FALSE(changes.empty());
    EXPECT_EQ(project.videoDurationSec, 0);
    EXPECT_EQ(project.settings.endPaddingSec, ProjectSettings{}.endPaddingSec);
    ASSERT_EQ(project.rallies.size(), 1u);
    EXPECT_EQ(project.rallies[0].id, 3);
    EXPECT_TRUE(project.hints.empty());
    EXPECT_EQ(repairProject(project), std::vector<std::string>{}) << "a repaired project is sound";
}

}  // namespace
}  // namespace rallinox
