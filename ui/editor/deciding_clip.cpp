#include "ui/editor/deciding_clip.h"

#include <algorithm>
#include <string>
#include <vector>

#include "ui/editor/editor_context.h"
#include "edit/deciding_clip.h"
#include "ui/editor/rally_actions.h"
#include "ui/kit/theme.h"
#include "video/preview_player.h"

namespace rallinox::ui {

namespace {

ClipRules clipRules(const EditorContext& editor) {
    const ProjectSettings& paddings = editor.project.settings;
    return {paddings.startPaddingSec, paddings.endPaddingSec, editor.settings.decideByNextServe};
}

// The list position of the clip's rally, or -1 when no clip shows an existing rally.
int clipIndex(const EditorContext& editor) {
    const DecidingClip& clip = editor.state.scoreTab.decidingClip;
    if (!clip.active()) return -1;
    return editor.rallyEditor.indexOfId(clip.rallyId());
}

void playClipWindow(EditorContext& editor) {
    const DecidingClip& clip = editor.state.scoreTab.decidingClip;
    editor.selectedRallyId = clip.rallyId();
    editor.player.seek(clip.window().fromSec);
    editor.player.play();
}

}  // namespace

void updateDecidingClip(EditorContext& editor) {
    DecidingClip& clip = editor.state.scoreTab.decidingClip;
    if (!clip.active()) return;
    if (clipIndex(editor) < 0) {
        clip.end();  // its rally was deleted
        return;
    }
    if (clip.update(editor.selectedRallyId, editor.player.position(), editor.player.playing()) == ClipStep::Pause) {
        editor.player.pause();
    }
}

bool decidingClipActive(const EditorContext& editor) { return clipIndex(editor) >= 0; }

std::string decidingClipText(const EditorContext& editor) {
    const int index = clipIndex(editor);
    if (index < 0) return {};
    const DecidingClip& clip = editor.state.scoreTab.decidingClip;
    return "Who won rally " + std::to_string(index + 1) + "?   " +
           clipText(editor.project.rallies, index, editor.project.match, editor.settings.decideByNextServe,
                    clip.wholeRally());
}

std::string highlightedClipText(const EditorContext& editor) {
    const int index = highlightedIndex(editor);
    if (index < 0) return {};
    const DecidingClip& clip = editor.state.scoreTab.decidingClip;
    const bool wholeRally = clip.active() && clip.wholeRally() && clip.rallyId() == editor.selectedRallyId;
    return clipText(editor.project.rallies, index, editor.project.match, editor.settings.decideByNextServe,
                    wholeRally);
}

void drawDecidingClipMarks(const EditorContext& editor, ImDrawList* draw, ImVec2 topLeft, ImVec2 size,
                           double durationSec) {
    if (clipIndex(editor) < 0 || durationSec <= 0) return;
    const TimeSpan& window = editor.state.scoreTab.decidingClip.window();
    const float left = topLeft.x + static_cast<float>(window.fromSec / durationSec) * size.x;
    const float right = std::max(left + 3.0f, topLeft.x + static_cast<float>(window.toSec / durationSec) * size.x);
    const ImVec2 min(left, topLeft.y);
    const ImVec2 max(right, topLeft.y + size.y);
    draw->AddRectFilled(min, max, colors::kClipFill, 2.0f);
    draw->AddRect(min, max, colors::kClipEdge, 2.0f, 0, 1.5f);
}

void playDecidingClip(EditorContext& editor, bool showMore) {
    const int index = highlightedIndex(editor);
    if (index < 0) return;
    editor.state.scoreTab.bringToFront = true;
    DecidingClip& clip = editor.state.scoreTab.decidingClip;
    const std::vector<Rally>& rallies = editor.project.rallies;
    const bool started = showMore ? clip.showMore(rallies, index, clipRules(editor))
                                  : clip.start(rallies, index, 0, clipRules(editor));
    if (started) playClipWindow(editor);
}

void playWholeRally(EditorContext& editor) {
    const int index = highlightedIndex(editor);
    if (index >= 0 && editor.state.scoreTab.decidingClip.startWholeRally(editor.project.rallies, index)) {
        playClipWindow(editor);
    }
}

void playClipOfRally(EditorContext& editor, int index) {
    if (editor.state.scoreTab.decidingClip.start(editor.project.rallies, index, 0, clipRules(editor))) {
        playClipWindow(editor);
    }
}

void playNeighbourClip(EditorContext& editor, int step) {
    const int index = clipIndex(editor);
    if (index >= 0) playClipOfRally(editor, index + step);
}

}  // namespace rallinox::ui
