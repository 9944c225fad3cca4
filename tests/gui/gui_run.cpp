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
    return runDriver(script, videoArgument.empty() ? std::vector<std::string>{} : std::vector{videoArgument}, true);
}

int GuiRun::playWithArguments(const std::string& script, const std::vector<std::string>& arguments) {
    return runDriver(script, arguments, true);
}

int GuiRun::playWithoutDisplay(const std::string& script) { return runDriver(script, {}, false); }

std::string GuiRun::driverCommand(const std::string& script, const std::vector<std::string>& arguments,
                                  bool withDisplay) const {
    std::string argumentList;
    for (const std::string& argument : arguments) argumentList += " " + quoted(argument);
    const fs::path scriptFile = folder_ / "script.txt";
    std::ofstream(scriptFile) << script;
    return "env -u DBUS_SESSION_BUS_ADDRESS" + std::string(withDisplay ? "" : " -u DISPLAY -u WAYLAND_DISPLAY") +
           " HOME=" + quoted((folder_ / "home").string()) + " XDG_DATA_HOME=" + quoted((folder_ / "data").string()) +
           environment_ +
           // A program that hangs fails its test instead of stopping the whole run.
           " timeout -k 10 " + std::to_string(kLongestRunSec) +
           (withDisplay ? " xvfb-run -a -s '-screen 0 1600x1000x24' " : " ") + windowManagerPrefix() +
           quoted(RALLINOX_GUI_DRIVER) + " " + quoted(scriptFile.string()) + argumentList;
}

int GuiRun::runDriver(const std::string& script, const std::vector<std::string>& arguments, bool withDisplay) {
    const fs::path log = folder_ / "driver.log";
    const std::string command = driverCommand(script, arguments, withDisplay) + " > " + quoted(log.string()) + " 2>&1";
    const int status = std::system(command.c_str());
    output_ = readFile(log);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string GuiRun::windowManagerPrefix() const {
    if (!windowManager_) return "";
    // The application starts once the window manager is ready to frame it.
    const fs::path starter = folder_ / "with-window-manager.sh";
    const fs::path ready = folder_ / "window-manager-ready";
    fs::remove(ready);
    std::ofstream(starter) << "openbox --startup " << quoted("touch " + ready.string()) << " &\n"
                           << "manager=$!\n"
                           << "until [ -e " << quoted(ready.string()) << " ]; do\n"
                           << "  kill -0 $manager 2>/dev/null || { echo 'openbox did not start'; exit 3; }\n"
                           << "  sleep 0.1\n"
                           << "done\n"
                           << "exec \"$@\"\n";
    return "sh " + quoted(starter.string()) + " ";
}

fs::path GuiRun::makeVideo(const std::string& name) const {
    const fs::path file = folder_ / name;
    if (!test::writeTestVideo(file.string(), {})) throw std::runtime_error("ffmpeg could not make " + file.string());
    return file;
}

}  // namespace rallinox::guitest
