// Draws text through the real GUI library and reads the glyphs back from the
// draw list, so the order on screen is checked, not just the transform.
#include "ui/kit/bidi_text.h"
#include "ui/kit/text_transform_hook.h"

#include <imgui.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

int hookCalls = 0;

void countingHook(const char* first, const char* last, char* out) {
    ++hookCalls;
    rallinox::ui::bidiVisualOrderHook(first, last, out);
}

void appendUtf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

class RtlDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        ImGui::CreateContext();
        ImGuiIO& io = ImGui::GetIO();
        io.IniFilename = nullptr;
        io.DisplaySize = ImVec2(800, 600);
        io.DeltaTime = 1.0f / 60.0f;
        font = io.Fonts->AddFontDefault();
        ImFontConfig merge;
        merge.MergeMode = true;
        static const ImWchar hebrew[] = {0x0590, 0x05FF, 0};
        ASSERT_NE(io.Fonts->AddFontFromFileTTF("/usr/share/fonts/truetype/noto/NotoSansHebrew-Regular.ttf", 13.0f,
                                               &merge, hebrew),
                  nullptr);
        ASSERT_NE(font, nullptr);
        unsigned char* pixels = nullptr;
        int width = 0, height = 0;
        io.Fonts->GetTexDataAsRGBA32(&pixels, &width, &height);
        rallinox::ui::setTextTransformHook(countingHook);
        hookCalls = 0;
    }

    void TearDown() override {
        rallinox::ui::setTextTransformHook(nullptr);
        ImGui::DestroyContext();
    }

    // Draws `text` with a widget in an undecorated window and returns the
    // glyphs found in its draw list, line by line from left to right, as UTF-8.
    std::string drawnGlyphs(const std::string& text) {
        beginFrameWithWindow();
        ImGui::TextUnformatted(text.c_str());
        ImDrawList* list = ImGui::GetWindowDrawList();
        ImGui::End();
        ImGui::Render();
        return glyphsOf(list);
    }

    static void beginFrameWithWindow() {
        ImGui::NewFrame();
        ImGui::SetNextWindowPos(ImVec2(0, 0));
        ImGui::SetNextWindowSize(ImVec2(700, 500));
        ImGui::Begin("##rtl", nullptr, ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoBackground);
    }

    std::string glyphsOf(const ImDrawList* list) const {
        std::vector<std::pair<ImVec2, unsigned>> placed;
        for (int i = 0; i + 3 < list->VtxBuffer.Size; i += 4) {
            const ImDrawVert& topLeft = list->VtxBuffer[i];
            for (const ImFontGlyph& glyph : font->Glyphs) {
                if (glyph.Visible && glyph.U0 == topLeft.uv.x && glyph.V0 == topLeft.uv.y) {
                    placed.emplace_back(topLeft.pos, glyph.Codepoint);
                    break;
                }
            }
        }
        std::stable_sort(placed.begin(), placed.end(),
                         [](const auto& a, const auto& b) {
                             if (a.first.y + 10.0f < b.first.y || b.first.y + 10.0f < a.first.y) return a.first.y < b.first.y;
                             return a.first.x < b.first.x;
                         });
        std::string out;
        for (const auto& [pos, cp] : placed) appendUtf8(out, cp);
        return out;
    }

    ImFont* font = nullptr;
};

}  // namespace

TEST_F(RtlDrawing, HebrewNameIsDrawnInVisualOrder) {
    EXPECT_EQ(drawnGlyphs("שלום"), "םולש");
    EXPECT_EQ(hookCalls, 1);
}

TEST_F(RtlDrawing, LatinTextNeverCallsTheHook) {
    EXPECT_EQ(drawnGlyphs("Home team"), "Hometeam");
    EXPECT_EQ(hookCalls, 0);
}

TEST_F(RtlDrawing, EveryLineOfAMultiLineTextIsReorderedOnItsOwn) {
    EXPECT_EQ(drawnGlyphs("אב\nגד"), "באדג");
    EXPECT_EQ(hookCalls, 2);
}

TEST_F(RtlDrawing, DirectDrawListCallsAreReorderedToo) {
    beginFrameWithWindow();
    ImDrawList* list = ImGui::GetWindowDrawList();
    list->AddText(ImVec2(10, 10), IM_COL32_WHITE, "שלום");
    ImGui::End();
    ImGui::Render();
    EXPECT_EQ(glyphsOf(list), "םולש");
}
