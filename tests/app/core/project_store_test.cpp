#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>

#include "app/core/json.h"
#include "app/core/project_store.h"
#include "tests/support/temp_dir.h"

namespace rallinox {
namespace {

namespace fs = std::filesystem;

constexpr int64_t kFixedMs = 1700000000123;

class Store : public ::testing::Test {
protected:
    Project savedProject(const std::string& video, int64_t createdUnix) {
        Project project = store.create(video);
        project.createdUnix = createdUnix;
        EXPECT_TRUE(store.save(project).ok);
        return project;
    }

    test::TempDir dir;
    int64_t nowMs = kFixedMs;
    ProjectStore store{dir / "projects", [this] { return nowMs; }};
};

TEST_F(Store, CreateTakesIdTimeAndNameFromOneClockReading) {
    const Project project = store.create("/videos/Final match.2024.mp4");
    EXPECT_EQ(project.id, "p1700000000123");
    EXPECT_EQ(project.createdUnix, 1700000000);
    EXPECT_EQ(project.name, "Final match.2024");
    EXPECT_EQ(project.videoPath, "/videos/Final match.2024.mp4");
    EXPECT_EQ(project.state, ProjectState::New);
    EXPECT_EQ(project.nextRallyId, 1);
    EXPECT_FALSE(fs::exists(store.projectDir(project.id)));
}

TEST_F(Store, IdsWithinOneMillisecondGetSuffixes) {
    const Project first = savedProject("/v/a.mp4", 1);
    const Project second = savedProject("/v/b.mp4", 1);
    const Project third = store.create("/v/c.mp4");
    EXPECT_EQ(first.id, "p1700000000123");
    EXPECT_EQ(second.id, "p1700000000123_2");
    EXPECT_EQ(third.id, "p1700000000123_3");
    nowMs += 1;
    EXPECT_EQ(store.create("/v/d.mp4").id, "p1700000000124");
}

TEST_F(Store, RealClockMakesDistinctIds) {
    ProjectStore realStore(dir / "projects");
    const Project first = realStore.create("/v/a.mp4");
    ASSERT_TRUE(realStore.save(first));
    const Project second = realStore.create("/v/a.mp4");
    EXPECT_NE(first.id, second.id);
    EXPECT_EQ(first.id.rfind('p', 0), 0u);
}

TEST_F(Store, SaveThenLoadGivesTheSameProject) {
    Project project = store.create("/v/match.mp4");
    project.rallies = {{1, 1, 2, "first", "", true, Winner::Home, true}};
    project.nextRallyId = 2;
    ASSERT_TRUE(store.save(project));
    EXPECT_EQ(store.load(project.id), project);
    EXPECT_FALSE(fs::exists(fs::path(store.projectFile(project.id)) += ".tmp"));
    const std::string text = test::readFile(store.projectFile(project.id));
    EXPECT_NE(text.back(), '\n');
    EXPECT_EQ(JsonValue::parse(text).get("version").asNumber(0), 1);
}

TEST_F(Store, LoadUsesTheFolderNameAsId) {
    Project project = savedProject("/v/a.mp4", 5);
    fs::rename(store.projectDir(project.id), store.projectDir("renamed"));
    const std::optional<Project> loaded = store.load("renamed");
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->id, "renamed");
    EXPECT_EQ(JsonValue::parse(test::readFile(store.projectFile("renamed"))).get("id").asString(""), project.id);
}

TEST_F(Store, LoadFailsForMissingDamagedOrUnsafe) {
    EXPECT_FALSE(store.load("p404"));
    fs::create_directories(store.projectDir("broken"));
    test::writeFile(store.projectFile("broken"), "{\"id\": ");
    EXPECT_FALSE(store.load("broken"));
    EXPECT_FALSE(store.load("../projects/broken"));
    fs::create_directories(store.projectFile("folder"));  // project.json is a folder
    EXPECT_FALSE(store.load("folder"));
}

TEST_F(Store, ListSkipsUnreadableFoldersAndSortsNewestFirst) {
    savedProject("/v/old.mp4", 100);
    nowMs += 5;
    savedProject("/v/new.mp4", 300);
    nowMs += 5;
    savedProject("/v/middle.mp4", 200);
    fs::create_directories(store.projectDir("broken"));
    test::writeFile(store.projectFile("broken"), "not json");
    fs::create_directories(store.projectDir("empty"));
    test::writeFile(store.projectsDir() / "stray.txt", "ignored");

    const ProjectList list = store.list();
    ASSERT_EQ(list.projects.size(), 3u);
    EXPECT_EQ(list.projects[0].name, "new");
    EXPECT_EQ(list.projects[1].name, "middle");
    EXPECT_EQ(list.projects[2].name, "old");
    std::vector<std::string> errors = list.errors;
    std::sort(errors.begin(), errors.end());
    EXPECT_EQ(errors, (std::vector<std::string>{"Could not read project broken", "Could not read project empty"}));
}

TEST_F(Store, ListOfMissingProjectsFolderIsEmpty) {
    const ProjectList list = store.list();
    EXPECT_TRUE(list.projects.empty());
    EXPECT_TRUE(list.errors.empty());
}

// Each case makes one step of the save fail and checks the message and that
// the previous project file is untouched.
class FailingSave : public Store {
protected:
    void SetUp() override {
        project = savedProject("/v/a.mp4", 1);
        before = test::readFile(store.projectFile(project.id));
        project.name = "changed";
    }
    void expectPreviousFileKept() const { EXPECT_EQ(test::readFile(store.projectFile(project.id)), before); }
    fs::path tempFile() const { return fs::path(store.projectFile(project.id)) += ".tmp"; }

