// Handing paths to the desktop, with a stand-in xdg-open on the PATH that
// records what it was asked to open.
#include "platform/desktop.h"

#include <chrono>
#include <sstream>
#include <thread>

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

}  // namespace
}  // namespace rallinox
