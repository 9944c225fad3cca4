#include "tests/gui/imgui_probe.h"

#include <imgui_internal.h>

#include <cstdio>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

namespace rallinox::guitest {

namespace {

struct FrameRecord {
    std::map<ImGuiID, std::string> labels;
    std::map<std::string, ItemRect> items;
    std::set<std::string> texts;
    std::map<std::string, ItemRect> textRects;  // where each text was first drawn
    std::set<std::string> layoutFaults;
    // Per window, the items with an ID (buttons, fields...) and those
    // without (texts, pictures, groups), to find a text running under a button.
    std::map<ImGuiWindow*, std::vector<std::pair<ImRect, std::string>>> activeItems;
    std::map<ImGuiWindow*, std::vector<std::pair<ImRect, std::string>>> plainItems;
};

FrameRecord current;
FrameRecord last;

std::string visiblePart(const char* text, const char* end) {
    std::string all = end ? std::string(text, end) : std::string(text);
    const size_t hashes = all.find("##");
    return hashes == std::string::npos ? all : all.substr(0, hashes);
}

void noteText(const char* text, const char* end, ImVec2 min, ImVec2 max) {
    if (!text) return;
    const std::string visible = visiblePart(text, end);
    current.texts.insert(visible);
    current.textRects.emplace(visible, rallinox::guitest::ItemRect{min, max});
}

void noteTextAt(const char* text, const char* end, ImVec2 pos, float wrapWidth) {
    if (!text) return;
    const ImVec2 size = ImGui::CalcTextSize(text, end, true, wrapWidth);
    noteText(text, end, pos, ImVec2(pos.x + size.x, pos.y + size.y));
}

// Positions are floats that the library rounds: half a pixel is no fault.
constexpr float kSlack = 0.5f;

std::string describe(const ImRect& rect) {
    char text[96];
    std::snprintf(text, sizeof text, "(%.0f,%.0f)-(%.0f,%.0f)", rect.Min.x, rect.Min.y, rect.Max.x, rect.Max.y);
    return text;
}

std::string windowName(const ImGuiWindow* window) { return visiblePart(window->Name, nullptr); }

// Tooltips go wherever the mouse is, a window measuring its content in a
// hidden frame has no size yet, and the library's own fallback window is
// never shown.
bool windowCounts(const ImGuiWindow* window) {
    return window && !window->IsFallbackWindow && !(window->Flags & ImGuiWindowFlags_Tooltip) && !window->Hidden &&
           window->HiddenFramesCannotSkipItems == 0 && window->HiddenFramesCanSkipItems == 0;
}

// Whether [from, to] leaves [min, max] by more than the slack.
bool reachesOut(float from, float to, float min, float max, float slack = kSlack) {
    return from < min - slack || to > max + slack;
}

// Crossing by more than the slack, with neither holding the other (a label
// drawn on its selectable is held by it).
bool partlyOverlap(const ImRect& a, const ImRect& b) {
    ImRect both = a;
    both.ClipWithFull(b);
    const bool crossing = both.GetWidth() > 2 * kSlack && both.GetHeight() > 2 * kSlack;
    const auto holds = [](const ImRect& outer, const ImRect& inner) {
        return inner.Min.x >= outer.Min.x - kSlack && inner.Min.y >= outer.Min.y - kSlack &&
               inner.Max.x <= outer.Max.x + kSlack && inner.Max.y <= outer.Max.y + kSlack;
    };
    return crossing && !holds(a, b) && !holds(b, a);
}

void checkOverlap(ImGuiWindow* window, const ImRect& bb, ImGuiID id, const std::string& label) {
    auto& others = id ? current.plainItems[window] : current.activeItems[window];
    for (const auto& [rect, otherLabel] : others) {
        if (partlyOverlap(bb, rect)) {
            current.layoutFaults.insert("<" + label + "> at " + describe(bb) + " runs into <" + otherLabel + "> at " +
                                        describe(rect) + " in window " + windowName(window));
        }
    }
    (id ? current.activeItems[window] : current.plainItems[window]).emplace_back(bb, label);
}

void checkItem(const ImRect& bb, ImGuiID id, const std::string& label) {
    ImGuiWindow* window = GImGui->CurrentWindow;
    if (!windowCounts(window)) return;
    // A separator spans the whole window, padding included, and a table's
    // header cells its outer padding, by design; a shortened header label
    // is found by its text.
    if (bb.Min.x == window->Pos.x && bb.Max.x == window->Pos.x + window->Size.x) return;
    const ImGuiTable* table = GImGui->CurrentTable;
    if (table && table->InnerWindow == window && (table->RowFlags & ImGuiTableRowFlags_Headers)) return;
    checkOverlap(window, bb, id, label);
    // Across: what the window, its table column and its parents show. Down:
    // the window's own height, as a parent that scrolls shows the rest.
    const ImRect& shown = window->ClipRect;
    const float halfPadding = std::max(std::floor(window->WindowPadding.y * 0.5f), window->WindowBorderSize);
    const float top = window->InnerRect.Min.y - halfPadding;
    const float bottom = window->InnerRect.Max.y + halfPadding;
    // A selectable's hit area reaches half the item spacing beyond what it draws.
    const ImVec2 slack(ImGui::GetStyle().ItemSpacing.x * 0.5f, ImGui::GetStyle().ItemSpacing.y * 0.5f);
    const bool outX = !window->ScrollbarX && reachesOut(bb.Min.x, bb.Max.x, shown.Min.x, shown.Max.x, slack.x);
    const bool outY = !window->ScrollbarY && reachesOut(bb.Min.y, bb.Max.y, top, bottom, slack.y);
    if (!outX && !outY) return;
    current.layoutFaults.insert("item <" + label + "> at " + describe(bb) + " reaches out of " + describe(shown) +
                                " shown by window " + windowName(window));
}

void checkClippedText(const ImVec2& min, const ImVec2& max, const char* text, const char* end, const ImVec2* size,
                      const ImVec2& align, const ImRect* clip) {
    ImGuiWindow* window = GImGui->CurrentWindow;
    if (!text || !windowCounts(window)) return;
    const char* shownEnd = ImGui::FindRenderedTextEnd(text, end);
    if (shownEnd == text) return;
    const ImVec2 textSize = size ? *size : ImGui::CalcTextSize(text, shownEnd, false);
    // Placed as the library places it.
    float x = min.x;
    if (align.x > 0) x = std::max(x, x + (max.x - x - textSize.x) * align.x);
    const float clipMin = clip ? clip->Min.x : min.x;
    const float clipMax = clip ? clip->Max.x : max.x;
    const bool cutByFrame = reachesOut(x, x + textSize.x, clipMin, clipMax);
    const bool cutByWindow = !window->ScrollbarX && x + textSize.x > window->ClipRect.Max.x + kSlack;
    if (!cutByFrame && !cutByWindow) return;
    current.layoutFaults.insert("text \"" + std::string(text, shownEnd) + "\" is cut in window " + windowName(window));
}

void checkWindowsOnScreen() {
    const ImGuiViewport* viewport = ImGui::GetMainViewport();
    const ImRect screen(viewport->Pos, ImVec2(viewport->Pos.x + viewport->Size.x, viewport->Pos.y + viewport->Size.y));
    for (ImGuiWindow* window : GImGui->Windows) {
        if (!window->Active || !windowCounts(window) || (window->Flags & ImGuiWindowFlags_ChildWindow)) continue;
        const ImRect rect = window->Rect();
        if (reachesOut(rect.Min.x, rect.Max.x, screen.Min.x, screen.Max.x) ||
            reachesOut(rect.Min.y, rect.Max.y, screen.Min.y, screen.Max.y)) {
            current.layoutFaults.insert("window " + windowName(window) + " at " + describe(rect) +
                                        " is not wholly on the screen " + describe(screen));
        }
    }
}

}  // namespace

void finishProbeFrame() {
    checkWindowsOnScreen();
    // Window and dialog titles are drawn inside the library itself, out of the wrappers' reach.
    for (ImGuiWindow* window : GImGui->Windows) {
        if (window->Active) current.texts.insert(visiblePart(window->Name, nullptr));
    }
    last = std::move(current);
    current = FrameRecord();
}

std::optional<ItemRect> findItem(const std::string& label) {
    if (const auto item = last.items.find(label); item != last.items.end()) return item->second;
    // "###id" names an item whose visible text changes, such as a tab with a count.
    if (label.rfind("###", 0) == 0) {
        for (const auto& [full, rect] : last.items) {
            if (full.size() > label.size() && full.compare(full.size() - label.size(), label.size(), label) == 0) {
                return rect;
            }
        }
    }
    if (const auto text = last.textRects.find(label); text != last.textRects.end()) return text->second;
    return std::nullopt;
}

bool textWasDrawn(const std::string& text) { return last.texts.count(text) > 0 || last.items.count(text) > 0; }

bool textStartingWithWasDrawn(const std::string& prefix) {
    const auto it = last.texts.lower_bound(prefix);
    return it != last.texts.end() && it->rfind(prefix, 0) == 0;
}

std::string layoutFaults() {
    std::string all;
    for (const std::string& fault : last.layoutFaults) all += fault + "\n";
    return all;
}

std::string drawnTexts() {
    std::string all;
    for (const std::string& text : last.texts) all += "[" + text + "] ";
    for (const auto& item : last.items) all += "<" + item.first + "> ";
    return all;
}

}  // namespace rallinox::guitest

