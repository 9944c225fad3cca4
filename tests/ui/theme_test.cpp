// The theme applied to a GUI context without a window: sizes, colours as
// drawn and the fonts fontconfig finds.
#include "ui/kit/theme.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/core/project.h"
#include "ui/kit/widgets.h"

namespace rallinox::ui {
namespace {

class ThemeTest : public ::testing::Test {
protected:
    void SetUp() override { ImGui::CreateContext(); }
    void TearDown() override { ImGui::DestroyContext(); }
};

bool noFontsInstalled() { return std::getenv("RALLINOX_TEST_NO_FONTS") != nullptr; }

TEST_F(ThemeTest, SizesFollowTheDisplayScale) {
    applyTheme(1.5f);
    const ImGuiStyle& style = ImGui::GetStyle();
    EXPECT_FLOAT_EQ(style.FramePadding.x, 15.0f);
    EXPECT_FLOAT_EQ(style.FramePadding.y, 9.0f);
    EXPECT_FLOAT_EQ(style.WindowPadding.x, 24.0f);
    EXPECT_FLOAT_EQ(style.ScrollbarSize, 21.0f);
    EXPECT_FLOAT_EQ(scaled(100), 150.0f);
}

// The contrast ratio of two colours as the accessibility guidelines define it
// (1 for equal colours, 21 for black on white).
double contrast(const ImVec4& a, const ImVec4& b) {
    auto luminance = [](const ImVec4& c) {
        auto linear = [](float v) { return v <= 0.04045f ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(c.x) + 0.7152 * linear(c.y) + 0.0722 * linear(c.z);
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// One frame with a window holding only the text; the colours of the window's
// first vertex (its background) and of its last (the text's last glyph).
struct DrawnText {
    ImVec4 background;
    ImVec4 text;
};

template <typename DrawText>
DrawnText drawText(DrawText drawTextItem) {
    ImGuiIO& io = ImGui::GetIO();
    io.DisplaySize = ImVec2(400, 300);
    ImGui::NewFrame();
    ImGui::SetNextWindowPos(ImVec2(0, 0));
    ImGui::SetNextWindowSize(ImVec2(400, 300));
    ImGui::Begin("window", nullptr, ImGuiWindowFlags_NoDecoration);
    drawTextItem();
    ImGui::End();
    ImGui::Render();
    const ImDrawList* list = ImGui::GetDrawData()->CmdLists[0];
    return {ImGui::ColorConvertU32ToFloat4(list->VtxBuffer.front().col),
            ImGui::ColorConvertU32ToFloat4(list->VtxBuffer.back().col)};
}

TEST_F(ThemeTest, TextIsDrawnReadablyOnTheDarkWindow) {
    applyTheme(1.0f);
    const DrawnText plain = drawText([] { ImGui::TextUnformatted("Rallies"); });
    const DrawnText muted = drawText([] { mutedText("Esc goes back."); });
    EXPECT_LT(contrast(plain.background, ImVec4(0, 0, 0, 1)), 1.5) << "a dark window";
    EXPECT_GE(contrast(plain.text, plain.background), 7.0);
    EXPECT_GE(contrast(muted.text, muted.background), 4.5);
    EXPECT_LT(contrast(muted.text, muted.background), contrast(plain.text, plain.background)) << "muted is dimmer";
}

TEST_F(ThemeTest, HintKindsAreReadableOnTheirCardAndTellApart) {
    const HintKind kinds[] = {HintKind::Missed, HintKind::Doubtful, HintKind::Joined};
    for (HintKind kind : kinds) {
        EXPECT_GE(contrast(colors::hint(kind), colors::kCardBg), 4.5) << int(kind);
        EXPECT_EQ(colors::hint(kind).w, 1.0f) << int(kind);
    }
    for (HintKind a : kinds) {
        for (HintKind b : kinds) {
            if (a == b) continue;
            const ImVec4 ca = colors::hint(a);
            const ImVec4 cb = colors::hint(b);
            const float apart = std::max({std::abs(ca.x - cb.x), std::abs(ca.y - cb.y), std::abs(ca.z - cb.z)});
            EXPECT_GT(apart, 0.25f) << int(a) << " and " << int(b);
        }
    }
}

TEST_F(ThemeTest, MainFontIsSeventeenPixelsTimesTheScale) {
    if (noFontsInstalled()) GTEST_SKIP() << "covered by BuiltInFontWhenNoFontIsInstalled";
    applyTheme(1.5f);
    ImFontAtlas* atlas = ImGui::GetIO().Fonts;
    ASSERT_TRUE(atlas->IsBuilt());
    EXPECT_FLOAT_EQ(atlas->Fonts[0]->FontSize, 25.5f);
    EXPECT_NE(atlas->Fonts[0]->FindGlyphNoFallback(0x05D0), nullptr) << "Hebrew is in the base ranges";
}

TEST_F(ThemeTest, BuiltInFontWhenNoFontIsInstalled) {
    if (!noFontsInstalled()) GTEST_SKIP() << "needs a fontconfig without fonts";
    applyTheme(2.0f);
    ImFontAtlas* atlas = ImGui::GetIO().Fonts;
    ASSERT_TRUE(atlas->IsBuilt());
    ASSERT_EQ(atlas->Fonts.Size, 1);
    EXPECT_FLOAT_EQ(atlas->Fonts[0]->FontSize, 30.0f);
}

}  // namespace
}  // namespace rallinox::ui
