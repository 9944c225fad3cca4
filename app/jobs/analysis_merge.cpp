#include "app/jobs/analysis_merge.h"

#include "edit/rally_queries.h"

namespace rallinox {

void mergeAnalysis(Project& project, const AnalysisResult& result) {
    project.rallies.clear();
    int64_t id = 1;
    for (const AnalysisRally& found : result.rallies) {
        Rally rally;
        rally.id = id++;
        rally.startSec = found.startSec;
        rally.endSec = found.endSec;
        project.rallies.push_back(rally);
    }
    project.nextRallyId = id;

    project.hints.clear();
    for (const AnalysisHint& found : result.hints) {
        project.hints.push_back({found.kind, found.startSec, found.endSec, found.atSec, false});
    }

    project.stats.totalSec = result.totalSec;
    project.stats.stage1Sec = result.stage1Sec;
    project.stats.frames = static_cast<int32_t>(result.frames);
    project.stats.stage1Fps = result.stage1Fps;
    project.stats.realtimeX = result.realtimeX;
    project.stats.decoder = result.decoder;
    project.videoDurationSec = result.video.durationSec;
    project.state = ProjectState::Ready;
}

std::string analysisFinishedText(size_t rallies, size_t hints, const std::string& warning) {
    std::string text = "Analysis finished: " + rallyCount(rallies) + " found";
    if (hints > 0) text += ", " + std::to_string(hints) + " to check";
    if (!warning.empty()) text += ". " + warning + ".";
    return text;
}

std::string analysisNotSavedText(size_t rallies, const std::string& why) {
    return "Analysis finished: " + rallyCount(rallies) + " found, but they could not be saved (" + why +
           "). They are kept in the editor and saved again at your next change; free some disk space first.";
}

}  // namespace rallinox
