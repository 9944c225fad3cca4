#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "app/core/data_paths.h"
#include "tests/support/temp_dir.h"

namespace rallinox {
namespace {

namespace fs = std::filesystem;

// Sets environment variables for one test and restores them afterwards.
class Environment {
public:
    ~Environment() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second) setenv(it->first.c_str(), it->second->c_str(), 1);
            else unsetenv(it->first.c_str());
        }
    }
    void set(const std::string& name, const std::optional<std::string>& value) {
        const char* current = std::getenv(name.c_str());
        saved_.emplace_back(name, current ? std::optional<std::string>(current) : std::nullopt);
        if (value) setenv(name.c_str(), value->c_str(), 1);
        else unsetenv(name.c_str());
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

class DataPathsTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(home);
        fs::create_directories(config);
        env.set("HOME", home.string());
        env.set("XDG_CONFIG_HOME", config.string());
        env.set("XDG_DATA_HOME", std::nullopt);
    }

    test::TempDir dir;
    fs::path home = dir / "home";
    fs::path config = dir / "config";
    Environment env;
};

TEST_F(DataPathsTest, DefaultsUnderTheHomeFolder) {
    const DataPaths paths = DataPaths::compute();
    const fs::path data = home / ".local" / "share" / "Rallinox";
    EXPECT_EQ(paths.dataDir, data);
    EXPECT_EQ(paths.projectsDir, data / "projects");
    EXPECT_EQ(paths.logFile, data / "rallinox.log");
    EXPECT_EQ(paths.settingsFile, data / "settings.json");
    EXPECT_EQ(paths.defaultExportDir, home / "Videos" / "Rallinox");
    EXPECT_TRUE(fs::is_directory(paths.projectsDir));
    EXPECT_TRUE(fs::exists(paths.appDir / "test_core"));
}

TEST_F(DataPathsTest, XdgFoldersAreFollowed) {
    env.set("XDG_DATA_HOME", (dir / "data").string());
    test::writeFile(config / "user-dirs.dirs", "XDG_VIDEOS_DIR=\"$HOME/Filme\"\n");
    const DataPaths paths = DataPaths::compute();
    EXPECT_EQ(paths.dataDir, dir / "data" / "Rallinox");
    EXPECT_TRUE(fs::is_directory(dir / "data" / "Rallinox" / "projects"));
    EXPECT_EQ(paths.defaultExportDir, home / "Filme" / "Rallinox");
}

TEST_F(DataPathsTest, RelativeDataHomeIsIgnored) {
    env.set("XDG_DATA_HOME", "relative/data");
    EXPECT_EQ(DataPaths::compute().dataDir, home / ".local" / "share" / "Rallinox");
}

TEST_F(DataPathsTest, WithoutHomeTheTemporaryFolderIsUsed) {
    env.set("HOME", std::nullopt);
    env.set("TMPDIR", (dir / "tmp").string());
    fs::create_directories(dir / "tmp");
    const DataPaths paths = DataPaths::compute();
    EXPECT_EQ(paths.dataDir, dir / "tmp" / "Rallinox");
    EXPECT_EQ(paths.defaultExportDir, paths.dataDir / "Rallinox");
}

TEST_F(DataPathsTest, UncreatableDataHomeFallsBackToTheTemporaryFolder) {
    test::writeFile(dir / "occupied", "a file, not a folder");
    env.set("XDG_DATA_HOME", (dir / "occupied" / "data").string());
    env.set("TMPDIR", (dir / "tmp").string());
    fs::create_directories(dir / "tmp");
    EXPECT_EQ(DataPaths::compute().dataDir, dir / "tmp" / "Rallinox");
}

}  // namespace
}  // namespace rallinox
