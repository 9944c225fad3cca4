#include "tests/gui/imgui_probe.h"

#include <imgui_internal.h>

#include <cstring>

namespace rallinox::guitest {

namespace {

struct FrameRecord {
    std::map<ImGuiID, std::string> labels;
    std::map<std::string, ItemRect> items;
    std::set<std::string> texts;
};

FrameRecord current;
FrameRecord last;

std::string visiblePart(const char* text, const char* end) {
    std::string all = end ? std::string(text, end) : std::string(text);
    const size_t hashes = all.find("##");
    return hashes == std::string::npos ? all : all.substr(0, hashes);
}

void noteText(const char* text, const char* end) {
    if (text) current.texts.insert(visiblePart(text, end));
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
    const auto it = last.items.find(label);
    if (it != last.items.end()) return it->second;
    // "###id" names an item whose visible text changes, such as a tab with a count.
    if (label.rfind("###", 0) != 0) return std::nullopt;
    for (const auto& [full, rect] : last.items) {
        if (full.size() > label.size() && full.compare(full.size() - label.size(), label.size(), label) == 0) return rect;
    }
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
    noteText(text, end);
    __real__ZN5ImGui10RenderTextE6ImVec2PKcS2_b(pos, text, end, hideAfterHash);
}

void __wrap__ZN5ImGui17RenderTextWrappedE6ImVec2PKcS2_f(ImVec2 pos, const char* text, const char* end, float wrap) {
    noteText(text, end);
    __real__ZN5ImGui17RenderTextWrappedE6ImVec2PKcS2_f(pos, text, end, wrap);
}

void __wrap__ZN5ImGui17RenderTextClippedERK6ImVec2S2_PKcS4_PS1_S2_PK6ImRect(
    const ImVec2& min, const ImVec2& max, const char* text, const char* end, const ImVec2* size,
    const ImVec2& align, const ImRect* clip) {
    noteText(text, end);
    __real__ZN5ImGui17RenderTextClippedERK6ImVec2S2_PKcS4_PS1_S2_PK6ImRect(min, max, text, end, size, align, clip);
}
}
