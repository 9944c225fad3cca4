// Handing paths to the desktop, with a stand-in xdg-open on the PATH that
// records what it was asked to open.
#include "platform/desktop.h"
#include "platform/desktop_requests.h"

#include <chrono>
#include <sstream>
#include <thread>
#include <vector>

#include "tests/platform/stand_in_programs.h"

namespace rallinox {
namespace {

namespace fs = std::filesystem;

class DesktopTest : public StandInPrograms {
protected:
    void SetUp() override {
        StandInPrograms::SetUp();
        const std::string record = (folder_ / "opened.tmp").string();
        installProgram("xdg-open", "printf '%s|%s' \"$#\" \"$1\" > '" + record + "'\nmv '" + record + "' '" +
                                       opened().string() + "'");
        unsetenv("DBUS_SESSION_BUS_ADDRESS");
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

TEST_F(DesktopTest, OpenerThatCannotOpenThePathIsReported) {
    installProgram("xdg-open", "exit 4");
    EXPECT_FALSE(shellOpen("/videos/final.mp4"));
    EXPECT_FALSE(showInFolder("/videos/final.mp4"));
}

// The window's calls: they return at once, and what nothing could open
// comes back as a message for the user.
class DesktopRequestsTest : public DesktopTest {
protected:
    // Waits for `count` messages; gives up only after a minute.
    std::vector<std::string> failuresOnceThereAre(size_t count) {
        std::vector<std::string> failures;
        for (int attempt = 0; attempt < 6000 && failures.size() < count; ++attempt) {
            for (std::string& failure : desktop.takeFailures()) failures.push_back(std::move(failure));
            if (failures.size() < count) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return failures;
    }

    DesktopRequests desktop;
};

TEST_F(DesktopRequestsTest, CallsReturnWhileTheOpenerIsStillAtWork) {
    // The opener answers only once the calls have returned; a call that
    // waited for it would find it still at work and take that for success.
    const std::string gate = (folder_ / "gate").string();
    installProgram("xdg-open", "for i in $(seq 600); do [ -e '" + gate + "' ] && exit 1; sleep 0.1; done");
    desktop.showInFolder("/videos/season/final.mp4");
    desktop.open("/videos/season/final.mp4");
    std::ofstream(gate) << "go";
    EXPECT_EQ(failuresOnceThereAre(2), (std::vector<std::string>{"Could not open the folder of /videos/season/final.mp4",
                                                                 "Could not open /videos/season/final.mp4"}));
}

TEST_F(DesktopRequestsTest, OnlyWhatNothingCouldOpenIsReported) {
    desktop.open("/videos/final.mp4");
    EXPECT_EQ(waitForOpenedRecord(), "1|/videos/final.mp4");
    setenv("PATH", "/nonexistent", 1);
    desktop.open("/videos/other.mp4");
    EXPECT_EQ(failuresOnceThereAre(1), std::vector<std::string>{"Could not open /videos/other.mp4"});
}

}  // namespace
}  // namespace rallinox
