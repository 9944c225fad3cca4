// The analysis saved as a project the window lists and opens: the same
// project.json, made by the application's own project code.
#pragma once

#include <filesystem>
#include <string>

#include "app/core/settings.h"
#include "engine/analysis.h"

namespace rallinox {

// Creates a project for the video in `projectsDir` (the window's is
// ~/.local/share/Rallinox/projects) with the result merged in. Returns the
// project's folder, or nothing left behind and `error` set.
std::filesystem::path saveAnalysedProject(const std::filesystem::path& projectsDir, const std::string& videoPath,
                                          const Settings& settings, const AnalysisResult& result, std::string& error);

}  // namespace rallinox
