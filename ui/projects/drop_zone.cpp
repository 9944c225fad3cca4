#include "ui/projects/drop_zone.h"

#include <imgui.h>

#include <algorithm>
#include <cmath>

#include "ui/kit/theme.h"

namespace rallinox::ui {

namespace {


void dashedLine(ImDrawList* draw, ImVec2 from, ImVec2 to, ImU32 color, float thickness) {
    constexpr float kDash = 8.0f;
    constexpr float kPeriod = 16.0f;
    const float length = std::hypot(to.x - from.x, to.y - from.y);
    const ImVec2 step{(to.x - from.x) / length, (to.y - from.y) / length};
    for (float at = 0; at < length; at += kPeriod) {
        const float end = std::min(at + kDash, length);
        draw->AddLine({from.x + step.x * at, from.y + step.y * at}, {from.x + step.x * end, from.y + step.y * end},
                      color, thickness);
    }
}

void centredText(ImDrawList* draw, float centreX, float top, ImU32 color, const char* text, float fontScale) {
    const float size = ImGui::GetFontSize() * fontScale;
    const ImVec2 extent = ImGui::GetFont()->CalcTextSizeA(size, FLT_MAX, 0, text);
    draw->AddText(ImGui::GetFont(), size, {centreX - extent.x * 0.5f, top}, color, text);
}

}  // namespace

bool drawDropZone() {
    const ImVec2 available = ImGui::GetContentRegionAvail();
    const ImVec2 size{std::max(scaled(200), available.x), std::clamp(available.y - scaled(20), scaled(140), scaled(320))};
    const bool clicked = ImGui::InvisibleButton("dropzone", size);
    const bool hovered = ImGui::IsItemHovered();
    const ImVec2 min = ImGui::GetItemRectMin();
    const ImVec2 max = ImGui::GetItemRectMax();
    ImDrawList* draw = ImGui::GetWindowDrawList();

    const ImU32 edge = hovered ? colors::kDropHovered : colors::kDropEdge;
    const float thickness = 2.0f;
    dashedLine(draw, min, {max.x, min.y}, edge, thickness);
    dashedLine(draw, {max.x, min.y}, max, edge, thickness);
    dashedLine(draw, max, {min.x, max.y}, edge, thickness);
    dashedLine(draw, {min.x, max.y}, min, edge, thickness);

    const float centreX = (min.x + max.x) * 0.5f;
    const float middle = (min.y + max.y) * 0.5f;
    const float titleHeight = ImGui::GetFontSize() * 1.4f;
    centredText(draw, centreX, middle - titleHeight * 1.4f, hovered ? colors::kDropHovered : colors::kDropTitle,
                "Drop a match video here", 1.4f);
    centredText(draw, centreX, middle + scaled(4), colors::kDropLine,
                "or click to choose one  (MP4, MOV, MKV...)", 1.0f);
    centredText(draw, centreX, middle + scaled(40), colors::kDropTip,
                "Tip: film from behind the baseline, as high as you can, with the whole court in view.", 1.0f);
    return clicked;
}

}  // namespace rallinox::ui
