#include "app/core/project_repair.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>
#include <utility>

namespace rallinox {

namespace {

// Counts each kind of change, in the order first seen.
class Changes {
public:
    void note(const std::string& what) {
        const auto same = std::find_if(counts_.begin(), counts_.end(), [&](const auto& c) { return c.first == what; });
        if (same == counts_.end()) {
            counts_.emplace_back(what, 1);
        } else {
            ++same->second;
        }
    }
    std::vector<std::string> lines() const {
        std::vector<std::string> out;
        for (const auto& [what, count] : counts_) out.push_back(std::to_string(count) + " x " + what);
        return out;
    }

private:
    std::vector<std::pair<std::string, int>> counts_;
};

void repairVideoLength(Project& project, Changes& changes) {
    const double length = project.videoDurationSec;
    if (std::isfinite(length) && length >= 0 && length <= kLongestVideoSec) return;
    project.videoDurationSec = 0;
    changes.note("video length that cannot be true taken as unknown");
}

void repairPadding(double& seconds, double fallback, Changes& changes) {
    if (std::isfinite(seconds) && seconds >= 0 && seconds <= kLongestVideoSec) return;
    seconds = fallback;
    changes.note("rally detection setting that cannot be true set to its default");
}

// False when nothing of the rally is left to keep.
bool repairRallyTimes(Rally& rally, double videoEnd, Changes& changes) {
    if (!std::isfinite(rally.startSec) || !std::isfinite(rally.endSec)) {
        changes.note("rally with a time that is not a number removed");
        return false;
    }
    if (rally.endSec < rally.startSec) {
        std::swap(rally.startSec, rally.endSec);
        changes.note("rally ending before its start: start and end swapped");
    }
    if (rally.endSec <= 0 || rally.startSec >= videoEnd || rally.endSec == rally.startSec) {
        changes.note("rally without any time inside the video removed");
        return false;
    }
    if (rally.startSec < 0) {
        rally.startSec = 0;
        changes.note("rally start before the video moved to 0");
    }
    if (rally.endSec > videoEnd) {
        rally.endSec = videoEnd;
        changes.note("rally end past the video's end moved to its end");
    }
    return true;
}

// Keeps the items `repair` mends and drops those it cannot.
template <typename Item, typename Repair>
void keepRepaired(std::vector<Item>& items, Repair repair) {
    std::vector<Item> kept;
    kept.reserve(items.size());
    for (Item& item : items) {
        if (repair(item)) kept.push_back(std::move(item));
    }
    items = std::move(kept);
}

// Sorted by start; a rally starting inside the one before starts at its end.
void removeOverlaps(std::vector<Rally>& rallies, Changes& changes) {
    std::stable_sort(rallies.begin(), rallies.end(), [](const Rally& a, const Rally& b) { return a.startSec < b.startSec; });
    std::vector<Rally> kept;
    kept.reserve(rallies.size());
    for (Rally& rally : rallies) {
        if (!kept.empty() && rally.startSec < kept.back().endSec) {
            rally.startSec = kept.back().endSec;
            if (!(rally.endSec > rally.startSec)) {
                changes.note("rally lying inside the one before removed");
                continue;
            }
            changes.note("overlapping rally now starts where the one before ends");
        }
        kept.push_back(std::move(rally));
    }
    rallies = std::move(kept);
}

void repairRallyIds(Project& project, Changes& changes) {
    std::vector<Rally>& rallies = project.rallies;
    std::unordered_set<int64_t> seen;
    std::vector<size_t> renumbered;
    int64_t largest = 0;
    for (size_t i = 0; i < rallies.size(); ++i) {
        const int64_t id = rallies[i].id;
        if (id <= 0 || id >= kRallyIdLimit || !seen.insert(id).second) {
            renumbered.push_back(i);
        } else {
            largest = std::max(largest, id);
        }
    }
    // Too close to the limit to number the others after it: all start afresh.
    if (largest >= kRallyIdLimit - 1 - static_cast<int64_t>(renumbered.size())) {
        renumbered.clear();
        for (size_t i = 0; i < rallies.size(); ++i) renumbered.push_back(i);
        largest = 0;
    }
    int64_t next = largest + 1;
    for (size_t i : renumbered) {
        rallies[i].id = next++;
        changes.note("rally id that repeats or is out of range replaced");
    }
    if (project.nextRallyId >= next && project.nextRallyId < kRallyIdLimit) return;
    project.nextRallyId = next;
    changes.note("next rally id set after the largest rally id");
}

// False when the hint has no usable time.
bool repairHint(ReviewHint& hint, double videoEnd, Changes& changes) {
    if (!std::isfinite(hint.startSec) || !std::isfinite(hint.endSec) || !std::isfinite(hint.pauseSec)) {
        changes.note("place to check with a time that is not a number removed");
        return false;
    }
    const ReviewHint before = hint;
    if (hint.endSec < hint.startSec) std::swap(hint.startSec, hint.endSec);
    hint.startSec = std::clamp(hint.startSec, 0.0, videoEnd);
    hint.endSec = std::clamp(hint.endSec, 0.0, videoEnd);
    hint.pauseSec = std::clamp(hint.pauseSec, 0.0, videoEnd);
    if (!(hint == before)) changes.note("place to check moved inside the video");
    return true;
}

}  // namespace

std::vector<std::string> repairProject(Project& project) {
    Changes changes;
    repairVideoLength(project, changes);
    const ProjectSettings defaults;
    repairPadding(project.settings.startPaddingSec, defaults.startPaddingSec, changes);
    repairPadding(project.settings.endPaddingSec, defaults.endPaddingSec, changes);
    repairPadding(project.settings.minRallySec, defaults.minRallySec, changes);

    const double videoEnd = project.videoDurationSec > 0 ? project.videoDurationSec : kLongestVideoSec;
    keepRepaired(project.rallies, [&](Rally& rally) { return repairRallyTimes(rally, videoEnd, changes); });
    removeOverlaps(project.rallies, changes);
    repairRallyIds(project, changes);
    keepRepaired(project.hints, [&](ReviewHint& hint) { return repairHint(hint, videoEnd, changes); });
    return changes.lines();
}

}  // namespace rallinox
