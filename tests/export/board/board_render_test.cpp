#include "export/board_render.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace rallinox {
namespace {

BoardState state(Winner highlighted = Winner::None, const std::string& home = "LIONS",
                 const std::string& away = "ÇAĞRI SPOR") {
    BoardState board;
    board.homeName = home;
    board.awayName = away;
    board.homePoints = 24;
    board.awayPoints = 23;
    board.set = 5;
    board.homeSets = 2;
    board.awaySets = 2;
    board.highlighted = highlighted;
    return board;
}

struct Pixel {
    int b, g, r, a;
};

Pixel pixelAt(const BoardBitmap& bitmap, int x, int y) {
    const uint8_t* p = bitmap.pixels.data() + (size_t(y) * size_t(bitmap.width) + size_t(x)) * 4;
    return {p[0], p[1], p[2], p[3]};
}

TEST(BoardRender, BothStylesArePremultipliedWithOpaquePartsAndAClearMargin) {
    for (BoardStyle style : {BoardStyle::TwoRows, BoardStyle::OneBar}) {
        SCOPED_TRACE(static_cast<int>(style));
        const auto bitmap = renderBoard(state(Winner::Home), style, 1920, 1080);
        ASSERT_TRUE(bitmap);
        ASSERT_EQ(bitmap->pixels.size(), size_t(bitmap->width) * size_t(bitmap->height) * 4);
        int opaque = 0;
        int overAlpha = 0;
        int inMargin = 0;
        const int margin = 34;  // whole pixels of the 0.8 u (34.56 px) of a 1080-line frame
        for (int y = 0; y < bitmap->height; ++y) {
            for (int x = 0; x < bitmap->width; ++x) {
                const Pixel p = pixelAt(*bitmap, x, y);
                if (p.a == 255) ++opaque;
                if (p.b > p.a || p.g > p.a || p.r > p.a) ++overAlpha;
                const bool inMarginArea = x < margin || y < margin || x >= bitmap->width - margin ||
                                          y >= bitmap->height - margin;
                if (inMarginArea && p.a != 0) ++inMargin;
            }
        }
        EXPECT_GT(opaque, 1000);
        EXPECT_EQ(overAlpha, 0);
        EXPECT_EQ(inMargin, 0);
    }
}

TEST(BoardRender, SizeFollowsTheFramesShortSide) {
    // u = 4 % of the short side; two rows are 2.15 u high, one bar 1.3 u,
    // plus 0.8 u of margin on each side and one pixel.
    const auto rows1080 = renderBoard(state(), BoardStyle::TwoRows, 1920, 1080);
    const auto rows720 = renderBoard(state(), BoardStyle::TwoRows, 1280, 720);
    const auto bar1080 = renderBoard(state(), BoardStyle::OneBar, 1920, 1080);
    ASSERT_TRUE(rows1080 && rows720 && bar1080);
    EXPECT_NEAR(rows1080->height, 163, 1);
    EXPECT_NEAR(bar1080->height, 126, 1);
    EXPECT_NEAR(rows720->height, int(2.15 * 28.8 + 1.6 * 28.8 + 1), 1);
    EXPECT_NEAR(double(rows1080->width) / rows720->width, 1.5, 0.03);

    // A portrait frame uses its width.
    const auto portrait = renderBoard(state(), BoardStyle::TwoRows, 1080, 1920);
    ASSERT_TRUE(portrait);
    EXPECT_EQ(portrait->height, rows1080->height);

    // Longer names widen the board; the one bar is wider than the two rows.
    const auto longNames = renderBoard(state(Winner::None, "VOLLEYBALL CLUB NORTH"), BoardStyle::TwoRows, 1920, 1080);
    ASSERT_TRUE(longNames);
    EXPECT_GT(longNames->width, rows1080->width + 100);
    EXPECT_GT(bar1080->width, rows1080->width);
}

TEST(BoardRender, TheWinnersPointsLightUpInTheTeamColour) {
    // Two rows: the points cell is the last 1.3 u of each row.
    const double u = 43.2;
    const auto plain = renderBoard(state(), BoardStyle::TwoRows, 1920, 1080);
    const auto homeLit = renderBoard(state(Winner::Home), BoardStyle::TwoRows, 1920, 1080);
    const auto awayLit = renderBoard(state(Winner::Away), BoardStyle::TwoRows, 1920, 1080);
    ASSERT_TRUE(plain && homeLit && awayLit);
    ASSERT_EQ(plain->width, homeLit->width);
    const int x = plain->width - 1 - int(0.8 * u) - int(0.15 * u);  // near the cell's right edge, off the digits
    const int homeY = int(0.8 * u + 0.1 * u);
    const int awayY = int(0.8 * u + 1.1 * u + 0.1 * u);

    const Pixel background = pixelAt(*plain, x, homeY);
    EXPECT_EQ(background.a, 217);
    EXPECT_LT(background.r, 20);

    const Pixel home = pixelAt(*homeLit, x, homeY);
    EXPECT_EQ(home.a, 255);
    EXPECT_NEAR(home.b, 235, 2);
    EXPECT_NEAR(home.r, 37, 2);
    EXPECT_EQ(pixelAt(*homeLit, x, awayY).a, 217);  // the other team stays dark

    const Pixel away = pixelAt(*awayLit, x, awayY);
    EXPECT_EQ(away.a, 255);
    EXPECT_NEAR(away.r, 245, 2);
    EXPECT_NEAR(away.g, 158, 2);
}

TEST(BoardRender, NothingForAnUnusableFrameSize) {
    EXPECT_FALSE(renderBoard(state(), BoardStyle::TwoRows, 0, 1080));
    EXPECT_FALSE(renderBoard(state(), BoardStyle::OneBar, 1920, -1));
    // A tiny frame still gets a (tiny) board.
    const auto tiny = renderBoard(state(), BoardStyle::TwoRows, 32, 32);
    ASSERT_TRUE(tiny);
    EXPECT_GT(tiny->width, 0);
    EXPECT_GT(tiny->height, 0);
}

}  // namespace
}  // namespace rallinox
