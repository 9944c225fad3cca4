// The editor's walk through the open review hints: which hint is in focus,
// what is played for it, when playback stops by itself, and the answers,
// which edit the rallies through the RallyEditor and mark the hint done.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/core/project.h"
#include "edit/rally_editor.h"
#include "edit/review_hints.h"

namespace rallinox {

// What an answer did: whether the hint is now done (the caller then saves the
// project and moves on), the rally to highlight (0: keep the current one) and
// a message for the user (empty: none).
struct HintAnswer {
    bool done = false;
    int64_t highlightRallyId = 0;
    std::string message;
};

class HintReview {
public:
    // Focuses hint `index` of the project's list. Returns the id of the rally
    // the hint is about, which the editor highlights, or 0.
    int64_t focus(const Project& project, int index);
    // After an answer: the first open hint starting after the answered one,
    // else the first open hint, else -1 (nothing left to check).
    static int nextAfterAnswer(const Project& project, double answeredStartSec);
    // The open hint before or after the current one, or -1.
    int neighbour(const Project& project, int step) const;
    // An index that no longer points at the open hint it was focused on (it was
    // answered, or another project or analysis put other hints in the list) is
    // replaced by the first open one.
    bool needsRefocus(const Project& project) const;

    int currentHint() const { return current_; }
    // The hint in focus while it is still open and unchanged, else null.
    const ReviewHint* openCurrent(const Project& project) const;
    const std::optional<TimeSpan>& playWindow() const { return playWindow_; }
    const std::optional<TimeSpan>& rallyToAdd() const { return rallyToAdd_; }
    void startRallyToAddAt(double positionSec);
    void endRallyToAddAt(double positionSec);

    // Playing the window arms the auto-stop; call autoStopShouldPause every frame.
    void armAutoStop() { autoStopArmed_ = playWindow_.has_value(); }
    bool autoStopArmed() const { return autoStopArmed_; }
    // True when the player must pause now (once, at the window's end). Leaving
    // the window or losing the hint disarms it, so the user can play on freely.
    bool autoStopShouldPause(const Project& project, double positionSec, bool playing);

    HintAnswer addAsRally(Project& project, RallyEditor& editor);
    HintAnswer deleteRelatedRally(Project& project, RallyEditor& editor);
    HintAnswer splitAtPause(Project& project, RallyEditor& editor);
    HintAnswer keepPart(Project& project, RallyEditor& editor, bool keepFirst);
    // "Not a rally", "It's a rally" and "It's one rally": only dismiss the hint.
    HintAnswer dismiss(Project& project);

private:
    bool currentIsOpen(const Project& project) const;
    ReviewHint* currentToAnswer(Project& project) const;
    // Edits the related rally at the pause; refusals tell the user it no longer fits.
    HintAnswer editAtPause(Project& project, const char* doneMessage,
                           const std::function<bool(int64_t, double)>& edit);

    int current_ = -1;
    std::optional<ReviewHint> focused_;  // the hint as it was when focused
    std::optional<TimeSpan> playWindow_;
    std::optional<TimeSpan> rallyToAdd_;
    bool autoStopArmed_ = false;
};

}  // namespace rallinox
