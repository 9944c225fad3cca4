#include "tests/gui/gui_run.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "tests/support/test_videos.h"

namespace rallinox::guitest {

namespace fs = std::filesystem;

namespace {

constexpr int kLongestRunSec = 300;

// Single quotes for the shell; the test's own paths hold none.
std::string quoted(const std::string& text) { return "'" + text + "'"; }

}  // namespace

GuiRun::GuiRun() {
    std::string pattern = (fs::temp_directory_path() / "rallinox-gui-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    folder_ = pattern;
    fs::create_directories(folder_ / "home");
}

GuiRun::~GuiRun() {
    // Kept when asked, so that screenshots can be looked at.
    if (!std::getenv("RALLINOX_KEEP_GUI_RUNS")) fs::remove_all(folder_);
}

int GuiRun::play(const std::string& script, const std::string& videoArgument) {
    return runDriver(script, videoArgument, true);
}

int GuiRun::playWithoutDisplay(const std::string& script) { return runDriver(script, "", false); }

std::string GuiRun::driverCommand(const std::string& script, const std::string& videoArgument,
                                  bool withDisplay) const {
    const fs::path scriptFile = folder_ / "script.txt";
    std::ofstream(scriptFile) << script;
    return "env -u DBUS_SESSION_BUS_ADDRESS" + std::string(withDisplay ? "" : " -u DISPLAY -u WAYLAND_DISPLAY") +
           " HOME=" + quoted((folder_ / "home").string()) + " XDG_DATA_HOME=" + quoted((folder_ / "data").string()) +
           // A program that hangs fails its test instead of stopping the whole run.
           " timeout -k 10 " + std::to_string(kLongestRunSec) +
           (withDisplay ? " xvfb-run -a -s '-screen 0 1600x1000x24' " : " ") + quoted(RALLINOX_GUI_DRIVER) + " " +
           quoted(scriptFile.string()) + (videoArgument.empty() ? "" : " " + quoted(videoArgument));
}

int GuiRun::runDriver(const std::string& script, const std::string& videoArgument, bool withDisplay) {
    const fs::path log = folder_ / "driver.log";
    const std::string command =
        driverCommand(script, videoArgument, withDisplay) + " > " + quoted(log.string()) + " 2>&1";
    const int status = std::system(command.c_str());
    output_ = readFile(log);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

fs::path GuiRun::makeVideo(const std::string& name) const {
    const fs::path file = folder_ / name;
    if (!test::writeTestVideo(file.string(), {})) throw std::runtime_error("ffmpeg could not make " + file.string());
    return file;
}

}  // namespace rallinox::guitest
