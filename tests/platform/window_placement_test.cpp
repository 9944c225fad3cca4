#include "platform/window_placement.h"

#include <gtest/gtest.h>

#include <climits>

namespace rallinox {
namespace {

const std::vector<ScreenRect> kOneDisplay{{0, 0, 1920, 1080}};

TEST(InitialWindowRect, SmallWorkAreaCapsEachSideAt92PercentAndCentres) {
    const ScreenRect rect = initialWindowRect({0, 0, 1366, 728}, 1.0f);
    EXPECT_EQ(rect.width(), 1256);
    EXPECT_EQ(rect.height(), 669);
    EXPECT_EQ(rect.left, (1366 - 1256) / 2);
    EXPECT_EQ(rect.top, (728 - 669) / 2);
}

TEST(InitialWindowRect, LargeWorkAreaGetsTheScaledDefaultSize) {
    EXPECT_EQ(initialWindowRect({0, 0, 3840, 2160}, 1.0f), (ScreenRect{1240, 650, 2600, 1510}));
    const ScreenRect scaledRect = initialWindowRect({100, 50, 3940, 2210}, 1.5f);
    EXPECT_EQ(scaledRect.width(), 2040);
    EXPECT_EQ(scaledRect.height(), 1290);
    EXPECT_EQ(scaledRect.left, 100 + (3840 - 2040) / 2);
}

TEST(WindowPlacementFile, RoundTripsOneLine) {
    const WindowPlacement placement{{50, 40, 1150, 740}, true};
    EXPECT_EQ(formatWindowPlacement(placement), "50 40 1150 740 1\n");
    EXPECT_EQ(parseWindowPlacement("50 40 1150 740 1\n"), placement);
    EXPECT_EQ(parseWindowPlacement("-1900 10 -100 900 0"), (WindowPlacement{{-1900, 10, -100, 900}, false}));
}

TEST(WindowPlacementFile, IncompleteOrGarbledTextIsIgnored) {
    EXPECT_FALSE(parseWindowPlacement(""));
    EXPECT_FALSE(parseWindowPlacement("50 40 1150 740"));
    EXPECT_FALSE(parseWindowPlacement("left 40 1150 740 0"));
}

TEST(PlacementIsUsable, TooSmallRectanglesAreIgnored) {
    EXPECT_FALSE(placementIsUsable({{100, 100, 390, 700}, false}, kOneDisplay)) << "290 pixels wide";
    EXPECT_FALSE(placementIsUsable({{100, 100, 900, 399}, false}, kOneDisplay)) << "299 pixels high";
    EXPECT_TRUE(placementIsUsable({{100, 100, 500, 400}, false}, kOneDisplay));
}

TEST(PlacementIsUsable, CentreMustLieOnADisplay) {
    const std::vector<ScreenRect> twoDisplays{{0, 0, 1920, 1080}, {1920, 0, 3840, 1080}};
    const WindowPlacement onSecond{{2000, 100, 3000, 800}, false};
    EXPECT_TRUE(placementIsUsable(onSecond, twoDisplays));
    EXPECT_FALSE(placementIsUsable(onSecond, kOneDisplay)) << "the second display was unplugged";
    EXPECT_FALSE(placementIsUsable({{-3000, 100, -1000, 800}, false}, kOneDisplay));
}

TEST(PlacementIsUsable, ExtremeNumbersFromADamagedFileAreSafe) {
    EXPECT_FALSE(placementIsUsable({{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, false}, kOneDisplay));
    EXPECT_FALSE(placementIsUsable({{INT_MAX, 0, INT_MIN, 900}, false}, kOneDisplay));
}

}  // namespace
}  // namespace rallinox
