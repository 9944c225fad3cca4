#include "ui/editor/timeline.h"

#include <imgui.h>

#include <algorithm>
#include <string>

#include "ui/editor/editor_context.h"
#include "edit/playhead_follow.h"
#include "ui/editor/check_tab.h"
#include "ui/editor/deciding_clip.h"
#include "ui/kit/theme.h"
#include "app/core/time_format.h"
#include "video/preview_player.h"

namespace rallinox::ui {

namespace {

constexpr float kHeight = 28.0f;

struct Scale {
    float left;
    float width;
    double duration;
    float x(double t) const { return left + float(t / duration) * width; }
    double time(float px) const { return std::clamp(double(px - left) / width * duration, 0.0, duration); }
};

void drawRallies(const EditorContext& editor, ImDrawList* draw, const Scale& scale, float top, float bottom) {
    const std::vector<Rally>& rallies = editor.project.rallies;
    const bool anyScored = anyRallyScored(rallies);
    for (const Rally& rally : rallies) {
        const float x0 = scale.x(rally.startSec);
        const float x1 = std::max(x0 + 1.5f, scale.x(rally.endSec));
        const ImU32 colour = rally.id == editor.selectedRallyId ? colors::kRallyHighlighted
                             : rally.selected                     ? colors::kRallyTicked
                                                                  : colors::kRallyUnticked;
        draw->AddRectFilled(ImVec2(x0, top + 3), ImVec2(x1, bottom - 3), colour, 2.0f);
        if (anyScored && rally.winner == Winner::None) {
            const ImVec2 markEnd(std::max(x0 + 3, x1), bottom);
            draw->AddRectFilled(ImVec2(x0, bottom - 4), markEnd, colors::kRallyUnscored, 1.0f);
        }
    }
    for (const ReviewHint& hint : editor.project.hints) {
        if (hint.done) continue;
        const float x0 = scale.x(hint.startSec);
        const ImVec2 markEnd(std::max(x0 + 3, scale.x(hint.endSec)), top + 4);
        draw->AddRectFilled(ImVec2(x0, top), markEnd, colors::kHintMark);
    }
}

void handleMouse(EditorContext& editor, ImDrawList* draw, const Scale& scale, float top, float bottom) {
    const std::vector<Rally>& rallies = editor.project.rallies;
    const double mouseTime = scale.time(ImGui::GetIO().MousePos.x);
    if (ImGui::IsItemActive()) {
        editor.player.seek(mouseTime);
        if (int64_t id = rallyIdAt(rallies, mouseTime)) editor.selectedRallyId = id;
    }
    if (!ImGui::IsItemHovered()) return;
    const int index = rallyIndexAt(rallies, mouseTime);
    if (index < 0) {
        ImGui::SetTooltip("%s  -  between rallies", formatClock(mouseTime).c_str());
        return;
    }
    const Rally& rally = rallies[size_t(index)];
    const float x0 = scale.x(rally.startSec);
    const ImVec2 outlineEnd(std::max(x0 + 1.5f, scale.x(rally.endSec)), bottom - 3);
    draw->AddRect(ImVec2(x0, top + 3), outlineEnd, colors::kMarkOutline, 2.0f, 0, 1.5f);
    ImGui::SetTooltip("%s  -  %s to %s (%s)\nClick to go there", rallyDisplayName(rally, size_t(index)).c_str(),
                      formatClock(rally.startSec).c_str(), formatClock(rally.endSec).c_str(),
                      formatDuration(rallyLengthSec(rally)).c_str());
}

}  // namespace

void drawTimeline(EditorContext& editor, float width) {
    const double duration =
        editor.project.videoDurationSec > 0 ? editor.project.videoDurationSec : editor.player.duration();
    const float height = scaled(kHeight);
    if (duration <= 0 || width <= 0) return;
    ImDrawList* draw = ImGui::GetWindowDrawList();
    const ImVec2 at = ImGui::GetCursorScreenPos();
    const Scale scale{at.x, width, duration};
    const float top = at.y;
    const float bottom = at.y + height;
    draw->AddRectFilled(at, ImVec2(at.x + width, bottom), colors::kTrackGround, 4.0f);
    // Marks past the video's end (a shorter file put in its place) stay on the bar.
    draw->PushClipRect(ImVec2(at.x, top - 3), ImVec2(at.x + width, bottom + 3), true);
    drawRallies(editor, draw, scale, top, bottom);
    drawHintTimelineMarks(editor, draw, at, ImVec2(width, height), duration);
    drawDecidingClipMarks(editor, draw, at, ImVec2(width, height), duration);
    draw->PopClipRect();
    const float playhead = scale.x(std::clamp(editor.player.position(), 0.0, duration));
    draw->AddLine(ImVec2(playhead, top - 3), ImVec2(playhead, bottom + 3), IM_COL32_WHITE, 2.0f);
    ImGui::InvisibleButton("timeline", ImVec2(width, height));
    handleMouse(editor, draw, scale, top, bottom);
}

}  // namespace rallinox::ui
