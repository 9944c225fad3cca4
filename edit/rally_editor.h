// Every change the user makes to the rallies of the open project, each one
// undoable and redoable, ticks for export included.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "app/core/project.h"

namespace rallinox {

class RallyEditor {
public:
    static constexpr size_t kMaxUndoSteps = 50;
    // Edits never make a rally shorter than this; exactly this long is allowed.
    static constexpr double kMinRallySec = 0.5;

    // The editor keeps a reference: the project must outlive it.
    explicit RallyEditor(Project& project);

    // Each returns true when the rallies changed (the caller then saves the
    // project). A refused edit returns false and leaves project and history alone.
    bool changeStart(int64_t id, double timeSec);
    bool changeEnd(int64_t id, double timeSec);
    bool splitAt(int64_t id, double timeSec);
    bool keepPart(int64_t id, double timeSec, bool keepFirst);
    bool joinWithNext(int64_t id);
    bool deleteRally(int64_t id);
    bool renameRally(int64_t id, const std::string& newName);
    // Adds the stretch, trimmed against neighbouring rallies; returns the new
    // rally's id, or 0 when there is no room for at least kMinRallySec.
    int64_t addRally(double fromSec, double toSec);
    bool setWinner(int64_t id, Winner winner);
    bool setSetStart(int64_t id, bool startsSet);

    // Ticks for export; false when the ticks already were so.
    bool setSelected(int64_t id, bool selected);
    bool setAllSelected(bool selected);

    // Restores the rallies as they were before the newest step. The ids that
    // step handed out stay used.
    bool undo();
    bool canUndo() const { return !undoSteps_.empty(); }
    // Names the edit that undo() would revert; empty when there is none.
    std::string undoLabel() const;
    // Makes the newest undone step again; any new edit forgets the undone steps.
    bool redo();
    bool canRedo() const { return !redoSteps_.empty(); }
    std::string redoLabel() const;
    // The first rally in list order that the last undo or redo brought back
    // or changed; 0 when it only took rallies away.
    int64_t restoredRallyId() const { return restoredRallyId_; }

    // Position of the rally in the project's list, or -1.
    int indexOfId(int64_t id) const;

private:
    struct Step {
        std::vector<Rally> rallies;
        std::string label;
    };

    static void pushCapped(std::deque<Step>& steps, Step step);
    void remember(std::string label);
    // Moves the newest step of `from` onto `to`, swapping its rallies with the project's.
    bool travel(std::deque<Step>& from, std::deque<Step>& to);
    std::string nameAt(int index) const;
    double videoEndSec() const;
    int64_t takeNewId();

    Project& project_;
    // Each step holds the rallies as they were on its other side; oldest first.
    std::deque<Step> undoSteps_;
    std::deque<Step> redoSteps_;
    int64_t restoredRallyId_ = 0;
};

// "Add rally here" adds this much from the current frame; the user then adjusts the end.
inline constexpr double kAddedRallySec = 8.0;

// The new rally's id, or 0 when no half second is free there.
int64_t addRallyHere(RallyEditor& editor, double timeSec);

// Empty for an empty text and for the rally's own default name ("Rally "
// and its 1-based position), so that an unnamed rally stays unnamed.
std::string nameFromRenameText(const std::string& text, size_t position);

}  // namespace rallinox
