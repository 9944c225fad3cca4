#include "export/board_blend.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "export/board_overlay.h"

namespace rallinox {
namespace {

// An NV12 picture in exactly sized buffers, so that the address sanitizer
// catches any write past them.
struct OwnedFrame {
    OwnedFrame(int width, int height, uint8_t y, uint8_t u, uint8_t v)
        : luma(size_t(width) * size_t(height), y),
          chroma(size_t((width + 1) / 2 * 2) * size_t((height + 1) / 2)) {
        for (size_t i = 0; i < chroma.size(); i += 2) {
            chroma[i] = u;
            chroma[i + 1] = v;
        }
        frame = {luma.data(), width, chroma.data(), (width + 1) / 2 * 2, width, height};
    }

    uint8_t yAt(int x, int y) const { return luma[size_t(y) * size_t(frame.lumaPitch) + size_t(x)]; }
    uint8_t uAt(int x, int y) const { return chroma[size_t(y / 2) * size_t(frame.chromaPitch) + size_t(x / 2 * 2)]; }
    uint8_t vAt(int x, int y) const { return chroma[size_t(y / 2) * size_t(frame.chromaPitch) + size_t(x / 2 * 2) + 1]; }

    std::vector<uint8_t> luma;
    std::vector<uint8_t> chroma;
    Nv12Picture frame;
};

OwnedFrame grey(int width, int height) {
    return OwnedFrame(width, height, 128, 128, 128);
}

BoardBitmap solid(int width, int height, uint8_t b, uint8_t g, uint8_t r, uint8_t a) {
    BoardBitmap bitmap;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.pixels.resize(size_t(width) * size_t(height) * 4);
    for (size_t i = 0; i < bitmap.pixels.size(); i += 4) {
        bitmap.pixels[i] = b;
        bitmap.pixels[i + 1] = g;
        bitmap.pixels[i + 2] = r;
        bitmap.pixels[i + 3] = a;
    }
    return bitmap;
}

// Pixels whose luma or chroma changed, and whether all of them lie in the rectangle.
struct Changes {
    int count = 0;
    bool allInside = true;
};

Changes changesAgainstGrey(const OwnedFrame& f, int left, int top, int right, int bottom) {
    Changes changes;
    for (int y = 0; y < f.frame.height; ++y) {
        for (int x = 0; x < f.frame.width; ++x) {
            if (f.yAt(x, y) == 128 && f.uAt(x, y) == 128 && f.vAt(x, y) == 128) continue;
            ++changes.count;
            if (x < left || x >= right || y < top || y >= bottom) changes.allInside = false;
        }
    }
    return changes;
}

double lumaChange(const OwnedFrame& f) {
    double sum = 0;
    for (uint8_t y : f.luma) sum += std::abs(int(y) - 128);
    return sum;
}

BoardState someScore() {
    BoardState state;
    state.homeName = "HOME";
    state.awayName = "AWAY";
    state.homePoints = 12;
    state.awayPoints = 9;
    state.highlighted = Winner::Home;
    return state;
}

TEST(BoardOrigin, CornersAreEvenAndInsideTheFrame) {
    EXPECT_EQ(boardOrigin(301, 163, BoardPosition::TopLeft, 1920, 1080), (PixelPoint{0, 0}));
    EXPECT_EQ(boardOrigin(301, 163, BoardPosition::TopRight, 1920, 1080), (PixelPoint{1618, 0}));
    EXPECT_EQ(boardOrigin(301, 163, BoardPosition::BottomLeft, 1920, 1080), (PixelPoint{0, 916}));
    EXPECT_EQ(boardOrigin(300, 100, BoardPosition::TopRight, 250, 80), (PixelPoint{0, 0}));  // wider than the frame
    EXPECT_EQ(boardOrigin(20, 100, BoardPosition::BottomLeft, 250, 80), (PixelPoint{0, 0}));
}

TEST(BoardBlend, OpaqueColoursGetTheirStudioValuesByFrameHeight) {
    // Pure red: BT.709 at 1080 lines, BT.601 below 720.
    auto hd = grey(1920, 1080);
    blendBoard(hd.frame, solid(4, 4, 0, 0, 255, 255), {0, 0}, 1.0);
    EXPECT_EQ(hd.yAt(0, 0), 63);
    EXPECT_EQ(hd.uAt(0, 0), 102);
    EXPECT_EQ(hd.vAt(0, 0), 240);

    auto sd = grey(640, 480);
    blendBoard(sd.frame, solid(4, 4, 0, 0, 255, 255), {0, 0}, 1.0);
    EXPECT_EQ(sd.yAt(3, 3), 81);
    EXPECT_EQ(sd.uAt(3, 3), 90);
    EXPECT_EQ(sd.vAt(3, 3), 240);

    auto white = grey(640, 480);
    blendBoard(white.frame, solid(2, 2, 255, 255, 255, 255), {0, 0}, 1.0);
    EXPECT_EQ(white.yAt(1, 1), 235);
    EXPECT_EQ(white.uAt(1, 1), 128);

    // Half opacity: halfway between the frame and the colour.
    auto half = OwnedFrame(640, 480, 17, 128, 128);
    blendBoard(half.frame, solid(2, 2, 255, 255, 255, 255), {0, 0}, 0.5);
    EXPECT_EQ(half.yAt(0, 0), 126);  // 0.5 * 235 + 0.5 * 17
}

TEST(BoardBlend, ChangesOnlyTheBoardsRectangleAndNothingAtZeroOpacity) {
    const auto bitmap = renderBoard(someScore(), BoardStyle::TwoRows, 1280, 720);
    ASSERT_TRUE(bitmap);
    const PixelPoint origin = boardOrigin(bitmap->width, bitmap->height, BoardPosition::TopRight, 1280, 720);

    auto hidden = grey(1280, 720);
    blendBoard(hidden.frame, *bitmap, origin, 0.0);
    blendBoard(hidden.frame, *bitmap, origin, -1.0);
    EXPECT_EQ(changesAgainstGrey(hidden, 0, 0, 0, 0).count, 0);

    auto shown = grey(1280, 720);
    blendBoard(shown.frame, *bitmap, origin, 1.0);
    const Changes changes =
        changesAgainstGrey(shown, origin.x, origin.y, origin.x + bitmap->width, origin.y + bitmap->height);
    EXPECT_GT(changes.count, bitmap->width * bitmap->height / 4);
    EXPECT_TRUE(changes.allInside);
    EXPECT_EQ(shown.yAt(origin.x + 2, origin.y + 2), 128);  // the transparent margin
}

TEST(BoardBlend, OddSizesAndOriginsAtTheEdgesStayInsideTheFrame) {
    const BoardBitmap bitmap = solid(21, 17, 40, 80, 200, 255);
    for (const PixelPoint origin : {PixelPoint{95, 71}, PixelPoint{-7, -3}, PixelPoint{-30, 10}, PixelPoint{101, 75},
                                    PixelPoint{0, 0}, PixelPoint{99, 0}}) {
        SCOPED_TRACE(testing::Message() << origin.x << "," << origin.y);
        auto frame = grey(101, 75);
        blendBoard(frame.frame, bitmap, origin, 1.0);
        const Changes changes = changesAgainstGrey(frame, origin.x, origin.y, origin.x + 21, origin.y + 17);
        EXPECT_TRUE(changes.allInside);
    }

    auto tiny = grey(1, 1);
    blendBoard(tiny.frame, bitmap, {0, 0}, 1.0);
    EXPECT_EQ(tiny.yAt(0, 0), 128);  // no whole chroma block fits

    auto damaged = grey(64, 64);
    BoardBitmap short_pixels = bitmap;
    short_pixels.pixels.resize(10);
    blendBoard(damaged.frame, short_pixels, {0, 0}, 1.0);
    EXPECT_EQ(changesAgainstGrey(damaged, 0, 0, 0, 0).count, 0);
}

TEST(BoardOverlay, DrawsTheClipsBoardInItsCornerOnlyWhileShown) {
    BoardClip clip;
    clip.before = someScore();
    clip.after = someScore();
    clip.lengthSec = 20;
    clip.switchSec = 17;
    clip.highlightEndSec = 18.5;
    clip.visible = {{0, 4.5}, {16, 20}};
    clip.position = BoardPosition::BottomLeft;

    BoardOverlay overlay({BoardClip{}, clip});
    auto hidden = grey(640, 360);
    overlay.draw(hidden.frame, 1, 10.0);
    EXPECT_EQ(changesAgainstGrey(hidden, 0, 0, 0, 0).count, 0);

    auto first = grey(640, 360);
    auto again = grey(640, 360);
    overlay.draw(first.frame, 1, 1.0);
    overlay.draw(again.frame, 1, 1.0);
    const Changes changes = changesAgainstGrey(first, 0, 180, 320, 360);  // bottom left
    EXPECT_GT(changes.count, 0);
    EXPECT_TRUE(changes.allInside);
    EXPECT_EQ(first.luma, again.luma);
    EXPECT_EQ(first.chroma, again.chroma);

    // Fading in: a third of the way from the grey picture to the full board.
    auto fading = grey(640, 360);
    overlay.draw(fading.frame, 1, 16.1);
    const double full = lumaChange(first);
    EXPECT_NEAR(lumaChange(fading) / full, 1.0 / 3.0, 0.02);

    auto noClip = grey(640, 360);
    overlay.draw(noClip.frame, 2, 1.0);
    EXPECT_EQ(changesAgainstGrey(noClip, 0, 0, 0, 0).count, 0) << "a cut without a board stays as it was";
}

}  // namespace
}  // namespace rallinox
