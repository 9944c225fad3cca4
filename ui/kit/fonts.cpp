#include "ui/kit/fonts.h"

#include <imgui.h>

#include <algorithm>
#include <map>
#include <optional>
#include <type_traits>
#include <vector>

#include "platform/font_lookup.h"
#include "ui/kit/glyph_set.h"
#include "ui/kit/theme.h"

namespace rallinox::ui {

namespace {

static_assert(std::is_same_v<ImWchar, uint16_t>, "glyph ranges are built as 16-bit code points");

constexpr float kMainFontSize = 17.0f;
constexpr float kBuiltInFontSize = 15.0f;

// The base ranges promise Hebrew, which some sans faces (Noto Sans) leave to
// a companion font.
constexpr ImWchar kHebrewRange[] = {0x0590, 0x05FF, 0};
constexpr uint16_t kHebrewAlef = 0x05D0;

GlyphSet extraGlyphs;
// Glyph ranges must outlive the atlas build; replaced on every rebuild.
std::vector<std::vector<ImWchar>> rangesInUse;

const std::optional<FontFile>& interfaceFont() {
    static const std::optional<FontFile> font = findInterfaceFont();
    return font;
}

// fontconfig's answer per character, asked once per run.
const std::optional<FontFile>& fontForCodePoint(uint16_t codePoint) {
    static std::map<uint16_t, std::optional<FontFile>> answers;
    auto it = answers.find(codePoint);
    if (it == answers.end()) {
        it = answers.emplace(codePoint, findFontFor(codePoint, interfaceFont()->family)).first;
    }
    return it->second;
}

const ImWchar* keepRanges(std::vector<ImWchar> ranges) {
    rangesInUse.push_back(std::move(ranges));
    return rangesInUse.back().data();
}

void addFont(const FontFile& font, const ImWchar* ranges, bool merge) {
    ImFontConfig config;
    config.FontNo = font.index;
    config.MergeMode = merge;
    config.OversampleH = merge ? 1 : 2;
    config.OversampleV = 1;
    ImGui::GetIO().Fonts->AddFontFromFileTTF(font.path.c_str(), kMainFontSize * uiScale(), &config, ranges);
}

// The main font first, so it supplies every glyph it has; then each font
// fontconfig suggested, with only the characters it was suggested for.
void mergeExtraGlyphs(const FontFile& main) {
    addFont(main, keepRanges(extraGlyphs.glyphRanges()), true);
    std::vector<std::pair<FontFile, std::vector<ImWchar>>> suggested;
    for (uint16_t codePoint : extraGlyphs.codePoints()) {
        const std::optional<FontFile>& font = fontForCodePoint(codePoint);
        if (!font || *font == main) continue;
        auto group = std::find_if(suggested.begin(), suggested.end(), [&](const auto& g) { return g.first == *font; });
        if (group == suggested.end()) group = suggested.insert(suggested.end(), {*font, {}});
        group->second.insert(group->second.end(), {codePoint, codePoint});
    }
    for (auto& [font, ranges] : suggested) {
        ranges.push_back(0);
        addFont(font, keepRanges(std::move(ranges)), true);
    }
}

void addBuiltInFont() {
    ImFontConfig config;
    config.SizePixels = kBuiltInFontSize * uiScale();
    ImGui::GetIO().Fonts->AddFontDefault(&config);
}

}  // namespace

void buildFonts() {
    ImFontAtlas* atlas = ImGui::GetIO().Fonts;
    atlas->Clear();
    rangesInUse.clear();
    const std::optional<FontFile>& main = interfaceFont();
    if (!main) {
        addBuiltInFont();
        atlas->Build();
        return;
    }
    addFont(*main, kBaseGlyphRanges, false);
    const std::optional<FontFile>& hebrew = fontForCodePoint(kHebrewAlef);
    if (hebrew && *hebrew != *main) addFont(*hebrew, kHebrewRange, true);
    if (!extraGlyphs.codePoints().empty()) mergeExtraGlyphs(*main);
    if (atlas->Build()) return;
    // A font file the rasteriser cannot read must not leave the GUI without text.
    atlas->Clear();
    rangesInUse.clear();
    addBuiltInFont();
    atlas->Build();
}

void noteGlyphs(std::string_view utf8) { extraGlyphs.noteText(utf8); }

void noteTypedGlyphs() {
    for (ImWchar typed : ImGui::GetIO().InputQueueCharacters) extraGlyphs.noteCodePoint(typed);
}

bool rebuildFontsIfNeeded() {
    if (!extraGlyphs.takeRebuildRequest()) return false;
    buildFonts();
    return true;
}

}  // namespace rallinox::ui
