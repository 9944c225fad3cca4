#include "ui/editor/video_view.h"

#include <imgui.h>

#include <algorithm>
#include <string>

#include "ui/editor/editor_context.h"
#include "ui/editor/check_tab.h"
#include "ui/editor/deciding_clip.h"
#include "edit/overlay_text.h"
#include "ui/editor/player_controls.h"
#include "ui/editor/scoreboard_preview.h"
#include "ui/kit/theme.h"
#include "ui/editor/player_texture.h"
#include "video/preview_player.h"

namespace rallinox::ui {

namespace {

constexpr int kTopRightCorner = 1;

void drawOverlayText(EditorContext& editor, ImDrawList* draw, ImVec2 min, ImVec2 max, int boardCorner) {
    const std::string text = overlayText(editor.project, editor.player.position(), !editor.settings.boardEnabled,
                                         decidingClipText(editor));
    const ImVec2 padding(scaled(10), scaled(5));
    const float margin = scaled(12);
    // A small picture wraps the line rather than cutting it at its edge.
    const float wrapWidth = std::max(max.x - min.x - 2 * (margin + padding.x), scaled(40));
    const ImVec2 size = ImGui::CalcTextSize(text.c_str(), nullptr, false, wrapWidth);
    const float left = boardCorner == kTopRightCorner
                           ? min.x + margin
                           : std::max(max.x - margin - size.x - 2 * padding.x, min.x + margin);
    const ImVec2 boxMin(left, min.y + margin);
    const ImVec2 boxMax(left + size.x + 2 * padding.x, boxMin.y + size.y + 2 * padding.y);
    draw->PushClipRect(min, max, true);
    draw->AddRectFilled(boxMin, boxMax, colors::kCaptionBox, scaled(6));
    draw->AddText(ImGui::GetFont(), ImGui::GetFontSize(), ImVec2(boxMin.x + padding.x, boxMin.y + padding.y),
                  colors::kCaptionText, text.c_str(), nullptr, wrapWidth);
    draw->PopClipRect();
}

void drawPlaySymbol(ImDrawList* draw, ImVec2 min, ImVec2 max) {
    const float r = scaled(26);
    const ImVec2 c((min.x + max.x) * 0.5f, (min.y + max.y) * 0.5f);
    draw->AddCircleFilled(c, r, colors::kPlayDisc);
    draw->AddTriangleFilled(ImVec2(c.x - 0.35f * r, c.y - 0.5f * r), ImVec2(c.x - 0.35f * r, c.y + 0.5f * r),
                            ImVec2(c.x + 0.55f * r, c.y), colors::kPlayTriangle);
}

}  // namespace

void drawVideoView(EditorContext& editor, float columnWidth, float height) {
    const PlayerTexture& texture = editor.picture;
    const float aspect = texture.valid() ? float(texture.width()) / float(texture.height()) : 16.0f / 9.0f;
    const float width = std::min(height * aspect, columnWidth);
    ImGui::SetCursorPosX(ImGui::GetCursorPosX() + (columnWidth - width) * 0.5f);
    if (!texture.valid()) {
        ImGui::Dummy(ImVec2(width, height));
        return;
    }
    ImGui::Image(texture.id(), ImVec2(width, height));
    if (ImGui::IsItemClicked(ImGuiMouseButton_Left)) togglePlayback(editor);
    const ImVec2 min = ImGui::GetItemRectMin();
    const ImVec2 max = ImGui::GetItemRectMax();
    ImDrawList* draw = ImGui::GetWindowDrawList();
    drawHintPictureMarks(editor, draw, min, max);
    const int boardCorner = drawScoreboardPreview(editor, draw, min, max);
    drawOverlayText(editor, draw, min, max, boardCorner);
    if (!editor.player.playing()) drawPlaySymbol(draw, min, max);
}

}  // namespace rallinox::ui