using rallinox::guitest::checkClippedText;
using rallinox::guitest::checkItem;
using rallinox::guitest::current;
using rallinox::guitest::kSlack;
using rallinox::guitest::noteText;
using rallinox::guitest::noteTextAt;
using rallinox::guitest::visiblePart;

// The wrapped functions, by their mangled names in the GUI library.
extern "C" {
ImGuiID __real__ZN11ImGuiWindow5GetIDEPKcS1_(ImGuiWindow* window, const char* str, const char* end);
bool __real__ZN5ImGui7ItemAddERK6ImRectjPS1_i(const ImRect& bb, ImGuiID id, const ImRect* navBb, int flags);
void __real__ZN5ImGui10RenderTextE6ImVec2PKcS2_b(ImVec2 pos, const char* text, const char* end, bool hideAfterHash);
void __real__ZN5ImGui17RenderTextWrappedE6ImVec2PKcS2_f(ImVec2 pos, const char* text, const char* end, float wrap);
void __real__ZN5ImGui17RenderTextClippedERK6ImVec2S2_PKcS4_PS1_S2_PK6ImRect(
    const ImVec2& min, const ImVec2& max, const char* text, const char* end, const ImVec2* size,
    const ImVec2& align, const ImRect* clip);
void __real__ZN5ImGui18RenderTextEllipsisEP10ImDrawListRK6ImVec2S4_ffPKcS6_PS3_(
    ImDrawList* drawList, const ImVec2& min, const ImVec2& max, float clipMaxX, float ellipsisMaxX, const char* text,
    const char* end, const ImVec2* size);

ImGuiID __wrap__ZN11ImGuiWindow5GetIDEPKcS1_(ImGuiWindow* window, const char* str, const char* end) {
    const ImGuiID id = __real__ZN11ImGuiWindow5GetIDEPKcS1_(window, str, end);
    current.labels[id] = end ? std::string(str, end) : std::string(str);
    return id;
}

bool __wrap__ZN5ImGui7ItemAddERK6ImRectjPS1_i(const ImRect& bb, ImGuiID id, const ImRect* navBb, int flags) {
    const auto label = current.labels.find(id);
    if (label != current.labels.end()) {
        const rallinox::guitest::ItemRect rect{bb.Min, bb.Max};
        current.items[label->second] = rect;
        current.items.emplace(visiblePart(label->second.c_str(), nullptr), rect);
    }
    checkItem(bb, id, label != current.labels.end() ? label->second : "unlabelled");
    return __real__ZN5ImGui7ItemAddERK6ImRectjPS1_i(bb, id, navBb, flags);
}

void __wrap__ZN5ImGui10RenderTextE6ImVec2PKcS2_b(ImVec2 pos, const char* text, const char* end, bool hideAfterHash) {
    noteTextAt(text, end, pos, -1.0f);
    __real__ZN5ImGui10RenderTextE6ImVec2PKcS2_b(pos, text, end, hideAfterHash);
}

void __wrap__ZN5ImGui17RenderTextWrappedE6ImVec2PKcS2_f(ImVec2 pos, const char* text, const char* end, float wrap) {
    noteTextAt(text, end, pos, wrap);
    __real__ZN5ImGui17RenderTextWrappedE6ImVec2PKcS2_f(pos, text, end, wrap);
}

void __wrap__ZN5ImGui17RenderTextClippedERK6ImVec2S2_PKcS4_PS1_S2_PK6ImRect(
    const ImVec2& min, const ImVec2& max, const char* text, const char* end, const ImVec2* size,
    const ImVec2& align, const ImRect* clip) {
    noteText(text, end, min, max);
    checkClippedText(min, max, text, end, size, align, clip);
    __real__ZN5ImGui17RenderTextClippedERK6ImVec2S2_PKcS4_PS1_S2_PK6ImRect(min, max, text, end, size, align, clip);
}

// The library shortens a tab's or a column header's label that does not fit.
void __wrap__ZN5ImGui18RenderTextEllipsisEP10ImDrawListRK6ImVec2S4_ffPKcS6_PS3_(
    ImDrawList* drawList, const ImVec2& min, const ImVec2& max, float clipMaxX, float ellipsisMaxX, const char* text,
    const char* end, const ImVec2* size) {
    noteText(text, end, min, max);
    const ImVec2 textSize = size ? *size : ImGui::CalcTextSize(text, end, false);
    if (textSize.x > max.x - min.x + kSlack) {
        current.layoutFaults.insert("text \"" + visiblePart(text, end) + "\" is shortened to fit");
    }
    __real__ZN5ImGui18RenderTextEllipsisEP10ImDrawListRK6ImVec2S4_ffPKcS6_PS3_(drawList, min, max, clipMaxX,
                                                                             ellipsisMaxX, text, end, size);
}
}
