// Runs the scripted application under a virtual X display, in a data
// folder of its own, and gives the test what it left behind.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace rallinox::guitest {

class GuiRun {
public:
    // A fresh folder for the run's script, home and data folder.
    GuiRun();
    ~GuiRun();

    const std::filesystem::path& folder() const { return folder_; }
    std::filesystem::path dataDir() const { return folder_ / "data" / "Rallinox"; }

    // Plays the script; the driver's exit code (0 all steps passed, 124 or
    // 137 when it had to be stopped after 5 minutes). The driver's output is
    // kept for failure messages.
    int play(const std::string& script, const std::string& videoArgument = "");
    // The same with the application's command line after its name.
    int playWithArguments(const std::string& script, const std::vector<std::string>& arguments);
    // The same with no display at all.
    int playWithoutDisplay(const std::string& script);
    // Later runs have a window manager (openbox) that frames the window, as
    // on a desktop.
    void useWindowManager() { windowManager_ = true; }
    // Later runs have this environment variable set (values without quotes).
    void setEnvironment(const std::string& name, const std::string& value) {
        environment_ += " " + name + "='" + value + "'";
    }
    const std::string& output() const { return output_; }
    // The shell command that plays the script, its output left on standard
    // output and error: for a caller that watches the run as it goes.
    std::string driverCommand(const std::string& script, const std::vector<std::string>& arguments,
                              bool withDisplay) const;

    // Makes a short test video with the ffmpeg command-line tool.
    std::filesystem::path makeVideo(const std::string& name) const;

private:
    int runDriver(const std::string& script, const std::vector<std::string>& arguments, bool withDisplay);
    // Starts the window manager in front of the driver when asked.
    std::string windowManagerPrefix() const;

    std::filesystem::path folder_;
    std::string output_;
    bool windowManager_ = false;
    std::string environment_;
};

using test::readFile;

}  // namespace rallinox::guitest
