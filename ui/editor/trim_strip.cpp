#include "ui/editor/trim_strip.h"

#include <imgui.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "ui/editor/editor_context.h"
#include "edit/trim_limits.h"
#include "ui/editor/rally_actions.h"
#include "ui/kit/theme.h"
#include "app/core/time_format.h"
#include "ui/kit/widgets.h"
#include "video/preview_player.h"

namespace rallinox::ui {

namespace {

constexpr float kHeight = 34;
constexpr float kHandleWidth = 18;
constexpr float kHandleBarWidth = 6;
constexpr float kMinTickGap = 3;
// The picture follows a dragged handle once it moved by more than this.
constexpr double kSeekStepSec = 0.001;


// Maps times of the window onto the strip and back.
struct StripGeometry {
    ImVec2 min;
    ImVec2 max;
    TrimWindow window;

    float x(double timeSec) const {
        return min.x + static_cast<float>((timeSec - window.lo) / window.span()) * (max.x - min.x);
    }
    double timeAt(float screenX) const {
        const double t = window.lo + (screenX - min.x) / (max.x - min.x) * window.span();
        return std::clamp(t, window.lo, std::max(window.lo, window.hi));
    }
};

void drawEmptyStrip(float width) {
    const ImVec2 at = ImGui::GetCursorScreenPos();
    const ImVec2 size(width, scaled(kHeight));
    ImGui::Dummy(size);
    const char* text = "Pick a rally in the list or on the timeline to trim it here.";
    const ImVec2 textSize = ImGui::CalcTextSize(text);
    ImGui::GetWindowDrawList()->AddText(
        ImVec2(at.x + (size.x - textSize.x) * 0.5f, at.y + (size.y - textSize.y) * 0.5f), colors::kTrackHint, text);
}

// A clock label in a dark box: right of `x` when `rightOf`, else left of it,
// kept inside the strip.
void drawTimeLabel(ImDrawList* draw, const StripGeometry& strip, float x, bool rightOf, double timeSec) {
    const std::string text = formatClock(timeSec);
    const ImVec2 textSize = ImGui::CalcTextSize(text.c_str());
    const float boxWidth = textSize.x + scaled(8);
    float left = rightOf ? x + scaled(10) : x - scaled(10) - boxWidth;
    left = rightOf ? std::min(left, strip.max.x - scaled(6) - boxWidth) : std::max(left, strip.min.x + scaled(6));
    const float top = (strip.min.y + strip.max.y - textSize.y) * 0.5f;
    draw->AddRectFilled(ImVec2(left, top - scaled(1)), ImVec2(left + boxWidth, top + textSize.y + scaled(1)),
                        colors::kTrackLabelBox, scaled(3));
    draw->AddText(ImVec2(left + scaled(4), top), colors::kTrackLabel, text.c_str());
}

void drawStrip(const EditorContext& editor, const StripGeometry& strip, int index, double startSec, double endSec) {
    ImDrawList* draw = ImGui::GetWindowDrawList();
    const std::vector<Rally>& rallies = editor.project.rallies;
    const TrimWindow& window = strip.window;
    draw->AddRectFilled(strip.min, strip.max, colors::kTrackGround, scaled(4));
    draw->PushClipRect(strip.min, strip.max, true);
    for (size_t i = 0; i < rallies.size(); ++i) {
        const Rally& other = rallies[i];
        if (static_cast<int>(i) == index || other.endSec < window.lo || other.startSec > window.hi) continue;
        draw->AddRectFilled(ImVec2(strip.x(other.startSec), strip.min.y + scaled(8)),
                            ImVec2(strip.x(other.endSec), strip.max.y - scaled(8)), colors::kRallyNeighbour, scaled(2));
    }
    draw->AddRectFilled(ImVec2(strip.x(startSec), strip.min.y + scaled(5)),
                        ImVec2(strip.x(endSec), strip.max.y - scaled(5)), colors::kRallyTrimmed, scaled(3));
    // Ticks closer than a few pixels would merge into a bar; such a window
    // (a very long rally) gets none, whatever its times.
    const double mostTicks = (strip.max.x - strip.min.x) / scaled(kMinTickGap);
    if (std::isfinite(window.lo) && std::isfinite(window.hi) && window.span() <= mostTicks) {
        const double firstSecond = std::ceil(window.lo);
        const int ticks = static_cast<int>(std::floor(window.hi) - firstSecond) + 1;
        for (int tick = 0; tick < ticks; ++tick) {
            const float x = strip.x(firstSecond + tick);
            draw->AddLine(ImVec2(x, strip.max.y - scaled(4)), ImVec2(x, strip.max.y), colors::kTrackTick);
        }
    }
    drawTimeLabel(draw, strip, strip.x(startSec) - scaled(kHandleBarWidth) * 0.5f, false, startSec);
    drawTimeLabel(draw, strip, strip.x(endSec) + scaled(kHandleBarWidth) * 0.5f, true, endSec);
    const double position = editor.player.position();
    if (position >= window.lo && position <= window.hi) {
        const float x = strip.x(position);
        draw->AddLine(ImVec2(x, strip.min.y), ImVec2(x, strip.max.y), colors::kLine, scaled(2));
    }
    draw->PopClipRect();
}

void drawHandleBar(const StripGeometry& strip, float x, bool lit) {
    const float half = scaled(kHandleBarWidth) * 0.5f;
    ImGui::GetWindowDrawList()->AddRectFilled(ImVec2(x - half, strip.min.y), ImVec2(x + half, strip.max.y),
                                              lit ? colors::kLine : colors::kTrimHandle, scaled(2));
}

// One handle: an invisible button centred on its time. Dragging moves the
// time within the limits and the picture with it; releasing applies it as
// one undoable edit. Returns whether it is hovered or dragged.
bool handle(EditorContext& editor, const StripGeometry& strip, int index, TrimHandle which, double storedSec) {
    TrimDrag& drag = editor.state.trim;
    const Rally& rally = editor.project.rallies[index];
    const bool dragging = drag.rallyId == rally.id && drag.handle == which;
    const double shownSec = dragging ? drag.timeSec : storedSec;
    ImGui::SetCursorScreenPos(ImVec2(strip.x(shownSec) - scaled(kHandleWidth) * 0.5f, strip.min.y));
    ImGui::InvisibleButton(which == TrimHandle::Start ? "##trimStart" : "##trimEnd",
                           ImVec2(scaled(kHandleWidth), strip.max.y - strip.min.y));
    if (ImGui::IsItemActivated()) drag = {rally.id, which, storedSec};
    if (ImGui::IsItemActive() && drag.rallyId == rally.id && drag.handle == which) {
        const double wanted = strip.timeAt(ImGui::GetIO().MousePos.x);
        const std::vector<Rally>& rallies = editor.project.rallies;
        const double limited = which == TrimHandle::Start ? limitTrimStart(rallies, index, strip.window, wanted)
                                                     : limitTrimEnd(rallies, index, strip.window, wanted);
        if (std::abs(limited - drag.timeSec) > kSeekStepSec) {
            drag.timeSec = limited;
            editor.player.seek(limited);
        }
    }
    if (ImGui::IsItemDeactivated() && drag.rallyId == rally.id && drag.handle == which) {
        // The handle's seeks may have highlighted a touching neighbour meanwhile.
        editor.selectedRallyId = rally.id;
        const bool changed = which == TrimHandle::Start ? editor.rallyEditor.changeStart(rally.id, drag.timeSec)
                                                   : editor.rallyEditor.changeEnd(rally.id, drag.timeSec);
        if (changed) editor.state.saveAtFrameEnd = true;
        drag = {};
    }
    const bool lit = ImGui::IsItemHovered() || ImGui::IsItemActive();
    if (lit) {
        ImGui::SetMouseCursor(ImGuiMouseCursor_ResizeEW);
        const bool moving = drag.rallyId == rally.id && drag.handle == which;
        ImGui::SetTooltip("%s %s", which == TrimHandle::Start ? "Start" : "End",
                          formatClock(moving ? drag.timeSec : storedSec).c_str());
    }
    return lit;
}

}  // namespace

void drawTrimStrip(EditorContext& editor, float width) {
    TrimDrag& drag = editor.state.trim;
    // A drag keeps its own rally, whatever the playhead highlights meanwhile.
    const int dragged = drag.handle == TrimHandle::None ? -1 : editor.rallyEditor.indexOfId(drag.rallyId);
    const int index = dragged >= 0 ? dragged : highlightedIndex(editor);
    if (index < 0) {
        drag = {};
        drawEmptyStrip(width);
        return;
    }
    const Rally rally = editor.project.rallies[index];
    if (drag.rallyId != rally.id) drag = {};

    StripGeometry strip;
    strip.min = ImGui::GetCursorScreenPos();
    strip.max = ImVec2(strip.min.x + width, strip.min.y + scaled(kHeight));
    strip.window = trimWindow(rally, editor.project.videoDurationSec, editor.player.duration());

    // The handles come first so that they, not the strip under them, take the mouse.
    const bool startLit = handle(editor, strip, index, TrimHandle::Start, rally.startSec);
    const bool endLit = handle(editor, strip, index, TrimHandle::End, rally.endSec);
    const double startSec = drag.handle == TrimHandle::Start ? drag.timeSec : rally.startSec;
    const double endSec = drag.handle == TrimHandle::End ? drag.timeSec : rally.endSec;

    ImGui::SetCursorScreenPos(strip.min);
    ImGui::InvisibleButton("trimstrip", ImVec2(width, strip.max.y - strip.min.y));
    const float mouseX = ImGui::GetIO().MousePos.x;
    if (ImGui::IsItemActive() && drag.handle == TrimHandle::None &&
        (ImGui::IsItemActivated() || ImGui::GetIO().MouseDelta.x != 0)) {
        editor.player.seek(strip.timeAt(mouseX));
    }
    if (ImGui::IsItemHovered()) {
        const std::string name = rallyDisplayName(rally, static_cast<size_t>(index));
        ImGui::SetTooltip("%s  -  drag the handles to trim %s", formatClock(strip.timeAt(mouseX)).c_str(),
                          name.c_str());
    }

    drawStrip(editor, strip, index, startSec, endSec);
    drawHandleBar(strip, strip.x(startSec), startLit);
    drawHandleBar(strip, strip.x(endSec), endLit);
}

}  // namespace rallinox::ui
