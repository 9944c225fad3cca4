// The shortening of a text that does not fit, in a GUI context without a
// window: it fits, keeps whole characters and leaves a fitting text alone.
#include "ui/kit/widgets.h"

#include <gtest/gtest.h>

#include <string>

#include "ui/kit/theme.h"

namespace rallinox::ui {
namespace {

class ShortenedToFit : public ::testing::Test {
protected:
    void SetUp() override {
        ImGui::CreateContext();
        ImGui::GetIO().IniFilename = nullptr;  // no settings file left behind
        applyTheme(1.0f);
        ImGui::GetIO().DisplaySize = ImVec2(400, 300);
        ImGui::NewFrame();
    }
    void TearDown() override {
        ImGui::EndFrame();
        ImGui::DestroyContext();
    }

    static float width(const std::string& text) { return ImGui::CalcTextSize(text.c_str()).x; }
};

TEST_F(ShortenedToFit, ATextThatFitsIsLeftAlone) {
    const std::string name = "Rally 5  (added)";
    EXPECT_EQ(shortenedToFit(name, width(name)), name);
    EXPECT_EQ(shortenedToFit("", 0), "");
}

TEST_F(ShortenedToFit, ALongTextEndsInDotsWithinTheWidth) {
    const std::string name = "Saturday final against the club from the other side of the river";
    const float room = width(name) / 2;
    const std::string shown = shortenedToFit(name, room);
    EXPECT_LE(width(shown), room);
    ASSERT_GT(shown.size(), 3u);
    EXPECT_EQ(shown.substr(shown.size() - 3), "...");
    EXPECT_EQ(name.rfind(shown.substr(0, shown.size() - 3), 0), 0u) << shown << " starts the name";
    EXPECT_NE(shown[shown.size() - 4], ' ') << "no blank before the dots";
    EXPECT_GT(width(shortenedToFit(name, room + width("river"))), width(shown)) << "more room shows more";
}

TEST_F(ShortenedToFit, LettersOfAnyScriptAreNeverCutInHalf) {
    const std::string name = "\xC3\x87" "a\xC4\x9Fr\xC4\xB1 \xC3\x87" "a\xC4\x9Fr\xC4\xB1 \xC3\x87" "a\xC4\x9Fr\xC4\xB1";  // Çağrı x 3
    for (float room = 0; room < width(name); room += 1) {
        const std::string shown = shortenedToFit(name, room);
        const size_t kept = shown.size() - 3;
        ASSERT_EQ(name.rfind(shown.substr(0, kept), 0), 0u) << shown;
        // The next byte of the name starts a character: none is split.
        EXPECT_NE(static_cast<unsigned char>(name[kept]) & 0xC0, 0x80) << "at " << room << " px: " << shown;
    }
}

TEST_F(ShortenedToFit, NoRoomLeavesTheDotsAlone) { EXPECT_EQ(shortenedToFit("Lions of the North", 1), "..."); }

}  // namespace
}  // namespace rallinox::ui
