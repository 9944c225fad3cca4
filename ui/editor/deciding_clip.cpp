#include "ui/editor/deciding_clip.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/shell/app.h"
#include "edit/deciding_clip.h"
#include "ui/editor/rally_actions.h"

namespace rallinox::ui {

namespace {

ClipRules clipRules(const App& app) {
    const ProjectSettings& paddings = app.openProject->settings;
    return {paddings.startPaddingSec, paddings.endPaddingSec, app.settings.decideByNextServe};
}

// The list position of the clip's rally, or -1 when no clip shows an existing rally.
int clipIndex(const App& app) {
    const DecidingClip& clip = app.editor.decidingClip;
    if (!clip.active() || !app.rallyEditor) return -1;
    return app.rallyEditor->indexOfId(clip.rallyId());
}

void playClipWindow(App& app) {
    const DecidingClip& clip = app.editor.decidingClip;
    app.selectedRallyId = clip.rallyId();
    app.player.seek(clip.window().fromSec);
    app.player.play();
}

}  // namespace

void updateDecidingClip(App& app) {
    DecidingClip& clip = app.editor.decidingClip;
    if (!clip.active()) return;
    if (clipIndex(app) < 0) {
        clip.end();  // its rally was deleted
        return;
    }
    if (clip.update(app.selectedRallyId, app.player.position(), app.player.playing()) == ClipStep::Pause) {
        app.player.pause();
    }
}

bool decidingClipActive(const App& app) { return clipIndex(app) >= 0; }

std::string decidingClipText(const App& app) {
    const int index = clipIndex(app);
    if (index < 0) return {};
    const DecidingClip& clip = app.editor.decidingClip;
    return "Who won rally " + std::to_string(index + 1) + "?   " +
           clipText(app.openProject->rallies, index, app.openProject->match, app.settings.decideByNextServe,
                    clip.wholeRally());
}

std::string highlightedClipText(const App& app) {
    const int index = highlightedIndex(app);
    if (index < 0) return {};
    const DecidingClip& clip = app.editor.decidingClip;
    const bool wholeRally = clip.active() && clip.wholeRally() && clip.rallyId() == app.selectedRallyId;
    return clipText(app.openProject->rallies, index, app.openProject->match, app.settings.decideByNextServe,
                    wholeRally);
}

void drawDecidingClipMarks(const App& app, ImDrawList* draw, ImVec2 topLeft, ImVec2 size, double durationSec) {
    if (clipIndex(app) < 0 || durationSec <= 0) return;
    const TimeSpan& window = app.editor.decidingClip.window();
    const float left = topLeft.x + static_cast<float>(window.fromSec / durationSec) * size.x;
    const float right = std::max(left + 3.0f, topLeft.x + static_cast<float>(window.toSec / durationSec) * size.x);
    const ImVec2 min(left, topLeft.y);
    const ImVec2 max(right, topLeft.y + size.y);
    draw->AddRectFilled(min, max, IM_COL32(255, 255, 255, 0x40), 2.0f);
    draw->AddRect(min, max, IM_COL32(255, 255, 255, 0xC8), 2.0f, 0, 1.5f);
}

void playDecidingClip(App& app, bool showMore) {
    const int index = highlightedIndex(app);
    if (index < 0) return;
    app.editor.showScoreTab = true;
    DecidingClip& clip = app.editor.decidingClip;
    const std::vector<Rally>& rallies = app.openProject->rallies;
    const bool started = showMore ? clip.showMore(rallies, index, clipRules(app))
                                  : clip.start(rallies, index, 0, clipRules(app));
    if (started) playClipWindow(app);
}

void playWholeRally(App& app) {
    const int index = highlightedIndex(app);
    if (index >= 0 && app.editor.decidingClip.startWholeRally(app.openProject->rallies, index)) playClipWindow(app);
}

void playClipOfRally(App& app, int index) {
    if (app.openProject && app.editor.decidingClip.start(app.openProject->rallies, index, 0, clipRules(app))) {
        playClipWindow(app);
    }
}

void playNeighbourClip(App& app, int step) {
    const int index = clipIndex(app);
    if (index >= 0) playClipOfRally(app, index + step);
}

}  // namespace rallinox::ui
