// What the export dialog says about an export: the summary line under the
// options and the file name it proposes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/core/project.h"
#include "export/export_scope.h"

namespace rallinox::ui {

// "Only " + the rally's shown name, or "Only the highlighted rally (none)".
std::string onlyRallyLabel(const Project& project, int64_t highlightedId);

// "Nothing to export: tick at least one rally." or "The video will be 3:05
// long (12 rallies), cut from 1:32:10."; with one file per rally "12 videos,
// one per rally, 3:05 in all, cut from 1:32:10."
std::string exportSummary(const Project& project, const std::vector<Rally>& chosen, bool oneFilePerRally = false);

// "<project> - rallies.mp4", or for one rally "<project> - <its name>.mp4".
std::string proposedFileName(const Project& project, ExportScope scope, int64_t highlightedId);

}  // namespace rallinox::ui
