#include "ui/kit/theme.h"

#include "app/core/project.h"
#include "ui/kit/fonts.h"

namespace rallinox::ui {

namespace {

float currentScale = 1.0f;

ImVec4 withAlpha(ImVec4 color, float alpha) {
    color.w = alpha;
    return color;
}

void applyStyle(float scale) {
    ImGuiStyle& style = ImGui::GetStyle();
    style = ImGuiStyle();
    ImGui::StyleColorsDark(&style);
    style.WindowPadding = {16, 14};
    style.WindowRounding = 0;
    style.ChildRounding = 8;
    style.PopupRounding = 8;
    style.FramePadding = {10, 6};
    style.FrameRounding = 6;
    style.ItemSpacing = {10, 8};
    style.ScrollbarSize = 14;
    style.GrabRounding = 6;
    style.ScaleAllSizes(scale);
}

void applyColors() {
    ImVec4* c = ImGui::GetStyle().Colors;
    c[ImGuiCol_Text] = {0.945f, 0.961f, 0.976f, 1};
    c[ImGuiCol_WindowBg] = colors::kWindowBg;
    c[ImGuiCol_ChildBg] = {0.118f, 0.161f, 0.231f, 1};
    c[ImGuiCol_PopupBg] = {0.118f, 0.161f, 0.231f, 1};
    c[ImGuiCol_Border] = {0.278f, 0.333f, 0.412f, 0.6f};
    c[ImGuiCol_FrameBg] = {0.200f, 0.255f, 0.333f, 1};
    c[ImGuiCol_FrameBgHovered] = {0.278f, 0.333f, 0.412f, 1};
    c[ImGuiCol_TitleBgActive] = {0.024f, 0.373f, 0.275f, 1};
    c[ImGuiCol_CheckMark] = colors::kAccent;
    c[ImGuiCol_SliderGrab] = colors::kAccent;
    c[ImGuiCol_SliderGrabActive] = {0.431f, 0.906f, 0.718f, 1};
    c[ImGuiCol_Button] = {0.200f, 0.255f, 0.333f, 1};
    c[ImGuiCol_ButtonHovered] = {0.278f, 0.333f, 0.412f, 1};
    c[ImGuiCol_ButtonActive] = {0.341f, 0.408f, 0.494f, 1};
    c[ImGuiCol_Header] = withAlpha(colors::kAccent, 0.35f);
    c[ImGuiCol_HeaderHovered] = withAlpha(colors::kAccent, 0.45f);
    c[ImGuiCol_HeaderActive] = withAlpha(colors::kAccent, 0.6f);
    c[ImGuiCol_Separator] = {0.200f, 0.255f, 0.333f, 1};
    c[ImGuiCol_TabHovered] = {0.204f, 0.827f, 0.600f, 0.55f};
    c[ImGuiCol_Tab] = {0.149f, 0.200f, 0.278f, 1};
    c[ImGuiCol_TabActive] = {0.024f, 0.373f, 0.275f, 1};  // the selected tab
    c[ImGuiCol_PlotHistogram] = colors::kAccent;
    c[ImGuiCol_TableHeaderBg] = {0.149f, 0.200f, 0.278f, 1};
}

}  // namespace

float uiScale() { return currentScale; }

ImVec4 colors::hint(HintKind kind) {
    switch (kind) {
        case HintKind::Missed: return {0.38f, 0.65f, 0.98f, 1.0f};
        case HintKind::Doubtful: return {0.984f, 0.749f, 0.141f, 1.0f};
        case HintKind::Joined: return {0.75f, 0.52f, 0.99f, 1.0f};
    }
    return {};
}

void applyTheme(float scale) {
    currentScale = scale;
    applyStyle(scale);
    applyColors();
    buildFonts();
}

}  // namespace rallinox::ui
