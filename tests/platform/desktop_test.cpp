// Handing paths to the desktop, with a stand-in xdg-open on the PATH that
// records what it was asked to open.
#include "platform/desktop.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace rallinox {
namespace {

namespace fs = std::filesystem;

class DesktopTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("rallinox-desktop-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
        const fs::path opener = folder_ / "xdg-open";
        std::ofstream(opener) << "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > '" << (folder_ / "opened.tmp").string()
                              << "'\nmv '" << (folder_ / "opened.tmp").string() << "' '" << opened().string()
                              << "'\n";
        fs::permissions(opener, fs::perms::owner_all);
        savedPath_ = std::getenv("PATH") ? std::getenv("PATH") : "";
        setenv("PATH", (folder_.string() + ":/usr/bin:/bin").c_str(), 1);
        unsetenv("DBUS_SESSION_BUS_ADDRESS");
    }
    void TearDown() override {
        setenv("PATH", savedPath_.c_str(), 1);
        fs::remove_all(folder_);
    }

    fs::path opened() const { return folder_ / "opened"; }

    // The opener runs detached; its record appears whole once it has run.
    std::string waitForOpenedRecord() const {
        for (int attempt = 0; attempt < 3000 && !fs::exists(opened()); ++attempt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::ifstream in(opened());
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    fs::path folder_;
    std::string savedPath_;
};

TEST_F(DesktopTest, PathWithBlanksAndQuotesReachesTheOpenerAsOneArgument) {
    const std::string path = "/videos/Final 'A' & \"B\"; $(rm -rf x).mp4";
    ASSERT_TRUE(shellOpen(path));
    EXPECT_EQ(waitForOpenedRecord(), "1|" + path);
}

TEST_F(DesktopTest, WithoutAFileManagerOnTheBusTheFolderIsOpened) {
    ASSERT_TRUE(showInFolder("/videos/season/final.mp4"));
    EXPECT_EQ(waitForOpenedRecord(), "1|/videos/season");
}

TEST_F(DesktopTest, MissingOpenerIsReported) {
    setenv("PATH", "/nonexistent", 1);
    EXPECT_FALSE(shellOpen("/videos/final.mp4"));
}

}  // namespace
}  // namespace rallinox
