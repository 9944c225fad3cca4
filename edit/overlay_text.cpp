#include "edit/overlay_text.h"

#include <algorithm>

#include "edit/match_score.h"
#include "edit/playhead_follow.h"
#include "app/core/time_format.h"

using rallinox::ui::formatClock;

namespace rallinox {

namespace {

std::string rallyLine(const Project& project, size_t index, double positionSec, bool showScore) {
    const std::vector<Rally>& rallies = project.rallies;
    const Rally& rally = rallies[index];
    std::string text = "Rally " + std::to_string(index + 1) + " of " + std::to_string(rallies.size());
    if (!rally.name.empty()) text += "  -  " + rally.name;
    if (showScore && anyRallyScored(rallies)) {
        const RallyScore score = rallyScores(rallies)[index];
        text += "   |   Set " + std::to_string(score.setAfter) + "  " + std::to_string(score.homeAfter) + "-" +
                std::to_string(score.awayAfter);
    }
    text += "   " + formatClock(positionSec - rally.startSec) + " / " + formatClock(rallyLengthSec(rally));
    return text;
}

std::string breakLine(const Project& project, double positionSec) {
    double from = 0;
    double to = project.videoDurationSec;
    for (const Rally& rally : project.rallies) {
        if (rally.endSec <= positionSec) from = std::max(from, rally.endSec);
        if (rally.startSec > positionSec) to = std::min(to, rally.startSec);
    }
    return "Between rallies  -  break " + formatClock(std::max(to - from, 0.0));
}

const char* hintNote(HintKind kind) {
    switch (kind) {
        case HintKind::Missed:
            return "   |   Missed rally?  See \"To check\"";
        case HintKind::Doubtful:
            return "   |   Not a rally?  See \"To check\"";
        case HintKind::Joined:
            return "   |   Two rallies joined?  See \"To check\"";
    }
    return "";
}

}  // namespace

std::string overlayText(const Project& project, double positionSec, bool showScore, const std::string& clipText) {
    std::string text;
    const int index = rallyIndexAt(project.rallies, positionSec);
    if (!clipText.empty()) {
        text = clipText;
    } else if (index >= 0) {
        text = rallyLine(project, size_t(index), positionSec, showScore);
    } else if (!project.rallies.empty()) {
        text = breakLine(project, positionSec);
    } else {
        text = "No rallies";
    }
    for (const ReviewHint& hint : project.hints) {
        if (!hint.done && positionSec >= hint.startSec && positionSec <= hint.endSec) text += hintNote(hint.kind);
    }
    return text;
}

}  // namespace rallinox
