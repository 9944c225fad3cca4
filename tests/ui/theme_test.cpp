// The theme applied to a GUI context without a window: sizes, colours and
// the fonts fontconfig finds.
#include "ui/kit/theme.h"

#include <gtest/gtest.h>

#include <cstdlib>

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

TEST_F(ThemeTest, ColoursOfTheDarkTheme) {
    applyTheme(1.0f);
    const ImVec4 bg = ImGui::GetStyle().Colors[ImGuiCol_WindowBg];
    EXPECT_FLOAT_EQ(bg.x, 0.059f);
    EXPECT_FLOAT_EQ(bg.z, 0.165f);
    EXPECT_FLOAT_EQ(ImGui::GetStyle().Colors[ImGuiCol_Header].w, 0.35f);
    EXPECT_FLOAT_EQ(ImGui::GetStyle().Colors[ImGuiCol_CheckMark].y, 0.725f);
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
