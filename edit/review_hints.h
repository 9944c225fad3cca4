// What the review hints of the analysis point at, recomputed from the current
// rallies every time so that a hint follows the rallies through edits.
#pragma once

#include <string>
#include <vector>

#include "app/core/project.h"

namespace rallinox {

struct TimeSpan {
    double fromSec = 0;
    double toSec = 0;

    bool operator==(const TimeSpan&) const = default;
};

// What the user should look for, shown above the answers.
const char* hintInstruction(HintKind kind);

// Positions in the project's hint list of the hints not yet answered, by start time.
std::vector<size_t> openHints(const std::vector<ReviewHint>& hints);

// The rally that overlaps the hint's stretch the most (the first one on ties),
// or -1 when none overlaps it.
int relatedRallyIndex(const std::vector<Rally>& rallies, const ReviewHint& hint);

// The stretch played for a hint: the pause with some play around it, the
// doubtful rally itself, or the missed stretch with two seconds either side.
TimeSpan hintPlayWindow(const ReviewHint& hint, double videoDurationSec);

// A joined hint can still be split or trimmed at its pause: the related rally
// runs more than half a second on both sides of it.
bool pauseUsable(const std::vector<Rally>& rallies, const ReviewHint& hint);

// The first open hint (in list order) whose stretch holds the position, or -1.
int openHintAt(const std::vector<ReviewHint>& hints, double positionSec);

// Where a missed stretch lies among the rallies, to follow its times:
// ", before the first rally", ", after the last rally", or ", after Rally 3"
// (short form) / ", between Rally 3 and Rally 4" (long form).
std::string missedHintPlace(const std::vector<Rally>& rallies, const ReviewHint& hint, bool longForm);

}  // namespace rallinox
