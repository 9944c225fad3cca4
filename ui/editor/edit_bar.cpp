#include "ui/editor/edit_bar.h"

#include <imgui.h>

#include <string>

#include "app/shell/app.h"
#include "ui/editor/rally_actions.h"
#include "ui/kit/widgets.h"

namespace rallinox::ui {

namespace {

// The undo button explains itself even while it is disabled.
void undoTip(const App& app) {
    if (!ImGui::IsItemHovered(ImGuiHoveredFlags_AllowWhenDisabled)) return;
    if (!app.rallyEditor->canUndo()) {
        ImGui::SetTooltip("Nothing to undo");
    } else {
        ImGui::SetTooltip("Undo: %s  [Ctrl+Z]", app.rallyEditor->undoLabel().c_str());
    }
}

}  // namespace

void drawEditBar(App& app) {
    if (!app.rallyEditor) return;
    const bool noRally = highlightedIndex(app) < 0;

    ImGui::BeginDisabled(noRally);
    if (ImGui::Button("Start here [I]")) startHighlightedHere(app);
    hoverTip("Move the start of the highlighted rally to the current frame");
    ImGui::SameLine();
    if (ImGui::Button("End here [O]")) endHighlightedHere(app);
    hoverTip("Move the end of the highlighted rally to the current frame");
    ImGui::SameLine();
    if (ImGui::Button("Split here")) splitHighlightedHere(app);
    hoverTip("Two rallies were joined: cut the highlighted one in two at the current frame");
    ImGui::SameLine();
    if (ImGui::Button("Join with next")) joinHighlightedWithNext(app);
    ImGui::SameLine();
    if (dangerButton("Delete [Del]")) deleteRallyWithMessage(app, app.selectedRallyId);
    ImGui::EndDisabled();

    ImGui::SameLine();
    if (ImGui::Button("Add rally here [A]")) addRallyAtPlayhead(app);
    hoverTip("Missed a rally? Adds an 8 s rally from the current frame; then adjust its end");

    ImGui::SameLine();
    ImGui::BeginDisabled(!app.rallyEditor->canUndo());
    if (ImGui::Button("Undo")) undoWithMessage(app);
    ImGui::EndDisabled();
    undoTip(app);
}

}  // namespace rallinox::ui
