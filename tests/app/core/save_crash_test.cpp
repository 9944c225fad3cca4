// A program killed while it saves: a child process saves two versions of a
// file in turn, as fast as it can, and is killed with SIGKILL at a random
// moment; the file must then be whole, and be one of the two versions.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <random>
#include <thread>

#include "app/core/project_store.h"
#include "app/core/settings.h"
#include "tests/support/temp_dir.h"

namespace rallinox {
namespace {

namespace fs = std::filesystem;

constexpr int kKillsPerFile = 60;

// Runs `saveBoth` (which saves one version, then the other) in a loop in a
// child process, kills it after a random pause and checks the file each time.
void killWhileSaving(const fs::path& file, const std::string& oldText, const std::string& newText,
                     const std::function<void()>& saveBoth) {
    std::random_device seedSource;
    const unsigned seed = seedSource();
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> pauseMicroseconds(0, 4000);
    for (int kill = 0; kill < kKillsPerFile; ++kill) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            while (true) saveBoth();
        }
        std::this_thread::sleep_for(std::chrono::microseconds(pauseMicroseconds(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended on its own";
        const std::string text = test::readFile(file);
        ASSERT_TRUE(text == oldText || text == newText)
            << "kill " << kill << " (seed " << seed << ") left " << text.size() << " bytes";
    }
}

TEST(SaveCrash, ProjectFileIsAlwaysTheOldOrTheNewOne) {
    test::TempDir dir;
    ProjectStore store(dir / "projects");
    Project before = store.create("/videos/match.mp4");
    // Large enough that a kill often lands in the middle of writing it.
    for (int64_t i = 1; i <= 2000; ++i) before.rallies.push_back({i, i * 3.0, i * 3.0 + 2, "", "", true, Winner::None, false});
    before.nextRallyId = 2001;
    Project after = before;
    after.name = "renamed";
    after.rallies.resize(1000);
    ASSERT_TRUE(store.save(after));
    const std::string newText = test::readFile(store.projectFile(after.id));
    ASSERT_TRUE(store.save(before));
    const std::string oldText = test::readFile(store.projectFile(before.id));

    killWhileSaving(store.projectFile(before.id), oldText, newText, [&] {
        store.save(after);
        store.save(before);
    });
    EXPECT_EQ(store.load(before.id)->rallies.size() % 1000, 0u);
}

TEST(SaveCrash, SettingsFileIsAlwaysTheOldOrTheNewOne) {
    test::TempDir dir;
    const fs::path file = dir / "settings.json";
    Settings before;
    before.exportDir = std::string(100000, 'a');
    Settings after = before;
    after.startPaddingSec = 0.5;
    after.exportDir = std::string(50000, 'b');
    ASSERT_TRUE(after.save(file));
    const std::string newText = test::readFile(file);
    ASSERT_TRUE(before.save(file));
    const std::string oldText = test::readFile(file);

    killWhileSaving(file, oldText, newText, [&] {
        after.save(file);
        before.save(file);
    });
    Settings loaded;
    loaded.load(file);
    EXPECT_TRUE(loaded == before || loaded == after);
}

}  // namespace
}  // namespace rallinox
