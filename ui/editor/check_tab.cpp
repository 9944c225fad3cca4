#include "ui/editor/check_tab.h"

#include <imgui.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ui/editor/editor_context.h"
#include "edit/hint_review.h"
#include "edit/review_hints.h"
#include "ui/kit/theme.h"
#include "app/core/time_format.h"
#include "ui/kit/widgets.h"
#include "video/preview_player.h"

namespace rallinox::ui {

namespace {

constexpr float kShortDescriptionX = 150;

const char* hintTitle(HintKind kind) {
    switch (kind) {
        case HintKind::Missed: return "Missed rally?";
        case HintKind::Doubtful: return "Not a rally?";
        case HintKind::Joined: return "Two rallies joined?";
    }
    return "";
}

ImVec4 kindColor(HintKind kind, float alpha = 1.0f) {
    ImVec4 color = colors::hint(kind);
    color.w = alpha;
    return color;
}

ImU32 kindColorU32(HintKind kind, int alpha) { return ImGui::ColorConvertFloat4ToU32(kindColor(kind, alpha / 255.0f)); }

std::string relatedPart(const Project& project, const ReviewHint& hint) {
    const int related = relatedRallyIndex(project.rallies, hint);
    if (related < 0) return {};
    return ", " + rallyDisplayName(project.rallies[static_cast<size_t>(related)], static_cast<size_t>(related));
}

std::string longDescription(const Project& project, const ReviewHint& hint) {
    std::string text = formatClock(hint.startSec) + " to " + formatClock(hint.endSec) + " (" +
                       formatDuration(hint.endSec - hint.startSec) + ")";
    if (hint.kind == HintKind::Missed) return text + missedHintPlace(project.rallies, hint, true);
    text += relatedPart(project, hint);
    if (hint.kind == HintKind::Joined) text += ", pause at " + formatClock(hint.pauseSec);
    return text;
}

std::string shortDescription(const Project& project, const ReviewHint& hint) {
    const std::string start = formatClock(hint.startSec);
    if (hint.kind == HintKind::Missed) return start + missedHintPlace(project.rallies, hint, false);
    return start + relatedPart(project, hint);
}

// The review's marks are drawn only while the tab is in front.
bool checkTabShown(const EditorContext& editor) {
    return ImGui::GetFrameCount() - editor.state.checkTab.lastDrawnFrame <= 1;
}

const ReviewHint* focusedOpenHint(const EditorContext& editor) {
    return editor.state.checkTab.hintReview.openCurrent(editor.project);
}

void playHintWindow(EditorContext& editor) {
    HintReview& review = editor.state.checkTab.hintReview;
    if (!review.playWindow()) return;
    editor.state.ralliesOnly = false;  // it would skip the stretch between rallies
    review.armAutoStop();
    editor.player.seek(review.playWindow()->fromSec);
    editor.player.play();
}

void focusHint(EditorContext& editor, int index, bool play) {
    const int64_t related = editor.state.checkTab.hintReview.focus(editor.project, index);
    if (related != 0) editor.selectedRallyId = related;
    if (play) playHintWindow(editor);
}

HintAnswer drawMissedAnswers(EditorContext& editor) {
    HintReview& review = editor.state.checkTab.hintReview;
    HintAnswer answer;
    if (const std::optional<TimeSpan>& toAdd = review.rallyToAdd()) {
        ImGui::Text("Rally to add: %s to %s (%s)", formatClock(toAdd->fromSec).c_str(),
                    formatClock(toAdd->toSec).c_str(), formatDuration(toAdd->toSec - toAdd->fromSec).c_str());
    }
    if (ImGui::Button("Start here")) review.startRallyToAddAt(editor.player.position());
    hoverTip("The rally to add starts at the playhead");
    ImGui::SameLine();
    if (ImGui::Button("End here")) review.endRallyToAddAt(editor.player.position());
    hoverTip("The rally to add ends at the playhead");
    if (accentButton("Add as rally")) answer = review.addAsRally(editor.project, editor.rallyEditor);
    ImGui::SameLine();
    if (ImGui::Button("Not a rally")) answer = review.dismiss(editor.project);
    return answer;
}

HintAnswer drawDoubtfulAnswers(EditorContext& editor, const ReviewHint& hint) {
    HintReview& review = editor.state.checkTab.hintReview;
    HintAnswer answer;
    ImGui::BeginDisabled(relatedRallyIndex(editor.project.rallies, hint) < 0);
    if (dangerButton("Delete this rally")) answer = review.deleteRelatedRally(editor.project, editor.rallyEditor);
    ImGui::EndDisabled();
    ImGui::SameLine();
    if (accentButton("It's a rally")) answer = review.dismiss(editor.project);
    return answer;
}

HintAnswer drawJoinedAnswers(EditorContext& editor, const ReviewHint& hint) {
    HintReview& review = editor.state.checkTab.hintReview;
    Project& project = editor.project;
    const bool usable = pauseUsable(project.rallies, hint);
    HintAnswer answer;
    ImGui::BeginDisabled(!usable);
    if (accentButton("Split at the pause")) answer = review.splitAtPause(project, editor.rallyEditor);
    ImGui::EndDisabled();
    ImGui::SameLine();
    if (ImGui::Button("It's one rally")) answer = review.dismiss(project);
    if (!usable) {
        ImGui::TextUnformatted("The rally no longer runs through this pause.");
        return answer;
    }
    if (answer.done || !answer.message.empty()) return answer;
    const Rally& rally = project.rallies[static_cast<size_t>(relatedRallyIndex(project.rallies, hint))];
    ImGui::TextUnformatted("Only one side is real play? Keep it and drop the rest:");
    const std::string first = "Keep first part (" + formatDuration(hint.pauseSec - rally.startSec) + ")";
    const std::string second = "Keep second part (" + formatDuration(rally.endSec - hint.pauseSec) + ")";
    if (ImGui::Button(first.c_str())) answer = review.keepPart(project, editor.rallyEditor, true);
    ImGui::SameLine();
    if (ImGui::Button(second.c_str())) answer = review.keepPart(project, editor.rallyEditor, false);
    return answer;
}

// The hint in focus with its answers; returns what an answer did.
HintAnswer drawFocusCard(EditorContext& editor, const std::vector<size_t>& open) {
    HintReview& review = editor.state.checkTab.hintReview;
    const ReviewHint hint = editor.project.hints[static_cast<size_t>(review.currentHint())];
    const size_t position =
        static_cast<size_t>(std::find(open.begin(), open.end(), static_cast<size_t>(review.currentHint())) - open.begin());

    // A child cannot size itself to its content: it takes the height the card had last frame.
    static float cardHeight = scaled(240);
    ImGui::PushStyleColor(ImGuiCol_ChildBg, colors::kCardBg);
    ImGui::PushStyleVar(ImGuiStyleVar_ChildRounding, scaled(6));
    ImGui::BeginChild("focus", ImVec2(0, cardHeight), false, ImGuiWindowFlags_AlwaysUseWindowPadding);

    int step = 0;
    ImGui::BeginDisabled(position == 0);
    if (ImGui::Button("< Previous")) step = -1;
    ImGui::EndDisabled();
    ImGui::SameLine();
    ImGui::Text("%d of %zu", static_cast<int>(position + 1), open.size());
    ImGui::SameLine();
    ImGui::BeginDisabled(position + 1 >= open.size());
    if (ImGui::Button("Next >")) step = 1;
    ImGui::EndDisabled();

    ImGui::TextColored(kindColor(hint.kind), "%s", hintTitle(hint.kind));
    ImGui::TextWrapped("%s", longDescription(editor.project, hint).c_str());
    mutedTextWrapped("%s", hintInstruction(hint.kind));

    if (ImGui::Button("Play it again")) playHintWindow(editor);
    if (const std::optional<TimeSpan>& window = review.playWindow()) {
        ImGui::SameLine();
        // Wrapped: the side panel is narrow at its smallest width.
        mutedTextWrapped("plays %s to %s, marked on the timeline", formatClock(window->fromSec).c_str(),
                         formatClock(window->toSec).c_str());
    }

    HintAnswer answer;
    switch (hint.kind) {
        case HintKind::Missed: answer = drawMissedAnswers(editor); break;
        case HintKind::Doubtful: answer = drawDoubtfulAnswers(editor, hint); break;
        case HintKind::Joined: answer = drawJoinedAnswers(editor, hint); break;
    }
    if (step != 0 && !answer.done) {
        const int neighbour = review.neighbour(editor.project, step);
        if (neighbour >= 0) focusHint(editor, neighbour, true);
    }

    cardHeight = ImGui::GetCursorPosY() + ImGui::GetStyle().WindowPadding.y - ImGui::GetStyle().ItemSpacing.y;
    ImGui::EndChild();
    ImGui::PopStyleVar();
    ImGui::PopStyleColor();
    return answer;
}

void takeAnswer(EditorContext& editor, const HintAnswer& answer, double answeredStartSec) {
    if (!answer.message.empty()) editor.actions.showToast(answer.message);
    if (!answer.done) return;
    if (answer.highlightRallyId != 0) editor.selectedRallyId = answer.highlightRallyId;
    const int next = HintReview::nextAfterAnswer(editor.project, answeredStartSec);
    if (next >= 0) {
        focusHint(editor, next, true);
    } else {
        editor.state.checkTab.hintReview.focus(editor.project, -1);
        editor.player.pause();
    }
    editor.actions.saveOpenProject();
}

void drawHintList(EditorContext& editor, const std::vector<size_t>& open) {
    sectionTitle("All to check");
    ImGui::BeginChild("hints");
    for (size_t index : open) {
        const ReviewHint& hint = editor.project.hints[index];
        ImGui::PushID(static_cast<int>(index));
        ImGui::PushStyleColor(ImGuiCol_Text, kindColor(hint.kind));
        const std::string label = std::string(hintTitle(hint.kind)) + "##row";
        const bool clicked =
            ImGui::Selectable(label.c_str(), static_cast<int>(index) == editor.state.checkTab.hintReview.currentHint());
        ImGui::PopStyleColor();
        ImGui::SameLine(scaled(kShortDescriptionX));
        ImGui::TextUnformatted(shortDescription(editor.project, hint).c_str());
        ImGui::PopID();
        if (clicked) focusHint(editor, static_cast<int>(index), true);
    }
    ImGui::EndChild();
}

}  // namespace

std::string checkTabTitle(const EditorContext& editor) {
    const size_t open = openHints(editor.project.hints).size();
    return "To check (" + std::to_string(open) + ")###check";
}

void drawCheckTab(EditorContext& editor) {
    editor.state.checkTab.lastDrawnFrame = ImGui::GetFrameCount();
    const std::vector<size_t> open = openHints(editor.project.hints);
    if (open.empty()) {
        ImGui::Separator();
        ImGui::TextUnformatted("Nothing left to check.");
        mutedText("Hints appear here when the analysis is unsure about a rally.");
        return;
    }
    HintReview& review = editor.state.checkTab.hintReview;
    if (review.needsRefocus(editor.project)) focusHint(editor, static_cast<int>(open.front()), false);
    mutedTextWrapped("The analysis was unsure about these. Nothing changes until you answer.");

    const double answeredStartSec = editor.project.hints[static_cast<size_t>(review.currentHint())].startSec;
    const HintAnswer answer = drawFocusCard(editor, open);
    takeAnswer(editor, answer, answeredStartSec);
    drawHintList(editor, openHints(editor.project.hints));
}

void updateHintReview(EditorContext& editor) {
    const PreviewPlayer& player = editor.player;
    if (editor.state.checkTab.hintReview.autoStopShouldPause(editor.project, player.position(), player.playing())) {
        editor.player.pause();
    }
}

void drawHintTimelineMarks(const EditorContext& editor, ImDrawList* draw, ImVec2 topLeft, ImVec2 size,
                           double durationSec) {
    const ReviewHint* hint = focusedOpenHint(editor);
    if (!hint || !checkTabShown(editor) || durationSec <= 0) return;
    auto x = [&](double t) { return topLeft.x + static_cast<float>(t / durationSec) * size.x; };
    const float left = x(hint->startSec);
    const ImVec2 min(left, topLeft.y);
    const ImVec2 max(std::max(left + 3.0f, x(hint->endSec)), topLeft.y + size.y);
    draw->AddRectFilled(min, max, kindColorU32(hint->kind, 0x50));
    draw->AddRect(min, max, kindColorU32(hint->kind, 0xFF));
    if (hint->kind == HintKind::Joined) {
        const float pause = x(hint->pauseSec);
        draw->AddLine({pause, topLeft.y - 4}, {pause, topLeft.y + size.y + 4}, kindColorU32(hint->kind, 0xFF), 2.0f);
    }
}

void drawHintPictureMarks(const EditorContext& editor, ImDrawList* draw, ImVec2 imageMin, ImVec2 imageMax) {
    const ReviewHint* hint = focusedOpenHint(editor);
    const std::optional<TimeSpan>& window = editor.state.checkTab.hintReview.playWindow();
    const double position = editor.player.position();
    if (!hint || !window || !checkTabShown(editor) || window->toSec <= window->fromSec) return;
    if (position < window->fromSec - 1 || position > window->toSec + 1) return;

    std::string status;
    TimeSpan stretch{hint->startSec, hint->endSec};
    if (hint->kind == HintKind::Joined) {
        const double untilPause = hint->pauseSec - position;
        status = untilPause > 0.3    ? "pause in " + formatDuration(untilPause)
                 : untilPause > -0.3 ? "the pause is now"
                                     : "after the pause";
    } else {
        if (hint->kind == HintKind::Missed && editor.state.checkTab.hintReview.rallyToAdd()) {
            stretch = *editor.state.checkTab.hintReview.rallyToAdd();
        }
        status = position < stretch.fromSec  ? "starts in " + formatDuration(stretch.fromSec - position)
                 : position <= stretch.toSec ? "in the stretch to check"
                                             : "after the stretch";
    }
    const std::string text = std::string("Checking: ") + hintTitle(hint->kind) + "   " + status;

    const ImVec2 textSize = ImGui::CalcTextSize(text.c_str());
    const ImVec2 padding(scaled(10), scaled(6));
    const float barHeight = scaled(6);
    const float width = std::max(textSize.x, scaled(260)) + padding.x * 2;
    const float height = textSize.y + barHeight + padding.y * 3;
    const float left = std::max(imageMin.x, (imageMin.x + imageMax.x - width) * 0.5f);
    const float top = imageMax.y - scaled(12) - height;
    draw->AddRectFilled({left, top}, {left + width, top + height}, colors::kHintCaptionBox, scaled(6));
    draw->AddText({left + padding.x, top + padding.y}, colors::kCaptionText, text.c_str());

    const float barLeft = left + padding.x;
    const float barWidth = width - padding.x * 2;
    const float barTop = top + padding.y * 2 + textSize.y;
    auto x = [&](double t) {
        const double share = std::clamp((t - window->fromSec) / (window->toSec - window->fromSec), 0.0, 1.0);
        return barLeft + static_cast<float>(share) * barWidth;
    };
    draw->AddRectFilled({barLeft, barTop}, {barLeft + barWidth, barTop + barHeight}, colors::kCaptionBar);
    draw->AddRectFilled({x(stretch.fromSec), barTop}, {x(stretch.toSec), barTop + barHeight},
                        kindColorU32(hint->kind, hint->kind == HintKind::Joined ? 0x60 : 0xB0));
    if (hint->kind == HintKind::Joined) {
        const ImVec2 pauseMin(x(hint->pauseSec) - scaled(3), barTop - scaled(2));
        const ImVec2 pauseMax(x(hint->pauseSec) + scaled(3), barTop + barHeight + scaled(2));
        draw->AddRectFilled(pauseMin, pauseMax, kindColorU32(hint->kind, 0xFF));
        draw->AddRect(pauseMin, pauseMax, colors::kLine);
    }
    const float playhead = x(position);
    draw->AddLine({playhead, barTop - scaled(3)}, {playhead, barTop + barHeight + scaled(3)},
                  colors::kLine, 2.0f);
}

}  // namespace rallinox::ui
