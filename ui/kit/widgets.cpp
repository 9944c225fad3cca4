#include "ui/kit/widgets.h"

#include <cstdarg>

#include "ui/kit/theme.h"

namespace rallinox::ui {

namespace {

bool coloredButton(const char* label, const ImVec2& size, const ImVec4& normal, const ImVec4& hovered,
                   const ImVec4& active) {
    ImGui::PushStyleColor(ImGuiCol_Button, normal);
    ImGui::PushStyleColor(ImGuiCol_ButtonHovered, hovered);
    ImGui::PushStyleColor(ImGuiCol_ButtonActive, active);
    ImGui::PushStyleColor(ImGuiCol_Text, colors::kWhite);
    const bool pressed = ImGui::Button(label, size);
    ImGui::PopStyleColor(4);
    return pressed;
}

}  // namespace

void mutedText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    ImGui::PushStyleColor(ImGuiCol_Text, colors::kMutedText);
    ImGui::TextV(format, args);
    ImGui::PopStyleColor();
    va_end(args);
}

void mutedTextWrapped(const char* format, ...) {
    va_list args;
    va_start(args, format);
    ImGui::PushStyleColor(ImGuiCol_Text, colors::kMutedText);
    ImGui::TextWrappedV(format, args);
    ImGui::PopStyleColor();
    va_end(args);
}

bool accentButton(const char* label, const ImVec2& size) {
    return coloredButton(label, size, colors::kAccent, colors::kAccentHovered, colors::kAccentActive);
}

bool dangerButton(const char* label, const ImVec2& size) {
    return coloredButton(label, size, colors::kDanger, colors::kDangerHovered, colors::kDangerHovered);
}

void largeText(const char* text, float fontScale) {
    ImGui::SetWindowFontScale(fontScale);
    ImGui::TextUnformatted(text);
    ImGui::SetWindowFontScale(1.0f);
}

void sectionTitle(const char* text) {
    ImGui::Spacing();
    ImGui::TextUnformatted(text);
    ImGui::SameLine();
    const ImVec2 at = ImGui::GetCursorScreenPos();
    const float middle = at.y + ImGui::GetTextLineHeight() * 0.5f;
    const float right = ImGui::GetWindowPos().x + ImGui::GetWindowContentRegionMax().x;
    ImGui::GetWindowDrawList()->AddLine({at.x, middle}, {right, middle}, ImGui::GetColorU32(ImGuiCol_Separator));
    ImGui::NewLine();
}

bool screenHeader(const char* title, bool withBack) {
    bool backPressed = false;
    if (withBack) {
        backPressed = ImGui::Button("< Back");
        ImGui::SameLine();
        // Centre the larger title on the button's line.
        const float titleHeight = ImGui::GetFontSize() * 1.25f;
        const float buttonHeight = ImGui::GetFrameHeight();
        ImGui::SetCursorPosY(ImGui::GetCursorPosY() + (buttonHeight - titleHeight) * 0.5f);
    }
    largeText(title, 1.25f);
    ImGui::Separator();
    return backPressed;
}

void hoverTip(const char* text) {
    // The tip waits until the same item has been hovered without a break.
    constexpr double kDelaySec = 0.15;
    static ImVec2 hoveredItem;
    static int lastHoveredFrame = -2;
    static double hoveredSince = 0;
    if (!ImGui::IsItemHovered()) return;
    const ImVec2 item = ImGui::GetItemRectMin();
    const int frame = ImGui::GetFrameCount();
    if (lastHoveredFrame < frame - 1 || item.x != hoveredItem.x || item.y != hoveredItem.y) {
        hoveredItem = item;
        hoveredSince = ImGui::GetTime();
    }
    lastHoveredFrame = frame;
    if (ImGui::GetTime() - hoveredSince >= kDelaySec) ImGui::SetTooltip("%s", text);
}

}  // namespace rallinox::ui
