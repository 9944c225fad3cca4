#include "ui/editor/editor_texts.h"

#include <algorithm>
#include <cstdio>

#include "app/core/time_format.h"
#include "edit/rally_queries.h"

namespace rallinox::ui {

std::string rallyRowName(const Rally& rally, size_t position) {
    std::string name = rallyDisplayName(rally, position);
    if (rally.source == "manual") name += "  (added)";
    return name;
}

std::string rallyListSummary(const Project& project) {
    if (project.rallies.empty()) return "No rallies. Use \"Add rally here\" while the video shows one.";
    const double coveredSec = project.videoDurationSec;
    const RallyStats ticked = rallyStats(project.rallies, coveredSec, true);
    const RallyStats all = rallyStats(project.rallies, coveredSec);
    return std::to_string(ticked.count) + " of " + std::to_string(project.rallies.size()) + " ticked  -  " +
           formatClock(ticked.totalSec) + " will be exported  -  breaks " + formatClock(all.cutOutSec) + " of " +
           formatClock(coveredSec);
}

std::string scoredProgressText(const std::vector<Rally>& rallies) {
    const auto scored = std::count_if(rallies.begin(), rallies.end(),
                                      [](const Rally& rally) { return rally.winner != Winner::None; });
    return std::to_string(scored) + " of " + rallyCount(rallies.size()) + " scored";
}

std::string soundBoxLabel(bool deviceMissing) {
    return deviceMissing ? "Sound: no device###sound" : "Sound###sound";
}

std::string analyseAgainQuestion(double startPaddingSec, double endPaddingSec) {
    char text[256];
    std::snprintf(text, sizeof text,
                  "The rallies are found again with the paddings from Settings (%.1f s before, %.1f s after). Your "
                  "edits, names, scores and answers in \"To check\" are replaced.",
                  startPaddingSec, endPaddingSec);
    return text;
}

}  // namespace rallinox::ui
