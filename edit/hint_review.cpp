#include "edit/hint_review.h"

#include <algorithm>

namespace rallinox {

namespace {

// Playback may run this far past the window and still be stopped by it.
constexpr double kWindowSlackSec = 0.5;
// Stop a little before the window's end: the player reports positions per frame.
constexpr double kStopBeforeEndSec = 0.02;

const char* const kNoRoomMessage = "There is no room for a rally here any more";
const char* const kCannotSplitMessage = "This rally can no longer be split there";

bool sameStretch(const ReviewHint& a, const ReviewHint& b) {
    return a.kind == b.kind && a.startSec == b.startSec && a.endSec == b.endSec && a.pauseSec == b.pauseSec;
}

}  // namespace

bool HintReview::currentIsOpen(const Project& project) const {
    if (current_ < 0 || static_cast<size_t>(current_) >= project.hints.size() || !focused_) return false;
    const ReviewHint& hint = project.hints[current_];
    return !hint.done && sameStretch(hint, *focused_);
}

const ReviewHint* HintReview::openCurrent(const Project& project) const {
    return currentIsOpen(project) ? &project.hints[current_] : nullptr;
}

ReviewHint* HintReview::currentToAnswer(Project& project) const {
    return currentIsOpen(project) ? &project.hints[current_] : nullptr;
}

int64_t HintReview::focus(const Project& project, int index) {
    current_ = index;
    focused_.reset();
    playWindow_.reset();
    rallyToAdd_.reset();
    if (index >= 0 && static_cast<size_t>(index) < project.hints.size()) focused_ = project.hints[index];
    const ReviewHint* hint = openCurrent(project);
    if (!hint) return 0;
    rallyToAdd_ = TimeSpan{hint->startSec, hint->endSec};
    playWindow_ = hintPlayWindow(*hint, project.videoDurationSec);
    if (hint->kind == HintKind::Missed) return 0;
    const int related = relatedRallyIndex(project.rallies, *hint);
    return related < 0 ? 0 : project.rallies[related].id;
}

int HintReview::nextAfterAnswer(const Project& project, double answeredStartSec) {
    const std::vector<size_t> open = openHints(project.hints);
    for (size_t index : open) {
        if (project.hints[index].startSec > answeredStartSec) return static_cast<int>(index);
    }
    return open.empty() ? -1 : static_cast<int>(open.front());
}

int HintReview::neighbour(const Project& project, int step) const {
    const std::vector<size_t> open = openHints(project.hints);
    const auto here = std::find(open.begin(), open.end(), static_cast<size_t>(current_));
    if (current_ < 0 || here == open.end()) return -1;
    const long position = static_cast<long>(here - open.begin()) + step;
    if (position < 0 || position >= static_cast<long>(open.size())) return -1;
    return static_cast<int>(open[static_cast<size_t>(position)]);
}

bool HintReview::needsRefocus(const Project& project) const {
    return !currentIsOpen(project);
}

void HintReview::startRallyToAddAt(double positionSec) {
    if (rallyToAdd_) {
        rallyToAdd_->fromSec = std::min(rallyToAdd_->toSec - RallyEditor::kMinRallySec, positionSec);
    }
}

void HintReview::endRallyToAddAt(double positionSec) {
    if (rallyToAdd_) {
        rallyToAdd_->toSec = std::max(rallyToAdd_->fromSec + RallyEditor::kMinRallySec, positionSec);
    }
}

bool HintReview::autoStopShouldPause(const Project& project, double positionSec, bool playing) {
    if (!autoStopArmed_) return false;
    const bool inWindow = playWindow_ && positionSec >= playWindow_->fromSec - kWindowSlackSec &&
                          positionSec <= playWindow_->toSec + kWindowSlackSec;
    if (!openCurrent(project) || !inWindow) {
        autoStopArmed_ = false;
        return false;
    }
    return playing && positionSec >= playWindow_->toSec - kStopBeforeEndSec;
}

HintAnswer HintReview::addAsRally(Project& project, RallyEditor& editor) {
    ReviewHint* hint = currentToAnswer(project);
    if (!hint || !rallyToAdd_) return {};
    const int64_t id = editor.addRally(rallyToAdd_->fromSec, rallyToAdd_->toSec);
    if (id == 0) return {false, 0, kNoRoomMessage};
    hint->done = true;
    return {true, id, ""};
}

HintAnswer HintReview::deleteRelatedRally(Project& project, RallyEditor& editor) {
    ReviewHint* hint = currentToAnswer(project);
    if (!hint) return {};
    const int related = relatedRallyIndex(project.rallies, *hint);
    if (related < 0 || !editor.deleteRally(project.rallies[related].id)) return {};
    hint->done = true;
    return {true, 0, ""};
}

HintAnswer HintReview::splitAtPause(Project& project, RallyEditor& editor) {
    return editAtPause(project, "", [&](int64_t id, double pauseSec) { return editor.splitAt(id, pauseSec); });
}

HintAnswer HintReview::keepPart(Project& project, RallyEditor& editor, bool keepFirst) {
    return editAtPause(project,
                       keepFirst ? "Kept the first part  -  Ctrl+Z undoes it"
                                 : "Kept the second part  -  Ctrl+Z undoes it",
                       [&](int64_t id, double pauseSec) { return editor.keepPart(id, pauseSec, keepFirst); });
}

HintAnswer HintReview::editAtPause(Project& project, const char* doneMessage,
                                   const std::function<bool(int64_t, double)>& edit) {
    ReviewHint* hint = currentToAnswer(project);
    if (!hint) return {};
    const int related = relatedRallyIndex(project.rallies, *hint);
    if (related < 0 || !edit(project.rallies[related].id, hint->pauseSec)) return {false, 0, kCannotSplitMessage};
    hint->done = true;
    return {true, 0, doneMessage};
}

HintAnswer HintReview::dismiss(Project& project) {
    ReviewHint* hint = currentToAnswer(project);
    if (!hint) return {};
    hint->done = true;
    return {true, 0, ""};
}

}  // namespace rallinox
