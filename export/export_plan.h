// What one export writes, worked out the same way for the window and the
// command line: the request with its file names, the
// rally list and timelines, and the scoreboard of every exported rally.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "export/export_request.h"
#include "app/core/project.h"
#include "app/core/settings.h"
#include "export/board_clips.h"
#include "export/export_scope.h"

namespace rallinox {

enum class TimelineFormat : int { Fcpxml = 0, Xmeml = 1, Otio = 2 };

// ".fcpxml", ".xml" or ".otio".
const char* timelineExtension(TimelineFormat format);

struct ExportOptions {
    std::string outputPath;   // the one MP4; empty when only eachDir is written
    std::string eachDir;      // not empty: also one file per rally in this folder
    bool scoreboard = false;  // drawn when at least one rally is scored
    bool keepSound = true;
    bool edl = false;  // next to the one MP4
    bool fast = false;
    std::string csvPath;  // empty: no rally list
    std::vector<std::pair<TimelineFormat, std::string>> timelines;
};

// The whole request, the scoreboard of every chosen rally included (none
// without `options.scoreboard` or a scored rally); the scoreboard's look
// comes from `settings`, as the user last chose it.
ExportRequest planExport(const Project& project, const std::vector<Rally>& chosen, const ExportOptions& options,
                         const Settings& settings);

// "NN Name.mp4" (NN its place among `count` files, from 01), with the
// characters file systems refuse replaced and the name kept short.
std::string eachRallyFileName(const std::string& rallyName, size_t index, size_t count);

}  // namespace rallinox
