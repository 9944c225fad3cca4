#include "edit/rally_editor.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace rallinox {

namespace {

// Upper bound for times when the project does not know its video's length.
constexpr double kUnknownVideoEndSec = 1e12;

// Shrinks [from, to] so that it no longer runs into any rally. Returns false
// when the stretch lies inside a rally or wholly covers one.
bool fitBetweenRallies(const std::vector<Rally>& rallies, double& from, double& to) {
    for (const Rally& rally : rallies) {
        if (from >= rally.startSec && to <= rally.endSec) return false;
        if (from >= rally.startSec && from < rally.endSec && to > rally.endSec) from = rally.endSec;
        if (rally.startSec > from && to > rally.startSec && to <= rally.endSec) to = rally.startSec;
    }
    return std::none_of(rallies.begin(), rallies.end(), [&](const Rally& rally) {
        return from <= rally.startSec && to >= rally.endSec;
    });
}

// The first rally of `after` that `before` lacks or holds otherwise; 0 when none.
int64_t firstChangedRally(const std::vector<Rally>& before, const std::vector<Rally>& after) {
    for (const Rally& rally : after) {
        const auto same =
            std::find_if(before.begin(), before.end(), [&](const Rally& old) { return old.id == rally.id; });
        if (same == before.end() || *same != rally) return rally.id;
    }
    return 0;
}

}  // namespace

RallyEditor::RallyEditor(Project& project) : project_(project) {}

int RallyEditor::indexOfId(int64_t id) const {
    const auto& rallies = project_.rallies;
    for (size_t i = 0; i < rallies.size(); ++i) {
        if (rallies[i].id == id) return static_cast<int>(i);
    }
    return -1;
}

std::string RallyEditor::nameAt(int index) const {
    return rallyDisplayName(project_.rallies[index], static_cast<size_t>(index));
}

double RallyEditor::videoEndSec() const {
    return project_.videoDurationSec > 0 ? project_.videoDurationSec : kUnknownVideoEndSec;
}

int64_t RallyEditor::takeNewId() {
    return project_.nextRallyId++;
}

void RallyEditor::pushCapped(std::deque<Step>& steps, Step step) {
    steps.push_back(std::move(step));
    if (steps.size() > kMaxUndoSteps) steps.pop_front();
}

void RallyEditor::remember(std::string label) {
    pushCapped(undoSteps_, {project_.rallies, std::move(label)});
    redoSteps_.clear();
}

// A time that is not a number would poison the list order: such edits are
// refused like any other impossible edit.

bool RallyEditor::changeStart(int64_t id, double timeSec) {
    const int i = indexOfId(id);
    if (i < 0 || !std::isfinite(timeSec)) return false;
    Rally& rally = project_.rallies[i];
    const double lowest = i > 0 ? project_.rallies[i - 1].endSec : 0.0;
    const double start = std::max(timeSec, lowest);
    if (rally.endSec - start < kMinRallySec) return false;
    remember("change the start of " + nameAt(i));
    rally.startSec = start;
    return true;
}

bool RallyEditor::changeEnd(int64_t id, double timeSec) {
    const int i = indexOfId(id);
    if (i < 0 || !std::isfinite(timeSec)) return false;
    Rally& rally = project_.rallies[i];
    const bool isLast = static_cast<size_t>(i) + 1 == project_.rallies.size();
    const double highest = isLast ? videoEndSec() : project_.rallies[i + 1].startSec;
    const double end = std::min(timeSec, highest);
    if (end - rally.startSec < kMinRallySec) return false;
    remember("change the end of " + nameAt(i));
    rally.endSec = end;
    return true;
}

bool RallyEditor::splitAt(int64_t id, double timeSec) {
    const int i = indexOfId(id);
    if (i < 0 || !std::isfinite(timeSec)) return false;
    const Rally& rally = project_.rallies[i];
    if (timeSec - rally.startSec < kMinRallySec || rally.endSec - timeSec < kMinRallySec) return false;
    remember("split " + nameAt(i));
    Rally second = rally;  // keeps selected, winner and setStart
    second.id = takeNewId();
    second.startSec = timeSec;
    second.name.clear();
    second.source = "split";
    project_.rallies[i].endSec = timeSec;
    project_.rallies.insert(project_.rallies.begin() + i + 1, std::move(second));
    return true;
}

bool RallyEditor::keepPart(int64_t id, double timeSec, bool keepFirst) {
    const int i = indexOfId(id);
    if (i < 0 || !std::isfinite(timeSec)) return false;
    Rally& rally = project_.rallies[i];
    if (timeSec - rally.startSec < kMinRallySec || rally.endSec - timeSec < kMinRallySec) return false;
    remember((keepFirst ? "keep the first part of " : "keep the second part of ") + nameAt(i));
    if (keepFirst) {
        rally.endSec = timeSec;
    } else {
        rally.startSec = timeSec;
    }
    return true;
}

