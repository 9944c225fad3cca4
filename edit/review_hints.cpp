#include "edit/review_hints.h"

#include <algorithm>

#include "edit/rally_editor.h"

namespace rallinox {

namespace {

// How far a rally may end after a missed stretch starts and still count as before it.
constexpr double kPlaceToleranceSec = 0.01;
// Play around a joined hint's pause, and around a missed stretch.
constexpr double kPauseContextSec = 5;
constexpr double kMissedContextSec = 2;
constexpr double kUnknownVideoEndSec = 1e9;

}  // namespace

const char* hintInstruction(HintKind kind) {
    switch (kind) {
        case HintKind::Missed:
            return "Watch for a rally the cut left out. If there is one, set its start and end and add it; "
                   "if not, click Not a rally.";
        case HintKind::Doubtful:
            return "Is this real play? If not, delete it; if it is, click It's a rally.";
        case HintKind::Joined:
            return "Watch for play stopping and starting again at the marked pause. Split there, keep only the "
                   "real part if one side is noise, or click It's one rally.";
    }
    return "";
}

std::vector<size_t> openHints(const std::vector<ReviewHint>& hints) {
    std::vector<size_t> open;
    for (size_t i = 0; i < hints.size(); ++i) {
        if (!hints[i].done) open.push_back(i);
    }
    std::stable_sort(open.begin(), open.end(),
                     [&](size_t a, size_t b) { return hints[a].startSec < hints[b].startSec; });
    return open;
}

int relatedRallyIndex(const std::vector<Rally>& rallies, const ReviewHint& hint) {
    int best = -1;
    double bestOverlap = 0;
    for (size_t i = 0; i < rallies.size(); ++i) {
        const double overlap =
            std::min(hint.endSec, rallies[i].endSec) - std::max(hint.startSec, rallies[i].startSec);
        if (overlap > bestOverlap) {
            bestOverlap = overlap;
            best = static_cast<int>(i);
        }
    }
    return best;
}

TimeSpan hintPlayWindow(const ReviewHint& hint, double videoDurationSec) {
    switch (hint.kind) {
        case HintKind::Joined:
            return {std::max(hint.pauseSec - kPauseContextSec, hint.startSec),
                    std::min(hint.pauseSec + kPauseContextSec, hint.endSec)};
        case HintKind::Doubtful:
            return {hint.startSec, hint.endSec};
        case HintKind::Missed:
            break;
    }
    const double videoEnd = videoDurationSec > 0 ? videoDurationSec : kUnknownVideoEndSec;
    return {std::max(hint.startSec - kMissedContextSec, 0.0), std::min(hint.endSec + kMissedContextSec, videoEnd)};
}

bool pauseUsable(const std::vector<Rally>& rallies, const ReviewHint& hint) {
    const int related = relatedRallyIndex(rallies, hint);
    if (related < 0) return false;
    const Rally& rally = rallies[related];
    return hint.pauseSec > rally.startSec + RallyEditor::kMinRallySec && hint.pauseSec < rally.endSec - RallyEditor::kMinRallySec;
}

int openHintAt(const std::vector<ReviewHint>& hints, double positionSec) {
    for (size_t i = 0; i < hints.size(); ++i) {
        const ReviewHint& hint = hints[i];
        if (!hint.done && positionSec >= hint.startSec && positionSec <= hint.endSec) return static_cast<int>(i);
    }
    return -1;
}

std::string missedHintPlace(const std::vector<Rally>& rallies, const ReviewHint& hint, bool longForm) {
    int before = -1;
    for (size_t i = 0; i < rallies.size(); ++i) {
        if (rallies[i].endSec <= hint.startSec + kPlaceToleranceSec) before = static_cast<int>(i);
    }
    if (before < 0) return ", before the first rally";
    if (static_cast<size_t>(before) + 1 == rallies.size()) return ", after the last rally";
    const std::string beforeName = rallyDisplayName(rallies[before], static_cast<size_t>(before));
    if (!longForm) return ", after " + beforeName;
    return ", between " + beforeName + " and " + rallyDisplayName(rallies[before + 1], static_cast<size_t>(before) + 1);
}

}  // namespace rallinox
