// The interface scale follows the desktop's own setting first, and the
// monitor's physical size only when the desktop says nothing.
#include "platform/display_scale.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace rallinox {
namespace {

TEST(DisplayScale, TheDesktopsOwnSettingComesBeforeTheMonitorsSize) {
    // A 14-inch 1080p laptop at 100 %: ~157 DPI physically.
    EXPECT_EQ(chooseDisplayScale({.xftDpi = 96, .monitorDpi = 157}), 1.0f);
    EXPECT_EQ(chooseDisplayScale({.gdkScale = 1, .monitorDpi = 157}), 1.0f);
    EXPECT_EQ(chooseDisplayScale({.textScalingFactor = 1.0, .monitorDpi = 157}), 1.0f);
    EXPECT_EQ(chooseDisplayScale({.monitorDpi = 157}), 1.75f) << "the last resort";
    EXPECT_EQ(chooseDisplayScale({}), 1.0f);
}

TEST(DisplayScale, SourcesAreTakenInOrderXftDpiThenGdkScaleThenThePortal) {
    EXPECT_EQ(chooseDisplayScale({.xftDpi = 144, .gdkScale = 2, .textScalingFactor = 1.25, .monitorDpi = 96}), 1.5f);
    EXPECT_EQ(chooseDisplayScale({.gdkScale = 2, .textScalingFactor = 1.25, .monitorDpi = 96}), 2.0f);
    EXPECT_EQ(chooseDisplayScale({.textScalingFactor = 1.25, .monitorDpi = 192}), 1.25f);
}

TEST(DisplayScale, UnusableValuesFallThroughAndTheResultIsRoundedAndBounded) {
    EXPECT_EQ(chooseDisplayScale({.xftDpi = 0, .gdkScale = 2}), 2.0f);
    EXPECT_EQ(chooseDisplayScale({.xftDpi = -96, .textScalingFactor = 1.5}), 1.5f);
    EXPECT_EQ(chooseDisplayScale({.xftDpi = 120}), 1.25f);
    EXPECT_EQ(chooseDisplayScale({.xftDpi = 110}), 1.25f) << "quarter steps";
    EXPECT_EQ(chooseDisplayScale({.xftDpi = 72}), 1.0f) << "never below 1";
    EXPECT_EQ(chooseDisplayScale({.xftDpi = 960}), 4.0f) << "never above 4";
}

TEST(DisplayScale, XftDpiIsFoundAmongTheOtherResources) {
    EXPECT_EQ(xftDpiFromResources("Xft.antialias:\t1\nXft.dpi:\t120\nXft.hinting:\t1\n"), 120.0);
    EXPECT_EQ(xftDpiFromResources("Xft.dpi: 144.5\n"), 144.5);
    EXPECT_FALSE(xftDpiFromResources(""));
    EXPECT_FALSE(xftDpiFromResources("Xft.antialias:\t1\n"));
    EXPECT_FALSE(xftDpiFromResources("Xft.dpi:\tlarge\n"));
    EXPECT_FALSE(xftDpiFromResources("Xft.dpi:\t0\n"));
    EXPECT_FALSE(xftDpiFromResources("Xcursor.dpi:\t120\n"));
}

TEST(DisplayScale, GdkScaleIsAWholeNumberOfAtLeastOne) {
    EXPECT_EQ(gdkScaleFromVariable("2"), 2.0);
    EXPECT_FALSE(gdkScaleFromVariable(nullptr));
    EXPECT_FALSE(gdkScaleFromVariable(""));
    EXPECT_FALSE(gdkScaleFromVariable("0"));
    EXPECT_FALSE(gdkScaleFromVariable("1.5"));
    EXPECT_FALSE(gdkScaleFromVariable("two"));
}

TEST(DisplayScale, WithoutASessionBusThePortalSaysNothing) {
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
    EXPECT_FALSE(readPortalTextScalingFactor());
}

}  // namespace
}  // namespace rallinox