bool RallyEditor::joinWithNext(int64_t id) {
    const int i = indexOfId(id);
    if (i < 0 || static_cast<size_t>(i) + 1 >= project_.rallies.size()) return false;
    remember("join " + nameAt(i) + " with the next rally");
    auto next = project_.rallies.begin() + i + 1;
    project_.rallies[i].endSec = next->endSec;
    project_.rallies.erase(next);
    return true;
}

bool RallyEditor::deleteRally(int64_t id) {
    const int i = indexOfId(id);
    if (i < 0) return false;
    remember("delete " + nameAt(i));
    project_.rallies.erase(project_.rallies.begin() + i);
    return true;
}

bool RallyEditor::renameRally(int64_t id, const std::string& newName) {
    const int i = indexOfId(id);
    // An unchanged name is no edit: it would only leave an empty undo step.
    if (i < 0 || project_.rallies[i].name == newName) return false;
    remember("rename " + nameAt(i));
    project_.rallies[i].name = newName;
    return true;
}

int64_t RallyEditor::addRally(double fromSec, double toSec) {
    if (std::isnan(fromSec) || std::isnan(toSec)) return 0;
    if (fromSec > toSec) std::swap(fromSec, toSec);
    double from = std::max(fromSec, 0.0);
    double to = std::min(toSec, videoEndSec());
    if (!fitBetweenRallies(project_.rallies, from, to)) return 0;
    if (to - from < kMinRallySec) return 0;
    remember("add a rally");
    Rally rally;
    rally.id = takeNewId();
    rally.startSec = from;
    rally.endSec = to;
    rally.source = "manual";
    project_.rallies.push_back(rally);
    std::stable_sort(project_.rallies.begin(), project_.rallies.end(),
                     [](const Rally& a, const Rally& b) { return a.startSec < b.startSec; });
    return rally.id;
}

bool RallyEditor::setWinner(int64_t id, Winner winner) {
    const int i = indexOfId(id);
    if (i < 0 || project_.rallies[i].winner == winner) return false;
    remember((winner == Winner::None ? "clear the winner of " : "score ") + nameAt(i));
    project_.rallies[i].winner = winner;
    return true;
}

bool RallyEditor::setSetStart(int64_t id, bool startsSet) {
    const int i = indexOfId(id);
    // The first rally always starts set 1 and never carries the mark.
    if (i <= 0 || project_.rallies[i].setStart == startsSet) return false;
    remember((startsSet ? "start a new set at " : "remove the set start at ") + nameAt(i));
    project_.rallies[i].setStart = startsSet;
    return true;
}

bool RallyEditor::setSelected(int64_t id, bool selected) {
    const int i = indexOfId(id);
    if (i < 0 || project_.rallies[i].selected == selected) return false;
    remember((selected ? "tick " : "untick ") + nameAt(i));
    project_.rallies[i].selected = selected;
    return true;
}

bool RallyEditor::setAllSelected(bool selected) {
    auto& rallies = project_.rallies;
    if (std::all_of(rallies.begin(), rallies.end(), [&](const Rally& r) { return r.selected == selected; })) {
        return false;
    }
    remember(selected ? "tick all rallies" : "untick all rallies");
    for (Rally& rally : rallies) rally.selected = selected;
    return true;
}

bool RallyEditor::travel(std::deque<Step>& from, std::deque<Step>& to) {
    if (from.empty()) return false;
    Step step = std::move(from.back());
    from.pop_back();
    restoredRallyId_ = firstChangedRally(project_.rallies, step.rallies);
    std::swap(project_.rallies, step.rallies);
    pushCapped(to, std::move(step));
    return true;
}

bool RallyEditor::undo() { return travel(undoSteps_, redoSteps_); }

bool RallyEditor::redo() { return travel(redoSteps_, undoSteps_); }

std::string RallyEditor::undoLabel() const {
    return undoSteps_.empty() ? std::string() : undoSteps_.back().label;
}

std::string RallyEditor::redoLabel() const {
    return redoSteps_.empty() ? std::string() : redoSteps_.back().label;
}

int64_t addRallyHere(RallyEditor& editor, double timeSec) { return editor.addRally(timeSec, timeSec + kAddedRallySec); }

std::string nameFromRenameText(const std::string& text, size_t position) {
    if (text == "Rally " + std::to_string(position + 1)) return {};
    return text;
}

}  // namespace rallinox
