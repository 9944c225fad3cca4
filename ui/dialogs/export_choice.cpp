#include "ui/dialogs/export_choice.h"

#include <algorithm>

#include "app/core/time_format.h"

namespace rallinox::ui {
namespace {

// Position of the rally in the list, or the list's size.
size_t positionOf(const Project& project, int64_t id) {
    const auto found = std::find_if(project.rallies.begin(), project.rallies.end(),
                                    [id](const Rally& rally) { return rally.id == id; });
    return size_t(found - project.rallies.begin());
}

}  // namespace

std::string onlyRallyLabel(const Project& project, int64_t highlightedId) {
    const size_t position = positionOf(project, highlightedId);
    if (position == project.rallies.size()) return "Only the highlighted rally (none)";
    return "Only " + rallyDisplayName(project.rallies[position], position);
}

std::string exportSummary(const Project& project, const std::vector<Rally>& chosen, bool oneFilePerRally) {
    if (chosen.empty()) return "Nothing to export: tick at least one rally.";
    double length = 0;
    for (const Rally& rally : chosen) length += rallyLengthSec(rally);
    if (oneFilePerRally)
        return std::to_string(chosen.size()) + (chosen.size() == 1 ? " video" : " videos") + ", one per rally, " +
               formatClock(length) + " in all, cut from " + formatClock(project.videoDurationSec) + ".";
    return "The video will be " + formatClock(length) + " long (" + std::to_string(chosen.size()) +
           (chosen.size() == 1 ? " rally" : " rallies") + "), cut from " + formatClock(project.videoDurationSec) +
           ".";
}

std::string proposedFileName(const Project& project, ExportScope scope, int64_t highlightedId) {
    std::string what = "rallies";
    const size_t position = positionOf(project, highlightedId);
    if (scope == ExportScope::OnlyHighlighted && position < project.rallies.size())
        what = rallyDisplayName(project.rallies[position], position);
    std::string name = project.name + " - " + what + ".mp4";
    // A slash in a project or rally name would make the name a path.
    std::replace(name.begin(), name.end(), '/', '-');
    return name;
}

}  // namespace rallinox::ui
