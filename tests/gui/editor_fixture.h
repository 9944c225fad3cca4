// A project ready for the editor, written into a run's data folder before
// the application starts: a generated video with sound and a few rallies.
#pragma once

#include <filesystem>
#include <string>

#include "app/project.h"
#include "tests/gui/gui_run.h"

namespace rallinox::guitest {

// A moving test picture with a tone, `seconds` long at 25 frames/s.
std::filesystem::path makeMatchVideo(const GuiRun& run, const std::string& name, int seconds);

// A ready project for the video: rallies at 5-12 s, 20-31 s ("Long one")
// and 40-44 s, and an open "missed rally" hint at 14-18 s.
Project sampleProject(const std::filesystem::path& video, double durationSec);

// Saves it where the application will list it.
void saveProject(const GuiRun& run, const Project& project);

// The project as the application left it on disk.
Project loadProject(const GuiRun& run, const std::string& id);

}  // namespace rallinox::guitest
