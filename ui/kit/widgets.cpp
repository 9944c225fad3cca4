#include "ui/kit/widgets.h"

#include <algorithm>
#include <cstdarg>
#include <vector>

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

void centreNextDialog() {
    ImGui::SetNextWindowPos(ImGui::GetMainViewport()->GetCenter(), ImGuiCond_Always, ImVec2(0.5f, 0.5f));
}

void sectionTitle(const char* text) {
    ImGui::Spacing();
    {
        FittedLine title;
        title.text(text);
    }
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

bool checkboxWrapped(const char* label, bool& value) {
    ImGui::PushID(label);
    bool changed = ImGui::Checkbox("##box", &value);
    ImGui::PopID();
    ImGui::SameLine(0, ImGui::GetStyle().ItemInnerSpacing.x);
    ImGui::AlignTextToFramePadding();
    ImGui::TextWrapped("%s", label);
    if (ImGui::IsItemClicked()) {
        value = !value;
        changed = true;
    }
    return changed;
}

float buttonWidth(const char* label) {
    return ImGui::CalcTextSize(label, nullptr, true).x + ImGui::GetStyle().FramePadding.x * 2;
}

float checkboxWidth(const char* label) {
    const float text = ImGui::CalcTextSize(label, nullptr, true).x;
    return ImGui::GetFrameHeight() + (text > 0 ? ImGui::GetStyle().ItemInnerSpacing.x + text : 0);
}

void sameLineOrWrap(float itemWidth) {
    ImGui::SameLine();
    if (ImGui::GetContentRegionAvail().x < itemWidth) ImGui::NewLine();
}

void FlowRow::place(float itemWidth) {
    if (!first_) sameLineOrWrap(itemWidth);
    first_ = false;
}

bool FlowRow::button(const char* label, const ImVec2& size) {
    place(size.x > 0 ? size.x : buttonWidth(label));
    return ImGui::Button(label, size);
}

bool FlowRow::dangerButton(const char* label) {
    place(buttonWidth(label));
    return ui::dangerButton(label);
}

bool FlowRow::accentButton(const char* label, const ImVec2& size) {
    place(size.x > 0 ? size.x : buttonWidth(label));
    return ui::accentButton(label, size);
}

std::string shortenedToFit(const std::string& text, float width) {
    if (ImGui::CalcTextSize(text.c_str()).x <= width) return text;
    // Where a character starts: the text is never cut inside one.
    std::vector<size_t> cuts;
    for (size_t at = 1; at < text.size(); ++at) {
        if ((static_cast<unsigned char>(text[at]) & 0xC0) != 0x80) cuts.push_back(at);
    }
    const auto fits = [&](size_t length) {
        return ImGui::CalcTextSize((text.substr(0, length) + "...").c_str()).x <= width;
    };
    const auto longest = std::partition_point(cuts.begin(), cuts.end(), fits);
    std::string start = longest == cuts.begin() ? std::string() : text.substr(0, *(longest - 1));
    while (!start.empty() && start.back() == ' ') start.pop_back();
    return start + "...";
}

FittedLine::FittedLine(float right) : right_(right), min_(ImGui::GetCursorScreenPos()) {}

FittedLine::FittedLine()
    : FittedLine(ImGui::GetCursorScreenPos().x + ImGui::GetContentRegionAvail().x) {}

void FittedLine::text(const std::string& text, const ImVec4* color, float spacing) {
    whole_ += (first_ || spacing == 0 ? "" : " ") + text;
    if (cut_) return;
    if (!first_) ImGui::SameLine(0, spacing);
    first_ = false;
    const float room = right_ - ImGui::GetCursorScreenPos().x;
    const std::string shown = shortenedToFit(text, room);
    cut_ = shown != text;
    // Not even the dots fit: nothing of this text is shown.
    if (ImGui::CalcTextSize(shown.c_str()).x > room) {
        ImGui::Dummy(ImVec2(0, ImGui::GetTextLineHeight()));
        return;
    }
    if (color) ImGui::PushStyleColor(ImGuiCol_Text, *color);
    ImGui::TextUnformatted(shown.c_str());
    if (color) ImGui::PopStyleColor();
    bottom_ = std::max(bottom_, ImGui::GetItemRectMax().y);
}

FittedLine::~FittedLine() {
    if (cut_ && ImGui::IsWindowHovered() && ImGui::IsMouseHoveringRect(min_, ImVec2(right_, bottom_))) {
        ImGui::SetTooltip("%s", whole_.c_str());
    }
}

}  // namespace rallinox::ui
