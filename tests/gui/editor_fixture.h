// Projects ready for the editor, written into a run's data folder before the
// application starts: a generated video with sound and a few rallies.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/core/project.h"
#include "tests/gui/gui_run.h"

namespace rallinox::guitest {

// A moving test picture (testsrc2, 320 x 240, 25 frames/s) with a tone.
std::filesystem::path makeMatchVideo(const GuiRun& run, const std::string& name, int seconds);

// An analysed project of the video with rallies 1, 2, ... at the spans; not
// saved yet, so that a test can change it first.
Project readyProject(const GuiRun& run, const std::filesystem::path& video, double durationSec,
                     const std::vector<std::pair<double, double>>& spans);

// Rallies at 5-12 s, 20-31 s ("Long one") and 40-44 s, an open "missed
// rally" hint at 14-18 s and the figures of its analysis.
Project sampleProject(const GuiRun& run, const std::filesystem::path& video, double durationSec);

// Saves it where the application will list it.
void saveProject(const GuiRun& run, const Project& project);

// The project as the application left it on disk.
Project loadProject(const GuiRun& run, const std::string& id);

}  // namespace rallinox::guitest
