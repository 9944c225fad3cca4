// Runs the scripted application under a virtual X display, in a data
// folder of its own, and gives the test what it left behind.
#pragma once

#include <filesystem>
#include <string>

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
    // The same with no display at all.
    int playWithoutDisplay(const std::string& script);
    const std::string& output() const { return output_; }
    // The shell command that plays the script, its output left on standard
    // output and error: for a caller that watches the run as it goes.
    std::string driverCommand(const std::string& script, const std::string& videoArgument, bool withDisplay) const;

    // Makes a short test video with the ffmpeg command-line tool.
    std::filesystem::path makeVideo(const std::string& name) const;

private:
    int runDriver(const std::string& script, const std::string& videoArgument, bool withDisplay);

    std::filesystem::path folder_;
    std::string output_;
};

using test::readFile;

}  // namespace rallinox::guitest