    Project project;
    std::string before;
};

TEST_F(FailingSave, TemporaryFileCannotBeCreated) {
    fs::create_directory(tempFile());  // opening a folder for writing fails, even for root
    const SaveResult result = store.save(project);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "Cannot write " + tempFile().string());
    expectPreviousFileKept();
}

TEST_F(FailingSave, ReadOnlyFolder) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    fs::permissions(store.projectDir(project.id), fs::perms::owner_read | fs::perms::owner_exec);
    const SaveResult result = store.save(project);
    fs::permissions(store.projectDir(project.id), fs::perms::owner_all);
    EXPECT_EQ(result.message, "Cannot write " + tempFile().string());
    expectPreviousFileKept();
}

TEST_F(FailingSave, WriteErrorIsReported) {
    fs::create_symlink("/dev/full", tempFile());
    const SaveResult result = store.save(project);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "Disk full or write error while saving the project");
    expectPreviousFileKept();
}

TEST_F(FailingSave, RenameFailureNamesTheSystemReason) {
    const fs::path file = store.projectFile(project.id);
    fs::remove(file);
    fs::create_directories(file / "occupied");  // a non-empty folder cannot be replaced by a file
    const SaveResult result = store.save(project);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "Cannot replace project file: Is a directory");
    EXPECT_TRUE(fs::is_directory(file / "occupied"));
}

TEST_F(FailingSave, UnsafeIdIsRefused) {
    project.id = "../outside";
    EXPECT_FALSE(store.save(project).ok);
    EXPECT_FALSE(fs::exists(dir / "outside"));
    project.id = "";
    EXPECT_FALSE(store.save(project).ok);
    EXPECT_FALSE(fs::exists(store.projectsDir() / "project.json"));
}

TEST_F(Store, RemoveDeletesTheWholeFolder) {
    const Project project = savedProject("/v/a.mp4", 1);
    test::writeFile(store.thumbnailFile(project.id), "jpeg");
    fs::create_directories(store.projectDir(project.id) / "nested" / "deeper");
    EXPECT_TRUE(store.remove(project.id));
    EXPECT_FALSE(fs::exists(store.projectDir(project.id)));
    EXPECT_TRUE(store.remove("p-never-existed"));
}

TEST_F(Store, RemoveRefusesIdsThatAreNotPlainFolderNames) {
    const Project project = savedProject("/v/a.mp4", 1);
    fs::create_directories(dir / "outside");
    for (const std::string id : {"", "..", ".", "../outside", "a/b", "x\\y", "p1.bak", "/tmp"}) {
        EXPECT_FALSE(store.remove(id)) << id;
    }
    EXPECT_TRUE(fs::exists(dir / "outside"));
    EXPECT_TRUE(fs::exists(store.projectFile(project.id)));
}

TEST(ProjectIds, SafeIdRule) {
    EXPECT_TRUE(isSafeProjectId("p1700000000123_2"));
    EXPECT_FALSE(isSafeProjectId(""));
    EXPECT_FALSE(isSafeProjectId("a.b"));
    EXPECT_FALSE(isSafeProjectId("a/b"));
    EXPECT_FALSE(isSafeProjectId("a\\b"));
}

}  // namespace
}  // namespace rallinox
