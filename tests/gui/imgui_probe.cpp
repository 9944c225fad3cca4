#include "tests/gui/imgui_probe.h"

#include <imgui_internal.h>

#include <cstring>

namespace rallinox::guitest {

namespace {

struct FrameRecord {
    std::map<ImGuiID, std::string> labels;
    std::map<std::string, ItemRect> items;
    std::set<std::string> texts;
    std::map<std::string, ItemRect> textRects;  // where each text was first drawn
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

}  // namespace

void finishProbeFrame() {
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

std::string drawnTexts() {
    std::string all;
    for (const std::string& text : last.texts) all += "[" + text + "] ";
    for (const auto& item : last.items) all += "<" + item.first + "> ";
    return all;
}

}  // namespace rallinox::guitest

using rallinox::guitest::current;
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
    __real__ZN5ImGui17RenderTextClippedERK6ImVec2S2_PKcS4_PS1_S2_PK6ImRect(min, max, text, end, size, align, clip);
}
}
