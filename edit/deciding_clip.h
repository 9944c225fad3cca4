// The short clip that shows who won a rally: its end (the point itself) or
// the start of the next rally (the winner serves next). It plays once and
// stops; "Show more" widens it step by step.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/core/project.h"
#include "edit/review_hints.h"

namespace rallinox {

struct ClipRules {
    double startPaddingSec = 1.5;  // the project's time kept before and after play
    double endPaddingSec = 3.0;
    bool byNextServe = false;  // the start of the next rally instead of the end of this one
};

// The stretch that decides rally `index`, widened by `moreSec`; [0, 0] for an
// index outside the list.
TimeSpan decidingClipWindow(const std::vector<Rally>& rallies, int index, double moreSec, const ClipRules& rules);

// The line that explains what the clip of rally `index` shows and, when the
// set may have ended, what to look for.
std::string clipText(const std::vector<Rally>& rallies, int index, const MatchSetup& match, bool byNextServe,
                     bool wholeRally);

// What the player must do in this frame for the clip.
enum class ClipStep { None, Pause, Ended };

class DecidingClip {
public:
    // Each "Show more" press adds this much.
    static constexpr double kMoreStepSec = 5;

    // Start the clip of rally `index`; false (and nothing changes) for an
    // index outside the list. The caller highlights the rally and plays the window.
    bool start(const std::vector<Rally>& rallies, int index, double moreSec, const ClipRules& rules);
    bool startWholeRally(const std::vector<Rally>& rallies, int index);
    // Five seconds more than the clip now showing for that rally (or than none).
    bool showMore(const std::vector<Rally>& rallies, int index, const ClipRules& rules);

    // Every frame while active: the clip ends when another rally is
    // highlighted or the player left the window, and pauses once at its end.
    ClipStep update(int64_t highlightedRallyId, double positionSec, bool playing);
    void end() { active_ = false; }

    bool active() const { return active_; }
    int64_t rallyId() const { return rallyId_; }
    const TimeSpan& window() const { return window_; }
    bool wholeRally() const { return wholeRally_; }
    double moreSec() const { return moreSec_; }

private:
    bool activate(const std::vector<Rally>& rallies, int index, const TimeSpan& window);

    bool active_ = false;
    int64_t rallyId_ = 0;
    TimeSpan window_;
    bool wholeRally_ = false;
    double moreSec_ = 0;
};

}  // namespace rallinox
